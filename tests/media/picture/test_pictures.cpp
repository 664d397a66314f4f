#include "tests/media/picture/test_pictures.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unordered_map>

#include <png.h>
extern "C" {
#include <jpeglib.h>
}

namespace pictest {

namespace {

void Put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Set32(Bytes& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutInfoHeader(Bytes& out, int width, int height, int bits, uint32_t imageSize, uint32_t colours) {
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
}

// Packs indexes of 1, 4 or 8 bits, first pixel in the high bits.
void PackIndexes(const Indexed& picture, int y, int bits, uint8_t* row) {
    for (int x = 0; x < picture.width; ++x) {
        int perByte = 8 / bits;
        int shift = 8 - bits * (x % perByte + 1);
        row[x / perByte] |= static_cast<uint8_t>((picture.at(x, y) & ((1 << bits) - 1)) << shift);
    }
}

Bytes BmpFile(int width, int height, int bits, bool topDown, const Bytes& table, int colours,
              const std::vector<Bytes>& topDownRows) {
    Bytes out = {'B', 'M'};
    size_t offset = 14 + 40 + table.size();
    uint32_t stride = static_cast<uint32_t>(topDownRows.empty() ? 0 : topDownRows[0].size());
    Put32(out, static_cast<uint32_t>(offset + stride * height));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(offset));
    PutInfoHeader(out, width, topDown ? -height : height, bits, stride * height, static_cast<uint32_t>(colours));
    out.insert(out.end(), table.begin(), table.end());
    for (int i = 0; i < height; ++i) {
        const Bytes& row = topDownRows[topDown ? i : height - 1 - i];
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

class LzwWriter {
public:
    LzwWriter(Bytes& out, int minimumCodeSize) : out_(out), minimum_(minimumCodeSize) {}

    void Encode(const std::vector<uint8_t>& pixels) {
        const int clear = 1 << minimum_;
        Reset();
        Emit(clear);
        int prefix = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            uint32_t key = (static_cast<uint32_t>(prefix) << 8) | pixels[i];
            auto found = table_.find(key);
            if (found != table_.end()) {
                prefix = found->second;
                continue;
            }
            Emit(prefix);
            if (next_ < 4096) {
                table_[key] = next_++;
                // The decoder defines each code one step later, so the code
                // width grows one code after the table passes the limit.
                if (next_ > (1 << width_) && width_ < 12) ++width_;
            } else {
                Emit(clear);
                Reset();
            }
            prefix = pixels[i];
        }
        Emit(prefix);
        Emit(clear + 1);
        if (count_ > 0) Byte(static_cast<uint8_t>(buffer_));
        Flush();
        out_.push_back(0);
    }

private:
    void Reset() {
        table_.clear();
        next_ = (1 << minimum_) + 2;
        width_ = minimum_ + 1;
    }
    void Emit(int code) {
        buffer_ |= static_cast<uint32_t>(code) << count_;
        count_ += width_;
        while (count_ >= 8) {
            Byte(static_cast<uint8_t>(buffer_));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    void Byte(uint8_t b) {
        block_.push_back(b);
        if (block_.size() == 255) Flush();
    }
    void Flush() {
        if (block_.empty()) return;
        out_.push_back(static_cast<uint8_t>(block_.size()));
        out_.insert(out_.end(), block_.begin(), block_.end());
        block_.clear();
    }

    Bytes& out_;
    int minimum_;
    std::unordered_map<uint32_t, int> table_;
    int next_ = 0, width_ = 0;
    uint32_t buffer_ = 0;
    int count_ = 0;
    Bytes block_;
};

int TableSizeField(size_t colours) {
    int field = 0;
    while ((2u << field) < colours) ++field;
    return field;
}

void PutColourTable(Bytes& out, const std::vector<Rgba>& palette, int field, bool inverted) {
    for (int i = 0; i < (2 << field); ++i) {
        Rgba c = i < static_cast<int>(palette.size()) ? palette[i] : Rgba{0, 0, 0, 255};
        if (inverted) c = Rgba{static_cast<uint8_t>(~c.r), static_cast<uint8_t>(~c.g), static_cast<uint8_t>(~c.b), 255};
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
}

void RunLengthLine(Bytes& out, const uint8_t* line, size_t count) {
    for (size_t i = 0; i < count;) {
        size_t j = i;
        while (j < count && line[j] == line[i] && j - i < 63) ++j;
        size_t run = j - i;
        if (run > 1 || line[i] >= 0xC0) {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(line[i]);
        } else {
            out.push_back(line[i]);
        }
        i = j;
    }
}

Bytes PcxHeader(int width, int height, int bits, int lineBytes, int version) {
    Bytes out = {10, static_cast<uint8_t>(version), 1, static_cast<uint8_t>(bits)};
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(width - 1));
    Put16(out, static_cast<uint32_t>(height - 1));
    Put16(out, 72);
    Put16(out, 72);
    out.resize(64, 0);  // 16-colour header palette, unused here
    out.push_back(0);
    out.push_back(1);  // planes
    Put16(out, static_cast<uint32_t>(lineBytes));
    Put16(out, 1);
    out.resize(128, 0);
    return out;
}

void WriteToVector(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void FlushNothing(png_structp) {}

// One sample of the given depth, spread over the depth's range; 16-bit
// samples are multiples of 257 so that every reduction to 8 bits agrees.
uint32_t Sample(int depth, int x, int y, int channel, int seed) {
    uint32_t v = static_cast<uint32_t>(x * 31 + y * 17 + channel * 71 + seed * 13 + x * y);
    if (depth == 16) return (v & 255) * 257;
    return v & ((1u << depth) - 1);
}
uint8_t To8(int depth, uint32_t sample) {
    if (depth == 16) return static_cast<uint8_t>(sample / 257);
    return static_cast<uint8_t>(sample * 255 / ((1u << depth) - 1));
}

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};
void JpegJump(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void JpegQuiet(j_common_ptr) {}

}  // namespace

std::string Describe(const Rgba& c) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d,%d,%d,%d)", c.r, c.g, c.b, c.a);
    return text;
}

Image Indexed::ToImage() const {
    Image image;
    image.width = width;
    image.height = height;
    for (uint8_t index : indexes) image.pixels.push_back(palette[index]);
    return image;
}

Image Pattern(int width, int height, int seed, bool withAlpha) {
    Image image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(Rgba{static_cast<uint8_t>(x * 37 + y * 11 + seed * 53),
                                        static_cast<uint8_t>((x * 13) ^ (y * 29 + seed)),
                                        static_cast<uint8_t>(x * y + seed * 7 + 90),
                                        static_cast<uint8_t>(withAlpha ? x * 17 + y * 5 : 255)});
    return image;
}

Image Halves(int width, int height, Rgba left, Rgba right) {
    Image image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.pixels.push_back(x < width / 2 ? left : right);
    return image;
}

Indexed IndexedPattern(int width, int height, int colours, int seed) {
    Indexed picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < colours; ++i)
        picture.palette.push_back(Rgba{static_cast<uint8_t>(i * 53 + seed), static_cast<uint8_t>(i * 97 + 11),
                                       static_cast<uint8_t>(255 - i * 31), 255});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.indexes.push_back(static_cast<uint8_t>((x * 7 + y * 3 + seed + x / 3 * y) % colours));
    return picture;
}

Bytes EncodeBmp(const Indexed& picture, int bits, bool topDown) {
    int colours = 1 << bits;
    Bytes table;
    for (int i = 0; i < colours; ++i) {
        Rgba c = i < static_cast<int>(picture.palette.size()) ? picture.palette[i] : Rgba{0, 0, 0, 0};
        table.insert(table.end(), {c.b, c.g, c.r, 0});
    }
    size_t stride = (static_cast<size_t>(picture.width) * bits + 31) / 32 * 4;
    std::vector<Bytes> rows(picture.height, Bytes(stride, 0));
    for (int y = 0; y < picture.height; ++y) PackIndexes(picture, y, bits, rows[y].data());
    return BmpFile(picture.width, picture.height, bits, topDown, table, colours, rows);
}

Bytes EncodeBmp(const Image& picture, int bits, bool topDown) {
    int bytesPerPixel = bits / 8;
    size_t stride = (static_cast<size_t>(picture.width) * bits + 31) / 32 * 4;
    std::vector<Bytes> rows(picture.height, Bytes(stride, 0));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& c = picture.at(x, y);
            uint8_t* p = rows[y].data() + x * bytesPerPixel;
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            if (bits == 32) p[3] = 0x5A;  // unused byte, must not matter
        }
    return BmpFile(picture.width, picture.height, bits, topDown, Bytes(), 0, rows);
}

void SetBmpCompression(Bytes& bmp, uint32_t compression) { Set32(bmp, 30, compression); }

Bytes EncodeGif(const Indexed& picture, bool localTable, bool interlaced) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, static_cast<uint32_t>(picture.width));
    Put16(out, static_cast<uint32_t>(picture.height));
    int field = TableSizeField(picture.palette.size());
    // With a local table the global one holds wrong colours, so a decoder
    // that takes the wrong table shows it.
    out.push_back(static_cast<uint8_t>(0x80 | 0x70 | field));
    out.push_back(0);
    out.push_back(0);
    PutColourTable(out, picture.palette, field, localTable);
    // A graphic control and a comment extension before the image.
    out.insert(out.end(), {0x21, 0xF9, 4, 0, 0, 0, 0, 0});
    out.insert(out.end(), {0x21, 0xFE, 3, 'q', 'y', '!', 0});
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(picture.width));
    Put16(out, static_cast<uint32_t>(picture.height));
    out.push_back(static_cast<uint8_t>((localTable ? 0x80 | field : 0) | (interlaced ? 0x40 : 0)));
    if (localTable) PutColourTable(out, picture.palette, field, false);

    std::vector<uint8_t> ordered;
    std::vector<int> rowOrder;
    if (interlaced) {
        const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < picture.height; y += step[pass]) rowOrder.push_back(y);
    } else {
        for (int y = 0; y < picture.height; ++y) rowOrder.push_back(y);
    }
    for (int y : rowOrder)
        for (int x = 0; x < picture.width; ++x) ordered.push_back(picture.at(x, y));
    int minimum = field + 1 < 2 ? 2 : field + 1;
    out.push_back(static_cast<uint8_t>(minimum));
    LzwWriter(out, minimum).Encode(ordered);
    out.push_back(0x3B);
    return out;
}

