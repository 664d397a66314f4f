// The common-dialog unit: its window, its 22 properties over the own-data
// block, and the dialogs OpenDialog shows.
#include "units/common_dialog/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/command_args.h"
#include "runtime/gbk.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "window/own_data.h"
#include "units/common_dialog/common_dialog_data.h"
#include "window/window_list.h"
#include "window/window_unit.h"

namespace qy {

namespace {
const char kCommonDialogClass[] = "_QY_CommonDlg";

enum DialogType { kOpenFile, kSaveFile, kFontDialog, kHelpFile };

// HelpCommand 0-5 in order: finder, topic, pop-up topic, first window,
// help on help, close the help system.
const UINT kHelpCommands[] = {HELP_FINDER, HELP_CONTEXT, HELP_CONTEXTPOPUP, HELP_FORCEFILE, HELP_HELPONHELP, HELP_QUIT};

const PropertyInfo kCommonDialogProperties[] = {
    {"DialogType", kPropChoice},       {"Title", kPropText},           {"FileName", kPropFileName},
    {"Filter", kPropText},             {"FilterIndex", kPropInt},      {"InitialDir", kPropText},
    {"DefaultExt", kPropText},         {"CreatePrompt", kPropLogical}, {"FileMustExist", kPropLogical},
    {"OverwritePrompt", kPropLogical}, {"PathMustExist", kPropLogical}, {"KeepCurrentDir", kPropLogical},
    {"FontColor", kPropColour},         {"FontBold", kPropLogical},     {"FontItalic", kPropLogical},
    {"FontStrikeout", kPropLogical},   {"FontUnderline", kPropLogical}, {"FontName", kPropText},
    {"FontSize", kPropInt},            {"HelpFile", kPropHelpFile},    {"HelpCommand", kPropChoice},
    {"HelpContext", kPropInt},
};

int ScreenPixelsPerInch() {
    ScreenDc dc;
    int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

bool IsSet(int32_t flag) { return flag == 1; }

// The file named by the program's own path with the extension "hlp".
std::string ProgramHelpFile() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length < sizeof path ? length : 0);
    if (file.empty()) {
        const RuntimeApp& app = Runtime();
        const std::string& name = app.programFileName();
        file = app.programDirectory().empty() ? name : app.programDirectory() + "\\" + name;
    }
    const char* dot = LastGbkByte(file.c_str(), '.');
    const char* slash = LastGbkByte(file.c_str(), '\\');
    if (dot && (!slash || dot > slash)) file.resize(static_cast<size_t>(dot - file.c_str()));
    return file + ".hlp";
}

class CommonDialog : public Unit {
public:
    CommonDialog(const UnitCreation& c, const CommonDialogData& d) : Unit(kCommonDialogType, c.windowId, c.unitId), data_(d) {
        data_.dialogType = std::clamp<int32_t>(data_.dialogType, kOpenFile, kHelpFile);
        data_.filterIndex = std::clamp<int32_t>(data_.filterIndex, 0, INT32_MAX);
        data_.fontSize = std::clamp<int32_t>(data_.fontSize, 0, INT32_MAX);
        data_.helpCommand = std::clamp<int32_t>(data_.helpCommand, 0, 5);
    }

