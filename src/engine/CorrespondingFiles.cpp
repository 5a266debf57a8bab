#include <optional>
#include <string_view>
#include <vector>

#include "engine/OperationFiles.h"
#include "engine/RenameEngine.h"
#include "engine/SameFile.h"
#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

namespace {

// Offset of the last dot in the file-name part of `path` (a dot in a folder name is
// no extension), or npos.
std::size_t LastDotOfName(const std::string& path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}

// The part of a companion's new name that follows the new base: the found name's part
// after the old base, with its final extension lower-cased when that has three or
// more characters after the dot. Empty optional for a song file of any kind, which
// never goes along as a companion.
std::optional<std::string> CompanionSuffix(const std::string& rest) {
    const auto dot = rest.rfind('.');
    if (dot == std::string::npos)
        return rest;
    const std::string_view extension = std::string_view(rest).substr(dot);
    if (OffsetOfLastChars(extension, 3) == 0)
        return rest;  // fewer than three characters after the dot: kept as it is
    const std::string lowered = FoldAsciiCase(std::string(extension));
    if (lowered == ".mid" || lowered == ".sty" || lowered == ".pat")
        return std::nullopt;
    return rest.substr(0, dot) + lowered;
}

bool IsSongName(const std::string& name) {
    if (name.size() < 4)
        return false;
    const std::string extension = FoldAsciiCase(name.substr(name.size() - 4));
    return extension == ".mid" || extension == ".sty" || extension == ".pat";
}

// True when `name` begins with `base` ignoring ASCII case, followed by a dot or nothing.
bool ContinuesBase(const std::string& name, const std::string& base) {
    return name.size() >= base.size() &&
           EqualsNoCase(std::string_view(name).substr(0, base.size()), base) &&
           (name.size() == base.size() || name[base.size()] == '.');
}

// True when a found name belongs to another song file of the folder rather than to
// the song with base `base`: one with a longer base that the name equals or continues
// with a dot, or one whose base is the name's start in exact letter case where `base`
// matches it only ignoring case. `rivalBases` are the bases of the other song files.
bool ClaimedByAnotherSong(const std::string& found, const std::string& base,
                          const std::vector<std::string>& rivalBases) {
    const bool exactCase = found.compare(0, base.size(), base) == 0;
    for (const std::string& rival : rivalBases) {
        if (rival.size() > base.size() && ContinuesBase(found, rival))
            return true;
        if (!exactCase && rival.size() == base.size() && found.compare(0, rival.size(), rival) == 0)
            return true;
    }
    return false;
}

}  // namespace

std::vector<RenameEngine::CompanionMove> RenameEngine::FindCompanions(const std::string& oldPath,
                                                                      const std::string& newPath) {
    std::vector<CompanionMove> moves;
    const auto oldDot = LastDotOfName(oldPath);
    const auto newDot = LastDotOfName(newPath);
    if (oldDot == std::string::npos || newDot == std::string::npos)
        return moves;
    const std::string oldBase = oldPath.substr(0, oldDot);
    const std::string newBase = newPath.substr(0, newDot);

    const std::string baseName = NameOf(oldBase);
    const std::string folderPrefix = oldBase.substr(0, oldBase.size() - baseName.size());
    const auto candidates =
        m_operationFiles.CompanionCandidates(m_fs, FolderKey(oldBase), baseName);
    // Every song file that could claim a candidate is a candidate itself: its base
    // starts with this song's base followed by a dot, or equals it ignoring case.
    std::vector<std::string> rivalBases;
    const std::string oldName = NameOf(oldPath);
    const std::string newName = FolderKey(newPath) == FolderKey(oldPath) ? NameOf(newPath) : "";
    for (const std::string& found : candidates) {
        if (IsSongName(found) && found != oldName && found != newName) {
            const auto info = m_fs.Stat(folderPrefix + found);
            if (info && !info->isDirectory)
                rivalBases.push_back(found.substr(0, found.size() - 4));
        }
    }

    for (const std::string& found : candidates) {
        if (found.empty() || found.front() == '.')
            continue;  // hidden
        if (ClaimedByAnotherSong(found, baseName, rivalBases))
            continue;
        const std::string oldCompanion = folderPrefix + found;
        // A new name with an extension of no song kind can put the song (or its
        // copy) under a name that this search finds; it is the song, not a companion.
        if (oldCompanion == newPath ||
            (EqualsNoCase(oldCompanion, newPath) && IsSameFile(m_fs, newPath, oldCompanion)))
            continue;
        const auto info = m_fs.Stat(oldCompanion);
        if (!info || info->isDirectory)
            continue;
        const auto suffix = CompanionSuffix(found.substr(baseName.size()));
        if (!suffix)
            continue;
        std::string newCompanion = newBase + *suffix;
        if (newCompanion == oldCompanion)
            continue;
        moves.push_back({oldCompanion, std::move(newCompanion), info->isRegular});
    }
    return moves;
}

