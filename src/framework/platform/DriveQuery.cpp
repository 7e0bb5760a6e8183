// DriveQuery.cpp - Windows drive queries; no drive letters on other systems.
#include "DriveQuery.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace Ostrel {

uint32_t QueryLogicalDrives() {
#ifdef _WIN32
    return static_cast<uint32_t>(GetLogicalDrives());
#else
    return 0;
#endif
}

DriveKind QueryDriveKind(const std::string& root) {
#ifdef _WIN32
    return static_cast<DriveKind>(GetDriveTypeA(root.c_str()));
#else
    (void)root;
    return DriveKind::NoRootDirectory;
#endif
}

uint32_t QueryBrowsableDrives() {
    const uint32_t present = QueryLogicalDrives();
    uint32_t offered = 0;
    for (int i = 0; i < 26; ++i) {
        if ((present & (1u << i)) == 0) continue;
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        const DriveKind kind = QueryDriveKind(root);
        if (kind == DriveKind::Removable || kind == DriveKind::Fixed || kind == DriveKind::Remote) offered |= 1u << i;
    }
    return offered;
}

}  // namespace Ostrel
