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
    "ReleaseDC",
#define QY_TEXT_VALUE(name, text) text,
    QY_PROGRAM_TEXTS(QY_TEXT_VALUE)
#undef QY_TEXT_VALUE
    {
        {0x55, 0x8B, 0xEC, 0x68, 0x00, 0x00, 0x00, 0x00, 0x53, 0x51, 0x56, 0x57, 0xD9, 0x7D, 0xFC, 0xDB, 0xE3, 0xB9},
        {0x2B, 0xE1, 0x8D, 0x75, 0x08, 0x8D, 0x3C, 0x24, 0xFC, 0xF3, 0xA4},
        {0xFF, 0x75, 0xF4},
        {0x68},
        {0xB8},
        {0xFF, 0xD0, 0x8D, 0x65, 0xEC, 0x5F, 0x5E, 0x59, 0x5B, 0xD9, 0x6D, 0xFC, 0x8B, 0xE5, 0x5D},
        {0xC2},
        {0xC3},
    },
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
    {
#include "skins/constant_block.inc"
    },
    {1, kSkinEngineBytes, {
#include "embedded/skin_engine.inc"
    }},
    {1, kRippleEngineBytes, {
#include "embedded/ripple_engine.inc"
    }},
};

}  // namespace program
