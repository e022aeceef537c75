#include "common/NearestName.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kTextures{"bricks", "checker", "stone", "NULL"};

TEST(NearestNameTest, FindsTheNameAMisspellingWasMeantToBe) {
    EXPECT_EQ(NearestName("brciks", kTextures), "bricks");    // neighbours swapped
    EXPECT_EQ(NearestName("bricks2", kTextures), "bricks");   // one letter too many
    EXPECT_EQ(NearestName("chcker", kTextures), "checker");   // one letter dropped
    EXPECT_EQ(NearestName("Stone", kTextures), "stone");      // case only
    EXPECT_EQ(NearestName("null", kTextures), "NULL");        // case only, short name
    EXPECT_EQ(NearestName("stnoe1", kTextures), "stone");     // two edits in a longer name
}

TEST(NearestNameTest, StaysSilentWhenNothingIsClose) {
    EXPECT_EQ(NearestName("bricks", kTextures), std::nullopt);  // defined: nothing to suggest
    EXPECT_EQ(NearestName("", kTextures), std::nullopt);
    EXPECT_EQ(NearestName("marble", kTextures), std::nullopt);
    EXPECT_EQ(NearestName("sxoxx", kTextures), std::nullopt);   // three edits from stone
    EXPECT_EQ(NearestName("NUXX", kTextures), std::nullopt);    // two edits in a short name
    EXPECT_EQ(NearestName("bricks", {}), std::nullopt);
}

TEST(NearestNameTest, PrefersTheCloserAndThenTheEarlierName) {
    EXPECT_EQ(NearestName("pant", {"paints", "paint"}), "paint");
    EXPECT_EQ(NearestName("cat", {"bat", "hat"}), "bat");
}

}  // namespace
