#include "skin/win/SkinCtrls.h"

#include <algorithm>

#include "framework/win/Forms.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkGlyphs.h"
#include "skin/core/SkGeometry.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"

namespace {

constexpr TColor kNavy = 8388608;

TRect RecordRect(const TRect& r, const TRect& skinRect)
{
    // Record points and client rectangle are relative to the skin rectangle already.
    (void)skinRect;
    return r;
}

void SetFontFromSkin(TFont& font, const TskSkinFont& skin, const TFont& charsetFrom, int color)
{
    font.SetName(skin.Name);
    font.SetHeight(skin.Height);
    TFontStyles s;
    if (skin.Style.Bold) s.Include(fsBold);
    if (skin.Style.Italic) s.Include(fsItalic);
    if (skin.Style.Underline) s.Include(fsUnderline);
    if (skin.Style.StrikeOut) s.Include(fsStrikeOut);
    font.SetStyle(s);
    font.SetCharset(charsetFrom.Charset());
    font.SetColor(static_cast<TColor>(color));
}

// Blends picture over what lies behind the control: factor 1 - value/255 of the background.
void BlendOverBackground(HWND h, TBitmap& picture, BYTE value)
{
    TBitmap back(picture.Width(), picture.Height());
    PaintControlBackground(h, back.Canvas().Handle());
    TSkBitmap fore = SkBitmapFromBitmap(picture);
    const TSkBitmap behind = SkBitmapFromBitmap(back);
    const int k = value;
    for (int y = 0; y < fore.Height(); ++y)
        for (int x = 0; x < fore.Width(); ++x) {
            const TSkPixel a = fore.Pixel(x, y), b = behind.Pixel(x, y);
            auto mix = [&](int shift) { return (((a >> shift) & 255) * k + ((b >> shift) & 255) * (255 - k)) / 255; };
            fore.SetPixel(x, y, SkRgb(mix(16), mix(8), mix(0)));
        }
    AssignSkBitmap(picture, fore);
}

}  // namespace

//--- TskSkinControl

TskSkinControl::TskSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TskSkinControl::~TskSkinControl()
{
    if (FSD)
        FSD->RemoveFreeNotification(this);
}

void TskSkinControl::SetSkinData(TskSkinData* value)
{
    if (FSD == value) {
        if (FSD && !FSD->Empty)
            ChangeSkin();
        return;
    }
    if (FSD)
        FSD->RemoveFreeNotification(this);
    FSD = value;
    if (FSD) {
        FSD->FreeNotification(this);
        if (!FSD->Empty)
            ChangeSkin();
    }
}

void TskSkinControl::SetAlphaBlend(bool value)
{
    FAlphaBlend = value;
    Invalidate();
}

void TskSkinControl::SetAlphaBlendValue(BYTE value)
{
    FAlphaBlendValue = value;
    if (FAlphaBlend)
        Invalidate();
}

void TskSkinControl::LookUpSkinEntry()
{
    FIndex = (!FSD || FSD->Empty) ? -1 : FSD->IndexOfSkinControl(FSkinDataName);
    FCursorIndex = FIndex >= 0 ? FSD->CtrlList[static_cast<size_t>(FIndex)]->CursorIndex : -1;
}

// The skin's cursors are screen cursor numbers; a skin carries no cursor pictures, so
// such a number shows the arrow.
void TskSkinControl::ChangeSkin()
{
    LookUpSkinEntry();
    if (UseSkinCursor)
        SetCursor(TskSkinData::CursorNumber(FCursorIndex));
}

void TskSkinControl::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    LookUpSkinEntry();
    TBitmap picture(Width(), Height());
    if (FIndex >= 0)
        DrawSkinnedLook(picture);
    else if (DrawDefault)
        DrawDefaultLook(picture);
    else
        return;
    if (FAlphaBlend && HandleAllocated())
        BlendOverBackground(FHandle, picture, FAlphaBlendValue);
    Canvas().Draw(0, 0, picture);
}

void TskSkinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        m.Handled = true;
        return;
    case WM_MOVE:
        TCustomControl::WndProc(m);
        if (FAlphaBlend)
            Invalidate();
        return;
    default:
        TCustomControl::WndProc(m);
    }
}

void TskSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FSD) {
        FSD = nullptr;
        FIndex = -1;
    }
}

//--- TskSkinCustomControl

