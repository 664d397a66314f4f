// The application's event subroutines. Each receives the address of its
// event's argument words (first argument first) and returns no value, so the
// default handling of the event goes on.
#pragma once
#include <cstdint>

namespace program {

typedef void (*EventHandler)(const int32_t* args);

// The start-up subroutine up to its message loop: the runtime, the global
// objects, the clean-up at exit, the skin engine and the main window.
void StartProgram();
// Its steps: the global objects, the skin engine, and the clean-up the
// runtime calls at exit.
void CreateGlobals();
void LoadSkinEngine();
void __cdecl ReleaseGlobals();

// Start-up and shut-down of the main window.
void OnMainWindowCreated(const int32_t*);
void OnMainWindowDestroyed(const int32_t*);

// Options of the shape and its sampling.
void OnModeClicked(const int32_t*);
void OnBoldClicked(const int32_t*);
void OnItalicClicked(const int32_t*);
void OnStrikeoutClicked(const int32_t*);
void OnUnderlineClicked(const int32_t*);
void OnFontSizeScrolled(const int32_t*);
void OnFontSizeTyped(const int32_t*);
void OnFontSizeWheel(const int32_t* args);
void OnPictureWidthScrolled(const int32_t*);
void OnPictureHeightScrolled(const int32_t*);
void OnPictureWidthTyped(const int32_t*);
void OnPictureHeightTyped(const int32_t*);
void OnPictureWidthWheel(const int32_t* args);
void OnPictureHeightWheel(const int32_t* args);
void OnLockClicked(const int32_t*);
void OnFontClicked(const int32_t*);
void OnChangePictureClicked(const int32_t*);
// What 换图 does once a file is chosen: the picture in the named file (none
// if it does not decode) replaces the current one and the art is recomposed.
void LoadPictureFile(const char* file);
// A file dropped on the main window; its argument is the file's name.
void OnFileDropped(const int32_t* args);
void OnDefaultsClicked(const int32_t*);
// The follow-ups as handlers of their own.
void OnRegenerateClicked(const int32_t*);
void OnRedrawClicked(const int32_t*);
void OnFocusClicked(const int32_t*);
void OnComposeOnly(const int32_t*);
void OnPreviewOnly(const int32_t*);
void OnFillWheel(const int32_t*);
void OnShapeWheel(const int32_t*);

// Output.
void OnCopyClicked(const int32_t*);
void OnNotepadClicked(const int32_t*);
void OnClearClicked(const int32_t*);
void OnDisplayDoubleClicked(const int32_t*);

// The keyboard commands and the main window's own handlers.
void OnKeyReleased(const int32_t* args);
void OnHelpKeyReleased(const int32_t* args);
void OnMainWindowActivated(const int32_t*);
void OnMainWindowResized(const int32_t*);
void OnFullScreenClicked(const int32_t*);
void OnRestorePressed(const int32_t*);
void OnTopmostClicked(const int32_t*);
void OnSkinButtonClicked(const int32_t*);
void OnHelpClicked(const int32_t*);

// The style and colour window.
void OnStyleWindowCreated(const int32_t*);
void OnTextColourChosen(const int32_t*);
void OnBackgroundColourChosen(const int32_t*);
void OnUnitTextColourChosen(const int32_t*);
void OnUnitBackgroundChosen(const int32_t*);
void OnStyleCaptionClicked(const int32_t*);
void OnBlueStyleClicked(const int32_t*);
void OnGreenStyleClicked(const int32_t*);
void OnSilverStyleClicked(const int32_t*);
void OnNoStyleClicked(const int32_t*);
void OnOtherSkinsClicked(const int32_t*);

// The skin window.
void OnSkinWindowCreated(const int32_t*);
void OnBeautifulBlackClicked(const int32_t*);
void OnPurpleGlowClicked(const int32_t*);
void OnRainbowBannerClicked(const int32_t*);
void OnQqPlayerClicked(const int32_t*);
void OnWarmHomeClicked(const int32_t*);
void OnQq2008Clicked(const int32_t*);
void OnChinaRedClicked(const int32_t*);
void OnSkinCloseClicked(const int32_t*);

// The help window.
void OnHelpWindowCreated(const int32_t*);
void OnHelpWindowResized(const int32_t*);

}  // namespace program
