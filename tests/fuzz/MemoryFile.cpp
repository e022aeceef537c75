#include "MemoryFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FuzzTargets.h"

MemoryFile& MemoryFile::Get() {
    static MemoryFile file;
    return file;
}

MemoryFile::MemoryFile() : fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
    if (fd < 0) FuzzFail(std::string("memfd_create failed: ") + std::strerror(errno));
    path = "/proc/self/fd/" + std::to_string(fd);
}

void MemoryFile::Fill(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(fd, 0) != 0) FuzzFail(std::string("ftruncate failed: ") + std::strerror(errno));
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) FuzzFail(std::string("pwrite failed: ") + std::strerror(errno));
        done += static_cast<std::size_t>(wrote);
    }
}
