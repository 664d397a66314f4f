/* A stand-in ripple engine: takes the calls the ripple effect makes, draws a
   pixel with each device context it is given and remembers what it saw. Its
   water moves for five ticks after each mouse action, then rests. */
#define ENTRY_LOG "QY_RIPPLE_ENGINE_ENTRY"
#include "entry_log.h"

static int seen[8], movingTicks;
enum { kBitmapWidth, kTicks, kActions, kLastX, kLastY, kLastStrength, kLastSpread, kPaints };

void WINAPI WaterInit(HBITMAP bitmap) {
    BITMAP info;
    seen[kBitmapWidth] = GetObjectA(bitmap, sizeof info, &info) ? info.bmWidth : -1;
}

BOOL WINAPI WaterTimer(HDC dc) {
    ++seen[kTicks];
    SetPixel(dc, seen[kTicks] & 7, 0, RGB(0, 0, 255));
    return movingTicks > 0 ? movingTicks-- : 0;
}

void WINAPI WaterPainted(HDC dc) {
    ++seen[kPaints];
    SetPixel(dc, 0, 1, RGB(0, 255, 0));
}

void WINAPI WaterMouseAction(HDC dc, int unused1, int unused2, int x, int y, int strength, int spread) {
    (void)unused1;
    (void)unused2;
    ++seen[kActions];
    movingTicks = 5;
    seen[kLastX] = x;
    seen[kLastY] = y;
    seen[kLastStrength] = strength;
    seen[kLastSpread] = spread;
    SetPixel(dc, x, y, RGB(255, 0, 0));
}

/* What the engine saw, in the order of the enum above; 0 past its end. */
int WINAPI RippleSeen(int what) { return what >= 0 && what < 8 ? seen[what] : 0; }
