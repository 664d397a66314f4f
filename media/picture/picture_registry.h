// Pictures registered with the runtime: it owns them from registration until
// they are released or the runtime shuts down, and a picture's number is its
// record's address (0 is none).
#pragma once
#include <cstdint>
#include <memory>

#include "media/picture/picture.h"

namespace qy {

// Takes ownership; returns the picture number, 0 for a null picture.
int32_t RegisterPicture(std::unique_ptr<Picture> picture);
// The registered picture of that number, or null.
Picture* FindPicture(int32_t number);
// The same picture shared, so that a holder keeps it alive after it is
// released; as long as it does, no later picture gets that number.
std::shared_ptr<const Picture> SharePicture(int32_t number);
// Unregisters the picture; it is freed once no holder shares it. Unknown
// numbers and 0 do nothing.
void UnregisterPicture(int32_t number);
// Number of registered pictures (all are released at shut-down).
size_t RegisteredPictureCount();
// Shut-down: deletes every registered picture.
void ReleasePictures();
// A byte-set block of picture data to a screen-compatible bitmap, or null.
void* ConvertPictureByteSet(void* byteSet);

}  // namespace qy
