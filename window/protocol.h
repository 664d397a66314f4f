// The numbers windows and units share with the program and its forms: the
// common events, the window's own events, the common property indices, border
// kinds and picture modes. No platform header, so the form compiler can use it.
#pragma once
#include <cstdint>

namespace qy {

// Events every unit and the window itself raise.
enum CommonEvent : int32_t {
    kEventLeftDown = -1,
    kEventLeftUp = -2,
    kEventDoubleClick = -3,
    kEventRightDown = -4,
    kEventRightUp = -5,
    kEventMouseMove = -6,
    kEventGotFocus = -7,
    kEventLostFocus = -8,
    kEventKeyDown = -9,
    kEventKeyUp = -10,
    kEventChar = -11,
    kEventWheel = -12,
};

// The window's own events; a menu item raises kMenuItemChosen.
enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowMayClose = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowResized = 4,
    kWindowActivated = 5,
    kWindowDeactivated = 6,
    kWindowIdle = 7,
    kWindowFirstActivation = 8,
    kWindowTrayIcon = 9,
    kWindowShown = 10,
    kWindowHidden = 11,
    kWindowCloseRequested = 12,
    // Files were dropped on the window; the argument is the first file's
    // name as GBK text. Only a window with this event bound accepts drops.
    kWindowFilesDropped = 13,
};
constexpr int32_t kMenuItemChosen = 0;
// Own event 0 of the button-like units, which the window's keyboard handling
// raises when a mnemonic or arrow key checks one.
constexpr int32_t kUnitClicked = 0;

// Property indices every unit has; a type's own properties follow them.
enum CommonProperty : int32_t {
    kPropertyLeft = 0,
    kPropertyTop = 1,
    kPropertyWidth = 2,
    kPropertyHeight = 3,
    kPropertyTag = 4,
    kPropertyVisible = 5,
    kPropertyDisabled = 6,
    kPropertyMousePointer = 7,
    kCommonPropertyCount = 8,
};

// Border kinds of the units that have one; only the label has the gradient frame.
enum BorderKind : int32_t {
    kNoBorder = 0,
    kSunkenBorder = 1,
    kRaisedBorder = 2,
    kThinSunkenBorder = 3,
    kSunkenRaisedBorder = 4,
    kLineBorder = 5,
    kGradientBorder = 6,
};

// How the label and the transparent label set off their text.
enum TextEffect : int32_t {
    kEffectPlain = 0,
    kEffectRaised = 1,    // a white copy one pixel right and down, under the text
    kEffectEngraved = 2,  // a white copy under the text moved one pixel right and down
    kEffectShadow = 3,    // a black copy two pixels right and down
};

// How a window or unit places its background picture.
enum PictureMode : int32_t {
    kPictureTopLeft = 0,
    kPictureTiled = 1,
    kPictureCentred = 2,
    kPictureStretched = 3,
};

// The label's picture modes, in its own order.
enum LabelPictureMode : int32_t {
    kLabelPictureTopLeft = 0,
    kLabelPictureStretched = 1,
    kLabelPictureTiled = 2,
};

// The window's own property indices, counted after the common ones, and the
// choices of its Border: none, or a caption bar over a resizable or fixed
// frame, plain, as a tool window or with a sunken client edge.
namespace window {
enum Property : int32_t {
    kCaption, kBorder, kBackColor, kBackPicture, kPictureMode, kBackMusic, kMusicMode, kControlBox, kMaxButton,
    kMinButton, kPosition, kClosable, kIcon, kEnterMovesFocus, kEscCloses, kF1OpensHelp, kHelpFile, kHelpContext,
    kShowInTaskbar, kDragToMove, kShape, kAlwaysOnTop, kOwn22, kWindowClass,
};
enum Border : int32_t {
    kNoFrame = 0,
    kResizable = 1,
    kFixed = 2,
    kResizableTool = 3,
    kFixedTool = 4,
    kResizableEdged = 5,
    kFixedEdged = 6,
};
// The window's Position: shown as it is, centred on the screen, minimised, maximised.
enum Position : int32_t {
    kShowNormally = 0,
    kCentred = 1,
    kMinimised = 2,
    kMaximised = 3,
};
}  // namespace window

// Sub-properties of a menu item.
enum MenuItemProperty : int32_t {
    kMenuItemCaption = 0,
    kMenuItemChecked = 1,
    kMenuItemDisabled = 2,
    kMenuItemVisible = 3,
};

// Fields of a font property by sub-index, in the order of a font record.
enum FontSubProperty : int32_t {
    kFontFieldAngle = 0,
    kFontFieldBold = 1,
    kFontFieldItalic = 2,
    kFontFieldStrikeout = 3,
    kFontFieldUnderline = 4,
    kFontFieldSize = 5,
    kFontFieldFace = 6,
};

}  // namespace qy
