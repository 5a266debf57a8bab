#include "FaultyFileSystem.h"

namespace tt::test {

const char* StepName(FaultyFileSystem::Step step) {
    using Step = FaultyFileSystem::Step;
    switch (step) {
        case Step::open:
            return "open";
        case Step::length:
            return "length";
        case Step::read:
            return "read";
        case Step::create:
            return "create";
        case Step::write:
            return "write";
        case Step::sync:
            return "sync";
        case Step::close:
            return "close";
        case Step::moveNoReplace:
            return "move";
        case Step::moveReplace:
            return "move replacing";
        case Step::remove:
            return "remove";
        case Step::openWrite:
            return "open for writing";
        case Step::permissions:
            return "set permissions";
    }
    return "?";
}

void FaultyFileSystem::FailAt(int n, FileErrorCause cause) {
    m_steps = 0;
    m_failAt = n;
    m_failStep.reset();
    m_cause = cause;
    m_fault.reset();
}

void FaultyFileSystem::FailFirst(Step step, FileErrorCause cause) {
    FailAt(0, cause);
    m_failStep = step;
}

void FaultyFileSystem::Count(Step step, const std::string& path, bool carryPath,
                             const std::string& named) {
    const std::lock_guard lock(m_mutex);
    ++m_steps;
    if (const auto fault = m_pathFaults.find({step, path}); fault != m_pathFaults.end())
        throw FileError(fault->second, carryPath ? path : std::string());
    const bool due = m_failStep ? step == *m_failStep : m_failAt != 0 && m_steps == m_failAt;
    if (!due)
        return;
    m_failStep.reset();
    FileError error(m_cause, carryPath ? path : std::string());
    const auto temp = m_tempTargets.find(path);
    m_fault = Fault{step, path, error,
                    !named.empty()                ? named
                    : temp != m_tempTargets.end() ? temp->second
                                                  : path};
    throw error;
}

std::string FaultyFileSystem::PathOf(const FileHandle& file) {
    const std::lock_guard lock(m_mutex);
    for (const auto& [fd, path] : m_open) {
        if (fd == file.fd())
            return path;
    }
    return {};
}

void FaultyFileSystem::NoteOpen(const FileHandle& file, const std::string& path) {
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_open, [&](const auto& open) { return open.first == file.fd(); });
    m_open.emplace_back(file.fd(), path);
}

FileHandle FaultyFileSystem::OpenRead(const std::string& path) {
    Count(Step::open, path, true);
    FileHandle file = m_inner.OpenRead(path);
    NoteOpen(file, path);
    return file;
}

std::uint64_t FaultyFileSystem::Length(FileHandle& file) {
    Count(Step::length, PathOf(file), false);
    return m_inner.Length(file);
}

FileInfo FaultyFileSystem::Info(FileHandle& file) {
    Count(Step::length, PathOf(file), false);
    return m_inner.Info(file);
}

std::size_t FaultyFileSystem::Read(FileHandle& file, void* buffer, std::size_t size) {
    const std::string path = PathOf(file);
    Count(Step::read, path, false);
    if (size > 0 && shortReads.count(path) != 0)
        return m_inner.Read(file, buffer, size - 1);
    return m_inner.Read(file, buffer, size);
}

FileHandle FaultyFileSystem::CreateTemp(const std::string& targetPath, std::string& tempPath) {
    Count(Step::create, targetPath, true);
    FileHandle file = m_inner.CreateTemp(targetPath, tempPath);
    {
        const std::lock_guard lock(m_mutex);
        m_tempTargets[tempPath] = targetPath;
    }
    NoteOpen(file, tempPath);
    return file;
}

FileHandle FaultyFileSystem::OpenWriteInPlace(const std::string& path) {
    Count(Step::openWrite, path, true);
    FileHandle file = m_inner.OpenWriteInPlace(path);
    NoteOpen(file, path);
    return file;
}

void FaultyFileSystem::SetPermissions(FileHandle& file, std::uint32_t permissions) {
    Count(Step::permissions, PathOf(file), false);
    m_inner.SetPermissions(file, permissions);
}

void FaultyFileSystem::Write(FileHandle& file, const void* data, std::size_t size,
                             const std::string& path) {
    try {
        Count(Step::write, path, true);
    } catch (const FileError&) {
        m_inner.Write(file, data, size / 2, path);
        throw;
    }
    m_inner.Write(file, data, size, path);
}

void FaultyFileSystem::Sync(FileHandle& file) {
    Count(Step::sync, PathOf(file), false);
    if (passSyncOn)
        m_inner.Sync(file);
}

void FaultyFileSystem::Close(FileHandle& file) {
    // A failing close still lets the handle go, as the real one does.
    const std::string path = PathOf(file);
    {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_open, [&](const auto& open) { return open.first == file.fd(); });
    }
    try {
        Count(Step::close, path, false);
    } catch (const FileError&) {
        m_inner.Close(file);
        throw;
    }
    m_inner.Close(file);
}

void FaultyFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
    Count(Step::moveNoReplace, from, false, to);
    m_inner.MoveNoReplace(from, to);
}

void FaultyFileSystem::MoveReplace(const std::string& from, const std::string& to) {
    Count(Step::moveReplace, from, false, to);
    m_inner.MoveReplace(from, to);
}

void FaultyFileSystem::Remove(const std::string& path) {
    Count(Step::remove, path, false);
    m_inner.Remove(path);
}

}  // namespace tt::test
