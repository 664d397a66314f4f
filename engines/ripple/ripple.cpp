// The ripple engine's exports: one water surface per loaded copy of the DLL,
// over a copy of the picture it was given. It runs with no C runtime, so it
// allocates from the process heap and has no constructors or destructors.
#include <windows.h>

#include "engines/ripple/surface.h"

namespace {

// Larger pictures are refused rather than risk an overflowing size.
constexpr int kMaxSide = 4096;
// Mouse radii arrive on a scale ten times the picture's pixels.
constexpr int kRadiusScale = 10;
constexpr int kMinRadius = 2;
constexpr int kMaxRadius = 32;
// Deeper drops would only blank the picture, and could overflow the heights.
constexpr int kMaxDepth = 4096;

struct Water {
    qyripple::Surface surface;
    unsigned* picture;  // the picture's pixels, 32-bit top-down
    unsigned* output;   // the picture as the water shows it now; the picture itself at rest
    bool moving;        // the surface was not flat after the last step
    bool unshown;       // nothing drawn since the picture was given
};

// Zero-initialised: an engine with no picture is idle.
Water water;

void FreeWater() {
    if (water.picture) HeapFree(GetProcessHeap(), 0, water.picture);
    water = Water{};
}

bool ReadPicture(HBITMAP bitmap, int width, int height, unsigned* pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    const int lines = GetDIBits(dc, bitmap, 0, height, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return lines == height;
}

void Draw(HDC dc, const unsigned* pixels) {
    const int width = water.surface.width;
    const int height = water.surface.height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
}

}  // namespace

extern "C" {

// The process heap outlives the DLL, so the picture's copy is given back on unload.
BOOL WINAPI EngineEntry(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) FreeWater();
    return TRUE;
}

void WINAPI WaterInit(HBITMAP picture) {
    FreeWater();
    BITMAP info;
    if (!picture || GetObjectW(picture, sizeof(info), &info) != sizeof(info)) return;
    const int width = info.bmWidth;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return;
    // One block holds the picture, the output and the two height maps.
    const unsigned cells = static_cast<unsigned>(width) * static_cast<unsigned>(height);
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, cells * 4 * sizeof(unsigned));
    if (!block) return;
    unsigned* pixels = static_cast<unsigned*>(block);
    if (!ReadPicture(picture, width, height, pixels)) {
        HeapFree(GetProcessHeap(), 0, block);
        return;
    }
    water.picture = pixels;
    water.output = pixels + cells;
    for (unsigned i = 0; i < cells; ++i) water.output[i] = pixels[i];
    water.unshown = true;
    water.surface.width = width;
    water.surface.height = height;
    water.surface.current = reinterpret_cast<int*>(pixels + 2 * cells);
    water.surface.previous = reinterpret_cast<int*>(pixels + 3 * cells);
}

// Whether the water still moves: flat water needs no ticks until the next drop.
BOOL WINAPI WaterTimer(HDC dc) {
    if (!water.picture) return FALSE;
    if (water.moving) {
        // The step that comes to rest still draws: its refraction is the picture itself.
        water.moving = qyripple::StepSurface(water.surface);
        qyripple::RefractPicture(water.surface, water.picture, water.output);
    } else if (!water.unshown) {
        // Flat water stays as drawn until the window paints over it, which WaterPainted mends.
        return FALSE;
    }
    Draw(dc, water.output);
    water.unshown = false;
    return water.moving;
}

// The window has just painted itself over the picture.
void WINAPI WaterPainted(HDC dc) {
    if (water.picture) Draw(dc, water.output);
}

void WINAPI WaterMouseAction(HDC, int, int, int x, int y, int radius, int depth) {
    if (!water.picture) return;
    int pixels = radius / kRadiusScale + 1;
    pixels = pixels < kMinRadius ? kMinRadius : pixels > kMaxRadius ? kMaxRadius : pixels;
    depth = depth < -kMaxDepth ? -kMaxDepth : depth > kMaxDepth ? kMaxDepth : depth;
    qyripple::DropOnSurface(water.surface, x, y, pixels, depth);
    water.moving = true;
}

}  // extern "C"
