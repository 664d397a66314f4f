#include "units/byte_limited_input.h"

#include <algorithm>
#include <climits>
#include <string>

#include "runtime/gbk.h"
#include "runtime/win32_handles.h"

namespace qy {

namespace {
std::string ClipboardText(HWND owner) {
    std::string text;
    ClipboardScope clipboard(owner);
    if (!clipboard.opened()) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    return text;
}

// Bytes of the first `characters` characters of the text in the ANSI code page.
int64_t BytesOf(const std::wstring& text, size_t characters) {
    characters = std::min(characters, text.size());
    if (characters == 0) return 0;
    return WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(characters), nullptr, 0, nullptr, nullptr);
}
}  // namespace

void ByteLimitedInput::Take(HWND edit) {
    edit_ = edit;
    ansiProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC));
    unicodeProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
}

int64_t ByteLimitedInput::Room(const Limit& limit) const {
    if (limit.maxLength <= 0) return INT64_MAX;
    int length = GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(edit_, &text[0], length + 1), 0)));
    DWORD from = 0, to = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    int64_t selected = BytesOf(text, to) - BytesOf(text, from);
    return static_cast<int64_t>(limit.maxLength) - (BytesOf(text, text.size()) - selected);
}

bool ByteLimitedInput::Accepts(const Limit& limit, unsigned code, int bytes) const {
    return (!limit.accepts || limit.accepts(limit.mode, code)) && Room(limit) >= bytes;
}

LRESULT ByteLimitedInput::Typed(UINT message, WPARAM wParam, LPARAM lParam, const Limit& limit) {
    unsigned code = LOWORD(wParam);
    bool single = message == WM_CHAR && code <= 0xFF;
    if (single && trail_ == kDropTrail) {
        trail_ = kNoTrail;
        return 0;
    }
    if (single && trail_ == kAwaitTrail) {
        trail_ = kNoTrail;
        return TypeDoubleByte(lead_, static_cast<uint8_t>(code), lParam);
    }
    if (code > 0xFF) {
        if (!Accepts(limit, code, 2)) return 0;
        return TypeDoubleByte(static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code), lParam);
    }
    if (single && IsGbkLeadByte(static_cast<uint8_t>(code))) {
        lead_ = static_cast<uint8_t>(code);
        trail_ = Accepts(limit, code, 2) ? kAwaitTrail : kDropTrail;
        return 0;
    }
    bool pass = code >= 32 ? Accepts(limit, code, 1) : code != '\r' || !limit.multiLine || Room(limit) >= 2;
    return pass ? CallWindowProcA(ansiProc_, edit_, message, wParam, lParam) : 0;
}

LRESULT ByteLimitedInput::TypeDoubleByte(uint8_t lead, uint8_t trail, LPARAM lParam) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    WCHAR character = 0;
    if (MultiByteToWideChar(CP_ACP, 0, bytes, 2, &character, 1) != 1) return 0;
    return CallWindowProcW(unicodeProc_, edit_, WM_CHAR, character, lParam);
}

// Pastes the first line only into a single-line control, cut at a character
// boundary where the limit ends.
bool ByteLimitedInput::Pasted(const Limit& limit) {
    if (limit.maxLength <= 0 || (GetWindowLongPtrA(edit_, GWL_STYLE) & ES_READONLY)) return false;
    std::string text = ClipboardText(edit_);
    if (!limit.multiLine) text = text.substr(0, text.find_first_of("\r\n"));
    int64_t room = std::max<int64_t>(Room(limit), 0);
    size_t keep = 0;
    while (keep < text.size()) {
        size_t next = keep + static_cast<size_t>(GbkCharLength(text.c_str() + keep));
        if (static_cast<int64_t>(next) > room) break;
        keep = next;
    }
    text.resize(keep);
    if (!text.empty()) SendMessageA(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
}

}  // namespace qy
