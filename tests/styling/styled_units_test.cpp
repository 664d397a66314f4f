// Our own units built on standard controls, styled as the program runs
// them: a check box painted in its unit's colours and an edit box whose
// spin control still steps under the real mouse.
#include <windows.h>

#include <string>

#include "gtest/gtest.h"
#include "runtime/win32_handles.h"
#include "styling/control_style.h"
#include "styling/styled_controls.h"
#include "tests/styling/real_mouse.h"
#include "tests/support/unit_window.h"
#include "units/button/button_data.h"
#include "units/edit_box/edit_box.h"
#include "units/edit_box/edit_box_data.h"

using namespace qy;
using namespace qytest;
using styletest::Mouse;

namespace {
constexpr uint32_t kCheck = 0x16030001, kSpinEdit = 0x16030002;
constexpr uint32_t kCheckBoxType = 0x1000C, kEditType = 0x10005;
constexpr COLORREF kUnitBack = RGB(255, 200, 0), kUnitText = RGB(0, 0, 255);

bool Shows(HWND window, const RECT& area, COLORREF colour) {
    WindowDc dc(window);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if ((GetPixel(dc.get(), x, y) & 0xFFFFFF) == colour) return true;
    return false;
}

class StyledUnits : public ::testing::Test {
protected:
    void TearDown() override {
        Windows().Clear();
        styling::SetControlStyle(0);
    }
};

TEST_F(StyledUnits, CheckBoxesKeepTheirUnitColoursAndSpinControlsStillStep) {
    // Styled before the window exists, as the program's later windows are.
    ASSERT_EQ(styling::SetControlStyle(1), 1);
    CheckBoxData check;
    check.caption = "选择框";
    check.backColor = kUnitBack;
    check.textColor = kUnitText;
    EditBoxData spin;
    spin.content = "5";
    spin.spinMode = 1;
    spin.spinMin = 0;
    spin.spinMax = 1000;  // held down long, the spin repeats: no wrapping round to a low number
    TestWindow window;
    window.at = RECT{680, 560, 1000, 760};
    InstallUnitWindow({MakeTestUnit(kCheck, kCheckBoxType, 10, 10, 150, 20, check.Write()),
                       MakeTestUnit(kSpinEdit, kEditType, 10, 40, 80, 24, spin.Write(), kStateVisible | kStateTabStop)},
                      0, window);
    ASSERT_TRUE(LoadUnitWindow());
    HWND main = UnitHandle(0), box = UnitHandle(kCheck), edit = UnitHandle(kSpinEdit);
    HWND spinner = GetDlgItem(main, GetDlgCtrlID(edit) + 4);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(main);
    SettledRect(main);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // A spin control does not come up with a window that loads its edit box
    // visible; showing the box again brings it.
    WriteInt(kSpinEdit, kPropertyVisible, 0);
    WriteInt(kSpinEdit, kPropertyVisible, 1);
    SettleMessages();

    ASSERT_TRUE(IsWindowVisible(spinner));
    ASSERT_TRUE(styling::IsStyled(box));
    ASSERT_TRUE(styling::IsStyled(edit));
    ASSERT_TRUE(styling::IsStyled(spinner));
    qy::WindowDc boxDc(box);
    EXPECT_EQ(GetPixel(boxDc.get(), 145, 2) & 0xFFFFFF, kUnitBack) << "the unit's background behind the box";
    EXPECT_EQ(GetPixel(boxDc.get(), 0, 9) & 0xFFFFFF, 0x845118u) << "the styled box";
    EXPECT_TRUE(Shows(box, RECT{16, 0, 150, 20}, kUnitText)) << "the caption in the unit's text colour";

    RECT r;
    GetWindowRect(spinner, &r);
    POINT upper{(r.left + r.right) / 2, r.top + 3};
    Mouse(upper, 0);
    Mouse(upper, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return (styling::StyledState(spinner) & styling::kPressed) != 0; }))
        << "the pressed half shows";
    Mouse(upper, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return (styling::StyledState(spinner) & styling::kPressed) == 0; }));
    SettleMessages();
    EXPECT_GT(std::stoi(ReadText(kSpinEdit, OwnIndex(edit_box::kContent))), 5) << "the click stepped the content up";
    EXPECT_TRUE(styling::StyledState(spinner) & styling::kFirstHalf);
}

}  // namespace
