// The window's own unit (core unit type 1): a top-level window of class
// "WTWindow" or the template's class name, its 24 own properties, its events
// and the keyboard and mouse pre-translation it performs for its units.
#pragma once
#include <memory>

#include "runtime/framework.h"
#include "media/picture/picture.h"
#include "window/own_data.h"
#include "window/property_table.h"
#include "window/unit.h"

namespace qy {

struct WindowRecord;

class WindowUnit : public Unit {
public:
    using PropertyTableType = PropertyTable<WindowUnit, 24>;
    // The window's own properties, in the order of window::Property.
    static const PropertyTableType& Properties();

    WindowUnit(uint32_t windowId, uint32_t unitId, const WindowData& data);
    static Unit* Create(const UnitCreation& creation);

    int PropertyChanged(int own, const PropertyValue& value) override;
    bool GetProperty(int own, PropertyValue* out) override;
    Bytes OwnData() const override { return data_.Write(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    const WindowData& data() const { return data_; }
    // Message pre-translation for the window and its descendants.
    BOOL PreTranslate(MSG* message);
    // Close request of the destroy command: now, or by the posted 0x8065.
    void RequestClose(bool now);
    // Shows the window as its initial position asks.
    void ShowInitially();
    // Moves the focus along the tab order; from = the unit to start at.
    void MoveFocus(bool forward, HWND from);

private:
    // Lets the runtime's pre-translation walk find this window.
    struct Translator : FrameworkWindow {
        WindowUnit* owner = nullptr;
        BOOL PreTranslateMessage(MSG* message) override { return owner->PreTranslate(message); }
    };

    void ApplyFrameStyle();
    // Background colour, then the background picture by PictureMode: 0 at
    // the top left, 1 tiled, 2 centred, 3 stretched over the client area.
    void PaintBackground(HDC dc);
    void SetPosition(int position);
    // Covers the work area of the window's monitor, as a maximised window does.
    void FillWorkArea();
    // Dialog keys: each key's handler answers whether it used the key.
    bool HandleKey(MSG* message);
    bool TabKey();
    bool ReturnKey(Unit* focused, const WindowRecord& record);
    bool EscapeKey();
    // Arrows move the check and the focus within a group of radio buttons.
    bool ArrowKey(Unit* focused, const WindowRecord& record, bool forward);
    bool HelpKey();
    bool HandleMnemonic(MSG* message);
    bool RaiseCommonEvent(MSG* message);
    // Whole notches of wheel turn over the unit window, from this message and
    // the part-notches before it that turned the same way over the same unit.
    int WheelSteps(HWND over, int delta);
    WindowRecord* Record() const;

    WindowData data_;
    std::unique_ptr<Picture> picture_;  // decoded BackPicture, made on first paint
    Translator translator_;
    bool activatedOnce_ = false;
    // The unit that had the keyboard focus when the window was last deactivated.
    HWND focusWhenLeft_ = nullptr;
    bool closing_ = false;
    HWND wheelOver_ = nullptr;
    int wheelRemainder_ = 0;
};

extern const UnitTypeInfo kWindowType;
constexpr UINT kCloseRequestMessage = 0x8065;

}  // namespace qy
