#include <algorithm>
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
    m_bOverwriteCancelled = false;
    m_operationFiles.Reset();
    m_listedNames.Reset();
    m_unsettled.clear();
    m_destinationNames.clear();
    m_destIgnoresCase.reset();
    m_bSourcesChanged = false;
}

void RenameEngine::LetNameStand(std::int32_t index, const std::string& name) {
    SongFileEntry& entry = m_songFiles.ElementAt(index);
    if (!entry.titleFound)
        return;  // no title, no proposal
    entry.newName = name;
    if (std::find(m_standingNames.begin(), m_standingNames.end(), index) == m_standingNames.end())
        m_standingNames.push_back(index);
}

void RenameEngine::RenameSelectedFiles(bool bCopy) {
    ResetOperationState();
    const std::vector<std::int32_t> rows = m_rows.SelectedRows();
    if (rows.empty())
        return;

    if (SelectedSourcesChanged(rows)) {
        ReloadChangedSources();
        return;
    }

    const std::optional<std::string> destFolder = ChooseDestination(bCopy);
    if (!destFolder)
        return;  // the picker was cancelled: nothing is copied, the rows stay as they are
    if (!BeginJournal(bCopy, *destFolder))
        return;
    bool failed = true;
    try {
        if (bCopy)
            PrepareDestinationNames(rows, *destFolder);
        ProcessRows(rows, bCopy, *destFolder);
        failed = false;
    } catch (const FileError& error) {
        m_questions.ShowWarning(error.StandardText(m_questions.PathInText(error.path())));
    } catch (const std::bad_alloc&) {
        m_questions.ShowWarning(kOutOfMemoryText);
    }
    EndJournal();
    if (failed) {
        // The songs the error came before stay; their rows are still selected.
        const std::vector<std::int32_t> left = m_rows.SelectedRows();
        for (const std::int32_t row : left) {
            if (IsUnsettled(row))
                m_report.SongLeft(row, LeftReason::failed);
        }
    }
    // A song passed over because its file changed while a dialog or question was
    // open is told as a change found at the start is; the songs done stay done.
    if (m_bSourcesChanged)
        ReloadChangedSources();
    if (m_view)
        m_view->RedrawList();
}

void RenameEngine::ReloadChangedSources() {
    m_questions.ShowWarning(SourceChangedMessage());
    // A listed folder that is gone (renamed, removed) lists nothing: it is no longer
    // the listed folder, and reading it would only say that it holds no songs.
    const auto folder = m_fs.Stat(m_strFolder);
    if (!folder || !folder->isDirectory)
        m_strFolder.clear();
    RefreshFileList();
}

