// The edit box on the platform's "EDIT" control: own data, styles, colours,
// the height rule of single-line boxes, the spin control beside it, the
// character filter of the numeric input modes and the content-changed and
// spin events.
//
// The control is created as a Unicode window so that it counts one position
// per character on every platform; the unit's positions and lengths count
// GBK bytes and are converted at the edge.
#include "units/edit_box/edit_box.h"
#include "window/property_table.h"
#include "window/unit.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "runtime/gbk.h"
#include "runtime/win32_handles.h"
#include "units/byte_limited_input.h"
#include "units/edit_box/edit_box_data.h"

namespace qy {

namespace {
using namespace edit_box;

enum SpinMode { kNoSpin = 0, kAutomaticSpin = 1, kManualSpin = 2 };
constexpr int kSpinIdOffset = 4;

// Without a raised frame of its own around it the spin control gets a thin edge.
bool SpinHasEdge(int32_t border) { return border == kNoBorder || border == kSunkenBorder || border == kThinSunkenBorder; }

int32_t AtMost(int32_t value, int32_t high) { return value > high ? high : value; }

// Which typed characters (code 32 and above) an input mode lets through.
bool InputModeAccepts(int32_t mode, unsigned code) {
    bool digit = code >= '0' && code <= '9';
    switch (mode) {
        case kIntegerText:
        case kShortInput:
        case kIntInput:
        case kLongInput: return digit || code == '-';
        case kDecimalText:
        case kFloatInput:
        case kDoubleInput: return digit || code == '-' || code == '.';
        case kByteInput: return digit;
        default: return true;
    }
}

// The decimal integer the text starts with (after blanks, with an optional
// sign); 0 when it starts with no digit. Saturates far outside the int range.
int64_t LeadingNumber(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    int64_t n = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        if (n < (int64_t{1} << 40)) n = n * 10 + (text[at] - '0');
    return negative ? -n : n;
}

// The control's character index at a byte offset of the GBK text; an
// offset inside a double-byte character stays before it.
int CharIndexAt(const std::string& text, int64_t offset) {
    int chars = 0;
    for (size_t at = 0; at < text.size(); ++chars) {
        size_t next = at + static_cast<size_t>(GbkCharLength(text.c_str() + at));
        if (static_cast<int64_t>(next) > offset) break;
        at = next;
    }
    return chars;
}

int32_t ByteOffsetAt(const std::string& text, DWORD index) {
    size_t at = 0;
    for (DWORD i = 0; i < index && at < text.size(); ++i) at += static_cast<size_t>(GbkCharLength(text.c_str() + at));
    return static_cast<int32_t>(at);
}

class EditBox : public Unit {
public:
    EditBox(const UnitCreation& c, const EditBoxData& d) : Unit(kEditBoxType, c.windowId, c.unitId), data_(d) {}
    ~EditBox() override { DestroySpin(); }

    static Unit* Create(const UnitCreation& c) {
        EditBoxData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        auto* unit = new EditBox(c, d);
        if (!unit->Build(c)) {
            delete unit;
            return nullptr;
        }
        return unit;
    }