bool RenameEngine::CompanionsMustWait(const std::string& oldPath, const std::string& newPath,
                                      std::int32_t self) {
    if (!m_bCorrespondingFiles)
        return false;
    const auto oldDot = LastDotOfName(oldPath);
    if (oldDot == std::string::npos || m_doneBases.count(oldPath.substr(0, oldDot)) != 0)
        return false;  // no companions go along with this song
    for (const CompanionMove& move : FindCompanions(oldPath, newPath)) {
        if (!move.plainFile || !FileExists(move.to) || IsSameFile(m_fs, move.from, move.to))
            continue;
        const auto holder = ListedCompanionOwner(move.to, self);
        if (holder && IsUnsettled(*holder))
            return true;
    }
    return false;
}

std::optional<std::int32_t> RenameEngine::ListedCompanionOwner(const std::string& target,
                                                               std::int32_t self) {
    const std::string name = NameOf(target);
    if (name.empty() || name.front() == '.' || IsSongName(name))
        return std::nullopt;  // hidden names and song files are nobody's companions
    const std::string folder = FolderKey(target);
    if (!IsListedFolder(folder))
        return std::nullopt;
    const std::string folderPrefix = target.substr(0, target.size() - name.size());

    // The song files whose base the name equals or continues with a dot: the
    // longest base claims it, and of equal ones those matching in exact letter case.
    std::vector<std::string> owners;
    std::size_t ownerBase = 0;
    bool ownerExact = false;
    for (std::size_t cut = 1; cut <= name.size(); ++cut) {
        if (cut < name.size() && name[cut] != '.')
            continue;
        const std::string base = name.substr(0, cut);
        for (const std::string& found : m_operationFiles.CompanionCandidates(m_fs, folder, base)) {
            if (found.size() != cut + 4 || !IsSongName(found))
                continue;
            const auto info = m_fs.Stat(folderPrefix + found);
            if (!info || info->isDirectory)
                continue;
            const bool exact = found.compare(0, cut, base) == 0;
            if (cut > ownerBase || (exact && !ownerExact)) {
                owners.clear();
                ownerBase = cut;
                ownerExact = exact;
            } else if (exact != ownerExact) {
                continue;
            }
            owners.push_back(found);
        }
    }

    m_listedNames.Build(m_songFiles);
    std::optional<std::int32_t> owner;
    for (const std::string& found : owners) {
        for (const std::int32_t i : m_listedNames.Find(found)) {
            if (i == self || NameOf(m_songFiles.ElementAt(i).path) != found)
                continue;
            if (IsUnsettled(i))
                return i;
            owner = i;
        }
    }
    return owner;
}

void RenameEngine::RenameCorrespondingFiles(const std::string& oldPath, const std::string& newPath,
                                            bool bCopy, std::int32_t self) {
    const auto oldDot = LastDotOfName(oldPath);
    if (oldDot == std::string::npos || LastDotOfName(newPath) == std::string::npos)
        return;
    if (!m_doneBases.insert(oldPath.substr(0, oldDot)).second)
        return;  // handled with an earlier song of this operation

    bool cancelled = false;
    for (const CompanionMove& move : FindCompanions(oldPath, newPath)) {
        // A device, pipe or socket is no companion to move or copy: copying one would
        // read nothing, or block, or fail.
        if (!move.plainFile) {
            m_report.CompanionLeft(move.from, LeftReason::notPlainFile);
            continue;
        }
        // After a Cancel the rest stay too, and are named as such.
        LeftReason why = LeftReason::cancelled;
        const TargetAction action =
            cancelled ? TargetAction::cancel : ResolveTarget(move.from, move.to, why, false, self);
        if (action == TargetAction::cancel || action == TargetAction::skip) {
            cancelled = cancelled || action == TargetAction::cancel;
            m_report.CompanionLeft(move.from, why);
            continue;
        }
        if (bCopy) {
            if (action != TargetAction::sameFile)
                CopyWholeFile(move.from, move.to, action == TargetAction::replace);
        } else {
            MoveFile(move.from, move.to, action != TargetAction::create);
        }
    }
}

}  // namespace tt
