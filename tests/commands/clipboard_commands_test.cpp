// The text clipboard through the command frame.
#include <windows.h>

#include "gtest/gtest.h"
#include "runtime/runtime_app.h"
#include "tests/commands/command_call.h"

using namespace qytest;

namespace {
bool SetText(const std::string& text) {
    Owned holder;
    return Call(CoreCommand::SetClipboardText, {Text(text, holder)}).low != 0;
}
std::string GetText(bool* isNull = nullptr) { return TakeText(Call(CoreCommand::GetClipboardText, {}), isNull); }

// The clipboard as another program sees it: whether CF_TEXT is there, and its bytes.
bool RawText(std::string* text) {
    if (!OpenClipboard(nullptr)) return false;
    bool present = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            *text = bytes;
            present = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return present;
}

// Another thread that keeps the clipboard open for a window of its own
// until released.
struct ClipboardHolder {
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
};
DWORD WINAPI HoldClipboard(void* parameter) {
    auto* holder = static_cast<ClipboardHolder*>(parameter);
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    holder->held = OpenClipboard(window) != FALSE;
    SetEvent(holder->opened);
    WaitForSingleObject(holder->release, 10000);
    if (holder->held) CloseClipboard();
    DestroyWindow(window);
    return 0;
}
}  // namespace

TEST(Clipboard, TextGoesOutAndComesBackAsGbk) {
    ASSERT_TRUE(SetText("我爱你 abc"));
    ASSERT_NE(qy::Runtime().hiddenOwnerHandle(), nullptr);
    EXPECT_EQ(GetClipboardOwner(), qy::Runtime().hiddenOwnerHandle()) << "an ownerless clipboard refuses data on Windows";
    std::string raw;
    ASSERT_TRUE(RawText(&raw));
    EXPECT_EQ("我爱你 abc", raw);
    EXPECT_EQ("我爱你 abc", GetText());
}

TEST(Clipboard, AnEmptyTextLeavesAnEmptyTextOnTheClipboard) {
    ASSERT_TRUE(SetText("something"));
    ASSERT_TRUE(SetText(""));
    std::string raw = "unchanged";
    ASSERT_TRUE(RawText(&raw)) << "CF_TEXT must be there";
    EXPECT_EQ("", raw);
    bool isNull = false;
    EXPECT_EQ("", GetText(&isNull));
    EXPECT_TRUE(isNull) << "the empty text is the null address";
}

TEST(Clipboard, NoTextOnTheClipboardGivesTheEmptyText) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    UINT custom = RegisterClipboardFormatA("QyNotText");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    if (!SetClipboardData(custom, block)) GlobalFree(block);
    CloseClipboard();
    bool isNull = false;
    EXPECT_EQ("", GetText(&isNull));
    EXPECT_TRUE(isNull);
}

TEST(Clipboard, AClipboardHeldByAnotherThreadFailsQuietly) {
    ASSERT_TRUE(SetText("before"));
    ClipboardHolder holder;
    HANDLE thread = CreateThread(nullptr, 0, &HoldClipboard, &holder, 0, nullptr);
    WaitForSingleObject(holder.opened, 10000);
    ASSERT_TRUE(holder.held);
    EXPECT_FALSE(SetText("after"));
    bool isNull = false;
    EXPECT_EQ("", GetText(&isNull));
    EXPECT_TRUE(isNull);
    SetEvent(holder.release);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(holder.opened);
    CloseHandle(holder.release);
    EXPECT_EQ("before", GetText()) << "a failed set must not have emptied the clipboard";
}
