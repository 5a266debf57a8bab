#include "shell/MountTable.h"

#include <algorithm>
#include <array>

namespace tt::shell {
namespace {

std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

template <std::size_t N>
bool OneOf(std::string_view value, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), value) != set.end();
}

constexpr std::array<std::string_view, 14> kNetworkTypes = {
    "nfs",   "nfs4",        "cifs", "smb3",  "smbfs", "fuse.sshfs",     "sshfs",
    "davfs", "fuse.davfs2", "afs",  "ncpfs", "9p",    "fuse.curlftpfs", "fuse.rclone"};

// File systems that hold no user data or are the inside of something else.
constexpr std::array<std::string_view, 27> kPseudoTypes = {
    "proc",       "sysfs",      "cgroup",   "cgroup2",     "devtmpfs", "devpts",   "tmpfs",
    "securityfs", "pstore",     "bpf",      "debugfs",     "tracefs",  "configfs", "fusectl",
    "mqueue",     "hugetlbfs",  "autofs",   "binfmt_misc", "efivarfs", "overlay",  "nsfs",
    "ramfs",      "rpc_pipefs", "squashfs", "selinuxfs",   "nfsd",     "aufs"};

// Folders whose mounts belong to the system or to containers and snaps.
constexpr std::array<std::string_view, 8> kSystemFolders = {"/proc",
                                                            "/sys",
                                                            "/dev",
                                                            "/run",
                                                            "/snap",
                                                            "/var/snap",
                                                            "/var/lib/docker",
                                                            "/var/lib/containers"};

}  // namespace

bool IsAtOrBelow(std::string_view path, std::string_view folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    if (folder == "/")
        return !path.empty() && path.front() == '/';
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const auto fields = SplitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mountpoint options [optional...] - type source superoptions
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || dash == fields.end() || dash - fields.begin() < 6 ||
            fields.end() - dash < 3)
            continue;
        entries.push_back({Unescape(fields[4]), Unescape(dash[1]), Unescape(dash[2])});
    }
    return entries;
}

VolumeKind ClassifyMount(const MountEntry& entry, const std::vector<std::string>& removableRoots) {
    const std::string& point = entry.mountPoint;
    if (point == "/")
        return VolumeKind::root;
    if (OneOf(entry.fsType, kNetworkTypes))
        return VolumeKind::network;
    const bool pseudo = OneOf(entry.fsType, kPseudoTypes);
    for (const std::string& root : removableRoots) {
        if (IsAtOrBelow(point, root) && point.size() > root.size())
            return pseudo ? VolumeKind::hidden : VolumeKind::removable;
    }
    if (pseudo)
        return VolumeKind::hidden;
    for (std::string_view folder : kSystemFolders) {
        if (IsAtOrBelow(point, folder))
            return VolumeKind::hidden;
    }
    // A disk partition has a device node as its source; FUSE helpers (portals, the
    // desktop's own mounts) and other sourceless file systems do not.
    if (entry.source.rfind("/dev/", 0) != 0)
        return VolumeKind::hidden;
    return VolumeKind::local;
}

}  // namespace tt::shell
