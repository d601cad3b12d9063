#pragma once
// Small move-only owners for the Win32 handles of the skin layer: GDI objects, memory
// DCs, the screen DC and loaded libraries. A raw handle parameter elsewhere in skin/win
// means borrowed; these types mean owned.

#include <windows.h>

#include <utility>

template <typename T>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(T handle) : FHandle(handle) {}
    TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.FHandle, nullptr));
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    ~TGdiObject() { Reset(); }

    T Get() const { return FHandle; }
    T Release() { return std::exchange(FHandle, nullptr); }
    void Reset(T handle = nullptr)
    {
        if (FHandle)
            DeleteObject(FHandle);
        FHandle = handle;
    }
    explicit operator bool() const { return FHandle != nullptr; }

private:
    T FHandle = nullptr;
};

class TMemoryDC {
public:
    TMemoryDC() : FDC(CreateCompatibleDC(nullptr)) {}
    ~TMemoryDC() { DeleteDC(FDC); }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

class TScreenDC {
public:
    TScreenDC() : FDC(GetDC(nullptr)) {}
    ~TScreenDC() { ReleaseDC(nullptr, FDC); }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

// Selects an object into a DC and puts the previous one back.
class TSelectGuard {
public:
    TSelectGuard(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
    ~TSelectGuard() { SelectObject(FDC, FOld); }
    TSelectGuard(const TSelectGuard&) = delete;
    TSelectGuard& operator=(const TSelectGuard&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

class TLibrary {
public:
    explicit TLibrary(const wchar_t* name) : FModule(LoadLibraryW(name)) {}
    ~TLibrary()
    {
        if (FModule)
            FreeLibrary(FModule);
    }
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;
    HMODULE Get() const { return FModule; }

private:
    HMODULE FModule;
};
