#include "runtime/value.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "gtest/gtest.h"
#include "runtime/memory.h"
#include "runtime/program_path.h"

using namespace qy;

namespace {
double StoredDateTime(double in) {
    ValueRecord r{0, 0, kTypeDateTime};
    StoreValue(&r, &in, 8);
    return RecordDouble(r);
}
}  // namespace

TEST(StoreValue, TextStopsAtTheFirstZeroByteAndCountsIt) {
    ValueRecord r{0, 0, kTypeText};
    EXPECT_EQ(3, StoreValue(&r, "ab\0cd", 5));
    EXPECT_STREQ("ab", TextOf(r));
    Free(const_cast<char*>(TextOf(r)));

    EXPECT_EQ(5, StoreValue(&r, "abcdefgh", 5));
    EXPECT_STREQ("abcde", TextOf(r));
    Free(const_cast<char*>(TextOf(r)));

    r.low = 0x1234;
    EXPECT_EQ(0, StoreValue(&r, "abc", 0));
    EXPECT_EQ(nullptr, TextOf(r)) << "a zero length stores the empty text";

    // A leading zero byte gives the empty text but still consumes that byte.
    EXPECT_EQ(1, StoreValue(&r, "\0x", 2));
    EXPECT_EQ(nullptr, TextOf(r));
}

TEST(StoreValue, DateTimeIsClampedIntoItsRange) {
    EXPECT_EQ(kDateTimeMax, StoredDateTime(2958465.5));
    EXPECT_EQ(kDateTimeMin, StoredDateTime(-657434.5));
    EXPECT_EQ(kDateTimeMax, StoredDateTime(2958465.0));
    EXPECT_EQ(kDateTimeMin, StoredDateTime(-657434.0));
    EXPECT_EQ(45000.25, StoredDateTime(45000.25));
    EXPECT_EQ(kDateTimeMax, StoredDateTime(std::numeric_limits<double>::quiet_NaN()));
}

TEST(StoreValue, NarrowAndWideTypes) {
    ValueRecord logical{0, 0, kTypeLogical};
    uint32_t word = 0x100;
    EXPECT_EQ(0, StoreValue(&logical, &word, 4));
    EXPECT_EQ(1u, logical.low);

    ValueRecord byte{0xFFFFFFFF, 0, kTypeByte};
    uint8_t b = 0xAB;
    StoreValue(&byte, &b, 1);
    EXPECT_EQ(0xABu, byte.low);

    ValueRecord longValue{0, 0, kTypeLong};
    int64_t big = -2;
    StoreValue(&longValue, &big, 8);
    EXPECT_EQ(0xFFFFFFFEu, longValue.low);
    EXPECT_EQ(0xFFFFFFFFu, longValue.high);

    ValueRecord bytes{0, 0, kTypeByteSet};
    StoreValue(&bytes, "xyz", 3);
    const void* block = reinterpret_cast<const void*>(static_cast<uintptr_t>(bytes.low));
    ASSERT_EQ(3, ByteSetLength(block));
    EXPECT_EQ(0, std::memcmp("xyz", ByteSetData(block), 3));
    Free(const_cast<void*>(block));

    ValueRecord unknown{7, 7, 0x80000008};
    int64_t eight = 5;
    EXPECT_EQ(0, StoreValue(&unknown, &eight, 8));
    EXPECT_EQ(7u, unknown.low) << "the 8-byte type is not stored";
}

TEST(Constructors, ZeroLengthGivesTheEmptyValue) {
    EXPECT_EQ(nullptr, NewText("abc", 0));
    EXPECT_EQ(nullptr, NewText("abc", -1));
    EXPECT_EQ(nullptr, NewByteSet("abc", 0));

    char* text = NewText("abc", 2);
    EXPECT_STREQ("ab", text);
    Free(text);

    auto* set = static_cast<int32_t*>(NewByteSet("abcd", 4));
    EXPECT_EQ(1, set[0]);
    EXPECT_EQ(4, set[1]);
    EXPECT_EQ(0, std::memcmp(set + 2, "abcd", 4));
    Free(set);
}

