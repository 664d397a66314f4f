// A memory device context with one bitmap selected for its lifetime: the
// bitmap is deselected and the context deleted when it goes out of scope.
#pragma once
#include <windows.h>

namespace qy {

class MemoryDc {
public:
    // Compatible with `reference` (null: the screen); get() is null when the
    // context cannot be made. A null bitmap selects nothing.
    MemoryDc(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference)) {
        if (dc_ && bitmap) old_ = SelectObject(dc_, bitmap);
    }
    ~MemoryDc() {
        if (!dc_) return;
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace qy
