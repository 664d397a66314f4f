// The program's own main window, loaded once per test program with the
// application's handlers bound, and reset to its defaults before each test.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/composer.h"
#include "app/handlers.h"
#include "app/program.h"
#include "gtest/gtest.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/pump.h"
#include "tests/media/picture/test_pictures.h"

namespace apptest {

using namespace program;

// The picture's number in the window's registry, loaded from a BMP of it.
inline int32_t LoadTestPicture(const pictest::Image& image) {
    pictest::Bytes bmp = pictest::EncodeBmp(image, 24, false);
    std::vector<uint8_t> block(8 + bmp.size());
    int32_t header[2] = {1, static_cast<int32_t>(bmp.size())};
    memcpy(block.data(), header, 8);
    memcpy(block.data() + 8, bmp.data(), bmp.size());
    return Command(CoreCommand::LoadPicture, {ByteSetValue(block.data())}).Int();
}

// The window as it paints itself, frame included (Wine leaves the frame of a
// managed window to the window manager, so the screen cannot show it here):
// the caption row a few pixels below the window's top edge, as printed.
inline COLORREF CaptionColour(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    int caption = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    return qytest::PrintedPixel(window, (r.right - r.left) / 3, caption);
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool loaded = false;
        if (loaded) return;
        loaded = true;
        // A running instance would make the guard end this program quietly.
        HANDLE other = OpenEventA(EVENT_ALL_ACCESS, FALSE, K.instanceEventName);
        if (other) CloseHandle(other);
        ASSERT_EQ(other, nullptr) << "another instance of the program is running";
        StartProgram();
        qytest::PumpMessages();
    }
    void SetUp() override {
        OnDefaultsClicked(nullptr);
        SetContent(W::编辑框1, "");
        qytest::PumpMessages();
    }

    static HWND Handle(const UnitRef& unit) {
        return reinterpret_cast<HWND>(static_cast<uintptr_t>(
            Command(CoreCommand::GetWindowHandle, {UnitValue(unit)}).Int()));
    }
    // The display's lines without their CR LF; the last line must end in one.
    static std::vector<std::string> DisplayLines() {
        std::string text = Content(W::编辑框1);
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(start, text.size()) << "text after the last line end";
        return lines;
    }
    static void SwitchToPictureMode() {
        if (CurrentMode() != Mode::kPicture) OnModeClicked(nullptr);
        ASSERT_EQ(CurrentMode(), Mode::kPicture);
    }
    // Fill-text source with one-byte fill and blank texts, so each cell is one byte.
    static void UseMarks(const char* ink = "#", const char* paper = ".") {
        SetSelection(W::别字本字, 0);
        SetTicked(W::补齐, false);
        SetContent(W::编辑框3, ink);
        SetContent(W::编辑框4, paper);
    }
};

}  // namespace apptest
