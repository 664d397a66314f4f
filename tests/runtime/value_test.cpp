#include "runtime/value.h"

#include <cstring>

#include "gtest/gtest.h"
#include "runtime/memory.h"

using namespace qy;

TEST(StoreValue, TextStopsAtTheFirstZeroByteAndCountsIt) {
    ValueRecord r{0, 0, kTypeText};
    EXPECT_EQ(3, StoreValue(&r, "ab\0cd", 5));
    EXPECT_STREQ("ab", TextOf(r));
    Free(const_cast<char*>(TextOf(r)));

    EXPECT_EQ(5, StoreValue(&r, "abcdefgh", 5));
    EXPECT_STREQ("abcde", TextOf(r));
    Free(const_cast<char*>(TextOf(r)));
}
