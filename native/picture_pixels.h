// A picture file's bytes as the core's pixels (0x00BBGGRR, top row first),
// through our own decoders.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace native {

struct Pixels {
    int32_t width = 0, height = 0;
    std::vector<int32_t> colours;
};

// False when the bytes are no picture the decoders read (icons and cursors
// need the platform, so they are refused too).
bool DecodeToPixels(const std::string& bytes, Pixels* pixels);

}  // namespace native
