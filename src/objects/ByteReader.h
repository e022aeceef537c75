#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// A cursor over a model file's bytes in memory. Callers check Has() before each read, so
// nothing is ever read past the end; numbers are little-endian 32-bit words.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes(bytes) {}

    std::size_t Offset() const { return offset; }
    std::size_t Size() const { return bytes.size(); }

    // Whether `count` more bytes are there; 64-bit, so count * size cannot overflow for
    // any 32-bit count of elements of up to 4 GB each.
    bool Has(std::uint64_t count) const { return count <= bytes.size() - offset; }

    std::uint32_t ReadWord() {
        std::uint32_t word;
        CopyWords(&word, 1);
        return word;
    }

    // Copies `count` 32-bit words (or records made only of them) into `target`.
    template <typename Word>
    void CopyWords(Word* target, std::size_t count) {
        static_assert(sizeof(Word) % 4 == 0, "records of 32-bit words only");
        const std::size_t size = count * sizeof(Word);
        if (size != 0) std::memcpy(target, bytes.data() + offset, size);
        offset += size;
        if constexpr (std::endian::native == std::endian::big) {
            auto* words = reinterpret_cast<std::uint32_t*>(target);
            for (std::size_t i = 0; i < size / 4; ++i) words[i] = __builtin_bswap32(words[i]);
        }
    }

private:
    std::string_view bytes;
    std::size_t offset = 0;
};