    static Unit* Create(const UnitCreation& c) {
        CommonDialogData d;
        if (!ReadOwnData(c.data, static_cast<size_t>(c.size), &d)) return nullptr;
        if (!RegisterUnitClass(kCommonDialogClass, CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))))
            return nullptr;
        auto* unit = new CommonDialog(c, d);
        if (!CreateUnitWindow(unit, c, 0, kCommonDialogClass, "", 0)) return nullptr;
        return unit;
    }

    int PropertyChanged(int own, const PropertyValue& v) override {
        switch (own) {
            case common_dialog::kDialogType: data_.dialogType = std::clamp<int32_t>(v.i, kOpenFile, kHelpFile); break;
            case common_dialog::kTitle: data_.title = TextOf(v); break;
            case common_dialog::kFileName: data_.fileName = TextOf(v); break;
            case common_dialog::kFilter: data_.filter = TextOf(v); break;
            case common_dialog::kFilterIndex: data_.filterIndex = std::clamp<int32_t>(v.i, 0, INT32_MAX); break;
            case common_dialog::kInitialDir: data_.initialDir = TextOf(v); break;
            case common_dialog::kDefaultExt: data_.defaultExt = TextOf(v); break;
            case common_dialog::kCreatePrompt: data_.createPrompt = v.i; break;
            case common_dialog::kFileMustExist: data_.fileMustExist = v.i; break;
            case common_dialog::kOverwritePrompt: data_.overwritePrompt = v.i; break;
            case common_dialog::kPathMustExist: data_.pathMustExist = v.i; break;
            case common_dialog::kKeepCurrentDir: data_.keepCurrentDir = v.i; break;
            case common_dialog::kFontColor: data_.fontColor = static_cast<uint32_t>(v.i); break;
            case common_dialog::kFontBold: data_.fontBold = v.i; break;
            case common_dialog::kFontItalic: data_.fontItalic = v.i; break;
            case common_dialog::kFontStrikeout: data_.fontStrikeout = v.i; break;
            case common_dialog::kFontUnderline: data_.fontUnderline = v.i; break;
            case common_dialog::kFontName: data_.fontName = TextOf(v); break;
            case common_dialog::kFontSize: data_.fontSize = std::clamp<int32_t>(v.i, 0, INT32_MAX); break;
            case common_dialog::kHelpFile: data_.helpFile = TextOf(v); break;
            case common_dialog::kHelpCommand: data_.helpCommand = std::clamp<int32_t>(v.i, 0, 5); break;
            case common_dialog::kHelpContext: data_.helpContext = v.i; break;
            default: break;
        }
        return kPropertyApplied;
    }

    bool GetProperty(int own, PropertyValue* out) override {
        switch (own) {
            case common_dialog::kDialogType: GiveInt(out, data_.dialogType); return true;
            case common_dialog::kTitle: GiveText(out, data_.title); return true;
            case common_dialog::kFileName: GiveText(out, data_.fileName); return true;
            case common_dialog::kFilter: GiveText(out, data_.filter); return true;
            case common_dialog::kFilterIndex: GiveInt(out, data_.filterIndex); return true;
            case common_dialog::kInitialDir: GiveText(out, data_.initialDir); return true;
            case common_dialog::kDefaultExt: GiveText(out, data_.defaultExt); return true;
            case common_dialog::kCreatePrompt: GiveInt(out, data_.createPrompt); return true;
            case common_dialog::kFileMustExist: GiveInt(out, data_.fileMustExist); return true;
            case common_dialog::kOverwritePrompt: GiveInt(out, data_.overwritePrompt); return true;
            case common_dialog::kPathMustExist: GiveInt(out, data_.pathMustExist); return true;
            case common_dialog::kKeepCurrentDir: GiveInt(out, data_.keepCurrentDir); return true;
            case common_dialog::kFontColor: GiveInt(out, static_cast<int32_t>(data_.fontColor)); return true;
            case common_dialog::kFontBold: GiveInt(out, data_.fontBold); return true;
            case common_dialog::kFontItalic: GiveInt(out, data_.fontItalic); return true;
            case common_dialog::kFontStrikeout: GiveInt(out, data_.fontStrikeout); return true;
            case common_dialog::kFontUnderline: GiveInt(out, data_.fontUnderline); return true;
            case common_dialog::kFontName: GiveText(out, data_.fontName); return true;
            case common_dialog::kFontSize: GiveInt(out, data_.fontSize); return true;
            case common_dialog::kHelpFile: GiveText(out, data_.helpFile); return true;
            case common_dialog::kHelpCommand: GiveInt(out, data_.helpCommand); return true;
            case common_dialog::kHelpContext: GiveInt(out, data_.helpContext); return true;
            default: return false;
        }
    }

    Bytes OwnData() const override { return data_.Write(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                PaintDc validated(hwnd());
                return 0;
            }
            case WM_ERASEBKGND: return 1;
            default: return DefaultProc(message, wParam, lParam);
        }
    }

    // Shows the dialog of the unit's DialogType; true when the user confirmed
    // it or the help file was shown.
    bool Open() {
        switch (data_.dialogType) {
            case kOpenFile:
            case kSaveFile: return OpenFileDialog(data_.dialogType == kSaveFile);
            case kFontDialog: return OpenFontDialog();
            default: return OpenHelp();
        }
    }

