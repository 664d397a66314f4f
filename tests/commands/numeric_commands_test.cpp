// Bitwise, rounding and binary-reading commands, called through the frame.
#include <cstdint>
#include <utility>

#include "gtest/gtest.h"
#include "runtime/errors.h"
#include "tests/commands/command_call.h"
#include "tests/support/child_process.h"

using namespace qytest;
using qy::kTypeInt;

namespace {
int32_t IntOf(const ValueRecord& r) { return static_cast<int32_t>(r.low); }
int32_t Floor(double x) { return IntOf(Call(CoreCommand::FloorToInteger, {Double(x)})); }

// ReadByteSetValue of the bytes with the kind and a position record.
ValueRecord ReadValue(const std::string& bytes, int kind, ValueRecord position) {
    Owned holder;
    return Call(CoreCommand::ReadByteSetValue, {ByteSet(bytes, holder), Int(kind), position});
}
}  // namespace

TEST(BitAndBitOr, FoldEveryArgumentIn) {
    EXPECT_EQ(0x5678, IntOf(Call(CoreCommand::BitAnd, {Int(0x12345678), Int(65535)})));
    EXPECT_EQ(0xFFFF, IntOf(Call(CoreCommand::BitAnd, {Int(-1), Int(65535)})));
    EXPECT_EQ(0x10, IntOf(Call(CoreCommand::BitAnd, {Int(0x1F), Int(0xF0), Int(0x3C)})));
    EXPECT_EQ(12288, IntOf(Call(CoreCommand::BitOr, {Int(4096), Int(8192)})));
    EXPECT_EQ(7, IntOf(Call(CoreCommand::BitOr, {Int(1), Int(2), Int(4)})));
    EXPECT_EQ(-7, IntOf(Call(CoreCommand::BitOr, {Int(-7)}))) << "a single argument comes back unchanged";
}

TEST(ShiftRight, ShiftsArithmeticallyByTheLowFiveBitsOfTheCount) {
    EXPECT_EQ(static_cast<int32_t>(0xFFFF8000), IntOf(Call(CoreCommand::ShiftRight, {Int(INT32_MIN), Int(16)})));
    EXPECT_EQ(static_cast<int32_t>(0xC0000000), IntOf(Call(CoreCommand::ShiftRight, {Int(INT32_MIN), Int(33)})))
        << "33 shifts by 1";
    EXPECT_EQ(-4, IntOf(Call(CoreCommand::ShiftRight, {Int(-16), Int(2)})));
    EXPECT_EQ(0x40, IntOf(Call(CoreCommand::ShiftRight, {Int(0x100), Int(2)})));
    EXPECT_EQ(123, IntOf(Call(CoreCommand::ShiftRight, {Int(123), Int(32)}))) << "32 shifts by nothing";
}

TEST(FloorToInteger, RoundsDownAfterSnappingNearlyWholeNumbers) {
    EXPECT_EQ(3, Floor(3.7));
    EXPECT_EQ(-4, Floor(-3.2));
    EXPECT_EQ(3, Floor(2.9999999999995));
    EXPECT_EQ(2, Floor(2.999999));
    EXPECT_EQ(-1, Floor(-0.5));
    EXPECT_EQ(-1, Floor(-0.9999999999995));
    EXPECT_EQ(-3, Floor(-2.9999999999995));
    EXPECT_EQ(5, Floor(5.0));
    EXPECT_EQ(-5, Floor(-5.0));
    EXPECT_EQ(705032704, Floor(5e9)) << "the low 32 bits of the 64-bit integer";
    EXPECT_EQ(0, Floor(1e300)) << "beyond the 64-bit range";
    EXPECT_EQ(2, IntOf(Call(CoreCommand::FloorToInteger, {ValueRecord{0x40200000u, 0, qy::kTypeFloat}})))
        << "a float argument (2.5) is widened";
}

TEST(MakeColor, PacksTheLowBytesAsBlueGreenRed) {
    EXPECT_EQ(0x0000FF, IntOf(Call(CoreCommand::MakeColor, {Int(255), Int(0), Int(0)})));
    EXPECT_EQ(0, IntOf(Call(CoreCommand::MakeColor, {Int(256), Int(0), Int(0)})));
    EXPECT_EQ(0x030201, IntOf(Call(CoreCommand::MakeColor, {Int(1), Int(2), Int(3)})));
    EXPECT_EQ(0xFFFFFF, IntOf(Call(CoreCommand::MakeColor, {Int(-1), Int(-1), Int(-1)})));
}

