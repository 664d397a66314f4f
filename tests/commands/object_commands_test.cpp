// Picture objects: wrapping converted picture data, reading numeric members
// by name, and releasing the object.
#include <windows.h>
#include <ole2.h>

#include "gtest/gtest.h"
#include "runtime/runtime_system.h"
#include "tests/commands/command_call.h"
#include "tests/media/picture/test_pictures.h"

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
        if (!qy::Runtime().initialised()) program::InitRuntime();
        saved_ = qy::InstalledSystem().convertPicture;
        qy::InstalledSystem().convertPicture = &FakeConversion;
    }
    void TearDown() override {
        Release(&object);
        qy::InstalledSystem().convertPicture = saved_;
    }
    ComObject object;

private:
    void* (*saved_)(void*) = nullptr;
};

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
    if (!qy::Runtime().initialised()) program::InitRuntime();
    ComObject object;
    pictest::Image image = pictest::Pattern(6, 4, 7);
    pictest::Bytes bmp = pictest::EncodeBmp(image, 24, false);
    ASSERT_TRUE(CreatePicture(&object, std::string(bmp.begin(), bmp.end())));
    double handle = Number(&object, "Handle");
    SIZE size = BitmapSize(handle);
    EXPECT_EQ(6, size.cx);
    EXPECT_EQ(4, size.cy);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, AsBitmap(handle));
    for (POINT p : {POINT{0, 0}, POINT{5, 3}}) {
        const pictest::Rgba& c = image.at(p.x, p.y);
        EXPECT_EQ(RGB(c.r, c.g, c.b), GetPixel(dc, p.x, p.y) & 0xFFFFFF) << p.x << "," << p.y;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    Release(&object);
}
