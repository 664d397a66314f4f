#include "app/ripple_effect.h"

#include "app/abi/program_abi.h"
#include "app/access.h"
#include "app/call_function.h"
#include "app/constants.h"
#include "app/program.h"

namespace program {

namespace {
const ProgramConstants& K = ProgramConstantBlock;

constexpr uint32_t kWindowProcedureIndex = static_cast<uint32_t>(-4);  // GWL_WNDPROC
constexpr uint32_t kTimerId = 100;
constexpr uint32_t kTimerInterval = 10;  // milliseconds
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr int kTimerArguments = 4;
constexpr int kWindowProcedureArguments = 4;
// A picture object variable as compiled code holds one.
constexpr uint32_t kObjectType = 0x00010000;

struct ObjectVariable {
    void* object = nullptr;
    void* data = nullptr;
};

const void* const kOperations[] = {
    reinterpret_cast<const void*>(&RippleEffect::Destroy),
    reinterpret_cast<const void*>(&RippleEffect::Copy),
    reinterpret_cast<const void*>(
        static_cast<void(__stdcall*)(RippleEffect*, uint32_t, const void*, const void*)>(&RippleEffect::Start)),
    reinterpret_cast<const void*>(&RippleEffect::TimerCallback),
    reinterpret_cast<const void*>(&RippleEffect::WindowProcedure),
    reinterpret_cast<const void*>(&RippleEffect::PressRipple),
    reinterpret_cast<const void*>(&RippleEffect::MoveRipple),
    reinterpret_cast<const void*>(&RippleEffect::TimerTick),
    nullptr,
};

uint32_t Address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// The bitmap handle of the picture held in a byte set; the picture object
// owning it is released, so the engine must take its copy before then.
template <typename Use>
void WithPictureBitmap(const void* picture, Use use) {
    ObjectVariable variable;
    const ValueRecord object{Address(&variable), 0, kObjectType | qy::kByAddress};
    Command(CoreCommand::CreatePictureObject, {object, ByteSetValue(picture)});
    const double handle = qy::RecordDouble(
        Command(CoreCommand::NumberMethod, {object, TextValue(K.handleMember)}).record());
    use(static_cast<uint32_t>(static_cast<int64_t>(handle)));
    Command(CoreCommand::ReleaseObject, {object});
}
}  // namespace

RippleEffect::RippleEffect() : operations_(kOperations) {}

void __stdcall RippleEffect::Destroy(RippleEffect* self) {
    Stop(self);
    LibraryLoader::Destroy(&self->engine_);
    Svc_Free(self->windowProcedureThunk_);
    Svc_Free(self->timerThunk_);
    self->windowProcedureThunk_ = self->timerThunk_ = nullptr;
}

void __stdcall RippleEffect::Copy(const RippleEffect* self, RippleEffect* target) {
    LibraryLoader::Copy(&self->engine_, &target->engine_);
    target->previousProcedure_ = self->previousProcedure_;
    target->window_ = self->window_;
    target->windowProcedureThunk_ = CopyThunk(self->windowProcedureThunk_);
    target->timerThunk_ = CopyThunk(self->timerThunk_);
    target->ticking_ = self->ticking_;
}

void __stdcall RippleEffect::Start(RippleEffect* self, uint32_t window, const void* picture, const void* engineImage) {
    if (self->previousProcedure_ != 0) return;
    self->engine_.Load(engineImage);
    Svc_Free(self->timerThunk_);
    Svc_Free(self->windowProcedureThunk_);
    // A timer procedure removes its four arguments; the tick needs none of them.
    self->timerThunk_ = BuildMethodThunk(self, kTimerCallback, kTimerArguments);
    self->windowProcedureThunk_ = BuildMethodThunk(self, kWindowProcedure, kWindowProcedureArguments);
    // Known before the subclass, so a message that arrives at once finds it.
    self->window_ = window;
    self->previousProcedure_ =
        CallDll(kSetWindowLongA, {window, kWindowProcedureIndex, ThunkAddress(self->windowProcedureThunk_)});
    // Without the subclass nothing would ever stop a timer; for no window
    // at all, SetTimer would even make one of the thread's.
    if (self->previousProcedure_ == 0) {
        self->engine_.Unload();
        self->window_ = 0;
        return;
    }
    WithPictureBitmap(picture, [&](uint32_t bitmap) {
        if (uint32_t init = self->engine_.GetFunction(K.waterInit)) CallWithWords(init, bitmap);
        StartTimer(self);
    });
}

void RippleEffect::StartTimer(RippleEffect* self) {
    // Setting a running timer again would restart its interval, and moves
    // of the mouse, coming faster than that, would starve it.
    if (self->ticking_) return;
    const uint32_t timer = ThunkAddress(self->timerThunk_);
    self->ticking_ = CallDll(kSetTimer, {self->window_, kTimerId, kTimerInterval, timer}) != 0;
}

void __stdcall RippleEffect::TimerCallback(RippleEffect* self) { TimerTick(self); }

int32_t __stdcall RippleEffect::WindowProcedure(RippleEffect* self, uint32_t window, uint32_t message, uint32_t wParam,
                                                uint32_t lParam) {
    if (message == kMouseMove || message == kLeftButtonDown) {
        const int32_t x = Command(CoreCommand::BitAnd, {IntValue(static_cast<int32_t>(lParam)), IntValue(0xFFFF)}).Int();
        const int32_t y = Command(CoreCommand::ShiftRight, {IntValue(static_cast<int32_t>(lParam)), IntValue(16)}).Int();
        if (message == kMouseMove)
            MoveRipple(self, x, y);
        else
            PressRipple(self, x, y);
        return 0;
    }
    const uint32_t result = CallDll(kCallWindowProcA, {self->previousProcedure_, window, message, wParam, lParam});
    // The window's own painting covers the picture, and the engine draws flat water only when told.
    if (message == kPaint) CallOnWindow(self, K.waterPainted);
    return static_cast<int32_t>(result);
}

void __stdcall RippleEffect::PressRipple(RippleEffect* self, int32_t x, int32_t y) { MouseAction(self, x, y, 60, 500); }

void __stdcall RippleEffect::MoveRipple(RippleEffect* self, int32_t x, int32_t y) { MouseAction(self, x, y, 5, 200); }

void __stdcall RippleEffect::TimerTick(RippleEffect* self) {
    const uint32_t moving = CallOnWindow(self, K.waterTimer);
    // An engine told of repaints keeps flat water whole without ticks, and
    // says when its water has come to rest; an idle process then wakes for nothing.
    if (moving == 0 && self->ticking_ && self->engine_.GetFunction(K.waterPainted) != 0) {
        CallDll(kKillTimer, {self->window_, kTimerId});
        self->ticking_ = false;
    }
}

void RippleEffect::MouseAction(RippleEffect* self, int32_t x, int32_t y, uint32_t strength, uint32_t spread) {
    CallOnWindow(self, K.waterMouseAction, static_cast<uint32_t>(x), static_cast<uint32_t>(y), strength, spread);
    StartTimer(self);
}

uint32_t RippleEffect::CallOnWindow(RippleEffect* self, const char* name, uint32_t x, uint32_t y, uint32_t strength,
                                    uint32_t spread) {
    const uint32_t function = self->engine_.GetFunction(name);
    if (function == 0) return 0;
    const uint32_t dc = CallDll(kGetDC, {self->window_});
    const uint32_t result = CallWithWords(function, dc, 0, 0, x, y, strength, spread);
    CallDll(kReleaseDC, {self->window_, dc});
    return result;
}

void RippleEffect::Stop(RippleEffect* self) {
    if (self->previousProcedure_ == 0) return;
    CallDll(kKillTimer, {self->window_, kTimerId});
    self->ticking_ = false;
    self->engine_.Unload();
    CallDll(kSetWindowLongA, {self->window_, kWindowProcedureIndex, self->previousProcedure_});
    self->previousProcedure_ = 0;
}

}  // namespace program
