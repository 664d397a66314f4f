// The common-dialog unit on a live window: its properties and clamping, and
// OpenDialog called through the command frame with the system's dialogs
// answered by the test as a user would.
#include <windows.h>

#include <cstring>
#include <string>

#include "commands/command_table.h"
#include "gtest/gtest.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/unit_window.h"
#include "units/common_dialog/common_dialog.h"
#include "units/common_dialog/common_dialog_data.h"

using namespace qytest;

namespace {
constexpr uint32_t kDialog = 0x16030001;
constexpr uint32_t kCommonDialogRef = 0x1001F;

// Controls of the system dialogs (the ids of the common-dialog templates).
constexpr int kFileTypeCombo = 0x470, kFileNameCombo = 0x47C, kFileNameEdit = 0x480;
constexpr int kFontFaceCombo = 0x470, kFontStyleCombo = 0x471, kFontSizeCombo = 0x472, kFontColourCombo = 0x473;

std::string TempDirectory() {
    char path[MAX_PATH] = {};
    DWORD n = GetTempPathA(sizeof path, path);
    std::string dir(path, n);
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir;
}

// The file-name field of a file dialog: an edit box or the edit inside a combo box.
HWND FileNameField(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, kFileNameEdit)) return edit;
    HWND combo = GetDlgItem(dialog, kFileNameCombo);
    HWND inner = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
    return inner ? inner : combo;
}

std::string ComboText(HWND combo, int index) {
    char text[256] = {};
    int length = static_cast<int>(SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
    if (length <= 0 || length >= static_cast<int>(sizeof text)) return std::string();
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

class CommonDialogUnit : public ::testing::Test {
protected:
    void SetUp() override { Install(qy::CommonDialogData().Write()); }
    void TearDown() override { qy::Windows().Clear(); }

    void Install(const qy::Bytes& data) {
        InstallUnitWindow({MakeTestUnit(kDialog, kCommonDialogRef, 10, 10, 26, 26, data, 0)},
                          reinterpret_cast<uintptr_t>(&PumpMessages));
    }

    bool OpenDialog() {
        const void* entry = reinterpret_cast<const void*>(qy::CoreCommandEntry(qy::CoreCommand::OpenDialog));
        qy::ValueRecord unit{kUnitWindow, kDialog, kCommonDialogRef};
        qy::ValueRecord result = program::CallCore(entry, {unit});
        return result.low != 0;
    }
};
}  // namespace

TEST_F(CommonDialogUnit, IsAnInvisibleWindowOfItsOwnClass) {
    ASSERT_TRUE(LoadUnitWindow());
    HWND hwnd = UnitHandle(kDialog);
    ASSERT_NE(hwnd, nullptr);
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    EXPECT_STREQ(name, "_QY_CommonDlg");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
}

TEST_F(CommonDialogUnit, TemplateDefaultsAndStoredValuesAreRead) {
    qy::CommonDialogData d;
    d.dialogType = 2;
    d.fontSize = 14;
    d.fontName = "黑体";
    d.filter = "所有文件|*.*";
    Install(d.Write());
    ASSERT_TRUE(LoadUnitWindow());
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kDialogType)), 2u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontSize)), 14u);
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kFontName)), "黑体");
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kFilter)), "所有文件|*.*");
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFileMustExist)), 1u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kOverwritePrompt)), 1u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kPathMustExist)), 1u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kCreatePrompt)), 0u);
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kTitle)), "");
}

TEST_F(CommonDialogUnit, WritesAreClampedAsThePropertiesSay) {
    ASSERT_TRUE(LoadUnitWindow());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), 7);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kDialogType)), 3u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), static_cast<uint32_t>(-2));
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kDialogType)), 0u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kHelpCommand), 9);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kHelpCommand)), 5u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFilterIndex), static_cast<uint32_t>(-3));
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFilterIndex)), 0u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontSize), static_cast<uint32_t>(-12));
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontSize)), 0u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kHelpContext), static_cast<uint32_t>(-12));
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kHelpContext)), static_cast<uint32_t>(-12));
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontItalic), 5);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontItalic)), 1u);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontColor), 0x123456);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontColor)), 0x123456u);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kInitialDir), "C:\\目录");
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kInitialDir)), "C:\\目录");
}

