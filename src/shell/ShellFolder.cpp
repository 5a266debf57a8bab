#include "shell/ShellFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "platform/DirHandle.h"
#include "platform/FileHandle.h"
#include "shell/MountTable.h"
#include "shell/NaturalOrder.h"
#include "text/NameText.h"
#include "text/UiLanguage.h"

namespace tt::shell {
namespace {

// First byte of an item's payload.
enum ItemKind : char {
    kHome = 'H',
    kComputer = 'C',
    kNetwork = 'N',
    kVolume = 'V',  // then the VolumeKind, the mount point, a zero byte and the name shown
    kFolder = 'F',  // then '1' when it has subfolders, else '0', and its name in its parent
};

std::string Bytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A string from malloc (as realpath gives it), freed on leaving.
struct Freer {
    void operator()(char* text) const { std::free(text); }
};

// The path with every link and "." or ".." resolved; nothing when it cannot be.
std::optional<std::string> ResolvedPath(const std::string& path) {
    const std::unique_ptr<char, Freer> real(::realpath(path.c_str(), nullptr));
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

bool IsFolderEntry(int dirFd, const dirent64& entry) {
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(dirFd, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Calls `visit` with the folder's descriptor and each child folder's name until it
// returns false. The folder is `name` in `parentFd` (AT_FDCWD for a path). Reads
// the entries in large blocks: a folder of thousands of folders is looked into
// once per child, so each look is kept to a few system calls.
template <typename Visit>
void ForEachSubfolder(int parentFd, const char* name, bool countHidden, Visit visit) {
    const FileHandle folder(
        ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    if (!folder.isOpen())
        return;
    const int fd = folder.fd();
    alignas(dirent64) char buffer[16384];
    bool more = true;
    while (more) {
        const ssize_t size = ::getdents64(fd, buffer, sizeof buffer);
        if (size <= 0)
            break;
        for (ssize_t pos = 0; pos < size && more;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + pos);
            pos += entry->d_reclen;
            if (IsDots(entry->d_name) || (!countHidden && entry->d_name[0] == '.'))
                continue;
            if (IsFolderEntry(fd, *entry))
                more = visit(fd, entry->d_name);
        }
    }
}

bool HasSubfoldersAt(int parentFd, const char* name, bool countHidden) {
    bool found = false;
    ForEachSubfolder(parentFd, name, countHidden, [&](int, const char*) {
        found = true;
        return false;
    });
    return found;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct Volume {
    VolumeKind kind;
    std::string mountPoint;
    std::string name;
};

std::string VolumePayload(const Volume& volume) {
    std::string payload{kVolume, static_cast<char>(volume.kind)};
    payload += volume.mountPoint;
    payload += '\0';
    payload += volume.name;
    return payload;
}

Volume ParseVolume(std::string_view payload) {
    Volume volume{VolumeKind::local, {}, {}};
    if (payload.size() < 2)
        return volume;
    volume.kind = static_cast<VolumeKind>(payload[1]);
    const std::string_view rest = payload.substr(2);
    const std::size_t zero = std::min(rest.find('\0'), rest.size());
    volume.mountPoint = std::string(rest.substr(0, zero));
    if (zero < rest.size())
        volume.name = std::string(rest.substr(zero + 1));
    return volume;
}

// Labels of the disks by their device's real path, from the links in `labelDir`
// (names escape bytes as \xHH).
std::map<std::string, std::string> ReadLabels(const std::string& labelDir) {
    std::map<std::string, std::string> labels;
    const DirHandle dir(::opendir(labelDir.c_str()));
    if (!dir)
        return labels;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsDots(entry->d_name))
            continue;
        const std::optional<std::string> device = ResolvedPath(JoinPath(labelDir, entry->d_name));
        if (!device)
            continue;
        std::string label;
        const std::string_view raw = entry->d_name;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw.substr(i, 2) == "\\x" && i + 3 < raw.size()) {
                label += static_cast<char>(
                    std::strtol(std::string(raw.substr(i + 2, 2)).c_str(), nullptr, 16));
                i += 3;
            } else {
                label += raw[i];
            }
        }
        labels[*device] = label;
    }
    return labels;
}

std::string RealPath(const std::string& path) {
    return ResolvedPath(path).value_or(path);
}

// The mounted volumes of one kind group, in mount table order; a mount point
// mounted again shows the latest mount.
std::vector<Volume> ReadVolumes(const Environment& environment, bool network) {
    std::vector<Volume> volumes;
    if (!environment.readMountTable)
        return volumes;
    const std::vector<MountEntry> entries = ParseMountInfo(environment.readMountTable());
    std::map<std::string, std::string> labels;
    bool labelsRead = false;
    for (const MountEntry& entry : entries) {
        const VolumeKind kind = ClassifyMount(entry, environment.removableRoots);
        if (kind == VolumeKind::hidden || kind == VolumeKind::root ||
            (kind == VolumeKind::network) != network)
            continue;
        // Local disks are cheap to look at; a file bound over a file is no volume.
        if (kind == VolumeKind::local && !IsDirectory(entry.mountPoint))
            continue;
        std::string name = entry.mountPoint;
        if (kind != VolumeKind::network && entry.source.rfind("/dev/", 0) == 0) {
            if (!labelsRead) {
                labels = ReadLabels(environment.labelDir);
                labelsRead = true;
            }
            if (const auto label = labels.find(RealPath(entry.source)); label != labels.end())
                name = label->second;
        }
        std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == entry.mountPoint; });
        volumes.push_back({kind, entry.mountPoint, name});
    }
    return volumes;
}

