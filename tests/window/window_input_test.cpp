// The window's own handling of keys and the mouse for its units: Alt
// mnemonics, arrow keys in a radio group, Enter and the default button, F1
// and dragging the window by a label.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/libraries.h"
#include "gtest/gtest.h"
#include "tests/support/unit_window.h"
#include "units/button/button_data.h"
#include "units/label/label_data.h"
#include "window/own_data.h"
#include "window/unit.h"

using namespace qy;
using qytest::MakeTestUnit;
using qytest::UnitHandle;

namespace {
// Records the unit that raised an event; answers nothing.
std::vector<uint32_t> raised;
extern "C" void __cdecl InputEventSeen() { raised.push_back(Windows().eventUnit); }
extern "C" void InputHandler();
__asm__(".text\n_InputHandler:\n  call _InputEventSeen\n  xor %ecx, %ecx\n  ret\n");

constexpr uint32_t kLabelType = 0x1000A, kButtonType = 0x1000B, kCheckType = 0x1000C, kRadioType = 0x1000D;
constexpr uint32_t kFirst = 0x16030001, kLabel = 0x16030002, kAfterLabel = 0x16030003, kCheck = 0x16030004,
                   kDefault = 0x16030005, kRadio1 = 0x16030006, kRadio2 = 0x16030007, kRadio3 = 0x16030008;
constexpr uint32_t kTabStop = kStateVisible | kStateTabStop;

// A radio button unit: the program has none, so the tests enter one under
// the core library's free type number 13.
class TestRadio : public Unit {
public:
    using Unit::Unit;
    static Unit* Create(const UnitCreation& c);
    int PropertyChanged(int, const PropertyValue&) override { return 0; }
    bool GetProperty(int, PropertyValue*) override { return false; }
    Bytes OwnData() const override { return Bytes(c_.begin(), c_.end()); }
    std::string MnemonicCaption() const override { return c_; }
    bool IsChecked() const override { return SendMessageA(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override { SendMessageA(hwnd(), BM_SETCHECK, checked, 0); }

private:
    std::string c_;
};
const UnitTypeInfo kTestRadioType = {"单选框", "RadioButton", kTypeMayRaiseEvents | kTypeRadioMember, nullptr, 0,
                                     &TestRadio::Create};

Unit* TestRadio::Create(const UnitCreation& c) {
    auto* unit = new TestRadio(kTestRadioType, c.windowId, c.unitId);
    unit->c_.assign(c.data, c.data + c.size);
    HWND hwnd = CreateWindowExA(0, "BUTTON", unit->c_.c_str(), c.style | WS_CHILD | BS_RADIOBUTTON, c.left, c.top,
                                c.width, c.height, c.parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(c.controlId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) {
        delete unit;
        return nullptr;
    }
    unit->Attach(hwnd);
    return unit;
}

Unit* CreateRadioOp(const uint8_t* data, int size, DWORD style, HWND parent, UINT id, HMENU menu, int left, int top,
                    int width, int height, uint32_t windowId, uint32_t unitId, int, int) {
    return TestRadio::Create({data, size, style, parent, id, menu, left, top, width, height, windowId, unitId});
}
void* RadioInterface(int operation) {
    return operation == kOpCreate ? reinterpret_cast<void*>(&CreateRadioOp) : nullptr;
}

Bytes Caption(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::vector<EventBinding> Clicked() { return {{kUnitClicked, 0}}; }

Bytes ButtonWith(const char* caption, int32_t type = 0) {
    ButtonData d;
    d.caption = caption;
    d.type = type;
    return d.Write();
}

class WindowInput : public ::testing::Test {
protected:
    void SetUp() override {
        raised.clear();
        radioSlot_ = const_cast<DataTypeEntry*>(&CoreLibrary.dataTypes[12]);
        savedSlot_ = *radioSlot_;
    }
    void TearDown() override {
        Windows().Clear();
        *radioSlot_ = savedSlot_;
    }

    // A window of units in tab order: a button, a label with a mnemonic, the
    // button after it, a check box, the default button, and a radio group.
    void Load(const qytest::TestWindow& window = qytest::TestWindow()) {
        LabelData label;
        label.caption = "名称(&N)";
        CheckBoxData check;
        check.caption = "选择(&C)";
        std::vector<qytest::TestUnit> units{
            MakeTestUnit(kFirst, kButtonType, 10, 10, 80, 25, ButtonWith("首个"), kTabStop),
            MakeTestUnit(kLabel, kLabelType, 10, 40, 80, 25, label.Write()),
            MakeTestUnit(kAfterLabel, kButtonType, 100, 40, 80, 25, ButtonWith("其后"), kTabStop),
            MakeTestUnit(kCheck, kCheckType, 10, 70, 80, 25, check.Write(), kTabStop, Clicked()),
            MakeTestUnit(kDefault, kButtonType, 100, 70, 80, 25, ButtonWith("确定(&O)", 1), kTabStop, Clicked()),
            MakeTestUnit(kRadio1, kRadioType, 10, 100, 80, 25, Caption("甲(&A)"), kTabStop, Clicked()),
            MakeTestUnit(kRadio2, kRadioType, 10, 130, 80, 25, Caption("乙(&B)"), kTabStop, Clicked()),
            MakeTestUnit(kRadio3, kRadioType, 10, 160, 80, 25, Caption("丙"), kTabStop, Clicked()),
        };
        for (size_t i = 0; i < units.size(); ++i) units[i].record.tabOrder = static_cast<int32_t>(i + 1);
        qytest::InstallUnitWindow(units, reinterpret_cast<uintptr_t>(&InputHandler), window);
        radioSlot_->stateFlags = kTestRadioType.flags;
        radioSlot_->interfaceFunction = &RadioInterface;
        ASSERT_TRUE(qytest::LoadUnitWindow());
        HWND main = UnitHandle(0);
        SetForegroundWindow(main);
        SetActiveWindow(main);
    }

    // A key as the message loop hands it to the runtime; true when the
    // window handled it.
    static bool Key(UINT message, int vk) {
        MSG m{GetFocus(), message, static_cast<WPARAM>(vk), 0, 0, {0, 0}};
        bool handled = Runtime().PreTranslateMessage(&m) != FALSE;
        qytest::PumpMessages();
        return handled;
    }
    static bool Checked(uint32_t unit) { return SendMessageA(UnitHandle(unit), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    DataTypeEntry* radioSlot_ = nullptr;
    DataTypeEntry savedSlot_{};
};
}  // namespace

TEST_F(WindowInput, AltMnemonicsToggleCheckOrFocusTheirUnit) {
    Load();
    SetFocus(UnitHandle(kFirst));
    EXPECT_TRUE(Key(WM_SYSKEYDOWN, 'C'));
    EXPECT_TRUE(Checked(kCheck)) << "Alt+C toggles the check box";
    EXPECT_EQ(raised, std::vector<uint32_t>{kCheck});

    EXPECT_TRUE(Key(WM_SYSKEYDOWN, 'N'));
    EXPECT_EQ(GetFocus(), UnitHandle(kAfterLabel)) << "a label passes the focus to the unit after it in tab order";

    raised.clear();
    EXPECT_TRUE(Key(WM_SYSKEYDOWN, 'O'));
    EXPECT_EQ(GetFocus(), UnitHandle(kDefault)) << "a push button takes the focus";
    EXPECT_TRUE(raised.empty()) << "and is not clicked";

    EXPECT_TRUE(Key(WM_SYSKEYDOWN, 'B'));
    EXPECT_TRUE(Checked(kRadio2));
    EXPECT_FALSE(Checked(kRadio1));
    EXPECT_EQ(raised, std::vector<uint32_t>{kRadio2});

    EXPECT_FALSE(Key(WM_SYSKEYDOWN, 'Z')) << "no caption has &Z";
    EXPECT_FALSE(Key(WM_KEYDOWN, 'C')) << "without Alt a letter is no mnemonic";
    EXPECT_TRUE(Checked(kCheck));
}

TEST_F(WindowInput, ArrowKeysMoveTheCheckAroundTheRadioGroup) {
    Load();
    SendMessageA(UnitHandle(kRadio1), BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(UnitHandle(kRadio1));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
    EXPECT_TRUE(Checked(kRadio2));
    EXPECT_FALSE(Checked(kRadio1));
    EXPECT_EQ(GetFocus(), UnitHandle(kRadio2));
    EXPECT_EQ(raised, std::vector<uint32_t>{kRadio2});

    SetFocus(UnitHandle(kRadio1));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_LEFT));
    EXPECT_TRUE(Checked(kRadio3)) << "the group wraps from its first member to its last";
    EXPECT_FALSE(Checked(kRadio2));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
    EXPECT_TRUE(Checked(kRadio1)) << "and from its last to its first";

    SetFocus(UnitHandle(kCheck));
    EXPECT_FALSE(Key(WM_KEYDOWN, VK_DOWN)) << "arrows outside a radio group are left to the unit";
}

TEST_F(WindowInput, EnterClicksTheDefaultButtonUnlessItMovesTheFocus) {
    Load();
    SetFocus(UnitHandle(kCheck));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(raised, std::vector<uint32_t>{kDefault});
    EXPECT_FALSE(Checked(kCheck));

    qytest::TestWindow moving;
    moving.data.enterMovesFocus = 1;
    Windows().Clear();
    Load(moving);
    raised.clear();
    SetFocus(UnitHandle(kCheck));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(GetFocus(), UnitHandle(kDefault));
    EXPECT_TRUE(raised.empty());
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(raised, std::vector<uint32_t>{kDefault}) << "a focused default button is clicked";
}

TEST_F(WindowInput, ComingBackToTheWindowGivesTheFocusBackToItsUnit) {
    Load();
    HWND main = UnitHandle(0);
    SetFocus(UnitHandle(kCheck));
    HWND other = CreateWindowExA(0, "STATIC", "另一个", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(other);
    qytest::PumpMessages();
    ASSERT_EQ(GetActiveWindow(), other);
    SetActiveWindow(main);
    qytest::PumpMessages();
    EXPECT_EQ(GetFocus(), UnitHandle(kCheck)) << "not the window itself, as the default handling would";
    DestroyWindow(other);
}

namespace {
// The help viewer's window: WinHelp hands it the request as WM_COPYDATA.
struct HelpRequest {
    int count = 0;
    UINT command = 0;
    LONG context = 0;
    std::string file;
} help;

LRESULT CALLBACK HelpViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const auto* bytes = static_cast<const uint8_t*>(data->lpData);
        WORD command, fileAt;
        std::memcpy(&command, bytes + 2, 2);
        std::memcpy(&help.context, bytes + 4, 4);
        std::memcpy(&fileAt, bytes + 12, 2);
        ++help.count;
        help.command = command;
        help.file = fileAt ? reinterpret_cast<const char*>(bytes + fileAt) : "";
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

TEST_F(WindowInput, F1OpensTheHelpFileAtTheHelpContext) {
    WNDCLASSA viewerClass{};
    viewerClass.lpfnWndProc = &HelpViewerProc;
    viewerClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&viewerClass);
    HWND viewer = CreateWindowA("MS_WINHELP", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(viewer, nullptr);
    help = HelpRequest();

    Load();
    SetFocus(UnitHandle(kFirst));
    EXPECT_FALSE(Key(WM_KEYDOWN, VK_F1)) << "F1 is an ordinary key unless the window opens help";
    EXPECT_EQ(help.count, 0);

    qytest::TestWindow named;
    named.data.f1OpensHelp = 1;
    named.data.helpFile = "qy_test.hlp";
    named.data.helpContext = 7;
    Windows().Clear();
    Load(named);
    SetFocus(UnitHandle(kFirst));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_F1));
    ASSERT_EQ(help.count, 1);
    EXPECT_EQ(help.command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(help.context, 7);
    EXPECT_EQ(help.file, "qy_test.hlp");

    // Without a help file: the program's own .hlp, at its contents, when it exists.
    qytest::TestWindow own;
    own.data.f1OpensHelp = 1;
    Windows().Clear();
    Load(own);
    SetFocus(UnitHandle(kFirst));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_F1));
    EXPECT_EQ(help.count, 1) << "no program help file, nothing opened";
    const std::string& name = Runtime().programFileName();
    std::string file = Runtime().programDirectory() + "\\" + name.substr(0, name.rfind('.')) + ".hlp";
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(Key(WM_KEYDOWN, VK_F1));
    DeleteFileA(file.c_str());
    ASSERT_EQ(help.count, 2);
    EXPECT_EQ(help.command, static_cast<UINT>(HELP_FINDER));
    EXPECT_EQ(help.file, file);
    DestroyWindow(viewer);
}

TEST_F(WindowInput, PressingAndMovingOnALabelDragsTheWindow) {
    qytest::TestWindow dragged;
    dragged.data.dragToMove = 1;
    Load(dragged);
    HWND main = UnitHandle(0);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    qytest::PumpMessages();
    RECT before, label;
    GetWindowRect(main, &before);
    GetWindowRect(UnitHandle(kLabel), &label);
    POINT from{label.left + 20, label.top + 10}, to{from.x + 40, from.y + 30};

    auto at = [](POINT p, DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
        return in;
    };
    // One step at a time with a person's pause after each: a burst can lose its order on a busy machine.
    for (INPUT step : {at(from, 0), at(from, MOUSEEVENTF_LEFTDOWN), at(to, 0), at(to, MOUSEEVENTF_LEFTUP)}) {
        ASSERT_EQ(SendInput(1, &step, sizeof(INPUT)), 1u);
        // Not pumped here: the press starts the window's move loop, which would wait for a release not yet sent.
        Sleep(75);
    }

    // The move ends with the button's release inside the window's own loop.
    RECT after = before;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && EqualRect(&after, &before);) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        qytest::PumpMessages();
        GetWindowRect(main, &after);
    }
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 30);
    EXPECT_EQ(GetCapture(), nullptr);
}
