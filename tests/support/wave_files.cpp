#include "tests/support/wave_files.hpp"

#include <fstream>

namespace {
std::string le32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string le16(std::uint16_t value) { return le32(value).substr(0, 2); }
}  // namespace

std::string riff_chunk(const char* id, std::uint32_t claimed, std::size_t held) {
  return std::string(id, 4) + le32(claimed) + std::string(held, '\0');
}

std::string wave_file(const std::string& chunks_after_format) {
  const std::string format = le16(1) + le16(1) + le32(44100) + le32(88200) + le16(2) + le16(16);
  const std::string form = "WAVE" + std::string("fmt ") + le32(static_cast<std::uint32_t>(format.size())) +
                           format + chunks_after_format;
  return "RIFF" + le32(static_cast<std::uint32_t>(form.size())) + form;
}

void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
