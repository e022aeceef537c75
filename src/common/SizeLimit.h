#pragma once

#include <cstdint>

// The most bytes the viewer reads from any one file: the machine's physical memory. What
// a file is read into takes about as much memory as the file or less, so a larger file
// could not be loaded anyway; refusing it before reading keeps a damaged or mistaken file
// (a huge sparse file, a pipe that never ends) from exhausting the machine.
std::uint64_t FileSizeLimit();
