#include "objects/ByteSource.h"

#include <algorithm>
#include <cstring>
#include <memory>

void ByteSource::ReadBlocks(std::size_t blockSize, const TakeBlock& take) {
    // Not zeroed: every byte is written before it is read.
    std::size_t capacity = std::max<std::size_t>(blockSize, 1);
    std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(capacity);
    std::uint64_t start = 0;  // the offset of the buffer's first byte
    std::size_t filled = 0;
    for (;;) {
        // A source that turns out shorter lowers Size(): then fill only what is there.
        for (;;) {
            const auto want = static_cast<std::size_t>(
                std::min<std::uint64_t>(capacity - filled, Size() - start - filled));
            if (Read(start + filled, buffer.get() + filled, want)) {
                filled += want;
                break;
            }
        }
        const bool last = start + filled == Size();
        const Taken taken = take({buffer.get(), filled}, last);
        if (last || !taken.more) return;
        std::memmove(buffer.get(), buffer.get() + taken.used, filled - taken.used);
        start += taken.used;
        filled -= taken.used;
        if (filled == capacity) {
            std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), buffer.get(), filled);
            buffer = std::move(larger);
            capacity *= 2;
        }
    }
}
