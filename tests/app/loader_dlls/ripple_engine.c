/* A stand-in ripple engine: takes the calls the ripple effect makes, draws a
   pixel with each device context it is given and remembers what it saw. */
#define ENTRY_LOG "QY_RIPPLE_ENGINE_ENTRY"
#include "entry_log.h"

static int seen[7];
enum { kBitmapWidth, kTicks, kActions, kLastX, kLastY, kLastStrength, kLastSpread };

void WINAPI WaterInit(HBITMAP bitmap) {
    BITMAP info;
    seen[kBitmapWidth] = GetObjectA(bitmap, sizeof info, &info) ? info.bmWidth : -1;
}

void WINAPI WaterTimer(HDC dc) {
    ++seen[kTicks];
    SetPixel(dc, seen[kTicks] & 7, 0, RGB(0, 0, 255));
}

void WINAPI WaterMouseAction(HDC dc, int unused1, int unused2, int x, int y, int strength, int spread) {
    (void)unused1;
    (void)unused2;
    ++seen[kActions];
    seen[kLastX] = x;
    seen[kLastY] = y;
    seen[kLastStrength] = strength;
    seen[kLastSpread] = spread;
    SetPixel(dc, x, y, RGB(255, 0, 0));
}

/* What the engine saw, in the order of the enum above; 0 past its end. */
int WINAPI RippleSeen(int what) { return what >= 0 && what < 7 ? seen[what] : 0; }
