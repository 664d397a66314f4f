#include "styling/painters.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "runtime/win32_handles.h"
#include "styling/arrow_button.h"
#include "styling/canvas.h"
#include "styling/control_style.h"
#include "styling/palette.h"

namespace qy::styling {

namespace {
constexpr int kBoxSize = 13;
constexpr int kCheckCell = 16;  // box and gap before the caption
constexpr int kCaptionBytes = 256;
constexpr int kGroupCaptionIndent = 10;
// Measures the caption band of a group box that has no caption.
constexpr char kGroupSample[] = "Caption";

struct Size {
    int width, height;
};

Size WindowSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The whole window's device context and a canvas of its size, copied to it by Show.
struct WholeWindow {
    explicit WholeWindow(HWND window)
        : size(WindowSize(window)), target(window), canvas(target.get(), size.width, size.height) {}
    bool ready() const { return target.get() && canvas.dc(); }
    void Show() const { canvas.CopyTo(target.get()); }

    Size size;
    WindowDc target;
    Canvas canvas;
};

bool Has(uint32_t state, uint32_t bit) { return (state & bit) != 0; }

HBRUSH ParentBrush(const StyledControl& node) {
    return node.brush ? node.brush : GetSysColorBrush(COLOR_BTNFACE);
}

HFONT FontOf(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

int CaptionOf(HWND window, char (&text)[kCaptionBytes]) {
    return std::max(GetWindowTextA(window, text, kCaptionBytes), 0);
}

// Draws a caption into `area` aligned by a button's alignment style bits,
// with `horizontal` as the alignment when the style names none; returns the
// rectangle the text took.
RECT DrawCaption(HDC dc, const char* text, int length, RECT area, LONG_PTR style, UINT horizontal, COLORREF colour) {
    switch (style & BS_CENTER) {
        case BS_LEFT: horizontal = DT_LEFT; break;
        case BS_RIGHT: horizontal = DT_RIGHT; break;
        case BS_CENTER: horizontal = DT_CENTER; break;
        default: break;
    }
    UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    RECT measured = area;
    DrawTextA(dc, text, length, &measured, horizontal | lines | DT_CALCRECT);
    int textHeight = measured.bottom - measured.top, textWidth = measured.right - measured.left;
    int top = area.top;
    switch (style & BS_VCENTER) {
        case BS_TOP: break;
        case BS_BOTTOM: top = area.bottom - textHeight; break;
        default: top = area.top + (area.bottom - area.top - textHeight) / 2; break;
    }
    RECT placed{area.left, top, area.right, top + textHeight};
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &placed, horizontal | lines);
    int left = horizontal == DT_RIGHT    ? area.right - textWidth
               : horizontal == DT_CENTER ? area.left + (area.right - area.left - textWidth) / 2
                                         : area.left;
    return RECT{left, top, left + textWidth, top + textHeight};
}

void FocusFrame(HDC dc, const RECT& rect) {
    SetTextColor(dc, kBlack);
    SetBkColor(dc, kWhite);
    DrawFocusRect(dc, &rect);
}

void PaintPushButton(const StyledControl& node, const Scheme& scheme) {
    WholeWindow whole(node.window);
    if (!whole.ready()) return;
    const Size& size = whole.size;
    Canvas& canvas = whole.canvas;
    uint32_t s = node.state;
    bool disabled = Has(s, kDisabled), pressed = Has(s, kPressed);
    RECT all = canvas.bounds();
    COLORREF face = GetSysColor(COLOR_BTNFACE), border = disabled ? DisabledFrame() : scheme.buttonBorder;
    canvas.Fill(all, ParentBrush(node));
    canvas.Frame(all, face);
    canvas.Frame(all, border);
    RECT inside{1, 1, size.width - 1, size.height - 1};
    if (disabled) {
        canvas.Fill(inside, kDisabledFace);
    } else {
        int outer = pressed                                  ? kPushPressed
                    : Has(s, kHot)                           ? kPushHot
                    : Has(s, kChecked | kIndeterminate)      ? kPushChecked
                    : Has(s, kFocused | kDefaultButton)      ? kPushFocused
                                                             : kPushNormal;
        canvas.Gradient(inside, scheme.push[outer]);
        RECT inner{3, 3, size.width - 3, size.height - 3};
        canvas.Gradient(inner, scheme.push[pressed || Has(s, kChecked) ? kPushInnerPressed : kPushInnerRaised]);
    }
    canvas.Corners(all, {face, face, face, face});
    canvas.Corners(inside, {border, border, border, border});
    if (Has(s, kFocused)) FocusFrame(canvas.dc(), RECT{4, 4, size.width - 4, size.height - 4});
    char text[kCaptionBytes];
    if (int length = CaptionOf(node.window, text)) {
        SelectedObject font(canvas.dc(), FontOf(node.window));
        RECT area{4, 4, size.width - 4, size.height - 4};
        if (pressed) OffsetRect(&area, 1, 1);
        COLORREF colour = disabled || Has(s, kIndeterminate) ? kDisabledCaption : kBlack;
        DrawCaption(canvas.dc(), text, length, area, GetWindowLongPtrA(node.window, GWL_STYLE), DT_CENTER, colour);
    }
    whole.Show();
}

// Where the box or bullet of a check box or radio button lies.
RECT MarkCell(const Size& size, LONG_PTR style) {
    bool right = (style & BS_LEFTTEXT) != 0;
    int left = right ? size.width - kBoxSize : 0;
    int top = (style & BS_VCENTER) == BS_TOP      ? 0
              : (style & BS_VCENTER) == BS_BOTTOM ? size.height - kBoxSize
                                                  : (size.height - kBoxSize) / 2;
    return RECT{left, top, left + kBoxSize, top + kBoxSize};
}

int BoxQuadOf(uint32_t state) {
    return Has(state, kPressed) ? kBoxPressed : Has(state, kHot) ? kBoxHot : kBoxNormal;
}

COLORREF IndeterminateFill(uint32_t state) {
    int index = Has(state, kDisabled) ? 0 : Has(state, kPressed) ? 1 : Has(state, kHot) ? 2 : 3;
    return kIndeterminateFill[index];
}

// Seven one-pixel strokes, three pixels tall, falling then rising.
void Tick(Canvas& canvas, const RECT& box, COLORREF colour) {
    constexpr int kStrokeTops[7] = {5, 6, 7, 6, 5, 4, 3};
    for (int i = 0; i < 7; ++i) {
        int y = box.top + kStrokeTops[i];
        canvas.VerticalLine(box.left + 3 + i, y, y + 3, colour);
    }
}

void DrawBox(Canvas& canvas, const RECT& box, uint32_t s, const Scheme& scheme) {
    bool disabled = Has(s, kDisabled);
    canvas.Frame(box, disabled ? DisabledFrame() : kBoxFrame);
    RECT interior{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    RECT centre{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
    if (disabled) {
        canvas.Fill(interior, kWhite);
    } else {
        canvas.Gradient(interior, scheme.box[BoxQuadOf(s)]);
    }
    if (Has(s, kIndeterminate)) {
        canvas.Fill(centre, IndeterminateFill(s));
        return;
    }
    if (Has(s, kHot) && !Has(s, kPressed) && !disabled)
        canvas.Fill(centre, Has(s, kChecked) ? kHotCheckedFill : kHotUncheckedFill);
    if (Has(s, kChecked)) Tick(canvas, box, disabled ? kDisabledTick : kTick);
}

// Solid ellipse drawn through GDI on the canvas.
void Disc(Canvas& canvas, const RECT& rect, COLORREF fill, COLORREF outline) {
    GdiHandle<HBRUSH> brush(CreateSolidBrush(fill));
    GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, outline));
    SelectedObject b(canvas.dc(), brush.get()), p(canvas.dc(), pen.get());
    Ellipse(canvas.dc(), rect.left, rect.top, rect.right, rect.bottom);
}

void DrawBullet(Canvas& canvas, const RECT& box, uint32_t s, const Scheme& scheme, COLORREF background) {
    bool disabled = Has(s, kDisabled);
    if (disabled) {
        canvas.Fill(box, kWhite);
    } else {
        canvas.Gradient(box, scheme.box[BoxQuadOf(s)]);
    }
    // Outside the circle the gradient gives way to the parent's background again.
    double radius = kBoxSize / 2.0, cx = box.left + radius, cy = box.top + radius;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy > radius * radius) canvas.Pixel(x, y, background);
        }
    {
        GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, disabled ? DisabledFrame() : kBoxFrame));
        SelectedObject p(canvas.dc(), pen.get()), b(canvas.dc(), GetStockObject(NULL_BRUSH));
        Ellipse(canvas.dc(), box.left, box.top, box.right, box.bottom);
    }
    RECT centre{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
    if (Has(s, kIndeterminate)) {
        COLORREF fill = IndeterminateFill(s);
        Disc(canvas, centre, fill, fill);
        return;
    }
    if (Has(s, kHot) && !Has(s, kPressed) && !disabled) {
        COLORREF fill = Has(s, kChecked) ? kHotCheckedFill : kHotUncheckedFill;
        Disc(canvas, centre, fill, fill);
    }
    RECT dot{box.left + 4, box.top + 4, box.right - 4, box.bottom - 4};
    COLORREF mark = disabled ? kDisabledTick : kTick;
    if (Has(s, kChecked)) Disc(canvas, dot, mark, mark);
}