private:
    // The top-level window the unit lies on, or null when it has none.
    HWND OwnerWindow() const {
        WindowRecord* record = Windows().FindWindow(windowId());
        WindowUnit* window = record ? Windows().LiveWindow(*record) : nullptr;
        return window && window->hwnd() && IsWindow(window->hwnd()) ? window->hwnd() : nullptr;
    }

    bool OpenFileDialog(bool save) {
        std::string filter = DialogFilter(data_.filter);
        // Room for a long path; a longer initial name is cut to fit.
        std::vector<char> file(32768, '\0');
        std::strncpy(file.data(), data_.fileName.c_str(), file.size() - 1);

        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = OwnerWindow();
        ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        ofn.nFilterIndex = filter.empty() ? 0 : static_cast<DWORD>(data_.filterIndex) + 1;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrTitle = data_.title.empty() ? nullptr : data_.title.c_str();
        ofn.lpstrInitialDir = data_.initialDir.empty() ? nullptr : data_.initialDir.c_str();
        ofn.lpstrDefExt = data_.defaultExt.empty() ? nullptr : data_.defaultExt.c_str();
        ofn.Flags = OFN_HIDEREADONLY;
        if (IsSet(data_.createPrompt)) ofn.Flags |= OFN_CREATEPROMPT;
        if (IsSet(data_.fileMustExist)) ofn.Flags |= OFN_FILEMUSTEXIST;
        if (IsSet(data_.overwritePrompt)) ofn.Flags |= OFN_OVERWRITEPROMPT;
        if (IsSet(data_.pathMustExist)) ofn.Flags |= OFN_PATHMUSTEXIST;
        if (IsSet(data_.keepCurrentDir)) ofn.Flags |= OFN_NOCHANGEDIR;

        BOOL confirmed = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        if (!confirmed) return false;
        data_.fileName = file.data();
        return true;
    }

    bool OpenFontDialog() {
        int dpi = ScreenPixelsPerInch();
        LOGFONTA font{};
        if (IsSet(data_.fontBold)) font.lfWeight = FW_BOLD;
        font.lfItalic = IsSet(data_.fontItalic) ? 1 : 0;
        font.lfStrikeOut = IsSet(data_.fontStrikeout) ? 1 : 0;
        font.lfUnderline = IsSet(data_.fontUnderline) ? 1 : 0;
        std::strncpy(font.lfFaceName, data_.fontName.c_str(), LF_FACESIZE - 1);
        if (data_.fontSize != 0) font.lfHeight = -MulDiv(data_.fontSize, dpi, 72);

        CHOOSEFONTA choose{};
        choose.lStructSize = sizeof choose;
        choose.hwndOwner = OwnerWindow();
        choose.lpLogFont = &font;
        choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
        choose.rgbColors = static_cast<COLORREF>(data_.fontColor);
        if (!ChooseFontA(&choose)) return false;

        data_.fontColor = static_cast<uint32_t>(choose.rgbColors);
        data_.fontBold = font.lfWeight >= FW_BOLD ? 1 : 0;
        data_.fontItalic = font.lfItalic ? 1 : 0;
        data_.fontStrikeout = font.lfStrikeOut ? 1 : 0;
        data_.fontUnderline = font.lfUnderline ? 1 : 0;
        data_.fontName = std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
        data_.fontSize = MulDiv(std::abs(font.lfHeight), 72, dpi);
        return true;
    }

    bool OpenHelp() {
        HWND owner = OwnerWindow();
        if (!owner) return false;
        UINT command = kHelpCommands[std::clamp<int32_t>(data_.helpCommand, 0, 5)];
        if (command == HELP_HELPONHELP || command == HELP_QUIT) {
            WinHelpA(owner, nullptr, command, 0);
            return true;
        }
        std::string file = data_.helpFile.empty() ? ProgramHelpFile() : data_.helpFile;
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
        ULONG_PTR context = static_cast<ULONG_PTR>(data_.helpContext);
        if ((command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) && context == 0) command = HELP_FINDER;
        if (command == HELP_FINDER || command == HELP_FORCEFILE) context = 0;
        WinHelpA(owner, file.c_str(), command, context);
        return true;
    }

    CommonDialogData data_;
};
}  // namespace

std::string DialogFilter(const std::string& filter) {
    size_t end = filter.find_last_not_of(" \t\r\n\v\f");
    std::string text = end == std::string::npos ? std::string() : filter.substr(0, end + 1);
    if (text.empty()) return text;
    // Walk by characters so that a "|" inside a double-byte character is kept.
    int barsAtEnd = 0;
    for (size_t i = 0; i < text.size();) {
        int length = GbkCharLength(text.c_str() + i);
        if (length == 1 && text[i] == '|') {
            text[i] = '\0';
            ++barsAtEnd;
        } else {
            barsAtEnd = 0;
        }
        i += static_cast<size_t>(length);
    }
    if (barsAtEnd < 2) text.append(2, '\0');
    return text;
}

const UnitTypeInfo kCommonDialogType = MakeUnitType("通用对话框", "CommonDlg", kTypeMayRaiseEvents | kTypeNeverShownAtLoad,
                                                    kCommonDialogProperties, &CommonDialog::Create);

namespace commands {

// OpenDialog (unit reference) -> logical.
void __cdecl OpenDialog(ValueRecord* result, int count, ValueRecord* args) {
    if (count < 1 || !args) return;
    Unit* unit = Windows().FindUnitObject(args[0].low, args[0].high, true);
    if (!unit || &unit->type() != &kCommonDialogType) return;
    result->low = static_cast<CommonDialog*>(unit)->Open() ? 1 : 0;
}

}  // namespace commands
}  // namespace qy
