// The own-data blocks that units keep their design-time state in, one struct
// per unit type with its reader and writer. Each block starts with a version;
// a version above the highest known one makes Read throw TemplateError, and
// an empty block means all defaults. Byte-level only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "window/byte_io.h"

namespace qy {

constexpr uint32_t kButtonFaceColour = 0xFF000000;

// A Windows LOGFONTA as 60 bytes, without windows.h.
struct LogFont {
    static constexpr size_t kSize = 60;
    static constexpr size_t kHeight = 0, kWidth = 4, kEscapement = 8, kOrientation = 12, kWeight = 16;
    static constexpr size_t kItalic = 20, kUnderline = 21, kStrikeOut = 22, kCharSet = 23, kFaceName = 28;
    static constexpr size_t kFaceSize = 32;
    static constexpr uint8_t kGb2312CharSet = 134;

    // A font of the given face (GBK bytes), height and weight, GB2312 charset.
    static Bytes Make(const std::string& face, int32_t height, int32_t weight = 400);
    static int32_t Int(const Bytes& font, size_t offset) { return static_cast<int32_t>(LoadU32(&font[offset])); }
    static std::string Face(const Bytes& font);
};

struct WindowData {
    static constexpr int32_t kVersion = 6;
    int32_t version = kVersion;
    int32_t border = 2;
    int32_t pictureMode = 1;
    uint32_t backColor = kButtonFaceColour;
    int32_t maxButton = 0;
    int32_t minButton = 1;
    int32_t controlBox = 1;
    int32_t position = 1;
    int32_t closable = 1;
    int32_t musicMode = 0;
    int32_t enterMovesFocus = 0;
    int32_t escCloses = 1;
    int32_t f1OpensHelp = 0;
    int32_t helpContext = 0;
    int32_t showInTaskbar = 1;
    int32_t dragToMove = 0;
    int32_t shape = 0;
    int32_t alwaysOnTop = 0;
    int32_t own22 = 0;
    std::string windowClass;
    Bytes picture;
    Bytes icon;
    Bytes music;
    std::string caption;
    std::string helpFile;

    static WindowData Read(const Bytes& data);
    Bytes Write() const;
};

struct ButtonData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t type = 0;
    int32_t hAlign = 1;
    int32_t vAlign = 1;
    Bytes picture;
    Bytes font;
    std::string caption;

    static ButtonData Read(const Bytes& data);
    Bytes Write() const;
};

struct CheckBoxData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t pushLike = 0;
    int32_t flat = 0;
    int32_t textOnLeft = 0;
    int32_t hAlign = 0;
    int32_t vAlign = 1;
    uint32_t textColor = 0;
    uint32_t backColor = kButtonFaceColour;
    int32_t checked = 0;
    Bytes picture;
    Bytes font;
    std::string caption;
    std::string dataSource;
    std::string dataColumn;

    static CheckBoxData Read(const Bytes& data);
    Bytes Write() const;
};

struct LabelData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t effect = 0;          // own 1
    int32_t borderWidth = 5;     // own 3
    int32_t border = 0;          // own 2
    uint32_t borderColor[3] = {kButtonFaceColour, kButtonFaceColour, kButtonFaceColour};  // own 4-6
    uint32_t textColor = 0;      // own 8
    uint32_t backColor = kButtonFaceColour;  // own 9
    int32_t pictureMode = 1;     // own 11
    int32_t gradientMode = 0;    // own 12
    uint32_t gradientColor[3] = {kButtonFaceColour, kButtonFaceColour, kButtonFaceColour};  // own 13-15
    int32_t hAlign = 0;          // own 16
    int32_t vAlign = 0;          // own 18
    int32_t wordWrap = 0;        // own 17
    Bytes font;                  // own 7
    Bytes picture;               // own 10
    std::string caption;         // own 0
    std::string dataSource;      // own 19
    std::string dataColumn;      // own 20

    static LabelData Read(const Bytes& data);
    Bytes Write() const;
};

