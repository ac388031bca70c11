#pragma once

// The game's rules, applied once per tick after the animation step.
void update_game();
