// PNG through libpng's simplified reading interface, into top-down rows of
// blue, green, red and alpha.
#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "runtime/byte_cursor.h"
#include "media/picture/picture_decoders.h"

namespace qy {

namespace {

constexpr size_t kSignatureSize = 8;

bool Interlaced16Bit(const uint8_t* data, size_t length) {
    // IHDR is the first chunk: bit depth at byte 24, interlace method at byte 28.
    return length > 28 && data[24] == 16 && data[28] == 1;
}

// Total size of the image data chunks; 0 when a chunk runs past the data.
uint64_t ImageDataBytes(const uint8_t* data, size_t length) {
    ByteCursor bytes(data, length);
    bytes.Seek(kSignatureSize);
    uint64_t total = 0;
    while (bytes.ok() && bytes.remaining() >= 12) {
        size_t size = bytes.U32BE();
        const uint8_t* type = bytes.Take(4);
        bytes.Skip(size);
        bytes.Skip(4);
        if (!bytes.ok()) return 0;
        if (std::memcmp(type, "IDAT", 4) == 0) total += size;
        if (std::memcmp(type, "IEND", 4) == 0) break;
    }
    return total;
}

// Deflate packs at most 1032 bytes into one, so image data of n bytes cannot
// hold more than about 1032 n bytes of rows; a header that claims more is
// refused before anything of its size is allocated.
bool DataCanHold(uint64_t rawBytes, uint64_t imageDataBytes) { return rawBytes <= imageDataBytes * 1032 + 1024; }

// The smallest raw form of an image: one bit per pixel and a filter byte a row.
uint64_t LeastRawBytes(uint64_t width, uint64_t height) { return (width + 7) / 8 * height + height; }

struct MemoryReader {
    const uint8_t* data;
    size_t length;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->position) png_error(png, "data ends early");
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

void JumpOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

struct ReadStruct {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStruct() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// The full-size 16-bit rows of an interlaced image, each behind a filter
// byte of 0, as the image data of a non-interlaced file holds them.
bool ReadRawRows(const uint8_t* data, size_t length, std::unique_ptr<uint8_t[]>& rows, size_t& size,
                 uint32_t& height) {
    ReadStruct read;
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
    if (!read.png) return false;
    read.info = png_create_info_struct(read.png);
    if (!read.info) return false;
    MemoryReader reader{data, length, 0};
    std::vector<png_bytep> pointers;
    if (setjmp(png_jmpbuf(read.png))) return false;
    png_set_read_fn(read.png, &reader, ReadFromMemory);
    png_read_info(read.png, read.info);
    if (!PictureSizeAllowed(png_get_image_width(read.png, read.info), png_get_image_height(read.png, read.info)))
        return false;
    png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);
    height = png_get_image_height(read.png, read.info);
    size_t rowBytes = png_get_rowbytes(read.png, read.info);
    uint64_t total = static_cast<uint64_t>(rowBytes + 1) * height;
    if (total > kMaxPictureBytes || !DataCanHold(total, ImageDataBytes(data, length))) return false;
    // Every byte is written by the rows read or the filter byte set here.
    rows.reset(new uint8_t[static_cast<size_t>(total)]);
    size = static_cast<size_t>(total);
    pointers.resize(height);
    for (uint32_t y = 0; y < height; ++y) {
        rows[(rowBytes + 1) * y] = 0;
        pointers[y] = rows.get() + (rowBytes + 1) * y + 1;
    }
    png_read_image(read.png, pointers.data());
    return true;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* body, size_t size) {
    uint8_t word[4] = {static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                       static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size)};
    out.insert(out.end(), word, word + 4);
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body, body + size);
    uLong crc = crc32(0, out.data() + start, static_cast<uInt>(size + 4));
    uint8_t crcBytes[4] = {static_cast<uint8_t>(crc >> 24), static_cast<uint8_t>(crc >> 16),
                           static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc)};
    out.insert(out.end(), crcBytes, crcBytes + 4);
}

// The same file with its image stored without interlacing; every other chunk
// is kept as it was. The simplified reader of the libpng build this runtime
// links mixes rows up when it scales interlaced 16-bit images down to 8 bits,
// so those images reach it in this form.
bool WithoutInterlace(const uint8_t* data, size_t length, std::vector<uint8_t>& out) {
    std::unique_ptr<uint8_t[]> rows;
    size_t rowsSize = 0;
    uint32_t height = 0;
    if (!ReadRawRows(data, length, rows, rowsSize, height)) return false;
    uLongf packedSize = compressBound(static_cast<uLong>(rowsSize));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.get(), static_cast<uLong>(rowsSize), 1) != Z_OK) return false;

    out.assign(data, data + kSignatureSize);
    ByteCursor bytes(data, length);
    bytes.Seek(kSignatureSize);
    bool imageWritten = false;
    while (bytes.ok() && bytes.remaining() >= 12) {
        const uint8_t* header = bytes.data() + bytes.position();
        size_t size = bytes.U32BE();
        const char* type = reinterpret_cast<const char*>(bytes.Take(4));
        const uint8_t* body = bytes.Take(size);
        bytes.Skip(4);
        if (!bytes.ok()) return false;
        if (std::memcmp(type, "IHDR", 4) == 0 && size == 13) {
            uint8_t ihdr[13];
            std::memcpy(ihdr, body, 13);
            ihdr[12] = 0;
            PutChunk(out, "IHDR", ihdr, 13);
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            if (!imageWritten) PutChunk(out, "IDAT", packed.data(), packedSize);
            imageWritten = true;
        } else {
            out.insert(out.end(), header, body + size + 4);
            if (std::memcmp(type, "IEND", 4) == 0) break;
        }
    }
    return imageWritten;
}

bool ReadSimplified(const uint8_t* data, size_t length, Picture& picture) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, length)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    // A 16-bit image without colour-space chunks is taken as already encoded
    // for display, as 8-bit images are, rather than as linear light.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    uint64_t bytes = static_cast<uint64_t>(image.width) * image.height * 4;
    if (!PictureSizeAllowed(image.width, image.height) ||
        !DataCanHold(LeastRawBytes(image.width, image.height), ImageDataBytes(data, length)) ||
        !picture.AllocatePixels(bytes)) {
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, picture.pixels.get(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    png_image_free(&image);
    picture.kind = kPicturePng;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t length, Picture& picture) {
    if (!data || length < kSignatureSize) return false;
    if (!Interlaced16Bit(data, length)) return ReadSimplified(data, length, picture);
    try {
        std::vector<uint8_t> flat;
        return WithoutInterlace(data, length, flat) && ReadSimplified(flat.data(), flat.size(), picture);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace qy
