#pragma once

#include <cstring>
#include <string_view>

#include "objects/ByteSource.h"

// Bytes in memory, read in place.
class MemoryBytes : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes(bytes) {}

    std::uint64_t Size() const override { return bytes.size(); }

    bool Read(std::uint64_t offset, void* target, std::size_t size) override {
        if (size != 0) std::memcpy(target, bytes.data() + offset, size);
        return true;
    }

private:
    std::string_view bytes;
};
