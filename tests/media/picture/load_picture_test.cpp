// LoadPicture through the command frame: picture data or a file name in,
// a registered picture number out; registered pictures live until shut-down.
#include <windows.h>

#include <string>

#include "app/abi/program_abi.h"
#include "commands/command_table.h"
#include "gtest/gtest.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "tests/support/child_process.h"
#include "tests/media/picture/test_pictures.h"
#include "media/picture/picture_registry.h"

using namespace pictest;

namespace {

int32_t CallLoadPicture(std::initializer_list<qy::ValueRecord> args) {
    const void* entry = reinterpret_cast<const void*>(qy::CoreCommandEntry(qy::CoreCommand::LoadPicture));
    return static_cast<int32_t>(program::CallCore(entry, args).low);
}

// A byte-set argument that frees its block afterwards.
class ByteSetArgument {
public:
    explicit ByteSetArgument(const Bytes& bytes)
        : block_(qy::NewByteSet(bytes.data(), static_cast<int>(bytes.size()))) {}
    ~ByteSetArgument() { qy::Free(block_); }
    qy::ValueRecord record() const {
        return qy::ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block_)), 0, qy::kTypeByteSet};
    }

private:
    void* block_;
};

std::string TempFile(const char* name, const Bytes& contents) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

}  // namespace

TEST(LoadPicture, PictureDataGivesARegisteredNumber) {
    Image source = Pattern(5, 3, 1);
    ByteSetArgument data(EncodeBmp(source, 24, false));
    size_t before = qy::RegisteredPictureCount();
    int32_t number = CallLoadPicture({data.record()});
    ASSERT_NE(0, number);
    qy::Picture* picture = qy::FindPicture(number);
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(number, static_cast<int32_t>(reinterpret_cast<uintptr_t>(picture))) << "the number is the record's address";
    EXPECT_EQ(qy::kPictureBmp, picture->kind);
    EXPECT_EQ(5, picture->width);
    EXPECT_EQ(before + 1, qy::RegisteredPictureCount());

    int32_t second = CallLoadPicture({data.record()});
    EXPECT_NE(0, second);
    EXPECT_NE(number, second) << "every load registers a picture of its own";
    EXPECT_EQ(nullptr, qy::FindPicture(number + 4)) << "a number that was never handed out";
    EXPECT_EQ(nullptr, qy::FindPicture(0));
}

TEST(LoadPicture, AFileIsRecognisedByItsContentNotItsName) {
    std::string path = TempFile("qy_picture_jpeg.bmp", EncodeJpeg(Pattern(12, 8, 3), false, false));
    int32_t number = CallLoadPicture({qy::MakeTextRecord(path.c_str())});
    ASSERT_NE(0, number);
    EXPECT_EQ(qy::kPictureJpeg, qy::FindPicture(number)->kind);
    EXPECT_EQ(12, qy::FindPicture(number)->width);
    DeleteFileA(path.c_str());
}

TEST(LoadPicture, WritersAreShutOutWhileTheFileIsRead) {
    std::string path = TempFile("qy_picture_open.gif", EncodeGif(IndexedPattern(4, 4, 4, 0), false, false));
    // A writer that already holds the file keeps it from being opened with
    // writers denied.
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_EQ(0, CallLoadPicture({qy::MakeTextRecord(path.c_str())}));
    CloseHandle(writer);
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(0, CallLoadPicture({qy::MakeTextRecord(path.c_str())})) << "other readers are welcome";
    CloseHandle(reader);
    DeleteFileA(path.c_str());
}

TEST(LoadPicture, NothingDecodableGivesZero) {
    const Bytes fiveBytes = {'B', 'M', 1, 2, 3};
    ByteSetArgument five(fiveBytes);
    EXPECT_EQ(0, CallLoadPicture({five.record()})) << "5 bytes";
    const int32_t emptyBlock[2] = {1, 0};
    EXPECT_EQ(0, CallLoadPicture({qy::ValueRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(emptyBlock)), 0,
                                                  qy::kTypeByteSet}}))
        << "an empty byte set";
    EXPECT_EQ(0, CallLoadPicture({qy::ValueRecord{0, 0, qy::kTypeByteSet}})) << "the null byte set";
    EXPECT_EQ(0, CallLoadPicture({qy::MakeTextRecord("")})) << "an empty file name";
    EXPECT_EQ(0, CallLoadPicture({qy::MakeTextRecord("C:\\no\\such\\picture.png")})) << "a missing file";
    std::string junk = TempFile("qy_picture_junk.png", Bytes(300, 0x42));
    EXPECT_EQ(0, CallLoadPicture({qy::MakeTextRecord(junk.c_str())})) << "a file that is no picture";
    DeleteFileA(junk.c_str());
    EXPECT_EQ(0, CallLoadPicture({qy::MakeIntRecord(1234)})) << "an int";
    EXPECT_EQ(0, CallLoadPicture({qy::ValueRecord{0, 0, 0}})) << "an omitted argument";
    EXPECT_EQ(0, CallLoadPicture({})) << "no argument at all";
}

QY_SCENARIO(pictures_released_at_shutdown) {
    program::InitRuntime();
    ByteSetArgument icon(EncodeIcon({IconEntry{4, IndexedPattern(32, 32, 16, 1), Image(), {}}}));
    int32_t number = CallLoadPicture({icon.record()});
    qy::Picture* picture = qy::FindPicture(number);
    HICON handle = picture ? static_cast<HICON>(picture->icon.get()) : nullptr;
    ICONINFO info;
    bool alive = handle && GetIconInfo(handle, &info);
    if (alive) {
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    qytest::Log("before " + std::to_string(qy::RegisteredPictureCount()) + (alive ? " icon alive" : " no icon"));
    qy::Runtime().Shutdown(0);
    bool stillAlive = handle && GetIconInfo(handle, &info);
    qytest::Log("after " + std::to_string(qy::RegisteredPictureCount()) + (stillAlive ? " icon alive" : " icon gone") +
                (qy::FindPicture(number) ? " found" : " not found"));
    return 0;
}

TEST(LoadPicture, RegisteredPicturesAreReleasedAtShutdown) {
    qytest::ChildResult run = qytest::RunScenario("pictures_released_at_shutdown");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_NE(std::string::npos, run.log.find("before 1 icon alive")) << run.log;
    EXPECT_NE(std::string::npos, run.log.find("after 0 icon gone not found")) << run.log;
}
