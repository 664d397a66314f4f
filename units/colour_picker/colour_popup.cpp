#include "units/colour_picker/colour_popup.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "runtime/win32_handles.h"
#include "units/colour_picker/colour_picker.h"

namespace qy {

const NamedColour kPaletteColours[kPaletteColourCount] = {
    {"黑色", 0x000000}, {"藏青", 0x800000}, {"墨绿", 0x008000}, {"深青", 0x808000}, {"红褐", 0x000080},
    {"紫红", 0x800080}, {"褐绿", 0x008080}, {"浅灰", 0xC0C0C0}, {"灰色", 0x808080}, {"蓝色", 0xFF0000},
    {"绿色", 0x00FF00}, {"艳青", 0xFFFF00}, {"红色", 0x0000FF}, {"品红", 0xFF00FF}, {"黄色", 0x00FFFF},
    {"白色", 0xFFFFFF}, {"蓝灰", 0xFF8080}, {"藏蓝", 0xE03058}, {"嫩绿", 0x00E080}, {"青绿", 0x80E000},
    {"黄褐", 0x0060C0}, {"粉红", 0xFFA8FF}, {"嫩黄", 0x00D8D8}, {"银白", 0xECECEC}, {"紫色", 0xFF0090},
    {"天蓝", 0xFF8800}, {"灰绿", 0x80A080}, {"青蓝", 0xC06000}, {"橙黄", 0x0080FF}, {"桃红", 0x8050FF},
    {"芙红", 0xC080FF}, {"深灰", 0x606060},
};

namespace {
const char kPopupClass[] = "_QY_ColourPopup";
constexpr int kColumns = 7;
constexpr int kRows = (kPaletteColourCount + kColumns - 1) / kColumns;
constexpr int kCellSize = 18;
// Cells are palette indexes; the two entries and "none" have their own numbers.
constexpr int kTransparentCell = -3, kCustomCell = -2, kNoCell = -1;
// Posted to itself when another window took the mouse or the activation.
constexpr UINT kLostMessage = WM_APP + 1010;

// The colour dialog's custom colours, kept for the whole session.
COLORREF customColours[16] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                              0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

class ColourPopup {
public:
    ColourPopup(HWND picker, uint32_t colour, const std::string& transparentText, const std::string& customText)
        : picker_(picker), initial_(colour), current_(colour), transparentText_(transparentText),
          customText_(customText) {}

    bool Create(POINT at);
    HWND hwnd() const { return hwnd_; }

private:
    static bool RegisterWindowClass();
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    bool HasTransparent() const { return !transparentText_.empty(); }
    bool HasCustom() const { return !customText_.empty(); }
    void Layout();
    POINT PlaceOnScreen(POINT at) const;
    void AddTooltips();
    int FindCell(uint32_t colour) const;
    int HitTest(POINT p) const;
    RECT CellRect(int cell) const;
    uint32_t ColourOf(int cell) const;
    int BottomOfColumn(int column) const;
    void SetHot(int cell);
    void Move(WPARAM key);
    void End(bool ok);
    void Paint(HDC dc);
    void PaintCell(HDC dc, int cell, bool paletteDevice);
    void PaintEntry(HDC dc, int cell);
    void Frame(HDC dc, const RECT& r, int cell);

    HWND hwnd_ = nullptr;
    HWND picker_;
    HWND tooltip_ = nullptr;
    uint32_t initial_, current_;
    std::string transparentText_, customText_;
    GdiHandle<HFONT> font_;
    GdiHandle<HPALETTE> palette_;
    int margin_ = 2, cell_ = kCellSize;
    int gridLeft_ = 0, gridTop_ = 0;
    SIZE size_{};
    RECT transparentRect_{}, customRect_{};
    int hot_ = kNoCell, initialCell_ = kNoCell, lastColumn_ = 0;
    bool created_ = false, ending_ = false, inColourDialog_ = false, windowGone_ = false;
};

bool ColourPopup::RegisterWindowClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kPopupClass, &wc)) return true;
    wc.style = CS_SAVEBITS | CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kPopupClass;
    return RegisterClassA(&wc) != 0;
}

