#pragma once

#include <cstddef>
#include <cstdint>

// Foresees how large one array of an OBJ reading grows, from how closely its elements
// have stood in the file so far: so one or two steps reach its final size instead of
// twenty doublings, each a copy.
class ArrayForecast {
public:
    // The least an array of `count` elements grows by: half as many again, at least 1024.
    static std::size_t Least(std::size_t count);

    // The capacity to grow the array to when it holds `count` elements and the reading,
    // at byte `at` of `size` (0 if not known), needs room for one more: room for as many
    // more as the rest of the file would hold if it held them as closely as the part read
    // so far, and a little to spare; at least Least(count). Called for the empty array,
    // it notes where the array starts.
    std::size_t Capacity(std::size_t count, std::uint64_t at, std::uint64_t size);

private:
    std::uint64_t firstAt = 0;  // where the array's first element stood
};
