#include "tests/units/combo_box/combo_box_and_scroll_bar_window.h"

#include <map>

#include "window/window_list.h"

// Event subroutines in the program's convention (no arguments here, no value
// returned: ECX = 0). Each hands its event number to the sink.
#define UNIT_EVENT_SUB(name, event)                                                                    \
    asm(".text\n\t.globl _" #name "\n_" #name ":\n\tpushl $" #event "\n\tcall _UnitTestEventSink\n\t" \
        "addl $4, %esp\n\txorl %ecx, %ecx\n\tret\n");
UNIT_EVENT_SUB(UnitEvent0, 0)
UNIT_EVENT_SUB(UnitEvent1, 1)
UNIT_EVENT_SUB(UnitEvent2, 2)
UNIT_EVENT_SUB(UnitEvent3, 3)
UNIT_EVENT_SUB(UnitEvent4, 4)
UNIT_EVENT_SUB(UnitGotFocus, -7)
UNIT_EVENT_SUB(UnitLostFocus, -8)

extern "C" {
void UnitEvent0();
void UnitEvent1();
void UnitEvent2();
void UnitEvent3();
void UnitEvent4();
void UnitGotFocus();
void UnitLostFocus();
}

namespace unittest {

std::vector<EventCall> UnitWindowTest::calls;
std::function<int32_t()> UnitWindowTest::observe;

namespace {
uintptr_t CodeBase() { return reinterpret_cast<uintptr_t>(&UnitEvent0); }

int32_t HandlerFor(int event) {
    static const std::map<int, void (*)()> subs = {
        {0, &UnitEvent0}, {1, &UnitEvent1}, {2, &UnitEvent2},       {3, &UnitEvent3},
        {4, &UnitEvent4}, {qy::kEventGotFocus, &UnitGotFocus}, {qy::kEventLostFocus, &UnitLostFocus},
    };
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(subs.at(event)) - CodeBase());
}
}  // namespace

extern "C" void __cdecl UnitTestEventSink(int32_t event) {
    UnitWindowTest::calls.push_back({qy::Windows().eventUnit, event, GetKeyState(VK_LBUTTON) < 0,
                                     UnitWindowTest::observe ? UnitWindowTest::observe() : 0});
}

void UnitWindowTest::TearDown() {
    qy::Windows().Clear();
    observe = nullptr;
    calls.clear();
}

qy::UnitRecord UnitWindowTest::Unit(uint32_t typeRef, int left, int top, int width, int height, qy::Bytes data,
                                    std::vector<int> events, uint32_t state) {
    std::vector<qy::EventBinding> bindings;
    for (int event : events) bindings.push_back({event, HandlerFor(event)});
    return qytest::MakeTestUnit(0, typeRef, left, top, width, height, std::move(data), state, std::move(bindings))
        .record;
}

void UnitWindowTest::Load(std::vector<qytest::TestUnit> units) {
    qytest::TestWindow window;
    window.data.caption = "组件测试";
    window.data.escCloses = 1;
    window.data.backColor = RGB(200, 220, 240);
    // Real mouse input goes to whatever lies under the cursor: keep clear of
    // the windows that other test programs show at the same time.
    window.at = RECT{680, 560, 1240, 980};
    int tab = 1;
    for (qytest::TestUnit& unit : units) unit.record.tabOrder = tab++;
    qytest::InstallUnitWindow(units, CodeBase(), window);
    ASSERT_TRUE(qytest::LoadUnitWindow());
    HWND hwnd = WindowHandle();
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    Pump();
    calls.clear();
}

void UnitWindowTest::Mouse(DWORD flags, POINT screen) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65536 / w + 1;
    input.mi.dy = screen.y * 65536 / h + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    // A person's pause before the next step, so no two steps arrive as one burst.
    Sleep(75);
}

void UnitWindowTest::Click(POINT screen) {
    Mouse(0, screen);
    Mouse(MOUSEEVENTF_LEFTDOWN, screen);
    Mouse(MOUSEEVENTF_LEFTUP, screen);
}

std::vector<EventCall> UnitWindowTest::CallsOf(uint32_t unit, int event) const {
    std::vector<EventCall> found;
    for (const EventCall& c : calls)
        if (c.unit == unit && c.event == event) found.push_back(c);
    return found;
}

}  // namespace unittest
