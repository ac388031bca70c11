#pragma once

// The audio system while a test holds one: brought up as start-up does, on
// the sound library's silent device (any machine has it), and taken down as a
// program on the framework ends, through tank::shut_down_audio(), so that no
// voice is left playing for the sound library's clean-up at exit. Needs the
// library started (start_headless_library()).
struct silent_audio {
  bool started = false;  // with the placeholder loaded

  silent_audio();
  ~silent_audio();
  silent_audio(const silent_audio&) = delete;
  silent_audio& operator=(const silent_audio&) = delete;
};
