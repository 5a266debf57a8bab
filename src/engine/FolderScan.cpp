#include <algorithm>
#include <exception>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "engine/Messages.h"
#include "engine/ReadsInFlight.h"
#include "engine/RenameEngine.h"
#include "engine/SameFile.h"
#include "engine/SongFileRead.h"
#include "text/NameText.h"

namespace tt {

namespace {

// The song kinds, in the order the list holds them.
constexpr const char* kSongKinds[] = {".mid", ".sty", ".pat"};

bool HasExtension(const std::string& name, std::string_view extension) {
    return name.size() >= extension.size() &&
           EqualsNoCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

}  // namespace

void RenameEngine::RefreshFileList() {
    m_songFiles.Clear();
    m_standingNames.clear();
    m_uniqueNames.Invalidate();
    m_rows.ClearRows();
    if (m_view)
        m_view->UpdateButtonStates();
    if (m_strFolder.empty())
        return;

    {
        WaitCursor wait(m_view);
        // One listing serves all three kinds; each kind is taken in turn, so the
        // list holds all MIDI files, then styles, then patterns, before sorting.
        std::vector<const std::string*> candidates;
        const auto names = m_fs.ListNames(m_strFolder);
        if (names) {
            const bool enabled[std::size(kSongKinds)] = {m_bMidFiles, m_bStyFiles, m_bPatFiles};
            std::vector<const std::string*> ofKind[std::size(kSongKinds)];
            for (const std::string& name : *names) {
                for (std::size_t kind = 0; kind < std::size(kSongKinds); ++kind) {
                    if (enabled[kind] && HasExtension(name, kSongKinds[kind])) {
                        if (name.front() != '.')  // not hidden
                            ofKind[kind].push_back(&name);
                        break;
                    }
                }
            }
            for (const auto& kind : ofKind)
                candidates.insert(candidates.end(), kind.begin(), kind.end());
        }

        // Decided once per scan, on the folder itself: where names ignore case, new
        // names that differ in case alone would name one file.
        m_uniqueNames.SetIgnoreCase(names && FolderIgnoresCase(m_fs, m_strFolder, *names));

        if (!ScanCandidates(candidates)) {
            // Stopped: the list stays empty, as for a folder without song files.
            m_songFiles.Clear();
        } else if (m_songFiles.count() == 0) {
            m_questions.ShowWarning(NothingFoundMessage(m_bMidFiles, m_bStyFiles, m_bPatFiles));
        } else {
            SortEntries(m_songFiles);
            MakeNewNamesUnique();
            m_rows.AppendRows(m_songFiles.count());
        }
    }
    if (m_view)
        m_view->UpdateButtonStates();
}

bool RenameEngine::ScanCandidates(const std::vector<const std::string*>& names) {
    const auto total = static_cast<std::int32_t>(names.size());
    m_songFiles.ReserveStorage(total);
    WorkInProgress work(m_progress, EngineWork::scan, total);
    // The reads run ahead on threads of their own where the file layer allows;
    // each result is taken here, in list order, so messages, progress and the stop
    // come as with one read at a time. Reads still under way at a stop are dropped.
    ReadsInFlight reads(m_fs, m_strFolder, names);
    for (std::int32_t done = 0; done < total; ++done) {
        if (m_progress.StopRequested())
            return false;
        SongFileRead read = reads.Next();
        if (read.readError)
            m_questions.ReportReadError(
                ReadErrorText(read.readError, m_questions.PathInText(read.entry.path)));
        if (read.isFile)
            m_songFiles.Append(std::move(read.entry));
        m_progress.WorkProgress(done + 1, total);
    }
    return true;
}

int CompareEntries(const SongFileEntry& a, const SongFileEntry& b) {
    if (a.titleFound != b.titleFound)
        return int(b.titleFound) - int(a.titleFound);
    return CompareNoCase(a.fileName, b.fileName);
}

void SortEntries(SongFileList& list) {
    // Shell's sort puts entries that tie (names differing in letter case alone) in an
    // order of its own; without ties every sort gives the one order there is. So the
    // order is found on indices, which moves no entry until the end, and Shell's sort
    // is left for the rare list with a tie (it leaves a list in order as it is).
    SongFileEntry* items = list.items();
    const auto count = static_cast<std::size_t>(list.count());
    std::vector<std::int32_t> order;
    order.reserve(count);
    for (const std::uint8_t titled : {1, 0}) {
        for (std::size_t i = 0; i < count; ++i)
            if (items[i].titleFound == titled)
                order.push_back(static_cast<std::int32_t>(i));
    }
    // Titled entries come first, then the others, each group by name. A scan takes
    // the names in byte order, kind by kind, which mostly is the order ignoring
    // case already: a group whose names rise throughout is sorted, without a tie.
    const auto byName = [items](std::int32_t a, std::int32_t b) {
        return CompareNoCase(items[a].fileName, items[b].fileName) < 0;
    };
    const auto titledEnd = std::find_if(
        order.begin(), order.end(), [items](std::int32_t i) { return items[i].titleFound == 0; });
    for (const auto& [first, last] :
         {std::pair(order.begin(), titledEnd), std::pair(titledEnd, order.end())}) {
        if (std::adjacent_find(first, last, std::not_fn(byName)) == last)
            continue;
        std::sort(first, last, byName);
        if (std::adjacent_find(first, last, [items](std::int32_t a, std::int32_t b) {
                return CompareNoCase(items[a].fileName, items[b].fileName) == 0;
            }) != last) {
            SortEntriesByGaps(list);
            return;
        }
    }
    // Entry order[i] goes to place i: each cycle of the order is followed once, so
    // every entry moves once (and one per cycle twice).
    for (std::size_t start = 0; start < count; ++start) {
        if (order[start] == static_cast<std::int32_t>(start))
            continue;
        SongFileEntry held = std::move(items[start]);
        std::size_t place = start;
        while (order[place] != static_cast<std::int32_t>(start)) {
            const auto from = static_cast<std::size_t>(order[place]);
            items[place] = std::move(items[from]);
            order[place] = static_cast<std::int32_t>(place);
            place = from;
        }
        items[place] = std::move(held);
        order[place] = static_cast<std::int32_t>(place);
    }
}

void SortEntriesByGaps(SongFileList& list) {
    SongFileEntry* items = list.items();
    const std::int32_t count = list.count();
    for (std::int32_t gap = count / 2; gap > 0; gap /= 2) {
        for (std::int32_t i = gap; i < count; ++i) {
            for (std::int32_t j = i - gap; j >= 0 && CompareEntries(items[j], items[j + gap]) > 0;
                 j -= gap) {
                std::swap(items[j], items[j + gap]);
            }
        }
    }
}

bool RenameEngine::ReadEntryFile(SongFileEntry& entry) {
    std::exception_ptr readError;
    const bool isFile = ReadSongFileInto(m_fs, entry, readError);
    if (readError)
        m_questions.ReportReadError(ReadErrorText(readError, m_questions.PathInText(entry.path)));
    return isFile;
}

void RenameEngine::MakeNewNamesUnique() {
    m_uniqueNames.Run(m_songFiles);
    // An entry numbered away from the name that stands gives its number to the
    // namesake that kept the plain name: the same names, so they stay unique.
    const auto same = [this](const std::string& a, const std::string& b) {
        return m_uniqueNames.ignoresCase() ? EqualsNoCase(a, b) : a == b;
    };
    for (const std::int32_t k : m_standingNames) {
        SongFileEntry& standing = m_songFiles.ElementAt(k);
        if (!standing.titleFound || standing.newName == standing.fileName)
            continue;
        for (std::int32_t j = 0; j < m_songFiles.count(); ++j) {
            SongFileEntry& namesake = m_songFiles.ElementAt(j);
            if (j != k && namesake.titleFound && same(namesake.newName, standing.fileName)) {
                namesake.newName = std::exchange(standing.newName, standing.fileName);
                NoteEntryChanged(j);
                NoteEntryChanged(k);
                break;
            }
        }
    }
}

bool RenameEngine::GetRowTexts(std::int32_t row, std::string texts[2]) const {
    if (!m_songFiles.IsValidIndex(row))
        return true;
    const SongFileEntry& entry = m_songFiles.ElementAt(row);
    texts[0] = entry.fileName;
    texts[1] = NewNameText(entry);
    return true;
}

bool RenameEngine::FileExists(const std::string& path) {
    return m_fs.Exists(path);
}

}  // namespace tt
