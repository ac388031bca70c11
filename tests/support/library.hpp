#pragma once

// The library as the unit tests use it: no display, the add-ons the framework
// loads and draws with (image, font, ttf, primitives, acodec), and memory
// bitmaps, so that drawing can be read back pixel by pixel. False when the
// library cannot start. Calling it again is harmless; al_uninstall_system()
// takes everything down again.
bool start_headless_library();
