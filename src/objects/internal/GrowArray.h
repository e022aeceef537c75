#pragma once

#include <cstddef>
#include <new>
#include <vector>

// Asks the system to back the whole 2 MB pages among the `bytes` from `data` with huge
// pages. Only advice: where the system has none, this changes nothing.
void AdviseHugePages(const void* data, std::size_t bytes);

// Grows `array` to `capacity`, or only to `least` where the system will not promise that
// much memory, with the new memory advised for huge pages, so that a model of millions of
// elements costs about a thousand page faults instead of tens of thousands.
template <typename Element>
void GrowArray(std::vector<Element>& array, std::size_t capacity, std::size_t least) {
    std::vector<Element> larger;
    try {
        larger.reserve(capacity);
    } catch (const std::bad_alloc&) {
        capacity = least;
        larger.reserve(capacity);
    }
    // Advised before the elements are copied in, which touches the pages.
    AdviseHugePages(larger.data(), capacity * sizeof(Element));
    larger.insert(larger.end(), array.begin(), array.end());
    array.swap(larger);
}
