// A window made for the combo box and scroll bar tests, loaded through the
// real window system. Its event subroutines note which event of which unit
// ran, whether the left button was down, and what the unit showed then.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "tests/support/unit_window.h"
#include "window/template_format.h"

namespace unittest {

struct EventCall {
    uint32_t unit;
    int event;
    bool buttonDown;    // the left button as the message being handled saw it
    int32_t observed;   // what UnitWindowTest::observe returned during the call
};

class UnitWindowTest : public ::testing::Test {
protected:
    void TearDown() override;

    // A unit record at the given place; bindings name own events 0-4 and -7/-8.
    static qy::UnitRecord Unit(uint32_t typeRef, int left, int top, int width, int height, qy::Bytes data,
                               std::vector<int> events = {}, uint32_t state = qy::kStateVisible | qy::kStateTabStop);
    // Builds a window of these units (Esc closes it, tab order as listed), loads it and puts it on top.
    void Load(std::vector<qytest::TestUnit> units);

    HWND Handle(uint32_t unit) const { return qytest::UnitHandle(unit); }
    HWND WindowHandle() const { return Handle(0); }
    int32_t Read(uint32_t unit, int property, int sub = -1) const {
        return static_cast<int32_t>(qytest::ReadInt(unit, property, sub));
    }
    void Write(uint32_t unit, int property, uint32_t value, int sub = -1) const {
        qytest::WriteInt(unit, property, value, sub);
    }
    qy::Bytes ReadBytes(uint32_t unit, int property) const { return qytest::ReadBytes(unit, property); }
    std::string ReadText(uint32_t unit, int property) const { return qytest::ReadText(unit, property); }

    static void Pump() { qytest::SettleMessages(); }
    // Real mouse input at a screen point, through the system's input queue.
    static void Mouse(DWORD flags, POINT screen);
    static void Click(POINT screen);

    std::vector<EventCall> CallsOf(uint32_t unit, int event) const;

public:
    // Filled by the event subroutines.
    static std::vector<EventCall> calls;
    // Asked during every event call, for the value a handler would read.
    static std::function<int32_t()> observe;
};

}  // namespace unittest
