// A window made for the combo box and scroll bar tests, loaded through the
// real window system. Its event subroutines note which event of which unit
// ran, whether the left button was down, and what the unit showed then.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
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
    static constexpr uint32_t kWindow = 0x52030001, kOwn = 0x06030000;

    void TearDown() override;

    // A unit record at the given place; bindings name own events 0-4 and -7/-8.
    static qy::UnitRecord Unit(uint32_t typeRef, int left, int top, int width, int height, qy::Bytes data,
                               std::vector<int> events = {}, uint32_t state = qy::kStateVisible | qy::kStateTabStop);
    // Builds a window of these units (Esc closes it), loads it and puts it on top.
    void Load(const std::vector<std::pair<uint32_t, qy::UnitRecord>>& units);

    HWND Handle(uint32_t unit) const;
    HWND WindowHandle() const { return Handle(0); }
    int32_t Read(uint32_t unit, int property, int sub = -1) const;
    void Write(uint32_t unit, int property, uint32_t value, int sub = -1) const;
    // Reads a byte-set property into bytes (freeing the runtime's block).
    qy::Bytes ReadBytes(uint32_t unit, int property) const;
    std::string ReadText(uint32_t unit, int property) const;

    static void Pump();
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