void RenameEngine::ProcessRows(const std::vector<std::int32_t>& rows, bool bCopy,
                               const std::string& destFolder) {
    m_unsettled.assign(static_cast<std::size_t>(m_songFiles.count()), false);
    for (const std::int32_t row : rows) {
        if (m_songFiles.IsValidIndex(row) && m_songFiles.ElementAt(row).titleFound)
            m_unsettled[static_cast<std::size_t>(row)] = true;
    }

    const auto total = static_cast<std::int32_t>(rows.size());
    WorkInProgress work(m_progress, bCopy ? EngineWork::copy : EngineWork::rename, total);
    std::int32_t done = 0;
    // Every row counts once, when it is settled, so the count reaches the total once.
    const auto settle = [&](std::int32_t row) {
        if (IsUnsettled(row))
            m_unsettled[static_cast<std::size_t>(row)] = false;
        m_progress.WorkProgress(++done, total);
    };
    struct Waiting {
        std::int32_t row;
        std::optional<std::string> name;  // as chosen (and edited) at the first try
    };
    std::vector<Waiting> waiting;
    // A stop ends the operation as Cancel in the edit dialog does; the rows not yet
    // settled (waiting ones too) then stay as they are, selected.
    const auto cancelRest = [&] {
        for (const std::int32_t row : rows) {
            if (IsUnsettled(row)) {
                m_unsettled[static_cast<std::size_t>(row)] = false;
                m_report.SongLeft(row, LeftReason::cancelled);
            }
        }
    };

    for (const std::int32_t row : rows) {
        if (m_progress.StopRequested())
            return cancelRest();
        std::optional<std::string> name;
        const EntryStep step = ProcessEntry(row, bCopy, destFolder, name);
        if (step == EntryStep::stop)
            return cancelRest();
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
            if (m_progress.StopRequested())
                return cancelRest();
            const EntryStep step = ProcessEntry(entry.row, bCopy, destFolder, entry.name);
            if (step == EntryStep::stop)
                return cancelRest();
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
    for (const Waiting& entry : waiting) {
        m_report.SongLeft(entry.row, LeftReason::held);
        settle(entry.row);
    }
}

bool RenameEngine::EntryMatchesDisk(const SongFileEntry& entry) {
    const auto info = m_fs.Stat(entry.path);
    return info && !info->isDirectory && static_cast<std::uint32_t>(info->size) == entry.size &&
           info->lastWriteTime == entry.lastWriteTime;
}

bool RenameEngine::PassedOverAsReplaced(std::int32_t index) {
    const SongFileEntry& entry = m_songFiles.ElementAt(index);
    // Size and time cannot always tell (a rename keeps the time, FAT keeps it in
    // 2-second steps), so a path this operation put a file on counts too.
    const bool placed = m_operationFiles.IsPlaced(m_fs, entry.path);
    if (!placed && EntryMatchesDisk(entry))
        return false;
    m_bSourcesChanged = m_bSourcesChanged || !placed;
    m_report.SongLeft(index, LeftReason::changed);
    return true;
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
    std::string start = m_bFirstDestPick ? StoredDestination() : m_strDestFolder;
    if (start.empty())
        start = m_strFolder;
    std::string chosen;
    if (!m_questions.PickDestinationFolder(start, chosen))
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
    // A file replaced earlier in this operation, or changed while the destination
    // picker or an earlier question was open, no longer is the file this entry
    // stands for; acting on it would carry another song to this entry's new name.
    if (PassedOverAsReplaced(index))
        return EntryStep::next;
    // Copies, not references: appending a copy's entry may move the list.
    const std::string source = entry.path;

    if (!name) {
        std::string chosen = bCopy ? NameOnDestination(index, destFolder) : entry.newName;
        if (m_bEditNames) {
            std::string base = WithoutLastChars(chosen, 4);
            std::string ext = LastChars(chosen, 4);
            if (!m_questions.EditName(entry.fileName, base, ext))
                return EntryStep::stop;
            chosen = base + ext;
        }
        name = std::move(chosen);
    }
    const std::string newName = *name;

    const std::string target = JoinPath(destFolder, newName);
    if (target == source) {
        m_rows.DeselectRow(index);
        return EntryStep::next;
    }
    CheckNewName(newName, target);

    // A song and its companions are never split: whether a companion's new name is
    // held by a song still to be handled is decided before the song moves, and then
    // the whole entry waits.
    if (!bCopy && CompanionsMustWait(source, target, index))
        return EntryStep::wait;

    LeftReason why = LeftReason::declined;
    const TargetAction action = ResolveTarget(source, target, why, !bCopy, index);
    if (action == TargetAction::cancel)
        return EntryStep::stop;
    if (action == TargetAction::wait)
        return EntryStep::wait;
    if (action == TargetAction::skip) {
        m_report.SongLeft(index, why);
        return EntryStep::next;
    }
    // The edit dialog and the overwrite question wait for the user, who may change
    // the folder meanwhile: the file is checked once more right before it is acted on.
    if (PassedOverAsReplaced(index))
        return EntryStep::next;
    // A name confirmed in the edit dialog is the user's choice; the entry keeps
    // proposing it, so a later rename of all rows does not undo it.
    const bool nameStands = m_bEditNames;

    if (!bCopy) {
        RenameEntry(index, newName, target, action, nameStands);
        return EntryStep::next;
    }

    // A copy onto the source itself (a spelling that differs only in case, on a
    // file system that ignores case) has nothing to make: the file is already there.
    if (action == TargetAction::sameFile) {
        m_rows.DeselectRow(index);
        return EntryStep::next;
    }
    if (!CopyWholeFile(source, target, action == TargetAction::replace)) {
        m_report.SongLeft(index, LeftReason::failed);
        return EntryStep::next;
    }
    // The list shows the copy before its companions go along, so an error among
    // them leaves the rows telling what is on the disk.
    // The copy's own entry, once listed, is the song whose companions go along.
    std::int32_t song = index;
    if (destFolder == m_strFolder)
        song = UpdateListedCopy(target, newName, nameStands).value_or(index);
    m_rows.DeselectRow(index);
    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(source, target, true, song);
    return EntryStep::next;
}

void RenameEngine::PrepareDestinationNames(const std::vector<std::int32_t>& rows,
                                           const std::string& destFolder) {
    // Where the listed folder ignores case its names are kept apart that way already,
    // and copies into the listed folder live on its file system.
    if (m_uniqueNames.ignoresCase() || IsListedFolder(FolderKey(JoinPath(destFolder, "-"))))
        return;
    // The copies' names kept apart ignoring case, in list order, as the listed
    // folder's names are where it ignores case (Tune.mid, TUNE_1.mid).
    SongFileList copies;
    std::vector<std::int32_t> indexOf;
    for (const std::int32_t row : rows) {
        if (!m_songFiles.IsValidIndex(row) || !m_songFiles.ElementAt(row).titleFound)
            continue;
        SongFileEntry copy;
        copy.newName = m_songFiles.ElementAt(row).newName;
        copy.titleFound = 1;
        copies.Append(std::move(copy));
        indexOf.push_back(row);
    }
    UniqueNames names;
    names.SetIgnoreCase(true);
    names.Run(copies);
    for (std::int32_t i = 0; i < copies.count(); ++i) {
        const std::int32_t row = indexOf[static_cast<std::size_t>(i)];
        const std::string& kept = copies.ElementAt(i).newName;
        if (kept == m_songFiles.ElementAt(row).newName)
            continue;
        if (m_destinationNames.empty())
            m_destinationNames.resize(static_cast<std::size_t>(m_songFiles.count()));
        m_destinationNames[static_cast<std::size_t>(row)] = kept;
    }
}

std::string RenameEngine::NameOnDestination(std::int32_t index, const std::string& destFolder) {
    const std::string& proposed = m_songFiles.ElementAt(index).newName;
    const auto at = static_cast<std::size_t>(index);
    if (at >= m_destinationNames.size() || m_destinationNames[at].empty())
        return proposed;
    // Whether the folder ignores case shows only on a name there that has a letter;
    // the copies before this one put their names there. A folder without such a name
    // holds nothing this name could be confused with.
    if (!m_destIgnoresCase) {
        auto names = m_fs.ListNames(destFolder);
        if (!names)
            return proposed;
        const auto hasLetter = [](const std::string& name) {
            return std::any_of(name.begin(), name.end(), [](char c) {
                return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            });
        };
        if (std::none_of(names->begin(), names->end(), hasLetter))
            return proposed;
        std::sort(names->begin(), names->end());
        m_destIgnoresCase = FolderIgnoresCase(m_fs, destFolder, *names);
    }
    return *m_destIgnoresCase ? m_destinationNames[at] : proposed;
}

void RenameEngine::RenameEntry(std::int32_t index, const std::string& name,
                               const std::string& target, TargetAction action, bool nameStands) {
    const std::string oldPath = m_songFiles.ElementAt(index).path;
    MoveFile(oldPath, target, action != TargetAction::create);

    // The entry and its row follow the move before the companions go along, so an
    // error among them leaves the list agreeing with the disk.
    SongFileEntry& entry = m_songFiles.ElementAt(index);
    entry.path = target;
    entry.fileName = name;
    m_listedNames.Renamed(index, NameOf(oldPath), NameOf(target));
    NoteEntryChanged(index);  // first, so an error inside the read cannot hide the change
    ReadEntryFile(entry);
    if (nameStands)
        LetNameStand(index, name);
    m_rows.DeselectRow(index);
    MakeNewNamesUnique();

    if (m_bCorrespondingFiles)
        RenameCorrespondingFiles(oldPath, target, false, index);
}

std::optional<std::int32_t> RenameEngine::UpdateListedCopy(const std::string& target,
                                                           const std::string& name,
                                                           bool nameStands) {
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
        ReadEntryFile(entry);
        if (nameStands)
            LetNameStand(*listed, name);
    } else {
        SongFileEntry entry;
        entry.path = target;
        entry.fileName = name;
        if (ReadEntryFile(entry)) {
            m_songFiles.Append(std::move(entry));
            listed = m_songFiles.count() - 1;
            m_listedNames.Appended(*listed, NameOf(target));
            m_rows.AppendRows(1);
            if (nameStands)
                LetNameStand(*listed, name);
        }
    }
    MakeNewNamesUnique();
    return listed;
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
