// Button and check box, both on the platform's "BUTTON" class: their own
// data, property tables, styles, colours and click events.
#include <cstring>

#include "media/picture/picture_draw.h"
#include "runtime/win32_handles.h"
#include "window/byte_io.h"
#include "units/button/button_data.h"
#include "units/button/button.h"
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

const PropertyInfo kButtonProperties[] = {
    {"Picture", kPropPicture}, {"Type", kPropChoice},   {"Caption", kPropText},
    {"HAlign", kPropChoice},   {"VAlign", kPropChoice}, {"Font", kPropFont},
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

    int PropertyChanged(int own, const PropertyValue& v) override {
        switch (own) {
            case button::kPicture: picture_ = BytesOf(v); return kRecreateUnit;
            case button::kType:
                data_.type = v.i > 1 ? 1 : v.i;
                SendMessageA(hwnd(), BM_SETSTYLE, data_.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
                return kPropertyApplied;
            case button::kCaption: SetWindowTextA(hwnd(), v.text); return kPropertyApplied;
            case button::kHAlign: data_.hAlign = v.i > 2 ? 2 : v.i; break;
            case button::kVAlign: data_.vAlign = v.i > 2 ? 2 : v.i; break;
            case button::kFont: SetFont(BytesOf(v)); return kPropertyApplied;
            default: return kPropertyApplied;
        }
        ChangeStyle(kAlignMask, AlignStyle(data_.hAlign, data_.vAlign));
        return kPropertyApplied;
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case button::kPicture: GiveBytes(out, picture_); return true;
            case button::kType: GiveInt(out, data_.type); return true;
            case button::kCaption: GiveText(out, Caption()); return true;
            case button::kHAlign: GiveInt(out, data_.hAlign); return true;
            case button::kVAlign: GiveInt(out, data_.vAlign); return true;
            case button::kFont: GiveBytes(out, font_); return true;
            default: return false;
        }
    }

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
    ButtonData data_;
};

const PropertyInfo kCheckBoxProperties[] = {
    {"Picture", kPropPicture},     {"PushLike", kPropLogical}, {"Flat", kPropLogical},
    {"Caption", kPropText},        {"TextOnLeft", kPropLogical}, {"HAlign", kPropChoice},
    {"VAlign", kPropChoice},       {"TextColor", kPropColour},  {"BackColor", kPropBackColour},
    {"Font", kPropFont},           {"Checked", kPropLogical},  {"DataSource", kPropDataSource},
    {"DataColumn", kPropDataColumn},
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

    int PropertyChanged(int own, const PropertyValue& v) override {
        switch (own) {
            case check_box::kPicture: picture_ = BytesOf(v); return kRecreateUnit;
            case check_box::kPushLike: data_.pushLike = v.i; break;
            case check_box::kFlat: data_.flat = v.i; break;
            case check_box::kCaption: SetWindowTextA(hwnd(), v.text); return kPropertyApplied;
            case check_box::kTextOnLeft: data_.textOnLeft = v.i; break;
            case check_box::kHAlign: data_.hAlign = v.i > 2 ? 2 : v.i; break;
            case check_box::kVAlign: data_.vAlign = v.i > 2 ? 2 : v.i; break;
            case check_box::kTextColor:
                data_.textColor = static_cast<uint32_t>(v.i);
                InvalidateRect(hwnd(), nullptr, TRUE);
                return kPropertyApplied;
            case check_box::kBackColor: {
                data_.backColor = static_cast<uint32_t>(v.i);
                brush_.reset(CreateSolidBrush(ResolveColour(data_.backColor)));
                InvalidateRect(hwnd(), nullptr, TRUE);
                return kPropertyApplied;
            }
            case check_box::kFont: SetFont(BytesOf(v)); return kPropertyApplied;
            case check_box::kChecked: SetChecked(v.i != 0); return kPropertyApplied;
            case check_box::kDataSource: data_.dataSource = TextOf(v); return kPropertyApplied;
            case check_box::kDataColumn: data_.dataColumn = TextOf(v); return kPropertyApplied;
            default: return kPropertyApplied;
        }
        ChangeStyle(BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | kAlignMask, Styles());
        return kPropertyApplied;
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case check_box::kPicture: GiveBytes(out, picture_); return true;
            case check_box::kPushLike: GiveInt(out, data_.pushLike); return true;
            case check_box::kFlat: GiveInt(out, data_.flat); return true;
            case check_box::kCaption: GiveText(out, Caption()); return true;
            case check_box::kTextOnLeft: GiveInt(out, data_.textOnLeft); return true;
            case check_box::kHAlign: GiveInt(out, data_.hAlign); return true;
            case check_box::kVAlign: GiveInt(out, data_.vAlign); return true;
            case check_box::kTextColor: GiveInt(out, static_cast<int32_t>(data_.textColor)); return true;
            case check_box::kBackColor: GiveInt(out, static_cast<int32_t>(data_.backColor)); return true;
            case check_box::kFont: GiveBytes(out, font_); return true;
            case check_box::kChecked: GiveInt(out, IsChecked() ? 1 : 0); return true;
            case check_box::kDataSource: GiveText(out, data_.dataSource); return true;
            case check_box::kDataColumn: GiveText(out, data_.dataColumn); return true;
            default: return false;
        }
    }

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
    CheckBoxData data_;
    GdiHandle<HBRUSH> brush_;
};

}  // namespace

const UnitTypeInfo kButtonType = MakeUnitType("按钮", "Button", kTypeMayRaiseEvents, kButtonProperties, &Button::Create);
const UnitTypeInfo kCheckBoxType = MakeUnitType("选择框", "CheckBox", kTypeMayRaiseEvents | kTypeToggleOnMnemonic,
                                                kCheckBoxProperties, &CheckBox::Create);

}  // namespace qy
