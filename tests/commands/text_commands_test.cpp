// Text and memory commands, called through the command frame.
#include "gtest/gtest.h"
#include "tests/commands/command_call.h"

using namespace qytest;

namespace {
// MidText of a text from a 1-based byte position; isNull reports a null result.
std::string Mid(const std::string& text, int start, int count, bool* isNull = nullptr) {
    Owned holder;
    return TakeText(Call(CoreCommand::MidText, {Text(text, holder), Int(start), Int(count)}), isNull);
}
std::string Right(const std::string& text, int count, bool* isNull = nullptr) {
    Owned holder;
    return TakeText(Call(CoreCommand::RightText, {Text(text, holder), Int(count)}), isNull);
}
int Compare(const std::string& a, const std::string& b, bool caseSensitive) {
    Owned ha, hb;
    return static_cast<int32_t>(Call(CoreCommand::CompareText, {Text(a, ha), Text(b, hb), Logical(caseSensitive)}).low);
}
}  // namespace

TEST(TextLength, CountsBytesSoAChineseCharacterCountsTwo) {
    Owned holder;
    EXPECT_EQ(6u, Call(CoreCommand::TextLength, {Text("我爱你", holder)}).low);
    EXPECT_EQ(0u, Call(CoreCommand::TextLength, {Text("", holder)}).low);
    ValueRecord result = Call(CoreCommand::TextLength, {Text("", holder)});
    EXPECT_EQ(0u, result.type) << "a fixed-type command leaves the type word alone";
}

TEST(MidText, CutsAtBytePositionsEvenInsideACharacter) {
    EXPECT_EQ("爱", Mid("我爱你", 3, 2));
    std::string halves = Mid("我爱你", 2, 2);
    EXPECT_EQ(std::string("\xD2\xB0"), halves) << "the trail byte of 我 and the lead byte of 爱";
    EXPECT_EQ(std::string("\xE3"), Mid("我爱你", 6, 5)) << "a count past the end stops at the end";
    EXPECT_EQ("我爱你", Mid("我爱你", 1, 100));

    for (int start : {7, 0, -1, -2147483647 - 1}) {
        bool isNull = false;
        EXPECT_EQ("", Mid("我爱你", start, 2, &isNull)) << "start " << start;
        EXPECT_TRUE(isNull) << "the empty text is the null address, start " << start;
    }
    bool isNull = false;
    EXPECT_EQ("", Mid("我爱你", 1, 0, &isNull));
    EXPECT_TRUE(isNull);
    EXPECT_EQ("", Mid("我爱你", 1, -3));
    EXPECT_EQ("", Mid("", 1, 1));
    EXPECT_EQ("c", Mid("abc", 3, 2147483647)) << "a huge count does not overflow the bound";
}

TEST(MidText, ReturnsAFreshCopyOwnedByTheCaller) {
    Owned holder;
    ValueRecord text = Text("abc", holder);
    ValueRecord result = Call(CoreCommand::MidText, {text, Int(1), Int(3)});
    EXPECT_NE(text.low, result.low) << "a result never aliases an argument";
    EXPECT_EQ("abc", TakeText(result));
}

TEST(RightText, TakesTheLastBytes) {
    EXPECT_EQ("abc", Right("abc", 5));
    EXPECT_EQ("bc", Right("abc", 2));
    EXPECT_EQ(std::string("\xE3"), Right("我爱你", 1));
    for (int count : {0, -1}) {
        bool isNull = false;
        EXPECT_EQ("", Right("abc", count, &isNull));
        EXPECT_TRUE(isNull);
    }
    bool isNull = false;
    EXPECT_EQ("", Right("", 3, &isNull));
    EXPECT_TRUE(isNull);
}

