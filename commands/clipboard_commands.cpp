// The text clipboard, opened for each call. Writing opens it for the runtime's
// hidden owner window: emptying a clipboard opened without an owner leaves it
// ownerless, and Windows then refuses the data that follows.
#include <windows.h>

#include <cstring>

#include "runtime/command_args.h"
#include "runtime/runtime_app.h"
#include "runtime/win32_handles.h"
#include "commands/command_table.h"

namespace qy {
namespace commands {

void __cdecl GetClipboardText(ValueRecord* result, int, ValueRecord*) {
    ClipboardScope clipboard(nullptr);
    if (!clipboard.opened() || !IsClipboardFormatAvailable(CF_TEXT)) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return;
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return;
    // Another program's block need not be terminated; never read past it.
    SIZE_T size = GlobalSize(data);
    const void* end = std::memchr(text, 0, size);
    SetTextResult(result, text, static_cast<int>(end ? static_cast<const char*>(end) - text : size));
    GlobalUnlock(data);
}

void __cdecl SetClipboardText(ValueRecord* result, int n, ValueRecord* records) {
    Arguments args(n, records);
    const char* text = TextArgument(args[0]);
    ClipboardScope clipboard(Runtime().hiddenOwnerHandle());
    if (!clipboard.opened()) return;
    EmptyClipboard();
    size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) return;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return;
    }
    std::memcpy(bytes, text, size);
    GlobalUnlock(block);
    // The clipboard owns the block only once it has taken it.
    if (!SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        return;
    }
    SetIntResult(result, 1);
}

}  // namespace commands
}  // namespace qy
