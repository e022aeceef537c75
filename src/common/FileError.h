#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A file that could not be opened or read, with the system's error number, so each caller
// can word the report for the kind of file it wanted. Also a file refused before reading:
// a device, which would never end, or a file larger than the machine's memory.
class FileError : public std::runtime_error {
public:
    enum class Stage { Open, Read, Device, TooLarge };

    FileError(std::string path, Stage stage, int errorNumber);

    // A device given where a file was wanted.
    static FileError Device(std::string path);
    // A file of `size` bytes (0 when only its reading found out) over `limit`.
    static FileError TooLarge(std::string path, std::uint64_t size, std::uint64_t limit);

    // " was not found.", " could not be opened: REASON.", " could not be read: REASON.",
    // " is a device, not a file." or " is too large: ...", to follow the caller's own
    // naming of the file.
    std::string Reason() const;

    std::string path;
    Stage stage;
    int errorNumber;
    std::uint64_t size = 0;
    std::uint64_t limit = 0;
};
