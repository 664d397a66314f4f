// The main window's layout on the screens people have: maximised in a
// virtual desktop of each size, the version label shares no pixel with
// another visible unit. Runs after the session of app_e2e_test.cpp has
// closed its program, since a second instance would end at once.
#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "tests/app/e2e/desktop.h"

namespace {
using namespace e2e;

const char kVersion[] = "砌字成图1.4版";  // the main window's caption, and how the label begins

BOOL CALLBACK FindMainWindow(HWND w, LPARAM found) {
    if (IsWindowVisible(w) && TextOf(w) == kVersion) *reinterpret_cast<HWND*>(found) = w;
    return TRUE;
}

// The program's main window, started in a new virtual desktop of that size.
HWND StartInDesktop(const std::string& desktop, int width, int height) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string exe = path;
    exe = exe.substr(0, exe.rfind('\\') + 1) + "砌字成图.exe";
    GetTempPathA(sizeof path, path);
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    Start("explorer.exe /desktop=" + desktop + "," + size + " \"" + exe + "\"", path);
    HDESK handle = nullptr;
    HWND main = nullptr;
    WaitUntil([&] {
        if (!handle) handle = OpenDesktopA(desktop.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
        if (handle) EnumDesktopWindows(handle, &FindMainWindow, reinterpret_cast<LPARAM>(&main));
        return main != nullptr;
    });
    if (handle) CloseDesktop(handle);
    return main;
}

// The visible units of the window whose rectangles meet the unit's, by class
// and caption; empty when the unit is hidden.
std::string UnitsMeeting(HWND window, HWND unit) {
    RECT mine{}, theirs{}, common{};
    GetWindowRect(unit, &mine);
    std::string met;
    if (!IsWindowVisible(unit)) return met;
    for (HWND other = GetWindow(window, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other == unit || !IsWindowVisible(other) || !GetWindowRect(other, &theirs)) continue;
        if (IntersectRect(&common, &mine, &theirs)) met += " " + ClassOf(other) + " [" + TextOf(other) + "]";
    }
    return met;
}

TEST(Layout, TheVersionLabelMeetsNoOtherUnitOnScreens1280And1024Wide) {
    for (SIZE screen : {SIZE{1280, 1024}, SIZE{1024, 768}}) {
        std::string desktop = "qy_layout_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(screen.cx);
        HWND main = StartInDesktop(desktop, screen.cx, screen.cy);
        ASSERT_TRUE(main) << "no main window in a " << screen.cx << "x" << screen.cy << " desktop";
        RECT window{};
        auto maximised = [&] { return IsZoomed(main) && GetWindowRect(main, &window) && window.right >= screen.cx; };
        EXPECT_TRUE(WaitUntil(maximised)) << "not maximised on the " << screen.cx << " pixel screen";
        std::vector<HWND> labels = Children(main, [](HWND w) { return TextOf(w).rfind(kVersion, 0) == 0; });
        ASSERT_EQ(1u, labels.size()) << "no single version label";
        std::string met;
        EXPECT_TRUE(WaitUntil([&] { return (met = UnitsMeeting(main, labels.front())).empty(); }, kSettleMs))
            << "on the " << screen.cx << " pixel screen the version label meets" << met;
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(main); })) << "the program did not close";
    }
}

}  // namespace
