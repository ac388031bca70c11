#include <tank/input/keys_at_focus.hpp>

#include <allegro5/allegro_x.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>
#include <cstddef>

namespace tank {

namespace {
Display* connection = nullptr;
std::array<char, 32> latest_keys{};  // one bit per X key code, as the server sends it
bool focus_in_seen = false;
bool focus_in_just_now = false;  // the server follows each focus-in with the keyboard

// The keys a game is likely to watch, by the symbol on their first or
// second level. A run of symbols maps to a run of key codes.
struct symbol_run {
  KeySym first;
  int first_code;
  int count = 1;
};

constexpr symbol_run symbol_runs[] = {
    {XK_a, ALLEGRO_KEY_A, 26},
    {XK_0, ALLEGRO_KEY_0, 10},
    {XK_KP_0, ALLEGRO_KEY_PAD_0, 10},
    {XK_F1, ALLEGRO_KEY_F1, 12},
    {XK_Escape, ALLEGRO_KEY_ESCAPE},
    {XK_grave, ALLEGRO_KEY_TILDE},
    {XK_minus, ALLEGRO_KEY_MINUS},
    {XK_equal, ALLEGRO_KEY_EQUALS},
    {XK_BackSpace, ALLEGRO_KEY_BACKSPACE},
    {XK_Tab, ALLEGRO_KEY_TAB},
    {XK_bracketleft, ALLEGRO_KEY_OPENBRACE},
    {XK_bracketright, ALLEGRO_KEY_CLOSEBRACE},
    {XK_Return, ALLEGRO_KEY_ENTER},
    {XK_semicolon, ALLEGRO_KEY_SEMICOLON},
    {XK_apostrophe, ALLEGRO_KEY_QUOTE},
    {XK_backslash, ALLEGRO_KEY_BACKSLASH},
    {XK_less, ALLEGRO_KEY_BACKSLASH2},
    {XK_comma, ALLEGRO_KEY_COMMA},
    {XK_period, ALLEGRO_KEY_FULLSTOP},
    {XK_slash, ALLEGRO_KEY_SLASH},
    {XK_space, ALLEGRO_KEY_SPACE},
    {XK_Insert, ALLEGRO_KEY_INSERT},
    {XK_Delete, ALLEGRO_KEY_DELETE},
    {XK_Home, ALLEGRO_KEY_HOME},
    {XK_End, ALLEGRO_KEY_END},
    {XK_Prior, ALLEGRO_KEY_PGUP},
    {XK_Next, ALLEGRO_KEY_PGDN},
    {XK_Left, ALLEGRO_KEY_LEFT},
    {XK_Right, ALLEGRO_KEY_RIGHT},
    {XK_Up, ALLEGRO_KEY_UP},
    {XK_Down, ALLEGRO_KEY_DOWN},
    {XK_KP_Divide, ALLEGRO_KEY_PAD_SLASH},
    {XK_KP_Multiply, ALLEGRO_KEY_PAD_ASTERISK},
    {XK_KP_Subtract, ALLEGRO_KEY_PAD_MINUS},
    {XK_KP_Add, ALLEGRO_KEY_PAD_PLUS},
    {XK_KP_Delete, ALLEGRO_KEY_PAD_DELETE},
    {XK_KP_Decimal, ALLEGRO_KEY_PAD_DELETE},
    {XK_KP_Enter, ALLEGRO_KEY_PAD_ENTER},
    {XK_KP_Equal, ALLEGRO_KEY_PAD_EQUALS},
    {XK_KP_Insert, ALLEGRO_KEY_PAD_0},
    {XK_KP_End, ALLEGRO_KEY_PAD_1},
    {XK_KP_Down, ALLEGRO_KEY_PAD_2},
    {XK_KP_Next, ALLEGRO_KEY_PAD_3},
    {XK_KP_Left, ALLEGRO_KEY_PAD_4},
    {XK_KP_Begin, ALLEGRO_KEY_PAD_5},
    {XK_KP_Right, ALLEGRO_KEY_PAD_6},
    {XK_KP_Home, ALLEGRO_KEY_PAD_7},
    {XK_KP_Up, ALLEGRO_KEY_PAD_8},
    {XK_KP_Prior, ALLEGRO_KEY_PAD_9},
    {XK_Print, ALLEGRO_KEY_PRINTSCREEN},
    {XK_Pause, ALLEGRO_KEY_PAUSE},
    {XK_Shift_L, ALLEGRO_KEY_LSHIFT},
    {XK_Shift_R, ALLEGRO_KEY_RSHIFT},
    {XK_Control_L, ALLEGRO_KEY_LCTRL},
    {XK_Control_R, ALLEGRO_KEY_RCTRL},
    {XK_Alt_L, ALLEGRO_KEY_ALT},
    {XK_Alt_R, ALLEGRO_KEY_ALTGR},
    {XK_ISO_Level3_Shift, ALLEGRO_KEY_ALTGR},
    {XK_Super_L, ALLEGRO_KEY_LWIN},
    {XK_Super_R, ALLEGRO_KEY_RWIN},
    {XK_Menu, ALLEGRO_KEY_MENU},
    {XK_Scroll_Lock, ALLEGRO_KEY_SCROLLLOCK},
    {XK_Num_Lock, ALLEGRO_KEY_NUMLOCK},
    {XK_Caps_Lock, ALLEGRO_KEY_CAPSLOCK},
};

// The library's code for an X key code; 0 for a key not in the table.
int library_code(KeyCode key) {
  for (unsigned int level = 0; level < 2; ++level) {
    const KeySym symbol = XkbKeycodeToKeysym(connection, key, 0, level);
    for (const symbol_run& run : symbol_runs) {
      if (symbol >= run.first && symbol < run.first + static_cast<KeySym>(run.count)) {
        return run.first_code + static_cast<int>(symbol - run.first);
      }
    }
  }
  return 0;
}
}  // namespace

void watch_keys_at_focus(ALLEGRO_DISPLAY* display) {
  if (!display) return;
  if (!connection) connection = XOpenDisplay(nullptr);
  if (!connection) return;
  XSelectInput(connection, al_get_x_window_id(display), FocusChangeMask | KeymapStateMask);
  XFlush(connection);
}

void read_focus_events() {
  if (!connection) return;
  while (XPending(connection) > 0) {
    XEvent event;
    XNextEvent(connection, &event);
    if (event.type == FocusIn) {
      focus_in_just_now = true;
    } else if (event.type == KeymapNotify && focus_in_just_now) {
      for (std::size_t i = 0; i < latest_keys.size(); ++i) latest_keys[i] = event.xkeymap.key_vector[i];
      focus_in_seen = true;
      focus_in_just_now = false;
    } else if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
    }
  }
}

std::bitset<ALLEGRO_KEY_MAX> keys_down_at_focus_in() {
  std::bitset<ALLEGRO_KEY_MAX> keys;
  if (!connection) return keys;
  // A round trip: whatever the server sent before it, the keyboard of the
  // focus-in the library has just reported included, is here after it.
  XSync(connection, False);
  read_focus_events();
  if (!focus_in_seen) return keys;
  for (int key = 0; key < 8 * static_cast<int>(latest_keys.size()); ++key) {
    const unsigned char bits = static_cast<unsigned char>(latest_keys[static_cast<std::size_t>(key / 8)]);
    if (!(bits & (1u << (key % 8)))) continue;
    if (const int code = library_code(static_cast<KeyCode>(key))) keys.set(static_cast<std::size_t>(code));
  }
  return keys;
}

}  // namespace tank
