#include "CaseBlindFileSystem.h"

#include <cerrno>
#include <functional>

#include "engine/NameText.h"
#include "platform/FileError.h"

namespace tt::test {

std::string CaseBlindFileSystem::Resolve(const std::string& path) {
    if (m_inner.Exists(path))
        return path;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    const std::string folder = path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    if (const auto names = m_inner.ListNames(folder.empty() ? "/" : folder)) {
        for (const std::string& stored : *names) {
            if (EqualsNoCase(stored, name))
                return folder + "/" + stored;
        }
    }
    return path;
}

std::optional<FileInfo> CaseBlindFileSystem::Stat(const std::string& path) {
    auto info = m_inner.Stat(Resolve(path));
    if (info)
        info->inode = std::hash<std::string>{}(path);
    return info;
}

void CaseBlindFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
    if (Exists(to))
        throw FileErrorFromErrno(EEXIST, to, false);
    m_inner.MoveNoReplace(Resolve(from), to);
}

void CaseBlindFileSystem::MoveReplace(const std::string& from, const std::string& to) {
    const std::string storedFrom = Resolve(from);
    const std::string storedTo = Resolve(to);
    if (storedTo != to && storedTo != storedFrom && m_inner.Exists(storedTo))
        m_inner.Remove(storedTo);  // another file under another spelling is replaced
    m_inner.MoveReplace(storedFrom, to);
}

}  // namespace tt::test
