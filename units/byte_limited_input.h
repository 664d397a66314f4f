// Typing and pasting into a Unicode edit control within a limit of GBK
// bytes, shared by the edit box and the combo box's edit field: the control
// counts characters, the units' MaxLength counts bytes.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qy {

class ByteLimitedInput {
public:
    // What one unit allows, read afresh for every message.
    struct Limit {
        int32_t maxLength;  // 0 or less: no limit
        bool multiLine;     // Enter adds a line break; a paste keeps all its lines
        // Which typed characters (code 32 and above) pass; null: all of them.
        bool (*accepts)(int32_t mode, unsigned code);
        int32_t mode;
    };

    // Takes the control's own procedures; call before the unit subclasses it.
    void Take(HWND edit);

    // WM_CHAR and WM_IME_CHAR: a typed character passes the filter and the
    // room the limit leaves. A double-byte character reaches the window as a
    // lead byte and then a trail byte, or as both in one message with the
    // lead byte high; it goes to the control whole, in its Unicode form, or
    // not at all.
    LRESULT Typed(UINT message, WPARAM wParam, LPARAM lParam, const Limit& limit);
    // WM_PASTE: pastes what fits and returns true, or returns false when the
    // control may paste by itself (no limit, or read-only).
    bool Pasted(const Limit& limit);

private:
    enum Trail { kNoTrail, kAwaitTrail, kDropTrail };

    // Bytes that input may still add before reaching the limit, counting the
    // selection it replaces.
    int64_t Room(const Limit& limit) const;
    bool Accepts(const Limit& limit, unsigned code, int bytes) const;
    LRESULT TypeDoubleByte(uint8_t lead, uint8_t trail, LPARAM lParam);

    HWND edit_ = nullptr;
    // The control's procedure as the unit's ANSI subclass reaches it, and its
    // Unicode one, for whole double-byte characters.
    WNDPROC ansiProc_ = nullptr;
    WNDPROC unicodeProc_ = nullptr;
    Trail trail_ = kNoTrail;
    uint8_t lead_ = 0;
};

}  // namespace qy
