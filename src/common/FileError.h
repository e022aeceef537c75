#pragma once

#include <stdexcept>
#include <string>

// A file that could not be opened or read, with the system's error number, so each caller
// can word the report for the kind of file it wanted.
class FileError : public std::runtime_error {
public:
    enum class Stage { Open, Read };

    FileError(std::string path, Stage stage, int errorNumber);

    // " was not found.", " could not be opened: REASON." or " could not be read: REASON.",
    // to follow the caller's own naming of the file.
    std::string Reason() const;

    std::string path;
    Stage stage;
    int errorNumber;
};
