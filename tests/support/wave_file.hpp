#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes of a 16-bit mono PCM WAV file at 44.1 kHz whose data chunk claims
// `claimed` bytes and holds `held` bytes of silence.
std::string wave_file(std::uint32_t claimed, std::size_t held);

// The parts of a WAV file, for files put together otherwise.
std::string riff_wave(const std::string& chunks);                // "RIFF", its length, "WAVE", the chunks
std::string wave_chunk(const char* id, const std::string& body);  // padded to an even length
std::string pcm_format(std::uint32_t rate, std::uint16_t channels);  // a format chunk's body, 16-bit samples
