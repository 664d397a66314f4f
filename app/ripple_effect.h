// The ripple effect: subclasses a window and drives the ripple engine, an
// image mapped by the library loader, from a timer and from the mouse.
#pragma once
#include <cstdint>

#include "app/library_loader.h"
#include "app/method_thunk.h"

namespace program {

class RippleEffect {
public:
    enum Operation {
        kDestroy = 1,
        kCopy,
        kStart,
        kTimerCallback,
        kWindowProcedure,
        kPressRipple,
        kMoveRipple,
        kTimerTick,
    };

    RippleEffect();
    ~RippleEffect() { Destroy(this); }
    RippleEffect(const RippleEffect&) = delete;
    RippleEffect& operator=(const RippleEffect&) = delete;

    // Loads the engine from its image and animates picture on window; does
    // nothing while the effect is running.
    void Start(uint32_t window, const void* picture, const void* engineImage) {
        Start(this, window, picture, engineImage);
    }
    bool Running() const { return previousProcedure_ != 0; }
    LibraryLoader& Engine() { return engine_; }

    // The operations, as the operation table holds them.
    static void __stdcall Destroy(RippleEffect* self);
    static void __stdcall Copy(const RippleEffect* self, RippleEffect* target);
    static void __stdcall Start(RippleEffect* self, uint32_t window, const void* picture, const void* engineImage);
    static void __stdcall TimerCallback(RippleEffect* self);
    static int32_t __stdcall WindowProcedure(RippleEffect* self, uint32_t window, uint32_t message, uint32_t wParam,
                                             uint32_t lParam);
    static void __stdcall PressRipple(RippleEffect* self, int32_t x, int32_t y);
    static void __stdcall MoveRipple(RippleEffect* self, int32_t x, int32_t y);
    static void __stdcall TimerTick(RippleEffect* self);

private:
    static void Stop(RippleEffect* self);
    static void MouseAction(RippleEffect* self, int32_t x, int32_t y, uint32_t strength, uint32_t spread);
    // Calls the engine's export with the window's device context and the
    // mouse words; an engine without that export is skipped.
    static uint32_t CallOnWindow(RippleEffect* self, const char* name, uint32_t x = 0, uint32_t y = 0,
                                 uint32_t strength = 0, uint32_t spread = 0);
    static void StartTimer(RippleEffect* self);

    OperationTable operations_;
    LibraryLoader engine_;
    uint32_t previousProcedure_ = 0;
    uint32_t window_ = 0;
    void* windowProcedureThunk_ = nullptr;
    void* timerThunk_ = nullptr;
    // The timer runs only while the water moves, when the engine can say so.
    bool ticking_ = false;
};

}  // namespace program
