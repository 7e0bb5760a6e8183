// FileOpen.h - opening a C file stream on every platform: fopen_s where the
// C library offers it (Windows), fopen elsewhere.
#pragma once

#include <cstdio>
#include <string>

namespace Ostrel {

// Returns null when the file cannot be opened. The caller closes the stream.
FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace Ostrel
