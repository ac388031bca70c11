#pragma once

// The title "TANK" greets the player: it pops in at the centre when the game
// starts, stays about two seconds and pops out for good.

// Starts the whole appearance on title_text at once, as delayed animators,
// so nothing has to watch the clock from tick to tick.
void show_title();

// Removes the title at once, whatever part of its appearance is running:
// nothing may stand in front of the end texts.
void hide_title();
