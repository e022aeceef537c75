#pragma once

#include <string>

// The whole content of the file at `path`, bytes as they are, read in one pass. Throws
// FileError when the file cannot be opened or read (a folder cannot be read).
std::string ReadWholeFile(const std::string& path);
