// Everything the runtime reaches in the layers above it: the window system,
// picture conversion, sound and the shut-down release of media. One record
// is installed at start-up, when the runtime first notifies the core
// library; a field left null answers as if that service were absent.
#pragma once
#include "runtime/window_system.h"

namespace qy {

struct RuntimeSystem {
    WindowSystem* windows = nullptr;
    // Picture data in a byte-set block to a screen-compatible bitmap handle
    // (kNotifyConvertPicture); null when the data is no picture.
    void* (*convertPicture)(void* byteSet) = nullptr;
    // Wave or music data; true when playing started (kNotifyPlaySound).
    bool (*playSound)(const void* data, int length, int option) = nullptr;
    // Shut-down: the objects units registered with the runtime (decoded
    // pictures), then the media players.
    void (*releaseObjects)() = nullptr;
    void (*releaseMedia)() = nullptr;
};

void InstallRuntimeSystem(const RuntimeSystem& system);
// The installed record; tests may replace single services in it.
RuntimeSystem& InstalledSystem();

}  // namespace qy
