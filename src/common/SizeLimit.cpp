#include "common/SizeLimit.h"

#include <unistd.h>

std::uint64_t FileSizeLimit() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    // Without an answer from the system, nothing is refused for its size.
    if (pages <= 0 || pageSize <= 0) return UINT64_MAX;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}
