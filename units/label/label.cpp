// The label: a custom-painted static text of class "_QY_Label" with text
// effects, seven border kinds (the sixth a gradient frame), gradient
// backgrounds and a background picture.
#include <memory>
#include <vector>

#include "media/picture/picture_draw.h"
#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "units/label/label_data.h"
#include "units/label/label.h"

namespace qy {

namespace {
const char kLabelClass[] = "_QY_Label";

const PropertyInfo kLabelProperties[] = {
    {"Caption", kPropText},          {"Effect", kPropChoice},           {"Border", kPropChoice},
    {"BorderWidth", kPropInt2},      {"BorderColor1", kPropColourOrTransparent},
    {"BorderColor2", kPropColourOrTransparent}, {"BorderColor3", kPropColourOrTransparent},
    {"Font", kPropFont},             {"TextColor", kPropColour},         {"BackColor", kPropBackColour},
    {"Picture", kPropPicture},       {"PictureMode", kPropChoice},      {"GradientMode", kPropChoice},
    {"GradientColor1", kPropColourOrTransparent}, {"GradientColor2", kPropColourOrTransparent},
    {"GradientColor3", kPropColourOrTransparent}, {"HAlign", kPropChoice}, {"WordWrap", kPropLogical},
    {"VAlign", kPropChoice},         {"DataSource", kPropDataSource},   {"DataColumn", kPropDataColumn},
};

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

    int PropertyChanged(int own, const PropertyValue& v) override {
        int32_t choice = v.i;
        switch (own) {
            case label::kCaption:
                data_.caption = TextOf(v);
                SetWindowTextA(hwnd(), data_.caption.c_str());
                break;
            case label::kEffect: data_.effect = choice > kEffectShadow ? kEffectShadow : choice; break;
            case label::kBorder: {
                data_.border = choice > kGradientBorder ? kGradientBorder : choice;
                SetBorderStyles(hwnd(), data_.border, true);
                RedrawFrame(hwnd());
                break;
            }
            case label::kBorderWidth: data_.borderWidth = v.i < 5 ? 5 : v.i; break;
            case label::kBorderColor1:
            case label::kBorderColor2:
            case label::kBorderColor3: data_.borderColor[own - label::kBorderColor1] = static_cast<uint32_t>(v.i); break;
            case label::kFont: {
                data_.font = BytesOf(v);
                font_.reset(CreateUnitFont(data_.font));
                break;
            }
            case label::kTextColor: data_.textColor = static_cast<uint32_t>(v.i); break;
            case label::kBackColor: data_.backColor = static_cast<uint32_t>(v.i); break;
            case label::kPicture:
                data_.picture = BytesOf(v);
                DropPicture();
                break;
            case label::kPictureMode: data_.pictureMode = choice > kLabelPictureTiled ? kLabelPictureTiled : choice; break;
            case label::kGradientMode: data_.gradientMode = choice > 8 ? 8 : choice; break;
            case label::kGradientColor1:
            case label::kGradientColor2:
            case label::kGradientColor3: data_.gradientColor[own - label::kGradientColor1] = static_cast<uint32_t>(v.i); break;
            case label::kHAlign: data_.hAlign = choice > 2 ? 2 : choice; break;
            case label::kWordWrap: data_.wordWrap = v.i; break;
            case label::kVAlign: data_.vAlign = choice > 2 ? 2 : choice; break;
            case label::kDataSource: data_.dataSource = TextOf(v); break;
            case label::kDataColumn: data_.dataColumn = TextOf(v); break;
            default: return kPropertyApplied;
        }
        InvalidateRect(hwnd(), nullptr, TRUE);
        return kPropertyApplied;
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case label::kCaption: GiveText(out, data_.caption); return true;
            case label::kEffect: GiveInt(out, data_.effect); return true;
            case label::kBorder: GiveInt(out, data_.border); return true;
            case label::kBorderWidth: GiveInt(out, data_.borderWidth); return true;
            case label::kBorderColor1:
            case label::kBorderColor2:
            case label::kBorderColor3: GiveInt(out, static_cast<int32_t>(data_.borderColor[own - label::kBorderColor1])); return true;
            case label::kFont: GiveBytes(out, data_.font); return true;
            case label::kTextColor: GiveInt(out, static_cast<int32_t>(data_.textColor)); return true;
            case label::kBackColor: GiveInt(out, static_cast<int32_t>(data_.backColor)); return true;
            case label::kPicture: GiveBytes(out, data_.picture); return true;
            case label::kPictureMode: GiveInt(out, data_.pictureMode); return true;
            case label::kGradientMode: GiveInt(out, data_.gradientMode); return true;
            case label::kGradientColor1:
            case label::kGradientColor2:
            case label::kGradientColor3: GiveInt(out, static_cast<int32_t>(data_.gradientColor[own - label::kGradientColor1])); return true;
            case label::kHAlign: GiveInt(out, data_.hAlign); return true;
            case label::kWordWrap: GiveInt(out, data_.wordWrap); return true;
            case label::kVAlign: GiveInt(out, data_.vAlign); return true;
            case label::kDataSource: GiveText(out, data_.dataSource); return true;
            case label::kDataColumn: GiveText(out, data_.dataColumn); return true;
            default: return false;
        }
    }

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
                                             kLabelProperties, &Label::Create);

}  // namespace qy
