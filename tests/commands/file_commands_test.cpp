// Whole-file reading and writing through the command frame.
#include <windows.h>

#include "gtest/gtest.h"
#include "tests/commands/command_call.h"

using namespace qytest;

namespace {
std::string TempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

bool Write(const std::string& name, std::initializer_list<std::string> parts) {
    Owned nameHolder;
    std::vector<Owned> holders(parts.size());
    std::vector<ValueRecord> args{Text(name, nameHolder)};
    size_t i = 0;
    for (const std::string& part : parts) args.push_back(ByteSet(part, holders[i++]));
    if (!qy::Runtime().initialised()) program::InitRuntime();
    ValueRecord result = program::CallCore(reinterpret_cast<const void*>(qy::CoreCommandEntry(CoreCommand::WriteToFile)),
                                           args.data(), static_cast<int>(args.size()));
    return result.low != 0;
}

std::string Read(const std::string& name, bool* isNull = nullptr) {
    Owned holder;
    return TakeBytes(Call(CoreCommand::ReadWholeFile, {Text(name, holder)}), isNull);
}

}  // namespace

TEST(WriteToFile, WritesTheByteSetsInOrderSkippingEmptyOnes) {
    std::string path = TempPath("砌字成图-写入");
    ASSERT_TRUE(Write(path, {"ab", "", "cd"}));
    EXPECT_EQ("abcd", Read(path));

    ASSERT_TRUE(Write(path, {"x"}));
    EXPECT_EQ("x", Read(path)) << "an existing file is truncated";

    ASSERT_TRUE(Write(path, {}));
    bool isNull = false;
    EXPECT_EQ("", Read(path, &isNull)) << "no byte sets leave an empty file";
    EXPECT_TRUE(isNull) << "an empty file reads as the empty byte set";
    DeleteFileA(path.c_str());
}

TEST(WriteToFile, FailsForAnEmptyNameOrAFileThatCannotBeCreated) {
    EXPECT_FALSE(Write("", {"ab"}));
    EXPECT_FALSE(Write(TempPath("no-such-folder\\file"), {"ab"}));

    // Open without sharing elsewhere: creating it again must fail.
    std::string path = TempPath("qy-locked-file");
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Write(path, {"ab"}));
    CloseHandle(lock);
    DeleteFileA(path.c_str());
}

TEST(ReadWholeFile, ReadsEveryByteAndSharesWithReaders) {
    std::string path = TempPath("qy-binary-file");
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7);
    ASSERT_TRUE(Write(path, {bytes}));

    // Another reader holding the file open does not stop the command.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(bytes, Read(path));
    CloseHandle(reader);
    DeleteFileA(path.c_str());
}

TEST(ReadWholeFile, MissingOrUnreadableFilesGiveTheEmptyByteSet) {
    bool isNull = false;
    EXPECT_EQ("", Read(TempPath("qy-no-such-file"), &isNull));
    EXPECT_TRUE(isNull);
    EXPECT_EQ("", Read("", &isNull));
    EXPECT_TRUE(isNull);

    // A writer that shares nothing keeps readers out.
    std::string path = TempPath("qy-exclusive-file");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(writer, "abc", 3, &written, nullptr);
    EXPECT_EQ("", Read(path, &isNull));
    EXPECT_TRUE(isNull);
    CloseHandle(writer);
    EXPECT_EQ("abc", Read(path));
    DeleteFileA(path.c_str());
}
