#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

// Reading of the short decimal numbers that model files are made of, eight digits at a
// time and without looking for the end of the text: the caller makes sure that
// kQuickReach bytes from where the number starts can be read. Each reading takes the
// number right at `p` (no whitespace before it), moves `p` past it and returns true; or
// returns false having moved nothing, for anything it does not handle, which the caller
// then reads the slow way. What they read is what std::from_chars reads.

// How far a quick reading may look from where its number starts.
inline constexpr std::ptrdiff_t kQuickReach = 32;

// How many of the eight bytes at `p` are decimal digits before the first that is not
// (8 if all are), and the number they make in `number` when fewer than eight.
[[gnu::always_inline]] inline int QuickDigits(const char* p, std::uint64_t& number) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    // Each digit becomes its value; a byte over 9 then has a high nibble, before or after
    // adding 6. A carry out of a byte only disturbs bytes after it.
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

// The float nearest to digits × 10^power, when double arithmetic gives it for certain;
// false otherwise (numbers halfway between two floats, or outside the range of normal
// floats, among others).
[[gnu::always_inline]] inline bool NearestFloat(std::uint64_t digits, int power, bool minus,
                                                float& value) {
    static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    static constexpr double kTenths[] = {1e-0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                         1e-8,  1e-9,  1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15,
                                         1e-16, 1e-17, 1e-18, 1e-19, 1e-20, 1e-21, 1e-22};
    // A double has 29 more fraction bits than a float: halfway is 1 then 28 zeros.
    constexpr std::uint64_t kBelow = (std::uint64_t{1} << 29) - 1,
                            kHalfway = std::uint64_t{1} << 28;
    if (digits == 0) {
        value = minus ? -0.0f : 0.0f;
        return true;
    }
    if (digits > (std::uint64_t{1} << 53) || power < -22 || power > 22) return false;
    double exact;
    if (power >= 0) {
        // Digits and power of ten are exact doubles: the product is the nearest double.
        exact = static_cast<double>(digits) * kTens[power];
    } else {
        // Multiplying by the nearest double to 10^-k is within two units of the last
        // place; unless that is near halfway between two floats, it rounds to the same
        // float as the number itself. Near halfway, divide: the quotient of two exact
        // doubles is the nearest double.
        exact = static_cast<double>(digits) * kTenths[-power];
        if ((std::bit_cast<std::uint64_t>(exact) & kBelow) - (kHalfway - 8) <= 16) {
            exact = static_cast<double>(digits) / kTens[-power];
        }
    }
    if (exact < std::numeric_limits<float>::min() || exact > std::numeric_limits<float>::max())
        return false;
    // Rounding the nearest double to a float gives the nearest float unless that double
    // lies exactly halfway.
    if ((std::bit_cast<std::uint64_t>(exact) & kBelow) == kHalfway) return false;
    const float nearest = static_cast<float>(exact);
    value = minus ? -nearest : nearest;
    return true;
}

// A float with an optional sign and up to seven digits each side of the point, and no
// exponent.
[[gnu::always_inline]] inline bool QuickFloat(const char*& p, float& value) {
    static constexpr std::uint64_t kTens[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    const char* q = p;
    const bool minus = *q == '-';
    if (*q == '-' || *q == '+') ++q;
    std::uint64_t digits = 0;
    const int whole = QuickDigits(q, digits);
    if (whole == 8) return false;
    q += whole;
    int fraction = 0;
    if (*q == '.') {
        ++q;
        std::uint64_t part = 0;
        fraction = QuickDigits(q, part);
        if (fraction == 8) return false;
        q += fraction;
        digits = digits * kTens[fraction] + part;
    }
    if (whole + fraction == 0 || *q == 'e' || *q == 'E') return false;
    if (!NearestFloat(digits, -fraction, minus, value)) return false;
    p = q;
    return true;
}

// An integer with an optional sign and up to seven digits.
[[gnu::always_inline]] inline bool QuickInt(const char*& p, std::int32_t& value) {
    const char* q = p;
    const bool minus = *q == '-';
    if (*q == '-' || *q == '+') ++q;
    std::uint64_t digits = 0;
    const int count = QuickDigits(q, digits);
    if (count == 0 || count == 8) return false;
    value = static_cast<std::int32_t>(minus ? -static_cast<std::int64_t>(digits)
                                            : static_cast<std::int64_t>(digits));
    p = q + count;
    return true;
}
