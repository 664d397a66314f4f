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
#include "window/property_table.h"
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

    // The dialog's own properties, in the order of common_dialog::Property:
    // all of them only kept until the dialog is shown.
    static const auto& Properties() {
        using C = CommonDialog;
        using D = CommonDialogData;
        constexpr auto kData = &C::data_;
        static constexpr PropertyRow<C> kRows[] = {
            NumberField<C, kData, &D::dialogType, kOpenFile, kHelpFile>("DialogType", kPropChoice),
            TextField<C, kData, &D::title>("Title", kPropText),
            TextField<C, kData, &D::fileName>("FileName", kPropFileName),
            TextField<C, kData, &D::filter>("Filter", kPropText),
            NumberField<C, kData, &D::filterIndex, 0>("FilterIndex", kPropInt),
            TextField<C, kData, &D::initialDir>("InitialDir", kPropText),
            TextField<C, kData, &D::defaultExt>("DefaultExt", kPropText),
            NumberField<C, kData, &D::createPrompt>("CreatePrompt", kPropLogical),
            NumberField<C, kData, &D::fileMustExist>("FileMustExist", kPropLogical),
            NumberField<C, kData, &D::overwritePrompt>("OverwritePrompt", kPropLogical),
            NumberField<C, kData, &D::pathMustExist>("PathMustExist", kPropLogical),
            NumberField<C, kData, &D::keepCurrentDir>("KeepCurrentDir", kPropLogical),
            NumberField<C, kData, &D::fontColor>("FontColor", kPropColour),
            NumberField<C, kData, &D::fontBold>("FontBold", kPropLogical),
            NumberField<C, kData, &D::fontItalic>("FontItalic", kPropLogical),
            NumberField<C, kData, &D::fontStrikeout>("FontStrikeout", kPropLogical),
            NumberField<C, kData, &D::fontUnderline>("FontUnderline", kPropLogical),
            TextField<C, kData, &D::fontName>("FontName", kPropText),
            NumberField<C, kData, &D::fontSize, 0>("FontSize", kPropInt),
            TextField<C, kData, &D::helpFile>("HelpFile", kPropHelpFile),
            NumberField<C, kData, &D::helpCommand, 0, 5>("HelpCommand", kPropChoice),
            NumberField<C, kData, &D::helpContext>("HelpContext", kPropInt),
        };
        static constexpr auto kTable = MakePropertyTable(kRows);
        return kTable;
    }

    int PropertyChanged(int own, const PropertyValue& v) override { return Properties().Write(*this, own, v); }
    bool GetProperty(int own, PropertyValue* out) override { return Properties().Read(*this, own, out); }

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
                                                    CommonDialog::Properties(), &CommonDialog::Create);

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
