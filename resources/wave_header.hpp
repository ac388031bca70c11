#pragma once

#include <string>

namespace tank {

// Whether `path` is a RIFF/WAVE file that no real recording would be, judged
// from its chunk headers before the library reads it:
// - a chunk header, up to and including the sample data's, claims more bytes
//   than the file holds (the library sizes a sample by its header alone: a
//   file of a few hundred bytes that claims gigabytes would have them all
//   allocated, and held for the whole run);
// - no format chunk before the sample data, or one too short to say the rate
//   and the channel count (the library would guess, and play noise);
// - a rate outside wave_rates or a channel count outside wave_channels (a
//   1 Hz file of a hundred frames holds a voice for 100 s);
// - no sample data, or sample data of no length;
// - more than wave_chunk_limit chunks before the sample data (a real file
//   has a handful; walking a million empty ones froze a game for seconds).
//
// False for anything else, a file that cannot be opened or of another format:
// those are the library's to judge.
bool wave_header_is_damaged(const std::string& path);

struct wave_range {
  long low = 0;
  long high = 0;
};
inline constexpr wave_range wave_rates{4'000, 384'000};  // frames a second
inline constexpr wave_range wave_channels{1, 8};         // mono to 7.1
inline constexpr int wave_chunk_limit = 64;

}  // namespace tank
