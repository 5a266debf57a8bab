#include "engine/JournalMessages.h"
#include "engine/RenameEngine.h"
#include "engine/SameFile.h"
#include "platform/FileError.h"

namespace tt {

bool RenameEngine::BeginJournal(bool bCopy, const std::string& destFolder) {
    if (!m_journal)
        return true;
    try {
        m_journal->Begin(bCopy, m_strFolder, destFolder);
        return true;
    } catch (const FileError& error) {
        m_journal->Close();
        m_questions.ShowWarning(JournalFailedMessage(error.StandardText()));
        return false;
    }
}

void RenameEngine::EndJournal() {
    if (!m_journal || !m_journal->active())
        return;
    try {
        m_journal->End();
    } catch (const FileError&) {
        // The operation is over either way; a journal left open is finished by the
        // next scan of the folder, which then tells what it did.
        m_journal->Close();
    }
}

bool RenameEngine::SetAsideReplaced(const std::string& source, const std::string& target) {
    if (!m_trash)
        return false;
    const auto there = m_fs.Stat(target);
    const auto from = m_fs.Stat(source);
    // Another spelling, a hard link or a link to the source is the source itself:
    // nothing of it may go to the trash.
    if (!there || !there->isRegular || IsSameFile(m_fs, source, target) ||
        (from && from->device == there->device && from->inode == there->inode) ||
        m_fs.FollowLinks(source) == m_fs.FollowLinks(target))
        return false;
    const int step = JournalStarting(JournalStep::Kind::trash, target, "", false);
    const std::optional<std::string> trashed = m_trash->MoveToTrash(target);
    if (m_journal && m_journal->active()) {
        if (trashed)
            m_journal->TrashDone(step, *trashed);
        else
            m_journal->TrashGone(step);
    }
    return trashed.has_value();
}

int RenameEngine::JournalStarting(JournalStep::Kind kind, const std::string& from,
                                  const std::string& to, bool replace) {
    if (!m_journal || !m_journal->active())
        return 0;
    return m_journal->StepStarting(kind, from, to, replace);
}

void RenameEngine::JournalDone(int number, const std::string& at) {
    if (number != 0 && m_journal && m_journal->active())
        m_journal->StepDone(number, at);
}

}  // namespace tt
