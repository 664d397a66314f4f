#include "window/own_data.h"

#include <cstring>

namespace qy {

namespace {
int32_t ReadVersion(ByteReader& in, int32_t highest, bool zeroOrAbove = false) {
    int32_t version = in.I32();
    if (version > highest || (zeroOrAbove && version < 0)) throw TemplateError("unknown own-data version");
    return version;
}
}  // namespace

Bytes LogFont::Make(const std::string& face, int32_t height, int32_t weight) {
    Bytes font(kSize, 0);
    StoreU32(&font[kHeight], static_cast<uint32_t>(height));
    StoreU32(&font[kWeight], static_cast<uint32_t>(weight));
    font[kCharSet] = kGb2312CharSet;
    std::memcpy(&font[kFaceName], face.data(), face.size() < kFaceSize - 1 ? face.size() : kFaceSize - 1);
    return font;
}

std::string LogFont::Face(const Bytes& font) {
    if (font.size() != kSize) return std::string();
    const char* face = reinterpret_cast<const char*>(&font[kFaceName]);
    return std::string(face, strnlen(face, kFaceSize));
}

WindowData WindowData::Read(const Bytes& data) {
    WindowData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.border = in.I32();
    d.pictureMode = in.I32();
    d.backColor = in.U32();
    d.maxButton = in.I32();
    d.minButton = in.I32();
    d.controlBox = in.I32();
    d.position = in.I32();
    d.closable = in.I32();
    d.musicMode = in.I32();
    d.enterMovesFocus = in.I32();
    d.escCloses = in.I32();
    d.f1OpensHelp = in.I32();
    d.helpContext = in.I32();
    if (d.version > 1) d.showInTaskbar = in.I32();
    if (d.version > 2) {
        d.dragToMove = in.I32();
        d.shape = in.I32();
    }
    if (d.version > 3) d.alwaysOnTop = in.I32();
    if (d.version > 4) d.own22 = in.I32();
    if (d.version == 6) d.windowClass = in.CountedText();
    d.picture = in.Buffer();
    d.icon = in.Buffer();
    d.music = in.Buffer();
    d.caption = in.CountedText();
    d.helpFile = in.CountedText();
    return d;
}

Bytes WindowData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(border);
    out.I32(pictureMode);
    out.U32(backColor);
    out.I32(maxButton);
    out.I32(minButton);
    out.I32(controlBox);
    out.I32(position);
    out.I32(closable);
    out.I32(musicMode);
    out.I32(enterMovesFocus);
    out.I32(escCloses);
    out.I32(f1OpensHelp);
    out.I32(helpContext);
    if (version > 1) out.I32(showInTaskbar);
    if (version > 2) {
        out.I32(dragToMove);
        out.I32(shape);
    }
    if (version > 3) out.I32(alwaysOnTop);
    if (version > 4) out.I32(own22);
    if (version == 6) out.CountedText(windowClass);
    out.Buffer(picture);
    out.Buffer(icon);
    out.Buffer(music);
    out.CountedText(caption);
    out.CountedText(helpFile);
    return out.Take();
}

ButtonData ButtonData::Read(const Bytes& data) {
    ButtonData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.type = in.I32();
    d.hAlign = in.I32();
    d.vAlign = in.I32();
    d.picture = in.Buffer();
    d.font = in.Buffer();
    d.caption = in.CountedText();
    return d;
}

Bytes ButtonData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(type);
    out.I32(hAlign);
    out.I32(vAlign);
    out.Buffer(picture);
    out.Buffer(font);
    out.CountedText(caption);
    return out.Take();
}

CheckBoxData CheckBoxData::Read(const Bytes& data) {
    CheckBoxData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.pushLike = in.I32();
    d.flat = in.I32();
    d.textOnLeft = in.I32();
    d.hAlign = in.I32();
    d.vAlign = in.I32();
    d.textColor = in.U32();
    d.backColor = in.U32();
    d.checked = in.I32();
    d.picture = in.Buffer();
    d.font = in.Buffer();
    d.caption = in.CountedText();
    if (d.version == 2) {
        d.dataSource = in.CountedText();
        d.dataColumn = in.CountedText();
    }
    return d;
}

Bytes CheckBoxData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(pushLike);
    out.I32(flat);
    out.I32(textOnLeft);
    out.I32(hAlign);
    out.I32(vAlign);
    out.U32(textColor);
    out.U32(backColor);
    out.I32(checked);
    out.Buffer(picture);
    out.Buffer(font);
    out.CountedText(caption);
    if (version == 2) {
        out.CountedText(dataSource);
        out.CountedText(dataColumn);
    }
    return out.Take();
}

