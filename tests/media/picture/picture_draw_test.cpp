// Drawing picture records on a device context: natural size, stretching,
// raster operations, the transparent colour, alpha against a background
// colour, icons, and the conversion behind qy::kNotifyConvertPicture.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/abi/program_abi.h"
#include "gtest/gtest.h"
#include "runtime/memory.h"
#include "runtime/runtime_app.h"
#include "runtime/services.h"
#include "runtime/value.h"
#include "tests/media/picture/same_pixels.h"
#include "tests/media/picture/test_pictures.h"
#include "media/picture/picture_draw.h"

using namespace pictest;
using qy::Picture;

namespace {

// A 24-bit top-down bitmap on a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all = {0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC dc() const { return dc_; }
    Rgba at(int x, int y) const {
        GdiFlush();
        const uint8_t* p = bits_ + static_cast<size_t>(y) * Stride() + 3 * x;
        return Rgba{p[2], p[1], p[0], 255};
    }
    Image Area(int left, int top, int width, int height) const {
        Image image;
        image.width = width;
        image.height = height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.pixels.push_back(at(left + x, top + y));
        return image;
    }

private:
    size_t Stride() const { return (static_cast<size_t>(width_) * 3 + 3) & ~static_cast<size_t>(3); }
    int width_, height_;
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
    uint8_t* bits_ = nullptr;
};

std::unique_ptr<Picture> Decode(const Bytes& bytes) {
    return qy::DecodePicture(bytes.data(), static_cast<int>(bytes.size()));
}

Rgba FromColour(COLORREF c) { return Rgba{GetRValue(c), GetGValue(c), GetBValue(c), 255}; }

// One picture of every kind that has pixels, with what it shows when opaque.
struct Sample {
    const char* name;
    Bytes file;
    Image shows;
};

std::vector<Sample> Samples() {
    std::vector<Sample> samples;
    Image rgb = Pattern(10, 7, 9);
    samples.push_back({"BMP", EncodeBmp(rgb, 24, false), rgb});
    Indexed indexed = IndexedPattern(10, 7, 12, 4);
    samples.push_back({"GIF", EncodeGif(indexed, false, false), indexed.ToImage()});
    samples.push_back({"PCX 8-bit", EncodePcx8(indexed, true), indexed.ToImage()});
    std::vector<std::vector<bool>> rows(7, std::vector<bool>(10));
    Image mono;
    mono.width = 10;
    mono.height = 7;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) {
            rows[y][x] = (x + y) % 3 == 0;
            mono.pixels.push_back(rows[y][x] ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255});
        }
    samples.push_back({"PCX 1-bit", EncodePcx1(rows), mono});
    samples.push_back({"PNG", EncodePng(rgb), rgb});
    Bytes jpeg = EncodeJpeg(rgb, false, false);
    auto decoded = Decode(jpeg);
    samples.push_back({"JPEG", jpeg, RecordPixels(*decoded)});
    return samples;
}

}  // namespace

TEST(PictureDrawing, EveryKindAtNaturalSizeShowsItsPixels) {
    for (const Sample& sample : Samples()) {
        auto picture = Decode(sample.file);
        ASSERT_NE(nullptr, picture) << sample.name;
        Canvas canvas(20, 15, RGB(1, 2, 3));
        qy::RenderPicture(*picture, canvas.dc(), 4, 5, -1, -1, SRCCOPY, RGB(255, 255, 255));
        EXPECT_TRUE(SamePixels(sample.shows, canvas.Area(4, 5, 10, 7), false)) << sample.name;
        EXPECT_EQ(Describe(Rgba{1, 2, 3, 255}), Describe(canvas.at(3, 5))) << sample.name << ": left of the picture";
        EXPECT_EQ(Describe(Rgba{1, 2, 3, 255}), Describe(canvas.at(14, 11))) << sample.name << ": right of it";
        EXPECT_EQ(Describe(Rgba{1, 2, 3, 255}), Describe(canvas.at(4, 12))) << sample.name << ": below it";
    }
}

