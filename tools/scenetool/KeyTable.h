#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "objects/TranslationKey.h"

// Translation keys written as CSV text, one key a line: "time_ms,x,y,z", with blanks
// allowed around the fields. Blank lines and lines starting with "#" are skipped, and so
// is a first line "time_ms,x,y,z". Times are whole milliseconds in the 32-bit range and
// may not decrease from one key to the next; offsets are finite 32-bit floats.
class KeyTable {
public:
    explicit KeyTable(std::string fileName) : fileName(std::move(fileName)) {}

    // Reads the keys of `text`; every bad line is reported and left out.
    void Read(std::string_view text);

    const std::vector<TranslationKey>& Keys() const { return keys; }
    // Each as "FILE:LINE: what is wrong".
    const std::vector<std::string>& Problems() const { return problems; }

private:
    // The key on `line`, or what is wrong with it.
    std::optional<TranslationKey> ReadKey(const std::vector<std::string_view>& fields,
                                          std::string& problem) const;

    std::string fileName;
    std::vector<TranslationKey> keys;
    std::vector<std::string> problems;
};
