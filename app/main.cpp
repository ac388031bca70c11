#include <allegro5/allegro.h>

#include "app/startup.hpp"

int main(int, char**) { return run_program(); }