TEST_F(CommonDialogUnit, AnUnknownTemplateVersionFailsTheWindowLoad) {
    qy::CommonDialogData d;
    d.version = 2;
    Install(d.Write());
    EXPECT_FALSE(LoadUnitWindow());
}

TEST(DialogFilter, AddsTheMissingEndAndKeepsBarsInsideDoubleByteCharacters) {
    using qy::DialogFilter;
    EXPECT_EQ(DialogFilter("文本|*.txt"), std::string("文本\0*.txt\0\0", 12));
    EXPECT_EQ(DialogFilter("A|*.a||  \t"), std::string("A\0*.a\0\0", 7));
    EXPECT_EQ(DialogFilter("A|*.a|"), std::string("A\0*.a\0\0\0", 8));
    EXPECT_EQ(DialogFilter("   "), "");
    // 0x7C is the trail byte of this double-byte character and is no separator.
    std::string trail = "\x81\x7C|*.x";
    EXPECT_EQ(DialogFilter(trail), std::string("\x81\x7C\0*.x\0\0", 8));
}

TEST_F(CommonDialogUnit, AFilterWithoutTheEndMarkShowsASingleEntry) {
    ASSERT_TRUE(LoadUnitWindow());
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFilter), "文本|*.txt");
    std::vector<std::string> entries;
    DialogDriver driver([&](HWND dialog) {
        HWND types = GetDlgItem(dialog, kFileTypeCombo);
        int n = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) entries.push_back(ComboText(types, i));
        DialogDriver::Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(OpenDialog());
    EXPECT_EQ(driver.answered(), 1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], "文本");
}

TEST_F(CommonDialogUnit, FilterIndexOneSelectsTheSecondPairAndTheTitleIsShown) {
    ASSERT_TRUE(LoadUnitWindow());
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFilter), "文本|*.txt|图片|*.bmp|所有文件|*.*");
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFilterIndex), 1);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kTitle), "选择图片");
    int selected = -1;
    std::string selectedText, title;
    DialogDriver driver([&](HWND dialog) {
        HWND types = GetDlgItem(dialog, kFileTypeCombo);
        selected = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
        selectedText = ComboText(types, selected);
        title = DialogDriver::Text(dialog);
        DialogDriver::Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(OpenDialog());
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(selectedText, "图片");
    EXPECT_EQ(title, "选择图片");
}

TEST_F(CommonDialogUnit, CancelKeepsTheFileNameAndOkStoresTheFullPath) {
    ASSERT_TRUE(LoadUnitWindow());
    std::string dir = TempDirectory();
    std::string path = dir + "\\qy_dialog_pick.txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    WriteText(kDialog, OwnIndex(qy::common_dialog::kFileName), "保留.txt");
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFilter), "所有文件|*.*");
    {
        std::string initial;
        DialogDriver driver([&](HWND dialog) {
            initial = DialogDriver::Text(FileNameField(dialog));
            DialogDriver::Press(dialog, IDCANCEL);
        });
        EXPECT_FALSE(OpenDialog());
        EXPECT_EQ(driver.answered(), 1);
        EXPECT_EQ(initial, "保留.txt");
    }
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kFileName)), "保留.txt");

    WriteText(kDialog, OwnIndex(qy::common_dialog::kInitialDir), dir);
    {
        DialogDriver driver([&](HWND dialog) {
            SetWindowTextA(FileNameField(dialog), "qy_dialog_pick.txt");
            DialogDriver::Press(dialog, IDOK);
        });
        EXPECT_TRUE(OpenDialog());
        EXPECT_EQ(driver.abandoned(), 0);
    }
    EXPECT_EQ(lstrcmpiA(ReadText(kDialog, OwnIndex(qy::common_dialog::kFileName)).c_str(), path.c_str()), 0) << ReadText(kDialog, OwnIndex(qy::common_dialog::kFileName));
    DeleteFileA(path.c_str());
}

