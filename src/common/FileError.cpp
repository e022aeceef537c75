#include "common/FileError.h"

#include <cerrno>
#include <cstring>

FileError::FileError(std::string path, Stage stage, int errorNumber)
    : std::runtime_error(path + ": " + std::strerror(errorNumber)),
      path(std::move(path)),
      stage(stage),
      errorNumber(errorNumber) {}

std::string FileError::Reason() const {
    if (stage == Stage::Open && errorNumber == ENOENT) return " was not found.";
    return std::string(stage == Stage::Open ? " could not be opened: " : " could not be read: ") +
           std::strerror(errorNumber) + ".";
}
