#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

// A cursor over a text file's bytes in memory that reads as a C++ input stream does in
// the "C" locale: whitespace is space, tab, line feed, vertical tab, form feed and
// carriage return; reading a number or a token first skips whitespace, line ends
// included. It counts the lines it passes and never reads outside the text.
class TextCursor {
public:
    explicit TextCursor(std::string_view text) : at(text.data()), end(text.data() + text.size()) {}

    bool AtEnd() const { return at == end; }

    // The line of the next unread byte, counting from 1.
    std::uint32_t Line() const { return line; }

    // The next run of non-whitespace; empty at the end of the text.
    std::string_view Token() {
        SkipSpace();
        const char* start = at;
        while (at != end && !IsSpace(*at)) ++at;
        return {start, static_cast<std::size_t>(at - start)};
    }

    // A decimal float: optional sign, digits with an optional point, optional exponent.
    // On failure nothing but the whitespace before it is consumed. A number too small
    // for a float reads as the nearest float (possibly 0); one too large fails.
    bool ReadFloat(float& value) {
        SkipSpace();
        const char* p = at;
        const bool plus = p != end && *p == '+';
        if (p != end && (*p == '+' || *p == '-')) ++p;
        bool digits = false;
        while (p != end && IsDigit(*p)) ++p, digits = true;
        if (p != end && *p == '.') {
            ++p;
            while (p != end && IsDigit(*p)) ++p, digits = true;
        }
        if (!digits) return false;
        if (p != end && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            if (q != end && (*q == '+' || *q == '-')) ++q;
            if (q != end && IsDigit(*q)) {
                while (q != end && IsDigit(*q)) ++q;
                p = q;
            }
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

    // A decimal 32-bit integer with an optional sign; one out of range fails. On failure
    // nothing but the whitespace before it is consumed.
    bool ReadInt(std::int32_t& value) {
        SkipSpace();
        const char* first = at;
        if (first != end && *first == '+') {
            ++first;
            if (first == end || !IsDigit(*first)) return false;
        }
        const auto [stop, error] = std::from_chars(first, end, value);
        if (error != std::errc()) return false;
        at = stop;
        return true;
    }

    // The next byte, whitespace or not, or -1 at the end of the text.
    int Get() {
        if (at == end) return -1;
        const char c = *at++;
        if (c == '\n') ++line;
        return static_cast<unsigned char>(c);
    }

    // Drops everything up to and including the next line feed, however long the line.
    void SkipLine() {
        const void* lineEnd = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (!lineEnd) {
            at = end;
            return;
        }
        at = static_cast<const char*>(lineEnd) + 1;
        ++line;
    }

    // The text at the cursor up to the next whitespace, at most `limit` bytes, to show
    // what could not be read.
    std::string_view Upcoming(std::size_t limit) const {
        const char* stop = at;
        while (stop != end && !IsSpace(*stop) && static_cast<std::size_t>(stop - at) < limit) {
            ++stop;
        }
        return {at, static_cast<std::size_t>(stop - at)};
    }

private:
    static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

    void SkipSpace() {
        while (at != end && IsSpace(*at)) {
            if (*at == '\n') ++line;
            ++at;
        }
    }

    const char* at;
    const char* end;
    std::uint32_t line = 1;
};
