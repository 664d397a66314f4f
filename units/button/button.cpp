// Button and check box, both on the platform's "BUTTON" class: their own
// data, property tables, styles, colours and click events.
#include <cstring>

#include "media/picture/picture_draw.h"
#include "runtime/win32_handles.h"
#include "window/byte_io.h"
#include "units/button/button_data.h"
#include "units/button/button.h"
#include "window/property_table.h"
#include "window/unit.h"

namespace qy {

namespace {
DWORD AlignStyle(int32_t hAlign, int32_t vAlign) {
    DWORD style = hAlign == 0 ? BS_LEFT : hAlign == 2 ? BS_RIGHT : BS_CENTER;
    style |= vAlign == 0 ? BS_TOP : vAlign == 2 ? BS_BOTTOM : BS_VCENTER;
    return style;
}

constexpr DWORD kAlignMask = BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER;

HICON IconFromFile(const Bytes& data) {
    ByteCursor in = CursorOver(data);
    if (in.U16() != 0 || in.U16() != 1 || in.U16() == 0) return nullptr;
    in.Skip(8);
    uint32_t size = in.U32(), offset = in.U32();
    if (!in.ok() || offset > data.size() || size > data.size() - offset) return nullptr;
    return CreateIconFromResourceEx(const_cast<uint8_t*>(data.data() + offset), size, TRUE, 0x00030000, 0, 0, 0);
}

// A picture's bitmap or icon for a button face; null when it cannot be decoded.
HANDLE DecodeButtonPicture(const Bytes& picture, bool* isIcon) {
    *isIcon = false;
    if (picture.size() >= 4 && picture[0] == 0 && picture[1] == 0 && picture[2] == 1 && picture[3] == 0) {
        *isIcon = true;
        return IconFromFile(picture);
    }
    return static_cast<HANDLE>(ConvertPictureToBitmap(picture.data(), static_cast<int>(picture.size())));
}
// The parts button and check box share: picture face, font and caption.
class ButtonBase : public Unit {
public:
    using Unit::Unit;

    std::string MnemonicCaption() const override {
        char text[512] = {};
        if (hwnd()) GetWindowTextA(hwnd(), text, sizeof text);
        return text;
    }

protected:
    bool CreateButton(const UnitCreation& c, DWORD style, const std::string& caption, const Bytes& picture,
                      const Bytes& font) {
        bool isIcon = false;
        picture_ = picture;
        HANDLE image = picture.empty() ? nullptr : DecodeButtonPicture(picture, &isIcon);
        if (isIcon) {
            icon_.reset(static_cast<HICON>(image));
        } else {
            bitmap_.reset(static_cast<HBITMAP>(image));
        }
        if (!image) picture_.clear();  // a picture that cannot be decoded is dropped
        if (image) style |= isIcon ? BS_ICON : BS_BITMAP;
        HWND hwnd = CreateWindowExA(0, "BUTTON", caption.c_str(), c.style | style | WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE,
                                    c.left, c.top, c.width, c.height, c.parent,
                                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                    GetModuleHandleA(nullptr), nullptr);
        if (!hwnd) return false;
        Attach(hwnd);
        if (image)
            SendMessageA(hwnd, BM_SETIMAGE, isIcon ? IMAGE_ICON : IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
        SetFont(font);
        return true;
    }

    void SetFont(const Bytes& font) {
        font_ = font;
        GdiHandle<HFONT> old(hfont_.release());
        hfont_.reset(CreateUnitFont(font));
        SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(hfont_.get())), TRUE);
    }

    void ChangeStyle(DWORD clear, DWORD set) {
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE));
        style = (style & ~clear) | set;
        SetWindowLongPtrA(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(style));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }

    std::string Caption() const { return MnemonicCaption(); }

    Bytes picture_;
    Bytes font_;
    GdiHandle<HFONT> hfont_;
    // The face picture: an icon or a bitmap.
    IconHandle icon_;
    GdiHandle<HBITMAP> bitmap_;
};

