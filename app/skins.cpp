// Applying one of the seven skins: the shape and fill boxes take the skin's
// background colours, and the skin engine restyles every window.
#include "app/application.h"
#include "app/call_function.h"
#include "app/handlers.h"
#include "app/library_loader.h"
#include "app/program.h"

namespace program {

namespace {

struct SkinChoice {
    const void* data;
    uint8_t shape[3];  // background of 编辑框2
    uint8_t fill[3];   // background of 编辑框3 and 编辑框4
};

const SkinChoice kSkins[kSkinCount] = {
    {&K.skinBeautifulBlack, {240, 240, 240}, {250, 250, 250}},
    {&K.skinPurpleGlow, {247, 245, 248}, {254, 252, 255}},
    {&K.skinRainbowBanner, {239, 239, 239}, {244, 244, 244}},
    {&K.skinQqPlayer, {219, 236, 255}, {236, 245, 255}},
    {&K.skinWarmHome, {236, 233, 204}, {244, 242, 225}},
    {&K.skinQq2008, {170, 213, 244}, {214, 235, 250}},
    {&K.skinChinaRed, {237, 237, 237}, {244, 244, 244}},
};

int32_t Colour(const uint8_t (&rgb)[3]) {
    return Command(CoreCommand::MakeColor, {IntValue(rgb[0]), IntValue(rgb[1]), IntValue(rgb[2])}).Int();
}

}  // namespace

void ApplySkin(Skin skin) {
    const SkinChoice& choice = kSkins[skin];
    WriteInt(kShapeTextBox, Own(qy::edit_box::kBackColor), Colour(choice.shape));
    for (const UnitRef& box : {kFillTextBox, kBlankTextBox}) WriteInt(box, Own(qy::edit_box::kBackColor), Colour(choice.fill));
    // Without the engine, or without the export, there is nothing to call.
    uint32_t attach = skinEngine ? skinEngine->GetFunction(K.skinAttach) : 0;
    if (!attach) return;
    uint32_t data = CallDll(kByteSetAddressA, {NativeByteSet(choice.data), 0, 0});
    uint32_t password = CallDll(kTextAddress, {NativeText(K.emptyText), NativeText(K.emptyText), 0});
    CallWithWords(attach, data, password);
}

}  // namespace program
