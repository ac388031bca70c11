#pragma once

// Builds the game world once, after start-up and before the first tick.
void setup_world();
