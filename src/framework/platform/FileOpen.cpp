#include "FileOpen.h"

namespace Ostrel {

FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    FILE* file = nullptr;
    if (fopen_s(&file, path.c_str(), mode) != 0) return nullptr;
    return file;
#else
    return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace Ostrel
