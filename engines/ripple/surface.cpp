#include "engines/ripple/surface.h"

namespace qyripple {

namespace {

// A height difference across two pixels, divided by this, is the offset in
// pixels of the source pixel seen through the water.
constexpr int kRefraction = 16;
// The same difference, divided by this, is added to each colour channel.
constexpr int kShade = 8;

// Loses about a thirty-second of the height each step, and at least one
// unit, so rings fade and the surface comes to rest at exactly zero.
int Damp(int value) {
    if (value > 0) return value - ((value + 31) >> 5);
    if (value < 0) return value + ((-value + 31) >> 5);
    return 0;
}

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

unsigned ShadeChannel(unsigned pixel, int shift, int shade) {
    int channel = static_cast<int>((pixel >> shift) & 0xFF) + shade;
    return static_cast<unsigned>(Clamp(channel, 0, 255)) << shift;
}

}  // namespace

bool StepSurface(Surface& surface) {
    const int w = surface.width;
    const int h = surface.height;
    int* now = surface.current;
    int* next = surface.previous;
    bool moving = false;
    // The border rows and columns stay at zero: the edge reflects the rings.
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            const int i = y * w + x;
            const int sum = now[i - 1] + now[i + 1] + now[i - w] + now[i + w];
            const int value = Damp((sum >> 1) - next[i]);
            next[i] = value;
            if (value != 0 || now[i] != 0) moving = true;
        }
    }
    surface.current = next;
    surface.previous = now;
    return moving;
}

void DropOnSurface(Surface& surface, int x, int y, int radius, int depth) {
    // Far-off points are refused first, so the ranges below cannot overflow.
    if (x < -radius || y < -radius || x > surface.width + radius || y > surface.height + radius) return;
    const int r2 = radius * radius;
    const int top = y - radius < 1 ? 1 : y - radius;
    const int bottom = y + radius > surface.height - 2 ? surface.height - 2 : y + radius;
    const int left = x - radius < 1 ? 1 : x - radius;
    const int right = x + radius > surface.width - 2 ? surface.width - 2 : x + radius;
    for (int py = top; py <= bottom; ++py) {
        for (int px = left; px <= right; ++px) {
            const int d2 = (px - x) * (px - x) + (py - y) * (py - y);
            if (d2 < r2) surface.current[py * surface.width + px] -= depth * (r2 - d2) / r2;
        }
    }
}

void RefractPicture(const Surface& surface, const unsigned* source, unsigned* output) {
    const int w = surface.width;
    const int h = surface.height;
    const int* heights = surface.current;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = y * w + x;
            const int left = x > 0 ? heights[i - 1] : 0;
            const int right = x < w - 1 ? heights[i + 1] : 0;
            const int up = y > 0 ? heights[i - w] : 0;
            const int down = y < h - 1 ? heights[i + w] : 0;
            const int dx = left - right;
            const int dy = up - down;
            const int sx = Clamp(x + dx / kRefraction, 0, w - 1);
            const int sy = Clamp(y + dy / kRefraction, 0, h - 1);
            const unsigned pixel = source[sy * w + sx];
            const int shade = (dx + dy) / kShade;
            if (shade == 0) {
                output[i] = pixel;
            } else {
                output[i] = (pixel & 0xFF000000u) | ShadeChannel(pixel, 16, shade) |
                            ShadeChannel(pixel, 8, shade) | ShadeChannel(pixel, 0, shade);
            }
        }
    }
}

}  // namespace qyripple
