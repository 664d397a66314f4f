// ToInteger, ToText and ToByteSet over the value types, through the frame,
// and the shared text forms of numbers and dates.
#include <cstring>

#include "runtime/conversions.h"
#include "gtest/gtest.h"
#include "runtime/gbk.h"
#include "tests/commands/command_call.h"

using namespace qytest;
using namespace qy;

namespace {
ValueRecord FloatRecord(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return ValueRecord{bits, 0, kTypeFloat};
}
ValueRecord Long(int64_t v) {
    return ValueRecord{static_cast<uint32_t>(v), static_cast<uint32_t>(static_cast<uint64_t>(v) >> 32), kTypeLong};
}
ValueRecord Date(double days) { return MakeDoubleRecord(days, kTypeDateTime); }

int32_t ToInt(const ValueRecord& value) { return static_cast<int32_t>(Call(CoreCommand::ToInteger, {value}).low); }
int32_t TextToInt(const std::string& text) {
    Owned holder;
    return ToInt(Text(text, holder));
}
std::string ToText(const ValueRecord& value, bool* isNull = nullptr) {
    return TakeText(Call(CoreCommand::ToText, {value}), isNull);
}
std::string ToBytes(const ValueRecord& value, bool* isNull = nullptr) {
    return TakeBytes(Call(CoreCommand::ToByteSet, {value}), isNull);
}
// Days of a date and time of day.
double At(double date, int hour, int minute, int second) { return date + (hour * 3600 + minute * 60 + second) / 86400.0; }
constexpr double k2023_03_15 = 45000;  // 2023-03-15
}  // namespace

TEST(ToInteger, ReadsTextsAfterFullWidthNormalisation) {
    EXPECT_EQ(123, TextToInt("１２３"));
    EXPECT_EQ(-45, TextToInt("－４５")) << "the full-width minus is a sign";
    EXPECT_EQ(42, TextToInt("　42")) << "the full-width space is white space";
    EXPECT_EQ(12, TextToInt("12ab"));
    EXPECT_EQ(12, TextToInt("１2ａ3")) << "digits end at the first non-digit, full-width or not";
    EXPECT_EQ(0, TextToInt("abc"));
    EXPECT_EQ(0, TextToInt(""));
    EXPECT_EQ(-12, TextToInt(" \t-12"));
    EXPECT_EQ(7, TextToInt("+7"));
    EXPECT_EQ(0, TextToInt("- 7")) << "no digits right after the sign";
    EXPECT_EQ(0, TextToInt("我12")) << "other double-byte characters stay and stop the number";
}

TEST(ToInteger, FullWidthFormsBecomeTheirSingleByteCounterparts) {
    EXPECT_EQ("!~** z我", GbkToHalfWidth("！～☆★　ｚ我"));
    // Scanning goes by characters: the trail byte A3 of the character B0A3
    // must not pair with the lead byte A3 after it.
    EXPECT_EQ("\xB0\xA3" "1", GbkToHalfWidth("\xB0\xA3\xA3\xB1"));
    EXPECT_EQ("a\xA3", GbkToHalfWidth("a\xA3")) << "a lead byte before the terminator stays";
}

TEST(ToInteger, ConvertsNumbersByTheirType) {
    EXPECT_EQ(3, ToInt(Double(3.99)));
    EXPECT_EQ(-3, ToInt(Double(-3.9))) << "toward zero";
    EXPECT_EQ(-3, ToInt(FloatRecord(-3.9f)));
    EXPECT_EQ(1410065408, ToInt(Double(1e10))) << "the low 32 bits of the 64-bit integer";
    EXPECT_EQ(200, ToInt(ValueRecord{200, 0, kTypeByte})) << "bytes are unsigned";
    EXPECT_EQ(-3, ToInt(ValueRecord{0xFFFD, 0, kTypeShort})) << "shorts are sign-extended";
    EXPECT_EQ(5, ToInt(Long(0x100000005LL)));
    EXPECT_EQ(1, ToInt(ValueRecord{7, 0, kTypeLogical}));
    EXPECT_EQ(0, ToInt(Logical(false)));
    EXPECT_EQ(0x401000, ToInt(ValueRecord{0x401000, 0, kTypeSubroutine}));
    EXPECT_EQ(0, ToInt(Date(45000.5)));
    Owned holder;
    EXPECT_EQ(0, ToInt(ByteSet("12", holder)));
}

