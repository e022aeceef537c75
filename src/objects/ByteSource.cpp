#include "objects/ByteSource.h"

#include <algorithm>
#include <cstring>
#include <vector>

void ByteSource::ReadBlocks(std::size_t blockSize, const TakeBlock& take) {
    std::vector<char> buffer(std::max<std::size_t>(blockSize, 1));
    std::uint64_t start = 0;  // the offset of the buffer's first byte
    std::size_t filled = 0;
    for (;;) {
        // A source that turns out shorter lowers Size(): then fill only what is there.
        for (;;) {
            const auto want = static_cast<std::size_t>(
                std::min<std::uint64_t>(buffer.size() - filled, Size() - start - filled));
            if (Read(start + filled, buffer.data() + filled, want)) {
                filled += want;
                break;
            }
        }
        const bool last = start + filled == Size();
        const Taken taken = take({buffer.data(), filled}, last);
        if (last || !taken.more) return;
        std::memmove(buffer.data(), buffer.data() + taken.used, filled - taken.used);
        start += taken.used;
        filled -= taken.used;
        if (filled == buffer.size()) buffer.resize(buffer.size() * 2);
    }
}
