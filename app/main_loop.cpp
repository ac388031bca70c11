#include "app/main_loop.hpp"

void run_main_loop(ALLEGRO_EVENT_QUEUE*) {}
void run_tick() {}