void PaintCheckOrRadio(const StyledControl& node, const Scheme& scheme, bool radio) {
    WholeWindow whole(node.window);
    if (!whole.ready()) return;
    const Size& size = whole.size;
    Canvas& canvas = whole.canvas;
    uint32_t s = node.state;
    LONG_PTR style = GetWindowLongPtrA(node.window, GWL_STYLE);
    canvas.Fill(canvas.bounds(), ParentBrush(node));
    RECT box = MarkCell(size, style);
    if (radio) {
        DrawBullet(canvas, box, s, scheme, node.background);
    } else {
        DrawBox(canvas, box, s, scheme);
    }
    bool right = (style & BS_LEFTTEXT) != 0;
    RECT area = right ? RECT{0, 0, size.width - kCheckCell, size.height} : RECT{kCheckCell, 0, size.width, size.height};
    char text[kCaptionBytes];
    if (int length = CaptionOf(node.window, text)) {
        SelectedObject font(canvas.dc(), FontOf(node.window));
        COLORREF colour = Has(s, kDisabled) ? GetSysColor(COLOR_GRAYTEXT) : node.text;
        RECT used = DrawCaption(canvas.dc(), text, length, area, style, DT_LEFT, colour);
        if (Has(s, kFocused)) {
            InflateRect(&used, 1, 1);
            IntersectRect(&used, &used, &area);
            FocusFrame(canvas.dc(), used);
        }
    }
    whole.Show();
}