TskSkinCustomControl::TskSkinCustomControl(TComponent* AOwner) : TskSkinControl(AOwner)
{
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    // Every change of the font, by SetDefaultFont or through DefaultFont().
    FDefaultFont.OnChange = [this](TObject*) {
        DefaultFontChanged();
        if (FIndex < 0)
            Invalidate();
    };
}

TskSkinCustomControl::~TskSkinCustomControl() { FDefaultFont.OnChange = nullptr; }

void TskSkinCustomControl::SetDefaultFont(const TFont& value) { FDefaultFont.Assign(value); }

void TskSkinCustomControl::SetDefaultWidth(int value)
{
    FDefaultWidth = value;
    if (FIndex < 0 && value > 0)
        SetBounds(Left(), Top(), value, Height());
}

void TskSkinCustomControl::SetDefaultHeight(int value)
{
    FDefaultHeight = value;
    if (FIndex < 0 && value > 0)
        SetBounds(Left(), Top(), Width(), value);
}

void TskSkinCustomControl::LookUpSkinEntry()
{
    TskSkinControl::LookUpSkinEntry();
    FPicture = FMask = nullptr;
    FSkinRect = {};
    FFrame = {};
    FResizeMode = -1;
    if (FIndex < 0)
        return;
    const auto* rec = dynamic_cast<const TskDataSkinCustomControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get());
    if (!rec) {
        FResizeMode = 0;
        return;
    }
    FPicture = FSD->ActivePicture(rec->PictureIndex);
    FMask = FSD->ActivePicture(rec->MaskPictureIndex);
    FSkinRect = rec->SkinRect;
    FFrame = {rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, RecordRect(rec->ClRect, rec->SkinRect)};
    FResizeMode = SkinResizeMode(FSkinRect, FFrame);
    FNewFrame = CalcSkinControlSize(FResizeMode, FSkinRect, FFrame, Width(), Height()).NewFrame;
}

void TskSkinCustomControl::CalcSkinSize(int& width, int& height)
{
    const TSkinControlSize s = CalcSkinControlSize(FResizeMode, FSkinRect, FFrame, width, height);
    width = s.Width;
    height = s.Height;
    FNewFrame = s.NewFrame;
}

void TskSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // The frame (and with it the room of aligned children) is laid out for the size the
    // constraints let through, before the children are aligned.
    AWidth = Constraints().ConstrainWidth(AWidth);
    AHeight = Constraints().ConstrainHeight(AHeight);
    const bool resized = AWidth != Width() || AHeight != Height();
    if (resized && FIndex >= 0)
        CalcSkinSize(AWidth, AHeight);
    TskSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (resized && FIndex >= 0) {
        if (Width() != AWidth || Height() != AHeight) {   // a skin size the constraints overrule
            int w = Width(), h = Height();
            CalcSkinSize(w, h);
            AlignControls();
        }
        ApplyMaskRegion();
        Invalidate();
    }
}

void TskSkinCustomControl::ApplyMaskRegion()
{
    if (!HandleAllocated())
        return;
    TRegion region;
    if (FMask && FIndex >= 0 && !FMask->Empty()) {
        if (FResizeMode == 0)
            region = CreateMaskRegion(CopyBitmapRect(*FMask, FSkinRect));
        else if (Width() > 0 && Height() > 0)
            region = ComposeSkinRegion(*FMask, FSkinRect, FFrame, Width(), FNewFrame);
    }
    const HRGN h = region.Get();
    SetWindowRgn(FHandle, h, TRUE);   // the window owns it from now on
    if (h)
        region.Release();
}

void TskSkinCustomControl::ChangeSkin()
{
    TskSkinControl::ChangeSkin();
    if (FIndex >= 0 && FResizeMode >= 0) {
        int w = Width(), h = Height();
        CalcSkinSize(w, h);
        TskSkinControl::SetBounds(Left(), Top(), w, h);
    } else if (FIndex < 0) {
        TskSkinControl::SetBounds(Left(), Top(), FDefaultWidth > 0 ? FDefaultWidth : Width(),
                                  FDefaultHeight > 0 ? FDefaultHeight : Height());
    }
    ApplyMaskRegion();
    Invalidate();
}

void TskSkinCustomControl::DrawDefaultLook(TBitmap& b)
{
    b.Canvas().Brush().SetColor(clBtnFace);
    b.Canvas().FillRect(Rect(0, 0, b.Width(), b.Height()));
}

TSkBitmap TskSkinCustomControl::SkinPicture(const TRect& r) const
{
    static const TSkBitmap none;
    return ComposeSkinControlPicture(FResizeMode, FPicture ? *FPicture : none, r, FFrame, FNewFrame, Width(),
                                     Height());
}

