// The colours of the three flat schemes: the fixed frame, border and glyph
// colours, and the four-corner gradient sets of the push button, the check
// box and the arrow button.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qy::styling {

constexpr int kSchemeCount = 3;

// Four corner colours of a gradient, 0x00BBGGRR.
struct Quad {
    COLORREF topLeft, topRight, bottomLeft, bottomRight;
};

// Push-button gradients: 0 pressed, 1 hot, 2 checked, 3 focused or default,
// 4 normal outer faces; 5 pressed and 6 raised inner faces.
enum PushQuad { kPushPressed, kPushHot, kPushChecked, kPushFocused, kPushNormal, kPushInnerPressed, kPushInnerRaised };
// Check-box and radio interiors by state.
enum BoxQuad { kBoxPressed, kBoxHot, kBoxNormal };
// Arrow-button states; quad s is the outer face, 4 + s the corner pixels and
// 8 + s the inner face.
enum ArrowState { kArrowDisabled, kArrowPressed, kArrowHot, kArrowNormal };

struct Scheme {
    COLORREF frame;         // edit and combo frames, up-down background
    COLORREF buttonBorder;  // push-button border
    COLORREF glyph;         // arrows on an enabled arrow button
    Quad push[7];
    Quad box[3];
    Quad arrow[12];
};

// The scheme of a style number; styles outside 1 to 3 paint as 1.
const Scheme& SchemeOf(int32_t style);

// Colours every scheme shares.
constexpr COLORREF kDisabledFace = 0xEAF4F5;
constexpr COLORREF kDisabledCaption = 0x94A2A5;
constexpr COLORREF kBoxFrame = 0x845118;
constexpr COLORREF kTick = 0x21A221;
constexpr COLORREF kDisabledTick = 0xBDCBCE;
constexpr COLORREF kIndeterminateFill[4] = {0xBDCBCE, 0x188A18, 0x21A221, 0x73C373};  // disabled, pressed, hot, normal
constexpr COLORREF kHotCheckedFill = 0xF7F7F7;
constexpr COLORREF kHotUncheckedFill = 0xE7E7E7;
constexpr COLORREF kGroupFrame = 0xBFB8BF;
constexpr COLORREF kBuddyFrame = 0xBD9E7B;
constexpr COLORREF kDisabledGlyph = 0xC6CBCE;
constexpr COLORREF kDisabledDefaultFrame = 0xBDCFCE;
constexpr COLORREF kGripperShade = 0xFFF7EF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

// The button face less 0x202020, the frame of a disabled control.
COLORREF DisabledFrame();

}  // namespace qy::styling
