// Drawing a picture record on a device context, and the conversion of
// picture data to a bitmap that the picture object wraps.
#pragma once
#include <windows.h>

#include <cstdint>

#include "media/picture/picture.h"

namespace qy {

// Draws the picture with its top-left at (x, y), stretched to width x height
// (-1: the picture's own width or height). rasterOp is a GDI raster
// operation; a negative value -c draws with colour c transparent. Pixels with
// alpha are blended against background, a 0x00BBGGRR colour. Icons and
// cursors ignore rasterOp and background.
void RenderPicture(const Picture& picture, HDC dc, int x, int y, int width, int height, int32_t rasterOp,
                   COLORREF background);

// Decodes the data and renders it at its own size into a bitmap compatible
// with the screen, blended over white; null when the data is no picture.
HBITMAP ConvertPictureToBitmap(const void* data, int length);

}  // namespace qy