void FrameDirect(HDC dc, const RECT& rect, COLORREF colour) {
    GdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush.get());
}

// The two one-pixel frames of an edit field, drawn straight onto the window's frame.
void DrawEditFrames(HDC dc, const Size& size, uint32_t s, const Scheme& scheme) {
    RECT outer{0, 0, size.width, size.height}, inner{1, 1, size.width - 1, size.height - 1};
    FrameDirect(dc, outer, Has(s, kDisabled) ? DisabledFrame() : scheme.frame);
    FrameDirect(dc, inner, GetSysColor(Has(s, kDisabled | kReadOnly) ? COLOR_BTNFACE : COLOR_WINDOW));
}

void PaintEdit(const StyledControl& node, const Scheme& scheme) {
    LONG_PTR style = GetWindowLongPtrA(node.window, GWL_STYLE), ex = GetWindowLongPtrA(node.window, GWL_EXSTYLE);
    if (!(style & WS_BORDER) && !(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) return;
    Size size = WindowSize(node.window);
    WindowDc dc(node.window);
    if (!dc.get()) return;
    DrawEditFrames(dc.get(), size, node.state, scheme);
    // The edit and its up-down control read as one field.
    if (Has(node.state, kUpDownOnLeft)) FrameDirect(dc.get(), RECT{0, 1, 1, size.height - 1}, kWhite);
    if (Has(node.state, kUpDownOnRight))
        FrameDirect(dc.get(), RECT{size.width - 1, 1, size.width, size.height - 1}, kWhite);
}

ArrowState ArrowStateOf(uint32_t s, bool pointerHere) {
    if (Has(s, kDisabled)) return kArrowDisabled;
    if (pointerHere && Has(s, kPressed)) return kArrowPressed;
    if (pointerHere && Has(s, kHot)) return kArrowHot;
    return kArrowNormal;
}

void PaintComboBox(const StyledControl& node, const Scheme& scheme, int32_t style) {
    Size size = WindowSize(node.window);
    WindowDc dc(node.window);
    if (!dc.get()) return;
    DrawEditFrames(dc.get(), size, node.state, scheme);
    int width = GetSystemMetrics(SM_CYVTHUMB);
    RECT button{size.width - 2 - width, 2, size.width - 2, size.height - 2};
    if (button.left < 2) button.left = 2;
    Canvas canvas(dc.get(), button.right - button.left, button.bottom - button.top);
    if (!canvas.dc()) return;
    PaintArrowButton(canvas, canvas.bounds(), kChevronDown, ArrowStateOf(node.state, true), style);
    canvas.CopyTo(dc.get(), button.left, button.top);
}

void PaintUpDown(const StyledControl& node, const Scheme& scheme, int32_t style) {
    WholeWindow whole(node.window);
    if (!whole.ready()) return;
    const Size& size = whole.size;
    Canvas& canvas = whole.canvas;
    uint32_t s = node.state;
    canvas.Fill(canvas.bounds(), scheme.frame);
    bool horizontal = Has(s, kHorizontal), first = Has(s, kFirstHalf);
    RECT firstHalf = horizontal ? RECT{0, 0, size.width / 2, size.height} : RECT{0, 0, size.width, size.height / 2};
    RECT secondHalf = horizontal ? RECT{size.width / 2, 0, size.width, size.height}
                                 : RECT{0, size.height / 2, size.width, size.height};
    PaintArrowButton(canvas, firstHalf, horizontal ? kTriangleLeft : kTriangleUp, ArrowStateOf(s, first), style);
    PaintArrowButton(canvas, secondHalf, horizontal ? kTriangleRight : kTriangleDown, ArrowStateOf(s, !first), style);
    if (Has(s, kAlignedLeft | kAlignedRight)) {
        canvas.Frame(canvas.bounds(), kBuddyFrame);
        int x = Has(s, kAlignedLeft) ? size.width - 1 : 0;  // the side that meets the edit
        canvas.VerticalLine(x, 1, size.height - 1, GetSysColor(COLOR_WINDOW));
    }
    whole.Show();
}

void PaintGroupBox(const StyledControl& node) {
    WholeWindow whole(node.window);
    if (!whole.ready()) return;
    const Size& size = whole.size;
    Canvas& canvas = whole.canvas;
    // A group box is open in the middle: what lies under it stays.
    canvas.TakeFrom(whole.target.get());
    SelectedObject font(canvas.dc(), FontOf(node.window));
    char text[kCaptionBytes];
    int length = CaptionOf(node.window, text);
    SIZE extent{};
    if (length > 0) {
        GetTextExtentPoint32A(canvas.dc(), text, length, &extent);
    } else {
        GetTextExtentPoint32A(canvas.dc(), kGroupSample, sizeof kGroupSample - 1, &extent);
        extent.cx = 0;
    }
    RECT frame{0, extent.cy / 2, size.width, size.height};
    canvas.Frame(frame, kGroupFrame);
    COLORREF background = node.brush ? node.background : GetSysColor(COLOR_BTNFACE);
    canvas.Corners(frame, {background, background, background, background});
    RECT rounded{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    canvas.Corners(rounded, {kGroupFrame, kGroupFrame, kGroupFrame, kGroupFrame});
    if (length > 0) {
        LONG_PTR style = GetWindowLongPtrA(node.window, GWL_STYLE);
        int left = (style & BS_CENTER) == BS_CENTER ? (size.width - extent.cx) / 2
                   : (style & BS_CENTER) == BS_RIGHT ? size.width - kGroupCaptionIndent - extent.cx
                                                     : kGroupCaptionIndent;
        RECT band{left - 2, 0, left + extent.cx + 2, extent.cy};
        canvas.Fill(band, ParentBrush(node));
        SetTextColor(canvas.dc(), Has(node.state, kDisabled) ? GetSysColor(COLOR_GRAYTEXT) : node.text);
        SetBkMode(canvas.dc(), TRANSPARENT);
        TextOutA(canvas.dc(), left, 0, text, length);
    }
    whole.Show();
}

void PaintDropDownList(const StyledControl& node, const Scheme& scheme) {
    if (!(GetWindowLongPtrA(node.window, GWL_STYLE) & WS_BORDER)) return;
    if (SendMessageA(node.window, LB_GETCOUNT, 0, 0) <= 0) return;
    WindowDc dc(node.window);
    if (dc.get()) DrawEditFrames(dc.get(), WindowSize(node.window), node.state, scheme);
}
}  // namespace

void PaintControl(const StyledControl& node) {
    if (!IsWindowVisible(node.window)) return;
    int32_t style = CurrentStyle();
    const Scheme& scheme = SchemeOf(style);
    switch (node.type) {
        case kPushButton: PaintPushButton(node, scheme); break;
        case kCheckBox: PaintCheckOrRadio(node, scheme, false); break;
        case kRadioButton: PaintCheckOrRadio(node, scheme, true); break;
        case kEdit: PaintEdit(node, scheme); break;
        case kComboBox: PaintComboBox(node, scheme, style); break;
        case kUpDown: PaintUpDown(node, scheme, style); break;
        case kGroupBox: PaintGroupBox(node); break;
        case kDropDownList: PaintDropDownList(node, scheme); break;
        default: break;
    }
}

}  // namespace qy::styling
