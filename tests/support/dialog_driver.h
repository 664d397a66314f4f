// Answers the modal dialog a test opens on its own thread, as a user would:
// a thread timer, which keeps firing inside the dialog's own message loop,
// hands the first dialog window ("#32770") that shows up to the test's
// action. The test programs' message-box watch presses OK on every dialog it
// sees activated; this dialog is kept from it, while message boxes the
// dialog itself shows still reach it. A dialog the action left open is
// cancelled after a while, so a broken answer fails the test instead of
// hanging it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace qytest {

class DialogDriver {
public:
    typedef std::function<void(HWND dialog)> Action;

    explicit DialogDriver(Action action) : action_(std::move(action)) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, &Cbt, nullptr, GetCurrentThreadId());
        timer_ = SetTimer(nullptr, 0, 100, &Tick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        if (hook_) UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Whether the dialog was handed to the action, and whether it had to be cancelled.
    int answered() const { return answered_ ? 1 : 0; }
    int abandoned() const { return abandoned_; }

    static std::string Text(HWND window) {
        char text[1024] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static void Press(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // Selects a combo box item the way a user's choice does: the selection,
    // then the notification the dialog reacts to.
    static void Choose(HWND dialog, int comboId, int index) {
        HWND combo = GetDlgItem(dialog, comboId);
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

private:
    static bool IsDialog(HWND window) {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        return std::string(name) == "#32770";
    }

    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
        DialogDriver* self = current_;
        HWND window = reinterpret_cast<HWND>(wParam);
        if (self && code == HCBT_ACTIVATE && IsDialog(window)) {
            if (!self->dialog_) self->dialog_ = window;
            if (window == self->dialog_) return 0;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        if (!self || self->busy_ || !self->dialog_ || !IsWindow(self->dialog_) || !IsWindowVisible(self->dialog_))
            return;
        self->busy_ = true;
        if (!self->answered_) {
            self->answered_ = true;
            self->action_(self->dialog_);
        } else if (++self->waited_ > 100) {
            ++self->abandoned_;
            self->waited_ = 0;
            Press(self->dialog_, IDCANCEL);
        }
        self->busy_ = false;
    }

    static inline DialogDriver* current_ = nullptr;
    Action action_;
    HHOOK hook_ = nullptr;
    UINT_PTR timer_ = 0;
    HWND dialog_ = nullptr;
    bool answered_ = false;
    int waited_ = 0;
    int abandoned_ = 0;
    bool busy_ = false;
};

}  // namespace qytest