bool ColourPopup::Create(POINT at) {
    if (!RegisterWindowClass()) return false;
    Layout();
    initialCell_ = FindCell(initial_);
    hot_ = initialCell_;
    if (hot_ >= 0) lastColumn_ = hot_ % kColumns;

    std::vector<uint8_t> block(sizeof(LOGPALETTE) + (kPaletteColourCount - 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = kPaletteColourCount;
    for (int i = 0; i < kPaletteColourCount; ++i) {
        uint32_t c = kPaletteColours[i].colour;
        logical->palPalEntry[i] = PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0};
    }
    palette_.reset(CreatePalette(logical));

    POINT place = PlaceOnScreen(at);
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP, place.x, place.y, size_.cx, size_.cy,
                                picker_, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd) return false;
    created_ = true;
    AddTooltips();
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetCapture(hwnd_);
    return true;
}

void ColourPopup::Layout() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_.reset(CreateFontIndirectA(&metrics.lfMessageFont));
    margin_ = GetSystemMetrics(SM_CXEDGE);
    cell_ = std::max(kCellSize, 2 * margin_ + 7);

    SIZE transparent{}, custom{};
    {
        ScreenDc dc;
        SelectedObject font(dc.get(), font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
        if (HasTransparent())
            GetTextExtentPoint32A(dc.get(), transparentText_.c_str(), static_cast<int>(transparentText_.size()),
                                  &transparent);
        if (HasCustom())
            GetTextExtentPoint32A(dc.get(), customText_.c_str(), static_cast<int>(customText_.size()), &custom);
    }

    int entryHeight = static_cast<int>(std::max(transparent.cy, custom.cy)) + 4 * margin_ + 2;
    int entryWidth = static_cast<int>(std::max(transparent.cx, custom.cx)) + 2 * margin_;
    size_.cx = std::max(kColumns * cell_ + 2 * margin_, entryWidth);
    size_.cy = kRows * cell_ + 2 * margin_;
    gridLeft_ = (size_.cx - kColumns * cell_) / 2;
    gridTop_ = margin_;
    if (HasTransparent()) {
        transparentRect_ = RECT{margin_, margin_, size_.cx - margin_, margin_ + entryHeight};
        gridTop_ += entryHeight + 2 * margin_;
        size_.cy += entryHeight + 2 * margin_;
    }
    if (HasCustom()) {
        customRect_ = RECT{margin_, size_.cy + margin_, size_.cx - margin_, size_.cy + margin_ + entryHeight};
        size_.cy += entryHeight + 2 * margin_;
    }
}

// Keeps the whole popup on the monitor it opens on: pushed left from the
// right edge, right from the left edge, and above the picker when there is
// no room below it.
POINT ColourPopup::PlaceOnScreen(POINT at) const {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &info)) screen = info.rcMonitor;
    RECT picker{};
    GetWindowRect(picker_, &picker);
    if (at.x + size_.cx > screen.right) at.x = screen.right - size_.cx;
    if (at.x < screen.left) at.x = screen.left;
    if (at.y + size_.cy > screen.bottom) {
        at.y = picker.top - size_.cy;
        if (at.y < screen.top || at.y + size_.cy > screen.bottom) at.y = screen.bottom - size_.cy;
    }
    if (at.y < screen.top) at.y = screen.top;
    return at;
}

void ColourPopup::AddTooltips() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_) return;
    for (int i = 0; i < kPaletteColourCount; ++i) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = static_cast<UINT_PTR>(i);
        tool.rect = CellRect(i);
        tool.lpszText = const_cast<char*>(kPaletteColours[i].name);
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

int ColourPopup::FindCell(uint32_t colour) const {
    if (colour == kTransparentColour && HasTransparent()) return kTransparentCell;
    for (int i = 0; i < kPaletteColourCount; ++i)
        if (kPaletteColours[i].colour == colour) return i;
    return HasCustom() ? kCustomCell : kNoCell;
}

int ColourPopup::HitTest(POINT p) const {
    if (HasTransparent() && PtInRect(&transparentRect_, p)) return kTransparentCell;
    if (HasCustom() && PtInRect(&customRect_, p)) return kCustomCell;
    if (p.x < gridLeft_ || p.y < gridTop_) return kNoCell;
    int column = (p.x - gridLeft_) / cell_, row = (p.y - gridTop_) / cell_;
    if (column >= kColumns || row >= kRows) return kNoCell;
    int cell = row * kColumns + column;
    return cell < kPaletteColourCount ? cell : kNoCell;
}

RECT ColourPopup::CellRect(int cell) const {
    if (cell == kTransparentCell) return transparentRect_;
    if (cell == kCustomCell) return customRect_;
    int left = gridLeft_ + (cell % kColumns) * cell_, top = gridTop_ + (cell / kColumns) * cell_;
    return RECT{left, top, left + cell_, top + cell_};
}

