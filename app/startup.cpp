// The main window's creation with the single-instance guard, its
// destruction, and the clean-up the runtime calls at exit.
#include "app/application.h"
#include "app/handlers.h"
#include "app/library_loader.h"
#include "app/program.h"
#include "app/ripple_effect.h"

namespace program {

uint32_t instanceEvent = 0;
int32_t currentPicture = 0;
RippleEffect* labelRipple = nullptr;
LibraryLoader* skinEngine = nullptr;
RippleEffect* skinWindowRipple = nullptr;

namespace {
constexpr uint32_t kEventAllAccess = 0x1F0003;
}  // namespace

void CreateGlobals() {
    labelRipple = new RippleEffect;
    skinWindowRipple = new RippleEffect;
    skinEngine = new LibraryLoader;
}

void LoadSkinEngine() {
    // A failed load shows only in that applying a skin does nothing.
    skinEngine->Load(&K.skinEngine);
}

void __cdecl ReleaseGlobals() {
    // Each destroy stops what the object runs and unloads its library.
    delete labelRipple;
    labelRipple = nullptr;
    delete skinEngine;
    skinEngine = nullptr;
    delete skinWindowRipple;
    skinWindowRipple = nullptr;
}

void OnMainWindowCreated(const int32_t*) {
    // Another instance holds the named event: leave quietly.
    if (CallDll(kOpenEventA, {kEventAllAccess, 0, NativeText(K.instanceEventName)}) != 0) Svc_ExitProgram(0);
    instanceEvent = CallDll(kCreateEventA, {0, 0, 0, NativeText(K.instanceEventName)});

    currentPicture = Command(CoreCommand::LoadPicture, {ByteSetValue(&K.defaultPicture)}).Int();

    WriteText(W::通框图片, Own(qy::common_dialog::kInitialDir), K.pictureFolder);
    SetDialogField(qy::common_dialog::kDialogType, 2);
    WriteText(W::通框字体, Own(qy::common_dialog::kFontName), K.songTi);
    SetDialogField(qy::common_dialog::kFontSize, 9);

    WriteInt(W::窗口, Own(qy::window::kPosition), qy::window::kMaximised);
    WriteInt(W::窗口, qy::kPropertyLeft, 222);
    WriteInt(W::窗口, qy::kPropertyTop, 55);

    WriteInt(kDisplayBox, qy::kPropertyLeft, 8);
    WriteInt(kDisplayBox, qy::kPropertyTop, 238);
    WriteInt(kShapeTextBox, qy::kPropertyLeft, 8);
    WriteInt(kShapeTextBox, qy::kPropertyHeight, 60);
    WriteInt(W::画板1, qy::kPropertyLeft, 8);
    WriteInt(W::画板1, qy::kPropertyTop, 120);
    WriteInt(W::画板1, qy::kPropertyHeight, 115);
    WriteInt(kFillTextBox, qy::kPropertyLeft, ReadInt(W::复制1, qy::kPropertyLeft));
    WriteInt(W::还原, qy::kPropertyLeft, 44);
    WriteInt(W::透明标签1, qy::kPropertyTop, 75);

    labelRipple->Start(static_cast<uint32_t>(Command(CoreCommand::GetWindowHandle, {UnitValue(W::生成)}).Int()),
                       &K.labelRipple, &K.rippleEngine);

    WriteInt(W::窗口, Own(qy::window::kBackColor),
             Command(CoreCommand::MakeColor, {IntValue(200), IntValue(210), IntValue(255)}).Int());
    int32_t back = ReadInt(W::窗口, Own(qy::window::kBackColor));
    WriteInt(kShapeTextBox, Own(qy::edit_box::kBackColor), back);
    for (const UnitRef& box : {W::复制1, W::反向, W::锁定比例, W::接顶, W::补齐, W::置顶, W::粗, W::斜, W::删, W::下,
                               W::说明1, W::说明2, W::说明5})
        WriteInt(box, Own(qy::check_box::kBackColor), back);

    SetControlStyle(1);
}

void OnMainWindowDestroyed(const int32_t*) { CallDll(kCloseHandle, {instanceEvent}); }

}  // namespace program
