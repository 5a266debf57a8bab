#include "ReferenceTitles.h"

#include <algorithm>
#include <memory>
#include <new>

#include "platform/FileError.h"
#include "title/ReadSongTitle.h"
#include "title/SongData.h"

namespace tt::test {
namespace {

// Hands out bytes from memory in the sizes asked for.
class MemoryBytes final : public SongByteSource {
  public:
    MemoryBytes(const unsigned char* data, std::size_t size, unsigned char* buffer)
        : m_data(data), m_size(size) {
        for (std::size_t i = 0; i < size; ++i)
            buffer[i] = static_cast<unsigned char>(~data[i]);
    }
    std::size_t ReadNext(unsigned char* buffer, std::size_t size) override {
        const std::size_t count = size < m_size - m_done ? size : m_size - m_done;
        std::copy(m_data + m_done, m_data + m_done + count, buffer);
        m_done += count;
        return count;
    }
    std::size_t done() const { return m_done; }

  private:
    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_done = 0;
};

}  // namespace

bool ReadSongTitleWhole(FileSystem& fs, const std::string& path, std::string& title,
                        TitleErrorReporter& reporter) {
    FileHandle file;
    title.clear();
    try {
        file = fs.OpenRead(path);
        const std::uint64_t length = fs.Length(file);
        if (length < kMinSongFileLength || length > kMaxSongFileLength)
            return false;
        const auto size = static_cast<std::size_t>(length);
        const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
        return fs.Read(file, buffer.get(), size) == size &&
               ExtractSongTitle(buffer.get(), size, IsPatternPath(path), title);
    } catch (const FileError& error) {
        // A file that cannot be opened is simply not found.
        if (file.isOpen())
            reporter.ReportReadError(
                StandardFileErrorText(error.cause(), reporter.PathInText(path)));
    } catch (const std::bad_alloc&) {
        reporter.ReportReadError(kOutOfMemoryText);
    }
    title.clear();
    return false;
}

bool ExtractSongTitleInBlocks(const unsigned char* data, std::size_t size, bool isPattern,
                              std::size_t firstBlock, std::string& title, std::size_t* bytesRead) {
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(size);
    MemoryBytes source(data, size, buffer.get());
    SongData bytes(source, buffer.get(), size, firstBlock);
    const bool found = ExtractSongTitle(bytes, isPattern, title);
    if (bytesRead != nullptr)
        *bytesRead = source.done();
    return found;
}

}  // namespace tt::test