void TskSkinCustomControl::DrawSkinnedLook(TBitmap& b)
{
    AssignSkBitmap(b, SkinPicture(FSkinRect));
}

TRect TskSkinCustomControl::MapRect(const TRect& r) const
{
    return MapSkinSubRect(FResizeMode, FSkinRect, FFrame, Width(), Height(), r);
}

TRect TskSkinCustomControl::ContentRect() const
{
    return FIndex >= 0 && FResizeMode >= 0 ? FNewFrame.ClientRect : ClientRect();
}

//--- TskSkinButton

TskSkinButton::TskSkinButton(TComponent* AOwner) : TskSkinCustomControl(AOwner)
{
    FSkinDataName = "button";
    FTabStop = true;
    FClickEvents = false;   // clicks come from ButtonClick only
    // A press holds the mouse: the release and the moves off the button come back to it.
    SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse});
    TControl::SetBounds(0, 0, 75, 25);
}

void TskSkinButton::CreateWnd()
{
    TskSkinCustomControl::CreateWnd();
    FActsAsDefault = FDefault;
}

void TskSkinButton::SetDown(bool value)
{
    if (FDown == value)
        return;
    FDown = value;
    if (FDown && InGroup() && !AllowAllUp)
        ReleaseGroup();
    Invalidate();
}

void TskSkinButton::SetGroupIndex(int value)
{
    FGroupIndex = value;
    if (value != 0)
        FCanFocused = false;
}

void TskSkinButton::SetDefault(bool value)
{
    FDefault = value;
    FActsAsDefault = value;
    Invalidate();
}

void TskSkinButton::ReleaseGroup()
{
    if (!Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TskSkinButton*>(Parent()->Controls(i)); b && b != this && b->FGroupIndex == FGroupIndex)
            b->SetDown(false);
}

bool TskSkinButton::Focused() const
{
    return HandleAllocated() && GetFocus() == FHandle;
}

void TskSkinButton::LookUpSkinEntry()
{
    TskSkinCustomControl::LookUpSkinEntry();
    FHasRecord = false;
    if (FIndex < 0)
        return;
    const auto* rec = dynamic_cast<const TskDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get());
    if (!rec)
        return;
    FHasRecord = true;
    FFont = rec->Font;
    FColors = {rec->Font.Color, rec->ActiveFontColor, rec->DownFontColor, rec->DisabledFontColor};
    FActiveRect = IsNullRect(rec->ActiveSkinRect) ? rec->SkinRect : rec->ActiveSkinRect;
    FDownRect = IsNullRect(rec->DownSkinRect) ? FActiveRect : rec->DownSkinRect;
    FDisabledRect = rec->DisabledSkinRect;
    FMorphing = rec->Morphing;
    FMorphKind = rec->MorphKind;
}

void TskSkinButton::ChangeSkin()
{
    StopMorph();
    TskSkinCustomControl::ChangeSkin();
    if (Focused() || FMouseIn)
        FMorphFactor = 1;
    Invalidate();
}

TSkButtonLook TskSkinButton::CurrentLook() const
{
    TSkButtonStateInput s;
    s.Enabled = Enabled();
    s.Down = FDown;
    s.InGroup = InGroup();
    const HWND focus = GetFocus();
    s.Hovered = FMouseIn || (FCanFocused && FActsAsDefault && FDefault && focus && !IsPushButtonWindow(focus));
    s.Focused = Focused();
    s.MousePressed = FMousePressed;
    s.HasDisabledRect = FHasRecord && !IsNullRect(FDisabledRect);
    s.MorphedIn = FMorphing && FMorphFactor >= 1;
    s.MorphedOut = FMorphing && FHasRecord && Enabled() && MorphRunning() && FMorphFactor <= 0;
    return ChooseButtonLook(s);
}

void TskSkinButton::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    LookUpSkinEntry();
    if (FIndex < 0 || !FHasRecord) {
        TskSkinCustomControl::Paint();
        return;
    }
    const TSkButtonLook look = CurrentLook();
    const TRect source = look == TSkButtonLook::Disabled ? FDisabledRect
                         : look == TSkButtonLook::Down   ? FDownRect
                         : look == TSkButtonLook::Active ? FActiveRect
                                                         : FSkinRect;
    TBitmap picture(Width(), Height());
    const TSkBitmap morphed = look == TSkButtonLook::Down ? TSkBitmap() : MorphedPicture();
    AssignSkBitmap(picture, morphed.Empty() ? SkinPicture(source) : morphed);
    const bool down = look == TSkButtonLook::Down;
    DrawGlyphAndCaption(picture, ContentRect(), down || look == TSkButtonLook::Active, down);
    if (FAlphaBlend && HandleAllocated())
        BlendOverBackground(FHandle, picture, FAlphaBlendValue);
    Canvas().Draw(0, 0, picture);
}

