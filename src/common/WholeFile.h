#pragma once

#include <cstdint>
#include <string>

#include "common/SizeLimit.h"

// The whole content of the file at `path`, bytes as they are, read in one pass. Throws
// FileError when the file cannot be opened or read (a folder cannot be read), is a
// device, or holds more than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::uint64_t limit = FileSizeLimit());
