#include <tank/input/input_sample.hpp>

#include <tank/input/input_catch_up.hpp>
#include <tank/input/keys_at_focus.hpp>

namespace tank {

input_sampler sample_input = sample_devices;

namespace {
ALLEGRO_EVENT_QUEUE* device_events = nullptr;
input_catch_up catch_up;
}  // namespace

void start_input_events(ALLEGRO_DISPLAY* display) {
  if (!device_events) device_events = al_create_event_queue();
  if (!device_events) return;
  if (al_is_keyboard_installed()) al_register_event_source(device_events, al_get_keyboard_event_source());
  if (al_is_mouse_installed()) al_register_event_source(device_events, al_get_mouse_event_source());
  if (display) {
    al_register_event_source(device_events, al_get_display_event_source(display));
    watch_keys_at_focus(display);
  }
}

void sample_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse, press_counts& presses) {
  if (al_is_keyboard_installed()) {
    al_get_keyboard_state(&keyboard);
  } else {
    keyboard = ALLEGRO_KEYBOARD_STATE{};
  }
  if (al_is_mouse_installed()) {
    al_get_mouse_state(&mouse);
  } else {
    mouse = ALLEGRO_MOUSE_STATE{};
  }
  // Read after the snapshot: a press that lands in between is in the events
  // and so in this sample, and its key in the next snapshot.
  read_focus_events();
  if (device_events) {
    ALLEGRO_EVENT event;
    while (al_get_next_event(device_events, &event)) {
      if (event.type == ALLEGRO_EVENT_DISPLAY_SWITCH_IN) note_focus_back(catch_up, keys_down_at_focus_in());
      note_input_event(catch_up, event);
    }
  }
  apply_input_catch_up(catch_up, keyboard, mouse, presses);
}

}  // namespace tank