uint32_t ColourPopup::ColourOf(int cell) const {
    if (cell >= 0) return kPaletteColours[cell].colour;
    if (cell == kTransparentCell) return kTransparentColour;
    return initial_;
}

int ColourPopup::BottomOfColumn(int column) const {
    int cell = column;
    while (cell + kColumns < kPaletteColourCount) cell += kColumns;
    return cell;
}

void ColourPopup::SetHot(int cell) {
    int old = hot_;
    hot_ = cell;
    if (cell >= 0) lastColumn_ = cell % kColumns;
    current_ = ColourOf(cell);
    for (int c : {old, cell}) {
        if (c == kNoCell) continue;
        RECT r = CellRect(c);
        InvalidateRect(hwnd_, &r, TRUE);
    }
    UpdateWindow(hwnd_);
    SendMessageA(picker_, kColourSelChange, current_, 0);
}

// Arrow keys: left and right run through the cells row after row (the
// entries count as rows of their own) and wrap at the ends; up and down keep
// the column and step from the first or last row onto the entries.
void ColourPopup::Move(WPARAM key) {
    std::vector<int> order;
    if (HasTransparent()) order.push_back(kTransparentCell);
    for (int i = 0; i < kPaletteColourCount; ++i) order.push_back(i);
    if (HasCustom()) order.push_back(kCustomCell);
    auto at = std::find(order.begin(), order.end(), hot_);
    if (at == order.end()) {
        SetHot(0);
        return;
    }
    int n = static_cast<int>(order.size()), position = static_cast<int>(at - order.begin());
    int next = hot_;
    switch (key) {
        case VK_LEFT: next = order[(position + n - 1) % n]; break;
        case VK_RIGHT: next = order[(position + 1) % n]; break;
        case VK_DOWN:
            if (hot_ == kTransparentCell) {
                next = lastColumn_;
            } else if (hot_ == kCustomCell) {
                next = HasTransparent() ? kTransparentCell : lastColumn_;
            } else if (hot_ + kColumns < kPaletteColourCount) {
                next = hot_ + kColumns;
            } else {
                next = HasCustom() ? kCustomCell : HasTransparent() ? kTransparentCell : hot_ % kColumns;
            }
            break;
        case VK_UP:
            if (hot_ == kCustomCell) {
                next = BottomOfColumn(lastColumn_);
            } else if (hot_ == kTransparentCell) {
                next = HasCustom() ? kCustomCell : BottomOfColumn(lastColumn_);
            } else if (hot_ >= kColumns) {
                next = hot_ - kColumns;
            } else {
                next = HasTransparent() ? kTransparentCell : HasCustom() ? kCustomCell : BottomOfColumn(hot_);
            }
            break;
        default: return;
    }
    if (next != hot_) SetHot(next);
}

void ColourPopup::End(bool ok) {
    if (ending_) return;
    ending_ = true;
    if (GetCapture() == hwnd_) ReleaseCapture();
    uint32_t colour = current_;
    if (ok && hot_ == kCustomCell) {
        CHOOSECOLORA choose{};
        choose.lStructSize = sizeof choose;
        choose.hwndOwner = hwnd_;
        choose.rgbResult = initial_ == kTransparentColour ? 0 : static_cast<COLORREF>(initial_ & 0xFFFFFF);
        choose.lpCustColors = customColours;
        choose.Flags = CC_ANYCOLOR | CC_RGBINIT;
        // The popup's window may be destroyed while the dialog runs; the
        // object stays until the dialog has returned.
        inColourDialog_ = true;
        BOOL chosen = ChooseColorA(&choose);
        inColourDialog_ = false;
        if (windowGone_) {
            delete this;
            return;
        }
        if (chosen) {
            colour = static_cast<uint32_t>(choose.rgbResult);
        } else {
            ok = false;
        }
    }
    if (!ok) colour = initial_;
    HWND picker = picker_;
    DestroyWindow(hwnd_);  // deletes this
    if (IsWindow(picker)) SendMessageA(picker, ok ? kColourSelEndOk : kColourSelEndCancel, colour, 0);
}

