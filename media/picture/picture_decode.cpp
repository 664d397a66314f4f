// Decoding entry points: the format comes from the data's first bytes, never
// from a file name. Icons and cursors become native icons; every other kind
// is decoded byte by byte into the record's pixel block.
#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "media/picture/picture.h"
#include "media/picture/picture_decoders.h"
#include "runtime/win32_handles.h"

namespace qy {

namespace {

void DestroyIconHandle(void* icon) { DestroyIcon(static_cast<HICON>(icon)); }

bool CreateIconPicture(const uint8_t* data, size_t length, Picture& picture) {
    IconImage image;
    if (!SelectIconImage(data, length, image)) return false;
    // The icon functions take a writable buffer; they get a copy of the image.
    std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[image.size]);
    if (!copy) return false;
    std::memcpy(copy.get(), image.data, image.size);
    DWORD size = static_cast<DWORD>(image.size);
    HICON icon = CreateIconFromResourceEx(copy.get(), size, TRUE, 0x00030000, image.width, image.height,
                                          LR_DEFAULTCOLOR);
    if (!icon && image.bitCount != 16) icon = CreateIconFromResource(copy.get(), size, TRUE, 0x00030000);
    if (!icon) return false;
    picture.icon.Reset(icon, &DestroyIconHandle);
    picture.kind = image.kind;
    picture.width = image.width;
    picture.height = image.height;
    return true;
}

}  // namespace

std::unique_ptr<Picture> DecodePicture(const void* data, int length) {
    if (!data || length <= 0) return nullptr;
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t size = static_cast<size_t>(length);
    PictureKind kind = DetectPictureFormat(bytes, size);
    if (kind == kPictureNone) return nullptr;
    std::unique_ptr<Picture> picture(new (std::nothrow) Picture);
    if (!picture) return nullptr;
    bool decoded = kind == kPictureIcon || kind == kPictureCursor ? CreateIconPicture(bytes, size, *picture)
                                                                   : DecodePixels(kind, bytes, size, *picture);
    if (!decoded) return nullptr;
    return picture;
}

std::unique_ptr<Picture> DecodePictureFile(const char* fileName) {
    if (!fileName || !*fileName) return nullptr;
    // Readers may share the file while it is decoded; writers may not.
    KernelHandle file = OpenedFile(CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return nullptr;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart <= 0 || fileSize.QuadPart > 0x7FFFFFFF)
        return nullptr;
    DWORD size = static_cast<DWORD>(fileSize.QuadPart);
    std::unique_ptr<uint8_t[]> contents(new (std::nothrow) uint8_t[size]);
    if (!contents) return nullptr;
    DWORD read = 0;
    while (read < size) {
        DWORD chunk = 0;
        if (!ReadFile(file.get(), contents.get() + read, size - read, &chunk, nullptr) || chunk == 0) return nullptr;
        read += chunk;
    }
    return DecodePicture(contents.get(), static_cast<int>(size));
}

}  // namespace qy