void TskSkinButton::DrawGlyphAndCaption(TBitmap& b, const TRect& r, bool active, bool down)
{
    TCanvas& c = b.Canvas();
    if (UseSkinFont && FHasRecord)
        SetFontFromSkin(c.Font(), FFont, FDefaultFont, ButtonFontColor(FColors, Enabled(), active, down));
    else {
        c.Font().Assign(FDefaultFont);
        if (!Enabled())
            c.Font().SetColor(clBtnShadow);
    }
    const int n = std::max(1, NumGlyphs);
    const int gw = FGlyph.Empty() ? 0 : FGlyph.Width() / n, gh = FGlyph.Empty() ? 0 : FGlyph.Height();
    TRect measure{0, 0, 0, 0};
    const std::string text = Caption();
    if (!text.empty())
        c.DrawText(text, measure, DT_CALCRECT | DT_SINGLELINE);
    const TSkContentPlace at =
        PlaceGlyphAndCaption(r, Layout, Margin, Spacing, gw, gh, measure.Width(), measure.Height(), down);
    if (gw > 0) {
        TSkBitmap face = SkBitmapFromBitmap(b);
        TSkCanvas sc(face);
        DrawGlyphFrame(sc, at.Glyph.X, at.Glyph.Y, ButtonGlyphNumber(n, Enabled(), FMouseIn, FDown), n,
                       SkBitmapFromBitmap(FGlyph));
        AssignSkBitmap(b, face);
    }
    if (!text.empty()) {
        c.Brush().SetStyle(bsClear);
        TRect t{at.Text.X - 1, at.Text.Y, at.Text.X + measure.Width() + 1, at.Text.Y + measure.Height()};
        c.DrawText(text, t, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
}

void TskSkinButton::DrawDefaultLook(TBitmap& b)
{
    TCanvas& c = b.Canvas();
    const TRect all = Rect(0, 0, b.Width(), b.Height());
    const TSkButtonLook look = CurrentLook();
    const bool pressed = look == TSkButtonLook::Down;
    const bool lit = look == TSkButtonLook::Active;
    c.Brush().SetColor(pressed ? static_cast<TColor>(11899781) : lit ? static_cast<TColor>(13811126) : clBtnFace);
    c.FillRect(all);
    c.Brush().SetColor(pressed || lit ? kNavy : clBtnShadow);
    c.FrameRect(all);
    c.Brush().SetStyle(bsClear);
    DrawGlyphAndCaption(b, ClientRect(), lit || pressed, pressed);
}

void TskSkinButton::ButtonClick()
{
    if (FCanFocused)
        if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this))
            form->SetModalResult(ModalResult);
    Click();
}

// A button of a group shows the action's Checked as Down.
void TskSkinButton::ActionChange(const TAction& Action, TActionProperties Changed)
{
    TskSkinCustomControl::ActionChange(Action, Changed);
    if (Changed.Contains(apChecked) && InGroup())
        SetDown(Action.Checked());
}

bool TskSkinButton::ClickSurvives()
{
    TFreeWatch watch;
    watch.Watch(this);
    ButtonClick();
    return !watch.Gone(this);
}

void TskSkinButton::StartRepeat(bool on)
{
    if (!on) {
        FRepeatTimer.reset();
        return;
    }
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->SetInterval(static_cast<uint32_t>(std::max(1, RepeatInterval)));
    FRepeatTimer->OnTimer = [this](TObject*) { ButtonClick(); };
    FRepeatTimer->SetEnabled(true);
}

void TskSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Enabled()) {
        if (FCanFocused && !Focused() && HandleAllocated()) {
            SetFocus();
            if (!Focused()) {
                TskSkinCustomControl::MouseDown(Button, Shift, X, Y);
                return;
            }
        }
        FMousePressed = true;
        if (!FDown) {
            FMouseIn = true;
            SetDown(true);
            if (RepeatMode && !InGroup())
                StartRepeat(true);
            else if (InGroup() && !ClickSurvives())
                return;
        } else if (InGroup()) {
            FDownAtPress = true;
        }
        Invalidate();
    }
    TskSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TskSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FMousePressed) {
        FMousePressed = false;
        const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
        FMouseIn = inside;
        if (!InGroup()) {
            SetDown(false);
            StartRepeat(false);
            if (inside && !ClickSurvives())
                return;
        } else if (AllowAllUp && FDownAtPress && inside) {
            SetDown(false);
            if (!ClickSurvives())
                return;
        }
        FDownAtPress = false;
        Invalidate();
    }
    TskSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TskSkinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMousePressed && !InGroup()) {
        const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
        if (inside != FMouseIn) {
            FMouseIn = inside;
            if (RepeatMode)
                StartRepeat(inside);
            Invalidate();
        }
    }
    TskSkinCustomControl::MouseMove(Shift, X, Y);
}

void TskSkinButton::MouseEnter()
{
    FMouseIn = true;
    if (FMousePressed && RepeatMode && !InGroup())
        StartRepeat(true);
    StartMorph();
    Invalidate();
    TskSkinCustomControl::MouseEnter();
}

void TskSkinButton::MouseLeave()
{
    if (!(FCanFocused && FDefault && FActsAsDefault && !Focused()))
        FMouseIn = false;
    if (FMousePressed)
        StartRepeat(false);
    StartMorph();
    Invalidate();
    TskSkinCustomControl::MouseLeave();
}

void TskSkinButton::KeyDown(WORD& Key, TShiftState Shift)
{
    if (FCanFocused && Key == VK_SPACE && !FDown) {
        SetDown(true);
        if (RepeatMode && !ClickSurvives())
            return;
    } else if (FCanFocused && Key == VK_RETURN) {
        if (!ClickSurvives())
            return;
    }
    TskSkinCustomControl::KeyDown(Key, Shift);
}

void TskSkinButton::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FCanFocused && Key == VK_SPACE && FDown && !InGroup()) {
        SetDown(false);
        if (!ClickSurvives())
            return;
    }
    TskSkinCustomControl::KeyUp(Key, Shift);
}

void TskSkinButton::EnabledChanged()
{
    FMouseIn = false;
    StopMorph();
    TskSkinCustomControl::EnabledChanged();
}

void TskSkinButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = FCanFocused ? DLGC_WANTCHARS | (FActsAsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON) : 0;
        m.Handled = true;
        return;
    case CM_DIALOGKEY:
        if ((m.WParam == VK_RETURN && FDefault && Enabled() && !IsPushButtonWindow(GetFocus())) ||
            (m.WParam == VK_ESCAPE && Cancel && FCanFocused && KeyboardShiftState().Empty() && CanFocus())) {
            ButtonClick();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    case CM_DIALOGCHAR: {
        const WPARAM key = m.WParam < 256 ? static_cast<WPARAM>(std::toupper(static_cast<int>(m.WParam))) : m.WParam;
        if (FCanFocused && CanFocus() && IsAccel(key, Caption())) {
            SetFocus();
            ButtonClick();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    }
    case CM_FOCUSCHANGED: {
        auto* now = reinterpret_cast<TControl*>(m.LParam);
        // A focused push button, skinned or not, takes the default role from the others.
        auto* focused = dynamic_cast<TWinControl*>(now);
        const bool button = focused && focused->HandleAllocated() && IsPushButtonWindow(focused->Handle());
        FActsAsDefault = button ? now == this : FDefault;
        Invalidate();
        m.Handled = true;
        return;
    }
    case WM_SETFOCUS: {
        TFreeWatch watch;   // OnEnter may free the button
        watch.Watch(this);
        TskSkinCustomControl::WndProc(m);
        if (watch.Gone(this))
            return;
        StartMorph();
        Invalidate();
        return;
    }
    case WM_KILLFOCUS: {
        TFreeWatch watch;   // OnExit may free the button
        watch.Watch(this);
        TskSkinCustomControl::WndProc(m);
        if (watch.Gone(this))
            return;
        StartRepeat(false);
        FMousePressed = false;
        if (!InGroup())
            FDown = false;
        StartMorph();
        Invalidate();
        return;
    }
    case WM_SETTEXT:
        TskSkinCustomControl::WndProc(m);
        Invalidate();
        return;
    case WM_LBUTTONUP: {
        // The release gives the capture back before MouseUp: that is no lost capture. The
        // click it makes may free the button.
        TFreeWatch watch;
        watch.Watch(this);
        FReleasing = true;
        try {
            TskSkinCustomControl::WndProc(m);
        } catch (...) {
            if (!watch.Gone(this))
                FReleasing = false;
            throw;
        }
        if (!watch.Gone(this))
            FReleasing = false;
        return;
    }
    case WM_CAPTURECHANGED:
        TskSkinCustomControl::WndProc(m);
        if (FMousePressed && !FReleasing)
            CancelPress();
        return;
    default:
        TskSkinCustomControl::WndProc(m);
    }
}

