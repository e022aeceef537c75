#include "KeyTable.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

// A number that std::from_chars reads whole; a leading "+" is allowed as in C.
template <typename Number>
std::errc ReadNumber(std::string_view text, Number& value) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end != text.data() + text.size())
        return std::errc::invalid_argument;
    return error;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::optional<TranslationKey> KeyTable::ReadKey(const std::vector<std::string_view>& fields,
                                                std::string& problem) const {
    if (fields.size() != 4) {
        problem = "expected 4 fields (time_ms,x,y,z), found " + std::to_string(fields.size());
        return std::nullopt;
    }
    TranslationKey key{};
    const std::errc timeRead = ReadNumber(fields[0], key.time);
    if (timeRead == std::errc::result_out_of_range) {
        problem = "the time " + std::string(fields[0]) +
                  " is outside the 32-bit range (-2147483648 to 2147483647)";
        return std::nullopt;
    }
    if (timeRead != std::errc()) {
        problem = "the time " + Quoted(fields[0]) + " is not a whole number of milliseconds";
        return std::nullopt;
    }
    const char* names[] = {"x", "y", "z"};
    float* offsets[] = {&key.x, &key.y, &key.z};
    for (int axis = 0; axis < 3; ++axis) {
        const std::string_view field = fields[axis + 1];
        const std::errc read = ReadNumber(field, *offsets[axis]);
        if (read == std::errc::result_out_of_range ||
            (read == std::errc() && !std::isfinite(*offsets[axis]))) {
            problem =
                std::string(names[axis]) + " " + Quoted(field) + " is not a finite 32-bit float";
            return std::nullopt;
        }
        if (read != std::errc()) {
            problem = std::string(names[axis]) + " " + Quoted(field) + " is not a number";
            return std::nullopt;
        }
    }
    return key;
}

void KeyTable::Read(std::string_view text) {
    // A byte-order mark, as some spreadsheets write, is no part of the first line.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    bool first = true;
    std::uint32_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.starts_with('#')) continue;

        const std::vector<std::string_view> fields = Fields(line);
        const bool header =
            first && fields == std::vector<std::string_view>{"time_ms", "x", "y", "z"};
        first = false;
        if (header) continue;

        std::string problem;
        const std::optional<TranslationKey> key = ReadKey(fields, problem);
        if (key && !keys.empty() && key->time < keys.back().time) {
            problem = "the time " + std::to_string(key->time) + " comes before the time " +
                      std::to_string(keys.back().time) +
                      " of the previous key; keys must be in time order";
        }
        if (problem.empty()) {
            keys.push_back(*key);
        } else {
            problems.push_back(fileName + ":" + std::to_string(lineNumber) + ": " + problem);
        }
    }
}
