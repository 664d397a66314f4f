// One picture input taken the way the runtime takes it: format detection,
// then the pixel decoder or, for icons and cursors, the directory reader.
// Shared by the picture fuzz target and the native robustness run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qyfuzz {

// True when the input gave a picture or a chosen icon image; aborts when a
// decoder claims success without pixels.
bool DecodePictureInput(const uint8_t* data, size_t size);

// Valid pictures of every format and layout, from the test encoders.
std::vector<std::vector<uint8_t>> PictureSeeds();

}  // namespace qyfuzz
