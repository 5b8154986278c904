// Non-copyable owners of Windows resources. Each guard stores everything it needs to
// release what it holds, and releases it when it goes out of scope.
#pragma once
#include <windows.h>
#include <winspool.h>

#include <string>
#include <utility>

#define VIVI_NO_COPY(Type)          \
    Type(const Type&) = delete;     \
    Type& operator=(const Type&) = delete

// A GDI object (font, pen, brush, bitmap, region) deleted with DeleteObject.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    VIVI_NO_COPY(GdiObject);
    ~GdiObject() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using PenHandle = GdiObject<HPEN>;
using BrushHandle = GdiObject<HBRUSH>;
using BitmapHandle = GdiObject<HBITMAP>;

// Selects an object into a device context and selects the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    VIVI_NO_COPY(SelectGuard);
    // False when nothing was selected (no object, or the system refused it).
    explicit operator bool() const { return previous_ != nullptr; }
    ~SelectGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context from CreateCompatibleDC. When DeleteDC refuses, the handle is
// deleted as a plain object.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    VIVI_NO_COPY(MemoryDc);
    ~MemoryDc() {
        if (dc_ && !DeleteDC(dc_)) DeleteObject(dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A window's device context from GetDC, released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    VIVI_NO_COPY(WindowDc);
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint around a WM_PAINT.
class PaintGuard {
public:
    explicit PaintGuard(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    VIVI_NO_COPY(PaintGuard);
    ~PaintGuard() { EndPaint(window_, &paint_); }
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A kernel handle closed with CloseHandle; INVALID_HANDLE_VALUE counts as none.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    KernelHandle(KernelHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    VIVI_NO_COPY(KernelHandle);
    ~KernelHandle() { Close(); }
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    void Close() {
        if (Valid()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A lock on movable global memory, unlocked when the guard ends.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    VIVI_NO_COPY(GlobalLockGuard);
    ~GlobalLockGuard() {
        if (data_) GlobalUnlock(memory_);
    }
    void* Get() const { return data_; }
    template <typename T>
    T* As() const { return static_cast<T*>(data_); }

private:
    HGLOBAL memory_;
    void* data_;
};

// Global memory freed with GlobalFree unless released to a new owner.
class GlobalMemory {
public:
    GlobalMemory() = default;
    explicit GlobalMemory(HGLOBAL memory) : memory_(memory) {}
    GlobalMemory(GlobalMemory&& other) noexcept : memory_(std::exchange(other.memory_, nullptr)) {}
    VIVI_NO_COPY(GlobalMemory);
    ~GlobalMemory() {
        if (memory_) GlobalFree(memory_);
    }
    HGLOBAL Get() const { return memory_; }
    HGLOBAL Release() { return std::exchange(memory_, nullptr); }

private:
    HGLOBAL memory_ = nullptr;
};

// A device context from CreateDCW (a printer's), deleted with DeleteDC.
class CreatedDc {
public:
    explicit CreatedDc(HDC dc) : dc_(dc) {}
    VIVI_NO_COPY(CreatedDc);
    ~CreatedDc() {
        if (dc_) DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A printer opened with OpenPrinterW, closed with ClosePrinter.
class PrinterHandle {
public:
    explicit PrinterHandle(wchar_t* name) {
        if (!OpenPrinterW(name, &handle_, nullptr)) handle_ = nullptr;
    }
    VIVI_NO_COPY(PrinterHandle);
    ~PrinterHandle() {
        if (handle_) ClosePrinter(handle_);
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// Sets a device context's stretch mode (and, for HALFTONE, the brush origin it needs)
// for the length of a drawing, and puts the previous mode back.
class StretchModeGuard {
public:
    StretchModeGuard(HDC dc, int mode) : dc_(dc), previous_(SetStretchBltMode(dc, mode)) {
        if (mode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    VIVI_NO_COPY(StretchModeGuard);
    ~StretchModeGuard() {
        if (previous_) SetStretchBltMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};

// A COM interface pointer, released when the guard ends.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    VIVI_NO_COPY(ComRef);
    ~ComRef() {
        if (pointer_) pointer_->Release();
    }
    Interface** Out() { return &pointer_; }
    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

// A temporary file in a given folder, deleted when the guard ends unless it was kept
// (moved into place).
class TemporaryFile {
public:
    TemporaryFile() = default;
    VIVI_NO_COPY(TemporaryFile);
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    // Creates an empty file with a unique name in folder.
    bool Create(const std::wstring& folder) {
        wchar_t name[MAX_PATH] = {};
        if (!GetTempFileNameW(folder.c_str(), L"viv", 0, name)) return false;
        path_ = name;
        return true;
    }
    const std::wstring& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::wstring path_;
};