TEST(ReadByteSetValue, ReadsEachKindWithItsTypeCode) {
    const std::string data("\xFE\xFF\x01\x00\x00\x00\xF0\x3F", 8);
    struct Case {
        int kind;
        uint32_t type;
        uint32_t low, high;
    } cases[] = {
        {1, qy::kTypeByte, 0xFE, 0},
        {2, qy::kTypeShort, 0xFFFE, 0},
        {3, qy::kTypeInt, 0x0001FFFE, 0},
        {4, qy::kTypeLong, 0x0001FFFE, 0x3FF00000},
        {5, qy::kTypeFloat, 0x0001FFFE, 0},
        {6, qy::kTypeDouble, 0x0001FFFE, 0x3FF00000},
        {7, qy::kTypeLogical, 1, 0},
        {9, qy::kTypeSubroutine, 0x0001FFFE, 0},
    };
    for (const Case& c : cases) {
        ValueRecord r = ReadValue(data, c.kind, Omitted());
        EXPECT_EQ(c.type, r.type) << "kind " << c.kind;
        EXPECT_EQ(c.low, r.low) << "kind " << c.kind;
        EXPECT_EQ(c.high, r.high) << "kind " << c.kind;
    }
    EXPECT_EQ(0u, ReadValue(std::string(4, '\0'), 7, Omitted()).low) << "logical false";

    // A date-time is clamped into its range.
    double tooLate = 1e7, early = -1e7, inRange = 45000.25;
    for (auto [in, out] : {std::pair<double, double>{tooLate, 2958465.0}, {early, -657434.0}, {inRange, inRange}}) {
        ValueRecord r = ReadValue(std::string(reinterpret_cast<const char*>(&in), 8), 8, Omitted());
        EXPECT_EQ(qy::kTypeDateTime, r.type);
        EXPECT_EQ(out, qy::RecordDouble(r));
    }

    ValueRecord text = ReadValue(std::string("ab\0cd", 5), 10, Omitted());
    EXPECT_EQ(qy::kTypeText, text.type);
    EXPECT_EQ("ab", TakeText(text));
}

TEST(ReadByteSetValue, MissingHighBytesReadAsZero) {
    EXPECT_EQ(0x0201u, ReadValue("\x01\x02", 3, Omitted()).low) << "two bytes are the low half of the int";
    ValueRecord longValue = ReadValue("\x01\x02\x03", 4, Int(2));
    EXPECT_EQ(0x0302u, longValue.low);
    EXPECT_EQ(0u, longValue.high);
    EXPECT_EQ(0u, ReadValue("\x01\x02", 3, Int(5)).low) << "a position past the end reads nothing";
    EXPECT_EQ(0u, ReadValue("\x01\x02", 1, Int(0)).low) << "a position before the data reads nothing";
    bool isNull = false;
    EXPECT_EQ("", TakeText(ReadValue("ab", 10, Int(3)), &isNull));
    EXPECT_TRUE(isNull);
    EXPECT_EQ("", TakeText(ReadValue("", 10, Omitted()), &isNull));
    EXPECT_TRUE(isNull);
}

TEST(ReadByteSetValue, APositionVariableAdvancesToTheNextUnreadByteOrMinusOne) {
    const std::string four("\x01\x02\x03\x04", 4);
    int32_t position = 1;
    EXPECT_EQ(0x04030201u, ReadValue(four, 3, Variable(&position, kTypeInt)).low);
    EXPECT_EQ(-1, position) << "the whole byte set has been read";

    position = 1;
    EXPECT_EQ(0x0201u, ReadValue(four, 2, Variable(&position, kTypeInt)).low);
    EXPECT_EQ(3, position);
    EXPECT_EQ(0x0403u, ReadValue(four, 2, Variable(&position, kTypeInt)).low);
    EXPECT_EQ(-1, position);

    position = 3;
    ReadValue(four, 3, Variable(&position, kTypeInt));
    EXPECT_EQ(-1, position) << "a short read ends the data too";

    // Texts consume their terminator; a text without one takes the rest.
    const std::string texts("ab\0cde", 6);
    position = 1;
    EXPECT_EQ("ab", TakeText(ReadValue(texts, 10, Variable(&position, kTypeInt))));
    EXPECT_EQ(4, position);
    EXPECT_EQ("cde", TakeText(ReadValue(texts, 10, Variable(&position, kTypeInt))));
    EXPECT_EQ(-1, position);
    position = 3;
    EXPECT_EQ("", TakeText(ReadValue(texts, 10, Variable(&position, kTypeInt))));
    EXPECT_EQ(4, position) << "a text that is only its terminator still consumes it";

    // A loop that reads on after -1 must not start over at the front.
    position = -1;
    ReadValue(four, 1, Variable(&position, kTypeInt));
    EXPECT_EQ(-1, position);
    position = 0;
    ReadValue(four, 1, Variable(&position, kTypeInt));
    EXPECT_EQ(-1, position);

    // A position variable of another numeric type is written in its own type.
    int16_t shortPosition[2] = {1, 0x5555};
    ReadValue(four, 1, Variable(shortPosition, qy::kTypeShort));
    EXPECT_EQ(2, shortPosition[0]);
    EXPECT_EQ(0x5555, shortPosition[1]) << "nothing beyond the variable is written";

    // A position given by value is only read.
    int32_t untouched = 1;
    ValueRecord byValue = Int(untouched);
    ReadValue(four, 1, byValue);
    EXPECT_EQ(1, untouched);
}

QY_SCENARIO(read_byte_set_invalid_kind) {
    program::InitRuntime();
    Owned holder;
    Call(CoreCommand::ReadByteSetValue, {ByteSet("abcd", holder), Int(11)});
    Log("returned");
    return 0;
}

QY_SCENARIO(read_byte_set_kind_zero) {
    program::InitRuntime();
    Owned holder;
    Call(CoreCommand::ReadByteSetValue, {ByteSet("abcd", holder), Int(0), Int(1)});
    Log("returned");
    return 0;
}

TEST(ReadByteSetValue, AnInvalidKindStopsTheProgramWithItsMessage) {
    const std::string box = BoxLog("错误", qy::RuntimeErrorText("“欲取出数据的类型”参数值无效", 0));
    for (const char* scenario : {"read_byte_set_invalid_kind", "read_byte_set_kind_zero"}) {
        ChildResult result = RunScenario(scenario);
        EXPECT_EQ(0xFFFFFFFFu, result.exitCode) << scenario;
        EXPECT_EQ(box, result.log) << scenario;
    }
}