// A drag (or dock drag) that starts from the button takes the rest of the press: the
// button comes up, and its repeat stops.
void TskSkinButton::DoStartDrag()
{
    if (FMousePressed)
        CancelPress();
    TskSkinCustomControl::DoStartDrag();
}

void TskSkinButton::DoStartDock()
{
    if (FMousePressed)
        CancelPress();
    TskSkinCustomControl::DoStartDock();
}

// The capture went elsewhere during a press: the button comes up without a click.
void TskSkinButton::CancelPress()
{
    FMousePressed = false;
    FDownAtPress = false;
    StartRepeat(false);
    if (!InGroup())
        SetDown(false);
    Invalidate();
}

//--- TskSkinPanel

TskSkinPanel::TskSkinPanel(TComponent* AOwner) : TskSkinCustomControl(AOwner)
{
    FSkinDataName = "panel";
    TControl::SetBounds(0, 0, 150, 150);
}

void TskSkinPanel::CreateParams(TCreateParams& p)
{
    TskSkinCustomControl::CreateParams(p);
    p.ClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TskSkinPanel::SetDefaultCaptionHeight(int value)
{
    FDefaultCaptionHeight = value;
    Invalidate();
}

void TskSkinPanel::SetCaptionMode(bool value)
{
    FCaptionMode = value;
    AlignControls();
    Invalidate();
}

void TskSkinPanel::SetAlphaBlend(bool value)
{
    TskSkinCustomControl::SetAlphaBlend(value);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TskSkinPanel::SetAlphaBlendValue(BYTE value)
{
    TskSkinCustomControl::SetAlphaBlendValue(value);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TskSkinPanel::LookUpSkinEntry()
{
    TskSkinCustomControl::LookUpSkinEntry();
    FHasRecord = false;
    FBGPictureIndex = -1;
    if (FIndex < 0)
        return;
    const auto* rec = dynamic_cast<const TskDataSkinPanelControl*>(FSD->CtrlList[static_cast<size_t>(FIndex)].get());
    if (!rec)
        return;
    FHasRecord = true;
    FBGPictureIndex = rec->BGPictureIndex;
    FCaptionSkinRect = rec->CaptionRect;
    FAlignment = rec->Alignment;
    FFont = rec->Font;
    FCheckRect = rec->CheckImageRect;
    FUnCheckRect = rec->UnCheckImageRect;
}

void TskSkinPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TskSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TskSkinPanel::AdjustClientRect(TRect& r) const
{
    if (FIndex < 0 || !FHasRecord) {
        if (BorderStyle != TskSkinBorderStyle::bvNone)
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        if (FCaptionMode)
            r.Top += FDefaultCaptionHeight;
        return;
    }
    r = FNewFrame.ClientRect;
}

void TskSkinPanel::ChangeSkin()
{
    TskSkinCustomControl::ChangeSkin();
    if (FRollUpState && RollUpMode) {
        const int h = FIndex >= 0 ? Height() - FNewFrame.ClientRect.Height() : FDefaultCaptionHeight + 1;
        TControl::SetBounds(Left(), Top(), Width(), h);
    } else {
        AlignControls();
    }
}

TRect TskSkinPanel::CaptionRect() const
{
    if (FIndex >= 0 && FHasRecord)
        return IsNullRect(FCaptionSkinRect) ? TRect{} : MapRect(FCaptionSkinRect);
    return {1, 1, Width() - 1, FDefaultCaptionHeight};
}

void TskSkinPanel::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    LookUpSkinEntry();
    if (FHasRecord && FBGPictureIndex != -1) {
        TBitmap picture(Width(), Height());
        if (const TSkBitmap* bg = FSD->ActivePicture(FBGPictureIndex); bg && !bg->Empty()) {
            TSkBitmap face(Width(), Height());
            TSkCanvas sc(face);
            for (int y = 0; y < Height(); y += bg->Height())
                for (int x = 0; x < Width(); x += bg->Width())
                    sc.Draw(x, y, *bg);
            AssignSkBitmap(picture, face);
        }
        Canvas().Draw(0, 0, picture);
        return;
    }
    TskSkinCustomControl::Paint();
}

void TskSkinPanel::DrawSkinnedLook(TBitmap& b)
{
    if (!FHasRecord) {
        TskSkinCustomControl::DrawSkinnedLook(b);
        return;
    }
    if (BorderStyle == TskSkinBorderStyle::bvNone && FResizeMode == 1 && !FCaptionMode) {
        TSkBitmap face(Width(), Height());
        if (FPicture) {
            const TRect cl{FSkinRect.Left + FFrame.ClientRect.Left, FSkinRect.Top + FFrame.ClientRect.Top,
                           FSkinRect.Left + FFrame.ClientRect.Right, FSkinRect.Top + FFrame.ClientRect.Bottom};
            const TSkBitmap part = CopyBitmapRect(*FPicture, cl);
            TSkCanvas sc(face);
            if (!part.Empty())
                for (int y = 0; y < Height(); y += part.Height())
                    for (int x = 0; x < Width(); x += part.Width())
                        sc.Draw(x, y, part);
        }
        AssignSkBitmap(b, face);
        return;
    }
    TskSkinCustomControl::DrawSkinnedLook(b);
    const TRect r = CaptionRect();
    if (!Caption().empty() && !IsNullRect(r))
        DrawCaption(b, r, false);
}

void TskSkinPanel::DrawDefaultLook(TBitmap& b)
{
    TskSkinCustomControl::DrawDefaultLook(b);
    TCanvas& c = b.Canvas();
    TRect r = Rect(0, 0, b.Width(), b.Height());
    switch (BorderStyle) {
    case TskSkinBorderStyle::bvFrame:
        c.Brush().SetColor(clBtnShadow);
        c.FrameRect(r);
        break;
    case TskSkinBorderStyle::bvRaised:
        c.Frame3D(r, clBtnHighlight, clBtnShadow, 1);
        break;
    case TskSkinBorderStyle::bvLowered:
        c.Frame3D(r, clBtnShadow, clBtnHighlight, 1);
        break;
    case TskSkinBorderStyle::bvNone:
        break;
    }
    if (!FCaptionMode)
        return;
    TRect bar = BorderStyle == TskSkinBorderStyle::bvNone ? TRect{0, 0, Width(), FDefaultCaptionHeight}
                                                          : TRect{1, 1, Width() - 1, FDefaultCaptionHeight};
    TRect frame = bar;
    c.Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
    c.Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
    if (CheckedMode) {
        const TRect box{5, bar.Top + (bar.Height() - 14) / 2, 19, bar.Top + (bar.Height() - 14) / 2 + 14};
        c.Brush().SetColor(clWindow);
        c.FillRect(box);
        c.Brush().SetColor(clBtnShadow);
        c.FrameRect(box);
        if (FChecked) {
            TSkBitmap face = SkBitmapFromBitmap(b);
            TSkCanvas sc(face);
            DrawCheckImage(sc, box.Left + 3, box.Top + 3, 0);
            AssignSkBitmap(b, face);
        }
    }
    DrawCaption(b, bar, true);
}

void TskSkinPanel::DrawCaption(TBitmap& b, const TRect& area, bool defaultLook)
{
    TCanvas& c = b.Canvas();
    TRect r = area;
    const int color = defaultLook ? ColorToRGB(FDefaultFont.Color()) : FFont.Color;
    if (RollUpMode) {
        r.Right -= defaultLook ? 10 : 12;
        TSkBitmap face = SkBitmapFromBitmap(b);
        TSkCanvas sc(face);
        DrawArrowImage(sc, {r.Right, r.Top, r.Right + 10, r.Bottom}, color,
                       FRollUpState ? TArrowKind::akDown : TArrowKind::akUp);
        AssignSkBitmap(b, face);
    }
    if (defaultLook) {
        c.Font().Assign(FDefaultFont);
        r.Left += CheckedMode ? 22 : 2;
    } else {
        if (UseSkinFont)
            SetFontFromSkin(c.Font(), FFont, FDefaultFont, FFont.Color);
        else {
            c.Font().Assign(FDefaultFont);
            c.Font().SetColor(static_cast<TColor>(FFont.Color));
        }
        if (CheckedMode) {
            const TRect src = FChecked ? FCheckRect : FUnCheckRect;
            if (FPicture && !IsNullRect(src)) {
                TSkBitmap face = SkBitmapFromBitmap(b);
                TSkCanvas(face).DrawTransparent(r.Left, r.Top + (r.Height() - src.Height()) / 2,
                                                CopyBitmapRect(*FPicture, src));
                AssignSkBitmap(b, face);
                r.Left += src.Width() + 2;
            }
        }
    }
    const std::string text = Caption();
    const int n = std::max(1, NumGlyphs);
    const int gw = FGlyph.Empty() ? 0 : FGlyph.Width() / n, gh = FGlyph.Empty() ? 0 : FGlyph.Height();
    TRect measure{0, 0, 0, 0};
    c.DrawText(text, measure, DT_CALCRECT | DT_SINGLELINE);
    const int content = gw + (gw > 0 ? Spacing : 0) + measure.Width();
    const bool left = defaultLook ? DefaultAlignment == taLeftJustify : FAlignment == TSkAlignment::taLeftJustify;
    const bool right = defaultLook ? DefaultAlignment == taRightJustify : FAlignment == TSkAlignment::taRightJustify;
    int x = left ? r.Left : right ? r.Right - content : r.Left + (r.Width() - content) / 2;
    if (gw > 0) {
        TSkBitmap face = SkBitmapFromBitmap(b);
        TSkCanvas sc(face);
        DrawGlyphFrame(sc, x, r.Top + (r.Height() - gh) / 2, !Enabled() && n >= 2 ? 2 : 1, n,
                       SkBitmapFromBitmap(FGlyph));
        AssignSkBitmap(b, face);
        x += gw + Spacing;
    }
    c.Brush().SetStyle(bsClear);
    TRect t{x, r.Top, r.Right, r.Bottom};
    c.DrawText(text, t, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TskSkinPanel::SetChecked(bool value)
{
    if (FChecked == value)
        return;
    FChecked = value;
    if (CheckedMode) {
        Invalidate();
        if (AutoEnabledControls)
            for (int i = 0; i < ControlCount(); ++i)
                Controls(i)->SetEnabled(value);
    }
    if (TNotifyEvent h = OnChecked)
        h(this);
}

void TskSkinPanel::SetRollUpState(bool value)
{
    if (!RollUpMode || FRollUpState == value)
        return;
    FRollUpState = value;
    if (value) {
        RealHeight = Height();
        ForgetHiddenChildren();
        for (int i = 0; i < ControlCount(); ++i)
            if (TControl* c = Controls(i); c->Visible()) {
                FHiddenChildren.push_back(c);
                c->FreeNotification(this);   // a child freed meanwhile leaves the list
                c->SetVisible(false);
            }
        const int h = FIndex >= 0 && FHasRecord ? Height() - FNewFrame.ClientRect.Height() : FDefaultCaptionHeight + 1;
        TskSkinCustomControl::SetBounds(Left(), Top(), Width(), h);
    } else {
        TskSkinCustomControl::SetBounds(Left(), Top(), Width(), RealHeight);
        RealHeight = -1;
        const std::vector<TControl*> children = FHiddenChildren;
        ForgetHiddenChildren();
        for (TControl* c : children)
            c->SetVisible(true);
    }
    Invalidate();
}

void TskSkinPanel::ForgetHiddenChildren()
{
    for (TControl* c : FHiddenChildren)
        RemoveFreeNotification(c);
    FHiddenChildren.clear();
}

void TskSkinPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TskSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove)
        std::erase(FHiddenChildren, AComponent);
}

void TskSkinPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FCaptionMode && PointInSkinRect(CaptionRect(), {X, Y}) && !IsNullRect(CaptionRect())) {
        if (CheckedMode)
            SetChecked(!FChecked);
        if (RollUpMode)
            SetRollUpState(!FRollUpState);
    }
    TskSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TskSkinPanel::TextChanged()
{
    if (FCaptionMode)
        Invalidate();
}

void TskSkinPanel::WndProc(TMessage& m)
{
    TskSkinCustomControl::WndProc(m);
}

TskSkinGroupBox::TskSkinGroupBox(TComponent* AOwner) : TskSkinPanel(AOwner)
{
    FSkinDataName = "groupbox";
    SetCaptionMode(true);
}

void WalkSkinControls(TWinControl* parent, TskSkinData* store, bool changed)
{
    if (!parent)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* s = dynamic_cast<TskSkinControl*>(c); s && (!s->SkinData() || s->SkinData() == store))
            changed ? s->ChangeSkin() : s->ForgetSkinEntry();
        if (auto* w = dynamic_cast<TWinControl*>(c))
            WalkSkinControls(w, store, changed);
    }
}
