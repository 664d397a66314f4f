#include "native/picture_pixels.h"

#include "media/picture/picture_decoders.h"

namespace native {

namespace {

int32_t Bgr(const uint8_t* p) { return p[0] << 16 | p[1] << 8 | p[2]; }

}  // namespace

bool DecodeToPixels(const std::string& bytes, Pixels* out) {
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    qy::PictureKind kind = qy::DetectPictureFormat(data, bytes.size());
    if (kind == qy::kPictureNone || kind == qy::kPictureIcon || kind == qy::kPictureCursor) return false;
    // A JPEG goes straight into the colours: a large photograph is most of the run's time and memory.
    if (kind == qy::kPictureJpeg) return qy::DecodeJpegColours(data, bytes.size(), &out->colours, &out->width, &out->height);
    qy::Picture picture;
    if (!qy::DecodePixels(kind, data, bytes.size(), picture) || !picture.pixels) return false;
    int32_t w = picture.width, h = picture.height;
    out->width = w, out->height = h;
    out->colours.resize(static_cast<size_t>(w) * h);
    const uint8_t* p = picture.pixels.get();
    for (int32_t y = 0; y < h; ++y) {
        int32_t* row = out->colours.data() + static_cast<size_t>(y) * w;
        switch (kind) {
            case qy::kPictureJpeg:
            case qy::kPictureBmp:
            case qy::kPicturePnm: {
                // Bottom-up rows of blue, green, red.
                const uint8_t* in = p + static_cast<size_t>(h - 1 - y) * w * 3;
                for (int32_t x = 0; x < w; ++x) row[x] = Bgr(in + 3 * x);
                break;
            }
            case qy::kPictureGif:
            case qy::kPicturePcx8: {
                const uint8_t* in = p + qy::kPaletteDibHeaderSize + static_cast<size_t>(y) * qy::PaletteDibStride(w);
                for (int32_t x = 0; x < w; ++x) row[x] = Bgr(p + 40 + 4 * in[x]);
                break;
            }
            case qy::kPicturePcx1: {
                // Word-aligned rows; a set bit is white.
                size_t stride = ((static_cast<size_t>(w) + 7) / 8 + 1) & ~static_cast<size_t>(1);
                const uint8_t* in = p + static_cast<size_t>(y) * stride;
                for (int32_t x = 0; x < w; ++x) row[x] = (in[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFF : 0;
                break;
            }
            case qy::kPicturePng: {
                // Blended over the white paper the panel draws on.
                const uint8_t* in = p + static_cast<size_t>(y) * w * 4;
                for (int32_t x = 0; x < w; ++x, in += 4) {
                    unsigned a = in[3];
                    auto blend = [a](unsigned c) { return (a * c + (255 - a) * 255) / 255; };
                    row[x] = static_cast<int32_t>(blend(in[0]) << 16 | blend(in[1]) << 8 | blend(in[2]));
                }
                break;
            }
            default: return false;
        }
    }
    return true;
}

}  // namespace native
