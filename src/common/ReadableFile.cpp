#include "common/ReadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/FileError.h"

ReadableFile::ReadableFile(std::string path, std::uint64_t limit)
    : path(std::move(path)), limit(limit) {
    fd = ::open(this->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileError(this->path, FileError::Stage::Open, errno);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw FileError(this->path, FileError::Stage::Open, error);
    }
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
        ::close(fd);
        throw FileError::Device(this->path);
    }
    if (S_ISREG(status.st_mode) && status.st_size > 0) {
        knownSize = static_cast<std::uint64_t>(status.st_size);
        if (knownSize > limit) {
            ::close(fd);
            throw FileError::TooLarge(this->path, knownSize, limit);
        }
    }
}

ReadableFile::~ReadableFile() { ::close(fd); }

std::size_t ReadableFile::ReadSome(void* into, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(fd, into, count);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw FileError(path, FileError::Stage::Read, errno);
    }
}

std::size_t ReadableFile::ReadAt(std::uint64_t offset, void* into, std::size_t count) {
    auto* bytes = static_cast<char*>(into);
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got =
            ::pread(fd, bytes + filled, count - filled, static_cast<off_t>(offset + filled));
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            throw FileError(path, FileError::Stage::Read, errno);
        }
    }
    return filled;
}

void ReadableFile::CheckTotal(std::uint64_t total) const {
    if (total > limit) throw FileError::TooLarge(path, 0, limit);
}
