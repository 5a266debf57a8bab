#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/IdList.h"

namespace tt::shell {

// Attributes of an item, as bits.
inline constexpr std::uint32_t kAttrFileSysAncestor = 0x10000000;
inline constexpr std::uint32_t kAttrFolder = 0x20000000;
inline constexpr std::uint32_t kAttrFileSystem = 0x40000000;
inline constexpr std::uint32_t kAttrHasSubfolder = 0x80000000;

// Which name of an item: the one shown, or the one that finds it again (the path
// of a file-system item, a URI of a virtual one).
enum class NameKind { normal, forParsing };

// Where the namespace looks. Tests give their own folders and mount table.
struct Environment {
    std::string home;        // the user's home folder
    std::string desktop;     // the desktop folder; empty when there is none or it is home
    std::string runtimeDir;  // $XDG_RUNTIME_DIR: the desktop's network mounts are under gvfs
    std::vector<std::string> removableRoots{"/media", "/run/media", "/mnt"};
    std::string labelDir = "/dev/disk/by-label";
    // The mount table, in the layout of /proc/self/mountinfo; read at every look.
    std::function<std::string()> readMountTable;

    // This machine and user.
    static std::shared_ptr<const Environment> System();
};

// A folder of the namespace: the desktop (the top level), the virtual Computer and
// Network, or a folder of the file system. It lists its child folders as one-level
// item IDs and answers for them: attributes, names, order, icon, path. Files are
// never listed.
class ShellFolder {
  public:
    // The top level: Home, Computer, Network, then the folders on the desktop.
    static std::shared_ptr<ShellFolder> Desktop(std::shared_ptr<const Environment> environment);

    // The child folders, hidden ones left out, in no particular order.
    std::vector<IdList> EnumObjects() const;
    // The bits of `mask` that the child has.
    std::uint32_t GetAttributesOf(const std::uint8_t* id, std::uint32_t mask) const;
    // The child as a folder; null when it cannot be one.
    std::shared_ptr<ShellFolder> BindToObject(const std::uint8_t* id) const;
    // UTF-8 for the fixed names, the file system's bytes for folder names.
    std::optional<std::string> GetDisplayNameOf(const std::uint8_t* id, NameKind kind) const;
    // Sibling order: Home, Computer, Network; volumes before the root folder; then
    // by name in natural order ignoring case. Negative, zero or positive.
    int CompareIDs(const std::uint8_t* a, const std::uint8_t* b) const;
    // A freedesktop icon name for the child, closed or open.
    std::string IconName(const std::uint8_t* id, bool open) const;
    // The child's file-system path; empty for a virtual folder.
    std::string PathOf(const std::uint8_t* id) const;
    // True for a folder the user may rename or move to the trash: an ordinary folder,
    // not the home folder, a volume or the root.
    bool IsPlainFolder(const std::uint8_t* id) const;

    enum class Kind { desktop, computer, network, fileSystem };
    ShellFolder(Kind kind, std::string path, std::shared_ptr<const Environment> environment);

  private:
    Kind m_kind;
    std::string m_path;  // the folder whose subfolders this folder lists; may be empty
    std::shared_ptr<const Environment> m_environment;
};

// True when the folder holds a folder (symbolic links to folders count). Hidden
// folders count only when `countHidden`. Stops at the first one found.
bool HasSubfolders(const std::string& path, bool countHidden);

}  // namespace tt::shell