TEST_F(CommonDialogUnit, SaveDialogAppendsTheDefaultExtension) {
    ASSERT_TRUE(LoadUnitWindow());
    std::string dir = TempDirectory();
    DeleteFileA((dir + "\\qy_new_picture.txt").c_str());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), 1);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kDefaultExt), "txt");
    WriteText(kDialog, OwnIndex(qy::common_dialog::kInitialDir), dir);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kTitle), "保存为");
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFilter), "文本|*.txt");
    std::string title;
    DialogDriver driver([&](HWND dialog) {
        title = DialogDriver::Text(dialog);
        SetWindowTextA(FileNameField(dialog), "qy_new_picture");
        DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_TRUE(OpenDialog());
    EXPECT_EQ(title, "保存为");
    EXPECT_EQ(lstrcmpiA(ReadText(kDialog, OwnIndex(qy::common_dialog::kFileName)).c_str(), (dir + "\\qy_new_picture.txt").c_str()), 0)
        << ReadText(kDialog, OwnIndex(qy::common_dialog::kFileName));
}

TEST_F(CommonDialogUnit, FontDialogStoresTwelvePointBoldAndItsColour) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the sizes below assume a 96 pixels-per-inch screen";

    ASSERT_TRUE(LoadUnitWindow());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), 2);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontSize), 9);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontBold), 0);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontColor), 0);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFontName), "文泉驿正黑");  // the project's CJK font
    std::string face, startSize;
    bool chose = false;
    DialogDriver driver([&](HWND dialog) {
        startSize = DialogDriver::Text(GetDlgItem(dialog, kFontSizeCombo));
        face = DialogDriver::Text(GetDlgItem(dialog, kFontFaceCombo));
        HWND styles = GetDlgItem(dialog, kFontStyleCombo);
        int n = static_cast<int>(SendMessageA(styles, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            LRESULT data = SendMessageA(styles, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
            if (LOWORD(data) >= FW_BOLD && HIWORD(data) == 0) {
                DialogDriver::Choose(dialog, kFontStyleCombo, i);
                chose = true;
                break;
            }
        }
        HWND sizes = GetDlgItem(dialog, kFontSizeCombo);
        int twelve = static_cast<int>(SendMessageA(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>("12")));
        if (twelve >= 0) {
            DialogDriver::Choose(dialog, kFontSizeCombo, twelve);
        } else {
            SetWindowTextA(sizes, "12");
        }
        HWND colours = GetDlgItem(dialog, kFontColourCombo);
        int m = static_cast<int>(SendMessageA(colours, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < m; ++i)
            if (SendMessageA(colours, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == 0x0000FF)
                DialogDriver::Choose(dialog, kFontColourCombo, i);
        DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_TRUE(OpenDialog());
    EXPECT_EQ(driver.abandoned(), 0);
    EXPECT_EQ(face, "文泉驿正黑");
    EXPECT_EQ(startSize, "9");
    ASSERT_TRUE(chose) << "the face offers no bold style";
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontSize)), 12u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontBold)), 1u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontItalic)), 0u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontColor)), 0x0000FFu);
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kFontName)), "文泉驿正黑");
}

TEST_F(CommonDialogUnit, CancelledFontDialogChangesNothing) {
    ASSERT_TRUE(LoadUnitWindow());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), 2);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontSize), 20);
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kFontUnderline), 1);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kFontName), "没有这个字体");
    DialogDriver driver([&](HWND dialog) { DialogDriver::Press(dialog, IDCANCEL); });
    EXPECT_FALSE(OpenDialog());
    EXPECT_EQ(driver.answered(), 1);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontSize)), 20u);
    EXPECT_EQ(ReadInt(kDialog, OwnIndex(qy::common_dialog::kFontUnderline)), 1u);
    EXPECT_EQ(ReadText(kDialog, OwnIndex(qy::common_dialog::kFontName)), "没有这个字体");
}

TEST_F(CommonDialogUnit, HelpNeedsAnExistingFileExceptToCloseOrExplainHelp) {
    ASSERT_TRUE(LoadUnitWindow());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kDialogType), 3);
    WriteText(kDialog, OwnIndex(qy::common_dialog::kHelpFile), "C:\\没有\\帮助.hlp");
    EXPECT_FALSE(OpenDialog());
    // The default is the program's own path with "hlp", which the test program does not have.
    WriteText(kDialog, OwnIndex(qy::common_dialog::kHelpFile), "");
    EXPECT_FALSE(OpenDialog());
    WriteInt(kDialog, OwnIndex(qy::common_dialog::kHelpCommand), 5);
    EXPECT_TRUE(OpenDialog());
}
