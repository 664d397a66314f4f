// Which subroutine each event slot of the code area runs. Slots without an
// entry run nothing and let the event's default handling go on.
#include <array>

#include "app/handlers.h"
#include "forms/template_units.h"

namespace program {

namespace {
using namespace forms;

constexpr std::array<EventHandler, kEventSlotCount> BuildTable() {
    std::array<EventHandler, kEventSlotCount> t{};
    t[启动窗口_创建完毕] = OnMainWindowCreated;
    t[启动窗口_将被销毁] = OnMainWindowDestroyed;

    t[砌字成图_被单击] = OnModeClicked;
    t[粗_被单击] = OnBoldClicked;
    t[斜_被单击] = OnItalicClicked;
    t[删_被单击] = OnStrikeoutClicked;
    t[下_被单击] = OnUnderlineClicked;
    t[字符大小_滚动条位置被改变] = OnFontSizeScrolled;
    t[字符大小1_内容被改变] = OnFontSizeTyped;
    t[字符大小1_滚轮被滚动] = OnFontSizeWheel;
    t[图片宽_滚动条位置被改变] = OnPictureWidthScrolled;
    t[图片高_滚动条位置被改变] = OnPictureHeightScrolled;
    t[图片宽1_内容被改变] = OnPictureWidthTyped;
    t[图片高1_内容被改变] = OnPictureHeightTyped;
    t[图片宽1_滚轮被滚动] = OnPictureWidthWheel;
    t[图片高1_滚轮被滚动] = OnPictureHeightWheel;
    t[锁定比例_被单击] = OnLockClicked;
    t[字体_被单击] = OnFontClicked;
    t[换图_被单击] = OnChangePictureClicked;
    t[默认_被单击] = OnDefaultsClicked;
    t[接顶_被单击] = OnRegenerateClicked;
    t[反向_被单击] = OnRegenerateClicked;
    t[补齐_被单击] = OnRedrawClicked;
    t[说明5_被单击] = OnRedrawClicked;
    t[画板1_左键被按下] = OnRedrawClicked;
    t[复制1_被单击] = OnFocusClicked;
    t[说明1_被单击] = OnFocusClicked;
    t[说明2_被单击] = OnFocusClicked;
    t[别字本字_列表项被选择] = OnComposeOnly;
    t[分界色组合框_列表项被选择] = OnComposeOnly;
    t[生成_鼠标左键被放开] = OnComposeOnly;
    t[编辑框1_左键被按下] = OnPreviewOnly;
    t[编辑框2_左键被按下] = OnPreviewOnly;
    t[编辑框3_左键被按下] = OnPreviewOnly;
    t[编辑框4_左键被按下] = OnPreviewOnly;
    t[编辑框3_滚轮被滚动] = OnFillWheel;
    t[编辑框4_滚轮被滚动] = OnFillWheel;
    t[编辑框2_滚轮被滚动] = OnShapeWheel;

    t[复制_被单击] = OnCopyClicked;
    t[打开记事本_被单击] = OnNotepadClicked;
    t[清空_被单击] = OnClearClicked;
    t[编辑框1_被双击] = OnDisplayDoubleClicked;

    for (EventSlot keys : {编辑框1_放开某键, 别字本字_放开某键, 分界色组合框_放开某键, 图片宽1_放开某键, 图片高1_放开某键,
                           字符大小1_放开某键})
        t[keys] = OnKeyReleased;
    t[帮助编辑框1_放开某键] = OnHelpKeyReleased;
    t[启动窗口_被激活] = OnMainWindowActivated;
    t[启动窗口_尺寸被改变] = OnMainWindowResized;
    t[启动窗口_文件被拖放] = OnFileDropped;
    t[全屏_被单击] = OnFullScreenClicked;
    t[还原_左键被按下] = OnRestorePressed;
    t[置顶_被单击] = OnTopmostClicked;
    t[皮肤_按钮_被单击] = OnSkinButtonClicked;
    t[帮助_被单击] = OnHelpClicked;

    t[风格配色窗口_创建完毕] = OnStyleWindowCreated;
    t[颜色选择器1_颜色被改变] = OnTextColourChosen;
    t[颜色选择器2_颜色被改变] = OnBackgroundColourChosen;
    t[颜色选择器3_颜色被改变] = OnUnitTextColourChosen;
    t[颜色选择器4_颜色被改变] = OnUnitBackgroundChosen;
    t[风格说明1_被单击] = OnStyleCaptionClicked;
    t[风格说明2_被单击] = OnStyleCaptionClicked;
    t[风格说明3_被单击] = OnStyleCaptionClicked;
    t[风格说明4_被单击] = OnStyleCaptionClicked;
    t[蓝色风格_被单击] = OnBlueStyleClicked;
    t[绿色风格_被单击] = OnGreenStyleClicked;
    t[银色风格_被单击] = OnSilverStyleClicked;
    t[无风格_被单击] = OnNoStyleClicked;
    t[风格皮肤_按钮_被单击] = OnOtherSkinsClicked;

    t[皮肤窗口_创建完毕] = OnSkinWindowCreated;
    t[美丽黑色_被单击] = OnBeautifulBlackClicked;
    t[紫色流光_被单击] = OnPurpleGlowClicked;
    t[七彩条幅_被单击] = OnRainbowBannerClicked;
    t[pf_QQ影音_被单击] = OnQqPlayerClicked;
    t[温馨家园_被单击] = OnWarmHomeClicked;
    t[QQ2008_被单击] = OnQq2008Clicked;
    t[中国红_被单击] = OnChinaRedClicked;
    t[关闭_被单击] = OnSkinCloseClicked;

    t[帮助窗口_创建完毕] = OnHelpWindowCreated;
    t[帮助窗口_尺寸被改变] = OnHelpWindowResized;
    return t;
}
}  // namespace

extern "C" const std::array<EventHandler, kEventSlotCount> ProgramEventHandlers = BuildTable();

}  // namespace program
