#include <tank/shell/frame_copy.hpp>

#include <allegro5/allegro_opengl.h>
#include <GL/glext.h>

#include <tank/input/controls.hpp>
#include <tank/resources/new_bitmap_flags.hpp>

namespace tank {

namespace {
// What the current display offers for a blit, looked up once per display.
// Every function comes through the library, so that the program need not
// link the OpenGL library itself.
struct blit_support {
  ALLEGRO_DISPLAY* display = nullptr;
  decltype(&glGetError) get_error = nullptr;
  decltype(&glGetIntegerv) get_integer = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;  // null: no blit on this display
};
blit_support support;

const blit_support& blit_support_of(ALLEGRO_DISPLAY* display) {
  if (support.display == display) return support;
  support = {.display = display};
  if ((al_get_display_flags(display) & ALLEGRO_OPENGL) == 0 || al_get_opengl_variant() != ALLEGRO_DESKTOP_OPENGL) {
    return support;
  }
  if (al_get_opengl_version() < 0x03000000 && !al_have_opengl_extension("GL_ARB_framebuffer_object")) return support;
  // A blit into a multisampled buffer from a plain one is an error.
  if (al_get_display_option(display, ALLEGRO_SAMPLE_BUFFERS) != 0) return support;
  support.get_error = reinterpret_cast<decltype(&glGetError)>(al_get_opengl_proc_address("glGetError"));
  support.get_integer = reinterpret_cast<decltype(&glGetIntegerv)>(al_get_opengl_proc_address("glGetIntegerv"));
  support.bind_framebuffer =
      reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(al_get_opengl_proc_address("glBindFramebuffer"));
  support.blit_framebuffer =
      reinterpret_cast<PFNGLBLITFRAMEBUFFERPROC>(al_get_opengl_proc_address("glBlitFramebuffer"));
  if (!support.get_error || !support.get_integer || !support.bind_framebuffer) support.blit_framebuffer = nullptr;
  return support;
}

// Errors left by earlier calls would be taken for the blit's own; a lost
// context may keep answering, hence the bound.
void forget_earlier_errors(const blit_support& gl) {
  for (int i = 0; i < 16 && gl.get_error() != GL_NO_ERROR; ++i) {
  }
}
}  // namespace

void set_frame_filtering(ALLEGRO_BITMAP* frame, bool filtered) {
  const int flags = al_get_bitmap_flags(frame);
  if (((flags & linear_filtering) == linear_filtering) == filtered) return;
  // The library keeps a bitmap's filtering from its creation on: converting
  // makes a new texture with the flags in force and keeps the pixels.
  const new_bitmap_flags_in_scope converted(with_filtering(flags, filtered));
  al_set_new_bitmap_format(al_get_bitmap_format(frame));
  al_convert_bitmap(frame);
}

bool blit_frame(ALLEGRO_BITMAP* frame, int left, int top) {
  ALLEGRO_DISPLAY* display = al_get_current_display();
  // The blit goes to the window's own framebuffer, whatever the target.
  if (!display || al_get_target_bitmap() != al_get_backbuffer(display)) return false;
  const blit_support& gl = blit_support_of(display);
  if (!gl.blit_framebuffer || al_is_sub_bitmap(frame)) return false;
  if ((al_get_bitmap_flags(frame) & ALLEGRO_MEMORY_BITMAP) != 0) return false;
  const int width = al_get_bitmap_width(frame);
  const int height = al_get_bitmap_height(frame);
  int texture_width = 0;
  int texture_height = 0;
  // A texture larger than the frame (a driver without textures of any size)
  // puts the frame's rows elsewhere in it.
  if (!al_get_opengl_texture_size(frame, &texture_width, &texture_height) || texture_width != width ||
      texture_height != height) {
    return false;
  }
  const GLuint source = al_get_opengl_fbo(frame);
  if (source == 0) return false;

  // The library binds one framebuffer for both reading and drawing, and
  // believes it still bound afterwards.
  GLint read_binding = 0;
  GLint draw_binding = 0;
  gl.get_integer(GL_READ_FRAMEBUFFER_BINDING, &read_binding);
  gl.get_integer(GL_DRAW_FRAMEBUFFER_BINDING, &draw_binding);
  forget_earlier_errors(gl);
  gl.bind_framebuffer(GL_READ_FRAMEBUFFER, source);
  gl.bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // OpenGL counts rows from the bottom, in the frame's texture as in the
  // window, so the frame goes up unflipped; only its place is counted from
  // the window's bottom edge.
  const int bottom = al_get_display_height(display) - top - height;
  gl.blit_framebuffer(0, 0, width, height, left, bottom, left + width, bottom + height, GL_COLOR_BUFFER_BIT,
                     GL_NEAREST);
  const bool blitted = gl.get_error() == GL_NO_ERROR;
  gl.bind_framebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read_binding));
  gl.bind_framebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw_binding));
  // The driver does not do it after all: every later copy is drawn instead.
  if (!blitted) support.blit_framebuffer = nullptr;
  return blitted;
}

void draw_frame_copy(ALLEGRO_BITMAP* frame, const frame_layout& layout) {
  ALLEGRO_STATE blender;
  al_store_state(&blender, ALLEGRO_STATE_BLENDER);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
  const int width = al_get_bitmap_width(frame);
  const int height = al_get_bitmap_height(frame);
  if (layout.width == width && layout.height == height) {
    al_draw_bitmap(frame, static_cast<float>(layout.left), static_cast<float>(layout.top), 0);
  } else {
    al_draw_scaled_bitmap(frame, 0, 0, static_cast<float>(width), static_cast<float>(height),
                          static_cast<float>(layout.left), static_cast<float>(layout.top),
                          static_cast<float>(layout.width), static_cast<float>(layout.height), 0);
  }
  al_restore_state(&blender);
}

void copy_frame_to_window(ALLEGRO_BITMAP* frame) {
  ALLEGRO_DISPLAY* display = al_get_current_display();
  al_set_target_backbuffer(display);
  const int width = al_get_bitmap_width(frame);
  const int height = al_get_bitmap_height(frame);
  const int window_width = al_get_display_width(display);
  const int window_height = al_get_display_height(display);
  const frame_layout layout = fit_frame(width, height, window_width, window_height);
  place_frame_in_window(layout.left, layout.top, layout.width, layout.height, width, height);

  if (layout.left != 0 || layout.top != 0 || layout.width != window_width || layout.height != window_height) {
    al_clear_to_color(al_map_rgb(0, 0, 0));
  }
  if (layout.width == 0 || layout.height == 0) return;  // a minimised window
  const bool scaled = layout.width != width || layout.height != height;
  set_frame_filtering(frame, scaled);
  if (scaled || !blit_frame(frame, layout.left, layout.top)) draw_frame_copy(frame, layout);
}

}  // namespace tank
