// The combo box: a simple, drop-down or drop-down-list "COMBOBOX" control
// with its list items and their values, its colours, and events for
// selection, editing, dropping down, closing and double-clicks.
#include "units/combo_box/combo_box.h"
#include "window/unit.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "window/property_table.h"
#include "units/byte_limited_input.h"
#include "units/combo_box/combo_box_data.h"

namespace qy {

namespace {
// Posted to itself when the user ends a selection, so that event 0 reaches
// the application only once the control reports the new selection.
constexpr UINT kSelectedMessage = WM_APP + 0x330;
constexpr int kMinimumDropHeight = 160;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int kMaxItemHeight = 255;
// Names the combo box on its subclassed edit field.
const char kEditFieldOwner[] = "qy.ComboBoxOfEditField";

using namespace combo_box;

const DWORD kTypeStyles[3] = {CBS_SIMPLE, CBS_DROPDOWN, CBS_DROPDOWNLIST};


std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

// Bytes the first `characters` characters of the text take in the ANSI code page.
int32_t BytesBefore(const std::wstring& text, int characters) {
    int count = characters < 0 ? 0 : characters > static_cast<int>(text.size()) ? static_cast<int>(text.size()) : characters;
    if (count == 0) return 0;
    return WideCharToMultiByte(CP_ACP, 0, text.data(), count, nullptr, 0, nullptr, nullptr);
}

// The characters that fit into the first `bytes` bytes; a position inside a
// double-byte character falls back to its start.
int CharactersIn(const std::wstring& text, int32_t bytes) {
    int characters = 0;
    for (int32_t used = 0; characters < static_cast<int>(text.size()); ++characters) {
        used += WideCharToMultiByte(CP_ACP, 0, &text[static_cast<size_t>(characters)], 1, nullptr, 0, nullptr, nullptr);
        if (used > bytes) break;
    }
    return characters;
}

std::vector<int32_t> WordsOf(const PropertyValue& v) {
    std::vector<int32_t> words;
    if (!v.data || v.size <= 0) return words;
    for (int32_t at = 0; at + 4 <= v.size; at += 4) words.push_back(static_cast<int32_t>(LoadU32(v.data + at)));
    return words;
}

Bytes BytesOfWords(const std::vector<int32_t>& words) {
    ByteWriter out;
    for (int32_t w : words) out.I32(w);
    return out.Take();
}

class ComboBox : public Unit {
public:
    ComboBox(const UnitCreation& c, const ComboBoxData& d) : Unit(kComboBoxType, c.windowId, c.unitId), data_(d) {}
    ~ComboBox() override { ReleaseEditField(); }

    static Unit* Create(const UnitCreation& c) {
        ComboBoxData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        d.type = std::clamp<int32_t>(d.type, 0, 2);
        auto* unit = new ComboBox(c, d);
        if (!unit->Build(c)) {
            delete unit;
            return nullptr;
        }
        return unit;
    }

