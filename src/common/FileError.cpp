#include "common/FileError.h"

#include <cerrno>
#include <cstring>

FileError::FileError(std::string path, Stage stage, int errorNumber)
    : std::runtime_error(path + ": " + std::strerror(errorNumber)),
      path(std::move(path)),
      stage(stage),
      errorNumber(errorNumber) {}

FileError FileError::Device(std::string path) {
    return FileError(std::move(path), Stage::Device, ENODEV);
}

FileError FileError::TooLarge(std::string path, std::uint64_t size, std::uint64_t limit) {
    FileError error(std::move(path), Stage::TooLarge, EFBIG);
    error.size = size;
    error.limit = limit;
    return error;
}

std::string FileError::Reason() const {
    switch (stage) {
        case Stage::Open:
            if (errorNumber == ENOENT) return " was not found.";
            return std::string(" could not be opened: ") + std::strerror(errorNumber) + ".";
        case Stage::Read:
            return std::string(" could not be read: ") + std::strerror(errorNumber) + ".";
        case Stage::Device: return " is a device, not a file.";
        case Stage::TooLarge:
            return " is too large: " +
                   (size != 0 ? "it is " + std::to_string(size) + " bytes long, more"
                              : std::string("it holds more")) +
                   " than this machine's memory of " + std::to_string(limit) +
                   " bytes. It is not read.";
    }
    return {};
}
