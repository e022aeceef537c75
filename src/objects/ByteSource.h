#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

// Where a model file's bytes come from: bytes already in memory, or an open file read
// straight into the caller's arrays (FileBytes).
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // How many bytes there are: for a file, its size when it was opened, lowered to where
    // it really ends once a read finds it shorter (it shrank while being read).
    virtual std::uint64_t Size() const = 0;

    // Copies the `size` bytes from byte `offset` on into `target`; the caller has checked
    // that they lie below Size(). Returns false, with Size() lowered to where the bytes
    // end, when they end first; what was copied then must not be kept.
    virtual bool Read(std::uint64_t offset, void* target, std::size_t size) = 0;

    // What a reader of blocks did with one: how many of its bytes it used, and whether it
    // wants the next block.
    struct Taken {
        std::size_t used;
        bool more;
    };
    using TakeBlock = std::function<Taken(std::string_view block, bool last)>;

    // Hands the bytes, from the first, to `take` in blocks of `blockSize` bytes (at least
    // 1), in one reused buffer so that what is read is still in the cache. The bytes a
    // block leaves unused come again at the front of the next one; a block they fill
    // alone is doubled. The block that reaches the end is marked `last`.
    void ReadBlocks(std::size_t blockSize, const TakeBlock& take);
};
