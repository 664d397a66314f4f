// Decoding from memory: format detection, every format against the pixels it
// was encoded from, and damaged data that must give no picture.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include "gtest/gtest.h"
#include "tests/media/picture/same_pixels.h"
#include "tests/media/picture/test_pictures.h"
#include "media/picture/picture.h"

using namespace pictest;
using qy::Picture;
using qy::PictureKind;

namespace {

std::unique_ptr<Picture> Decode(const Bytes& bytes) {
    return qy::DecodePicture(bytes.data(), static_cast<int>(bytes.size()));
}

Bytes Prefix(std::initializer_list<uint8_t> bytes) { return Bytes(bytes); }

uint32_t Word(const Picture& picture, int at) {
    const uint8_t* p = picture.pixels.get() + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Every shorter prefix of a valid file gives no picture.
void ExpectEveryCutFails(const Bytes& file, size_t keepAtLeast, const char* what) {
    for (size_t length = 0; length + keepAtLeast < file.size(); ++length) {
        Bytes cut(file.begin(), file.begin() + length);
        EXPECT_EQ(nullptr, Decode(cut)) << what << " cut to " << length << " of " << file.size() << " bytes";
    }
}

}  // namespace

TEST(PictureDetection, TheFirstBytesDecideTheFormat) {
    struct Case {
        Bytes bytes;
        PictureKind kind;
    } cases[] = {
        {Prefix({'B', 'M', 0, 0, 0, 0}), qy::kPictureBmp},
        {Prefix({0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}), qy::kPictureJpeg},
        {Prefix({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), qy::kPicturePng},
        {Prefix({0, 0, 1, 0, 2, 0}), qy::kPictureIcon},
        {Prefix({0, 0, 2, 0, 1, 0}), qy::kPictureCursor},
        {Prefix({0, 0, 1, 0, 0, 0}), qy::kPictureNone},  // an icon directory needs entries
        {Prefix({0, 0, 3, 0, 1, 0}), qy::kPictureNone},
        {Prefix({'G', 'I', 'F', '8', '7', 'a'}), qy::kPictureGif},
        {Prefix({'G', 'I', 'F', '8', '9', 'a'}), qy::kPictureGif},
        {Prefix({'G', 'I', 'F', '8', '8', 'a'}), qy::kPictureNone},
        {Prefix({10, 5, 1, 8, 0, 0}), qy::kPicturePcx8},
        {Prefix({10, 0, 1, 8, 0, 0}), qy::kPicturePcx8},
        {Prefix({10, 3, 1, 1, 0, 0}), qy::kPicturePcx1},
        {Prefix({10, 5, 1, 1, 0, 0}), qy::kPicturePcx1},
        {Prefix({10, 6, 1, 8, 0, 0}), qy::kPictureNone},
        {Prefix({10, 5, 0, 8, 0, 0}), qy::kPictureNone},
        {Prefix({10, 5, 1, 4, 0, 0}), qy::kPictureNone},
        {Prefix({'P', '4', '#', 'c', 0, 0}), qy::kPicturePnm},
        {Prefix({'P', '7', ' ', '1', ' ', '1'}), qy::kPictureNone},
        {Prefix({'h', 'e', 'l', 'l', 'o', '!'}), qy::kPictureNone},
        {Prefix({'B', 'M', 0, 0, 0}), qy::kPictureNone},  // fewer than 6 bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.kind, qy::DetectPictureFormat(c.bytes.data(), c.bytes.size()))
            << "first bytes " << std::string(c.bytes.begin(), c.bytes.end());
    }
}

TEST(PictureDetection, TooLittleDataIsNoPicture) {
    Bytes bmp = EncodeBmp(Pattern(4, 4, 1), 24, false);
    EXPECT_EQ(nullptr, qy::DecodePicture(bmp.data(), 5));
    EXPECT_EQ(nullptr, qy::DecodePicture(bmp.data(), 0));
    EXPECT_EQ(nullptr, qy::DecodePicture(bmp.data(), -1));
    EXPECT_EQ(nullptr, qy::DecodePicture(nullptr, 100));
    ASSERT_NE(nullptr, Decode(bmp)) << "the whole file is a picture";
}

TEST(BmpDecoding, PalettedDepthsBothRowOrders) {
    for (int bits : {1, 4, 8}) {
        for (bool topDown : {false, true}) {
            Indexed source = IndexedPattern(13, 7, bits == 8 ? 200 : 1 << bits, bits);
            auto picture = Decode(EncodeBmp(source, bits, topDown));
            ASSERT_NE(nullptr, picture) << bits << " bits, top-down " << topDown;
            EXPECT_EQ(qy::kPictureBmp, picture->kind);
            EXPECT_EQ(13 * 7 * 3, picture->size);
            EXPECT_TRUE(SamePixels(source.ToImage(), RecordPixels(*picture), false))
                << bits << " bits, top-down " << topDown;
        }
    }
}

TEST(BmpDecoding, DirectColourDepthsBothRowOrders) {
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            // Width 11 leaves padding at the end of every 24-bit row.
            Image source = Pattern(11, 5, bits);
            auto picture = Decode(EncodeBmp(source, bits, topDown));
            ASSERT_NE(nullptr, picture) << bits << " bits, top-down " << topDown;
            EXPECT_EQ(qy::kPictureBmp, picture->kind);
            EXPECT_EQ(11, picture->width);
            EXPECT_EQ(5, picture->height);
            EXPECT_EQ(11 * 5 * 3, picture->size);
            EXPECT_TRUE(SamePixels(source, RecordPixels(*picture), false)) << bits << " bits, top-down " << topDown;
        }
    }
}

