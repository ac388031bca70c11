#include <tank/animation/clock.hpp>

#include <allegro5/allegro.h>

namespace tank {

clock_function animation_clock = al_get_time;

}  // namespace tank
