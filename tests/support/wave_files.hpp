#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// Bytes of one RIFF chunk: its id, a length that claims `claimed` bytes, then
// `held` zero bytes, whatever was claimed.
std::string riff_chunk(const char* id, std::uint32_t claimed, std::size_t held);

// A RIFF/WAVE file: a format chunk for 16-bit mono PCM at 44.1 kHz, then the
// given chunks. The RIFF length is the true one.
std::string wave_file(const std::string& chunks_after_format);

void write_bytes(const std::filesystem::path& path, const std::string& bytes);
