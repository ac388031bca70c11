#pragma once

// Draws one frame's content onto the current target: every registered object
// in depth order, then the head-up display over them (energy, enemies left,
// the crosshair at the mouse, the vignette). Expects the blender in mode 0
// with a white tint.
void draw_game();
