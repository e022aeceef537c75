#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "objects/ByteSource.h"

// A cursor over a model file's bytes. Callers check Has() before each read, so nothing is
// ever read past the known end; numbers are little-endian 32-bit words.
class ByteReader {
public:
    explicit ByteReader(ByteSource& source) : source(source) {}

    std::uint64_t Offset() const { return offset; }
    std::uint64_t Size() const { return source.Size(); }

    // Whether `count` more bytes are there; 64-bit, so count * size cannot overflow for
    // any 32-bit count of elements of up to 4 GB each.
    bool Has(std::uint64_t count) const { return offset <= Size() && count <= Size() - offset; }

    void Seek(std::uint64_t to) { offset = to; }
    void Skip(std::uint64_t count) { offset += count; }

    // Reads `count` 32-bit words (or records made only of them) into `target` and moves
    // past them. False if the bytes end first (Size() then says where); `target` then
    // holds unread bytes and must be dropped.
    template <typename Word>
    bool ReadWords(Word* target, std::size_t count) {
        static_assert(sizeof(Word) % 4 == 0, "records of 32-bit words only");
        const std::size_t size = count * sizeof(Word);
        if (!source.Read(offset, target, size)) return false;
        offset += size;
        if constexpr (std::endian::native == std::endian::big) {
            auto* words = reinterpret_cast<std::uint32_t*>(target);
            for (std::size_t i = 0; i < size / 4; ++i) words[i] = __builtin_bswap32(words[i]);
        }
        return true;
    }

private:
    ByteSource& source;
    std::uint64_t offset = 0;
};
