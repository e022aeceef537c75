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

// The decimal digits that start the eight bytes at `p`: how many there are before the
// first byte that is not one (8 if all are), and, when there are any, their values moved
// to the top bytes of `top` (the last digit in the highest), zeros before them.
[[gnu::always_inline]] inline int DigitRun(const char* p, std::uint64_t& top) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    // Each digit becomes its value; a byte over 9 then has a high nibble, before or after
    // adding 6. A carry out of a byte only disturbs bytes after it.
    const std::uint64_t values = word ^ 0x3030303030303030u;
    const std::uint64_t wrong = (values | (values + 0x0606060606060606u)) & 0xF0F0F0F0F0F0F0F0u;
    const int firstWrong = std::countr_zero(wrong) & ~7;  // in bits; 64 if all are digits
    // Shifting up drops the bytes after the digits.
    top = values << (-firstWrong & 63);
    return firstWrong / 8;
}

// The number that the digit values in the bytes of `top` make, the lowest byte the
// first: pairs, then fours, then eights, each step one multiplication.
[[gnu::always_inline]] inline std::uint64_t EightDigits(std::uint64_t top) {
    std::uint64_t v = ((top * (10 * 256 + 1)) >> 8) & 0x00FF00FF00FF00FFu;
    v = ((v * (100 * 65536 + 1)) >> 16) & 0x0000FFFF0000FFFFu;
    return ((v * ((std::uint64_t{10000} << 32) + 1)) >> 32) & 0xFFFFFFFFu;
}

// Where a double lies against the floats. A double has 29 more fraction bits than a float,
// so halfway between two floats is 1 then 28 zeros in them: a double within a few units of
// the last place of a number rounds to the same float as the number unless it is near
// halfway, and one exactly halfway may round to either.
[[gnu::always_inline]] inline bool NearHalfwayFloats(double value) {
    constexpr std::uint64_t kBelow = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kHalfway = std::uint64_t{1} << 28;
    return (std::bit_cast<std::uint64_t>(value) & kBelow) - (kHalfway - 8) <= 16;
}
[[gnu::always_inline]] inline bool HalfwayFloats(double value) {
    constexpr std::uint64_t kBelow = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kHalfway = std::uint64_t{1} << 28;
    return (std::bit_cast<std::uint64_t>(value) & kBelow) == kHalfway;
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
        if (NearHalfwayFloats(exact)) {
            exact = static_cast<double>(digits) / kTens[-power];
        }
    }
    if (exact < std::numeric_limits<float>::min() || exact > std::numeric_limits<float>::max())
        return false;
    // Rounding the nearest double to a float gives the nearest float unless that double
    // lies exactly halfway.
    if (HalfwayFloats(exact)) return false;
    const float nearest = static_cast<float>(exact);
    value = minus ? -nearest : nearest;
    return true;
}

// A float with an optional sign and up to seven digits each side of an optional point,
// without looking at what follows it: the caller makes sure that it is no part of the
// number (an exponent, say).
[[gnu::always_inline]] inline bool QuickDecimal(const char*& p, float& value) {
    static constexpr std::uint64_t kTens[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    static constexpr double kTenths[8] = {1e-0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7};
    const char* q = p;
    const bool minus = *q == '-';
    q += *q == '-' || *q == '+';
    std::uint64_t whole = 0, part = 0;
    const int wholeCount = DigitRun(q, whole);
    if (wholeCount == 8) return false;
    if (wholeCount == 0) whole = 0;
    q += wholeCount;
    int fraction = 0;
    if (*q == '.') {
        fraction = DigitRun(++q, part);
        if (fraction == 8) return false;
        if (fraction == 0) part = 0;
        q += fraction;
    }
    if (wholeCount + fraction == 0) return false;
    // Up to eight digits in all make one word, the usual case; more take two.
    const std::uint64_t digits = wholeCount + fraction <= 8
                                     ? EightDigits((whole >> (8 * fraction)) | part)
                                     : EightDigits(whole) * kTens[fraction] + EightDigits(part);
    // Below 10^14 with at most seven decimals: an exact double, and a float neither too
    // large nor too small. Multiplying by the nearest double to 10^-k is within two units
    // of the last place; unless that is near halfway between two floats, it rounds to the
    // same float as the number itself. Near halfway, divide: the quotient of two exact
    // doubles is the nearest double.
    double exact = static_cast<double>(digits) * kTenths[fraction];
    if (NearHalfwayFloats(exact)) [[unlikely]] {
        exact = static_cast<double>(digits) / static_cast<double>(kTens[fraction]);
        if (HalfwayFloats(exact)) return false;
    }
    const float nearest = static_cast<float>(exact);
    value = minus ? -nearest : nearest;
    p = q;
    return true;
}

// A float with an optional sign and up to seven digits each side of the point, and no
// exponent.
[[gnu::always_inline]] inline bool QuickFloat(const char*& p, float& value) {
    const char* q = p;
    if (!QuickDecimal(q, value) || *q == 'e' || *q == 'E') return false;
    p = q;
    return true;
}

// An index: up to seven digits, without a sign.
[[gnu::always_inline]] inline bool QuickIndex(const char*& p, std::int32_t& value) {
    std::uint64_t top;
    const int count = DigitRun(p, top);
    if (static_cast<unsigned>(count - 1) > 6) return false;
    value = static_cast<std::int32_t>(EightDigits(top));
    p += count;
    return true;
}

// An integer with an optional sign and up to seven digits.
[[gnu::always_inline]] inline bool QuickInt(const char*& p, std::int32_t& value) {
    const char* q = p;
    const bool minus = *q == '-';
    q += *q == '-' || *q == '+';
    std::int32_t magnitude;
    if (!QuickIndex(q, magnitude)) return false;
    value = minus ? -magnitude : magnitude;
    p = q;
    return true;
}