TEST(CompareText, CaseMattersOnlyWhenAskedFor) {
    EXPECT_GT(Compare("abc", "ABC", true), 0);
    EXPECT_EQ(0, Compare("abc", "ABC", false));
    EXPECT_EQ(0, Compare("abc", "abc", true));
    EXPECT_LT(Compare("a", "ab", true), 0) << "a prefix sorts first";
    EXPECT_GT(Compare("b", "a", false), 0);
    EXPECT_LT(Compare("", "a", true), 0);
}

TEST(CompareText, ComparesDoubleByteCharactersAsSixteenBitValues) {
    EXPECT_LT(Compare("啊", "我", true), 0);  // B0A1 < CED2
    EXPECT_GT(Compare("我", "z", true), 0) << "a double-byte character sorts after every single byte";
    // The same lead byte with trail bytes 'a' and 'A' are two different
    // characters: folding must not reach into a trail byte.
    EXPECT_NE(0, Compare("\x81" "a", "\x81" "A", false));
    // A lead byte before the terminator is a single byte of its own.
    EXPECT_LT(Compare("\xB0", "\xB0\xA1", true), 0);
}

TEST(CompareText, FoldsFullWidthLettersWhenNotCaseSensitive) {
    EXPECT_EQ(0, Compare("ａｂｃ", "ＡＢＣ", false));
    EXPECT_NE(0, Compare("ａｂｃ", "ＡＢＣ", true));
    EXPECT_NE(0, Compare("ａ", "a", false)) << "full-width and ASCII letters stay different characters";
    EXPECT_EQ(0, Compare("Ab我ｃ", "aB我Ｃ", false));
}

TEST(CompareText, AnOmittedCaseFlagComparesExactly) {
    Owned ha, hb;
    EXPECT_NE(0u, Call(CoreCommand::CompareText, {Text("a", ha), Text("A", hb), Omitted()}).low);
}

TEST(PointerToText, CopiesTheStringAtAnAddress) {
    char buffer[] = "我们";
    ValueRecord result = Call(CoreCommand::PointerToText, {Int(static_cast<int32_t>(Word(buffer)))});
    EXPECT_NE(Word(buffer), result.low);
    EXPECT_EQ("我们", TakeText(result));

    bool isNull = false;
    EXPECT_EQ("", TakeText(Call(CoreCommand::PointerToText, {Int(0)}), &isNull));
    EXPECT_TRUE(isNull);
    char empty[] = "";
    EXPECT_EQ("", TakeText(Call(CoreCommand::PointerToText, {Int(static_cast<int32_t>(Word(empty)))}), &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ByteSetLength, CountsBytesAndTheEmptyConstantIsZero) {
    Owned holder;
    EXPECT_EQ(3u, Call(CoreCommand::ByteSetLength, {ByteSet(std::string("a\0b", 3), holder)}).low);
    EXPECT_EQ(0u, Call(CoreCommand::ByteSetLength, {ByteSet("", holder)}).low);
}

TEST(PointerToByteSet, CopiesBytesFromAnAddress) {
    const uint8_t image[] = {0x4D, 0x5A, 0x90, 0x00, 0x03};
    bool isNull = true;
    EXPECT_EQ(std::string("\x5A\x90\x00", 3),
              TakeBytes(Call(CoreCommand::PointerToByteSet, {Int(static_cast<int32_t>(Word(image + 1))), Int(3)}), &isNull));
    EXPECT_FALSE(isNull);

    // A length of 0 gives the empty byte set whatever the address.
    EXPECT_EQ("", TakeBytes(Call(CoreCommand::PointerToByteSet, {Int(1234), Int(0)}), &isNull));
    EXPECT_TRUE(isNull);
    EXPECT_EQ("", TakeBytes(Call(CoreCommand::PointerToByteSet, {Int(1234), Int(-5)}), &isNull));
    EXPECT_TRUE(isNull);
    // The null address would only fault; it reads as nothing.
    EXPECT_EQ("", TakeBytes(Call(CoreCommand::PointerToByteSet, {Int(0), Int(4)}), &isNull));
    EXPECT_TRUE(isNull);
}