LabelData LabelData::Read(const Bytes& data) {
    LabelData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.effect = in.I32();
    d.borderWidth = in.I32();
    d.border = in.I32();
    for (uint32_t& c : d.borderColor) c = in.U32();
    d.textColor = in.U32();
    d.backColor = in.U32();
    d.pictureMode = in.I32();
    d.gradientMode = in.I32();
    for (uint32_t& c : d.gradientColor) c = in.U32();
    d.hAlign = in.I32();
    d.vAlign = in.I32();
    d.wordWrap = in.I32();
    d.font = in.Buffer();
    d.picture = in.Buffer();
    d.caption = in.CountedText();
    if (d.version == 2) {
        d.dataSource = in.CountedText();
        d.dataColumn = in.CountedText();
    }
    return d;
}

Bytes LabelData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(effect);
    out.I32(borderWidth);
    out.I32(border);
    for (uint32_t c : borderColor) out.U32(c);
    out.U32(textColor);
    out.U32(backColor);
    out.I32(pictureMode);
    out.I32(gradientMode);
    for (uint32_t c : gradientColor) out.U32(c);
    out.I32(hAlign);
    out.I32(vAlign);
    out.I32(wordWrap);
    out.Buffer(font);
    out.Buffer(picture);
    out.CountedText(caption);
    if (version == 2) {
        out.CountedText(dataSource);
        out.CountedText(dataColumn);
    }
    return out.Take();
}

EditBoxData EditBoxData::Read(const Bytes& data) {
    EditBoxData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.border = in.I32();
    d.textColor = in.U32();
    d.backColor = in.U32();
    d.hideSelection = in.I32();
    d.maxLength = in.I32();
    d.multiLine = in.I32();
    d.scrollBars = in.I32();
    d.alignment = in.I32();
    d.inputMode = in.I32();
    d.passwordChar = in.U16();
    d.caseConversion = in.I32();
    d.spinMode = in.I32();
    d.spinMin = in.I32();
    d.spinMax = in.I32();
    d.selStart = in.I32();
    d.selLength = in.I32();
    d.font = in.Buffer();
    d.content = in.CountedText();
    if (d.version == 2) {
        d.dataSource = in.CountedText();
        d.dataColumn = in.CountedText();
    }
    return d;
}

Bytes EditBoxData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(border);
    out.U32(textColor);
    out.U32(backColor);
    out.I32(hideSelection);
    out.I32(maxLength);
    out.I32(multiLine);
    out.I32(scrollBars);
    out.I32(alignment);
    out.I32(inputMode);
    out.U16(passwordChar);
    out.I32(caseConversion);
    out.I32(spinMode);
    out.I32(spinMin);
    out.I32(spinMax);
    out.I32(selStart);
    out.I32(selLength);
    out.Buffer(font);
    out.CountedText(content);
    if (version == 2) {
        out.CountedText(dataSource);
        out.CountedText(dataColumn);
    }
    return out.Take();
}

ComboBoxData ComboBoxData::Read(const Bytes& data) {
    ComboBoxData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.type = in.I32();
    d.maxLength = in.I32();
    d.selStart = in.I32();
    d.selLength = in.I32();
    d.autoSort = in.I32();
    d.extraItemHeight = in.I32();
    d.textColor = in.U32();
    d.backColor = in.U32();
    d.currentSelection = in.I32();
    d.font = in.Buffer();
    Bytes values = in.Buffer();
    if (values.size() % 4 != 0) throw TemplateError("item values not whole words");
    for (size_t i = 0; i < values.size(); i += 4) d.itemValues.push_back(static_cast<int32_t>(LoadU32(&values[i])));
    d.content = in.CountedText();
    d.items = in.TextList();
    if (d.version > 1) {
        d.dataSource = in.CountedText();
        d.dataColumn = in.CountedText();
    }
    if (d.version > 2) d.own16 = in.I32();
    return d;
}

Bytes ComboBoxData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(type);
    out.I32(maxLength);
    out.I32(selStart);
    out.I32(selLength);
    out.I32(autoSort);
    out.I32(extraItemHeight);
    out.U32(textColor);
    out.U32(backColor);
    out.I32(currentSelection);
    out.Buffer(font);
    ByteWriter values;
    for (int32_t v : itemValues) values.I32(v);
    out.Buffer(values.bytes());
    out.CountedText(content);
    out.TextList(items);
    if (version > 1) {
        out.CountedText(dataSource);
        out.CountedText(dataColumn);
    }
    if (version > 2) out.I32(own16);
    return out.Take();
}

