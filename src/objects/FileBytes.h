#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/ReadableFile.h"
#include "objects/ByteSource.h"

// An open file as a ByteSource. A regular file is read on demand, straight into the
// caller's memory, and Size() starts as its size when opened. A pipe, or a file whose size
// the system reports as 0, is read whole into memory on opening. Opening or reading
// failures, a device, and a file of more than `limit` bytes throw FileError, the last
// before anything is read or allocated for a regular file.
class FileBytes : public ByteSource {
public:
    explicit FileBytes(std::string path, std::uint64_t limit = FileSizeLimit());

    std::uint64_t Size() const override { return size; }
    bool Read(std::uint64_t offset, void* target, std::size_t count) override;

private:
    ReadableFile file;
    std::uint64_t size = 0;
    bool whole = false;  // read into `bytes` on opening
    std::string bytes;
};
