#include "tests/support/wave_file.hpp"

namespace {
std::string le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}
}  // namespace

std::string riff_wave(const std::string& chunks) {
  return "RIFF" + le(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

std::string wave_chunk(const char* id, const std::string& body) {
  return id + le(static_cast<std::uint32_t>(body.size()), 4) + body + std::string(body.size() % 2, '\0');
}

std::string pcm_format(std::uint32_t rate, std::uint16_t channels) {
  const std::uint32_t block = 2u * channels;  // bytes of one frame
  return le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * block, 4) + le(block, 2) + le(16, 2);
}

std::string wave_file(std::uint32_t claimed, std::size_t held) {
  return riff_wave(wave_chunk("fmt ", pcm_format(44100, 1)) + "data" + le(claimed, 4) + std::string(held, '\0'));
}
