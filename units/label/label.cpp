// The label: a custom-painted static text of class "_QY_Label" with text
// effects, seven border kinds (the sixth a gradient frame), gradient
// backgrounds and a background picture.
#include <memory>
#include <vector>

#include "media/picture/picture_draw.h"
#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "window/property_table.h"
#include "units/label/label_data.h"
#include "units/label/label.h"

namespace qy {

namespace {
const char kLabelClass[] = "_QY_Label";

std::vector<COLORREF> UsedColours(const uint32_t (&colours)[3]) {
    std::vector<COLORREF> used;
    for (uint32_t c : colours)
        if (c != kButtonFaceColour) used.push_back(static_cast<COLORREF>(c & 0xFFFFFF));
    return used;
}

// The colour at t (0..1) along the colours, evenly spaced.
COLORREF Blend(const std::vector<COLORREF>& colours, double t) {
    if (t < 0) t = 0;
    if (t > 1) t = 1;
    double at = t * static_cast<double>(colours.size() - 1);
    size_t i = static_cast<size_t>(at);
    if (i >= colours.size() - 1) return colours.back();
    double f = at - static_cast<double>(i);
    COLORREF a = colours[i], b = colours[i + 1];
    auto mix = [f](int x, int y) { return static_cast<int>(x + (y - x) * f + 0.5); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void FillColour(HDC dc, const RECT& r, COLORREF colour) {
    FillRect(dc, &r, GdiHandle<HBRUSH>(CreateSolidBrush(colour)).get());
}

// Gradient layouts: 1 left to right, 2 top to bottom, 3 right to left,
// 4 bottom to top, 5 from the vertical centre line outwards, 6 from the
// horizontal centre line outwards, 7 and 8 the two diagonals.
void PaintGradient(HDC dc, const RECT& r, int mode, const std::vector<COLORREF>& colours) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (mode == 7 || mode == 8) {
        int span = w + h;
        for (int d = 0; d < span; ++d) {
            GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, Blend(colours, static_cast<double>(d) / (span - 1))));
            SelectedObject selected(dc, pen.get());
            if (mode == 7) {
                MoveToEx(dc, r.left + d, r.top, nullptr);
                LineTo(dc, r.left + d - h - 1, r.top + h + 1);
            } else {
                MoveToEx(dc, r.right - 1 - d, r.top, nullptr);
                LineTo(dc, r.right - 1 - d + h + 1, r.top + h + 1);
            }
        }
        return;
    }
    bool horizontal = mode == 1 || mode == 3 || mode == 5;
    int length = horizontal ? w : h;
    for (int i = 0; i < length; ++i) {
        double t = length > 1 ? static_cast<double>(i) / (length - 1) : 0;
        if (mode == 3 || mode == 4) t = 1 - t;
        if (mode == 5 || mode == 6) t = t < 0.5 ? 1 - 2 * t : 2 * t - 1;
        RECT strip = horizontal ? RECT{r.left + i, r.top, r.left + i + 1, r.bottom}
                                : RECT{r.left, r.top + i, r.right, r.top + i + 1};
        FillColour(dc, strip, Blend(colours, t));
    }
}

class Label : public Unit {
public:
    Label(const UnitCreation& c, const LabelData& d) : Unit(kLabelType, c.windowId, c.unitId), data_(d) {}
    ~Label() override { Release(); }

