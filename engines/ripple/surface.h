// The water surface: two height maps stepped by the wave equation, drops
// that disturb them, and the refracted picture they make. Plain arithmetic
// over caller-owned buffers, so it also builds natively for a quick look.
#pragma once

namespace qyripple {

struct Surface {
    int width;
    int height;
    int* current;   // heights now
    int* previous;  // heights one step ago; the step overwrites it with the next
};

// Advances the surface one step; returns false when both maps are entirely
// flat afterwards, so the surface stays flat until the next drop.
bool StepSurface(Surface& surface);

// Pushes the surface down around (x, y) by depth at the centre, falling off
// smoothly to nothing at the radius; points off the surface are skipped.
void DropOnSurface(Surface& surface, int x, int y, int radius, int depth);

// Writes each output pixel from the source pixel the slope under it shows,
// brightened where the surface faces the light; pixels are 32-bit, top-down.
void RefractPicture(const Surface& surface, const unsigned* source, unsigned* output);

}  // namespace qyripple
