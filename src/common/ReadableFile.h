#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/SizeLimit.h"

// A file opened for reading, closed when this goes. Opening refuses what a reader of
// whole files must not start on: a device (it would never end) and a regular file larger
// than `limit` bytes. Everything fails with FileError.
class ReadableFile {
public:
    explicit ReadableFile(std::string path, std::uint64_t limit = FileSizeLimit());
    ~ReadableFile();

    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    // The size of a regular file when it was opened; 0 when it is not known in advance
    // (a pipe, or a file the system reports as empty), so it must be read to its end.
    std::uint64_t KnownSize() const { return knownSize; }

    // Reads up to `count` bytes at the current position; 0 only at the end of the file.
    std::size_t ReadSome(void* into, std::size_t count);

    // Reads `count` bytes from `offset` on, as far as the file goes; fewer only at its end.
    std::size_t ReadAt(std::uint64_t offset, void* into, std::size_t count);

    // Fails with FileError::TooLarge once `total` bytes read from a file of unknown size
    // pass the limit.
    void CheckTotal(std::uint64_t total) const;

    const std::string& Path() const { return path; }

private:
    std::string path;
    std::uint64_t limit;
    int fd = -1;
    std::uint64_t knownSize = 0;
};