    static Unit* Create(const UnitCreation& c) {
        LabelData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        if (!RegisterUnitClass(kLabelClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS)) return nullptr;
        auto* unit = new Label(c, d);
        unit->font_.reset(CreateUnitFont(d.font));
        if (!CreateUnitWindow(unit, c, BorderExStyle(d.border), kLabelClass, d.caption.c_str(),
                              LineBorderStyle(d.border)))
            return nullptr;
        return unit;
    }

private:
    // One of three colours of a colour set (the border's, the gradient's).
    template <uint32_t (LabelData::*Colours)[3], int I>
    static constexpr PropertyRow<Label> ColourRow(const char* name) {
        return {name, kPropColourOrTransparent,
                [](Label& u, PropertyValue* o) { u.GiveInt(o, static_cast<int32_t>((u.data_.*Colours)[I])); },
                [](Label& u, const PropertyValue& v) { return (u.data_.*Colours)[I] = static_cast<uint32_t>(v.i), 0; }};
    }

public:
    // The label's own properties, in the order of label::Property.
    static const auto& Properties() {
        using L = Label;
        using V = const PropertyValue&;
        using Out = PropertyValue*;
        static constexpr PropertyRow<L> kRows[] = {
            {"Caption", kPropText, [](L& u, Out o) { u.GiveText(o, u.data_.caption); },
             [](L& u, V v) {
                 u.data_.caption = TextOf(v);
                 SetWindowTextA(u.hwnd(), u.data_.caption.c_str());
                 return 0;
             }},
            {"Effect", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.effect); },
             [](L& u, V v) { return u.data_.effect = v.i > kEffectShadow ? kEffectShadow : v.i, 0; }},
            {"Border", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.border); },
             [](L& u, V v) {
                 u.data_.border = v.i > kGradientBorder ? kGradientBorder : v.i;
                 SetBorderStyles(u.hwnd(), u.data_.border, true);
                 RedrawFrame(u.hwnd());
                 return 0;
             }},
            {"BorderWidth", kPropInt2, [](L& u, Out o) { u.GiveInt(o, u.data_.borderWidth); },
             [](L& u, V v) { return u.data_.borderWidth = v.i < 5 ? 5 : v.i, 0; }},
            ColourRow<&LabelData::borderColor, 0>("BorderColor1"),
            ColourRow<&LabelData::borderColor, 1>("BorderColor2"),
            ColourRow<&LabelData::borderColor, 2>("BorderColor3"),
            {"Font", kPropFont, [](L& u, Out o) { u.GiveBytes(o, u.data_.font); },
             [](L& u, V v) {
                 u.data_.font = BytesOf(v);
                 u.font_.reset(CreateUnitFont(u.data_.font));
                 return 0;
             }},
            {"TextColor", kPropColour, [](L& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.textColor)); },
             [](L& u, V v) { return u.data_.textColor = static_cast<uint32_t>(v.i), 0; }},
            {"BackColor", kPropBackColour, [](L& u, Out o) { u.GiveInt(o, static_cast<int32_t>(u.data_.backColor)); },
             [](L& u, V v) { return u.data_.backColor = static_cast<uint32_t>(v.i), 0; }},
            {"Picture", kPropPicture, [](L& u, Out o) { u.GiveBytes(o, u.data_.picture); },
             [](L& u, V v) {
                 u.data_.picture = BytesOf(v);
                 u.DropPicture();
                 return 0;
             }},
            {"PictureMode", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.pictureMode); },
             [](L& u, V v) { return u.data_.pictureMode = v.i > kLabelPictureTiled ? kLabelPictureTiled : v.i, 0; }},
            {"GradientMode", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.gradientMode); },
             [](L& u, V v) { return u.data_.gradientMode = v.i > 8 ? 8 : v.i, 0; }},
            ColourRow<&LabelData::gradientColor, 0>("GradientColor1"),
            ColourRow<&LabelData::gradientColor, 1>("GradientColor2"),
            ColourRow<&LabelData::gradientColor, 2>("GradientColor3"),
            {"HAlign", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.hAlign); },
             [](L& u, V v) { return u.data_.hAlign = v.i > 2 ? 2 : v.i, 0; }},
            {"WordWrap", kPropLogical, [](L& u, Out o) { u.GiveInt(o, u.data_.wordWrap); },
             [](L& u, V v) { return u.data_.wordWrap = v.i, 0; }},
            {"VAlign", kPropChoice, [](L& u, Out o) { u.GiveInt(o, u.data_.vAlign); },
             [](L& u, V v) { return u.data_.vAlign = v.i > 2 ? 2 : v.i, 0; }},
            {"DataSource", kPropDataSource, [](L& u, Out o) { u.GiveText(o, u.data_.dataSource); },
             [](L& u, V v) { return u.data_.dataSource = TextOf(v), 0; }},
            {"DataColumn", kPropDataColumn, [](L& u, Out o) { u.GiveText(o, u.data_.dataColumn); },
             [](L& u, V v) { return u.data_.dataColumn = TextOf(v), 0; }},
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override {
        if (!Properties().Has(own)) return kPropertyApplied;
        int result = Properties().Write(*this, own, v);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
    }

    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

    Bytes OwnData() const override { return data_.Write(); }
    std::string MnemonicCaption() const override { return data_.caption; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND: return 1;
            case WM_PAINT: {
                PaintDc dc(hwnd());
                RECT clip;
                if (GetClipBox(dc.get(), &clip) != NULLREGION) Paint(dc.get());
                return 0;
            }
            default: return DefaultProc(message, wParam, lParam);
        }
    }

