#pragma once

#include <cstddef>
#include <cstdint>

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
};
