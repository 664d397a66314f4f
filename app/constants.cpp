#include "app/constants.h"

namespace program {

// Sorted by the linker right after the runtime's service table.
extern "C" __attribute__((section(".rdata$qy2"), used, aligned(4))) const ProgramConstants ProgramConstantBlock = {
    {0},
    {1, 0},
    "kernel32",
    "user32.dll",
    "OpenEventA",
    "CreateEventA",
    "CloseHandle",
    "lstrcpyn",
    "SetWindowLongA",
    "SetTimer",
    "CallWindowProcA",
    "GetDC",
    "KillTimer",
    "lstrcpynA",
    "RtlMoveMemory",
    "VirtualAlloc",
    "GetModuleHandleA",
    "LoadLibraryA",
    "GetProcAddress",
    "VirtualFree",
#define QY_TEXT_VALUE(name, text) text,
    QY_PROGRAM_TEXTS(QY_TEXT_VALUE)
#undef QY_TEXT_VALUE
    {1, kDefaultPictureBytes, {
#include "assets/default_picture.inc"
    }},
    {1, kComposeSoundBytes, {
#include "assets/compose_sound.inc"
    }},
    {1, kPictureSoundBytes, {
#include "assets/picture_sound.inc"
    }},
    {1, kLabelRippleBytes, {
#include "assets/label_ripple.inc"
    }},
    {1, kSkinBackgroundBytes, {
#include "assets/skin_background.inc"
    }},
    {1, kSkinRippleBytes, {
#include "assets/skin_ripple.inc"
    }},
    {1, kRippleEngineBytes, {
#include "embedded/ripple_engine.inc"
    }},
};

}  // namespace program
