#include "framework/win/Icon.h"

#include "framework/win/Bitmap.h"
#include "framework/win/WinUtil.h"

void TIcon::Clear() {
    if (FHandle) DestroyIcon(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
}

void TIcon::SetHandle(HICON icon) {
    if (icon == FHandle) return;
    Clear();
    FHandle = icon;
    if (!icon) return;
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        FWidth = bm.bmWidth;
        FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    std::wstring w = Wide(name);
    HICON icon = static_cast<HICON>(LoadImageW(instance, w.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EInvalidGraphic("Icon resource " + name + " not found");
    SetHandle(icon);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
    HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!icon) throw EInvalidGraphic("Icon resource " + std::to_string(id) + " not found");
    SetHandle(icon);
}

void TIcon::LoadFromFile(std::string_view fileName) {
    std::wstring w = Wide(fileName);
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, w.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    if (!icon) throw EInvalidGraphic("Cannot load icon " + std::string(fileName) + ": " + SysErrorMessage(GetLastError()));
    SetHandle(icon);
}

void TIcon::Assign(const TIcon& source) {
    if (&source == this) return;
    SetHandle(source.FHandle ? CopyIcon(source.FHandle) : nullptr);
}
