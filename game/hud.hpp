#pragma once

// Draws every registered object in depth order, then the head-up display.
void draw_game();
