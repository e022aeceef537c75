#include "objects/FileBytes.h"

#include <cstring>

FileBytes::FileBytes(std::string path, std::uint64_t limit) : file(std::move(path), limit) {
    size = file.KnownSize();
    if (size != 0) return;
    // No size to trust: read to the end, growing the buffer as needed.
    whole = true;
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            file.CheckTotal(filled);
            bytes.resize(bytes.empty() ? 65536 : bytes.size() * 2);
        }
        const std::size_t got = file.ReadSome(bytes.data() + filled, bytes.size() - filled);
        if (got == 0) break;
        filled += got;
    }
    file.CheckTotal(filled);
    bytes.resize(filled);
    size = bytes.size();
}

bool FileBytes::Read(std::uint64_t offset, void* target, std::size_t count) {
    if (whole) {
        if (count != 0) std::memcpy(target, bytes.data() + offset, count);
        return true;
    }
    const std::size_t got = file.ReadAt(offset, target, count);
    if (got == count) return true;
    size = offset + got;  // the file shrank since it was opened
    return false;
}
