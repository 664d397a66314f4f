// The edit box on the platform's "EDIT" control: own data, styles, colours,
// the height rule of single-line boxes, the spin control beside it, the
// character filter of the numeric input modes and the content-changed and
// spin events.
//
// The control is created as a Unicode window so that it counts one position
// per character on every platform; the unit's positions and lengths count
// GBK bytes and are converted at the edge.
#include "units/edit_box/edit_box.h"
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
const PropertyInfo kEditBoxProperties[] = {
    {"Content", kPropText},          {"Border", kPropChoice},        {"TextColor", kPropColour},
    {"BackColor", kPropBackColour},   {"Font", kPropFont},            {"HideSelection", kPropLogical},
    {"MaxLength", kPropInt2},        {"MultiLine", kPropLogical},    {"ScrollBars", kPropChoice},
    {"Alignment", kPropChoice},      {"InputMode", kPropChoice},     {"PasswordChar", kPropText},
    {"CaseConversion", kPropChoice}, {"SpinMode", kPropChoice},      {"SpinMin", kPropInt2},
    {"SpinMax", kPropInt2},          {"SelStart", kPropInt2},        {"SelLength", kPropInt2},
    {"SelText", kPropText},          {"DataSource", kPropDataSource}, {"DataColumn", kPropDataColumn},
};

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

    int PropertyChanged(int own, const PropertyValue& v) override {
        switch (own) {
            case kContent:
                SetContent(TextOf(v));
                RaiseEvent(edit_box::kContentChanged);
                return kPropertyApplied;
            case kBorder:
                data_.border = AtMost(v.i, kLineBorder);
                ApplyBorder();
                return kPropertyApplied;
            case kTextColor:
                data_.textColor = static_cast<uint32_t>(v.i);
                InvalidateRect(hwnd(), nullptr, TRUE);
                return kPropertyApplied;
            case kBackColor: {
                data_.backColor = static_cast<uint32_t>(v.i);
                brush_.reset(CreateSolidBrush(ResolveColour(data_.backColor)));
                RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
                return kPropertyApplied;
            }
            case kFont:
                SetFont(BytesOf(v));
                ApplyHeightRule();
                return kPropertyApplied;
            case kHideSelection: return Recreate(data_.hideSelection, v.i, true);
            case kMaxLength:
                data_.maxLength = std::max(v.i, 0);
                SendMessageA(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(data_.maxLength), 0);
                return kPropertyApplied;
            case kMultiLine: return Recreate(data_.multiLine, v.i, true);
            case kScrollBars: return Recreate(data_.scrollBars, AtMost(v.i, 3), false);
            case kAlignment: return Recreate(data_.alignment, AtMost(v.i, 2), false);
            case kInputMode:
                data_.inputMode = v.i;
                ApplyPasswordChar();
                SendMessageA(hwnd(), EM_SETREADONLY, data_.inputMode == kReadOnly, 0);
                InvalidateRect(hwnd(), nullptr, TRUE);
                return kPropertyApplied;
            case kPasswordChar:
                data_.passwordChar = static_cast<uint8_t>(TextOf(v).c_str()[0]);
                if (data_.inputMode == kPassword) ApplyPasswordChar();
                return kPropertyApplied;
            case kCaseConversion: return Recreate(data_.caseConversion, AtMost(v.i, 2), false);
            case kSpinMode: return Recreate(data_.spinMode, AtMost(v.i, 2), false);
            case kSpinMin:
                data_.spinMin = v.i;
                SetSpinRange();
                return kPropertyApplied;
            case kSpinMax:
                data_.spinMax = v.i;
                SetSpinRange();
                return kPropertyApplied;
            case kSelStart:
            case kSelLength: ChangeSelection(own, v.i); return kPropertyApplied;
            case kSelText:
                SendMessageA(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOf(v).c_str()));
                return kPropertyApplied;
            case kDataSource: data_.dataSource = TextOf(v); return kPropertyApplied;
            case kDataColumn: data_.dataColumn = TextOf(v); return kPropertyApplied;
            default: return kPropertyApplied;
        }
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case kContent: GiveText(out, Content()); return true;
            case kBorder: GiveInt(out, data_.border); return true;
            case kTextColor: GiveInt(out, static_cast<int32_t>(data_.textColor)); return true;
            case kBackColor: GiveInt(out, static_cast<int32_t>(data_.backColor)); return true;
            case kFont: GiveBytes(out, data_.font); return true;
            case kHideSelection: GiveInt(out, data_.hideSelection); return true;
            case kMaxLength: GiveInt(out, data_.maxLength); return true;
            case kMultiLine: GiveInt(out, data_.multiLine); return true;
            case kScrollBars: GiveInt(out, data_.scrollBars); return true;
            case kAlignment: GiveInt(out, data_.alignment); return true;
            case kInputMode: GiveInt(out, data_.inputMode); return true;
            case kPasswordChar: {
                char c = static_cast<char>(data_.passwordChar & 0xFF);
                GiveText(out, c ? std::string(1, c) : std::string());
                return true;
            }
            case kCaseConversion: GiveInt(out, data_.caseConversion); return true;
            case kSpinMode: GiveInt(out, data_.spinMode); return true;
            case kSpinMin: GiveInt(out, data_.spinMin); return true;
            case kSpinMax: GiveInt(out, data_.spinMax); return true;
            case kSelStart:
            case kSelLength: {
                int32_t start, length;
                Selection(Content(), &start, &length);
                GiveInt(out, own == kSelStart ? start : length);
                return true;
            }
            case kSelText: {
                std::string text = Content();
                int32_t start, length;
                Selection(text, &start, &length);
                GiveText(out, text.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
                return true;
            }
            case kDataSource: GiveText(out, data_.dataSource); return true;
            case kDataColumn: GiveText(out, data_.dataColumn); return true;
            default: return false;
        }
    }

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
                                               kEditBoxProperties, &EditBox::Create);

}  // namespace qy
