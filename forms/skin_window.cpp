// The skin window: seven named skins and a close button.
#include "forms/form_builder.h"
#include "units/button/button.h"
#include "window/protocol.h"

namespace forms {

Form SkinWindow() {
    Form form{0x5201068E, 0x00D64132, 0x1901068E, {}, {}};
    form.Window(0x0601068D, WindowProperties("皮肤", 2, RGB(200, 210, 255), 0))
        .At(50, 50, 216, 152)
        .State(V)
        .On(qy::kWindowCreated, "_皮肤窗口_创建完毕");

    struct Skin {
        uint32_t id;
        const char* name;
        int32_t left, top;
        const char* caption;
        const char* handler;
    };
    const Skin skins[] = {
        {0x1601068F, "关闭", 73, 78, "关闭", "_关闭_被单击"},
        {0x16010690, "美丽黑色", 138, 11, "美丽黑", "_美丽黑色_被单击"},
        {0x16010691, "紫色流光", 138, 44, "紫色流", "_紫色流光_被单击"},
        {0x16010692, "七彩条幅", 8, 78, "七彩条", "_七彩条幅_被单击"},
        {0x16010693, "pf_QQ影音", 8, 11, "QQ影音", "_pf_QQ影音_被单击"},
        {0x16010694, "温馨家园", 8, 44, "温馨", "_温馨家园_被单击"},
        {0x16010695, "QQ2008", 73, 11, "QQ2008", "_QQ2008_被单击"},
        {0x16010696, "中国红", 73, 44, "中国红", "_中国红_被单击"},
    };
    for (const Skin& s : skins)
        form.Add(s.id, s.name, kButton).At(s.left, s.top, 63, 26).State(V).Data(CaptionButton(s.caption)).On(qy::button::kClicked, s.handler);
    return form;
}

}  // namespace forms