TEST(ToText, WritesIntegersAndLogicals) {
    EXPECT_EQ("-5", ToText(Int(-5)));
    EXPECT_EQ("200", ToText(ValueRecord{200, 0, kTypeByte}));
    EXPECT_EQ("-3", ToText(ValueRecord{0xFFFD, 0, kTypeShort}));
    EXPECT_EQ("-9223372036854775808", ToText(Long(INT64_MIN)));
    EXPECT_EQ("4294967296", ToText(Long(4294967296LL)));
    EXPECT_EQ("真", ToText(Logical(true)));
    EXPECT_EQ("真", ToText(ValueRecord{2, 0, kTypeLogical}));
    EXPECT_EQ("假", ToText(Logical(false)));
}

TEST(ToText, WritesFloatsToSixAndDoublesToThirteenDigits) {
    EXPECT_EQ("0.1", ToText(FloatRecord(0.1f))) << "a float is not widened into its binary tail";
    EXPECT_EQ("1.23457e+06", ToText(FloatRecord(1234565.0f))) << "the sixth digit rounds half away from zero";
    EXPECT_EQ("-2.5", ToText(FloatRecord(-2.5f)));
    EXPECT_EQ("3.40282e+38", ToText(FloatRecord(3.4028235e38f)));
    EXPECT_EQ("0.3", ToText(Double(0.1 + 0.2)));
    EXPECT_EQ("0.3333333333333", ToText(Double(1.0 / 3)));
    EXPECT_EQ("3.14159265359", ToText(Double(3.14159265358979)));
    EXPECT_EQ("1e+20", ToText(Double(1e20)));
    EXPECT_EQ("123456", ToText(Double(123456)));
}

TEST(ToText, WritesDatesWithTheTimeTailTheyNeed) {
    EXPECT_EQ("2023年3月15日", ToText(Date(k2023_03_15)));
    EXPECT_EQ("2023年3月15日12时", ToText(Date(At(k2023_03_15, 12, 0, 0))));
    EXPECT_EQ("2023年3月15日12时30分", ToText(Date(At(k2023_03_15, 12, 30, 0))));
    EXPECT_EQ("2023年3月15日12时30分15秒", ToText(Date(At(k2023_03_15, 12, 30, 15))));
    EXPECT_EQ("2023年3月15日0时5分", ToText(Date(At(k2023_03_15, 0, 5, 0))));
    EXPECT_EQ("2023年3月15日0时0分1秒", ToText(Date(At(k2023_03_15, 0, 0, 1))));
    EXPECT_EQ("1899年12月30日", ToText(Date(0)));
    EXPECT_EQ("2000年2月29日", ToText(Date(36585)));
    EXPECT_EQ("1900年3月1日", ToText(Date(61))) << "1900 is not a leap year";
    // Before the epoch the fraction is still the time of day.
    EXPECT_EQ("1899年12月29日6时", ToText(Date(-1.25)));
    // A time a hair before midnight is the next day, not 24 o'clock.
    EXPECT_EQ("2000年1月1日", ToText(Date(36526 - 1e-9)));
    EXPECT_EQ("100年1月1日", ToText(Date(-1e7))) << "clamped to the first day";
    EXPECT_EQ("9999年12月31日", ToText(Date(1e7))) << "clamped to the last day";
    EXPECT_EQ(ToText(Date(At(k2023_03_15, 8, 1, 2))), DateTimeText(At(k2023_03_15, 8, 1, 2)))
        << "the shared form is the command's";
}