    // The combo box's own properties, in the order of combo_box::Property.
    static const auto& Properties() {
        using C = ComboBox;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<C> kRows[] = {
            {"Type", kPropChoice, [](C& u, Out o) { u.GiveInt(o, u.data_.type); },
             [](C& u, V v) {
                 int32_t type = std::clamp<int32_t>(v.i, 0, 2);
                 if (type == u.data_.type) return static_cast<int>(kPropertyApplied);
                 // The list types look like an edit field, the simple box like a dialog.
                 if (type != 0 && u.data_.backColor == kButtonFaceColour) u.data_.backColor = kWhite;
                 if (type == 0 && u.data_.backColor == kWhite) u.data_.backColor = kButtonFaceColour;
                 u.data_.type = type;
                 return static_cast<int>(kRecreateUnit);
             }},
            {"Content", kPropText, [](C& u, Out o) { u.GiveText(o, u.Content()); },
             [](C& u, V v) { return u.SetContent(TextOf(v)), 0; }},
            {"MaxLength", kPropInt2, [](C& u, Out o) { u.GiveInt(o, u.data_.maxLength); },
             [](C& u, V v) {
                 u.data_.maxLength = v.i;
                 SendMessageA(u.hwnd(), CB_LIMITTEXT, u.data_.maxLength > 0 ? u.data_.maxLength : 0, 0);
                 return 0;
             }},
            {"SelStart", kPropInt2, [](C& u, Out o) { u.GiveInt(o, u.Selection().start); },
             [](C& u, V v) { return u.Select(v.i, u.Selection().length), 0; }},
            {"SelLength", kPropInt2, [](C& u, Out o) { u.GiveInt(o, u.Selection().length); },
             [](C& u, V v) { return u.Select(u.Selection().start, v.i), 0; }},
            {"SelText", kPropText,
             [](C& u, Out o) {
                 EditSelection s = u.Selection();
                 std::string text = u.Editable() ? u.Content() : std::string();
                 bool inside = s.start >= 0 && s.length > 0 && static_cast<size_t>(s.start) < text.size();
                 u.GiveText(o, inside ? text.substr(static_cast<size_t>(s.start), static_cast<size_t>(s.length))
                                      : std::string());
             },
             [](C& u, V v) { return u.ReplaceSelection(TextOf(v)), 0; }},
            {"AutoSort", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.data_.autoSort); },
             [](C& u, V v) {
                 if ((v.i != 0) == (u.data_.autoSort != 0)) return static_cast<int>(kPropertyApplied);
                 u.data_.autoSort = v.i != 0;
                 return static_cast<int>(kRecreateUnit);
             }},
            {"ExtraItemHeight", kPropInt2, [](C& u, Out o) { u.GiveInt(o, u.data_.extraItemHeight); },
             [](C& u, V v) {
                 u.SetItemHeightBase(u.ItemHeight() - u.appliedExtra_);
                 u.data_.extraItemHeight = v.i;
                 u.AddExtraItemHeight();
                 return 0;
             }},
            {"TextColor", kPropColour, [](C& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
             [](C& u, V v) { return u.data_.textColor = static_cast<uint32_t>(v.i), u.Repaint(), 0; }},
            {"BackColor", kPropBackColour, [](C& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
             [](C& u, V v) {
                 u.data_.backColor = static_cast<uint32_t>(v.i);
                 u.brush_.reset(CreateSolidBrush(ResolveColour(u.data_.backColor)));
                 u.Repaint();
                 return 0;
             }},
            {"Font", kPropFont, [](C& u, Out o) { u.GiveBytes(o, u.data_.font); },
             [](C& u, V v) {
                 u.data_.font = BytesOf(v);
                 u.SetItemHeightBase(u.ItemHeight() - u.appliedExtra_);
                 u.ApplyFont();
                 u.AddExtraItemHeight();
                 return 0;
             }},
            {"CurrentSelection", kPropInt2,
             [](C& u, Out o) {
                 u.data_.currentSelection = u.CurrentSelection();
                 u.GiveInt(o, u.data_.currentSelection);
             },
             [](C& u, V v) { return u.SelectItem(v.i), 0; }},
            {"ListItems", kPropCustomData2,
             [](C& u, Out o) {
                 ByteWriter list;
                 list.TextList(u.Items());
                 u.GiveBytes(o, list.bytes());
             },
             [](C& u, V v) {
                 try {
                     u.data_.items = v.data && v.size > 0 ? ReadTextList(v.data, static_cast<size_t>(v.size))
                                                          : std::vector<std::string>();
                 } catch (const TemplateError&) {
                     return static_cast<int>(kPropertyApplied);  // a byte set that is not a text list leaves the list as it is
                 }
                 return static_cast<int>(kRecreateUnit);
             }},
            {"ItemValues", kPropCustomData2, [](C& u, Out o) { u.GiveBytes(o, BytesOfWords(u.data_.itemValues)); },
             [](C& u, V v) { return u.data_.itemValues = WordsOf(v), static_cast<int>(kRecreateUnit); }},
            {"DataSource", kPropDataSource, [](C& u, Out o) { u.GiveText(o, u.data_.dataSource); },
             [](C& u, V v) { return u.data_.dataSource = TextOf(v), 0; }},
            {"DataColumn", kPropDataColumn, [](C& u, Out o) { u.GiveText(o, u.data_.dataColumn); },
             [](C& u, V v) { return u.data_.dataColumn = TextOf(v), 0; }},
            {"Own16", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.data_.own16); },
             [](C& u, V v) { return u.data_.own16 = v.i, 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override {
        Quiet quiet(this);
        return Properties().Write(*this, own, v);
    }

    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    // The stored items and values with the live selection, text and edit selection.
    Bytes OwnData() const override {
        ComboBoxData d = data_;
        d.currentSelection = CurrentSelection();
        d.content = Content();
        if (Editable()) {
            EditSelection s = Selection();
            d.selStart = s.start;
            d.selLength = s.length;
        }
        return d.Write();
    }

    // An open list keeps Enter and Esc for choosing and closing.
    bool WantsKey(int key) override {
        return (key == VK_RETURN || key == VK_ESCAPE) && SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0);
    }

    bool ReportsFocusItself() const override { return true; }

    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        switch (message) {
            case WM_COMMAND: Notified(HIWORD(wParam)); *result = 0; return true;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORLISTBOX: *result = Colours(reinterpret_cast<HDC>(wParam)); return true;
            default: (void)lParam; return false;
        }
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case kSelectedMessage:
                selectionPosted_ = false;
                data_.currentSelection = CurrentSelection();
                Raise(combo_box::kItemSelected);
                return 0;
            // The edit field and the list ask the combo box for their colours.
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSTATIC: return Colours(reinterpret_cast<HDC>(wParam));
            default: return DefaultProc(message, wParam, lParam);
        }
    }

private:
    struct EditSelection {
        int32_t start, length;
    };

