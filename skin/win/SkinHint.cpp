#include "skin/win/SkinHint.h"

#include <algorithm>

#include "framework/win/Bitmap.h"
#include "framework/win/Forms.h"
#include "skin/core/SkEffBmp.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"

namespace {

}  // namespace

// TskSkinHint

TskSkinHint::TskSkinHint(TComponent* AOwner) : TComponent(AOwner), FHintWindow(std::make_unique<TskSkinHintWindow>(nullptr))
{
    Application->SetHintWindowClass([](TComponent* owner) { return new TskSkinHintWindow(owner); });
    // Switching hints off and on again makes the application take its next hint window
    // from the new class.
    const bool shown = Application->ShowHint();
    Application->SetShowHint(!shown);
    Application->SetShowHint(shown);
    InstallForwarder();
    Application->HintShortPause = 100;
}

namespace {
const TskSkinHint* gForwarderOwner = nullptr;   // whose forwarder is on Application->OnShowHint
}

void TskSkinHint::InstallForwarder()
{
    gForwarderOwner = this;
    Application->OnShowHint = [this](std::string& hint, bool& canShow, THintInfo& info) {
        if (OnShowHint)
            OnShowHint(hint, canShow, info);
    };
}

TskSkinHint::~TskSkinHint()
{
    if (gForwarderOwner == this) {
        gForwarderOwner = nullptr;
        Application->OnShowHint = nullptr;
    }
    delete FDelayTimer;
    FDelayTimer = nullptr;
    FHintWindow.reset();
}

void TskSkinHint::SetAlphaBlendSupport(bool value)
{
    FAlphaBlendSupport = value && IsLayeredAlphaSystem();
}

void TskSkinHint::SetSkinData(TskSkinData* value)
{
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TskSkinHint::SetActive(bool value)
{
    FActive = value;
    // No main form yet: there is nothing to walk.
    if (!value || !Application->MainForm())
        return;
    TForm* form = Application->MainForm();
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* other = dynamic_cast<TskSkinHint*>(form->Components(i)); other && other != this && other->FActive)
            other->FActive = false;
    InstallForwarder();
}

void TskSkinHint::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FSkinData)
        FSkinData = nullptr;
}

TskSkinHint* TskSkinHint::Find()
{
    TForm* form = Application->MainForm();
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<TskSkinHint*>(form->Components(i)); hint && hint->Active())
            return hint;
    return nullptr;
}

void TskSkinHint::ShowHintDelayed(const std::string& text)
{
    delete FDelayTimer;
    FPendingHintText = text;
    FDelayShown = false;
    FDelayTimer = new TTimer(nullptr);
    FDelayTimer->SetInterval(Application->HintPause);
    FDelayTimer->OnTimer = [this](TObject* sender) { DelayTick(sender); };
    FDelayTimer->SetEnabled(true);
}

void TskSkinHint::DelayTick(TObject*)
{
    if (FDelayShown) {
        HideHint();
        return;
    }
    POINT p{};
    GetCursorPos(&p);
    const int y = p.y + CursorBottomMargin();
    FHintWindow->ActivateHint({p.x, y, p.x, y}, FPendingHintText);
    FDelayShown = true;
    FDelayTimer->SetEnabled(false);
    FDelayTimer->SetInterval(Application->HintHidePause);
    FDelayTimer->SetEnabled(true);
}

