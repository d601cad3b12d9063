#pragma once
// TIcon: owns an HICON loaded from a resource, an .ico file or copied from a handle.
// Empty until loaded; the size is that of the loaded image.

#include <string>
#include <string_view>

#include "framework/base/Component.h"
#include "framework/win/WinApi.h"

class TIcon : public TObject {
public:
    TIcon() = default;
    ~TIcon() override { Clear(); }

    HICON Handle() const { return FHandle; }
    void SetHandle(HICON icon);     // takes ownership
    bool Empty() const { return FHandle == nullptr; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

    void LoadFromResourceName(HINSTANCE instance, const std::string& name);   // raises when absent
    void LoadFromResourceID(HINSTANCE instance, int id);
    void LoadFromFile(std::string_view fileName);                             // raises when unreadable
    void Assign(const TIcon& source);
    void Clear();

private:
    HICON FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
};
