#include <tank/shell/startup.hpp>

#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_native_dialog.h>
#include <allegro5/allegro_opengl.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <tank/core/settings.hpp>
#include <tank/input/input_sample.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/resources/audio_session.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/new_bitmap_flags.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/resource_kinds.hpp>
#include <tank/resources/sample_bin.hpp>
#include <tank/shell/display_loss.hpp>
#include <tank/shell/exit_status.hpp>

namespace tank {

ALLEGRO_DISPLAY* display = nullptr;
ALLEGRO_BITMAP* frame_bitmap = nullptr;

namespace {
// Unfiltered: copied unscaled, filtering changes nothing and costs a software
// renderer a third of the copy. The copy filters it while the window is
// scaled (set_frame_filtering), so that it stays smooth there.
ALLEGRO_BITMAP* create_frame_bitmap() {
  const new_bitmap_flags_in_scope unfiltered(with_filtering(al_get_new_bitmap_flags(), false));
  return al_create_bitmap(display_width, display_height);
}

const char* const report_title = "Errors During Program Start";

void init_addons() {
  al_init_font_addon();
  al_init_image_addon();
  al_install_mouse();
  // The add-ons this library version needs initialised on their own.
  al_init_ttf_addon();
  al_init_primitives_addon();
}

void start_audio(std::vector<std::string>& errors) {
  const bool installed = al_install_audio();
  // Reserving samples without an audio system aborts inside the library, so
  // it is only tried when the system is there; the report reads the same.
  const bool reserved = installed && al_reserve_samples(16);
  if (audio_required) {
    if (!installed) errors.push_back("Could not initialize audio.");
    if (!reserved) errors.push_back("Could not reserve sample memory.");
  } else if (!reserved) {
    if (installed) al_uninstall_audio();
    std::fprintf(stderr, "%s: no sound device, playing without sound\n", program_invocation_short_name);
  }
  al_init_acodec_addon();
}

// However the program ends, its sound goes first: exit handlers run in the
// reverse order of their registration, so this one runs before the library's
// own (registered just before), and all of them before the sound library's
// clean-up at unload, which aborts now and then on a device left open.
void end_sound_first() { [[maybe_unused]] static const bool registered = std::atexit(shut_down_audio) == 0; }
}  // namespace

std::vector<std::string> start_up() {
  std::vector<std::string> errors;
  // Before the library opens its connection to the X server, so that no
  // moment of it is left to the default handling of its loss.
  end_on_display_loss();
  al_install_system(ALLEGRO_VERSION_INT, std::atexit);
  end_sound_first();
  init_addons();
  std::srand(random_seed.value_or(static_cast<unsigned>(std::time(nullptr))));

  start_audio(errors);
  // A game that may run silent needs the placeholder only when there is sound.
  if (!samples_bin.placeholder() && (audio_required || al_is_audio_installed())) {
    errors.push_back("could not load sample \"data/missing_sample.wav\"");
  }

  if (!al_install_keyboard()) errors.push_back("Error finding the keyboard.");

  // The window may take any size: the frame is scaled to fit it.
  al_set_new_display_flags(display_flags | ALLEGRO_RESIZABLE);
  if (!window_title.empty()) al_set_new_window_title(window_title.c_str());
  display = al_create_display(display_width, display_height);
  if (!display) errors.push_back("Error creating the display.");
  if (display && !window_icon.empty()) {
    if (ALLEGRO_BITMAP* icon = load_image(window_icon)) {
      al_set_display_icon(display, icon);
    } else {
      errors.push_back("could not load image \"" + window_icon + "\"");
    }
  }
  start_input_events(display);

  if (check_gl_extensions) {
    if (!al_have_opengl_extension("GL_EXT_framebuffer_object"))
      errors.push_back("GL_EXT_framebuffer_object not supported.");
    if (!al_have_opengl_extension("GL_ARB_fragment_shader"))
      errors.push_back("Fragment shaders not supported. Exiting.");
  }

  frame_bitmap = create_frame_bitmap();
  // Larger than the renderer's largest texture, say.
  if (display && !frame_bitmap) errors.push_back("Error creating the frame bitmap.");
  apply_cached_blend_mode();
  missing_image = load_image("data/missing_image.png");
  default_font = load_font("data/lacuna.ttf", -20);
  fonts_bin.set_default_font("data/lacuna.ttf", -20);

  if (!missing_image) errors.push_back("could not load image \"data/missing_image.png\"");
  if (!default_font) errors.push_back("could not load font \"data/lacuna.ttf\"");
  return errors;
}

std::string build_startup_report(const std::vector<std::string>& errors) {
  std::string report = "The following errors occured during startup:\n\n";
  for (const std::string& message : errors) report += message + "\n";
  report += "\nThe program must now be shut down.";
  return report;
}

int run_game(const game_callbacks& game) {
  const std::vector<std::string> errors = start_up();
  if (!errors.empty()) {
    // Also where a terminal or a launcher's log shows it: without a display
    // the box cannot appear at all.
    const std::string report = build_startup_report(errors);
    std::fprintf(stderr, "%s\n", report.c_str());
    std::fflush(stderr);
    if (startup_report_dialog) {
      // Started only when needed: bringing up the toolkit delays the first
      // frame by tens of milliseconds.
      al_init_native_dialog_addon();
      al_show_native_message_box(display, report_title, report_title, report.c_str(), nullptr,
                                 ALLEGRO_MESSAGEBOX_WARN);
    }
    quit_requested = true;
  }

  ALLEGRO_EVENT_QUEUE* queue = al_create_event_queue();
  if (display) {
    al_register_event_source(queue, al_get_display_event_source(display));
    // A resize before the queue listened left no event: take the window's size now.
    al_acknowledge_resize(display);
  }
  ALLEGRO_TIMER* timer = al_create_timer(1.0 / 60.0);
  al_start_timer(timer);
  al_register_event_source(queue, al_get_timer_event_source(timer));

  if (game.setup_world) game.setup_world();
  run_main_loop(game, queue, frame_bitmap);
  return errors.empty() ? 0 : failure_exit_status;
}

}  // namespace tank
