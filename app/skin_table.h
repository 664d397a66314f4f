// The program's seven skins, in the order of the skin window's buttons: the
// skin maker writes each skin file from its row, the constant block embeds
// those files in this order, and applying a skin sets its edit-box colours.
// It includes nothing but the standard library, since the skin maker is
// built with the build machine's compiler.
#pragma once
#include <cstdint>

namespace program {

enum Skin { kBeautifulBlack, kPurpleGlow, kRainbowBanner, kQqPlayer, kWarmHome, kQq2008, kChinaRed, kSkinCount };

struct SkinRgb {
    uint8_t red, green, blue;
};

struct SkinDesign {
    const char* file;      // NAME of the generated skins/NAME.she and .inc
    const char* constant;  // kSkin<constant>Bytes in the generated skins/skins.h
    const char* title;     // the skin button's caption
    bool hueGradient;      // caption gradients run around the colour wheel
    // Active caption start, end; inactive caption start, end; caption text
    // active, inactive; frame outer, inner; button face, glyph, hot face;
    // window background; control face, control text; text.
    SkinRgb colours[15];
    SkinRgb shapeBox;  // background of 编辑框2
    SkinRgb fillBox;   // background of 编辑框3 and 编辑框4
};

inline constexpr SkinDesign kSkinDesigns[kSkinCount] = {
    {"beautiful_black", "BeautifulBlack", "美丽黑色", false,
     {{58, 58, 64}, {6, 6, 8}, {78, 78, 82}, {46, 46, 50}, {238, 238, 238}, {150, 150, 150},
      {0, 0, 0}, {62, 62, 66}, {28, 28, 32}, {224, 224, 224}, {92, 92, 100}, {56, 56, 60},
      {44, 44, 48}, {232, 232, 232}, {228, 228, 228}},
     {240, 240, 240}, {250, 250, 250}},
    {"purple_glow", "PurpleGlow", "紫色流光", false,
     {{84, 22, 140}, {206, 128, 236}, {128, 100, 150}, {192, 172, 208}, {255, 255, 255}, {232, 222, 238},
      {58, 18, 90}, {140, 80, 182}, {108, 48, 160}, {255, 255, 255}, {172, 102, 222}, {238, 228, 246},
      {222, 202, 238}, {60, 20, 90}, {50, 20, 80}},
     {247, 245, 248}, {254, 252, 255}},
    {"rainbow_banner", "RainbowBanner", "七彩条幅", true,
     {{228, 36, 36}, {168, 40, 228}, {222, 150, 150}, {190, 150, 222}, {255, 255, 255}, {250, 250, 250},
      {60, 60, 60}, {118, 118, 198}, {255, 255, 255}, {60, 60, 60}, {255, 230, 120}, {250, 250, 240},
      {255, 250, 220}, {40, 40, 40}, {40, 40, 40}},
     {239, 239, 239}, {244, 244, 244}},
    {"qq_player", "QqPlayer", "QQ影音", false,
     {{118, 188, 240}, {202, 232, 252}, {190, 214, 234}, {226, 238, 248}, {20, 50, 90}, {100, 120, 140},
      {70, 140, 200}, {166, 210, 244}, {150, 204, 244}, {20, 60, 110}, {232, 246, 255}, {236, 246, 252},
      {214, 234, 250}, {20, 50, 90}, {20, 50, 90}},
     {219, 236, 255}, {236, 245, 255}},
    {"warm_home", "WarmHome", "温馨家园", false,
     {{246, 168, 98}, {252, 226, 182}, {226, 206, 180}, {242, 230, 212}, {92, 46, 10}, {140, 116, 90},
      {170, 100, 50}, {240, 200, 150}, {250, 214, 170}, {120, 60, 20}, {255, 188, 118}, {253, 246, 232},
      {250, 236, 210}, {92, 46, 10}, {92, 46, 10}},
     {236, 233, 204}, {244, 242, 225}},
    {"qq2008", "Qq2008", "QQ2008", false,
     {{0, 108, 230}, {72, 172, 255}, {110, 150, 200}, {160, 196, 230}, {255, 255, 255}, {226, 236, 246},
      {0, 70, 160}, {40, 130, 230}, {30, 130, 240}, {255, 255, 255}, {112, 190, 255}, {226, 238, 252},
      {200, 226, 250}, {0, 50, 120}, {0, 40, 100}},
     {170, 213, 244}, {214, 235, 250}},
    {"china_red", "ChinaRed", "中国红", false,
     {{150, 0, 0}, {222, 30, 30}, {150, 82, 82}, {192, 122, 122}, {255, 215, 0}, {222, 190, 120},
      {100, 0, 0}, {190, 20, 20}, {170, 10, 10}, {255, 215, 0}, {232, 60, 40}, {255, 240, 230},
      {250, 222, 200}, {130, 0, 0}, {120, 0, 0}},
     {237, 237, 237}, {244, 244, 244}},
};

}  // namespace program
