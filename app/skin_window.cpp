// The skin window: a rippling background, the seven skins and a close button.
#include "app/application.h"
#include "app/handlers.h"
#include "app/ripple_effect.h"

namespace program {

namespace {
namespace S = forms::皮肤窗口;

const ValueRecord kAtOnce{1, 0, qy::kTypeLogical};
}  // namespace

void OnSkinWindowCreated(const int32_t*) {
    WriteInt(S::窗口, Own(qy::window::kBackPicture),
             static_cast<int32_t>(reinterpret_cast<uintptr_t>(&K.skinBackground)));
    // The ripple object outlives the first skin window and still counts as
    // running afterwards, so only the first skin window ripples.
    uint32_t window = static_cast<uint32_t>(Command(CoreCommand::GetWindowHandle, {UnitValue(S::窗口)}).Int());
    skinWindowRipple->Start(window, &K.skinRipple, &K.rippleEngine);
}

void OnBeautifulBlackClicked(const int32_t*) { ApplySkin(kBeautifulBlack); }
void OnPurpleGlowClicked(const int32_t*) { ApplySkin(kPurpleGlow); }
void OnRainbowBannerClicked(const int32_t*) { ApplySkin(kRainbowBanner); }
void OnQqPlayerClicked(const int32_t*) { ApplySkin(kQqPlayer); }
void OnWarmHomeClicked(const int32_t*) { ApplySkin(kWarmHome); }
void OnQq2008Clicked(const int32_t*) { ApplySkin(kQq2008); }
void OnChinaRedClicked(const int32_t*) { ApplySkin(kChinaRed); }

void OnSkinCloseClicked(const int32_t*) { Command(CoreCommand::Destroy, {UnitValue(S::窗口), kAtOnce}); }

}  // namespace program
