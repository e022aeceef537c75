#include "objects/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/FileError.h"

FileBytes::FileBytes(std::string path) : path(std::move(path)) {
    fd = ::open(this->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileError(this->path, FileError::Stage::Open, errno);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        size = static_cast<std::uint64_t>(status.st_size);
        return;
    }
    // No size to trust: read to the end, growing the buffer as needed.
    whole = true;
    try {
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) bytes.resize(bytes.empty() ? 65536 : bytes.size() * 2);
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got == 0) break;
            if (got < 0) {
                if (errno == EINTR) continue;
                throw FileError(this->path, FileError::Stage::Read, errno);
            }
            filled += static_cast<std::size_t>(got);
        }
        bytes.resize(filled);
    } catch (...) {
        ::close(fd);
        throw;
    }
    size = bytes.size();
}

FileBytes::~FileBytes() { ::close(fd); }

bool FileBytes::Read(std::uint64_t offset, void* target, std::size_t count) {
    if (whole) {
        if (count != 0) std::memcpy(target, bytes.data() + offset, count);
        return true;
    }
    auto* into = static_cast<char*>(target);
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got =
            ::pread(fd, into + filled, count - filled, static_cast<off_t>(offset + filled));
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got == 0) {
            size = offset + filled;  // the file shrank since it was opened
            return false;
        } else if (errno != EINTR) {
            throw FileError(path, FileError::Stage::Read, errno);
        }
    }
    return true;
}