// Mount points of the removable and network volumes: their media may be slow to
// wake or out of reach, so they are never looked into unasked.
std::set<std::string> SlowMountPoints(const Environment& environment) {
    std::set<std::string> points;
    if (!environment.readMountTable)
        return points;
    for (const MountEntry& entry : ParseMountInfo(environment.readMountTable())) {
        const VolumeKind kind = ClassifyMount(entry, environment.removableRoots);
        if (kind == VolumeKind::removable || kind == VolumeKind::network)
            points.insert(entry.mountPoint);
    }
    return points;
}

int Rank(std::string_view payload) {
    if (payload.empty())
        return 9;
    switch (payload[0]) {
        case kHome:
            return 0;
        case kComputer:
            return 1;
        case kNetwork:
            return 2;
        case kVolume:
            return payload.size() > 1 && payload[1] == static_cast<char>(VolumeKind::root) ? 4 : 3;
        default:
            return 5;
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

std::shared_ptr<const Environment> Environment::System() {
    auto environment = std::make_shared<Environment>();
    environment->home = Bytes(QDir::homePath());
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir() &&
        QFileInfo(desktop).canonicalFilePath() != QFileInfo(QDir::homePath()).canonicalFilePath())
        environment->desktop = Bytes(desktop);
    environment->runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString();
    environment->readMountTable = [] {
        std::ifstream file("/proc/self/mountinfo");
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    return environment;
}

ShellFolder::ShellFolder(Kind kind, std::string path,
                         std::shared_ptr<const Environment> environment)
    : m_kind(kind), m_path(std::move(path)), m_environment(std::move(environment)) {}

std::shared_ptr<ShellFolder> ShellFolder::Desktop(std::shared_ptr<const Environment> environment) {
    std::string desktop = environment->desktop;
    return std::make_shared<ShellFolder>(Kind::desktop, std::move(desktop), std::move(environment));
}

std::vector<IdList> ShellFolder::EnumObjects() const {
    std::vector<IdList> ids;
    switch (m_kind) {
        case Kind::desktop:
            ids.push_back(MakeItemId(std::string{kHome}));
            ids.push_back(MakeItemId(std::string{kComputer}));
            ids.push_back(MakeItemId(std::string{kNetwork}));
            break;
        case Kind::computer:
            for (const Volume& volume : ReadVolumes(*m_environment, false))
                ids.push_back(MakeItemId(VolumePayload(volume)));
            ids.push_back(MakeItemId(VolumePayload({VolumeKind::root, "/", {}})));
            return ids;
        case Kind::network: {
            for (const Volume& volume : ReadVolumes(*m_environment, true))
                ids.push_back(MakeItemId(VolumePayload(volume)));
            // The desktop's own network mounts, one folder each.
            if (!m_environment->runtimeDir.empty()) {
                const std::string gvfs = JoinPath(m_environment->runtimeDir, "gvfs");
                ForEachSubfolder(AT_FDCWD, gvfs.c_str(), false, [&](int, const char* name) {
                    ids.push_back(MakeItemId(
                        VolumePayload({VolumeKind::network, JoinPath(gvfs, name), name})));
                    return true;
                });
            }
            return ids;
        }
        case Kind::fileSystem:
            break;
    }
    if (!m_path.empty()) {
        // Whether each child has subfolders is looked up now, while its parent is open,
        // and kept in its ID. A stick or a share mounted here is not looked into.
        const std::set<std::string> slow = SlowMountPoints(*m_environment);
        ForEachSubfolder(AT_FDCWD, m_path.c_str(), false, [&](int fd, const char* name) {
            const bool assumed = !slow.empty() && slow.count(JoinPath(m_path, name)) != 0;
            const char hasSubfolders = assumed || HasSubfoldersAt(fd, name, false) ? '1' : '0';
            if (IdList id = MakeItemId(std::string{kFolder, hasSubfolders} + name); !id.empty())
                ids.push_back(std::move(id));
            return true;
        });
    }
    return ids;
}

std::string ShellFolder::PathOf(const std::uint8_t* id) const {
    const std::string_view payload = ItemPayload(id);
    if (payload.empty())
        return {};
    switch (payload[0]) {
        case kHome:
            return m_environment->home;
        case kVolume:
            return ParseVolume(payload).mountPoint;
        case kFolder:
            return m_path.empty() || payload.size() < 2
                       ? std::string()
                       : JoinPath(m_path, std::string(payload.substr(2)));
        default:
            return {};
    }
}

std::uint32_t ShellFolder::GetAttributesOf(const std::uint8_t* id, std::uint32_t mask) const {
    const std::string_view payload = ItemPayload(id);
    if (payload.empty())
        return 0;
    std::uint32_t attributes = kAttrFolder;
    if (payload[0] == kComputer || payload[0] == kNetwork) {
        attributes |= kAttrFileSysAncestor | kAttrHasSubfolder;
    } else {
        attributes |= kAttrFileSystem;
        // A stick or a network share is not touched to answer this: it may be slow
        // to wake, and it shows an expand button whatever it holds.
        const bool assumed =
            payload[0] == kVolume && (ParseVolume(payload).kind == VolumeKind::removable ||
                                      ParseVolume(payload).kind == VolumeKind::network);
        const bool known = payload[0] == kFolder && payload.size() > 1;
        if ((mask & kAttrHasSubfolder) != 0 &&
            (assumed || (known ? payload[1] == '1' : HasSubfolders(PathOf(id), false))))
            attributes |= kAttrHasSubfolder;
    }
    return attributes & mask;
}

std::shared_ptr<ShellFolder> ShellFolder::BindToObject(const std::uint8_t* id) const {
    const std::string_view payload = ItemPayload(id);
    if (payload.empty())
        return nullptr;
    if (payload[0] == kComputer)
        return std::make_shared<ShellFolder>(Kind::computer, std::string(), m_environment);
    if (payload[0] == kNetwork)
        return std::make_shared<ShellFolder>(Kind::network, std::string(), m_environment);
    std::string path = PathOf(id);
    if (path.empty())
        return nullptr;
    return std::make_shared<ShellFolder>(Kind::fileSystem, std::move(path), m_environment);
}

std::optional<std::string> ShellFolder::GetDisplayNameOf(const std::uint8_t* id,
                                                         NameKind kind) const {
    const std::string_view payload = ItemPayload(id);
    if (payload.empty())
        return std::nullopt;
    if (kind == NameKind::forParsing) {
        if (payload[0] == kComputer)
            return std::string("computer:///");
        if (payload[0] == kNetwork)
            return std::string("network:///");
        std::string path = PathOf(id);
        return path.empty() ? std::nullopt : std::optional<std::string>(std::move(path));
    }
    switch (payload[0]) {
        case kHome:
            return std::string(Tr("Home", "Persönlicher Ordner"));
        case kComputer:
            return std::string("Computer");
        case kNetwork:
            return std::string(Tr("Network", "Netzwerk"));
        case kVolume: {
            const Volume volume = ParseVolume(payload);
            if (volume.kind == VolumeKind::root)
                return std::string(Tr("File System", "Dateisystem"));
            return volume.name.empty() ? volume.mountPoint : volume.name;
        }
        case kFolder:
            return std::string(payload.substr(std::min<std::size_t>(2, payload.size())));
        default:
            return std::nullopt;
    }
}

int ShellFolder::CompareIDs(const std::uint8_t* a, const std::uint8_t* b) const {
    const std::string_view payloadA = ItemPayload(a);
    const std::string_view payloadB = ItemPayload(b);
    if (const int rank = Rank(payloadA) - Rank(payloadB); rank != 0)
        return Sign(rank);
    const std::string nameA = GetDisplayNameOf(a, NameKind::normal).value_or(std::string());
    const std::string nameB = GetDisplayNameOf(b, NameKind::normal).value_or(std::string());
    if (const int order = NaturalCompare(nameA, nameB); order != 0)
        return order;
    return Sign(payloadA.compare(payloadB));
}

std::string ShellFolder::IconName(const std::uint8_t* id, bool open) const {
    const std::string_view payload = ItemPayload(id);
    const char kind = payload.empty() ? static_cast<char>(kFolder) : payload[0];
    switch (kind) {
        case kHome:
            return "user-home";
        case kComputer:
            return "computer";
        case kNetwork:
            return "network-workgroup";
        case kVolume:
            switch (ParseVolume(payload).kind) {
                case VolumeKind::removable:
                    return "drive-removable-media";
                case VolumeKind::network:
                    return "folder-remote";
                default:
                    return "drive-harddisk";
            }
        default:
            return open ? "folder-open" : "folder";
    }
}

bool ShellFolder::IsPlainFolder(const std::uint8_t* id) const {
    const std::string_view payload = ItemPayload(id);
    return !payload.empty() && payload[0] == kFolder && !m_path.empty();
}

bool HasSubfolders(const std::string& path, bool countHidden) {
    return HasSubfoldersAt(AT_FDCWD, path.c_str(), countHidden);
}

}  // namespace tt::shell
