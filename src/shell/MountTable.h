#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tt::shell {

// What a mounted file system is to the user.
enum class VolumeKind : char {
    local = 'L',      // a disk of the computer
    removable = 'R',  // a stick, a card, a floppy, under one of the removable roots
    network = 'N',    // NFS, SMB/CIFS, SSHFS, WebDAV and the like
    root = '/',       // the root folder
    hidden = 'X',     // proc, sysfs, cgroup, the system's tmpfs, container internals ...
};

struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// The entries of a mount table in the layout of /proc/self/mountinfo (octal
// escapes such as \040 decoded). Lines that do not fit the layout are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Where the entry belongs. `removableRoots` are the folders under which media that
// come and go are mounted (/media, /run/media, /mnt on this system).
VolumeKind ClassifyMount(const MountEntry& entry, const std::vector<std::string>& removableRoots);

// True when `path` is `folder` or lies below it.
bool IsAtOrBelow(std::string_view path, std::string_view folder);

}  // namespace tt::shell
