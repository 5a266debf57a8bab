#include <vector>

#include "engine/Messages.h"
#include "engine/RenameEngine.h"
#include "engine/SameFile.h"
#include "platform/FileError.h"

namespace tt {

namespace {

// Copies hold the whole file in memory; larger files are refused.
constexpr std::uint64_t kMaxCopyLength = 1000000;

// Owns a copy's temporary file until it has taken the target's name: unless
// committed, the file is closed and removed when the guard goes. The failure
// that led there is what the user must see, so a failing removal is not
// reported over it.
class TempFileGuard {
  public:
    TempFileGuard(FileSystem& fs, FileHandle& file, const std::string& path)
        : m_fs(fs), m_file(file), m_path(path) {}
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    ~TempFileGuard() {
        if (m_committed)
            return;
        m_file = FileHandle();  // closed before the removal
        try {
            m_fs.Remove(m_path);
        } catch (const FileError&) {
            // Best effort: the original error is on its way to the user.
        }
    }
    void Commit() { m_committed = true; }

  private:
    FileSystem& m_fs;
    FileHandle& m_file;
    const std::string& m_path;
    bool m_committed = false;
};

}  // namespace

RenameEngine::OverwriteDecision RenameEngine::ConfirmOverwrite(const std::string& target) {
    if (m_bAskOverwrite) {
        m_bAskOverwrite = false;
        switch (m_questions.AskOverwrite(OverwriteQuestion(m_questions.PathInText(target)))) {
            case OverwriteAnswer::yes:
                m_bOverwriteAll = true;
                return OverwriteDecision::proceed;
            case OverwriteAnswer::no:
                return OverwriteDecision::skip;
            case OverwriteAnswer::cancel:
                m_bOverwriteCancelled = true;
                return OverwriteDecision::cancel;
        }
    }
    return m_bOverwriteAll ? OverwriteDecision::proceed : OverwriteDecision::skip;
}

RenameEngine::TargetAction RenameEngine::ResolveTarget(const std::string& source,
                                                       const std::string& target, LeftReason& why,
                                                       bool mayWait, std::int32_t self) {
    if (!FileExists(target))
        return TargetAction::create;
    if (IsSameFile(m_fs, source, target))
        return TargetAction::sameFile;
    // What this operation moved or copied there a moment ago is no existing file the
    // user was asked about; replacing it would lose a file's only content.
    if (m_operationFiles.IsPlaced(m_fs, target)) {
        why = LeftReason::taken;
        return TargetAction::skip;
    }
    // A song of the list is never replaced, nor a file a listed song claims as its
    // companion: the user cannot tell a file that this rename was about to move away,
    // and a copy must not replace an original. A song still to be handled may free
    // its name; one that stays gives no question.
    auto holder = ListedSongAt(target);
    if (!holder)
        holder = ListedCompanionOwner(target, self);
    if (holder) {
        why = LeftReason::held;
        return mayWait && IsUnsettled(*holder) ? TargetAction::wait : TargetAction::skip;
    }
    // A folder, a device or anything else that is no plain file at the new name is
    // nothing a song or companion could replace: it stays, with no question.
    if (const auto there = m_fs.Stat(target); there && !there->isRegular) {
        why = LeftReason::notPlainFile;
        return TargetAction::skip;
    }
    switch (ConfirmOverwrite(target)) {
        case OverwriteDecision::proceed:
            return TargetAction::replace;
        case OverwriteDecision::skip:
            // After a Cancel the later collisions stay without a question, as after No.
            why = m_bOverwriteCancelled ? LeftReason::cancelled : LeftReason::declined;
            return TargetAction::skip;
        case OverwriteDecision::cancel:
            why = LeftReason::cancelled;
            return TargetAction::cancel;
    }
    return TargetAction::skip;
}

void RenameEngine::MoveFile(const std::string& from, const std::string& to, bool replace) {
    if (replace && SetAsideReplaced(from, to))
        replace = false;
    const int step = JournalStarting(JournalStep::Kind::move, from, to, replace);
    try {
        if (replace)
            m_fs.MoveReplace(from, to);
        else
            m_fs.MoveNoReplace(from, to);
    } catch (const FileError& error) {
        // The message names the new name, where the file was going (a name the
        // medium refuses, a full folder), unless the file itself has gone.
        const bool gone = error.cause() == FileErrorCause::fileNotFound && !m_fs.Exists(from);
        throw NamingFile(error, gone ? from : to);
    }
    JournalDone(step, to);
    m_operationFiles.NoteMoved(from, to);
    m_report.FileTransferred(from, to);
}

bool RenameEngine::CopyWholeFile(const std::string& source, const std::string& target,
                                 bool replace) {
    std::vector<unsigned char> buffer;
    try {
        FileHandle in = m_fs.OpenRead(source);
        const std::uint64_t length = m_fs.Length(in);
        if (length > kMaxCopyLength) {
            m_questions.ShowWarning(FileTooLargeMessage(m_questions.PathInText(source)));
            m_fs.Close(in);
            return false;
        }
        buffer.resize(static_cast<std::size_t>(length));
        const std::size_t got = m_fs.Read(in, buffer.data(), buffer.size());
        m_fs.Close(in);
        if (got != buffer.size())
            return false;  // short read: no copy, no message
    } catch (const FileError& error) {
        throw NamingFile(error, source);  // the steps on the open file name none
    }

    // The whole content goes to a temporary file beside the target first; only a
    // complete, flushed copy takes the target's name, in one step. An existing
    // target is thus never lost, and nothing that appeared at the target meanwhile
    // is replaced unless the user agreed to replace it. Every failure names the
    // target, never the temporary file.
    if (replace && SetAsideReplaced(source, target))
        replace = false;
    const int step = JournalStarting(JournalStep::Kind::copy, source, target, replace);
    std::string tempPath;
    FileHandle out = m_fs.CreateTemp(target, tempPath);
    TempFileGuard guard(m_fs, out, tempPath);
    try {
        m_fs.Write(out, buffer.data(), buffer.size(), target);
        m_fs.Sync(out);
        m_fs.Close(out);
        if (replace)
            m_fs.MoveReplace(tempPath, target);
        else
            m_fs.MoveNoReplace(tempPath, target);
    } catch (const FileError& error) {
        throw NamingFile(error, target);
    }
    guard.Commit();
    JournalDone(step, target);
    m_operationFiles.NoteCreated(target);
    m_report.FileTransferred(source, target);
    return true;
}

}  // namespace tt
