#include "media/sound/wave_player.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "media/sound/wave_data.h"

namespace qy::sound {

namespace {
constexpr int kBufferCount = 20;
constexpr uint32_t kBufferSize = 15360;
// A sound whose buffers stop completing for this long is given up.
constexpr DWORD kStallTimeoutMs = 8888;

struct BufferSlot {
    WAVEHDR header;
    char bytes[kBufferSize];
};

struct WavePlayer {
    std::vector<uint8_t> samples;
    std::vector<uint8_t> format;
    bool loop = false;
    BufferSlot* slots = nullptr;
    HWAVEOUT device = nullptr;
    KernelHandle freeBuffers;
    KernelHandle stopEvent;
    CRITICAL_SECTION lock;
    LONG freeCount = kBufferCount;
    int ringIndex = 0;
    uint32_t queued = 0;
    KernelHandle thread;
    DWORD threadId = 0;
    // Links of the list of playing sounds.
    WavePlayer* previous = nullptr;
    WavePlayer* next = nullptr;

    WavePlayer() { InitializeCriticalSection(&lock); }
    // The device is closed before the handles its callback uses go away.
    ~WavePlayer() {
        if (device) waveOutClose(device);
        delete[] slots;
        DeleteCriticalSection(&lock);
    }
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;
};

// Every player whose feeding thread is running; guarded by the runtime's
// sound lock. Linked through the players themselves, so adding one cannot fail.
WavePlayer* firstPlayer = nullptr;

void AddPlayer(WavePlayer* player) {
    player->previous = nullptr;
    player->next = firstPlayer;
    if (firstPlayer) firstPlayer->previous = player;
    firstPlayer = player;
}

void RemovePlayer(WavePlayer* player) {
    if (player->previous) player->previous->next = player->next;
    else firstPlayer = player->next;
    if (player->next) player->next->previous = player->previous;
    player->previous = player->next = nullptr;
}

class SoundListLock {
public:
    SoundListLock() { EnterCriticalSection(&Runtime().soundLock()); }
    ~SoundListLock() { LeaveCriticalSection(&Runtime().soundLock()); }
    SoundListLock(const SoundListLock&) = delete;
    SoundListLock& operator=(const SoundListLock&) = delete;
};

void CALLBACK BufferDone(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message != WOM_DONE) return;
    auto* player = reinterpret_cast<WavePlayer*>(instance);
    EnterCriticalSection(&player->lock);
    ++player->freeCount;
    LeaveCriticalSection(&player->lock);
    ReleaseSemaphore(player->freeBuffers.get(), 1, nullptr);
}

LONG FreeCount(WavePlayer* player) {
    EnterCriticalSection(&player->lock);
    LONG count = player->freeCount;
    LeaveCriticalSection(&player->lock);
    return count;
}

void UnprepareAll(WavePlayer* player) {
    for (int i = 0; i < kBufferCount; ++i) {
        WAVEHDR& header = player->slots[i].header;
        if (header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(player->device, &header, sizeof header);
    }
}

// Queues the next stretch of samples into the buffer at the ring index;
// false when every sample has been queued already.
bool QueueNext(WavePlayer* player) {
    BufferSlot& slot = player->slots[player->ringIndex];
    if (slot.header.dwFlags & WHDR_PREPARED)
        waveOutUnprepareHeader(player->device, &slot.header, sizeof slot.header);
    uint32_t left = static_cast<uint32_t>(player->samples.size()) - player->queued;
    uint32_t length = std::min(kBufferSize, left);
    if (length < 1) return false;
    std::memcpy(slot.bytes, player->samples.data() + player->queued, length);
    std::memset(&slot.header, 0, sizeof slot.header);
    slot.header.lpData = slot.bytes;
    slot.header.dwBufferLength = length;
    waveOutPrepareHeader(player->device, &slot.header, sizeof slot.header);
    waveOutWrite(player->device, &slot.header, sizeof slot.header);
    player->queued += length;
    EnterCriticalSection(&player->lock);
    --player->freeCount;
    LeaveCriticalSection(&player->lock);
    player->ringIndex = (player->ringIndex + 1) % kBufferCount;
    return true;
}

// The semaphore saturates at its maximum, so all twenty releases together
// leave it full whatever count it still held.
void RestartFromFirstByte(WavePlayer* player) {
    player->queued = 0;
    player->ringIndex = 0;
    EnterCriticalSection(&player->lock);
    player->freeCount = kBufferCount;
    LeaveCriticalSection(&player->lock);
    for (int i = 0; i < kBufferCount; ++i) ReleaseSemaphore(player->freeBuffers.get(), 1, nullptr);
}

void Feed(WavePlayer* player) {
    HANDLE events[2] = {player->freeBuffers.get(), player->stopEvent.get()};
    for (;;) {
        DWORD signalled = WaitForMultipleObjects(2, events, FALSE, kStallTimeoutMs);
        if (signalled != WAIT_OBJECT_0) {
            waveOutPause(player->device);
            waveOutReset(player->device);
            UnprepareAll(player);
            return;
        }
        if (FreeCount(player) < 1) continue;
        if (QueueNext(player)) continue;
        if (FreeCount(player) < kBufferCount) continue;
        if (!player->loop) {
            UnprepareAll(player);
            return;
        }
        RestartFromFirstByte(player);
    }
}

DWORD WINAPI FeedingThread(void* parameter) {
    auto* player = static_cast<WavePlayer*>(parameter);
    Feed(player);
    {
        SoundListLock guard;
        RemovePlayer(player);
    }
    delete player;
    return 0;
}

// Everything but the device and the thread; null when memory runs out.
WavePlayer* NewPlayer(const WaveData& wave, int option) {
    WavePlayer* player = new (std::nothrow) WavePlayer;
    if (!player) return nullptr;
    try {
        player->samples.assign(wave.samples, wave.samples + wave.sampleCount);
        player->format = wave.format;
        player->slots = new BufferSlot[kBufferCount]();
    } catch (const std::bad_alloc&) {
        delete player;
        return nullptr;
    }
    player->loop = option != 0;
    player->freeBuffers.reset(CreateSemaphoreA(nullptr, kBufferCount, kBufferCount, nullptr));
    player->stopEvent.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!player->freeBuffers || !player->stopEvent) {
        delete player;
        return nullptr;
    }
    return player;
}

bool StartPlayer(WavePlayer* player) {
    // Without a device that takes the format there is nothing to play: the
    // player goes at once and the caller learns that nothing plays. An
    // impossible format is refused here because Wine's wave mapper opens
    // it and then aborts the process while converting.
    if (!FormatIsPlayable(player->format)) return false;
    auto* format = reinterpret_cast<const WAVEFORMATEX*>(player->format.data());
    if (waveOutOpen(&player->device, WAVE_MAPPER, format, reinterpret_cast<DWORD_PTR>(&BufferDone),
                    reinterpret_cast<DWORD_PTR>(player), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        player->device = nullptr;
        return false;
    }
    player->thread.reset(CreateThread(nullptr, 0, &FeedingThread, player, CREATE_SUSPENDED, &player->threadId));
    if (!player->thread) return false;
    {
        SoundListLock guard;
        AddPlayer(player);
    }
    ResumeThread(player->thread.get());
    return true;
}
}  // namespace

bool PlayWave(const void* data, int length, int option) {
    if (!data || length <= 0) return false;
    WaveData wave;
    if (!ParseWave(static_cast<const uint8_t*>(data), static_cast<size_t>(length), &wave)) return false;
    WavePlayer* player = NewPlayer(wave, option);
    if (!player) return false;
    if (!StartPlayer(player)) {
        delete player;
        return false;
    }
    return true;
}

void StopAllSounds(bool wait) {
    std::vector<KernelHandle> threads;
    {
        SoundListLock guard;
        for (WavePlayer* player = firstPlayer; player; player = player->next) {
            SetEvent(player->stopEvent.get());
            // The feeding thread closes its own handle as it ends; a copy
            // stays valid for waiting.
            HANDLE copy = nullptr;
            if (!wait || !DuplicateHandle(GetCurrentProcess(), player->thread.get(), GetCurrentProcess(), &copy,
                                          SYNCHRONIZE, FALSE, 0))
                continue;
            KernelHandle owned(copy);
            try {
                threads.push_back(std::move(owned));
            } catch (const std::bad_alloc&) {
                // Without room to keep the copy, this sound is not waited for.
            }
        }
    }
    for (const KernelHandle& thread : threads) WaitForSingleObject(thread.get(), INFINITE);
}

int ActiveSoundCount() {
    SoundListLock guard;
    int count = 0;
    for (WavePlayer* player = firstPlayer; player; player = player->next) ++count;
    return count;
}

}  // namespace qy::sound
