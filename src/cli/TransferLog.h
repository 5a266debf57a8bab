#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tt::cli {

// A file layer that hands every step on to another one and notes which files the
// steps renamed or copied, so a command can tell the user exactly what happened on
// disk: song files and their companions alike, also when an error ended the run
// half way.
class TransferLog final : public FileSystem {
  public:
    explicit TransferLog(FileSystem& inner) : m_inner(inner) {}

    struct Transfer {
        std::string from;  // the source path
        std::string to;    // where the file (or its copy) now is
    };
    // The files renamed or copied, in the order their transfer began. A file moved
    // in several steps (through a temporary name) shows once, with its final place;
    // a copy that never reached its target does not show.
    std::vector<Transfer> Transfers() const;

    std::optional<std::vector<std::string>> ListNames(const std::string& folder) override {
        return m_inner.ListNames(folder);
    }
    std::optional<FileInfo> Stat(const std::string& path) override { return m_inner.Stat(path); }
    bool Exists(const std::string& path) override { return m_inner.Exists(path); }
    FileHandle OpenRead(const std::string& path) override;
    std::uint64_t Length(FileHandle& file) override { return m_inner.Length(file); }
    std::size_t Read(FileHandle& file, void* buffer, std::size_t size) override;
    FileHandle CreateTemp(const std::string& targetPath, std::string& tempPath) override;
    void Write(FileHandle& file, const void* data, std::size_t size,
               const std::string& path) override;
    void Sync(FileHandle& file) override { m_inner.Sync(file); }
    void Close(FileHandle& file) override;
    void MoveNoReplace(const std::string& from, const std::string& to) override;
    void MoveReplace(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) override;

  private:
    struct Record {
        std::string from;
        std::string to;
    };

    void NoteMove(const std::string& from, const std::string& to);

    FileSystem& m_inner;
    std::vector<Record> m_records;
    // Open descriptors and the paths they belong to.
    std::map<int, std::string> m_openPaths;
    // Temporary files made for copies; a copy whose record still ends in one of
    // them has not reached its target.
    std::map<std::string, std::size_t> m_temps;  // temp path -> record index
    std::string m_lastRead;                      // the file whose bytes were read last
};

}  // namespace tt::cli
