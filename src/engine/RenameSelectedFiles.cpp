#include <new>

#include "engine/Messages.h"
#include "engine/RenameEngine.h"
#include "platform/FileError.h"
#include "text/NameText.h"

namespace tt {

namespace {

// A new name must name a file in the destination folder: a separator would put the
// file somewhere else, and control bytes or "." and ".." are no file names. The
// refusal carries the path as the step that would have met it does (a rename names
// no file, a copy names the file it creates).
void CheckNewName(const std::string& name, bool bCopy, const std::string& target) {
    if (name.find('/') != std::string::npos || !IsValidFileName(name))
        throw FileError(FileErrorCause::badPath, bCopy ? target : std::string());
}

}  // namespace

void RenameEngine::ResetOperationState() {
    m_doneBases.clear();
    m_bOverwriteAll = false;
    m_bAskOverwrite = true;
    m_operationFiles.Reset();
    m_entryByPath.clear();
    m_entryByPathBuilt = false;
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

    const std::string destFolder = ChooseDestination(bCopy);
    try {
        const auto total = static_cast<std::int32_t>(rows.size());
        WorkInProgress work(m_ui, bCopy ? EngineWork::copy : EngineWork::rename, total);
        for (std::int32_t done = 0; done < total; ++done) {
            // A stop ends the operation as Cancel in the edit dialog does.
            if (m_ui.StopRequested())
                break;
            if (ProcessEntry(rows[static_cast<std::size_t>(done)], bCopy, destFolder) ==
                EntryStep::stop)
                break;
            m_ui.WorkProgress(done + 1, total);
        }
    } catch (const FileError& error) {
        m_ui.ShowWarning(error.StandardText());
    } catch (const std::bad_alloc&) {
        m_ui.ShowWarning(kOutOfMemoryText);
    }
    m_ui.RedrawList();
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

std::string RenameEngine::ChooseDestination(bool bCopy) {
    if (!bCopy)
        return m_strFolder;
    std::string start =
        m_bFirstDestPick ? m_ui.ReadSettingString("DestinationFolder", "") : m_strDestFolder;
    if (start.empty())
        start = m_strFolder;
    std::string chosen;
    if (!m_ui.PickDestinationFolder(start, chosen))
        return m_strFolder;  // copies go to the listed folder
    m_strDestFolder = chosen;
    m_bFirstDestPick = false;
    return chosen;
}

RenameEngine::EntryStep RenameEngine::ProcessEntry(std::int32_t index, bool bCopy,
                                                   const std::string& destFolder) {
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
    std::string name = entry.newName;

    if (m_bEditNames) {
        std::string base = WithoutLastChars(name, 4);
        std::string ext = LastChars(name, 4);
        if (!m_ui.EditName(base, ext))
            return EntryStep::stop;
        name = base + ext;
    }

    const std::string target = JoinPath(destFolder, name);
    if (target == source) {
        m_ui.DeselectRow(index);
        return EntryStep::next;
    }
    CheckNewName(name, bCopy, target);

    const TargetAction action = ResolveTarget(source, target);
    if (action == TargetAction::cancel)
        return EntryStep::stop;
    if (action == TargetAction::skip)
        return EntryStep::next;

    if (!bCopy) {
        RenameEntry(index, name, target, action);
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
    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(source, target, true);
    if (destFolder == m_strFolder)
        UpdateListedCopy(target, name);
    m_ui.DeselectRow(index);
    return EntryStep::next;
}

void RenameEngine::RenameEntry(std::int32_t index, const std::string& name,
                               const std::string& target, TargetAction action) {
    const std::string oldPath = m_songFiles.ElementAt(index).path;
    MoveFile(oldPath, target, action != TargetAction::create);
    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(oldPath, target, false);

    SongFileEntry& entry = m_songFiles.ElementAt(index);
    entry.path = target;
    entry.fileName = name;
    NoteEntryChanged(index);  // first, so an error inside the read cannot hide the change
    ReadEntryTitleAndInfo(entry);
    m_ui.DeselectRow(index);
    MakeNewNamesUnique();
}

void RenameEngine::UpdateListedCopy(const std::string& target, const std::string& name) {
    if (!m_entryByPathBuilt) {
        // Copies never change an entry's path, so the index stays true for the
        // whole operation once built; appended entries are added below.
        for (std::int32_t i = 0; i < m_songFiles.count(); ++i)
            m_entryByPath.emplace(m_songFiles.ElementAt(i).path, i);
        m_entryByPathBuilt = true;
    }

    const auto found = m_entryByPath.find(target);
    if (found != m_entryByPath.end()) {
        SongFileEntry& entry = m_songFiles.ElementAt(found->second);
        entry.fileName = name;
        NoteEntryChanged(found->second);
        ReadEntryTitle(entry);
        TakeFileInfoOf(entry, target);
    } else {
        SongFileEntry entry;
        entry.path = target;
        entry.fileName = name;
        ReadEntryTitle(entry);
        if (TakeFileInfoOf(entry, target)) {
            m_songFiles.Append(std::move(entry));
            m_entryByPath.emplace(target, m_songFiles.count() - 1);
            m_ui.AppendRows(1);
        }
    }
    MakeNewNamesUnique();
}

}  // namespace tt
