#include <tank/input/input_catch_up.hpp>

#include <cstddef>

#include <tank/input/key_state.hpp>

namespace tank {

namespace {
// A button number from an event as a bit of ALLEGRO_MOUSE_STATE::buttons;
// none for a number that does not fit.
unsigned int button_bit(unsigned int button) { return button >= 1 && button <= 32 ? 1u << (button - 1) : 0u; }

void note_key(input_catch_up& catch_up, const ALLEGRO_KEYBOARD_EVENT& event) {
  if (!is_key_code(event.keycode)) return;
  const std::size_t key = static_cast<std::size_t>(event.keycode);
  // A press of a key the library still holds down (it was released in
  // another window) comes as a repeated character and no key-down: for a
  // masked key, that character is the fresh press. A key held over sends
  // both as it repeats, and neither is a press.
  const bool fresh_press =
      !catch_up.keys_held_over[key] && (event.type == ALLEGRO_EVENT_KEY_DOWN ||
                                        (event.type == ALLEGRO_EVENT_KEY_CHAR && catch_up.keys_masked[key]));
  if (fresh_press) {
    catch_up.keys_went_down.set(key);
    catch_up.presses_waiting.add(event.keycode);
  }
  if (event.type == ALLEGRO_EVENT_KEY_UP) {
    catch_up.keys_went_up.set(key);
    catch_up.keys_held_over.reset(key);
  }
  if (fresh_press || event.type == ALLEGRO_EVENT_KEY_UP) catch_up.keys_masked.reset(key);
}
}  // namespace

void note_input_event(input_catch_up& catch_up, const ALLEGRO_EVENT& event) {
  switch (event.type) {
    case ALLEGRO_EVENT_KEY_DOWN:
    case ALLEGRO_EVENT_KEY_CHAR:
    case ALLEGRO_EVENT_KEY_UP:
      note_key(catch_up, event.keyboard);
      break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN:
      catch_up.buttons_went_down |= button_bit(event.mouse.button);
      catch_up.buttons_masked &= ~button_bit(event.mouse.button);
      if (button_bit(event.mouse.button)) catch_up.presses_waiting.add(-static_cast<int>(event.mouse.button));
      break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_UP:
      catch_up.buttons_went_up |= button_bit(event.mouse.button);
      catch_up.buttons_masked &= ~button_bit(event.mouse.button);
      break;
    case ALLEGRO_EVENT_DISPLAY_SWITCH_OUT:
      // Whatever is released from now on goes to another window, and the
      // library's state would keep it down. What was down counts as released
      // now, so that a press after the focus is back is a press, even in the
      // same sample.
      catch_up.keys_masked.set();
      catch_up.buttons_masked = ~0u;
      catch_up.keys_went_up |= catch_up.keys_last_down;
      catch_up.buttons_went_up |= catch_up.buttons_last_down;
      break;
    default:
      break;
  }
}

void note_focus_back(input_catch_up& catch_up, const std::bitset<ALLEGRO_KEY_MAX>& keys_down) {
  catch_up.keys_held_over = keys_down & catch_up.keys_masked;
}

void apply_input_catch_up(input_catch_up& catch_up, ALLEGRO_KEYBOARD_STATE& keyboard,
                          ALLEGRO_MOUSE_STATE& mouse, press_counts& presses) {
  presses = {};
  for (int code = 1; code < ALLEGRO_KEY_MAX; ++code) {
    const std::size_t bit = static_cast<std::size_t>(code);
    const bool held = al_key_down(&keyboard, code) && !catch_up.keys_masked[bit];
    bool down = held;
    bool release_first = false;
    if (catch_up.keys_went_down[bit]) {
      release_first = catch_up.keys_last_down[bit] && catch_up.keys_went_up[bit];
      down = !release_first;
      if (!release_first) catch_up.keys_went_down.reset(bit);
    }
    int& waiting = catch_up.presses_waiting.keys[bit];
    if (down && !catch_up.keys_last_down[bit]) presses.keys[bit] = waiting;
    if (!release_first) waiting = 0;
    set_key_down(keyboard, code, down);
    catch_up.keys_last_down[bit] = down;
    // A tap read down although it is over: its release is still to be seen.
    catch_up.keys_went_up[bit] = down && !held;
  }

  const unsigned int release_first =
      catch_up.buttons_went_down & catch_up.buttons_last_down & catch_up.buttons_went_up;
  const unsigned int snapshot = static_cast<unsigned int>(mouse.buttons) & ~catch_up.buttons_masked;
  const unsigned int buttons = (snapshot | catch_up.buttons_went_down) & ~release_first;
  const unsigned int newly_down = buttons & ~catch_up.buttons_last_down;
  for (std::size_t b = 0; b < presses.buttons.size(); ++b) {
    int& waiting = catch_up.presses_waiting.buttons[b];
    if (newly_down & (1u << b)) presses.buttons[b] = waiting;
    if (!(release_first & (1u << b))) waiting = 0;
  }
  mouse.buttons = static_cast<int>(buttons);
  catch_up.buttons_went_down = release_first;
  catch_up.buttons_went_up = buttons & ~snapshot;
  catch_up.buttons_last_down = buttons;
}

}  // namespace tank