TEST(BmpDecoding, CompressedAndUnsupportedDepthsAreRefused) {
    Bytes rle = EncodeBmp(IndexedPattern(8, 8, 16, 0), 8, false);
    SetBmpCompression(rle, 1);
    EXPECT_EQ(nullptr, Decode(rle)) << "run-length compressed";

    Bytes depth16 = EncodeBmp(Pattern(8, 8, 0), 24, false);
    depth16[28] = 16;
    EXPECT_EQ(nullptr, Decode(depth16)) << "16 bits per pixel";

    // Bit fields are taken only when they describe the plain layout.
    Bytes fields = EncodeBmp(Pattern(6, 3, 2), 32, false);
    SetBmpCompression(fields, 3);
    const uint8_t plainMasks[12] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    fields.insert(fields.begin() + 54, plainMasks, plainMasks + 12);
    fields[10] += 12;
    auto plain = Decode(fields);
    ASSERT_NE(nullptr, plain) << "plain bit fields";
    EXPECT_TRUE(SamePixels(Pattern(6, 3, 2), RecordPixels(*plain), false));
    fields[54] = 0xFF;
    EXPECT_EQ(nullptr, Decode(fields)) << "other bit fields";
}

TEST(BmpDecoding, HostileHeadersGiveNoPicture) {
    Bytes bmp = EncodeBmp(Pattern(8, 4, 3), 24, false);
    auto spoil = [&](size_t at, uint32_t value) {
        Bytes copy = bmp;
        for (int i = 0; i < 4; ++i) copy[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return Decode(copy);
    };
    EXPECT_EQ(nullptr, spoil(18, 0x7FFFFFFF)) << "width far beyond the data";
    EXPECT_EQ(nullptr, spoil(22, 0x7FFFFFFF)) << "height far beyond the data";
    EXPECT_EQ(nullptr, spoil(22, 0x80000000)) << "the most negative height";
    EXPECT_EQ(nullptr, spoil(18, 0)) << "zero width";
    EXPECT_EQ(nullptr, spoil(22, 0)) << "zero height";
    EXPECT_EQ(nullptr, spoil(10, 0xFFFFFFF0)) << "pixel offset past the end";
    EXPECT_EQ(nullptr, spoil(14, 0xFFFFFFF0)) << "info header size past the end";
    Bytes paletted = EncodeBmp(IndexedPattern(8, 4, 16, 0), 4, false);
    for (int i = 0; i < 4; ++i) paletted[46 + i] = 0xFF;  // colour count
    EXPECT_NE(nullptr, Decode(paletted)) << "an oversized colour count is cut to what the depth allows";
    ExpectEveryCutFails(bmp, 0, "24-bit BMP");
}

TEST(GifDecoding, GlobalAndLocalColourTables) {
    for (bool local : {false, true}) {
        Indexed source = IndexedPattern(19, 11, 7, 5);
        auto picture = Decode(EncodeGif(source, local, false));
        ASSERT_NE(nullptr, picture) << "local table " << local;
        EXPECT_EQ(qy::kPictureGif, picture->kind);
        EXPECT_EQ(19, picture->width);
        EXPECT_EQ(11, picture->height);
        // A top-down 8-bit DIB with 256 colours, rows padded to 4 bytes.
        EXPECT_EQ(40u, Word(*picture, 0));
        EXPECT_EQ(19u, Word(*picture, 4));
        EXPECT_EQ(static_cast<uint32_t>(-11), Word(*picture, 8));
        EXPECT_EQ(8u, Word(*picture, 12) >> 16);
        EXPECT_EQ(256u, Word(*picture, 32));
        EXPECT_EQ(qy::kPaletteDibHeaderSize + 20 * 11, picture->size);
        EXPECT_TRUE(SamePixels(source.ToImage(), RecordPixels(*picture), false)) << "local table " << local;
    }
}

TEST(GifDecoding, InterlacedRowsArePutBackInOrder) {
    // Heights that leave some of the four passes empty.
    for (int height : {1, 2, 3, 4, 5, 8, 9, 13, 17}) {
        Indexed source = IndexedPattern(6, height, 16, height);
        auto picture = Decode(EncodeGif(source, false, true));
        ASSERT_NE(nullptr, picture) << "height " << height;
        EXPECT_TRUE(SamePixels(source.ToImage(), RecordPixels(*picture), false)) << "height " << height;
    }
}

TEST(GifDecoding, FullCodeTablesAreClearedAndReused) {
    // Busy 256-colour content fills the 4096-entry table several times.
    Indexed source = IndexedPattern(181, 97, 256, 3);
    for (size_t i = 0; i < source.indexes.size(); ++i) source.indexes[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    auto picture = Decode(EncodeGif(source, true, false));
    ASSERT_NE(nullptr, picture);
    EXPECT_TRUE(SamePixels(source.ToImage(), RecordPixels(*picture), false));
}

TEST(GifDecoding, DamagedFilesGiveNoPicture) {
    Bytes gif = EncodeGif(IndexedPattern(9, 7, 4, 1), false, false);
    // The trailer is not needed once the first image is complete.
    ExpectEveryCutFails(gif, 4, "GIF");
    Bytes noTrailer(gif.begin(), gif.end() - 1);
    EXPECT_NE(nullptr, Decode(noTrailer));

    size_t descriptor = 13 + 3 * 4 + 8 + 7;
    ASSERT_EQ(0x2C, gif[descriptor]);
    Bytes huge = gif;
    huge[descriptor + 5] = huge[descriptor + 6] = huge[descriptor + 7] = huge[descriptor + 8] = 0xFF;
    EXPECT_EQ(nullptr, Decode(huge)) << "65535 x 65535 from a few bytes";
    Bytes badCodeSize = gif;
    badCodeSize[descriptor + 10] = 12;
    EXPECT_EQ(nullptr, Decode(badCodeSize)) << "minimum code size 12";
    Bytes unknownBlock = gif;
    unknownBlock[13 + 12] = 0x99;
    EXPECT_EQ(nullptr, Decode(unknownBlock)) << "an unknown block before the image";
}

TEST(PcxDecoding, EightBitWithPalette) {
    Indexed source = IndexedPattern(21, 9, 256, 7);  // odd width: a padded line
    auto picture = Decode(EncodePcx8(source, true));
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(qy::kPicturePcx8, picture->kind);
    EXPECT_EQ(21, picture->width);
    EXPECT_EQ(9, picture->height);
    EXPECT_EQ(static_cast<uint32_t>(-9), Word(*picture, 8)) << "top-down rows";
    EXPECT_EQ(qy::kPaletteDibHeaderSize + 24 * 9, picture->size);
    EXPECT_TRUE(SamePixels(source.ToImage(), RecordPixels(*picture), false));
}

TEST(PcxDecoding, PaletteMarkerMissingOrCut) {
    Indexed source = IndexedPattern(8, 4, 256, 2);
    auto grey = Decode(EncodePcx8(source, false));
    ASSERT_NE(nullptr, grey) << "without a palette the indexes show as grey levels";
    Image expected = source.ToImage();
    for (int i = 0; i < 32; ++i) {
        uint8_t v = source.indexes[i];
        expected.pixels[i] = Rgba{v, v, v, 255};
    }
    EXPECT_TRUE(SamePixels(expected, RecordPixels(*grey), false));

    Bytes cut = EncodePcx8(source, true);
    cut.resize(cut.size() - 100);
    EXPECT_EQ(nullptr, Decode(cut)) << "a marker followed by part of a palette";
}

TEST(PcxDecoding, RunsMayCrossLines) {
    Bytes pcx = EncodePcx8(IndexedPattern(4, 2, 256, 0), true);
    // One run of eight 7s fills both four-byte lines.
    Bytes crossing(pcx.begin(), pcx.begin() + 128);
    crossing.push_back(0xC8);
    crossing.push_back(7);
    crossing.insert(crossing.end(), pcx.end() - 769, pcx.end());
    auto picture = Decode(crossing);
    ASSERT_NE(nullptr, picture);
    const uint8_t* rows = picture->pixels.get() + qy::kPaletteDibHeaderSize;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(7, rows[i]) << "byte " << i;
}

TEST(PcxDecoding, MonochromeOfEitherVersion) {
    std::vector<std::vector<bool>> rows;
    for (int y = 0; y < 6; ++y) {
        std::vector<bool> row;
        for (int x = 0; x < 19; ++x) row.push_back((x * 3 + y * 5) % 7 < 3);
        rows.push_back(row);
    }
    Image expected;
    expected.width = 19;
    expected.height = 6;
    for (const auto& row : rows)
        for (bool white : row) expected.pixels.push_back(white ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255});
    for (int version : {3, 5}) {
        auto picture = Decode(EncodePcx1(rows, version));
        ASSERT_NE(nullptr, picture) << "version " << version;
        EXPECT_EQ(qy::kPicturePcx1, picture->kind);
        EXPECT_EQ(4 * 6, picture->size) << "word-aligned rows";
        EXPECT_TRUE(SamePixels(expected, RecordPixels(*picture), false)) << "version " << version;
    }
}

TEST(PcxDecoding, UnsupportedLayoutsAndDamage) {
    Bytes pcx = EncodePcx8(IndexedPattern(8, 5, 256, 0), true);
    Bytes planes = pcx;
    planes[65] = 3;
    EXPECT_EQ(nullptr, Decode(planes)) << "three planes";
    Bytes shortLines = pcx;
    shortLines[66] = 4;
    EXPECT_EQ(nullptr, Decode(shortLines)) << "lines shorter than the width";
    Bytes window = pcx;
    window[8] = 0;
    window[4] = 5;
    EXPECT_EQ(nullptr, Decode(window)) << "xmax below xmin";
    Bytes tall = pcx;
    tall[10] = tall[11] = 0xFF;
    EXPECT_EQ(nullptr, Decode(tall)) << "65536 lines from a few bytes";
    Bytes header(pcx.begin(), pcx.begin() + 128);
    EXPECT_EQ(nullptr, Decode(header)) << "128 bytes are no picture";
    Bytes noPalette = EncodePcx8(IndexedPattern(8, 5, 256, 0), false);
    ExpectEveryCutFails(noPalette, 0, "8-bit PCX");
}

TEST(PngDecoding, EveryColourTypeAndDepthInterlacedOrNot) {
    const PngLayout layouts[] = {
        {0, 1, false}, {0, 2, false}, {0, 4, false}, {0, 8, false}, {0, 16, false}, {2, 8, false},
        {2, 16, false}, {3, 1, false}, {3, 2, false}, {3, 4, false}, {3, 8, false}, {4, 8, false},
        {4, 16, false}, {6, 8, false}, {6, 16, false},
    };
    for (PngLayout layout : layouts) {
        for (bool interlaced : {false, true}) {
            layout.interlaced = interlaced;
            Image expected;
            Bytes png = EncodePng(layout, 13, 9, layout.bitDepth, expected);
            ASSERT_FALSE(png.empty());
            auto picture = Decode(png);
            ASSERT_NE(nullptr, picture) << "colour type " << layout.colourType << " depth " << layout.bitDepth
                                        << " interlaced " << interlaced;
            EXPECT_EQ(qy::kPicturePng, picture->kind);
            EXPECT_EQ(13 * 9 * 4, picture->size);
            EXPECT_TRUE(SamePixels(expected, RecordPixels(*picture), true))
                << "colour type " << layout.colourType << " depth " << layout.bitDepth << " interlaced " << interlaced;
        }
    }
}

TEST(PngDecoding, DamagedFilesGiveNoPicture) {
    Image expected;
    Bytes png = EncodePng(PngLayout{6, 16, true}, 7, 5, 1, expected);
    ExpectEveryCutFails(png, 12, "interlaced 16-bit PNG");  // IEND may go
    Bytes flat = EncodePng(PngLayout{2, 8, false}, 7, 5, 1, expected);
    ExpectEveryCutFails(flat, 12, "8-bit PNG");
    Bytes crc = flat;
    crc[flat.size() - 12 - 5] ^= 0x55;  // inside the image data
    EXPECT_EQ(nullptr, Decode(crc)) << "damaged image data";
}

TEST(JpegDecoding, ColourProgressiveAndGreyMatchThePlainLibraryDecode) {
    Image source = Pattern(29, 17, 4);
    struct Case {
        bool grey, progressive;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const Case& c : cases) {
        Bytes jpeg = EncodeJpeg(source, c.grey, c.progressive);
        int width = 0, height = 0;
        std::vector<uint8_t> rgb;
        ASSERT_TRUE(PlainJpegDecode(jpeg, width, height, rgb));
        Image plain;
        plain.width = width;
        plain.height = height;
        for (size_t i = 0; i < rgb.size(); i += 3) plain.pixels.push_back(Rgba{rgb[i], rgb[i + 1], rgb[i + 2], 255});

        auto picture = Decode(jpeg);
        ASSERT_NE(nullptr, picture) << "grey " << c.grey << " progressive " << c.progressive;
        EXPECT_EQ(qy::kPictureJpeg, picture->kind);
        EXPECT_EQ(29 * 17 * 3, picture->size);
        Image decoded = RecordPixels(*picture);
        EXPECT_TRUE(SamePixels(plain, decoded, false)) << "grey " << c.grey << " progressive " << c.progressive;
        if (c.grey) {
            bool equal = true;
            for (const Rgba& p : decoded.pixels) equal = equal && p.r == p.g && p.g == p.b;
            EXPECT_TRUE(equal) << "grey pictures have three equal channels";
        }
    }
}

TEST(JpegDecoding, OrientationAndChannelOrderFollowTheSource) {
    // Smooth content survives compression closely: red grows to the right,
    // blue grows downwards.
    Image source;
    source.width = 64;
    source.height = 48;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            source.pixels.push_back(Rgba{static_cast<uint8_t>(x * 4), 60, static_cast<uint8_t>(y * 5), 255});
    auto picture = Decode(EncodeJpeg(source, false, false, 98));
    ASSERT_NE(nullptr, picture);
    Image decoded = RecordPixels(*picture);
    int worst = 0;
    for (size_t i = 0; i < source.pixels.size(); ++i) {
        worst = std::max(worst, std::abs(source.pixels[i].r - decoded.pixels[i].r));
        worst = std::max(worst, std::abs(source.pixels[i].b - decoded.pixels[i].b));
    }
    EXPECT_LT(worst, 12);
}

TEST(JpegDecoding, DamagedOrUnsupportedFilesGiveNoPicture) {
    Bytes jpeg = EncodeJpeg(Pattern(24, 16, 2), false, false);
    for (size_t length : {size_t(2), size_t(20), jpeg.size() / 3, jpeg.size() / 2, jpeg.size() - 40})
        EXPECT_EQ(nullptr, Decode(Bytes(jpeg.begin(), jpeg.begin() + length))) << "cut to " << length;
    Bytes progressive = EncodeJpeg(Pattern(24, 16, 2), false, true);
    EXPECT_EQ(nullptr, Decode(Bytes(progressive.begin(), progressive.end() - 30))) << "progressive, cut";
    Bytes badFrame = jpeg;
    for (size_t i = 2; i + 1 < badFrame.size(); ++i)
        if (badFrame[i] == 0xFF && badFrame[i + 1] == 0xC0) {
            badFrame[i + 9] = 7;  // component count of the frame header
            break;
        }
    EXPECT_EQ(nullptr, Decode(badFrame)) << "a frame header that contradicts itself";
    EXPECT_EQ(nullptr, Decode(EncodeCmykJpeg(8, 8))) << "four components";
}

// Offset of the first marker `code` at or after `from`, or the size when none.
size_t FindMarker(const Bytes& jpeg, uint8_t code, size_t from = 2) {
    for (size_t i = from; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
    return jpeg.size();
}

TEST(JpegDecoding, IncompleteScansTooManyScansAndHugeFramesGiveNoPicture) {
    // A scan cut short but closed with the end marker: the library would pad
    // the missing rows with grey.
    Bytes jpeg = EncodeJpeg(Pattern(64, 64, 3), false, false);
    size_t scan = FindMarker(jpeg, 0xDA), end = FindMarker(jpeg, 0xD9, scan);
    ASSERT_LT(end, jpeg.size());
    Bytes cut(jpeg.begin(), jpeg.begin() + (scan + end) / 2);
    cut.insert(cut.end(), {0xFF, 0xD9});
    EXPECT_EQ(nullptr, Decode(cut)) << "a scan cut short before the end marker";

    // The last scan of a progressive file repeated until there are far more
    // scans than any encoder writes.
    Bytes progressive = EncodeJpeg(Pattern(16, 16, 4), true, true);
    ASSERT_NE(nullptr, Decode(progressive));
    size_t last = scan = FindMarker(progressive, 0xDA);
    while ((scan = FindMarker(progressive, 0xDA, scan + 2)) < progressive.size()) last = scan;
    end = FindMarker(progressive, 0xD9, last);
    Bytes repeated(progressive.begin(), progressive.begin() + end);
    for (int i = 0; i < 600; ++i) repeated.insert(repeated.end(), progressive.begin() + last, progressive.begin() + end);
    repeated.insert(repeated.end(), {0xFF, 0xD9});
    EXPECT_EQ(nullptr, Decode(repeated)) << "600 more scans";

    // A frame of 9000 x 8000 pixels is above what a picture may have.
    Bytes huge = EncodeJpeg(Pattern(8, 8, 5), false, false);
    size_t frame = FindMarker(huge, 0xC0);
    ASSERT_LT(frame, huge.size());
    huge[frame + 5] = 8000 >> 8, huge[frame + 6] = 8000 & 0xFF, huge[frame + 7] = 9000 >> 8, huge[frame + 8] = 9000 & 0xFF;
    EXPECT_EQ(nullptr, Decode(huge)) << "72 megapixels";
}

TEST(IconDecoding, The32PixelSixteenColourImageIsPreferred) {
    IconEntry small{4, IndexedPattern(16, 16, 16, 1), Image(), {}};
    IconEntry large{4, IndexedPattern(32, 32, 16, 2), Image(), {}};
    for (bool largeFirst : {false, true}) {
        auto picture = Decode(largeFirst ? EncodeIcon({large, small}) : EncodeIcon({small, large}));
        ASSERT_NE(nullptr, picture) << "32 first " << largeFirst;
        EXPECT_EQ(qy::kPictureIcon, picture->kind);
        EXPECT_EQ(32, picture->width);
        EXPECT_EQ(32, picture->height);
        EXPECT_NE(nullptr, picture->icon.get());
    }
}

TEST(IconDecoding, WithoutAPreferredImageTheLastIsUsed) {
    IconEntry small{4, IndexedPattern(16, 16, 16, 1), Image(), {}};
    IconEntry big{32, Indexed(), Pattern(48, 48, 3, true), {}};
    auto picture = Decode(EncodeIcon({small, big}));
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(48, picture->width);
    auto reversed = Decode(EncodeIcon({big, small}));
    ASSERT_NE(nullptr, reversed);
    EXPECT_EQ(16, reversed->width);
    auto cursor = Decode(EncodeIcon({small}, 2));
    ASSERT_NE(nullptr, cursor);
    EXPECT_EQ(qy::kPictureCursor, cursor->kind);
}

TEST(IconDecoding, DirectoriesPointingOutsideTheDataGiveNoPicture) {
    IconEntry entry{4, IndexedPattern(32, 32, 16, 2), Image(), {}};
    Bytes icon = EncodeIcon({entry});
    Bytes offset = icon;
    offset[18] = offset[19] = offset[20] = 0x7F;
    EXPECT_EQ(nullptr, Decode(offset)) << "image offset past the end";
    Bytes count = icon;
    count[4] = 200;
    EXPECT_EQ(nullptr, Decode(count)) << "more entries than the data holds";
    Bytes tall = icon;
    tall[22 + 8] = 0;
    tall[22 + 9] = 0x10;  // image header height 4096: rows beyond the image
    EXPECT_EQ(nullptr, Decode(tall)) << "an image header larger than its image";
    ExpectEveryCutFails(icon, 0, "icon");
}

namespace {
Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }
const Rgba kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255};
}  // namespace

