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

// Walks the chunks after the RIFF header, each an id, a 32-bit little-endian
// length and that many bytes, padded to an even length.
bool chunks_overrun(ALLEGRO_FILE* file, std::int64_t file_size) {
  const std::int64_t riff_header = 12;  // "RIFF", the RIFF length, "WAVE"
  std::int64_t position = riff_header;
  while (position + 8 <= file_size) {
    char id[4] = {};
    if (!al_fseek(file, position, ALLEGRO_SEEK_SET) || al_fread(file, id, sizeof id) != sizeof id) {
      return false;
    }
    const std::int64_t length = static_cast<std::uint32_t>(al_fread32le(file));
    position += 8;
    if (length > file_size - position) return true;
    if (std::memcmp(id, "data", sizeof id) == 0) return false;
    position += length + (length & 1);
  }
  return false;
}
}  // namespace

bool wave_header_overstates_size(const std::string& path) {
  ALLEGRO_FILE* file = al_fopen(path.c_str(), "rb");
  if (!file) return false;
  const std::int64_t file_size = al_fsize(file);  // -1 when unknown: then nothing is judged
  // The length in the RIFF header is skipped, not trusted: it only repeats
  // the claim.
  const bool overstated = file_size >= 12 && read_id(file, "RIFF") && al_fseek(file, 8, ALLEGRO_SEEK_SET) &&
                          read_id(file, "WAVE") && chunks_overrun(file, file_size);
  al_fclose(file);
  return overstated;
}

}  // namespace tank
