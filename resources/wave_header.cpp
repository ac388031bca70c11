#include <tank/resources/wave_header.hpp>

#include <allegro5/allegro.h>

#include <cstdint>
#include <cstring>

namespace tank {

namespace {
bool read_id(ALLEGRO_FILE* file, const char* expected) {
  char id[4] = {};
  return al_fread(file, id, sizeof id) == sizeof id && std::memcmp(id, expected, sizeof id) == 0;
}

bool within(long value, const wave_range& range) { return value >= range.low && value <= range.high; }

// The start of a format chunk's body: the encoding, the channel count, the
// rate (then the byte rate, the block size and the bits of a sample).
bool format_is_real(ALLEGRO_FILE* file) {
  al_fread16le(file);  // the encoding: the library's to judge
  const long channels = static_cast<std::uint16_t>(al_fread16le(file));
  const long rate = static_cast<std::uint32_t>(al_fread32le(file));
  return !al_feof(file) && !al_ferror(file) && within(channels, wave_channels) && within(rate, wave_rates);
}

// Walks the chunks after the RIFF header, each an id, a 32-bit little-endian
// length and that many bytes, padded to an even length, up to the sample
// data's.
bool chunks_damaged(ALLEGRO_FILE* file, std::int64_t file_size) {
  const std::int64_t riff_header = 12;  // "RIFF", the RIFF length, "WAVE"
  std::int64_t position = riff_header;
  bool format_seen = false;
  for (int chunk = 0; chunk < wave_chunk_limit; ++chunk) {
    char id[4] = {};
    if (position + 8 > file_size || !al_fseek(file, position, ALLEGRO_SEEK_SET) ||
        al_fread(file, id, sizeof id) != sizeof id) {
      return true;  // ends before its sample data
    }
    const std::int64_t length = static_cast<std::uint32_t>(al_fread32le(file));
    position += 8;
    if (length > file_size - position) return true;
    if (std::memcmp(id, "data", sizeof id) == 0) return !format_seen || length == 0;
    if (std::memcmp(id, "fmt ", sizeof id) == 0) {
      if (length < 16 || !format_is_real(file)) return true;
      format_seen = true;
    }
    position += length + (length & 1);
  }
  return true;
}
}  // namespace

bool wave_header_is_damaged(const std::string& path) {
  ALLEGRO_FILE* file = al_fopen(path.c_str(), "rb");
  if (!file) return false;
  const std::int64_t file_size = al_fsize(file);  // -1 when unknown: then nothing is judged
  // The length in the RIFF header is skipped, not trusted: it only repeats
  // the claim.
  const bool damaged = file_size >= 12 && read_id(file, "RIFF") && al_fseek(file, 8, ALLEGRO_SEEK_SET) &&
                       read_id(file, "WAVE") && chunks_damaged(file, file_size);
  al_fclose(file);
  return damaged;
}

}  // namespace tank
