#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "gl/GlObject.h"

namespace {

// Hands out names 1, 2, ... and records every deletion, in order.
struct CountingKind {
    static inline std::uint32_t made = 0;
    static inline std::vector<std::uint32_t> deleted;
    static std::uint32_t Create() { return ++made; }
    static void Delete(std::uint32_t name) { deleted.push_back(name); }
};
using Counted = GlObject<CountingKind>;
using Names = std::vector<std::uint32_t>;

TEST(GlObject, EachNameIsDeletedOnceByItsLastHolderAndEmptyHandlesDeleteNothing) {
    {
        Counted empty, alsoEmpty(std::move(empty));
        empty = std::move(alsoEmpty);
        empty.Release();
    }
    EXPECT_EQ(CountingKind::made, 0u);
    EXPECT_TRUE(CountingKind::deleted.empty());
    {
        Counted first = Counted::Create(), second = Counted::Create();
        Counted moved(std::move(first));
        EXPECT_EQ(first.Id(), 0u);
        EXPECT_EQ(moved.Id(), 1u);
        second = std::move(moved);  // deletes 2, takes 1
        EXPECT_EQ(CountingKind::deleted, Names{2});
        EXPECT_EQ(second.Id(), 1u);
        EXPECT_EQ(moved.Id(), 0u);
        Counted& same = second;
        second = std::move(same);
        EXPECT_EQ(second.Id(), 1u);

        Counted third = Counted::Create();
        third.Release();
        third.Release();
        EXPECT_EQ(third.Id(), 0u);
        EXPECT_EQ(CountingKind::deleted, (Names{2, 3}));
    }
    EXPECT_EQ(CountingKind::deleted, (Names{2, 3, 1}));
}

}  // namespace
