// Encoders for the picture tests: every test picture is made here from known
// pixels, so a decoded record can be checked against what was encoded.
// Byte-level only, so the native robustness run uses them as well.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/picture/picture.h"

namespace pictest {

typedef std::vector<uint8_t> Bytes;

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::string Describe(const Rgba& c);

// Top-down pixels.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgba> pixels;
    Rgba& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Top-down palette indexes with their colours.
struct Indexed {
    int width = 0, height = 0;
    std::vector<uint8_t> indexes;
    std::vector<Rgba> palette;
    uint8_t at(int x, int y) const { return indexes[static_cast<size_t>(y) * width + x]; }
    Image ToImage() const;
};

// Deterministic busy content: neighbouring pixels differ, rows differ.
Image Pattern(int width, int height, int seed, bool withAlpha = false);
Indexed IndexedPattern(int width, int height, int colours, int seed);
// Left half one colour, right half the other (the middle column goes right).
Image Halves(int width, int height, Rgba left, Rgba right);

// BMP: bits 1, 4, 8 from an indexed picture; 24, 32 from an image.
Bytes EncodeBmp(const Indexed& picture, int bits, bool topDown);
Bytes EncodeBmp(const Image& picture, int bits, bool topDown);
// Header fields a test wants to spoil: compression and the colour count.
void SetBmpCompression(Bytes& bmp, uint32_t compression);

Bytes EncodeGif(const Indexed& picture, bool localTable, bool interlaced);
// 8-bit, with or without the palette after the marker byte 12.
Bytes EncodePcx8(const Indexed& picture, bool withPalette);
// 1-bit: bit 1 is white.
Bytes EncodePcx1(const std::vector<std::vector<bool>>& whiteRows, int version = 5);

struct IconEntry {
    int bits;         // 4 (16 colours) or 32 (with alpha)
    Indexed indexed;  // for 4 bits
    Image image;      // for 32 bits
    std::vector<std::vector<bool>> transparent;  // AND mask, top-down; empty = opaque
};
// type 1 icon, 2 cursor.
Bytes EncodeIcon(const std::vector<IconEntry>& entries, int type = 1);

struct PngLayout {
    int colourType;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth;
    bool interlaced;
};
// Samples are chosen by the encoder; the expected 8-bit BGRA result comes back.
Bytes EncodePng(const PngLayout& layout, int width, int height, int seed, Image& expected);
Bytes EncodePng(const Image& image);

Bytes EncodeJpeg(const Image& image, bool grey, bool progressive, int quality = 95);
// Four components, which have no three-channel form.
Bytes EncodeCmykJpeg(int width, int height);
// The library's own plain decode into top-down RGB, for comparison.
bool PlainJpegDecode(const Bytes& jpeg, int& width, int& height, std::vector<uint8_t>& rgb);

// The record's pixels as top-down colours, read from its documented layout;
// kind 7 reads 1 bits as white. Icons have no pixels.
Image RecordPixels(const qy::Picture& picture);

}  // namespace pictest
