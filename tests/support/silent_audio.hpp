#pragma once

// The audio system for as long as a test holds one: brought up as start-up
// does (sixteen reserved samples, the codecs, the placeholder) on the sound
// library's silent device, which any machine has, and taken down as a program
// on the framework ends (tank::shut_down_audio), so that no voice is left
// playing for the sound library's own clean-up at exit. Needs the library
// (start_headless_library()).
struct silent_audio {
  bool started = false;  // and the placeholder loaded

  silent_audio();
  ~silent_audio();
  silent_audio(const silent_audio&) = delete;
  silent_audio& operator=(const silent_audio&) = delete;
};
