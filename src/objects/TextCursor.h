#pragma once

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

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
    // The quick readings look at most this many bytes ahead, without checking for the end.
    static constexpr std::ptrdiff_t kQuick = 32;

    // Reads the usual short numbers, up to seven digits on each side of the point and no
    // exponent, eight digits at a time; false, having consumed nothing, for anything else,
    // which the slow reading then decides.
    [[gnu::always_inline]] bool QuickFloat(float& value) {
        const char* p = at;
        const bool minus = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        std::uint64_t digits = 0;
        const int whole = Digits8(p, digits);
        if (whole == 8) return false;
        p += whole;
        int fraction = 0;
        if (*p == '.') {
            ++p;
            std::uint64_t part = 0;
            fraction = Digits8(p, part);
            if (fraction == 8) return false;
            p += fraction;
            digits = digits * kTensOf[fraction] + part;
        }
        if (whole + fraction == 0 || *p == 'e' || *p == 'E') return false;
        if (!Exactly(digits, -fraction, minus, value)) return false;
        at = p;
        return true;
    }

    // As QuickFloat, for integers of up to seven digits.
    [[gnu::always_inline]] bool QuickInt(std::int32_t& value) {
        const char* p = at;
        const bool minus = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        std::uint64_t digits = 0;
        const int count = Digits8(p, digits);
        if (count == 0 || count == 8) return false;
        value = static_cast<std::int32_t>(minus ? -static_cast<std::int64_t>(digits)
                                                : static_cast<std::int64_t>(digits));
        at = p + count;
        return true;
    }

    // How many of the eight bytes at `p` are decimal digits before the first that is not
    // (8 if all are), and the number they make in `number` when fewer than eight.
    [[gnu::always_inline]] static int Digits8(const char* p, std::uint64_t& number) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
        // Each digit becomes its value; a byte over 9 then has a high nibble, before or
        // after adding 6. A carry out of a byte only disturbs bytes after it.
        const std::uint64_t values = word ^ 0x3030303030303030u;
        const std::uint64_t wrong = (values | (values + 0x0606060606060606u)) & 0xF0F0F0F0F0F0F0F0u;
        if (wrong == 0) return 8;
        const int count = std::countr_zero(wrong) / 8;
        if (count == 0) return 0;
        // The digits to the top bytes, zeros before them, then pairs, fours and eights.
        std::uint64_t v = values << (8 * (8 - count));
        v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
        v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
        v = (v * 10000 + (v >> 32)) & 0xFFFFFFFFu;
        number = v;
        return count;
    }

    static constexpr std::uint64_t kTensOf[8] = {1,     10,     100,     1000,
                                                 10000, 100000, 1000000, 10000000};

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
            if (q != end && IsDigit(*q)) {
                int exponent = 0;
                for (; q != end && IsDigit(*q); ++q) {
                    if (exponent < 1000) {
                        exponent = exponent * 10 + (*q - '0');
                    } else {
                        slow = true;
                    }
                }
                power += negative ? -exponent : exponent;
                p = q;
            }
            if (q == end) reachedEnd = true;
        }
        if (!slow && Exactly(digits, power, minus, value)) {
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

    // The float nearest to digits × 10^power, when one double operation gives it exactly:
    // the digits and the power of ten are both exact doubles, so the quotient or product
    // is the double nearest to the number. Rounding that double to a float gives the
    // nearest float unless it lies exactly halfway between two floats, or outside the
    // range of normal floats; those go the slow way.
    [[gnu::always_inline]] static bool Exactly(std::uint64_t digits, int power, bool minus, float& value) {
        static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (digits == 0) {
            value = minus ? -0.0f : 0.0f;
            return true;
        }
        if (digits > (std::uint64_t{1} << 53) || power < -22 || power > 22) return false;
        const double exact = power < 0 ? static_cast<double>(digits) / kTens[-power]
                                       : static_cast<double>(digits) * kTens[power];
        if (exact < std::numeric_limits<float>::min() || exact > std::numeric_limits<float>::max())
            return false;
        // A double has 29 more fraction bits than a float: halfway is 1 then 28 zeros.
        const std::uint64_t below = std::bit_cast<std::uint64_t>(exact) & ((1u << 29) - 1);
        if (below == (1u << 28)) return false;
        const float nearest = static_cast<float>(exact);
        value = minus ? -nearest : nearest;
        return true;
    }

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