struct EditBoxData {
    static constexpr int32_t kVersion = 2;
    int32_t version = kVersion;
    int32_t border = 1;
    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    int32_t hideSelection = 1;
    int32_t maxLength = 0;
    int32_t multiLine = 0;
    int32_t scrollBars = 0;
    int32_t alignment = 0;
    int32_t inputMode = 0;
    uint16_t passwordChar = '*';
    int32_t caseConversion = 0;
    int32_t spinMode = 0;
    int32_t spinMin = 0;
    int32_t spinMax = 100;
    int32_t selStart = 0;
    int32_t selLength = 0;
    Bytes font;
    std::string content;
    std::string dataSource;
    std::string dataColumn;

    static EditBoxData Read(const Bytes& data);
    Bytes Write() const;
};

struct ComboBoxData {
    static constexpr int32_t kVersion = 3;
    int32_t version = kVersion;
    int32_t type = 0;             // own 0
    int32_t maxLength = 0;        // own 2
    int32_t selStart = 0;         // own 3
    int32_t selLength = 0;        // own 4
    int32_t autoSort = 0;         // own 6
    int32_t extraItemHeight = 0;  // own 7
    uint32_t textColor = 0;       // own 8
    uint32_t backColor = 0xFFFFFF;  // own 9
    int32_t currentSelection = -1;  // own 11
    Bytes font;                   // own 10
    std::vector<int32_t> itemValues;  // own 13
    std::string content;          // own 1
    std::vector<std::string> items;   // own 12
    std::string dataSource;       // own 14
    std::string dataColumn;       // own 15
    int32_t own16 = 0;

    static ComboBoxData Read(const Bytes& data);
    Bytes Write() const;
};

struct ScrollBarData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t minPosition = 0;
    int32_t maxPosition = 100;
    int32_t pageChange = 10;
    int32_t lineChange = 1;
    int32_t position = 0;
    int32_t dragTracking = 1;

    static ScrollBarData Read(const Bytes& data);
    Bytes Write() const;
};

struct DrawPanelData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t border = 0;
    uint32_t backColor = kButtonFaceColour;
    int32_t pictureMode = 1;
    int32_t autoRedraw = 0;
    int32_t coordinateUnit = 0;
    int32_t penStyle = 1;
    int32_t drawMode = 12;
    int32_t penWidth = 0;
    uint32_t penColor = 0;
    int32_t brushStyle = 1;
    uint32_t brushColor = 0xFFFFFF;
    uint32_t textColor = 0;
    uint32_t textBackColor = kButtonFaceColour;
    Bytes font;
    Bytes backPicture;

    static DrawPanelData Read(const Bytes& data);
    Bytes Write() const;
};

struct ColorPickerData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    uint32_t color = 0;
    int32_t allowTransparent = 0;

    static ColorPickerData Read(const Bytes& data);
    Bytes Write() const;
};

struct CommonDialogData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t dialogType = 0;
    int32_t filterIndex = 0;
    int32_t createPrompt = 0;
    int32_t fileMustExist = 1;
    int32_t overwritePrompt = 1;
    int32_t pathMustExist = 1;
    int32_t keepCurrentDir = 0;
    uint32_t fontColor = 0;
    int32_t fontBold = 0;
    int32_t fontItalic = 0;
    int32_t fontStrikeout = 0;
    int32_t fontUnderline = 0;
    int32_t fontSize = 0;
    int32_t helpCommand = 0;
    int32_t helpContext = 0;
    std::string title;
    std::string fileName;
    std::string filter;
    std::string initialDir;
    std::string defaultExt;
    std::string fontName;
    std::string helpFile;

    static CommonDialogData Read(const Bytes& data);
    Bytes Write() const;
};

struct TransLabelData {
    static constexpr int32_t kVersion = 1;
    int32_t version = kVersion;
    int32_t effect = 0;
    uint32_t textColor = 0;
    int32_t alignment = 0;
    int32_t vAlign = 1;
    int32_t wordWrap = 0;
    Bytes font;
    std::string caption = "透明标签";

    static TransLabelData Read(const Bytes& data);
    Bytes Write() const;
};

}  // namespace qy
