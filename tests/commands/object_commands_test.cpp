// Picture objects: wrapping converted picture data, reading numeric members
// by name, and releasing the object.
#include <windows.h>
#include <ole2.h>

#include "gtest/gtest.h"
#include "runtime/runtime_hooks.h"
#include "tests/commands/command_call.h"

using namespace qytest;

namespace {
// A COM-object variable as compiled code holds it.
struct ComObject {
    IUnknown* object = nullptr;
    void* data = nullptr;
};
constexpr uint32_t kComObjectType = 0x00010000;

ValueRecord Object(ComObject* variable) { return Variable(variable, kComObjectType); }

bool CreatePicture(ComObject* object, const std::string& data) {
    Owned holder;
    return Call(CoreCommand::CreatePictureObject, {Object(object), ByteSet(data, holder)}).low != 0;
}

double Number(ComObject* object, const std::string& member, std::initializer_list<ValueRecord> more = {}) {
    Owned holder;
    std::vector<ValueRecord> args{Object(object), Text(member, holder)};
    args.insert(args.end(), more);
    ValueRecord result = program::CallCore(
        reinterpret_cast<const void*>(qy::CoreCommandEntry(CoreCommand::NumberMethod)), args.data(),
        static_cast<int>(args.size()));
    return qy::RecordDouble(result);
}

void Release(ComObject* object) { Call(CoreCommand::ReleaseObject, {Object(object)}); }

// Stands in for the picture decoder: "WxH" becomes a bitmap of that size.
void* FakeConversion(void* block) {
    std::string text(reinterpret_cast<const char*>(qy::ByteSetData(block)), qy::ByteSetLength(block));
    int width = 0, height = 0;
    if (std::sscanf(text.c_str(), "%dx%d", &width, &height) != 2) return nullptr;
    return CreateBitmap(width, height, 1, 32, nullptr);
}

class PictureObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qy::Runtime().initialised) program::InitRuntime();
        saved_ = qy::Hooks().convertPicture;
        qy::Hooks().convertPicture = &FakeConversion;
    }
    void TearDown() override {
        Release(&object);
        qy::Hooks().convertPicture = saved_;
    }
    ComObject object;

private:
    void* (*saved_)(void*) = nullptr;
};

// A 24-bit BMP file: red on the top row, white below.
std::string BmpFile(int width, int height) {
    int stride = (width * 3 + 3) & ~3;
    std::string file(54 + stride * height, '\0');
    auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int row = 0; row < height; ++row) {
        bool top = row == height - 1;  // rows are stored bottom-up
        for (int x = 0; x < width; ++x) {
            char* pixel = &file[54 + row * stride + x * 3];
            pixel[0] = static_cast<char>(top ? 0 : 255);
            pixel[1] = static_cast<char>(top ? 0 : 255);
            pixel[2] = static_cast<char>(255);
        }
    }
    return file;
}

HBITMAP AsBitmap(double handle) {
    return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(static_cast<uint32_t>(static_cast<int32_t>(handle))));
}

SIZE BitmapSize(double handle) {
    BITMAP info{};
    if (!GetObjectA(AsBitmap(handle), sizeof info, &info)) return SIZE{-1, -1};
    return SIZE{info.bmWidth, info.bmHeight};
}
}  // namespace

TEST_F(PictureObjectTest, HandleIsTheConvertedBitmap) {
    ASSERT_TRUE(CreatePicture(&object, "7x5"));
    ASSERT_NE(object.object, nullptr);
    double handle = Number(&object, "Handle");
    ASSERT_NE(handle, 0.0);
    SIZE size = BitmapSize(handle);
    EXPECT_EQ(7, size.cx);
    EXPECT_EQ(5, size.cy);
    EXPECT_EQ(1.0, Number(&object, "Type")) << "a bitmap picture";
}

TEST_F(PictureObjectTest, NoDataOrUnconvertibleDataMakesAnEmptyPicture) {
    ASSERT_TRUE(CreatePicture(&object, ""));
    EXPECT_EQ(0.0, Number(&object, "Handle"));
    ASSERT_TRUE(CreatePicture(&object, "no picture"));
    EXPECT_EQ(0.0, Number(&object, "Handle"));
}

TEST_F(PictureObjectTest, ANewPictureReleasesTheOldOne) {
    ASSERT_TRUE(CreatePicture(&object, "3x3"));
    IUnknown* first = object.object;
    HBITMAP firstBitmap = AsBitmap(Number(&object, "Handle"));
    first->AddRef();
    ASSERT_TRUE(CreatePicture(&object, "4x2"));
    EXPECT_NE(first, object.object);
    EXPECT_EQ(0u, first->Release()) << "the command kept a reference to the replaced picture";
    BITMAP info{};
    EXPECT_EQ(0, GetObjectA(firstBitmap, sizeof info, &info)) << "the replaced picture owned its bitmap";
    EXPECT_EQ(4, BitmapSize(Number(&object, "Handle")).cx);
}

TEST_F(PictureObjectTest, UnknownMembersAndEmptyObjectsGiveZero) {
    EXPECT_EQ(0.0, Number(&object, "Handle")) << "no interface held";
    ASSERT_TRUE(CreatePicture(&object, "2x2"));
    EXPECT_EQ(0.0, Number(&object, "NoSuchMember"));
    EXPECT_EQ(0.0, Number(&object, ""));
}

TEST_F(PictureObjectTest, ReleaseEmptiesTheObject) {
    ASSERT_TRUE(CreatePicture(&object, "2x2"));
    IUnknown* picture = object.object;
    picture->AddRef();
    object.data = qy::Allocate(16);
    Release(&object);
    EXPECT_EQ(nullptr, object.object);
    EXPECT_EQ(nullptr, object.data);
    EXPECT_EQ(0u, picture->Release()) << "the object's reference was not released";
    Release(&object);  // releasing an empty object does nothing
    EXPECT_EQ(nullptr, object.object);

    object.data = qy::Allocate(16);
    Release(&object);
    EXPECT_EQ(nullptr, object.data) << "a data block alone is freed";
}

TEST(PictureObject, RealPictureDataBecomesABitmapOfItsSize) {
    if (!qy::Runtime().initialised) program::InitRuntime();
    ComObject object;
    ASSERT_TRUE(CreatePicture(&object, BmpFile(6, 4)));
    double handle = Number(&object, "Handle");
    SIZE size = BitmapSize(handle);
    EXPECT_EQ(6, size.cx);
    EXPECT_EQ(4, size.cy);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, AsBitmap(handle));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 0, 0) & 0xFFFFFF) << "top row";
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 3) & 0xFFFFFF);
    SelectObject(dc, old);
    DeleteDC(dc);
    Release(&object);
}