TEST(ToText, CopiesTextsAndByteSetsUpToTheirFirstZero) {
    Owned text, bytes, empty;
    ValueRecord abc = Text("abc", text);
    ValueRecord result = Call(CoreCommand::ToText, {abc});
    EXPECT_NE(abc.low, result.low) << "a copy, not the argument";
    EXPECT_EQ("abc", TakeText(result));
    EXPECT_EQ("AB", ToText(ByteSet(std::string("AB\0C", 4), bytes)));
    bool isNull = false;
    EXPECT_EQ("", ToText(Text("", empty), &isNull));
    EXPECT_TRUE(isNull) << "the empty text is the null address";
    EXPECT_EQ("", ToText(ValueRecord{0x401000, 0, kTypeSubroutine}, &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ToText, WritesANumericArrayAsItsElementBytes) {
    int32_t array[] = {1, 3, 0x64636261, 0x00006665, 0x41};  // one dimension of three ints
    EXPECT_EQ("abcdef", ToText(Variable(array, kTypeInt)));
    int32_t textArray[] = {1, 1, 0};
    bool isNull = false;
    EXPECT_EQ("", ToText(Variable(textArray, kTypeText), &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ToByteSet, GivesTheLittleEndianImageOfEachType) {
    EXPECT_EQ(std::string("\xC8", 1), ToBytes(ValueRecord{200, 0, kTypeByte}));
    EXPECT_EQ(std::string("\xFD\xFF", 2), ToBytes(ValueRecord{0xFFFD, 0, kTypeShort}));
    EXPECT_EQ(std::string("\x78\x56\x34\x12", 4), ToBytes(Int(0x12345678)));
    EXPECT_EQ(std::string("\x00\x00\xC0\x3F", 4), ToBytes(FloatRecord(1.5f)));
    EXPECT_EQ(std::string("\x02\x00\x00\x00", 4), ToBytes(ValueRecord{2, 0, kTypeLogical})) << "as stored";
    EXPECT_EQ(std::string("\x00\x10\x40\x00", 4), ToBytes(ValueRecord{0x401000, 0, kTypeSubroutine}));
    EXPECT_EQ(std::string("\x05\x00\x00\x00\x01\x00\x00\x00", 8), ToBytes(Long(0x100000005LL)));
    EXPECT_EQ(std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8), ToBytes(Double(1.0)));
    EXPECT_EQ(std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8), ToBytes(Date(1.0)));
}

TEST(ToByteSet, CopiesTextsWithoutTheirTerminatorAndByteSets) {
    Owned text, bytes, empty;
    EXPECT_EQ("我爱你", ToBytes(Text("我爱你", text)));
    ValueRecord set = ByteSet(std::string("a\0b", 3), bytes);
    ValueRecord copy = Call(CoreCommand::ToByteSet, {set});
    EXPECT_NE(set.low, copy.low);
    EXPECT_EQ(std::string("a\0b", 3), TakeBytes(copy));
    bool isNull = false;
    EXPECT_EQ("", ToBytes(Text("", empty), &isNull));
    EXPECT_TRUE(isNull) << "the empty byte set is the null address";
    EXPECT_EQ("", ToBytes(Omitted(), &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ToByteSet, TakesTheElementsOfAOneDimensionalNumericArray) {
    // The block's header words are ints: dimension count 1, size 3; then 1, 2, 3.
    int16_t shorts[] = {1, 0, 3, 0, 1, 2, 3};
    EXPECT_EQ(std::string("\x01\x00\x02\x00\x03\x00", 6), ToBytes(Variable(shorts, qy::kTypeShort)));
    int32_t twoDimensions[] = {2, 1, 2, 7, 8};
    bool isNull = false;
    EXPECT_EQ("", ToBytes(Variable(twoDimensions, kTypeInt), &isNull));
    EXPECT_TRUE(isNull);
    int32_t logicals[] = {1, 1, 1};
    EXPECT_EQ("", ToBytes(Variable(logicals, kTypeLogical), &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ToTextAndToByteSet, AByteSetsLengthIsATextsByteLength) {
    Owned holder;
    ValueRecord bytes = Call(CoreCommand::ToByteSet, {Text("砌字成图 ok", holder)});
    bytes.type = kTypeByteSet;  // the caller knows the result's type and passes it on typed
    EXPECT_EQ(11u, Call(CoreCommand::ByteSetLength, {bytes}).low);
    Free(reinterpret_cast<void*>(static_cast<uintptr_t>(bytes.low)));
}
