#include "runtime/memory.h"

#include <windows.h>

#include <cstring>

#include "gtest/gtest.h"
#include "runtime/services.h"
#include "tests/runtime/runtime_fixture.h"
#include "tests/support/test_program.h"

using namespace qy;
using qytest::TestConstantBlock;

TEST(ConstantBlock, BeginsWithTheEmptyTextAndByteSetRightAfterTheServiceTable) {
    const auto* start = reinterpret_cast<const uint8_t*>(&TestConstantBlock);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(ServiceTable + kServiceCount), start);
    EXPECT_EQ(0, start[0]);
    int32_t set[2];
    std::memcpy(set, start + 1, 8);
    EXPECT_EQ(1, set[0]);
    EXPECT_EQ(0, set[1]);
}

TEST(Memory, ConstantsAreNeverFreedAndReallocateCopiesThem) {
    qytest::EnsureRuntime();
    ASSERT_TRUE(IsConstant(TestConstantBlock.emptyText));
    Free(const_cast<char*>(TestConstantBlock.emptyText));
    Free(const_cast<char*>(TestConstantBlock.hello));
    Free(nullptr);
    EXPECT_STREQ("hello", TestConstantBlock.hello);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));

    // Ten bytes before the end: only those ten bytes can be copied.
    auto* grown = static_cast<char*>(Reallocate(const_cast<char*>(TestConstantBlock.tail), 100));
    ASSERT_NE(nullptr, grown);
    EXPECT_FALSE(IsConstant(grown));
    EXPECT_EQ(0, std::memcmp(grown, "0123456789", 10));
    EXPECT_EQ(ConstantBlockEnd(), reinterpret_cast<const uint8_t*>(TestConstantBlock.tail) + 10);
    Free(grown);

    auto* shrunk = static_cast<char*>(Reallocate(const_cast<char*>(TestConstantBlock.hello), 3));
    EXPECT_EQ(0, std::memcmp(shrunk, "hel", 3));
    EXPECT_STREQ("hello", TestConstantBlock.hello) << "the constant stays";
    Free(shrunk);
}

TEST(Memory, ReallocateOfNullAllocatesAndHeapBlocksKeepTheirBytes) {
    auto* block = static_cast<char*>(Reallocate(nullptr, 4));
    ASSERT_NE(nullptr, block);
    std::memcpy(block, "abcd", 4);
    block = static_cast<char*>(Reallocate(block, 4000));
    EXPECT_EQ(0, std::memcmp(block, "abcd", 4));
    Free(block);
}

TEST(Memory, MakeArrayPrivateCopiesOnlyConstantArrays) {
    qytest::EnsureRuntime();
    void* variable = const_cast<int32_t*>(TestConstantBlock.array);
    program::MakeArrayPrivate(4, &variable);
    ASSERT_NE(static_cast<const void*>(TestConstantBlock.array), variable);
    const int32_t expected[5] = {1, 3, 10, 20, 30};
    EXPECT_EQ(0, std::memcmp(expected, variable, sizeof expected));
    static_cast<int32_t*>(variable)[2] = 11;
    EXPECT_EQ(10, TestConstantBlock.array[2]);

    void* before = variable;
    program::MakeArrayPrivate(4, &variable);
    EXPECT_EQ(before, variable) << "a heap array is already private";
    Free(variable);
}

TEST(Memory, CodeBlocksMayExecuteAndGoBackThroughReallocateAndFree) {
    const uint8_t returns42[] = {0xB8, 42, 0, 0, 0, 0xC3};  // mov eax, 42; ret
    auto* code = static_cast<uint8_t*>(Reallocate(AllocateCode(6), 100000)) + 99994;
    std::memcpy(code, returns42, sizeof returns42);
    MEMORY_BASIC_INFORMATION info{};
    EXPECT_TRUE(VirtualQuery(code, &info, sizeof info) && info.Protect == PAGE_EXECUTE_READWRITE)
        << "a grown code block stays on the code heap";
    EXPECT_EQ(42, reinterpret_cast<int (*)()>(code)());
    Free(code - 99994);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}