ScrollBarData ScrollBarData::Read(const Bytes& data) {
    ScrollBarData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion);
    d.minPosition = in.I32();
    d.maxPosition = in.I32();
    d.pageChange = in.I32();
    d.lineChange = in.I32();
    d.position = in.I32();
    d.dragTracking = in.I32();
    return d;
}

Bytes ScrollBarData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(minPosition);
    out.I32(maxPosition);
    out.I32(pageChange);
    out.I32(lineChange);
    out.I32(position);
    out.I32(dragTracking);
    return out.Take();
}

DrawPanelData DrawPanelData::Read(const Bytes& data) {
    DrawPanelData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion, true);
    d.border = in.I32();
    d.backColor = in.U32();
    d.pictureMode = in.I32();
    d.autoRedraw = in.I32();
    d.coordinateUnit = in.I32();
    d.penStyle = in.I32();
    d.drawMode = in.I32();
    d.penWidth = in.I32();
    d.penColor = in.U32();
    d.brushStyle = in.I32();
    d.brushColor = in.U32();
    d.textColor = in.U32();
    d.textBackColor = in.U32();
    d.font = in.Buffer();
    d.backPicture = in.Buffer();
    return d;
}

Bytes DrawPanelData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(border);
    out.U32(backColor);
    out.I32(pictureMode);
    out.I32(autoRedraw);
    out.I32(coordinateUnit);
    out.I32(penStyle);
    out.I32(drawMode);
    out.I32(penWidth);
    out.U32(penColor);
    out.I32(brushStyle);
    out.U32(brushColor);
    out.U32(textColor);
    out.U32(textBackColor);
    out.Buffer(font);
    out.Buffer(backPicture);
    return out.Take();
}

ColorPickerData ColorPickerData::Read(const Bytes& data) {
    ColorPickerData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion, true);
    d.color = in.U32();
    d.allowTransparent = in.I32();
    return d;
}

Bytes ColorPickerData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.U32(color);
    out.I32(allowTransparent);
    return out.Take();
}

CommonDialogData CommonDialogData::Read(const Bytes& data) {
    CommonDialogData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion, true);
    d.dialogType = in.I32();
    d.filterIndex = in.I32();
    d.createPrompt = in.I32();
    d.fileMustExist = in.I32();
    d.overwritePrompt = in.I32();
    d.pathMustExist = in.I32();
    d.keepCurrentDir = in.I32();
    d.fontColor = in.U32();
    d.fontBold = in.I32();
    d.fontItalic = in.I32();
    d.fontStrikeout = in.I32();
    d.fontUnderline = in.I32();
    d.fontSize = in.I32();
    d.helpCommand = in.I32();
    d.helpContext = in.I32();
    d.title = in.CountedText();
    d.fileName = in.CountedText();
    d.filter = in.CountedText();
    d.initialDir = in.CountedText();
    d.defaultExt = in.CountedText();
    d.fontName = in.CountedText();
    d.helpFile = in.CountedText();
    return d;
}

Bytes CommonDialogData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(dialogType);
    out.I32(filterIndex);
    out.I32(createPrompt);
    out.I32(fileMustExist);
    out.I32(overwritePrompt);
    out.I32(pathMustExist);
    out.I32(keepCurrentDir);
    out.U32(fontColor);
    out.I32(fontBold);
    out.I32(fontItalic);
    out.I32(fontStrikeout);
    out.I32(fontUnderline);
    out.I32(fontSize);
    out.I32(helpCommand);
    out.I32(helpContext);
    out.CountedText(title);
    out.CountedText(fileName);
    out.CountedText(filter);
    out.CountedText(initialDir);
    out.CountedText(defaultExt);
    out.CountedText(fontName);
    out.CountedText(helpFile);
    return out.Take();
}

TransLabelData TransLabelData::Read(const Bytes& data) {
    TransLabelData d;
    if (data.empty()) return d;
    ByteReader in(data);
    d.version = ReadVersion(in, kVersion, true);
    d.effect = in.I32();
    d.textColor = in.U32();
    d.alignment = in.I32();
    d.vAlign = in.I32();
    d.wordWrap = in.I32();
    d.font = in.Buffer();
    d.caption = in.CountedText();
    return d;
}

Bytes TransLabelData::Write() const {
    ByteWriter out;
    out.I32(version);
    out.I32(effect);
    out.U32(textColor);
    out.I32(alignment);
    out.I32(vAlign);
    out.I32(wordWrap);
    out.Buffer(font);
    out.CountedText(caption);
    return out.Take();
}

}  // namespace qy
