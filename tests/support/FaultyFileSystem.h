#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileError.h"
#include "platform/FileSystem.h"

namespace tt::test {

// A file system around another one (the real one by default) that counts the file
// steps (open, length, read, create, write, sync, close, both moves, remove, opening
// for writing in place, setting permissions) and
// makes the Nth step after FailAt, or the first step of a kind after FailFirst, fail
// with a chosen cause. The error names a path as the real step would: opening names
// the file opened, creating and writing the target, every other step none. A failing
// write stores half of its bytes first, as a disk running full does. Look-ups (list,
// stat, exists, may-write) are never counted.
class FaultyFileSystem : public FileSystem {
  public:
    enum class Step {
        open,
        length,
        read,
        create,
        write,
        sync,
        close,
        moveNoReplace,
        moveReplace,
        remove,
        openWrite,
        permissions
    };

    // What the failed step was.
    struct Fault {
        Step step;
        std::string path;  // the file the step concerned (also when the error names none)
        FileError error;
        // The file a message about the failure names: the file opened, read or written
        // (for a temporary file, the file it is to become), or the new name of a move.
        std::string named;
    };

    explicit FaultyFileSystem(FileSystem& inner = SystemFileSystem()) : m_inner(inner) {}

    // Fails the `n`th counted step from now on (1 = the next one) with `cause`.
    void FailAt(int n, FileErrorCause cause);
    // Fails the next step of kind `step` with `cause`.
    void FailFirst(Step step, FileErrorCause cause);
    // Counts on without failing.
    void Disarm() {
        m_failAt = 0;
        m_failStep.reset();
    }
    // Steps counted since the last FailAt, FailFirst or ResetCount.
    int steps() const { return m_steps; }
    void ResetCount() { m_steps = 0; }
    const std::optional<Fault>& fault() const { return m_fault; }
    // Every step of kind `step` on `path` fails with `cause` (set before the steps run).
    void FailOnPath(Step step, const std::string& path, FileErrorCause cause) {
        m_pathFaults[{step, path}] = cause;
    }
    // Reads of a path in this set deliver one byte less than asked.
    std::set<std::string> shortReads;
    // Steps may come from several threads at once (counted under a lock) where the
    // layer below takes that, unless this is set.
    bool oneAtATime = false;
    bool TakesReadsFromSeveralThreads() const override {
        return !oneAtATime && m_inner.TakesReadsFromSeveralThreads();
    }
    // False: a sync is counted but not passed on (keeps long fault runs fast; what
    // reaches the medium is not what these tests look at).
    bool passSyncOn = true;

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        return m_inner.ListNames(folder);
    }
    std::optional<FileInfo> Stat(const std::string& path) override { return m_inner.Stat(path); }
    bool Exists(const std::string& path) override { return m_inner.Exists(path); }
    bool MayWrite(const std::string& path) override { return m_inner.MayWrite(path); }
    std::string FollowLinks(const std::string& path) override { return m_inner.FollowLinks(path); }

    FileHandle OpenRead(const std::string& path) override;
    std::uint64_t Length(FileHandle& file) override;
    FileInfo Info(FileHandle& file) override;
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override;
    // Advice only: passed on, never counted.
    void AdviseNoReadAhead(FileHandle& file) override { m_inner.AdviseNoReadAhead(file); }
    FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) override;
    FileHandle OpenWriteInPlace(const std::string& path) override;
    void SetPermissions(FileHandle& file, std::uint32_t permissions) override;
    void Write(FileHandle& file, const void* data, std::size_t size,
               const std::string& path) override;
    void Sync(FileHandle& file) override;
    void Close(FileHandle& file) override;
    void MoveNoReplace(const std::string& from, const std::string& to) override;
    void MoveReplace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;

  private:
    // Counts a step; throws when it is the one to fail. `path` is what the step
    // concerns, `carryPath` whether its error names it, `named` what a message names
    // (empty: `path`, or the target of a temporary file).
    void Count(Step step, const std::string& path, bool carryPath, const std::string& named = {});
    // The path a handle was opened or created for.
    std::string PathOf(const FileHandle& file);
    void NoteOpen(const FileHandle& file, const std::string& path);

    FileSystem& m_inner;
    std::mutex m_mutex;  // over everything below
    std::map<std::pair<Step, std::string>, FileErrorCause> m_pathFaults;
    int m_steps = 0;
    int m_failAt = 0;
    std::optional<Step> m_failStep;
    FileErrorCause m_cause = FileErrorCause::generic;
    std::optional<Fault> m_fault;
    std::vector<std::pair<int, std::string>> m_open;   // descriptor, path
    std::map<std::string, std::string> m_tempTargets;  // temporary file -> its target
};

// A readable name of a step, for test messages.
const char* StepName(FaultyFileSystem::Step step);

}  // namespace tt::test
