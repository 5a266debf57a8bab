#include "cli/TransferLog.h"

namespace tt::cli {

std::vector<TransferLog::Transfer> TransferLog::Transfers() const {
    std::vector<Transfer> transfers;
    for (const Record& record : m_records) {
        if (record.from.empty() || record.from == record.to || m_temps.count(record.to))
            continue;
        transfers.push_back({record.from, record.to});
    }
    return transfers;
}

FileHandle TransferLog::OpenRead(const std::string& path) {
    FileHandle file = m_inner.OpenRead(path);
    m_openPaths[file.fd()] = path;
    return file;
}

std::size_t TransferLog::Read(FileHandle& file, void* buffer, std::size_t size) {
    const std::size_t got = m_inner.Read(file, buffer, size);
    const auto open = m_openPaths.find(file.fd());
    if (open != m_openPaths.end())
        m_lastRead = open->second;
    return got;
}

FileHandle TransferLog::CreateTemp(const std::string& targetPath, std::string& tempPath) {
    FileHandle file = m_inner.CreateTemp(targetPath, tempPath);
    m_openPaths[file.fd()] = tempPath;
    m_temps[tempPath] = m_records.size();
    m_records.push_back({std::string(), tempPath});
    return file;
}

void TransferLog::Write(FileHandle& file, const void* data, std::size_t size,
                        const std::string& path) {
    // A copy's content is what was read last before it is written.
    const auto open = m_openPaths.find(file.fd());
    if (open != m_openPaths.end()) {
        const auto temp = m_temps.find(open->second);
        if (temp != m_temps.end() && m_records[temp->second].from.empty())
            m_records[temp->second].from = m_lastRead;
    }
    m_inner.Write(file, data, size, path);
}

void TransferLog::Close(FileHandle& file) {
    m_openPaths.erase(file.fd());
    m_inner.Close(file);
}

void TransferLog::MoveNoReplace(const std::string& from, const std::string& to) {
    m_inner.MoveNoReplace(from, to);
    NoteMove(from, to);
}

void TransferLog::MoveReplace(const std::string& from, const std::string& to) {
    m_inner.MoveReplace(from, to);
    NoteMove(from, to);
}

void TransferLog::Remove(const std::string& path) {
    m_inner.Remove(path);
    const auto temp = m_temps.find(path);
    if (temp != m_temps.end())
        m_records[temp->second].from.clear();  // an abandoned copy
}

void TransferLog::NoteMove(const std::string& from, const std::string& to) {
    // A move of a file that an earlier step put at `from` continues that transfer.
    for (auto record = m_records.rbegin(); record != m_records.rend(); ++record) {
        if (record->to == from) {
            record->to = to;
            m_temps.erase(from);
            return;
        }
    }
    m_records.push_back({from, to});
}

}  // namespace tt::cli
