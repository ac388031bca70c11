#pragma once

#include <string>

namespace tank {

// Whether `path` is a RIFF/WAVE file whose chunk headers, up to and including
// the sample data's, claim more bytes than the file holds. The library sizes
// a sample by its header alone: a file of a few hundred bytes that claims
// gigabytes would have them all allocated, and held for the whole run.
//
// False for anything else: a file that cannot be opened, another format, or a
// RIFF file without a data chunk. Those are the library's to judge.
bool wave_header_overstates_size(const std::string& path);

}  // namespace tank
