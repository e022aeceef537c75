#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file that lives only in memory (memfd), for the parsers' file reading: they open it
// by its /proc/self/fd path like any other file, and nothing touches the disk. One per
// process, refilled for each input.
class MemoryFile {
public:
    // The one file of the process; aborts if the system cannot make it.
    static MemoryFile& Get();

    // Replaces the content with `size` bytes from `data`.
    void Fill(const std::uint8_t* data, std::size_t size);

    // The path that opens it.
    const std::string& Path() const { return path; }

private:
    MemoryFile();

    int fd;
    std::string path;
};
