#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "objects/ByteReader.h"

// An open file as a ByteSource. A regular file is read on demand, straight into the
// caller's memory, and Size() starts as its size when opened. Anything else (a pipe, a
// device, a file whose size the system reports as 0) is read whole into memory on opening.
// Opening or reading failures throw FileError.
class FileBytes : public ByteSource {
public:
    explicit FileBytes(std::string path);
    ~FileBytes() override;

    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::uint64_t Size() const override { return size; }
    bool Read(std::uint64_t offset, void* target, std::size_t count) override;

private:
    std::string path;
    int fd = -1;
    std::uint64_t size = 0;
    bool whole = false;  // read into `bytes` on opening
    std::string bytes;
};