    // Holds the unit's events back while it changes itself.
    struct Quiet {
        explicit Quiet(ComboBox* box) : box_(box) { ++box_->quiet_; }
        ~Quiet() { --box_->quiet_; }
        ComboBox* box_;
    };

    bool Build(const UnitCreation& c) {
        Quiet quiet(this);
        DWORD style = c.style | WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | kTypeStyles[data_.type] |
                      (data_.autoSort ? CBS_SORT : 0);
        // For the list types the height includes the dropped list.
        int height = data_.type != 0 && c.height < kMinimumDropHeight ? kMinimumDropHeight : c.height;
        brush_.reset(CreateSolidBrush(ResolveColour(data_.backColor)));
        // A Unicode control counts edit positions in characters on every
        // platform (an ANSI one counts bytes on some, characters on others);
        // the unit converts them to the byte positions of its texts.
        std::wstring content = Wide(data_.content);
        HWND hwnd = CreateWindowExW(0, L"COMBOBOX", content.c_str(), style, c.left, c.top, c.width, height, c.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                    GetModuleHandleW(nullptr), nullptr);
        if (!hwnd) return false;
        Attach(hwnd);
        TakeEditField();
        ApplyFont();
        AddExtraItemHeight();
        if (data_.maxLength > 0) SendMessageA(hwnd, CB_LIMITTEXT, data_.maxLength, 0);
        for (size_t i = 0; i < data_.items.size(); ++i) {
            LRESULT index = SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data_.items[i].c_str()));
            if (index >= 0 && i < data_.itemValues.size())
                SendMessageA(hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index), data_.itemValues[i]);
        }
        SelectItem(data_.currentSelection);
        if (Editable()) {
            SetWindowTextA(hwnd, data_.content.c_str());
            KeepListSelection();
            Select(data_.selStart, data_.selLength);
        }
        return true;
    }

    void Notified(int code) {
        switch (code) {
            case CBN_SELENDOK: PostSelected(); break;
            // A closed list changed by the keyboard or the wheel ends no selection of its own.
            case CBN_SELCHANGE:
                if (!SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0)) PostSelected();
                break;
            case CBN_EDITCHANGE: Raise(combo_box::kEditChanged); break;
            case CBN_DROPDOWN: Raise(combo_box::kDroppingDown); break;
            case CBN_CLOSEUP: Raise(combo_box::kClosedUp); break;
            case CBN_DBLCLK: Raise(combo_box::kDoubleClicked); break;
            case CBN_SETFOCUS: Raise(kEventGotFocus); break;
            case CBN_KILLFOCUS: Raise(kEventLostFocus); break;
            default: break;
        }
    }

    void PostSelected() {
        if (quiet_ > 0 || selectionPosted_) return;
        selectionPosted_ = PostMessageA(hwnd(), kSelectedMessage, 0, 0) != FALSE;
    }

    void Raise(int event) {
        if (quiet_ == 0) RaiseEvent(event);
    }

    LRESULT Colours(HDC dc) {
        SetTextColor(dc, ResolveColour(data_.textColor));
        SetBkColor(dc, ResolveColour(data_.backColor));
        return reinterpret_cast<LRESULT>(brush_.get());
    }

    void Repaint() { RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME); }

    bool Editable() const { return data_.type != 2; }

    // The edit field counts its MaxLength in bytes like the edit box, so
    // typing and pasting into it go through the shared byte limit.
    void TakeEditField() {
        edit_ = EditField();
        if (!edit_) return;
        input_.Take(edit_);
        editProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit_, GWLP_WNDPROC));
        SetPropA(edit_, kEditFieldOwner, this);
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditFieldProc));
    }

    void ReleaseEditField() {
        if (!edit_) return;
        if (IsWindow(edit_)) {
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
            RemovePropA(edit_, kEditFieldOwner);
        }
        edit_ = nullptr;
    }

    static LRESULT CALLBACK EditFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* box = static_cast<ComboBox*>(GetPropA(edit, kEditFieldOwner));
        if (!box) return DefWindowProcA(edit, message, wParam, lParam);
        ByteLimitedInput::Limit limit{box->data_.maxLength, false, nullptr, 0};
        switch (message) {
            case WM_CHAR:
            case WM_IME_CHAR: return box->input_.Typed(message, wParam, lParam, limit);
            case WM_PASTE:
                if (box->input_.Pasted(limit)) return 0;
                break;
            case WM_NCDESTROY: {
                WNDPROC original = box->editProc_;
                box->ReleaseEditField();
                return CallWindowProcA(original, edit, message, wParam, lParam);
            }
            default: break;
        }
        return CallWindowProcA(box->editProc_, edit, message, wParam, lParam);
    }

    HWND EditField() const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!Editable() || !GetComboBoxInfo(hwnd(), &info)) return nullptr;
        return info.hwndItem;
    }

    std::string Content() const {
        int length = GetWindowTextLengthA(hwnd());
        if (length <= 0) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(hwnd(), &text[0], length + 1)));
        return text;
    }

    void SetContent(const std::string& text) {
        data_.content = text;
        if (Editable()) {
            SetWindowTextA(hwnd(), text.c_str());
            return;
        }
        // A drop-down list can only show one of its items.
        LRESULT index = SendMessageA(hwnd(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SelectItem(static_cast<int32_t>(index));
    }

    EditSelection Selection() const {
        if (!Editable()) return {data_.selStart, data_.selLength};
        DWORD start = 0, end = 0;
        SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        std::wstring text = EditText();
        int32_t from = BytesBefore(text, static_cast<int>(start));
        return {from, BytesBefore(text, static_cast<int>(end)) - from};
    }

    std::wstring EditText() const {
        int length = GetWindowTextLengthW(hwnd());
        if (length <= 0) return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), &text[0], length + 1)));
        return text;
    }

    // A negative start puts the caret after the text; a negative length
    // selects to the end.
    void Select(int32_t start, int32_t length) {
        data_.selStart = start;
        data_.selLength = length;
        if (!Editable()) return;
        std::wstring text = EditText();
        int32_t size = BytesBefore(text, static_cast<int>(text.size()));
        if (start < 0 || start > size) start = size;
        int32_t end = length < 0 || length > size - start ? size : start + length;
        SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(CharactersIn(text, start), CharactersIn(text, end)));
    }

    void ReplaceSelection(const std::string& text) {
        HWND edit = EditField();
        if (!edit) return;
        EditSelection s = Selection();
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(text).c_str()));
        Select(s.start + static_cast<int32_t>(text.size()), 0);
        data_.content = Content();
    }

    // Some platforms match a new edit text against the list and drop the
    // selection; the stored selection is put back on the list itself, which
    // leaves the edit text alone.
    void KeepListSelection() {
        if (CurrentSelection() == data_.currentSelection) return;
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd(), &info) && info.hwndList)
            SendMessageA(info.hwndList, LB_SETCURSEL, static_cast<WPARAM>(data_.currentSelection), 0);
    }

    int32_t CurrentSelection() const { return static_cast<int32_t>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0)); }

    // Clamped into -1 .. count - 1: beyond the last item selects the last.
    void SelectItem(int32_t index) {
        int32_t count = static_cast<int32_t>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
        if (index >= count) index = count - 1;
        if (index < -1) index = -1;
        data_.currentSelection = index;
        SendMessageA(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        int count = static_cast<int>(SendMessageA(hwnd(), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            LRESULT length = SendMessageA(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
            LRESULT got = SendMessageA(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
            text.resize(got > 0 ? static_cast<size_t>(got) : 0);
            items.push_back(text);
        }
        return items;
    }

    void ApplyFont() {
        GdiHandle<HFONT> old(font_.release());
        font_.reset(CreateUnitFont(data_.font));
        SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_.get())), TRUE);
    }

    int ItemHeight() const { return static_cast<int>(SendMessageA(hwnd(), CB_GETITEMHEIGHT, 0, 0)); }

    // Set on the list itself: some platforms take a combo box's item height
    // only when its items are drawn by the owner.
    bool SetItemHeight(int height) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(hwnd(), &info) || !info.hwndList) return false;
        return SendMessageA(info.hwndList, LB_SETITEMHEIGHT, 0, height) != LB_ERR;
    }

    void SetItemHeightBase(int height) {
        appliedExtra_ = 0;
        if (height >= 1) SetItemHeight(height);
    }

    // The list items get the extra height on top of what the font gives them.
    void AddExtraItemHeight() {
        int base = ItemHeight();
        if (base < 1 || data_.extraItemHeight == 0) return;
        int64_t wanted = static_cast<int64_t>(base) + data_.extraItemHeight;
        int height = wanted < 1 ? 1 : wanted > kMaxItemHeight ? kMaxItemHeight : static_cast<int>(wanted);
        if (SetItemHeight(height)) appliedExtra_ = height - base;
    }

    ComboBoxData data_;
    GdiHandle<HFONT> font_;
    GdiHandle<HBRUSH> brush_;
    // The subclassed edit field of the editable types and its own procedure.
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    ByteLimitedInput input_;
    int appliedExtra_ = 0;
    int quiet_ = 0;
    bool selectionPosted_ = false;
};
}  // namespace

const UnitTypeInfo kComboBoxType = MakeUnitType("组合框", "ComboBox", kTypeMayRaiseEvents,
                                                ComboBox::Properties(), &ComboBox::Create);

}  // namespace qy
