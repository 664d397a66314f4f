#include "styling/palette.h"

namespace qy::styling {

namespace {
// A gradient from one colour at the top to another at the bottom.
constexpr Quad Vertical(COLORREF top, COLORREF bottom) { return {top, top, bottom, bottom}; }
constexpr Quad Solid(COLORREF colour) { return {colour, colour, colour, colour}; }

constexpr Quad kDisabledOuter = {0xEFF3F7, 0xDEE7E7, 0xDEE3E7, 0xDEE3E7};
constexpr Quad kDisabledCorners = Vertical(0xE7EBEF, 0xDEE3E7);
constexpr Quad kDisabledInner = Vertical(0xF7F7F7, 0xE7EBEF);
constexpr Quad kHotRing = Vertical(0xCFF0FF, 0x30B3F8);
constexpr Quad kHotBox = {0xCFF0FF, 0x94D7FE, 0x94D7FE, 0x3193F8};

const Scheme kSchemes[kSchemeCount] = {
    // 1: blue.
    {0xBD9E7B,
     0x733C00,
     0xBD9E7B,
     {Vertical(0xC1CCD1, 0xDAE2E3), kHotRing, {0xFBD3C1, 0xF5C2A8, 0xEE8269, 0xE07040}, Vertical(0xFFE7CE, 0xEE8269),
      Vertical(0xFFFFFF, 0xC5D0D6), Vertical(0xDAE3E6, 0xEEF1F2), Vertical(0xFFFFFF, 0xE6EBEC)},
     {{0xA7B0B0, 0xC6CDCE, 0xC6CDCE, 0xF4F8F8}, kHotBox, {0xD7DCDC, 0xEDF0F0, 0xEDF0F0, 0xFFFFFF}},
     {kDisabledOuter, {0xDEAEA5, 0xF7CBBD, 0xDE8273, 0xF7C7B5}, {0xFFEDE0, 0xFFE7D6, 0xF7C6B0, 0xF7CBB5},
      Vertical(0xFDE7DA, 0xF3C4AF), kDisabledCorners, {0xD6A594, 0xE7BEAD, 0xCE8A7B, 0xE7BEAD},
      Vertical(0xF7DECE, 0xEFC3AD), Vertical(0xF2D9C9, 0xE8BBA5), kDisabledInner, {0xF7BFAE, 0xF7CBBD, 0xEFB29C, 0xF7C7B5},
      Vertical(0xFFF8F3, 0xFFD7C2), Vertical(0xFFF2E8, 0xFBD4BE)}},
    // 2: olive green.
    {0x7FB9A4,
     0x066237,
     kWhite,
     {Vertical(0xC5CFCD, 0xDCE3E3), Vertical(0x9FE7FF, 0x1D9BE8), {0xB4E3CC, 0xA8DBC2, 0x6AB890, 0x4FA476},
      Vertical(0xA7E6C2, 0x3C9E6F), Vertical(0xFFFFFF, 0xC0D6D5), Vertical(0xD2DEDD, 0xEEF3F3), Vertical(0xF4FBFB, 0xD7E8E6)},
     {{0xA7C2B4, 0xC3D6CC, 0xC3D6CC, 0xF0F5F2}, kHotBox, {0xC9DBD3, 0xE4EEE9, 0xE4EEE9, 0xFFFFFF}},
     {kDisabledOuter, Solid(0x618376), Vertical(0x9AD3BE, 0x6FB096), Vertical(0x86C3AE, 0x5E9F86), kDisabledCorners,
      Solid(0x5A7A6E), Vertical(0x8CC6B2, 0x64A48C), Vertical(0x7AB6A0, 0x548F78), kDisabledInner,
      Vertical(0x6B8F82, 0x7FA396), Vertical(0xA6DCC8, 0x76B69C), Vertical(0x94CDB8, 0x66A78E)}},
    // 3: silver.
    {0xD7C5C6,
     0x743C00,
     kBlack,
     {Vertical(0xC8C4C5, 0xE8E4E5), kHotRing, {0xE2D4D3, 0xDACBCA, 0xBBA7A8, 0xB09A9C}, Vertical(0xFFEAE1, 0xC9A592),
      Vertical(0xFFFFFF, 0xDAD6D6), Vertical(0xDCD8D9, 0xF1EFEF), Vertical(0xFFFFFF, 0xE7E1E0)},
     {{0xC0B8B9, 0xD8D2D2, 0xD8D2D2, 0xF7F5F5}, kHotBox, {0xDCD6D6, 0xEFEBEB, 0xEFEBEB, 0xFFFFFF}},
     {kDisabledOuter, Solid(0x484843), Vertical(0xFFFCFB, 0xE3D8D6), Vertical(0xF8F4F3, 0xD2C3C4), kDisabledCorners,
      Solid(0x403F3B), Vertical(0xF2EBEA, 0xD7CBCA), Vertical(0xEAE2E1, 0xC7B7B8), kDisabledInner,
      Vertical(0x5A5A55, 0x6D6D68), Vertical(0xFFFFFF, 0xEDE4E3), Vertical(0xFFFCFC, 0xDCCFD0)}},
};
}  // namespace

const Scheme& SchemeOf(int32_t style) { return kSchemes[style >= 1 && style <= kSchemeCount ? style - 1 : 0]; }

COLORREF DisabledFrame() {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto less = [](int channel) { return channel > 0x20 ? channel - 0x20 : 0; };
    return RGB(less(GetRValue(face)), less(GetGValue(face)), less(GetBValue(face)));
}

}  // namespace qy::styling