private:
    void Paint(HDC dc) {
        RECT work;
        GetClientRect(hwnd(), &work);
        if (data_.border == kGradientBorder && data_.borderWidth > 0) {
            std::vector<COLORREF> colours = UsedColours(data_.borderColor);
            if (colours.size() >= 2) {
                for (int i = 0; i < data_.borderWidth; ++i) {
                    RECT ring{work.left + i, work.top + i, work.right - i, work.bottom - i};
                    if (ring.right <= ring.left || ring.bottom <= ring.top) break;
                    GdiHandle<HBRUSH> brush(CreateSolidBrush(
                        Blend(colours, data_.borderWidth > 1 ? static_cast<double>(i) / (data_.borderWidth - 1) : 0)));
                    FrameRect(dc, &ring, brush.get());
                }
                InflateRect(&work, -data_.borderWidth, -data_.borderWidth);
            }
        }
        int saved = SaveDC(dc);
        IntersectClipRect(dc, work.left, work.top, work.right, work.bottom);
        COLORREF back = ResolveColour(data_.backColor);
        std::vector<COLORREF> gradient = UsedColours(data_.gradientColor);
        if (const Picture* picture = DecodedPicture()) {
            FillColour(dc, work, back);
            DrawPicture(dc, work, *picture, back);
        } else if (data_.gradientMode > 0 && gradient.size() >= 2) {
            PaintGradient(dc, work, data_.gradientMode, gradient);
        } else {
            FillColour(dc, work, back);
        }
        if (!data_.caption.empty()) DrawCaption(dc, work);
        RestoreDC(dc, saved);
    }

    void DrawCaption(HDC dc, RECT r) {
        SelectedObject font(dc, FontOrDefault(font_.get()));
        SetBkMode(dc, TRANSPARENT);
        UINT format = DT_NOCLIP | (data_.hAlign == 1 ? DT_CENTER : data_.hAlign == 2 ? DT_RIGHT : DT_LEFT);
        if (data_.wordWrap) {
            format |= DT_WORDBREAK;
        } else {
            format |= DT_SINGLELINE | (data_.vAlign == 1 ? DT_VCENTER : data_.vAlign == 2 ? DT_BOTTOM : DT_TOP);
        }
        const char* text = data_.caption.c_str();
        auto draw = [&](COLORREF colour, int dx, int dy) {
            RECT moved = r;
            OffsetRect(&moved, dx, dy);
            SetTextColor(dc, colour);
            DrawTextA(dc, text, -1, &moved, format);
        };
        COLORREF colour = ResolveColour(data_.textColor);
        switch (data_.effect) {
            case kEffectRaised: draw(RGB(255, 255, 255), 1, 1), draw(colour, 0, 0); break;
            case kEffectEngraved: draw(RGB(255, 255, 255), 0, 0), draw(colour, 1, 1); break;
            case kEffectShadow: draw(RGB(0, 0, 0), 2, 2), draw(colour, 0, 0); break;
            default: draw(colour, 0, 0); break;
        }
    }

    const Picture* DecodedPicture() {
        if (!picture_ && !data_.picture.empty()) {
            picture_ = DecodePicture(data_.picture.data(), static_cast<int>(data_.picture.size()));
            if (!picture_) data_.picture.clear();  // undecodable picture data is dropped
        }
        return picture_ && picture_->width > 0 && picture_->height > 0 ? picture_.get() : nullptr;
    }

    // Picture modes: 0 at the top left in its own size, 1 stretched over the
    // label, 2 tiled.
    void DrawPicture(HDC dc, const RECT& r, const Picture& picture, COLORREF back) {
        if (data_.pictureMode == kLabelPictureStretched) {
            RenderPicture(picture, dc, r.left, r.top, r.right - r.left, r.bottom - r.top, SRCCOPY, back);
        } else if (data_.pictureMode == kLabelPictureTiled) {
            for (int y = r.top; y < r.bottom; y += picture.height)
                for (int x = r.left; x < r.right; x += picture.width)
                    RenderPicture(picture, dc, x, y, -1, -1, SRCCOPY, back);
        } else {
            RenderPicture(picture, dc, r.left, r.top, -1, -1, SRCCOPY, back);
        }
    }

    void DropPicture() { picture_.reset(); }

    void Release() {
        DropPicture();
        font_.reset();
    }

    LabelData data_;
    GdiHandle<HFONT> font_;
    std::unique_ptr<Picture> picture_;
};
}  // namespace

const UnitTypeInfo kLabelType = MakeUnitType("标签", "Label", kTypeMayRaiseEvents | kTypeDragsWindow,
                                             Label::Properties(), &Label::Create);

}  // namespace qy
