// DriveQuery.h - the logical drive letters of the machine, for the file
// browser's drive list. Only Windows has drive letters; elsewhere the mask is
// empty and the browser draws no drive list.
#pragma once

#include <cstdint>
#include <string>

namespace Ostrel {

enum class DriveKind : uint32_t {
    Unknown = 0,
    NoRootDirectory = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// Bit i set: drive letter 'A' + i is present.
uint32_t QueryLogicalDrives();
// Kind of the drive whose root is given, such as "C:\".
DriveKind QueryDriveKind(const std::string& root);
// Drives a file dialog offers: present and removable, fixed or remote.
uint32_t QueryBrowsableDrives();

}  // namespace Ostrel
