#include "framework/win/Picture.h"

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {
std::string Extension(std::string_view fileName) {
    std::string name = ExtractFileName(fileName);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : LowerCase(name.substr(dot));
}
}  // namespace

void TPicture::LoadFromFile(std::string_view fileName) {
    const std::string ext = Extension(fileName);
    if (ext == ".ico") {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromFile(fileName);
        Clear();
        FIcon = std::move(icon);
    } else if (ext == ".bmp") {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromFile(fileName);
        Clear();
        FBitmap = std::move(bitmap);
    } else {
        auto image = std::make_unique<TGpImage>(fileName);
        if (image->Empty()) throw EInvalidGraphic("Cannot read the picture " + std::string(fileName));
        Clear();
        FImage = std::move(image);
    }
    Changed();
}

TIcon& TPicture::Icon() {
    if (!FIcon) {
        Clear();
        FIcon = std::make_unique<TIcon>();
    }
    return *FIcon;
}

TBitmap& TPicture::Bitmap() {
    if (!FBitmap) {
        Clear();
        FBitmap = std::make_unique<TBitmap>();
    }
    return *FBitmap;
}

void TPicture::Clear() {
    FIcon.reset();
    FBitmap.reset();
    FImage.reset();
}

bool TPicture::Empty() const { return Width() == 0 || Height() == 0; }

int TPicture::Width() const {
    return FIcon ? FIcon->Width() : FBitmap ? FBitmap->Width() : FImage ? FImage->Width() : 0;
}

int TPicture::Height() const {
    return FIcon ? FIcon->Height() : FBitmap ? FBitmap->Height() : FImage ? FImage->Height() : 0;
}

void TPicture::Draw(HDC dc, const TRect& dest, bool stretch) {
    if (Empty()) return;
    const int w = stretch ? dest.Width() : Width(), h = stretch ? dest.Height() : Height();
    if (FIcon) {
        DrawIconEx(dc, dest.Left, dest.Top, FIcon->Handle(), w, h, 0, nullptr, DI_NORMAL);
    } else if (FBitmap) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        if (stretch) canvas.StretchDraw(dest, *FBitmap);
        else canvas.Draw(dest.Left, dest.Top, *FBitmap);
        canvas.SetHandle(nullptr);
    } else {
        TGpGraphics(dc).DrawImageRect(*FImage, dest.Left, dest.Top, w, h);
    }
}
