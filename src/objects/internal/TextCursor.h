#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "objects/internal/QuickNumbers.h"

// A cursor over a text file's bytes in memory that reads as a C++ input stream does in
// the "C" locale: whitespace is space, tab, line feed, vertical tab, form feed and
// carriage return; reading a number or a token first skips whitespace, line ends
// included. It counts the lines it passes and never reads outside the text.
//
// The text may be only part of a file. Every read that stops at the end of the text
// notes it in ReachedEnd(): with more text after it, such a read might have read more, so
// a caller reading a file in parts returns to a Mark and reads that statement again once
// the next part is in.
class TextCursor {
public:
    explicit TextCursor(std::string_view text, std::uint32_t firstLine = 1)
        : at(text.data()), end(text.data() + text.size()), line(firstLine) {}

    bool AtEnd() const { return at == end; }

    // The line of the next unread byte, counting from 1.
    std::uint32_t Line() const { return line; }

    // Whether a read since construction or the last Return() stopped at the end of the text.
    bool ReachedEnd() const { return reachedEnd; }

    // The unread text, for readers that take a statement directly.
    const char* Data() const { return at; }
    std::size_t Left() const { return static_cast<std::size_t>(end - at); }
    // Moves on to `to`, within the unread text, past `lines` line ends.
    void Pass(const char* to, std::uint32_t lines) {
        at = to;
        line += lines;
    }

    // A place to come back to.
    struct Mark {
        const char* at;
        std::uint32_t line;
    };
    Mark Here() const { return {at, line}; }
    void Return(Mark mark) {
        at = mark.at;
        line = mark.line;
        reachedEnd = false;
    }

    // The next run of non-whitespace; empty at the end of the text.
    std::string_view Token() {
        SkipSpace();
        const char* start = at;
        for (; at != end; ++at) {
            if (IsSpace(*at)) return {start, static_cast<std::size_t>(at - start)};
        }
        reachedEnd = true;
        return {start, static_cast<std::size_t>(at - start)};
    }

    // A decimal float: optional sign, digits with an optional point, optional exponent.
    // On failure nothing but the whitespace before it is consumed. A number too small
    // for a float reads as the nearest float (possibly 0); one too large fails. The value
    // is the nearest float to the decimal number, as std::from_chars gives it.
    [[gnu::always_inline]] bool ReadFloat(float& value) {
        SkipSpace();
        return (end - at >= kQuick && QuickFloat(value)) || SlowFloat(value);
    }

    // A decimal 32-bit integer with an optional sign; one out of range fails. On failure
    // nothing but the whitespace before it is consumed.
    [[gnu::always_inline]] bool ReadInt(std::int32_t& value) {
        SkipSpace();
        return (end - at >= kQuick && QuickInt(value)) || SlowInt(value);
    }

    // The next byte, whitespace or not, or -1 at the end of the text.
    int Get() {
        if (at == end) {
            reachedEnd = true;
            return -1;
        }
        const char c = *at++;
        if (c == '\n') ++line;
        return static_cast<unsigned char>(c);
    }

    // Drops everything up to and including the next line feed, however long the line.
    void SkipLine() {
        const void* lineEnd = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (!lineEnd) {
            at = end;
            reachedEnd = true;
            return;
        }
        at = static_cast<const char*>(lineEnd) + 1;
        ++line;
    }

    // The text at the cursor up to the next whitespace, at most `limit` bytes, to show
    // what could not be read.
    std::string_view Upcoming(std::size_t limit) {
        const char* stop = at;
        while (stop != end && !IsSpace(*stop) && static_cast<std::size_t>(stop - at) < limit) {
            ++stop;
        }
        if (stop == end && static_cast<std::size_t>(stop - at) < limit) reachedEnd = true;
        return {at, static_cast<std::size_t>(stop - at)};
    }

private:
    static constexpr std::ptrdiff_t kQuick = kQuickReach;

    [[gnu::always_inline]] bool QuickFloat(float& value) {
        const char* p = at;
        if (!::QuickFloat(p, value)) return false;
        at = p;
        return true;
    }

    [[gnu::always_inline]] bool QuickInt(std::int32_t& value) {
        const char* p = at;
        if (!::QuickInt(p, value)) return false;
        at = p;
        return true;
    }

