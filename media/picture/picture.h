// Decoded pictures: the record every picture property, command and drawing
// routine of the runtime shares, format detection from the first bytes, and
// decoding from memory or from a file. Byte-level only: the native icon
// handle is carried as an opaque pointer with the routine that destroys it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace qy {

enum PictureKind : int {
    kPictureNone = 0,
    kPictureJpeg = 1,    // pixels: width x height x 3, blue-green-red, bottom-up, rows unpadded
    kPictureBmp = 2,     // same layout as JPEG
    kPictureIcon = 3,    // icon handle only
    kPictureCursor = 4,  // icon handle only
    kPictureGif = 5,     // 40-byte info header, 256 colours (blue, green, red, 0), 8-bit rows
    kPicturePcx8 = 6,    // same layout as GIF
    kPicturePcx1 = 7,    // top-down monochrome rows, each padded to a 16-bit word
    kPicturePng = 8,     // width x height x 4, blue-green-red-alpha, top-down
    kPicturePnm = 9,     // same layout as JPEG
};

// Size of the header and colour table in front of the rows of kinds 5 and 6.
constexpr int kPaletteDibHeaderSize = 40 + 256 * 4;

// A native icon handle owned together with the routine that destroys it, so
// that byte-level code can hold a picture record without knowing the platform.
class OwnedIcon {
public:
    OwnedIcon() = default;
    OwnedIcon(void* handle, void (*destroy)(void*)) : handle_(handle), destroy_(destroy) {}
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() {
        if (handle_ && destroy_) destroy_(handle_);
    }
    void Reset(void* handle, void (*destroy)(void*)) {
        if (handle_ && destroy_) destroy_(handle_);
        handle_ = handle;
        destroy_ = destroy;
    }
    void* get() const { return handle_; }

private:
    void* handle_ = nullptr;
    void (*destroy_)(void*) = nullptr;
};

// Releasing a record destroys its icon and frees its pixel block.
struct Picture {
    PictureKind kind = kPictureNone;
    int width = 0;
    int height = 0;
    OwnedIcon icon;  // HICON for kinds 3 and 4
    std::unique_ptr<uint8_t[]> pixels;
    int size = 0;  // bytes in pixels

    // Allocates an uninitialised pixel block; false when the size does not fit
    // an int or memory is short.
    bool AllocatePixels(uint64_t bytes);
};

// Format code 0..9 from the first bytes; fewer than 6 bytes are unknown.
PictureKind DetectPictureFormat(const uint8_t* data, size_t length);

// Decodes the kinds that need no platform object (all but icon and cursor)
// into the record; false leaves no usable picture.
bool DecodePixels(PictureKind kind, const uint8_t* data, size_t length, Picture& picture);

// Every failure gives null: unknown format, truncated or hostile data, a
// decoder error, memory shortage.
std::unique_ptr<Picture> DecodePicture(const void* data, int length);
// The file is opened with writers shut out and read whole; empty name: null.
std::unique_ptr<Picture> DecodePictureFile(const char* fileName);

}  // namespace qy
