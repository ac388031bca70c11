#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes of a 16-bit mono PCM WAV file at 44.1 kHz whose data chunk claims
// `claimed` bytes and holds `held` bytes of silence.
std::string wave_file(std::uint32_t claimed, std::size_t held);