TEST(PnmDecoding, PlainAndBinaryMapsOfEveryKindGiveExactPixels) {
    const Image colours{
        3, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, kWhite, kBlack, {128, 128, 128, 255}}};
    const Image greys{2, 2, {kBlack, kWhite, {85, 85, 85, 255}, {170, 170, 170, 255}}};
    const Image bits{3, 2, {kWhite, kBlack, kWhite, kBlack, kWhite, kBlack}};
    const std::pair<std::string, const Image*> cases[] = {
        {"P3\n# three by two\n3 2\n255\n255 0 0  0 255 0  0 0 255\n255 255 255  0 0 0  128 128 128\n", &colours},
        {"P6 3 2 255\n" + std::string("\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF\0\0\0\x80\x80\x80", 18), &colours},
        {"P2 2 2 15\n0 15\n5 10\n", &greys},
        // Samples of two bytes: 257 times 0, 15, 5 and 10 of 257 times 15.
        {"P5\t2 2#maximum:\n3855\r" + std::string("\0\0\x0F\x0F\x05\x05\x0A\x0A", 8), &greys},
        {"P1\n# bits\n3 2\n010\n1 0 1\n", &bits},
        {"P4 3 2\n\x40\xA0", &bits},
    };
    for (const auto& c : cases) {
        auto picture = Decode(Text(c.first));
        ASSERT_NE(nullptr, picture) << c.first;
        EXPECT_EQ(qy::kPicturePnm, picture->kind);
        EXPECT_TRUE(SamePixels(*c.second, RecordPixels(*picture), false)) << c.first;
    }
    ExpectEveryCutFails(Text(cases[3].first), 0, "binary grey map");
}

TEST(PnmDecoding, MalformedHeadersAndSamplesGiveNoPicture) {
    for (const char* file : {"P5 2 2 0\n....", "P5 2 2 65536\n........", "P5 2x2 255\n....", "P5 2 2 255X....",
                             "P5 2 2 255\n...", "P6 0 1 255\n...", "P5 99999999999 1 255\n.", "P2 2 1 15\n3 16\n",
                             "P1 2 1\n0 2\n", "P3 1 1 255\n1 2", "P5 8000 8000 255\n....", "P52 2 255\n...."})
        EXPECT_EQ(nullptr, Decode(Text(file))) << file;
}
