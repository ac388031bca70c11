#include "tests/support/wave_file.hpp"

namespace {
std::string le32(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}
}  // namespace

std::string wave_file(std::uint32_t claimed, std::size_t held) {
  // PCM, mono; 44 100 samples and 88 200 bytes a second; 2-byte blocks of 16 bits.
  const std::string format = le32(0x00010001) + le32(44100) + le32(88200) + le32(0x00100002);
  const std::string form = "WAVEfmt " + le32(16) + format + "data" + le32(claimed) + std::string(held, '\0');
  return "RIFF" + le32(static_cast<std::uint32_t>(form.size())) + form;
}
