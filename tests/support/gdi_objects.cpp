#include "tests/support/gdi_objects.h"

#include <windows.h>

#include <cstdint>

namespace qytest {

namespace {
// Table layouts: Wine keeps 65536 entries of 24 bytes with the type byte at
// offset 14; 32-bit Windows keeps 16384 entries of 16 bytes with the owning
// process at offset 4 and the type at offset 10, for every process at once.
struct TableLayout {
    int entries;
    int entrySize;
    int typeOffset;
    int processOffset;  // -1: every entry belongs to this process
};

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

const uint8_t* GdiHandleTable() {
    const uint8_t* peb = nullptr;
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
    return peb ? *reinterpret_cast<const uint8_t* const*>(peb + 0x94) : nullptr;
}
}  // namespace

int LiveGdiObjects() {
    const uint8_t* table = GdiHandleTable();
    if (!table) return -1;
    const TableLayout layout = RunningOnWine() ? TableLayout{65536, 24, 14, -1} : TableLayout{16384, 16, 10, 4};
    const auto process = static_cast<uint16_t>(GetCurrentProcessId());
    int live = 0;
    for (int i = 0; i < layout.entries; ++i) {
        const uint8_t* entry = table + static_cast<size_t>(i) * layout.entrySize;
        if (entry[layout.typeOffset] == 0) continue;
        if (layout.processOffset >= 0 && *reinterpret_cast<const uint16_t*>(entry + layout.processOffset) != process)
            continue;
        ++live;
    }
    return live;
}

COLORREF PrintedPixel(HWND window, int x, int y) {
    RECT r;
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    COLORREF colour = PrintWindow(window, memory, 0) ? GetPixel(memory, x, y) : CLR_INVALID;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace qytest
