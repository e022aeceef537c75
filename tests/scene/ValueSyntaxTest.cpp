#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "scene/ValueSyntax.h"

namespace {

struct Case {
    std::string text;
    std::array<float, 3> expected;
    std::size_t read;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << '"' << c.text << '"'; }

class VectorValue : public ::testing::TestWithParam<Case> {};

TEST_P(VectorValue, ReadsComponentsUntilOneCannotBeRead) {
    const Case& c = GetParam();
    std::array<float, 3> xyz{-1, -1, -1};
    EXPECT_EQ(ParseComponents(c.text, xyz), c.read);
    EXPECT_FLOAT_EQ(xyz[0], c.expected[0]);
    EXPECT_FLOAT_EQ(xyz[1], c.expected[1]);
    EXPECT_FLOAT_EQ(xyz[2], c.expected[2]);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Syntax, VectorValue,
    ::testing::Values(
        Case{"1,2,3", {1, 2, 3}, 3},
        Case{" 1 , 2 , 3", {1, 2, 3}, 3},
        Case{"1;2;3", {1, 2, 3}, 3},
        Case{"1x2/3", {1, 2, 3}, 3},                  // any non-blank character separates
        Case{"1 2 3", {1, 0, 0}, 1},                  // blanks alone do not
        Case{"1,,3", {1, 0, 0}, 1},                   // a separator is one character
        Case{"1,2", {1, 2, 0}, 2},                    // too few components
        Case{"1,2,3,4", {1, 2, 3}, 3},                // extra text is ignored
        Case{"-1.5,+2.25,.5", {-1.5f, 2.25f, 0.5f}, 3},
        Case{"1e2,-2.5E-1,3.e+1", {100, -0.25f, 30}, 3},
        Case{"1.,2.,3.", {1, 2, 3}, 3},
        Case{"\t1\n,\t2 ,\r3", {1, 2, 3}, 3},
        Case{"0x10,1,2", {0, 10, 1}, 3},              // "x" is the separator, as with a stream
        Case{"1e,2,3", {0, 0, 0}, 0},                 // an exponent needs digits
        Case{"1,2e+,3", {1, 0, 0}, 1},
        Case{"abc", {0, 0, 0}, 0},
        Case{"", {0, 0, 0}, 0},
        Case{",1,2", {0, 0, 0}, 0},
        Case{"1,nan,3", {1, 0, 0}, 1},                // no words for numbers
        Case{"1,inf,3", {1, 0, 0}, 1},
        Case{"1,-,3", {1, 0, 0}, 1},
        Case{"1,1e39,3", {1, 0, 0}, 1},               // beyond the float range
        Case{"1,1e-50,3", {1, 0, 3}, 3},              // too small reads as zero
        Case{"1,2,", {1, 2, 0}, 2}));
// clang-format on

// Where the reading stopped, so what was ignored after it can be shown.
TEST(VectorValueEnd, IsJustPastTheLastComponentRead) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"1,2,3", 5}, {"1,2,3,4", 5}, {" 1 , 2 , 3 ", 10}, {"1 2 3", 1}, {"1,x,3", 1}, {"x", 0},
    };
    for (const auto& [text, end] : cases) {
        std::array<float, 3> xyz{};
        std::size_t stopped = 99;
        ParseComponents(text, xyz, stopped);
        EXPECT_EQ(stopped, end) << text;
    }
}

TEST(NumberValue, ReadsLikeAStreamAndIsZeroOtherwise) {
    EXPECT_FLOAT_EQ(ParseFloat("32"), 32.0f);
    EXPECT_FLOAT_EQ(ParseFloat("  -0.125"), -0.125f);
    EXPECT_FLOAT_EQ(ParseFloat("+.5"), 0.5f);
    EXPECT_FLOAT_EQ(ParseFloat("12abc"), 12.0f);
    EXPECT_FLOAT_EQ(ParseFloat("3.4.5"), 3.4f);
    EXPECT_FLOAT_EQ(ParseFloat("1e5x"), 1e5f);
    EXPECT_FLOAT_EQ(ParseFloat("3.4028234e38"), std::numeric_limits<float>::max());
    // Rounded once, straight to the nearest float, as a stream does: just above the
    // largest float still rounds down to it, and a tie broken by a far digit goes up.
    EXPECT_EQ(ParseFloat("3.4028235e38"), std::numeric_limits<float>::max());
    EXPECT_EQ(ParseFloat("1.000000059604644775390626"), std::nextafter(1.0f, 2.0f));
    EXPECT_EQ(ParseFloat("abc"), 0.0f);
    EXPECT_EQ(ParseFloat("."), 0.0f);
    EXPECT_EQ(ParseFloat("--1"), 0.0f);
    EXPECT_EQ(ParseFloat("+-1"), 0.0f);
    EXPECT_EQ(ParseFloat("1e"), 0.0f);
    EXPECT_EQ(ParseFloat("1e99"), 0.0f);
    EXPECT_EQ(ParseFloat(""), 0.0f);
}

TEST(NumberValue, MovesThePositionOnlyPastANumber) {
    const std::string text = " 7.5, x";
    std::size_t pos = 0;
    EXPECT_EQ(ReadNumber(text, pos), 7.5f);
    EXPECT_EQ(pos, 4u);
    pos = 5;
    EXPECT_EQ(ReadNumber(text, pos), std::nullopt);
    EXPECT_EQ(pos, 5u);
}

TEST(VectorValue, GivesAVector3) {
    const Vector3 v = ParseVector3("10,0,-3.5");
    EXPECT_EQ(v.x, 10.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, -3.5f);
}

TEST(VectorValue, ReadsTwoComponentsForAFloat2) {
    std::array<float, 2> xy{-1, -1};
    EXPECT_EQ(ParseComponents("0.25 ; 4", xy), 2u);
    EXPECT_EQ(xy[0], 0.25f);
    EXPECT_EQ(xy[1], 4.0f);
    EXPECT_EQ(ParseComponents("garbage", xy), 0u);
    EXPECT_EQ(xy[0], 0.0f);
    EXPECT_EQ(xy[1], 0.0f);
}

}  // namespace
