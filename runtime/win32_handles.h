// Owners for Win32 handles: every Get/Create/Begin/Open/Load has its release
// in a destructor, so no layer frees a GDI object, DC, clipboard, window,
// menu, kernel object or module by hand.
#pragma once
#include <windows.h>

namespace qy {

// Owns one handle and frees it with `Free` when replaced or destroyed.
template <typename H, typename Free>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(H handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~OwnedHandle() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H release() {
        H h = handle_;
        handle_ = nullptr;
        return h;
    }
    void reset(H handle = nullptr) {
        if (handle_) Free()(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

// Frees a handle with the system function `Free`.
template <auto Free>
struct FreeWith {
    template <typename H>
    void operator()(H handle) const {
        Free(handle);
    }
};

// One GDI object, deleted when replaced or destroyed.
template <typename H>
using GdiHandle = OwnedHandle<H, FreeWith<&DeleteObject>>;
// An icon made (not loaded as shared) by the program.
using IconHandle = OwnedHandle<HICON, FreeWith<&DestroyIcon>>;
// A cursor made from its resource bytes by the program.
using CursorHandle = OwnedHandle<HCURSOR, FreeWith<&DestroyCursor>>;
using MenuHandle = OwnedHandle<HMENU, FreeWith<&DestroyMenu>>;
using AcceleratorHandle = OwnedHandle<HACCEL, FreeWith<&DestroyAcceleratorTable>>;
// A kernel object: a file, process, thread, event or semaphore.
using KernelHandle = OwnedHandle<HANDLE, FreeWith<&CloseHandle>>;
// A library loaded with LoadLibrary.
using ModuleHandle = OwnedHandle<HMODULE, FreeWith<&FreeLibrary>>;

// The owner of what CreateFileA returned; empty when the file could not be
// opened, which CreateFileA reports as INVALID_HANDLE_VALUE rather than null.
inline KernelHandle OpenedFile(HANDLE file) { return KernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file); }

// A memory device context with one bitmap selected for its lifetime: the
// bitmap is deselected and the context deleted when it goes out of scope.
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

// The DC GetDC gives for a window's client area (null window: the screen),
// released on scope exit; get() is null when none could be had.
class ClientDc {
public:
    explicit ClientDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ClientDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC GetWindowDC gives for a whole window, frame included, released on
// scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The whole screen's DC.
class ScreenDc : public ClientDc {
public:
    ScreenDc() : ClientDc(nullptr) {}
};

// The DC of one WM_PAINT, between BeginPaint and EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    // A paint that never began, or whose window its handler destroyed, has nothing to end.
    ~PaintDc() {
        if (dc_ && IsWindow(hwnd_)) EndPaint(hwnd_, &ps_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope
// exit, so the object can be deleted afterwards; a null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The clipboard, open for as long as this lives; opened() says whether it could be.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool opened() const { return open_; }

private:
    bool open_;
};

// The header of an uncompressed DIB with no colour table, 32 bits per pixel
// unless told otherwise; a negative height makes the rows run top-down.
inline BITMAPINFO DibInfo(int width, int height, WORD bitsPerPixel = 32) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Owns a window and destroys it when replaced or destroyed, unless it is
// already gone.
class WindowHandle {
public:
    WindowHandle() = default;
    explicit WindowHandle(HWND hwnd) : hwnd_(hwnd) {}
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;
    ~WindowHandle() { reset(); }

    HWND get() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }
    HWND release() {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        return h;
    }
    void reset(HWND hwnd = nullptr) {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        hwnd_ = hwnd;
    }

private:
    HWND hwnd_ = nullptr;
};

}  // namespace qy
