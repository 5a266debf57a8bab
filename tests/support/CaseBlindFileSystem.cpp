#include "CaseBlindFileSystem.h"

#include <cerrno>
#include <functional>

#include "platform/FileError.h"
#include "text/NameText.h"

namespace tt::test {

std::string CaseBlindFileSystem::Resolve(const std::string& path) {
    if (PassThroughFileSystem::Exists(path))
        return path;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    const std::string folder = path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    if (const auto names = PassThroughFileSystem::ListNames(folder.empty() ? "/" : folder)) {
        for (const std::string& stored : *names) {
            if (EqualsNoCase(stored, name))
                return folder + "/" + stored;
        }
    }
    return path;
}

std::optional<FileInfo> CaseBlindFileSystem::Stat(const std::string& path) {
    auto info = PassThroughFileSystem::Stat(Resolve(path));
    if (info)
        info->inode = std::hash<std::string>{}(path);
    return info;
}

void CaseBlindFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
    if (Exists(to))
        throw FileErrorFromErrno(EEXIST, to, false);
    PassThroughFileSystem::MoveNoReplace(Resolve(from), to);
}

void CaseBlindFileSystem::MoveReplace(const std::string& from, const std::string& to) {
    const std::string storedFrom = Resolve(from);
    const std::string storedTo = Resolve(to);
    if (storedTo != to && storedTo != storedFrom && PassThroughFileSystem::Exists(storedTo))
        PassThroughFileSystem::Remove(storedTo);  // another file under another spelling is replaced
    PassThroughFileSystem::MoveReplace(storedFrom, to);
}

}  // namespace tt::test
