#include <new>

#include "engine/Messages.h"
#include "engine/RenameEngine.h"
#include "engine/SameFile.h"
#include "platform/FileError.h"
#include "platform/PathText.h"
#include "text/NameText.h"

namespace tt {

namespace {

// A new name must name a file in the destination folder: a separator would put the
// file somewhere else, and control bytes or "." and ".." are no file names. The
// refusal names the target, as a failing move or copy onto it would.
void CheckNewName(const std::string& name, const std::string& target) {
    if (name.find('/') != std::string::npos || !IsValidFileName(name))
        throw FileError(FileErrorCause::badPath, target);
}

}  // namespace

void RenameEngine::ResetOperationState() {
    m_doneBases.clear();
    m_bOverwriteAll = false;
    m_bAskOverwrite = true;
    m_operationFiles.Reset();
    m_listedNames.Reset();
    m_unsettled.clear();
}

void RenameEngine::RenameSelectedFiles(bool bCopy) {
    ResetOperationState();
    const std::vector<std::int32_t> rows = m_ui.SelectedRows();
    if (rows.empty())
        return;

    if (SelectedSourcesChanged(rows)) {
        m_ui.ShowWarning(SourceChangedMessage());
        RefreshFileList();
        return;
    }

    const std::optional<std::string> destFolder = ChooseDestination(bCopy);
    if (!destFolder)
        return;  // the picker was cancelled: nothing is copied, the rows stay as they are
    if (!BeginJournal(bCopy, *destFolder))
        return;
    try {
        ProcessRows(rows, bCopy, *destFolder);
    } catch (const FileError& error) {
        m_ui.ShowWarning(error.StandardText(m_ui.PathInText(error.path())));
    } catch (const std::bad_alloc&) {
        m_ui.ShowWarning(kOutOfMemoryText);
    }
    EndJournal();
    m_ui.RedrawList();
}

void RenameEngine::ProcessRows(const std::vector<std::int32_t>& rows, bool bCopy,
                               const std::string& destFolder) {
    m_unsettled.assign(static_cast<std::size_t>(m_songFiles.count()), false);
    for (const std::int32_t row : rows) {
        if (m_songFiles.IsValidIndex(row) && m_songFiles.ElementAt(row).titleFound)
            m_unsettled[static_cast<std::size_t>(row)] = true;
    }

    const auto total = static_cast<std::int32_t>(rows.size());
    WorkInProgress work(m_ui, bCopy ? EngineWork::copy : EngineWork::rename, total);
    std::int32_t done = 0;
    // Every row counts once, when it is settled, so the count reaches the total once.
    const auto settle = [&](std::int32_t row) {
        if (IsUnsettled(row))
            m_unsettled[static_cast<std::size_t>(row)] = false;
        m_ui.WorkProgress(++done, total);
    };
    struct Waiting {
        std::int32_t row;
        std::optional<std::string> name;  // as chosen (and edited) at the first try
    };
    std::vector<Waiting> waiting;

    // A stop ends the operation as Cancel in the edit dialog does; rows that wait
    // then stay as they are, selected.
    for (const std::int32_t row : rows) {
        if (m_ui.StopRequested())
            return;
        std::optional<std::string> name;
        const EntryStep step = ProcessEntry(row, bCopy, destFolder, name);
        if (step == EntryStep::stop)
            return;
        if (step == EntryStep::wait)
            waiting.push_back({row, std::move(name)});
        else
            settle(row);
    }

    // A song that moved may have freed the name another one waits for: the waiting
    // rows are taken again in list order, as long as a round settles any of them.
    bool settledAny = true;
    while (!waiting.empty() && settledAny) {
        settledAny = false;
        std::vector<Waiting> still;
        for (Waiting& entry : waiting) {
            if (m_ui.StopRequested())
                return;
            const EntryStep step = ProcessEntry(entry.row, bCopy, destFolder, entry.name);
            if (step == EntryStep::stop)
                return;
            if (step == EntryStep::wait) {
                still.push_back(std::move(entry));
            } else {
                settle(entry.row);
                settledAny = true;
            }
        }
        waiting = std::move(still);
    }
    // Names that stay held (a swap, a ring of songs): left as they are, like No.
    for (const Waiting& entry : waiting)
        settle(entry.row);
}

bool RenameEngine::EntryMatchesDisk(const SongFileEntry& entry) {
    const auto info = m_fs.Stat(entry.path);
    return info && !info->isDirectory && static_cast<std::uint32_t>(info->size) == entry.size &&
           info->lastWriteTime == entry.lastWriteTime;
}

bool RenameEngine::SelectedSourcesChanged(const std::vector<std::int32_t>& rows) {
    for (const std::int32_t index : rows) {
        if (!m_songFiles.IsValidIndex(index))
            continue;
        const SongFileEntry& entry = m_songFiles.ElementAt(index);
        if (entry.titleFound && !EntryMatchesDisk(entry))
            return true;
    }
    return false;
}

std::optional<std::string> RenameEngine::ChooseDestination(bool bCopy) {
    if (!bCopy)
        return m_strFolder;
    std::string start =
        m_bFirstDestPick ? m_ui.ReadSettingString("DestinationFolder", "") : m_strDestFolder;
    if (start.empty())
        start = m_strFolder;
    std::string chosen;
    if (!m_ui.PickDestinationFolder(start, chosen))
        return std::nullopt;  // whoever wants copies in the listed folder picks it
    m_strDestFolder = chosen;
    m_bFirstDestPick = false;
    return chosen;
}

RenameEngine::EntryStep RenameEngine::ProcessEntry(std::int32_t index, bool bCopy,
                                                   const std::string& destFolder,
                                                   std::optional<std::string>& name) {
    if (m_journal)
        m_journal->NextGroup();  // a song and its companions
    if (!m_songFiles.IsValidIndex(index))
        return EntryStep::next;
    const SongFileEntry& entry = m_songFiles.ElementAt(index);
    if (!entry.titleFound)
        return EntryStep::next;
    // A file replaced earlier in this operation no longer is the file this entry
    // stands for; acting on it would carry another song to this entry's new name.
    // Size and time cannot always tell (a rename keeps the time, FAT keeps it in
    // 2-second steps), so a path this operation put a file on is passed over too.
    if (!EntryMatchesDisk(entry) || m_operationFiles.IsPlaced(m_fs, entry.path))
        return EntryStep::next;
    // Copies, not references: appending a copy's entry may move the list.
    const std::string source = entry.path;

    if (!name) {
        std::string chosen = entry.newName;
        if (m_bEditNames) {
            std::string base = WithoutLastChars(chosen, 4);
            std::string ext = LastChars(chosen, 4);
            if (!m_ui.EditName(entry.fileName, base, ext))
                return EntryStep::stop;
            chosen = base + ext;
        }
        name = std::move(chosen);
    }
    const std::string newName = *name;

    const std::string target = JoinPath(destFolder, newName);
    if (target == source) {
        m_ui.DeselectRow(index);
        return EntryStep::next;
    }
    CheckNewName(newName, target);

    const TargetAction action = ResolveTarget(source, target, !bCopy);
    if (action == TargetAction::cancel)
        return EntryStep::stop;
    if (action == TargetAction::wait)
        return EntryStep::wait;
    if (action == TargetAction::skip)
        return EntryStep::next;

    if (!bCopy) {
        RenameEntry(index, newName, target, action);
        return EntryStep::next;
    }

    // A copy onto the source itself (a spelling that differs only in case, on a
    // file system that ignores case) has nothing to make: the file is already there.
    if (action == TargetAction::sameFile) {
        m_ui.DeselectRow(index);
        return EntryStep::next;
    }
    if (!CopyWholeFile(source, target, action == TargetAction::replace))
        return EntryStep::next;
    // The list shows the copy before its companions go along, so an error among
    // them leaves the rows telling what is on the disk.
    if (destFolder == m_strFolder)
        UpdateListedCopy(target, newName);
    m_ui.DeselectRow(index);
    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(source, target, true);
    return EntryStep::next;
}

void RenameEngine::RenameEntry(std::int32_t index, const std::string& name,
                               const std::string& target, TargetAction action) {
    const std::string oldPath = m_songFiles.ElementAt(index).path;
    MoveFile(oldPath, target, action != TargetAction::create);

    // The entry and its row follow the move before the companions go along, so an
    // error among them leaves the list agreeing with the disk.
    SongFileEntry& entry = m_songFiles.ElementAt(index);
    entry.path = target;
    entry.fileName = name;
    m_listedNames.Renamed(index, NameOf(oldPath), NameOf(target));
    NoteEntryChanged(index);  // first, so an error inside the read cannot hide the change
    ReadEntryTitleAndInfo(entry);
    m_ui.DeselectRow(index);
    MakeNewNamesUnique();

    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(oldPath, target, false);
}

void RenameEngine::UpdateListedCopy(const std::string& target, const std::string& name) {
    m_listedNames.Build(m_songFiles);
    std::optional<std::int32_t> listed;
    for (const std::int32_t i : m_listedNames.Find(NameOf(target))) {
        if (m_songFiles.ElementAt(i).path == target) {
            listed = i;
            break;
        }
    }

    if (listed) {
        SongFileEntry& entry = m_songFiles.ElementAt(*listed);
        entry.fileName = name;
        NoteEntryChanged(*listed);
        ReadEntryTitle(entry);
        TakeFileInfoOf(entry, target);
    } else {
        SongFileEntry entry;
        entry.path = target;
        entry.fileName = name;
        ReadEntryTitle(entry);
        if (TakeFileInfoOf(entry, target)) {
            m_songFiles.Append(std::move(entry));
            m_listedNames.Appended(m_songFiles.count() - 1, NameOf(target));
            m_ui.AppendRows(1);
        }
    }
    MakeNewNamesUnique();
}

std::optional<std::int32_t> RenameEngine::ListedSongAt(const std::string& target) {
    if (!IsListedFolder(FolderKey(target)))
        return std::nullopt;
    m_listedNames.Build(m_songFiles);
    const std::string name = NameOf(target);
    for (const std::int32_t i : m_listedNames.Find(name)) {
        const std::string& path = m_songFiles.ElementAt(i).path;
        // The target's name in the entry's own folder text: the entry's very name is
        // its file; another spelling is, where the folder ignores case.
        const std::string spelled = path.substr(0, path.size() - NameOf(path).size()) + name;
        if (IsSameFile(m_fs, path, spelled))
            return i;
    }
    return std::nullopt;
}

bool RenameEngine::IsListedFolder(const std::string& folder) {
    // The listed folder in the form FolderKey gives a path's folder.
    const std::string listed = FolderKey(JoinPath(m_strFolder, "-"));
    if (folder == listed)
        return true;
    const auto lookUp = [this](const std::string& path) {
        return m_fs.Stat(path.empty() ? std::string(".") : path);
    };
    const auto folderInfo = lookUp(folder);
    const auto listedInfo = lookUp(listed);
    if (!folderInfo || !listedInfo)
        return false;
    return (folderInfo->device == listedInfo->device && folderInfo->inode == listedInfo->inode) ||
           IsSameFile(m_fs, listed, folder);
}

}  // namespace tt
