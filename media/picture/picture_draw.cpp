#include "media/picture/picture_draw.h"

#include <cstring>

#include "runtime/win32_handles.h"

namespace qy {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

using OwnedBitmap = GdiHandle<HBITMAP>;

// The text and background colours a monochrome source is expanded with.
class MonochromeColours {
public:
    MonochromeColours(HDC dc, COLORREF zeros, COLORREF ones)
        : dc_(dc), text_(SetTextColor(dc, zeros)), back_(SetBkColor(dc, ones)) {}
    ~MonochromeColours() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, back_);
    }

private:
    HDC dc_;
    COLORREF text_, back_;
};

HBITMAP DibSection(HDC dc, int width, int height, int bits, void** pixels) {
    BITMAPINFO info = DibInfo(width, height, static_cast<WORD>(bits));  // negative height: top-down
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

HBITMAP BgrBitmap(const Picture& picture, HDC dc) {
    void* bits = nullptr;
    HBITMAP bitmap = DibSection(dc, picture.width, picture.height, 24, &bits);
    if (!bitmap) return nullptr;
    size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    size_t stride = (rowBytes + 3) & ~static_cast<size_t>(3);
    const uint8_t* in = picture.pixels.get();
    auto* out = static_cast<uint8_t*>(bits);
    if (stride == rowBytes) {
        std::memcpy(out, in, rowBytes * picture.height);
    } else {
        for (int y = 0; y < picture.height; ++y, in += rowBytes, out += stride) std::memcpy(out, in, rowBytes);
    }
    return bitmap;
}

// channel = alpha/255 x channel + (1 - alpha/255) x background, computed
// exactly and truncated.
HBITMAP BlendedBitmap(const Picture& picture, HDC dc, COLORREF background) {
    void* bits = nullptr;
    HBITMAP bitmap = DibSection(dc, picture.width, -picture.height, 32, &bits);
    if (!bitmap) return nullptr;
    const unsigned back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    const uint8_t* in = picture.pixels.get();
    auto* out = static_cast<uint8_t*>(bits);
    size_t count = static_cast<size_t>(picture.width) * picture.height;
    // The fourth byte of a plain 32-bit DIB is unused and stays 0: colour
    // comparisons, such as the one that builds a transparency mask, see it.
    for (size_t i = 0; i < count; ++i, in += 4, out += 4) {
        unsigned alpha = in[3];
        if (alpha == 255) {
            std::memcpy(out, in, 3);
        } else {
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>((alpha * in[c] + (255 - alpha) * back[c]) / 255);
        }
        out[3] = 0;
    }
    return bitmap;
}

HBITMAP BuildBitmap(const Picture& picture, HDC dc, COLORREF background) {
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return nullptr;
    switch (picture.kind) {
        case kPictureJpeg:
        case kPictureBmp:
        case kPicturePnm: return BgrBitmap(picture, dc);
        case kPictureGif:
        case kPicturePcx8: {
            const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.pixels.get());
            return CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, picture.pixels.get() + kPaletteDibHeaderSize,
                                  info, DIB_RGB_COLORS);
        }
        case kPicturePcx1: return CreateBitmap(picture.width, picture.height, 1, 1, picture.pixels.get());
        case kPicturePng: return BlendedBitmap(picture, dc, background);
        default: return nullptr;
    }
}

int DisplayBitsPerPixel() {
    ScreenDc screen;
    return screen.get() ? GetDeviceCaps(screen.get(), BITSPIXEL) : 0;
}

// Pixels of the transparent colour leave the destination as it was: the
// source is XORed in, the mask clears what is not transparent, and the
// second XOR puts the source back there while undoing the first elsewhere.
void DrawTransparent(HDC dc, int x, int y, int width, int height, HDC source, int sourceWidth, int sourceHeight,
                     COLORREF transparent) {
    OwnedBitmap maskBitmap(CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    if (!maskBitmap.get()) return;
    MemoryDc mask(dc, maskBitmap.get());
    COLORREF oldBack = SetBkColor(source, transparent);
    BitBlt(mask.get(), 0, 0, sourceWidth, sourceHeight, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);

    StretchBlt(dc, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCINVERT);
    {
        MonochromeColours colours(dc, kBlack, kWhite);
        StretchBlt(dc, x, y, width, height, mask.get(), 0, 0, sourceWidth, sourceHeight, SRCAND);
    }
    StretchBlt(dc, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCINVERT);
}

}  // namespace

void RenderPicture(const Picture& picture, HDC dc, int x, int y, int width, int height, int32_t rasterOp,
                   COLORREF background) {
    if (!dc) return;
    if (width == -1) width = picture.width;
    if (height == -1) height = picture.height;
    if (picture.kind == kPictureIcon || picture.kind == kPictureCursor) {
        if (picture.icon.get())
            DrawIconEx(dc, x, y, static_cast<HICON>(picture.icon.get()), width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    OwnedBitmap bitmap(BuildBitmap(picture, dc, background & 0x00FFFFFF));
    if (!bitmap.get()) return;

    int oldMode = SetStretchBltMode(dc, DisplayBitsPerPixel() > 16 ? HALFTONE : COLORONCOLOR);
    POINT oldOrigin;
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // halftoning expects the origin reset after the mode change
    MemoryDc source(dc, bitmap.get());
    if (rasterOp >= 0) {
        // A monochrome source draws its 0 bits in the text colour and its 1
        // bits in the background colour of the destination: black and white.
        MonochromeColours colours(dc, kBlack, kWhite);
        StretchBlt(dc, x, y, width, height, source.get(), 0, 0, picture.width, picture.height,
                   static_cast<DWORD>(rasterOp));
    } else if (picture.kind == kPicturePcx1) {
        // The mask needs a colour source to compare with the transparent colour.
        OwnedBitmap colour(CreateCompatibleBitmap(dc, picture.width, picture.height));
        if (colour.get()) {
            MemoryDc expanded(dc, colour.get());
            {
                MonochromeColours colours(expanded.get(), kBlack, kWhite);
                BitBlt(expanded.get(), 0, 0, picture.width, picture.height, source.get(), 0, 0, SRCCOPY);
            }
            DrawTransparent(dc, x, y, width, height, expanded.get(), picture.width, picture.height,
                            static_cast<COLORREF>(-static_cast<int64_t>(rasterOp)));
        }
    } else {
        DrawTransparent(dc, x, y, width, height, source.get(), picture.width, picture.height,
                        static_cast<COLORREF>(-static_cast<int64_t>(rasterOp)));
    }
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

HBITMAP ConvertPictureToBitmap(const void* data, int length) {
    std::unique_ptr<Picture> picture = DecodePicture(data, length);
    if (!picture) return nullptr;
    ScreenDc screen;
    if (!screen.get()) return nullptr;
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.get(), picture->width, picture->height));
    if (bitmap.get()) {
        MemoryDc target(screen.get(), bitmap.get());
        PatBlt(target.get(), 0, 0, picture->width, picture->height, WHITENESS);
        RenderPicture(*picture, target.get(), 0, 0, -1, -1, SRCCOPY, kWhite);
    }
    return bitmap.release();
}

}  // namespace qy
