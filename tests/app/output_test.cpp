// How a text picture leaves the program: the export file, the clipboard and
// pasting, and the main window as the created event leaves it.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>

#include "tests/app/main_window_fixture.h"

namespace apptest {
namespace {

std::string FileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Ends the Notepads this process started, leaving everyone else's alone;
// how many there were.
int EndOwnNotepads() {
    int ended = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() || lstrcmpiA(entry.szExeFile, "notepad.exe") != 0)
            continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (!process) continue;
        if (TerminateProcess(process, 0)) ++ended;
        WaitForSingleObject(process, qytest::kPatienceMs);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

TEST_F(MainWindowTest, TheExportFileHoldsExactlyTheDisplaysBytesAndIsReplaced) {
    char folder[MAX_PATH], previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    GetTempPathA(MAX_PATH, folder);
    ASSERT_TRUE(SetCurrentDirectoryA(folder));
    GenerateTextArt();
    std::string first = Content(W::编辑框1);
    ASSERT_NE(first.find("\r\n"), std::string::npos);
    OnNotepadClicked(nullptr);
    EXPECT_EQ(FileBytes("砌字成图"), first);

    SetContent(W::编辑框1, "短\r\n");
    OnNotepadClicked(nullptr);
    EXPECT_EQ(FileBytes("砌字成图"), "短\r\n");

    // Clearing touches neither the file nor the clipboard.
    Command(CoreCommand::SetClipboardText, {TextValue("kept")});
    OnClearClicked(nullptr);
    EXPECT_EQ(Content(W::编辑框1), "");
    EXPECT_EQ(FileBytes("砌字成图"), "短\r\n");
    EXPECT_EQ(Command(CoreCommand::GetClipboardText, {}).Text(), "kept");
    DeleteFileA("砌字成图");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(EndOwnNotepads(), 2) << "the two saves did not start a Notepad each";
}

TEST_F(MainWindowTest, CopyAndPasteGoThroughTheClipboard) {
    SetContent(W::编辑框1, "一\r\n");
    OnCopyClicked(nullptr);
    EXPECT_EQ(Command(CoreCommand::GetClipboardText, {}).Text(), "一\r\n");

    Command(CoreCommand::SetClipboardText, {TextValue("T")});
    OnDisplayDoubleClicked(nullptr);
    OnDisplayDoubleClicked(nullptr);
    EXPECT_EQ(Content(W::编辑框1), "一\r\nTT");

    // With 复制1 ticked every composition lands on the clipboard.
    SetTicked(W::复制1, true);
    GenerateTextArt();
    EXPECT_EQ(Command(CoreCommand::GetClipboardText, {}).Text(), Content(W::编辑框1));
}

TEST_F(MainWindowTest, TheCreatedEventSetsUpTheWindow) {
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::窗口, Own(qy::window::kBackColor))), 0xFFD2C8u);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::编辑框2, Own(qy::edit_box::kBackColor))), 0xFFD2C8u);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt(W::说明5, Own(qy::check_box::kBackColor))), 0xFFD2C8u);
    EXPECT_EQ(ReadInt(W::画板1, qy::kPropertyLeft), 8);
    EXPECT_EQ(ReadInt(W::编辑框1, qy::kPropertyTop), 238);
    EXPECT_EQ(ReadInt(W::编辑框3, qy::kPropertyLeft), ReadInt(W::复制1, qy::kPropertyLeft));
    EXPECT_EQ(ReadText(W::通框图片, Own(qy::common_dialog::kInitialDir)), "C:\\Users\\Administrator\\Desktop");
    // The instance guard's event exists while the window does.
    HANDLE guard = OpenEventA(EVENT_ALL_ACCESS, FALSE, K.instanceEventName);
    EXPECT_NE(guard, nullptr);
    if (guard) CloseHandle(guard);
    int32_t width = Method(W::画板1, CoreCommand::PictureWidth, {IntValue(currentPicture)}).Int();
    int32_t height = Method(W::画板1, CoreCommand::PictureHeight, {IntValue(currentPicture)}).Int();
    EXPECT_EQ(width, 758);
    EXPECT_EQ(height, 816);
}

}  // namespace
}  // namespace apptest