void TskSkinHint::HideHint()
{
    // The timer may be the one whose tick runs this: it goes after the tick.
    if (FDelayTimer) {
        FDelayTimer->SetEnabled(false);
        Application->DeferDelete(FDelayTimer);
        FDelayTimer = nullptr;
    }
    if (FHintWindow && FHintWindow->Visible()) {
        FHintWindow->SetVisible(false);
        if (FHintWindow->HandleAllocated())
            SetWindowPos(FHintWindow->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
    }
}

// TskSkinHintWindow

TskSkinHintWindow::TskSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TskSkinHintWindow::~TskSkinHintWindow() = default;

void TskSkinHintWindow::CreateParams(TCreateParams& p)
{
    THintWindow::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.WinClassName = L"VorpenSkinHintWindow";
    if (IsDropShadowSystem()) {
        p.ClassStyle |= 0x20000;   // CS_DROPSHADOW
        p.WinClassName = L"VorpenSkinHintWindowShadow";
    }
}

void TskSkinHintWindow::WndProc(TMessage& m)
{
    if (m.Msg == WM_NCPAINT) {
        m.Handled = true;
        return;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        m.Handled = true;
        return;
    }
    THintWindow::WndProc(m);
}

void TskSkinHintWindow::ApplyFont(TFont& font)
{
    TskSkinHint* owner = FActiveSkinHint;
    if (!owner)
        return;
    if (FHintSkin && owner->UseSkinFont) {
        const TskDataSkinHintWindow& r = FHintSkin->HintWindow;
        font.Assign(owner->DefaultFont());
        font.SetHeight(r.FontHeight);
        font.SetName(r.FontName);
        font.SetStyle(ToFontStyles(r.FontStyle));
    } else {
        font.Assign(owner->DefaultFont());
    }
    const TskSkinData* data = owner->SkinData();
    font.SetCharset(data && data->ResourceStrData() ? data->ResourceStrData()->CharSet
                                                    : owner->DefaultFont().Charset());
}

SIZE TskSkinHintWindow::TextSize(const std::string& text)
{
    TBitmap measure(1, 1);
    ApplyFont(measure.Canvas().Font());
    TRect r{0, 0, 0, 0};
    measure.Canvas().DrawText(text, r, DT_CALCRECT | DT_NOPREFIX);
    return {r.Width(), r.Height()};
}

void TskSkinHintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    FActiveSkinHint = TskSkinHint::Find();
    if (!FActiveSkinHint)
        return;
    TskSkinData* data = FActiveSkinHint->SkinData();
    FHintSkin = data && !data->Empty && data->ActivePicture(data->HintWindow.WindowPictureIndex) ? data : nullptr;
    SetText(hint);
    const SIZE text = TextSize(hint);
    const TSkBitmap* picture = FHintSkin ? FHintSkin->ActivePicture(FHintSkin->HintWindow.WindowPictureIndex) : nullptr;
    FGeometry = HintGeometry(text.cx, text.cy, FHintSkin ? &FHintSkin->HintWindow : nullptr,
                             picture ? picture->Width() : 0, picture ? picture->Height() : 0);
    const TRect r = PlaceHint(rect.Left, rect.Top, FGeometry.Width, FGeometry.Height, GetSystemMetrics(SM_CXSCREEN),
                              GetSystemMetrics(SM_CYSCREEN));
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    const HWND window = Handle();

    if (FActiveSkinHint->AlphaBlendSupport()) {
        const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
        if (FActiveSkinHint->AlphaBlend != FLastAlphaBlend) {
            if (FLastAlphaBlend) {
                SetWindowLongPtrW(window, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
            } else {
                SetWindowLongPtrW(window, GWL_EXSTYLE, ex | WS_EX_LAYERED);
                SetWindowAlpha(window, FActiveSkinHint->AlphaBlendValue);
            }
            FLastAlphaBlend = FActiveSkinHint->AlphaBlend;
        }
        if (FActiveSkinHint->AlphaBlend && FActiveSkinHint->AlphaBlendValue != FLastAlphaBlendValue) {
            SetWindowAlpha(window, FActiveSkinHint->AlphaBlendValue);
            FLastAlphaBlendValue = FActiveSkinHint->AlphaBlendValue;
        }
    } else if (FActiveSkinHint->AlphaBlend) {
        FBackgroundCapture.SetSize(r.Width(), r.Height());
        CopyScreenArea(r.Left, r.Top, FBackgroundCapture);
    }

    TRegion region;
    if (FHintSkin) {
        const TskDataSkinHintWindow& rec = FHintSkin->HintWindow;
        if (const TSkBitmap* mask = FHintSkin->ActivePicture(rec.MaskPictureIndex))
            region = ComposeSkinRegion(*mask, {}, {rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint, rec.ClRect},
                                       FGeometry.Width, FGeometry.Frame);
    }
    // The window owns the region once set; the old one is deleted by the system.
    FRegionSet = static_cast<bool>(region);
    SetWindowRgn(window, region ? region.Release() : nullptr, FALSE);
    SetWindowPos(window, HWND_TOPMOST, r.Left, r.Top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    Invalidate();
}

void TskSkinHintWindow::Paint()
{
    const int w = Width(), h = Height();
    if (w < 1 || h < 1 || !FActiveSkinHint)
        return;
    TBitmap buffer(w, h);
    TCanvas& c = buffer.Canvas();
    if (FHintSkin) {
        const TskDataSkinHintWindow& r = FHintSkin->HintWindow;
        const TSkBitmap* picture = FHintSkin->ActivePicture(r.WindowPictureIndex);
        TSkBitmap composed;
        ComposeSkinPicture(*picture, picture->BoundsRect(), {r.LTPoint, r.RTPoint, r.LBPoint, r.RBPoint, r.ClRect},
                           composed, w, h, FGeometry.Frame,
                           {r.LeftStretch, r.RightStretch, r.TopStretch, r.BottomStretch}, true);
        AssignSkBitmap(buffer, composed);
        c.Brush().SetStyle(bsClear);
        ApplyFont(c.Font());
        c.Font().SetColor(static_cast<TColor>(r.FontColor));
        TRect measure{0, 0, 0, 0};
        c.DrawText(Caption(), measure, DT_CALCRECT | DT_NOPREFIX);
        const TRect& cr = FGeometry.Frame.ClientRect;
        const int left = cr.Left + cr.Width() / 2 - measure.Width() / 2;
        const int top = cr.Top + cr.Height() / 2 - measure.Height() / 2;
        TRect text{left, top, left + measure.Width(), top + measure.Height()};
        c.DrawText(Caption(), text, DT_NOPREFIX);
    } else {
        c.Brush().SetColor(clInfoBk);
        c.FillRect({0, 0, w, h});
        TRect frame{0, 0, w, h};
        c.Frame3D(frame, clBtnShadow, clBtnShadow, 1);
        ApplyFont(c.Font());
        c.Font().SetColor(clInfoText);
        c.Brush().SetStyle(bsClear);
        TRect text{2, 2, w - 2, h - 2};
        c.DrawText(Caption(), text, DT_NOPREFIX);
    }
    if (FActiveSkinHint->AlphaBlend && !FActiveSkinHint->AlphaBlendSupport() &&
        FBackgroundCapture.Width() == w && FBackgroundCapture.Height() == h) {
        TskEffectBmp self(SkBitmapFromBitmap(buffer));
        self.Morph(TskEffectBmp(FBackgroundCapture), 1.0 - FActiveSkinHint->AlphaBlendValue / 255.0);
        AssignSkBitmap(buffer, self.ToBitmap());
    }
    BitBlt(Canvas().Handle(), 0, 0, w, h, c.Handle(), 0, 0, SRCCOPY);
}

int CursorBottomMargin()
{
    const int fallback = GetSystemMetrics(SM_CYCURSOR);
    CURSORINFO ci{};
    ci.cbSize = sizeof ci;
    ICONINFO info{};
    if (!GetCursorInfo(&ci) || !ci.hCursor || !GetIconInfo(ci.hCursor, &info))
        return fallback;
    GdiObject<HBITMAP> mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bm{};
    if (!mask || !GetObjectW(mask.Get(), sizeof bm, &bm) || bm.bmWidth < 1 || bm.bmHeight < 1)
        return fallback;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } bi{};
    bi.header.biSize = sizeof(BITMAPINFOHEADER);
    bi.header.biWidth = bm.bmWidth;
    bi.header.biHeight = bm.bmHeight;
    bi.header.biPlanes = 1;
    bi.header.biBitCount = 1;
    const size_t stride = static_cast<size_t>((bm.bmWidth + 31) / 32) * 4;
    std::string bits(stride * static_cast<size_t>(bm.bmHeight), '\0');
    WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                  reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS) == 0)
        return fallback;
    const int margin = CursorMaskMargin(bits, bm.bmWidth, bm.bmHeight, static_cast<int>(info.yHotspot));
    return margin < 0 ? fallback : margin;
}