void ColourPopup::Frame(HDC dc, const RECT& r, int cell) {
    RECT face = r;
    FillRect(dc, &face, GetSysColorBrush(cell == hot_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (cell == hot_) {
        DrawEdge(dc, &face, EDGE_SUNKEN, BF_RECT);
    } else if (cell == initialCell_) {
        DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
    }
}

void ColourPopup::PaintCell(HDC dc, int cell, bool paletteDevice) {
    RECT r = CellRect(cell);
    Frame(dc, r, cell);
    InflateRect(&r, -(margin_ + 1), -(margin_ + 1));
    COLORREF colour = static_cast<COLORREF>(kPaletteColours[cell].colour);
    GdiHandle<HBRUSH> brush(CreateSolidBrush(
        paletteDevice ? PALETTERGB(GetRValue(colour), GetGValue(colour), GetBValue(colour)) : colour));
    GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    SelectedObject selectedBrush(dc, brush.get()), selectedPen(dc, pen.get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void ColourPopup::PaintEntry(HDC dc, int cell) {
    RECT r = CellRect(cell);
    Frame(dc, r, cell);
    const std::string& text = cell == kTransparentCell ? transparentText_ : customText_;
    if (cell == kTransparentCell) {
        RECT box = r;
        InflateRect(&box, -(margin_ + 1), -(margin_ + 1));
        FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    SelectedObject font(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(cell == hot_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void ColourPopup::Paint(HDC dc) {
    bool paletteDevice = (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
    HPALETTE oldPalette = nullptr;
    if (paletteDevice && palette_) {
        oldPalette = SelectPalette(dc, palette_.get(), FALSE);
        RealizePalette(dc);
    }
    for (int i = 0; i < kPaletteColourCount; ++i) PaintCell(dc, i, paletteDevice);
    if (HasTransparent()) PaintEntry(dc, kTransparentCell);
    if (HasCustom()) {
        // The separator: a shadow line over a highlight line, in the gap above the entry.
        int y = customRect_.top - margin_ - 1;
        GdiHandle<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
        GdiHandle<HPEN> light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
        {
            SelectedObject pen(dc, shadow.get());
            MoveToEx(dc, margin_, y, nullptr);
            LineTo(dc, size_.cx - margin_, y);
            SelectObject(dc, light.get());
            MoveToEx(dc, margin_, y + 1, nullptr);
            LineTo(dc, size_.cx - margin_, y + 1);
        }
        PaintEntry(dc, kCustomCell);
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

LRESULT CALLBACK ColourPopup::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ColourPopup*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self && message == WM_NCCREATE) {
        self = static_cast<ColourPopup*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        // A window that never finished its creation leaves the object to Create's caller.
        if (self->inColourDialog_) {
            self->windowGone_ = true;
        } else if (self->created_) {
            delete self;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

LRESULT ColourPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintDc dc(hwnd_);
            Paint(dc.get());
            return 0;
        }
        case WM_MOUSEMOVE: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int cell = HitTest(p);
            if (cell != kNoCell && cell != hot_) SetHot(cell);
            return 0;
        }
        case WM_LBUTTONUP: {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT client;
            GetClientRect(hwnd_, &client);
            bool inside = PtInRect(&client, p) != FALSE;
            // The cell under the button counts even if no move reached it first.
            int cell = inside ? HitTest(p) : kNoCell;
            if (cell != kNoCell && cell != hot_) SetHot(cell);
            End(inside);
            return 0;
        }
        case WM_KEYDOWN:
            switch (wParam) {
                case VK_RETURN:
                case VK_SPACE: End(true); break;
                case VK_ESCAPE:
                    current_ = initial_;
                    End(false);
                    break;
                case VK_LEFT:
                case VK_RIGHT:
                case VK_UP:
                case VK_DOWN: Move(wParam); break;
                default: break;
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (!ending_ && reinterpret_cast<HWND>(lParam) != hwnd_) PostMessageA(hwnd_, kLostMessage, 0, 0);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && !ending_) PostMessageA(hwnd_, kLostMessage, 0, 0);
            break;
        case kLostMessage:
            // A passing change of capture or activation that has been undone is no reason to close.
            if (!ending_ && (GetCapture() != hwnd_ || GetActiveWindow() != hwnd_)) End(false);
            return 0;
        default: break;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}
}  // namespace

HWND OpenColourPopup(HWND picker, POINT at, uint32_t colour, const std::string& transparentText,
                     const std::string& customText) {
    auto* popup = new ColourPopup(picker, colour, transparentText, customText);
    if (!popup->Create(at)) {
        delete popup;
        return nullptr;
    }
    return popup->hwnd();
}

}  // namespace qy