    bool SlowFloat(float& value) {
        const char* p = at;
        const bool plus = p != end && *p == '+';
        const bool minus = p != end && *p == '-';
        if (plus || minus) ++p;
        // The significant digits, as long as they fit, and the power of ten they stand at.
        std::uint64_t digits = 0;
        int significant = 0;
        int power = 0;
        bool any = false;
        // Set when the number is too long for that, or its exponent too large.
        bool slow = false;
        for (; p != end && IsDigit(*p); ++p) {
            any = true;
            if (significant < 19) {
                digits = digits * 10 + static_cast<unsigned>(*p - '0');
                significant += digits != 0;
            } else {
                slow = true;
            }
        }
        if (p != end && *p == '.') {
            ++p;
            for (; p != end && IsDigit(*p); ++p) {
                any = true;
                if (significant < 19 && power > -100) {
                    digits = digits * 10 + static_cast<unsigned>(*p - '0');
                    significant += digits != 0;
                    --power;
                } else {
                    slow = true;
                }
            }
        }
        if (p == end) reachedEnd = true;
        if (!any) return false;
        if (p != end && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            const bool negative = q != end && *q == '-';
            if (q != end && (*q == '+' || *q == '-')) ++q;
            if (q == end) reachedEnd = true;
            // A stream takes the exponent's letter and sign as part of the number, so
            // "3e" and "3e+" are failures, not 3 followed by a stray token.
            if (q == end || !IsDigit(*q)) return false;
            int exponent = 0;
            for (; q != end && IsDigit(*q); ++q) {
                if (exponent < 1000) {
                    exponent = exponent * 10 + (*q - '0');
                } else {
                    slow = true;
                }
            }
            if (q == end) reachedEnd = true;
            power += negative ? -exponent : exponent;
            p = q;
        }
        if (!slow && NearestFloat(digits, power, minus, value)) {
            at = p;
            return true;
        }
        const char* first = plus ? at + 1 : at;
        const std::from_chars_result read = std::from_chars(first, p, value);
        if (read.ec == std::errc::result_out_of_range) {
            if (!BelowOne(first, p)) return false;
            // Too small for a float: what is left of it is no more than a zero.
            value = *first == '-' ? -0.0f : 0.0f;
        } else if (read.ec != std::errc() || read.ptr != p) {
            return false;
        }
        at = p;
        return true;
    }

    bool SlowInt(std::int32_t& value) {
        const char* p = at;
        const bool minus = p != end && *p == '-';
        if (p != end && (*p == '+' || *p == '-')) ++p;
        const char* digits = p;
        std::uint64_t magnitude = 0;
        // Ten digits cannot overflow here; longer numbers (leading zeros, say) go the slow way.
        for (; p != end && IsDigit(*p) && p - digits < 10; ++p) {
            magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
        }
        if (p == end) reachedEnd = true;
        if (p == digits) return false;
        if (p != end && IsDigit(*p)) return ReadLongInt(value);
        if (magnitude > (minus ? 2147483648u : 2147483647u)) return false;
        value = static_cast<std::int32_t>(minus ? -static_cast<std::int64_t>(magnitude)
                                                : static_cast<std::int64_t>(magnitude));
        at = p;
        return true;
    }

    static constexpr std::array<bool, 256> kSpace = [] {
        std::array<bool, 256> space{};
        for (const unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) space[c] = true;
        return space;
    }();
    static bool IsSpace(char c) { return kSpace[static_cast<unsigned char>(c)]; }
    static bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

    // ReadInt for numbers of more than ten digits.
    bool ReadLongInt(std::int32_t& value) {
        const char* first = at;
        if (*first == '+') ++first;
        const auto [stop, error] = std::from_chars(first, end, value);
        if (stop == end) reachedEnd = true;
        if (error != std::errc()) return false;
        at = stop;
        return true;
    }

    // Whether the well-formed decimal number in [first, last) is below 1 in magnitude: the
    // place of its first non-zero digit plus its exponent is not positive.
    static bool BelowOne(const char* first, const char* last) {
        if (*first == '-' || *first == '+') ++first;
        std::int64_t place = 0;  // of the first non-zero digit: 1 for the units, 0 for tenths
        bool point = false, found = false;
        for (; first != last && *first != 'e' && *first != 'E'; ++first) {
            if (*first == '.') {
                point = true;
            } else if (!found && *first == '0') {
                if (point) --place;
            } else if (!found) {
                found = true;
                if (!point) ++place;
            } else if (!point) {
                ++place;
            }
        }
        if (!found) return true;
        std::int64_t exponent = 0;
        if (first != last) {
            ++first;
            const bool negative = *first == '-';
            if (*first == '-' || *first == '+') ++first;
            // Any exponent beyond this range decides the question by its sign alone.
            for (; first != last && exponent < 100000; ++first)
                exponent = exponent * 10 + (*first - '0');
            if (negative) exponent = -exponent;
        }
        return place + exponent <= 0;
    }

    [[gnu::always_inline]] void SkipSpace() {
        for (; at != end; ++at) {
            const char c = *at;
            if (!IsSpace(c)) return;
            line += c == '\n';
        }
        reachedEnd = true;
    }

    const char* at;
    const char* end;
    std::uint32_t line;
    bool reachedEnd = false;
};
