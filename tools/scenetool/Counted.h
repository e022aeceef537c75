#pragma once

#include <cstddef>
#include <string>

// "1 vertex", "2 vertices": a count with the word that fits it.
inline std::string Counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
