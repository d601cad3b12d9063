#include "app/win/GDIPlusCommon.h"

#include "app/win/GDITools.h"
#include "framework/win/WinUtil.h"

TPNGButton::TPNGButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    EnsureGdiplus();
    SetBounds(Left(), Top(), 23, 23);
    FindForm();
}

TPNGButton::~TPNGButton() = default;

namespace {

// The file's size and last write time, 0 when it is not there.
uint64_t FileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data))
        return 0;
    uint64_t time = uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return time ^ (uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow) * 0x9E3779B97F4A7C15ull;
}

}  // namespace

void DrawPNGButton(TGpGraphics& graphics, TPNGButton& button)
{
    int left = button.Left(), top = button.Top(), width = button.Width(), height = button.Height();
    DrawPNGImage(graphics, button.CurrentImage(), left, top, width, height, button.Rotate());
    if (!button.Caption().empty()) {
        auto align = static_cast<Gdiplus::StringAlignment>(button.StringAlignment());
        DrawGdipCaption(graphics, button.Caption(), button.CurrentFont(),
                        Gdiplus::RectF(Gdiplus::REAL(left), Gdiplus::REAL(top), Gdiplus::REAL(width), Gdiplus::REAL(height)),
                        align, align == Gdiplus::StringAlignmentCenter ? Gdiplus::StringAlignmentCenter : Gdiplus::StringAlignmentNear);
    }
}

void TPNGButton::SetFontOver(const TFont& value)
{
    if (&value != &FFontOver)
        FFontOver.Assign(value);
}

void TPNGButton::SetImageNormal(const std::string& value)
{
    if (SameText(value, FImageNormal))
        return;
    FImageNormal = value;
    if (AutoSize())
        AdjustSize();
    Invalidate();
}

void TPNGButton::SetImageOver(const std::string& value)
{
    if (SameText(value, FImageOver))
        return;
    FImageOver = value;
    Invalidate();
}

void TPNGButton::SetDrawIamge(bool value)
{
    if (value == FDrawIamge)
        return;
    FDrawIamge = value;
    Invalidate();
}

void TPNGButton::SetRotate(double value)
{
    if (value == FRotate)
        return;
    FRotate = value;
    Invalidate();
}

std::string TPNGButton::CurrentImagePath() const
{
    bool hasOver = !Trim(FImageOver).empty();
    if (FPressState == 1 && FMouseOver && hasOver)
        return FImageOver;
    if (FMouseOver && hasOver && Enabled())
        return FImageOver;
    if (FPressState == 2)
        return FImageDisabled.empty() ? FImageNormal : FImageDisabled;
    return FImageNormal;
}

const TGpImage& TPNGButton::CurrentImage()
{
    std::string path = CurrentImagePath();
    if (path != FImagePath) {
        FImagePath = path;
        FImageStamp = FileStamp(path);
        FImage = TGpImage::Decoded(path);
        ++FImageVersion;
    }
    return FImage;
}

void TPNGButton::ReloadChangedImage()
{
    CurrentImage();
    if (FileStamp(FImagePath) == FImageStamp)
        return;
    FImagePath.clear();
    CurrentImage();
}

TFont& TPNGButton::CurrentFont()
{
    return FMouseOver && (FPressState == 1 || Enabled()) ? FFontOver : Font();
}

bool TPNGButton::CanAutoSize(int& NewWidth, int& NewHeight)
{
    const TGpImage& image = CurrentImage();
    if (image.Empty())
        return true;
    if (Align() == alNone || Align() == alLeft || Align() == alRight)
        NewWidth = image.Width();
    if (Align() == alNone || Align() == alTop || Align() == alBottom)
        NewHeight = image.Height();
    return true;
}

void TPNGButton::SetParent(TWinControl* AParent)
{
    TGraphicControl::SetParent(AParent);
    FindForm();
}

void TPNGButton::FindForm()
{
    FForm = Parent();
    while (FForm && FForm->Parent())
        FForm = FForm->Parent();
}

void TPNGButton::Paint()
{
    if (Loading())
        return;
    if (FForm && FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_PNGBUTTONPAINT, 0, 0);
    if (!FDrawIamge)
        return;
    TGpGraphics graphics(Canvas().Handle());
    DrawPNGImage(graphics, CurrentImage(), 0, 0, Width(), Height(), 0);
    if (!Caption().empty()) {
        auto align = static_cast<Gdiplus::StringAlignment>(FStringAlignment);
        DrawGdipCaption(graphics, Caption(), CurrentFont(),
                        Gdiplus::RectF(0, 0, Gdiplus::REAL(Width()), Gdiplus::REAL(Height())), align, align);
    }
}

void TPNGButton::Click()
{
    if (FPressState == 1)
        FPressState = 0;
    TGraphicControl::Click();
}

void TPNGButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FPressState == 0)
        FPressState = 1;
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TPNGButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FPressState == 1)
        FPressState = 0;
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TPNGButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight() && !FMouseOver && FPressState != 1)
        FMouseOver = true;
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TPNGButton::DoEndDrag(TObject* Target, int X, int Y)
{
    if (FPressState == 1)
        FPressState = 0;
    TGraphicControl::DoEndDrag(Target, X, Y);
}

void TPNGButton::DoEndDock(TObject* Target, int X, int Y)
{
    if (FPressState == 1)
        FPressState = 0;
    TGraphicControl::DoEndDock(Target, X, Y);
}

void TPNGButton::MouseEnter()
{
    FMouseOver = true;
    if (!FImageOver.empty())
        Invalidate();
    TGraphicControl::MouseEnter();
}

void TPNGButton::MouseLeave()
{
    FMouseOver = false;
    if (!FImageNormal.empty() && !FImageOver.empty())
        Invalidate();
    TGraphicControl::MouseLeave();
}

void TPNGButton::EnabledChanged()
{
    FPressState = Enabled() ? 0 : 2;
    if (!FImageDisabled.empty())
        Invalidate();
    TGraphicControl::EnabledChanged();
}
