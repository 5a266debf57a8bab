#include "platform/FileHandle.h"

#include <unistd.h>

namespace tt {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

FileHandle::~FileHandle() {
    // Only reached on paths that already report an error (or never wrote), so the
    // result of this close has nothing left to tell.
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace tt
