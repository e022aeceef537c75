#include "scene/ValueSyntax.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos;
}

// Decimal conversion that does not depend on the process's locale. Straight to float, as
// a stream converts: through a double, the value would be rounded twice, and a number
// just above the largest float would be refused although it rounds down to it.
float ToFloat(const std::string& token) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtof_l(token.c_str(), nullptr, cLocale);
}

}  // namespace

std::optional<float> ReadNumber(std::string_view text, std::size_t& pos) {
    std::size_t at = pos;
    while (at < text.size() && IsBlank(text[at])) ++at;
    const std::size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;

    const std::size_t integerEnd = SkipDigits(text, at);
    std::size_t digits = integerEnd - at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        digits += fractionEnd - (at + 1);
        at = fractionEnd;
    }
    if (digits == 0) return std::nullopt;

    // A stream takes the exponent's letter and sign as part of the number, so "1e" and
    // "1e+" are failures, not 1 followed by text.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd == exponent) return std::nullopt;
        at = exponentEnd;
    }

    const float value = ToFloat(std::string(text.substr(start, at - start)));
    // Too large for a float is a failed read; too small reads as the nearest float (zero,
    // at the end), as with a stream.
    if (std::isinf(value)) return std::nullopt;
    pos = at;
    return value;
}

float ParseFloat(std::string_view text) {
    std::size_t pos = 0;
    return ReadNumber(text, pos).value_or(0.0f);
}

std::size_t ParseComponents(std::string_view text, std::span<float> components) {
    std::size_t end = 0;
    return ParseComponents(text, components, end);
}

std::size_t ParseComponents(std::string_view text, std::span<float> components, std::size_t& end) {
    std::fill(components.begin(), components.end(), 0.0f);
    end = 0;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) {
            while (pos < text.size() && IsBlank(text[pos])) ++pos;
            if (pos == text.size() || IsDigit(text[pos])) return i;
            ++pos;  // the separator
        }
        const std::optional<float> value = ReadNumber(text, pos);
        if (!value) return i;
        components[i] = *value;
        end = pos;
    }
    return components.size();
}

Vector3 ParseVector3(std::string_view text) {
    std::array<float, 3> xyz{};
    ParseComponents(text, xyz);
    return {xyz[0], xyz[1], xyz[2]};
}