Bytes EncodePcx8(const Indexed& picture, bool withPalette) {
    int lineBytes = (picture.width + 1) & ~1;
    Bytes out = PcxHeader(picture.width, picture.height, 8, lineBytes, 5);
    Bytes line(lineBytes, 0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) line[x] = picture.at(x, y);
        RunLengthLine(out, line.data(), line.size());
    }
    if (withPalette) {
        out.push_back(12);
        for (int i = 0; i < 256; ++i) {
            Rgba c = i < static_cast<int>(picture.palette.size()) ? picture.palette[i] : Rgba{0, 0, 0, 0};
            out.insert(out.end(), {c.r, c.g, c.b});
        }
    }
    return out;
}

Bytes EncodePcx1(const std::vector<std::vector<bool>>& whiteRows, int version) {
    int width = static_cast<int>(whiteRows[0].size());
    int height = static_cast<int>(whiteRows.size());
    int lineBytes = ((width + 7) / 8 + 1) & ~1;
    Bytes out = PcxHeader(width, height, 1, lineBytes, version);
    for (const auto& row : whiteRows) {
        Bytes line(lineBytes, 0);
        for (int x = 0; x < width; ++x)
            if (row[x]) line[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        RunLengthLine(out, line.data(), line.size());
    }
    return out;
}

Bytes EncodeIcon(const std::vector<IconEntry>& entries, int type) {
    std::vector<Bytes> images;
    for (const IconEntry& entry : entries) {
        int width = entry.bits == 4 ? entry.indexed.width : entry.image.width;
        int height = entry.bits == 4 ? entry.indexed.height : entry.image.height;
        size_t colourStride = (static_cast<size_t>(width) * entry.bits + 31) / 32 * 4;
        size_t maskStride = (static_cast<size_t>(width) + 31) / 32 * 4;
        Bytes image;
        PutInfoHeader(image, width, height * 2, entry.bits,
                      static_cast<uint32_t>((colourStride + maskStride) * height), entry.bits == 4 ? 16 : 0);
        if (entry.bits == 4)
            for (int i = 0; i < 16; ++i) {
                Rgba c = i < static_cast<int>(entry.indexed.palette.size()) ? entry.indexed.palette[i] : Rgba{};
                image.insert(image.end(), {c.b, c.g, c.r, 0});
            }
        for (int y = height - 1; y >= 0; --y) {
            Bytes row(colourStride, 0);
            if (entry.bits == 4) {
                PackIndexes(entry.indexed, y, 4, row.data());
            } else {
                for (int x = 0; x < width; ++x) {
                    const Rgba& c = entry.image.at(x, y);
                    row[4 * x] = c.b;
                    row[4 * x + 1] = c.g;
                    row[4 * x + 2] = c.r;
                    row[4 * x + 3] = c.a;
                }
            }
            image.insert(image.end(), row.begin(), row.end());
        }
        for (int y = height - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            if (!entry.transparent.empty())
                for (int x = 0; x < width; ++x)
                    if (entry.transparent[y][x]) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            image.insert(image.end(), row.begin(), row.end());
        }
        images.push_back(image);
    }
    Bytes out;
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(type));
    Put16(out, static_cast<uint32_t>(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& entry = entries[i];
        int width = entry.bits == 4 ? entry.indexed.width : entry.image.width;
        int height = entry.bits == 4 ? entry.indexed.height : entry.image.height;
        out.push_back(static_cast<uint8_t>(width));
        out.push_back(static_cast<uint8_t>(height));
        out.push_back(entry.bits == 4 ? 16 : 0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<uint32_t>(entry.bits));
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, static_cast<uint32_t>(offset));
        offset += images[i].size();
    }
    for (const Bytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

Bytes EncodePng(const PngLayout& layout, int width, int height, int seed, Image& expected) {
    expected = Image();
    expected.width = width;
    expected.height = height;
    int channels = layout.colourType == 0 || layout.colourType == 3 ? 1
                   : layout.colourType == 4                      ? 2
                   : layout.colourType == 2                      ? 3
                                                               : 4;
    int depth = layout.bitDepth;
    // Palette pictures: one colour per index, the upper half of the entries
    // partly transparent through tRNS.
    int entries = layout.colourType == 3 ? 1 << depth : 0;
    std::vector<png_color> palette(entries);
    std::vector<png_byte> alphas(entries);
    for (int i = 0; i < entries; ++i) {
        palette[i] = png_color{static_cast<png_byte>(i * 41 + seed), static_cast<png_byte>(i * 23 + 100),
                               static_cast<png_byte>(255 - i * 7)};
        alphas[i] = static_cast<png_byte>(i < entries / 2 ? 255 : i * 19);
    }

    size_t rowBytes = (static_cast<size_t>(width) * channels * depth + 7) / 8;
    std::vector<Bytes> rows(height, Bytes(rowBytes, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t s[4];
            for (int c = 0; c < channels; ++c) s[c] = Sample(depth, x, y, c, seed);
            if (layout.colourType == 3) s[0] %= static_cast<uint32_t>(entries);
            for (int c = 0; c < channels; ++c) {
                size_t bit = (static_cast<size_t>(x) * channels + c) * depth;
                uint8_t* p = rows[y].data() + bit / 8;
                if (depth == 16) {
                    p[0] = static_cast<uint8_t>(s[c] >> 8);
                    p[1] = static_cast<uint8_t>(s[c]);
                } else if (depth == 8) {
                    p[0] = static_cast<uint8_t>(s[c]);
                } else {
                    p[0] |= static_cast<uint8_t>(s[c] << (8 - depth - bit % 8));
                }
            }
            Rgba e;
            switch (layout.colourType) {
                case 0: e = Rgba{To8(depth, s[0]), To8(depth, s[0]), To8(depth, s[0]), 255}; break;
                case 2: e = Rgba{To8(depth, s[0]), To8(depth, s[1]), To8(depth, s[2]), 255}; break;
                case 3: e = Rgba{palette[s[0]].red, palette[s[0]].green, palette[s[0]].blue, alphas[s[0]]}; break;
                case 4: e = Rgba{To8(depth, s[0]), To8(depth, s[0]), To8(depth, s[0]), To8(depth, s[1])}; break;
                default: e = Rgba{To8(depth, s[0]), To8(depth, s[1]), To8(depth, s[2]), To8(depth, s[3])}; break;
            }
            expected.pixels.push_back(e);
        }
    }

    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Bytes();
    }
    png_set_write_fn(png, &out, WriteToVector, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), depth,
                 layout.colourType, layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (entries) {
        png_set_PLTE(png, info, palette.data(), entries);
        png_set_tRNS(png, info, alphas.data(), entries, nullptr);
    }
    std::vector<png_bytep> pointers;
    for (Bytes& row : rows) pointers.push_back(row.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodePng(const Image& image) {
    png_image description;
    std::memset(&description, 0, sizeof description);
    description.version = PNG_IMAGE_VERSION;
    description.width = static_cast<png_uint_32>(image.width);
    description.height = static_cast<png_uint_32>(image.height);
    description.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(description, size, 0, image.pixels.data(), 0, nullptr)) return Bytes();
    Bytes out(size);
    if (!png_image_write_to_memory(&description, out.data(), &size, 0, image.pixels.data(), 0, nullptr))
        return Bytes();
    out.resize(size);
    return out;
}

namespace {

// Compresses rows of the given component count that fill() writes, top row first.
Bytes CompressJpeg(int width, int height, int components, J_COLOR_SPACE space, bool progressive, int quality,
                   const std::function<void(int y, uint8_t* row)>& fill) {
    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegJump;
    errors.manager.output_message = JpegQuiet;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return Bytes();
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        fill(static_cast<int>(info.next_scanline), row.data());
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace

Bytes EncodeJpeg(const Image& image, bool grey, bool progressive, int quality) {
    return CompressJpeg(image.width, image.height, grey ? 1 : 3, grey ? JCS_GRAYSCALE : JCS_RGB, progressive, quality,
                        [&](int y, uint8_t* row) {
                            for (int x = 0; x < image.width; ++x) {
                                const Rgba& c = image.at(x, y);
                                if (grey) {
                                    row[x] = c.g;
                                } else {
                                    row[3 * x] = c.r;
                                    row[3 * x + 1] = c.g;
                                    row[3 * x + 2] = c.b;
                                }
                            }
                        });
}

Bytes EncodeCmykJpeg(int width, int height) {
    return CompressJpeg(width, height, 4, JCS_CMYK, false, 90,
                        [&](int, uint8_t* row) { std::memset(row, 0x40, static_cast<size_t>(width) * 4); });
}

bool PlainJpegDecode(const Bytes& jpeg, int& width, int& height, std::vector<uint8_t>& rgb) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegJump;
    errors.manager.output_message = JpegQuiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgb.data() + static_cast<size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

Image RecordPixels(const qy::Picture& picture) {
    Image image;
    image.width = picture.width;
    image.height = picture.height;
    const uint8_t* p = picture.pixels.get();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            Rgba c{0, 0, 0, 255};
            switch (picture.kind) {
                case qy::kPictureJpeg:
                case qy::kPictureBmp:
                case qy::kPicturePnm: {
                    const uint8_t* q = p + (static_cast<size_t>(picture.height - 1 - y) * picture.width + x) * 3;
                    c = Rgba{q[2], q[1], q[0], 255};
                    break;
                }
                case qy::kPictureGif:
                case qy::kPicturePcx8: {
                    size_t stride = (static_cast<size_t>(picture.width) + 3) & ~static_cast<size_t>(3);
                    uint8_t index = p[qy::kPaletteDibHeaderSize + stride * y + x];
                    const uint8_t* q = p + 40 + 4 * index;
                    c = Rgba{q[2], q[1], q[0], 255};
                    break;
                }
                case qy::kPicturePcx1: {
                    size_t stride = ((static_cast<size_t>(picture.width) + 7) / 8 + 1) & ~static_cast<size_t>(1);
                    bool white = (p[stride * y + x / 8] >> (7 - x % 8)) & 1;
                    uint8_t v = white ? 255 : 0;
                    c = Rgba{v, v, v, 255};
                    break;
                }
                case qy::kPicturePng: {
                    const uint8_t* q = p + (static_cast<size_t>(y) * picture.width + x) * 4;
                    c = Rgba{q[2], q[1], q[0], q[3]};
                    break;
                }
                default: break;
            }
            image.pixels.push_back(c);
        }
    }
    return image;
}

}  // namespace pictest
