#include "common/WholeFile.h"

#include "common/ReadableFile.h"

std::string ReadWholeFile(const std::string& path, std::uint64_t limit) {
    ReadableFile file(path, limit);
    // The size is only a hint for the first read: reading goes on to the end, so a file
    // that grows, or one whose size the system does not know, is still read whole.
    std::string bytes(static_cast<std::size_t>(file.KnownSize()) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            file.CheckTotal(filled);
            bytes.resize(bytes.size() * 2);
        }
        const std::size_t got = file.ReadSome(bytes.data() + filled, bytes.size() - filled);
        if (got == 0) break;
        filled += got;
    }
    file.CheckTotal(filled);
    bytes.resize(filled);
    return bytes;
}