    // The edit box's own properties, in the order of edit_box::Property.
    static const auto& Properties() {
        using E = EditBox;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<E> kRows[] = {
            {"Content", kPropText, [](E& u, Out o) { u.GiveText(o, u.Content()); },
             [](E& u, V v) {
                 u.SetContent(TextOf(v));
                 u.RaiseEvent(edit_box::kContentChanged);
                 return 0;
             }},
            {"Border", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.border); },
             [](E& u, V v) { return u.data_.border = AtMost(v.i, kLineBorder), u.ApplyBorder(), 0; }},
            {"TextColor", kPropColour, [](E& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
             [](E& u, V v) {
                 u.data_.textColor = static_cast<uint32_t>(v.i);
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
                 return 0;
             }},
            {"BackColor", kPropBackColour, [](E& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
             [](E& u, V v) {
                 u.data_.backColor = static_cast<uint32_t>(v.i);
                 u.brush_.reset(CreateSolidBrush(ResolveColour(u.data_.backColor)));
                 RedrawWindow(u.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
                 return 0;
             }},
            {"Font", kPropFont, [](E& u, Out o) { u.GiveBytes(o, u.data_.font); },
             [](E& u, V v) { return u.SetFont(BytesOf(v)), u.ApplyHeightRule(), 0; }},
            {"HideSelection", kPropLogical, [](E& u, Out o) { u.GiveInt(o, u.data_.hideSelection); },
             [](E& u, V v) { return u.Recreate(u.data_.hideSelection, v.i, true); }},
            {"MaxLength", kPropInt2, [](E& u, Out o) { u.GiveInt(o, u.data_.maxLength); },
             [](E& u, V v) {
                 u.data_.maxLength = std::max(v.i, 0);
                 SendMessageA(u.hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(u.data_.maxLength), 0);
                 return 0;
             }},
            {"MultiLine", kPropLogical, [](E& u, Out o) { u.GiveInt(o, u.data_.multiLine); },
             [](E& u, V v) { return u.Recreate(u.data_.multiLine, v.i, true); }},
            {"ScrollBars", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.scrollBars); },
             [](E& u, V v) { return u.Recreate(u.data_.scrollBars, AtMost(v.i, 3), false); }},
            {"Alignment", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.alignment); },
             [](E& u, V v) { return u.Recreate(u.data_.alignment, AtMost(v.i, 2), false); }},
            {"InputMode", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.inputMode); },
             [](E& u, V v) {
                 u.data_.inputMode = v.i;
                 u.ApplyPasswordChar();
                 SendMessageA(u.hwnd(), EM_SETREADONLY, u.data_.inputMode == kReadOnly, 0);
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
                 return 0;
             }},
            {"PasswordChar", kPropText,
             [](E& u, Out o) {
                 char c = static_cast<char>(u.data_.passwordChar & 0xFF);
                 u.GiveText(o, c ? std::string(1, c) : std::string());
             },
             [](E& u, V v) {
                 u.data_.passwordChar = static_cast<uint8_t>(TextOf(v).c_str()[0]);
                 if (u.data_.inputMode == kPassword) u.ApplyPasswordChar();
                 return 0;
             }},
            {"CaseConversion", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.caseConversion); },
             [](E& u, V v) { return u.Recreate(u.data_.caseConversion, AtMost(v.i, 2), false); }},
            {"SpinMode", kPropChoice, [](E& u, Out o) { u.GiveInt(o, u.data_.spinMode); },
             [](E& u, V v) { return u.Recreate(u.data_.spinMode, AtMost(v.i, 2), false); }},
            {"SpinMin", kPropInt2, [](E& u, Out o) { u.GiveInt(o, u.data_.spinMin); },
             [](E& u, V v) { return u.data_.spinMin = v.i, u.SetSpinRange(), 0; }},
            {"SpinMax", kPropInt2, [](E& u, Out o) { u.GiveInt(o, u.data_.spinMax); },
             [](E& u, V v) { return u.data_.spinMax = v.i, u.SetSpinRange(), 0; }},
            {"SelStart", kPropInt2, [](E& u, Out o) { u.GiveInt(o, u.CurrentSelection().start); },
             [](E& u, V v) { return u.ChangeSelection(kSelStart, v.i), 0; }},
            {"SelLength", kPropInt2, [](E& u, Out o) { u.GiveInt(o, u.CurrentSelection().length); },
             [](E& u, V v) { return u.ChangeSelection(kSelLength, v.i), 0; }},
            {"SelText", kPropText,
             [](E& u, Out o) {
                 std::string text = u.Content();
                 Span selection = u.CurrentSelection();
                 u.GiveText(o, text.substr(static_cast<size_t>(selection.start), static_cast<size_t>(selection.length)));
             },
             [](E& u, V v) {
                 SendMessageA(u.hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOf(v).c_str()));
                 return 0;
             }},
            {"DataSource", kPropDataSource, [](E& u, Out o) { u.GiveText(o, u.data_.dataSource); },
             [](E& u, V v) { return u.data_.dataSource = TextOf(v), 0; }},
            {"DataColumn", kPropDataColumn, [](E& u, Out o) { u.GiveText(o, u.data_.dataColumn); },
             [](E& u, V v) { return u.data_.dataColumn = TextOf(v), 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override {
        EditBoxData d = data_;
        d.version = EditBoxData::kVersion;
        d.content = Content();
        Selection(d.content, &d.selStart, &d.selLength);
        return d.Write();
    }

    bool WantsKey(int key) override {
        bool readOnly = (GetWindowLongPtrA(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
        return key == VK_RETURN && data_.multiLine && !readOnly;
    }

    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        switch (message) {
            case WM_COMMAND:
                if (reinterpret_cast<HWND>(lParam) != hwnd()) return false;
                if (HIWORD(wParam) == EN_CHANGE && !suppressChange_) RaiseEvent(edit_box::kContentChanged);
                *result = 0;
                return true;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC: {
                if (reinterpret_cast<HWND>(lParam) != hwnd()) return false;
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, ResolveColour(data_.textColor));
                SetBkColor(dc, ResolveColour(data_.backColor));
                *result = reinterpret_cast<LRESULT>(brush_.get());
                return true;
            }
            case WM_NOTIFY: {
                auto* header = reinterpret_cast<NMHDR*>(lParam);
                if (!spin_ || header->hwndFrom != spin_ || header->code != UDN_DELTAPOS) return false;
                int delta = reinterpret_cast<NMUPDOWN*>(lParam)->iDelta;
                // The spin control keeps no position of its own: the content is the value.
                *result = 1;
                if (delta != 0) PressSpin(delta > 0 ? 1 : -1);
                return true;
            }
            case WM_VSCROLL:
                if (!spin_ || reinterpret_cast<HWND>(lParam) != spin_) return false;
                *result = 0;
                return true;
            default: return false;
        }
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_CHAR:
            case WM_IME_CHAR: return input_.Typed(message, wParam, lParam, InputLimit());
            case WM_PASTE:
                if (input_.Pasted(InputLimit())) return 0;
                break;
            case WM_ERASEBKGND: {
                RECT r;
                GetClientRect(hwnd(), &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, brush_.get());
                return 1;
            }
            case WM_NCCALCSIZE: {
                LRESULT r = DefaultProc(message, wParam, lParam);
                // Both forms of the message start with the new client rectangle.
                RECT* client = reinterpret_cast<RECT*>(lParam);
                if (data_.border == kLineBorder) InflateRect(client, -1, -1);
                if (spin_) client->right -= SpinWidth();
                if (client->right < client->left) client->right = client->left;
                if (client->bottom < client->top) client->bottom = client->top;
                return r;
            }
            case WM_NCPAINT: {
                LRESULT r = DefaultProc(message, wParam, lParam);
                PaintFrame();
                return r;
            }
            case WM_WINDOWPOSCHANGED: {
                LRESULT r = DefaultProc(message, wParam, lParam);
                FollowWithSpin(reinterpret_cast<const WINDOWPOS*>(lParam)->flags);
                return r;
            }
            case WM_ENABLE:
                if (spin_) EnableWindow(spin_, static_cast<BOOL>(wParam));
                break;
            case WM_DESTROY: DestroySpin(); break;
            default: break;
        }
        return DefaultProc(message, wParam, lParam);
    }

private:
    bool Build(const UnitCreation& c) {
        brush_.reset(CreateSolidBrush(ResolveColour(data_.backColor)));
        HWND hwnd = CreateWindowExW(0, L"EDIT", L"", c.style | WS_CHILD | WS_CLIPSIBLINGS | Styles(), c.left, c.top,
                                    c.width, c.height, c.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                    GetModuleHandleA(nullptr), nullptr);
        if (!hwnd) return false;
        input_.Take(hwnd);
        Attach(hwnd);
        SetTextQuietly(data_.content);
        SetFont(data_.font);
        ApplyHeightRule();
        SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(std::max(data_.maxLength, 0)), 0);
        if (data_.inputMode == kPassword) ApplyPasswordChar();
        if (!data_.multiLine && (data_.spinMode == kAutomaticSpin || data_.spinMode == kManualSpin)) CreateSpin(c);
        std::string text = Content();
        int32_t size = static_cast<int32_t>(text.size());
        int32_t start = data_.selStart, length = data_.selLength;
        if (start == -1) start = size, length = 0;
        if (length == -1) start = 0, length = size;
        Select(text, std::max(start, 0), std::max(length, 0));
        ApplyBorder();
        if (spin_ && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE)) ShowWindow(spin_, SW_SHOWNA);
        return true;
    }

    DWORD Styles() const {
        DWORD style = data_.hideSelection ? 0 : ES_NOHIDESEL;
        if (data_.multiLine) {
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            bool horizontal = data_.scrollBars == 1 || data_.scrollBars == 3;
            if (horizontal) style |= ES_AUTOHSCROLL | WS_HSCROLL;
            if (data_.scrollBars == 2 || data_.scrollBars == 3) style |= WS_VSCROLL;
        } else {
            style |= ES_AUTOHSCROLL;
        }
        if (data_.alignment == 1) style |= ES_CENTER;
        if (data_.alignment == 2) style |= ES_RIGHT;
        if (data_.inputMode == kReadOnly) style |= ES_READONLY;
        if (data_.inputMode == kPassword) style |= ES_PASSWORD;
        if (data_.caseConversion == 1) style |= ES_LOWERCASE;
        if (data_.caseConversion == 2) style |= ES_UPPERCASE;
        return style;
    }

    // Stores a value whose change needs a new control; those that only
    // matter when they differ ask for one only then.
    // The selection in the content's bytes.
    struct Span {
        int32_t start, length;
    };
    Span CurrentSelection() const {
        Span span{};
        Selection(Content(), &span.start, &span.length);
        return span;
    }

    int Recreate(int32_t& field, int32_t value, bool onlyWhenChanged) {
        bool changed = field != value;
        field = value;
        return changed || !onlyWhenChanged ? kRecreateUnit : kPropertyApplied;
    }

    std::string Content() const {
        int length = GetWindowTextLengthA(hwnd());
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int got = GetWindowTextA(hwnd(), &text[0], length + 1);
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        return text;
    }

    void SetTextQuietly(const std::string& text) {
        suppressChange_ = true;
        SetWindowTextA(hwnd(), text.c_str());
        suppressChange_ = false;
    }

    // A shown edit lays out and paints a long text as it takes it (Wine's
    // ignores WM_SETREDRAW for that); with its visible bit cleared for the
    // moment it takes the text at once and repaints once afterwards.
    void SetContent(const std::string& text) {
        HWND h = hwnd();
        LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
        bool visible = (style & WS_VISIBLE) != 0;
        if (visible) SetWindowLongPtrA(h, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
        SetTextQuietly(text);
        if (!visible) return;
        SetWindowLongPtrA(h, GWL_STYLE, GetWindowLongPtrA(h, GWL_STYLE) | WS_VISIBLE);
        RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }

    // The current selection of the control in bytes of its text.
    void Selection(const std::string& text, int32_t* start, int32_t* length) const {
        DWORD from = 0, to = 0;
        SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        *start = ByteOffsetAt(text, from);
        *length = ByteOffsetAt(text, to) - *start;
    }

    void Select(const std::string& text, int32_t start, int32_t length) {
        int from = CharIndexAt(text, start);
        int to = CharIndexAt(text, static_cast<int64_t>(start) + length);
        SendMessageA(hwnd(), EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
        SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
    }

    // SelStart -1 puts the caret after the text, SelLength -1 selects all of
    // it; other values are at least 0 and keep the other half of the selection.
    void ChangeSelection(int own, int32_t value) {
        std::string text = Content();
        int32_t size = static_cast<int32_t>(text.size());
        int32_t start, length;
        Selection(text, &start, &length);
        if (own == kSelStart) {
            if (value == -1) {
                start = size, length = 0;
            } else {
                start = std::max(value, 0);
            }
        } else if (value == -1) {
            start = 0, length = size;
        } else {
            length = std::max(value, 0);
        }
        data_.selStart = start;
        data_.selLength = length;
        Select(text, start, length);
    }

    void SetFont(const Bytes& font) {
        data_.font = font;
        GdiHandle<HFONT> old(font_.release());
        font_.reset(CreateUnitFont(font));
        SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_.get())), TRUE);
    }

    // A single-line box is at least one line of its font plus a sunken edge tall.
    void ApplyHeightRule() {
        if (data_.multiLine) return;
        TEXTMETRICA metrics{};
        {
            ClientDc dc(hwnd());
            SelectedObject font(dc.get(), FontOrDefault(font_.get()));
            GetTextMetricsA(dc.get(), &metrics);
        }
        int needed = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
        RECT r;
        GetWindowRect(hwnd(), &r);
        if (r.bottom - r.top < needed)
            SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, needed, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void ApplyPasswordChar() {
        WPARAM c = data_.inputMode == kPassword ? (data_.passwordChar & 0xFF) : 0;
        SendMessageA(hwnd(), EM_SETPASSWORDCHAR, c, 0);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    void ApplyBorder() {
        // The control draws the single line itself.
        SetBorderStyles(hwnd(), data_.border, false);
        if (spin_) {
            LONG_PTR spinEx = GetWindowLongPtrA(spin_, GWL_EXSTYLE) & ~WS_EX_STATICEDGE;
            if (SpinHasEdge(data_.border)) spinEx |= WS_EX_STATICEDGE;
            SetWindowLongPtrA(spin_, GWL_EXSTYLE, spinEx);
            RedrawFrame(spin_);
        }
        // The new frame also moves the spin control, through the position change.
        RedrawFrame(hwnd());
    }

    // The single-line border and the strip under the spin control are ours
    // to draw; the platform draws the edges and scroll bars.
    void PaintFrame() {
        if (data_.border != kLineBorder && !spin_) return;
        RECT window, client;
        GetWindowRect(hwnd(), &window);
        GetClientRect(hwnd(), &client);
        MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -window.left, -window.top);
        OffsetRect(&window, -window.left, -window.top);
        WindowDc dc(hwnd());
        if (data_.border == kLineBorder) FrameRect(dc.get(), &window, GetSysColorBrush(COLOR_WINDOWFRAME));
        if (spin_) {
            RECT strip{client.right, client.top, client.right + SpinWidth(), client.bottom};
            FillRect(dc.get(), &strip, brush_.get());
        }
    }

    void CreateSpin(const UnitCreation& c) {
        static const bool registered = [] {
            INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
            return InitCommonControlsEx(&classes) != FALSE;
        }();
        (void)registered;
        spin_ = CreateWindowExA(SpinHasEdge(data_.border) ? WS_EX_STATICEDGE : 0, UPDOWN_CLASSA, nullptr,
                                WS_CHILD | (c.style & WS_DISABLED), 0, 0, 0, 0, c.parent,
                                reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId + kSpinIdOffset)),
                                GetModuleHandleA(nullptr), nullptr);
        if (!spin_) {
            data_.spinMode = kNoSpin;
            return;
        }
        AdoptPart(spin_);
        SetSpinRange();
    }

    void DestroySpin() {
        if (!spin_) return;
        WindowHandle spin(spin_);
        spin_ = nullptr;
        ReleasePart(spin.get());
    }

    void SetSpinRange() {
        if (!spin_) return;
        SendMessageA(spin_, UDM_SETRANGE32, static_cast<WPARAM>(std::min(data_.spinMin, data_.spinMax)),
                     static_cast<LPARAM>(std::max(data_.spinMin, data_.spinMax)));
    }

    int SpinWidth() const {
        return GetSystemMetrics(SM_CXVSCROLL) + (SpinHasEdge(data_.border) ? 2 * GetSystemMetrics(SM_CXBORDER) : 0);
    }

    // The spin control sits in the strip kept free at the right of the
    // client area, directly above the edit box in the stacking order.
    void PlaceSpin() {
        HWND parent = GetParent(hwnd());
        if (GetParent(spin_) != parent) SetParent(spin_, parent);
        RECT client;
        GetClientRect(hwnd(), &client);
        MapWindowPoints(hwnd(), parent, reinterpret_cast<POINT*>(&client), 2);
        HWND above = GetWindow(hwnd(), GW_HWNDPREV);
        UINT flags = SWP_NOACTIVATE | (above == spin_ ? SWP_NOZORDER : 0);
        SetWindowPos(spin_, above ? above : HWND_TOP, client.right, client.top, SpinWidth(), client.bottom - client.top,
                     flags);
    }

    void FollowWithSpin(UINT flags) {
        if (!spin_) return;
        if (flags & SWP_HIDEWINDOW) ShowWindow(spin_, SW_HIDE);
        PlaceSpin();
        if (flags & SWP_SHOWWINDOW) ShowWindow(spin_, SW_SHOWNA);
    }

    void PressSpin(int direction) {
        HWND self = hwnd();
        if (!IsWindowEnabled(self) || !IsWindowVisible(self)) return;
        if (data_.spinMode == kManualSpin) {
            RaiseEvent(edit_box::kSpun, {direction});
            return;
        }
        int64_t low = std::min(data_.spinMin, data_.spinMax), high = std::max(data_.spinMin, data_.spinMax);
        int64_t n = LeadingNumber(Content()) + direction;
        // Out of range wraps round: down ends at the upper bound, up at the lower.
        if (n < low || n > high) n = direction < 0 ? high : low;
        // The new text raises the content-changed event like any edit, and
        // its subroutine may destroy the box.
        SetWindowTextA(self, std::to_string(n).c_str());
        if (!StillOwns(self, this)) return;
        SendMessageA(self, EM_SETSEL, 0, -1);
        SetFocus(self);
    }

    ByteLimitedInput::Limit InputLimit() const {
        return {data_.maxLength, data_.multiLine != 0, &InputModeAccepts, data_.inputMode};
    }

    EditBoxData data_;
    GdiHandle<HBRUSH> brush_;
    GdiHandle<HFONT> font_;
    HWND spin_ = nullptr;
    bool suppressChange_ = false;
    ByteLimitedInput input_;
};
}  // namespace

const UnitTypeInfo kEditBoxType = MakeUnitType("编辑框", "EditBox", kTypeMayRaiseEvents,
                                               EditBox::Properties(), &EditBox::Create);

}  // namespace qy
