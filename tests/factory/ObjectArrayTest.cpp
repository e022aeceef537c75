#include "factory/ObjectArray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "objects/IGraphicObject.h"

namespace {

struct Dummy : IGraphicObject {
    void Draw() override {}
    void Prepare() override {}
};

TEST(ObjectArray, KeepsCreationOrderAndGrowsBy128Slots) {
    std::vector<Dummy> objects(300);
    ObjectArray array;
    EXPECT_EQ(array.Capacity(), 128u);
    for (std::size_t i = 0; i < 128; ++i) array.Append(&objects[i]);
    EXPECT_EQ(array.Capacity(), 128u);
    array.Append(&objects[128]);
    EXPECT_EQ(array.Capacity(), 256u);
    for (std::size_t i = 129; i < 300; ++i) array.Append(&objects[i]);
    EXPECT_EQ(array.Capacity(), 384u);
    ASSERT_EQ(array.Count(), 300u);
    for (std::size_t i = 0; i < 300; ++i) EXPECT_EQ(array[i], &objects[i]) << i;
}

TEST(ObjectArray, IndexAtOrBeyondTheCountThrowsOutOfRange) {
    Dummy object;
    ObjectArray array;
    for (const std::size_t index : {std::size_t{0}, std::size_t{1}, std::size_t{127}}) {
        try {
            (void)array[index];
            FAIL() << "no exception for index " << index;
        } catch (const char* what) {
            EXPECT_STREQ(what, "out of range");
        }
    }
    array.Append(&object);
    EXPECT_EQ(array[0], &object);
    EXPECT_THROW((void)array[1], const char*);
}

}  // namespace