class Button : public ButtonBase {
public:
    Button(const UnitCreation& c, const ButtonData& d) : ButtonBase(kButtonType, c.windowId, c.unitId), data_(d) {}

    static Unit* Create(const UnitCreation& c) {
        ButtonData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        auto* unit = new Button(c, d);
        DWORD style = (d.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | AlignStyle(d.hAlign, d.vAlign);
        if (!unit->CreateButton(c, style, d.caption, d.picture, d.font)) {
            delete unit;
            return nullptr;
        }
        return unit;
    }

    // The button's own properties, in the order of button::Property.
    static const auto& Properties() {
        using B = Button;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<B> kRows[] = {
            {"Picture", kPropPicture, [](B& u, Out o) { u.GiveBytes(o, u.picture_); },
             [](B& u, V v) { return u.picture_ = BytesOf(v), static_cast<int>(kRecreateUnit); }},
            {"Type", kPropChoice, [](B& u, Out o) { u.GiveInt(o, u.data_.type); },
             [](B& u, V v) {
                 u.data_.type = v.i > 1 ? 1 : v.i;
                 SendMessageA(u.hwnd(), BM_SETSTYLE, u.data_.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
                 return 0;
             }},
            {"Caption", kPropText, [](B& u, Out o) { u.GiveText(o, u.Caption()); },
             [](B& u, V v) { return SetWindowTextA(u.hwnd(), v.text), 0; }},
            {"HAlign", kPropChoice, [](B& u, Out o) { u.GiveInt(o, u.data_.hAlign); },
             [](B& u, V v) { return u.data_.hAlign = v.i > 2 ? 2 : v.i, u.ApplyAlignment(), 0; }},
            {"VAlign", kPropChoice, [](B& u, Out o) { u.GiveInt(o, u.data_.vAlign); },
             [](B& u, V v) { return u.data_.vAlign = v.i > 2 ? 2 : v.i, u.ApplyAlignment(), 0; }},
            {"Font", kPropFont, [](B& u, Out o) { u.GiveBytes(o, u.font_); },
             [](B& u, V v) { return u.SetFont(BytesOf(v)), 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override {
        ButtonData d = data_;
        d.picture = picture_;
        d.font = font_;
        d.caption = Caption();
        return d.Write();
    }

    bool IsDefaultButton() const override { return data_.type == 1; }
    void Activate() override { SendMessageA(hwnd(), BM_CLICK, 0, 0); }

    bool Reflect(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            RaiseEvent(button::kClicked);
            *result = 0;
            return true;
        }
        return false;
    }

private:
    void ApplyAlignment() { ChangeStyle(kAlignMask, AlignStyle(data_.hAlign, data_.vAlign)); }

    ButtonData data_;
};

class CheckBox : public ButtonBase {
public:
    CheckBox(const UnitCreation& c, const CheckBoxData& d) : ButtonBase(kCheckBoxType, c.windowId, c.unitId), data_(d) {}

    static Unit* Create(const UnitCreation& c) {
        CheckBoxData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        auto* unit = new CheckBox(c, d);
        unit->brush_.reset(CreateSolidBrush(ResolveColour(d.backColor)));
        if (!unit->CreateButton(c, BS_AUTOCHECKBOX | unit->Styles(), d.caption, d.picture, d.font)) {
            delete unit;
            return nullptr;
        }
        SendMessageA(unit->hwnd(), BM_SETCHECK, d.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return unit;
    }

    DWORD Styles() const {
        return (data_.pushLike ? BS_PUSHLIKE : 0) | (data_.flat ? BS_FLAT : 0) | (data_.textOnLeft ? BS_LEFTTEXT : 0) |
               AlignStyle(data_.hAlign, data_.vAlign);
    }

    // The check box's own properties, in the order of check_box::Property.
    static const auto& Properties() {
        using C = CheckBox;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<C> kRows[] = {
            {"Picture", kPropPicture, [](C& u, Out o) { u.GiveBytes(o, u.picture_); },
             [](C& u, V v) { return u.picture_ = BytesOf(v), static_cast<int>(kRecreateUnit); }},
            {"PushLike", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.data_.pushLike); },
             [](C& u, V v) { return u.data_.pushLike = v.i, u.ApplyStyles(), 0; }},
            {"Flat", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.data_.flat); },
             [](C& u, V v) { return u.data_.flat = v.i, u.ApplyStyles(), 0; }},
            {"Caption", kPropText, [](C& u, Out o) { u.GiveText(o, u.Caption()); },
             [](C& u, V v) { return SetWindowTextA(u.hwnd(), v.text), 0; }},
            {"TextOnLeft", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.data_.textOnLeft); },
             [](C& u, V v) { return u.data_.textOnLeft = v.i, u.ApplyStyles(), 0; }},
            {"HAlign", kPropChoice, [](C& u, Out o) { u.GiveInt(o, u.data_.hAlign); },
             [](C& u, V v) { return u.data_.hAlign = v.i > 2 ? 2 : v.i, u.ApplyStyles(), 0; }},
            {"VAlign", kPropChoice, [](C& u, Out o) { u.GiveInt(o, u.data_.vAlign); },
             [](C& u, V v) { return u.data_.vAlign = v.i > 2 ? 2 : v.i, u.ApplyStyles(), 0; }},
            {"TextColor", kPropColour, [](C& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
             [](C& u, V v) {
                 u.data_.textColor = static_cast<uint32_t>(v.i);
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
                 return 0;
             }},
            {"BackColor", kPropBackColour, [](C& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
             [](C& u, V v) {
                 u.data_.backColor = static_cast<uint32_t>(v.i);
                 u.brush_.reset(CreateSolidBrush(ResolveColour(u.data_.backColor)));
                 InvalidateRect(u.hwnd(), nullptr, TRUE);
                 return 0;
             }},
            {"Font", kPropFont, [](C& u, Out o) { u.GiveBytes(o, u.font_); },
             [](C& u, V v) { return u.SetFont(BytesOf(v)), 0; }},
            {"Checked", kPropLogical, [](C& u, Out o) { u.GiveInt(o, u.IsChecked() ? 1 : 0); },
             [](C& u, V v) { return u.SetChecked(v.i != 0), 0; }},
            {"DataSource", kPropDataSource, [](C& u, Out o) { u.GiveText(o, u.data_.dataSource); },
             [](C& u, V v) { return u.data_.dataSource = TextOf(v), 0; }},
            {"DataColumn", kPropDataColumn, [](C& u, Out o) { u.GiveText(o, u.data_.dataColumn); },
             [](C& u, V v) { return u.data_.dataColumn = TextOf(v), 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override {
        CheckBoxData d = data_;
        d.picture = picture_;
        d.font = font_;
        d.caption = Caption();
        d.checked = IsChecked() ? 1 : 0;
        return d.Write();
    }

    bool IsChecked() const override { return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override {
        SendMessageA(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void Activate() override { SendMessageA(hwnd(), BM_CLICK, 0, 0); }

    bool Reflect(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            RaiseEvent(check_box::kClicked);
            *result = 0;
            return true;
        }
        if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, ResolveColour(data_.textColor));
            SetBkColor(dc, ResolveColour(data_.backColor));
            *result = reinterpret_cast<LRESULT>(brush_.get());
            return true;
        }
        return false;
    }

private:
    void ApplyStyles() { ChangeStyle(BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | kAlignMask, Styles()); }

    CheckBoxData data_;
    GdiHandle<HBRUSH> brush_;
};

}  // namespace

const UnitTypeInfo kButtonType = MakeUnitType("按钮", "Button", kTypeMayRaiseEvents, Button::Properties(), &Button::Create);
const UnitTypeInfo kCheckBoxType = MakeUnitType("选择框", "CheckBox", kTypeMayRaiseEvents | kTypeToggleOnMnemonic,
                                                CheckBox::Properties(), &CheckBox::Create);

}  // namespace qy
