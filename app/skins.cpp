// Applying one of the seven skins: the shape and fill boxes take the skin's
// background colours, and the skin engine restyles every window.
#include "app/application.h"
#include "app/call_function.h"
#include "app/handlers.h"
#include "app/library_loader.h"
#include "app/program.h"

namespace program {

namespace {

int32_t Colour(const SkinRgb& rgb) {
    return Command(CoreCommand::MakeColor, {IntValue(rgb.red), IntValue(rgb.green), IntValue(rgb.blue)}).Int();
}

}  // namespace

void ApplySkin(Skin skin) {
    const SkinDesign& design = kSkinDesigns[skin];
    WriteInt(kShapeTextBox, Own(qy::edit_box::kBackColor), Colour(design.shapeBox));
    for (const UnitRef& box : {kFillTextBox, kBlankTextBox}) WriteInt(box, Own(qy::edit_box::kBackColor), Colour(design.fillBox));
    // Without the engine, or without the export, there is nothing to call.
    uint32_t attach = skinEngine ? skinEngine->GetFunction(K.skinAttach) : 0;
    if (!attach) return;
    uint32_t data = CallDll(kByteSetAddressA, {NativeByteSet(&K.skins[skin]), 0, 0});
    uint32_t password = CallDll(kTextAddress, {NativeText(K.emptyText), NativeText(K.emptyText), 0});
    CallWithWords(attach, data, password);
}

}  // namespace program
