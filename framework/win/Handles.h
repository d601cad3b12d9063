#pragma once
// Small move-only RAII owners for Win32 handles: UniqueHandle (kernel objects),
// GdiObject<T> (pens, brushes, fonts, bitmaps, regions), WindowDC (GetDC/ReleaseDC),
// PaintDC (BeginPaint/EndPaint), MemoryDC (CreateCompatibleDC/DeleteDC) and SelectGuard
// (puts the previous object back). A raw handle parameter elsewhere means "borrowed".

#include <utility>

#include "framework/win/WinApi.h"

class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : FHandle(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept { Reset(std::exchange(o.FHandle, nullptr)); return *this; }
    ~UniqueHandle() { Reset(); }
    HANDLE Get() const { return FHandle; }
    explicit operator bool() const { return FHandle && FHandle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE h = nullptr) {
        if (*this) CloseHandle(FHandle);
        FHandle = h;
    }

private:
    HANDLE FHandle = nullptr;
};

template <class T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : FHandle(h) {}
    GdiObject(GdiObject&& o) noexcept : FHandle(std::exchange(o.FHandle, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept { Reset(std::exchange(o.FHandle, nullptr)); return *this; }
    ~GdiObject() { Reset(); }
    T Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    T Release() { return std::exchange(FHandle, nullptr); }
    void Reset(T h = nullptr) {
        if (FHandle) DeleteObject(FHandle);
        FHandle = h;
    }

private:
    T FHandle = nullptr;
};

class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : FWnd(hwnd), FDC(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (FDC) ReleaseDC(FWnd, FDC); }
    HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : FWnd(hwnd) { FDC = BeginPaint(hwnd, &FPaint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(FWnd, &FPaint); }
    HDC Get() const { return FDC; }
    const RECT& PaintRect() const { return FPaint.rcPaint; }

private:
    HWND FWnd;
    HDC FDC;
    PAINTSTRUCT FPaint{};
};

class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith = nullptr) : FDC(CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(MemoryDC&& o) noexcept : FDC(std::exchange(o.FDC, nullptr)) {}
    MemoryDC& operator=(MemoryDC&&) = delete;
    ~MemoryDC() { if (FDC) DeleteDC(FDC); }
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(SelectObject(dc, obj)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { if (FOld) SelectObject(FDC, FOld); }

private:
    HDC FDC;
    HGDIOBJ FOld;
};
