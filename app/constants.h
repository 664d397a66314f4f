// The program's constant block: one contiguous read-only region that starts
// with the empty text and the empty byte set compiled code passes for empty
// variables, followed by every other constant of the program.
#pragma once
#include <cstdint>

#include "assets/program_assets.h"
#include "embedded/ripple_engine.h"
#include "app/skin_table.h"
#include "embedded/skin_engine.h"
#include "skins/skins.h"

namespace program {

// The texts of the program, by field name.
#define QY_PROGRAM_TEXTS(X)                                        \
    X(instanceEventName, "青砚语进程标识为砌字成图是否重复运行") \
    X(pictureFolder, "C:\\Users\\Administrator\\Desktop")          \
    X(songTi, "宋体")                                              \
    X(newSongTi, "新宋体")                                         \
    X(textMode, "砌字")                                            \
    X(pictureMode, "成图")                                         \
    X(textSoundTag, "砌字音")                                      \
    X(pictureSoundTag, "成图音")                                   \
    X(defaultShapeText, "我爱你")                                  \
    X(defaultFillText, "顶")                                       \
    X(oneSpace, " ")                                               \
    X(twoSpaces, "  ")                                             \
    X(lineEnd, "\r\n")                                             \
    X(nine, "9")                                                   \
    X(fortyFour, "44")                                             \
    X(thirty, "30")                                                \
    X(exportFileName, "砌字成图")                                  \
    X(notepadCommand, "Notepad.exe ")                              \
    X(waterInit, "WaterInit")                                      \
    X(waterTimer, "WaterTimer")                                    \
    X(waterMouseAction, "WaterMouseAction")                        \
    X(waterPainted, "WaterPainted")                                \
    X(handleMember, "Handle")                                      \
    X(skinAttach, "SkinH_AttachRes")

// A byte set as it lies in constant data: its header, then its bytes.
template <int N>
struct __attribute__((packed)) EmbeddedBytes {
    int32_t dimensions;
    int32_t length;
    uint8_t bytes[N];
};

// The fixed pieces of machine code a method thunk is assembled from; the
// builder writes the immediates between them.
struct __attribute__((packed)) MethodThunkPieces {
    // push ebp; mov ebp,esp; push 0 (the saved FPU control word at [ebp-4]);
    // push ebx/ecx/esi/edi; fnstcw [ebp-4]; fninit; mov ecx, imm32 follows.
    uint8_t enter[18];
    // sub esp,ecx; lea esi,[ebp+8]; lea edi,[esp]; cld; rep movsb.
    uint8_t copyArguments[11];
    // push dword [ebp-12]: the caller's ECX as it was saved.
    uint8_t pushEcx[3];
    uint8_t pushImmediate[1];
    uint8_t moveEax[1];
    // call eax; lea esp,[ebp-20]; pop edi/esi/ecx/ebx; fldcw [ebp-4];
    // mov esp,ebp; pop ebp.
    uint8_t callAndRestore[15];
    uint8_t returnRemoving[1];  // ret imm16 follows
    uint8_t returnKeeping[1];
};

struct __attribute__((packed)) ProgramConstants {
    char emptyText[1];
    int32_t emptyByteSet[2];  // dimension count 1, length 0
    // DLL file names and export names of the DLL command declarations.
    char kernel32[9];
    char user32Dll[11];
    char openEventA[11];
    char createEventA[13];
    char closeHandle[12];
    char lstrcpynPlain[9];  // not "lstrcpyn": windows.h makes that a macro
    char setWindowLongA[15];
    char setTimer[9];
    char callWindowProcA[16];
    char getDC[6];
    char killTimer[10];
    char lstrcpynA[10];
    char rtlMoveMemory[14];
    char virtualAlloc[13];
    char getModuleHandleA[17];
    char loadLibraryA[13];
    char getProcAddress[15];
    char virtualFree[12];
    char releaseDC[10];
#define QY_TEXT_FIELD(name, text) char name[sizeof(text)];
    QY_PROGRAM_TEXTS(QY_TEXT_FIELD)
#undef QY_TEXT_FIELD
    MethodThunkPieces methodThunk;
    // The shape picture of picture mode and the two sounds that end a composition.
    EmbeddedBytes<kDefaultPictureBytes> defaultPicture;
    EmbeddedBytes<kComposeSoundBytes> textSound;
    EmbeddedBytes<kPictureSoundBytes> pictureSound;
    // The pictures the ripples show: the 生成 label's, and the skin window's
    // background and ripple.
    EmbeddedBytes<kLabelRippleBytes> labelRipple;
    EmbeddedBytes<kSkinBackgroundBytes> skinBackground;
    EmbeddedBytes<kSkinRippleBytes> skinRipple;
    // The skin files of the seven skins, in the order of app/skin_table.h.
    EmbeddedBytes<kSkinFileBytes> skins[kSkinCount];
    // The skin engine's image, mapped from memory at start-up.
    EmbeddedBytes<kSkinEngineBytes> skinEngine;
    // The ripple engine's image, mapped from memory by each ripple object.
    EmbeddedBytes<kRippleEngineBytes> rippleEngine;
};

extern "C" const ProgramConstants ProgramConstantBlock;

inline const void* EmptyByteSet() { return ProgramConstantBlock.emptyByteSet; }

}  // namespace program