TEST(PictureDrawing, StretchingFillsTheGivenSize) {
    Image quad;
    quad.width = quad.height = 2;
    quad.pixels = {Rgba{255, 0, 0, 255}, Rgba{0, 255, 0, 255}, Rgba{0, 0, 255, 255}, Rgba{255, 255, 0, 255}};
    auto picture = Decode(EncodeBmp(quad, 24, false));
    ASSERT_NE(nullptr, picture);
    Canvas canvas(40, 40, RGB(0, 0, 0));
    qy::RenderPicture(*picture, canvas.dc(), 2, 2, 30, 20, SRCCOPY, RGB(255, 255, 255));
    // Smoothing may blend towards the neighbours, but each corner of the
    // stretched area stays close to its own corner's colour.
    auto closeTo = [&](const Rgba& expected, int x, int y) {
        Rgba actual = canvas.at(x, y);
        bool close = std::abs(actual.r - expected.r) < 40 && std::abs(actual.g - expected.g) < 40 &&
                     std::abs(actual.b - expected.b) < 40;
        return close ? ::testing::AssertionSuccess()
                     : ::testing::AssertionFailure() << "(" << x << "," << y << ") is " << Describe(actual)
                                                     << ", near " << Describe(expected) << " expected";
    };
    EXPECT_TRUE(closeTo(quad.pixels[0], 2, 2));
    EXPECT_TRUE(closeTo(quad.pixels[1], 31, 2));
    EXPECT_TRUE(closeTo(quad.pixels[2], 2, 21));
    EXPECT_TRUE(closeTo(quad.pixels[3], 31, 21));
    EXPECT_EQ(Describe(Rgba{0, 0, 0, 255}), Describe(canvas.at(32, 10))) << "nothing right of the stretched area";
    EXPECT_EQ(Describe(Rgba{0, 0, 0, 255}), Describe(canvas.at(10, 22))) << "nothing below it";
    EXPECT_EQ(Describe(Rgba{0, 0, 0, 255}), Describe(canvas.at(1, 10))) << "nothing left of it";
}

TEST(PictureDrawing, RasterOperationsCombineWithTheDestination) {
    Image source = Pattern(6, 4, 2);
    auto picture = Decode(EncodeBmp(source, 24, true));
    ASSERT_NE(nullptr, picture);
    const COLORREF background = RGB(0x35, 0xA6, 0x5C);
    struct Case {
        DWORD rop;
        uint8_t (*combine)(uint8_t source, uint8_t destination);
        const char* name;
    } cases[] = {
        {SRCINVERT, [](uint8_t s, uint8_t d) { return static_cast<uint8_t>(s ^ d); }, "XOR"},
        {SRCAND, [](uint8_t s, uint8_t d) { return static_cast<uint8_t>(s & d); }, "AND"},
        {SRCPAINT, [](uint8_t s, uint8_t d) { return static_cast<uint8_t>(s | d); }, "OR"},
        {NOTSRCCOPY, [](uint8_t s, uint8_t) { return static_cast<uint8_t>(~s); }, "inverted copy"},
    };
    Rgba d = FromColour(background);
    for (const Case& c : cases) {
        Canvas canvas(6, 4, background);
        qy::RenderPicture(*picture, canvas.dc(), 0, 0, -1, -1, static_cast<int32_t>(c.rop), RGB(255, 255, 255));
        Image expected = source;
        for (Rgba& p : expected.pixels) p = Rgba{c.combine(p.r, d.r), c.combine(p.g, d.g), c.combine(p.b, d.b), 255};
        EXPECT_TRUE(SamePixels(expected, canvas.Area(0, 0, 6, 4), false)) << c.name;
    }
}

TEST(PictureDrawing, ANegativeOperationMakesThatColourTransparent) {
    const COLORREF background = RGB(0x20, 0x40, 0x60);
    for (const Sample& sample : Samples()) {
        if (std::string(sample.name) == "JPEG") continue;  // lossy: no exact colour to pick
        auto picture = Decode(sample.file);
        ASSERT_NE(nullptr, picture) << sample.name;
        Rgba key = sample.shows.at(0, 0);
        Canvas canvas(10, 7, background);
        qy::RenderPicture(*picture, canvas.dc(), 0, 0, -1, -1, -static_cast<int32_t>(RGB(key.r, key.g, key.b)),
                          RGB(255, 255, 255));
        Image expected = sample.shows;
        int keyed = 0;
        for (Rgba& p : expected.pixels)
            if (p == key) {
                p = FromColour(background);
                ++keyed;
            }
        EXPECT_GT(keyed, 0);
        EXPECT_LT(keyed, 70) << sample.name << ": the key colour must not be everywhere";
        EXPECT_TRUE(SamePixels(expected, canvas.Area(0, 0, 10, 7), false)) << sample.name;
    }
}

TEST(PictureDrawing, AlphaIsBlendedAgainstTheBackgroundColour) {
    Image pixels;
    pixels.width = 4;
    pixels.height = 1;
    pixels.pixels = {Rgba{255, 0, 0, 128}, Rgba{0, 0, 255, 0}, Rgba{10, 200, 30, 255}, Rgba{255, 255, 255, 128}};
    auto picture = Decode(EncodePng(pixels));
    ASSERT_NE(nullptr, picture);

    Canvas white(4, 1, RGB(0, 0, 0));
    qy::RenderPicture(*picture, white.dc(), 0, 0, -1, -1, SRCCOPY, RGB(255, 255, 255));
    EXPECT_EQ(Describe(Rgba{255, 127, 127, 255}), Describe(white.at(0, 0))) << "half-transparent red over white";
    EXPECT_EQ(Describe(Rgba{255, 255, 255, 255}), Describe(white.at(1, 0))) << "fully transparent";
    EXPECT_EQ(Describe(Rgba{10, 200, 30, 255}), Describe(white.at(2, 0))) << "opaque";
    EXPECT_EQ(Describe(Rgba{255, 255, 255, 255}), Describe(white.at(3, 0))) << "white over white stays white";

    Canvas blue(4, 1, RGB(0, 0, 0));
    qy::RenderPicture(*picture, blue.dc(), 0, 0, -1, -1, SRCCOPY, RGB(0, 0, 200));
    EXPECT_EQ(Describe(Rgba{128, 0, 99, 255}), Describe(blue.at(0, 0))) << "half-transparent red over dark blue";
    EXPECT_EQ(Describe(Rgba{0, 0, 200, 255}), Describe(blue.at(1, 0)));
}

