#include "objects/internal/TextCursor.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// Numbers as model files write them, and the ones that are hard to round: halfway
// between two floats, or printed with up to 17 digits so that the nearest double lies
// right at such a halfway point.
std::vector<std::string> Decimals() {
    std::mt19937_64 random(7);
    std::vector<std::string> numbers = {"0",
                                        "-0",
                                        "0.0",
                                        "-0.000000",
                                        "1.",
                                        ".5",
                                        "+2",
                                        "3.4028235e38",
                                        "1.17549435e-38",
                                        "16777217",
                                        "0.1",
                                        "9999999.9999999",
                                        "1.000000059604644775390625"};
    for (int i = 0; i < 20000; ++i) {
        // Up to seven digits each side of the point, as exporters write them.
        const int whole = static_cast<int>(random() % 8), fraction = static_cast<int>(random() % 8);
        std::string text = random() % 2 ? "-" : "";
        for (int d = 0; d < whole; ++d) text += static_cast<char>('0' + random() % 10);
        if (fraction > 0 || whole == 0) text += ".";
        for (int d = 0; d < std::max(fraction, whole == 0 ? 1 : 0); ++d)
            text += static_cast<char>('0' + random() % 10);
        numbers.push_back(text);

        // Halfway between a float and the next, written exactly and to 9 to 17 digits.
        const float below =
            std::bit_cast<float>(static_cast<std::uint32_t>(0x00800000u + random() % 0x7E800000u));
        const double halfway =
            (static_cast<double>(below) +
             static_cast<double>(std::nextafter(below, std::numeric_limits<float>::max()))) /
            2;
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.*g", 9 + static_cast<int>(random() % 9), halfway);
        numbers.push_back(printed);
        std::snprintf(printed, sizeof printed, "%.40f", halfway);
        numbers.push_back(printed);
    }
    return numbers;
}

}  // namespace

// Quick ways of reading must give the float std::from_chars gives, bit for bit.
TEST(TextCursor, ReadsFloatsAsFromCharsDoes) {
    int compared = 0;
    for (const std::string& number : Decimals()) {
        float expected = 0;
        const char* first = number.data() + (number[0] == '+');
        const auto [stop, error] = std::from_chars(first, number.data() + number.size(), expected);
        // Numbers too small for a normal float are read otherwise; another test has them.
        if (error != std::errc()) continue;
        ++compared;
        // Alone, so the end of the text is near, and inside a long line, so it is not.
        for (const std::string& text : {number, "  " + number + " 1" + std::string(40, ' ')}) {
            TextCursor in(text);
            float value = -1;
            ASSERT_TRUE(in.ReadFloat(value)) << number;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(expected))
                << number << " read as " << value << ", not " << expected;
            // The whole number is read, up to what follows it.
            EXPECT_EQ(std::string(in.Token()), text.size() > number.size() ? "1" : "") << number;
        }
    }
    EXPECT_GT(compared, 55000);
}

TEST(TextCursor, ReadsIntegersOfEveryLengthAndRefusesThoseOutOfRange) {
    const struct {
        const char* text;
        bool read;
        std::int32_t value;
    } cases[] = {
        {"7", true, 7},
        {"-1234567", true, -1234567},
        {"12345678", true, 12345678},
        {"+2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"000000000000042", true, 42},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999", false, 0},
        {"+-1", false, 0},
        {"-", false, 0},
        {"/3", false, 0},
    };
    for (const auto& c : cases) {
        for (const std::string& text :
             {std::string(c.text), " " + std::string(c.text) + "/9" + std::string(40, ' ')}) {
            TextCursor in(text);
            std::int32_t value = 0;
            EXPECT_EQ(in.ReadInt(value), c.read) << text;
            if (c.read) {
                EXPECT_EQ(value, c.value) << text;
            } else {
                // A failed read consumes only the whitespace before it.
                EXPECT_EQ(std::string(in.Upcoming(2)), text.substr(text.find_first_not_of(' '), 2))
                    << text;
            }
        }
    }
}

// What a caller reading a file in parts relies on: any read that might have read more
// with more text after it says so, and no other does.
TEST(TextCursor, SaysWhenAReadStoppedAtTheEndOfTheText) {
    const struct {
        const char* text;
        bool reachedEnd;
    } cases[] = {{"12", true},    {"12 ", false}, {"1.5e", true}, {"1.5e+", true},
                 {"1.5x", false}, {"-", true},    {"   ", true},  {"x", false}};
    for (const auto& c : cases) {
        TextCursor floats(c.text), integers(c.text);
        float f;
        std::int32_t i;
        floats.ReadFloat(f);
        EXPECT_EQ(floats.ReachedEnd(), c.reachedEnd) << c.text;
        if (std::string(c.text).find_first_of(".e") == std::string::npos) {
            integers.ReadInt(i);
            EXPECT_EQ(integers.ReachedEnd(), c.reachedEnd) << c.text;
        }
    }
    TextCursor line("v 1\nv 2");
    line.SkipLine();
    EXPECT_FALSE(line.ReachedEnd());
    line.SkipLine();
    EXPECT_TRUE(line.ReachedEnd());
}