TEST(ValueDataSize, SizesAndAddressesPerType) {
    int size = -1;
    ValueRecord i = MakeIntRecord(5);
    EXPECT_EQ(&i, ValueDataSize(&i, &size));
    EXPECT_EQ(4, size);

    ValueRecord d = MakeDoubleRecord(1.5);
    EXPECT_EQ(&d, ValueDataSize(&d, &size));
    EXPECT_EQ(8, size);

    ValueRecord s{0, 0, kTypeShort};
    ValueDataSize(&s, &size);
    EXPECT_EQ(2, size);

    ValueRecord t = MakeTextRecord("hey");
    EXPECT_EQ(static_cast<const void*>(TextOf(t)), ValueDataSize(&t, &size));
    EXPECT_EQ(4, size) << "text size counts the terminator";

    const int32_t emptySet[2] = {1, 0};
    ValueRecord e{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(emptySet)), 0, kTypeByteSet};
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(emptySet) + 8, ValueDataSize(&e, &size));
    EXPECT_EQ(0, size);

    ValueRecord library{0, 0, 0x00010008};
    EXPECT_EQ(nullptr, ValueDataSize(&library, &size));
}

TEST(TypeCodes, ClassificationIgnoresTheByAddressBit) {
    EXPECT_EQ(kClassNone, TypeClass(0));
    EXPECT_EQ(kClassBasic, TypeClass(kTypeText));
    EXPECT_EQ(kClassBasic, TypeClass(kTypeInt | kByAddress));
    EXPECT_EQ(kClassUser, TypeClass(0x40000001));
    EXPECT_EQ(kClassUser, TypeClass(0x40000001 | kByAddress));
    EXPECT_EQ(kClassLibrary, TypeClass(0x00010008));
    EXPECT_EQ(kClassLibrary, TypeClass(0xC0010001));

    EXPECT_EQ(1, NumericSize(kTypeByte));
    EXPECT_EQ(2, NumericSize(kTypeShort));
    EXPECT_EQ(4, NumericSize(kTypeFloat));
    EXPECT_EQ(8, NumericSize(kTypeLong));
    EXPECT_EQ(0, NumericSize(kTypeLogical));
    EXPECT_EQ(0, NumericSize(kTypeDateTime));
}

TEST(ArrayElements, CountIsTheProductOfTheDimensions) {
    int32_t none[2] = {0, 42};
    int count = -1;
    EXPECT_EQ(&none[1], ArrayElements(none, &count));
    EXPECT_EQ(1, count);

    int32_t grid[3 + 6] = {2, 2, 3, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(&grid[3], ArrayElements(grid, &count));
    EXPECT_EQ(6, count);
}

TEST(Conversions, RecordToIntTakesEachTypeItsOwnWay) {
    EXPECT_EQ(255, ValueToInt(ValueRecord{0xFFFFFFFF, 0, kTypeByte}));
    EXPECT_EQ(-1, ValueToInt(ValueRecord{0xFFFF, 0, kTypeShort}));
    EXPECT_EQ(7, ValueToInt(ValueRecord{7, 99, kTypeLong})) << "low 32 bits of a long";
    EXPECT_EQ(-2, ValueToInt(MakeDoubleRecord(-2.9)));
    float f = 3.99f;
    ValueRecord fr{0, 0, kTypeFloat};
    std::memcpy(&fr.low, &f, 4);
    EXPECT_EQ(3, ValueToInt(fr));
    EXPECT_DOUBLE_EQ(3.99f, ValueToNumber(fr));
    EXPECT_EQ(-5.0, ValueToNumber(ValueRecord{0xFFFB, 0, kTypeShort}));
}

TEST(ProgramPath, SplitsAtTheLastRealBackslash) {
    std::string directory, file;
    SplitProgramPath("C:\\games\\qizi.exe", &directory, &file);
    EXPECT_EQ("C:\\games", directory);
    EXPECT_EQ("qizi.exe", file);

    SplitProgramPath("qizi.exe", &directory, &file);
    EXPECT_EQ("", directory);
    EXPECT_EQ("qizi.exe", file);

    // 0x5C as the trail byte of a double-byte character is not a separator.
    SplitProgramPath("C:\\d\x81\x5C" "x.exe", &directory, &file);
    EXPECT_EQ("C:", directory);
    EXPECT_EQ("d\x81\x5C" "x.exe", file);

    EXPECT_EQ("C:\\games\\", ModuleDirectoryOf("C:\\games\\qizi.exe"));
    EXPECT_EQ("", ModuleDirectoryOf("qizi.exe"));
}