TEST(PictureDrawing, MonochromeDrawsBlackAndWhiteWhateverTheDcColours) {
    std::vector<std::vector<bool>> rows = {{true, false, true, false}};
    auto picture = Decode(EncodePcx1(rows));
    ASSERT_NE(nullptr, picture);
    Canvas canvas(4, 1, RGB(9, 9, 9));
    SetTextColor(canvas.dc(), RGB(200, 0, 0));
    SetBkColor(canvas.dc(), RGB(0, 0, 200));
    qy::RenderPicture(*picture, canvas.dc(), 0, 0, -1, -1, SRCCOPY, RGB(255, 255, 255));
    EXPECT_EQ(Describe(Rgba{255, 255, 255, 255}), Describe(canvas.at(0, 0)));
    EXPECT_EQ(Describe(Rgba{0, 0, 0, 255}), Describe(canvas.at(1, 0)));
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(canvas.dc())) << "the DC keeps its own colours";
    EXPECT_EQ(RGB(0, 0, 200), GetBkColor(canvas.dc()));
}

TEST(PictureDrawing, IconsDrawThroughTheirMask) {
    IconEntry entry{4, IndexedPattern(32, 32, 16, 6), Image(), {}};
    entry.transparent.assign(32, std::vector<bool>(32, false));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) entry.transparent[y][x] = x < 8;
    // Transparent pixels carry colour 0 (black) in the colour image.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 8; ++x) entry.indexed.indexes[y * 32 + x] = 0;
    entry.indexed.palette[0] = Rgba{0, 0, 0, 255};
    auto picture = Decode(EncodeIcon({entry}));
    ASSERT_NE(nullptr, picture);
    Canvas canvas(40, 40, RGB(0x11, 0x77, 0xEE));
    qy::RenderPicture(*picture, canvas.dc(), 2, 3, -1, -1, SRCCOPY, RGB(255, 255, 255));
    Image expected = entry.indexed.ToImage();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 8; ++x) expected.at(x, y) = Rgba{0x11, 0x77, 0xEE, 255};
    EXPECT_TRUE(SamePixels(expected, canvas.Area(2, 3, 32, 32), false));
}

TEST(PictureConversion, ConvertPictureGivesABitmapOverWhite) {
    // The conversion is a service of the started runtime.
    if (!qy::Runtime().initialised()) program::InitRuntime();
    Image pixels;
    pixels.width = 3;
    pixels.height = 2;
    pixels.pixels = {Rgba{255, 0, 0, 128}, Rgba{0, 0, 0, 0}, Rgba{1, 2, 3, 255},
                     Rgba{0, 255, 0, 255}, Rgba{0, 0, 255, 255}, Rgba{9, 8, 7, 255}};
    Bytes png = EncodePng(pixels);
    void* byteSet = qy::NewByteSet(png.data(), static_cast<int>(png.size()));
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(
        qy::RuntimeNotify(qy::kNotifyConvertPicture, static_cast<int32_t>(reinterpret_cast<uintptr_t>(byteSet)), 0));
    qy::Free(byteSet);
    ASSERT_NE(nullptr, bitmap);
    BITMAP shape;
    ASSERT_TRUE(GetObject(bitmap, sizeof shape, &shape));
    EXPECT_EQ(3, shape.bmWidth);
    EXPECT_EQ(2, shape.bmHeight);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = -2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    uint32_t read[6] = {};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(2, GetDIBits(screen, bitmap, 0, 2, read, &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    EXPECT_EQ(0xFF7F7Fu, read[0] & 0xFFFFFF) << "half-transparent red over white";
    EXPECT_EQ(0xFFFFFFu, read[1] & 0xFFFFFF) << "transparent shows white";
    EXPECT_EQ(0x010203u, read[2] & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, read[4] & 0xFFFFFF);

    const uint8_t junk[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    void* notPicture = qy::NewByteSet(junk, 8);
    EXPECT_EQ(0, qy::RuntimeNotify(qy::kNotifyConvertPicture, static_cast<int32_t>(reinterpret_cast<uintptr_t>(notPicture)), 0));
    qy::Free(notPicture);
    EXPECT_EQ(0, qy::RuntimeNotify(qy::kNotifyConvertPicture, 0, 0)) << "no data";
}

