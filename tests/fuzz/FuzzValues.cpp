// The value syntax of scene attributes against what a standard input stream reads in the
// "C" locale, which is what the syntax promises: a number is what `stream >> float`
// takes, and a vector is its numbers with one separator character between each pair.

#include <array>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <locale>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "FuzzTargets.h"
#include "scene/ValueSyntax.h"

namespace {

// The text, shortened and with bytes that do not print as \xNN, for messages.
std::string Shown(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, 80)) {
        if (std::isprint(static_cast<unsigned char>(c)) && c != '\\') {
            shown += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            shown += escaped;
        }
    }
    return "\"" + shown + (text.size() > 80 ? "\"..." : "\"");
}

std::string Bits(float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.9g (0x%08X)", value, std::bit_cast<std::uint32_t>(value));
    return text;
}

bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

class CStream : public std::istringstream {
public:
    explicit CStream(std::string_view text) : std::istringstream(std::string(text)) {
        imbue(std::locale::classic());
    }

    // Where the next read would start: the end once the stream has reached it.
    std::size_t Position(std::size_t size) {
        if (eof()) return size;
        return static_cast<std::size_t>(tellg());
    }
};

// One number as a stream reads it: the value, and where the stream then stands.
struct StreamNumber {
    std::optional<float> value;
    std::size_t end = 0;
};

StreamNumber StreamRead(std::string_view text) {
    CStream in(text);
    float value = 0.0f;
    if (!(in >> value)) return {};
    return {value, in.Position(text.size())};
}

// ReadNumber from `start` against the stream on the text from there.
void CheckNumber(std::string_view text, std::size_t start) {
    const StreamNumber expected = StreamRead(text.substr(start));
    std::size_t pos = start;
    const std::optional<float> read = ReadNumber(text, pos);
    const std::string where = " at " + std::to_string(start) + " of " + Shown(text);
    if (!expected.value) {
        FUZZ_CHECK(!read, "ReadNumber read " + (read ? Bits(*read) : "") +
                              " where a stream reads nothing" + where);
        FUZZ_CHECK(pos == start, "ReadNumber moved past an unreadable number" + where);
        return;
    }
    FUZZ_CHECK(read.has_value(),
               "ReadNumber read nothing where a stream reads " + Bits(*expected.value) + where);
    FUZZ_CHECK(SameBits(*read, *expected.value), "ReadNumber read " + Bits(*read) +
                                                     " where a stream reads " +
                                                     Bits(*expected.value) + where);
    FUZZ_CHECK(pos == start + expected.end, "ReadNumber stopped at " + std::to_string(pos) +
                                                " where a stream stops at " +
                                                std::to_string(start + expected.end) + where);
}

// The vector syntax written with a stream: between numbers, blanks, then one character
// that is no digit.
std::size_t StreamComponents(std::string_view text, std::span<float> components) {
    std::fill(components.begin(), components.end(), 0.0f);
    CStream in(text);
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) {
            in >> std::ws;
            const int next = in.peek();
            if (next == std::char_traits<char>::eof() || (next >= '0' && next <= '9')) return i;
            in.get();
        }
        float value = 0.0f;
        if (!(in >> value)) return i;
        components[i] = value;
    }
    return components.size();
}

template <std::size_t N>
void CheckComponents(std::string_view text) {
    std::array<float, N> read, expected;
    read.fill(-1.0f);
    const std::size_t count = ParseComponents(text, read);
    const std::size_t expectedCount = StreamComponents(text, expected);
    FUZZ_CHECK(count == expectedCount, "ParseComponents read " + std::to_string(count) + " of " +
                                           std::to_string(N) + " components where a stream reads " +
                                           std::to_string(expectedCount) + " in " + Shown(text));
    for (std::size_t i = 0; i < N; ++i) {
        FUZZ_CHECK(SameBits(read[i], expected[i]),
                   "ParseComponents component " + std::to_string(i) + " is " + Bits(read[i]) +
                       " where a stream reads " + Bits(expected[i]) + " in " + Shown(text));
    }
    if constexpr (N == 3) {
        const Vector3 v = ParseVector3(text);
        FUZZ_CHECK(SameBits(v.x, read[0]) && SameBits(v.y, read[1]) && SameBits(v.z, read[2]),
                   "ParseVector3 differs from ParseComponents in " + Shown(text));
    }
}

}  // namespace

int FuzzValues(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckNumber(text, 0);
    if (size > 1) CheckNumber(text, size / 2);

    const std::optional<float> first = StreamRead(text).value;
    FUZZ_CHECK(SameBits(ParseFloat(text), first.value_or(0.0f)),
               "ParseFloat gives " + Bits(ParseFloat(text)) + " for " + Shown(text));

    CheckComponents<2>(text);
    CheckComponents<3>(text);
    CheckComponents<4>(text);
    return 0;
}
