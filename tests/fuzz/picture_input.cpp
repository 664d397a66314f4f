#include "tests/fuzz/picture_input.h"

#include <cstdio>
#include <cstdlib>

#include "media/picture/picture_decoders.h"
#include "tests/fuzz/exact_block.h"

namespace qyfuzz {

bool DecodePictureInput(const uint8_t* data, size_t size) {
    ExactBlock block(data, size);
    qy::PictureKind kind = qy::DetectPictureFormat(block.data(), size);
    if (kind == qy::kPictureIcon || kind == qy::kPictureCursor) {
        qy::IconImage image;
        if (!qy::SelectIconImage(block.data(), size, image)) return false;
        // The platform reads the chosen image; touch all of it the same way.
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < image.size; ++i) sum += image.data[i];
        (void)sum;
        return true;
    }
    if (kind == qy::kPictureNone) return false;
    qy::Picture picture;
    if (!qy::DecodePixels(kind, block.data(), size, picture)) return false;
    if (!picture.pixels || picture.size <= 0) {
        std::fprintf(stderr, "kind %d decoded without pixels\n", kind);
        std::abort();
    }
    return true;
}

}  // namespace qyfuzz
