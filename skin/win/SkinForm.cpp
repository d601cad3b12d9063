#include "skin/win/SkinForm.h"

#include <algorithm>

#include "framework/win/Application.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkFormLayout.h"
#include "skin/core/SkGlyphs.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinMenus.h"
#include "skin/win/skTrayIcon.h"

namespace {

constexpr UINT_PTR kFadeTimer = 1;

TFontStyles FontStyles(const TSkFontStyles& s)
{
    TFontStyles result;
    if (s.Bold) result.Include(fsBold);
    if (s.Italic) result.Include(fsItalic);
    if (s.Underline) result.Include(fsUnderline);
    if (s.StrikeOut) result.Include(fsStrikeOut);
    return result;
}

int Rgb(TColor c) { return static_cast<int>(ColorToRGB(c)); }

TPoint LParamPoint(LPARAM l) { return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

TskSkinMenu* FindFormSkinMenu(TComponent* component)
{
    TskSkinForm* f = FindSkinForm(component);
    return f ? f->SkinMenu() : nullptr;
}

// The part of a picture for an object grown in one direction: the ends outside the frame's
// corner points kept, the middle tiled.
TSkBitmap ObjectImage(const TSkBitmap& source, const TRect& sourceRect, const TskActiveSkinObject& o,
                      const TskSkinFormInfo& fi, bool stretches)
{
    const int w = o.ObjectRect.Width(), h = o.ObjectRect.Height();
    TSkBitmap image(std::max(w, 1), std::max(h, 1));
    TSkCanvas c(image);
    if (!stretches || (w == o.SkinRect.Width() && h == o.SkinRect.Height())) {
        c.CopyRect({0, 0, w, h}, source, sourceRect);
        return image;
    }
    if (h == o.SkinRect.Height()) {
        const int a = std::clamp(fi.LTPoint.X - o.SkinRect.Left, 0, sourceRect.Width());
        const int r = std::clamp(o.SkinRect.Right - fi.RTPoint.X, 0, sourceRect.Width() - a);
        ComposeHSkinPicture(a, r, image, source, sourceRect, w);
    } else {
        const int a = std::clamp(fi.LTPoint.Y - o.SkinRect.Top, 0, sourceRect.Height());
        const int r = std::clamp(o.SkinRect.Bottom - fi.LBPoint.Y, 0, sourceRect.Height() - a);
        ComposeVSkinPicture(a, r, image, source, sourceRect, h);
    }
    return image;
}

}  // namespace

TskSkinForm* FindSkinForm(TComponent* component)
{
    for (TComponent* c = component; c; c = c->Owner()) {
        if (auto* f = dynamic_cast<TskSkinForm*>(c))
            return f;
        if (dynamic_cast<TForm*>(c)) {
            for (int i = 0; i < c->ComponentCount(); ++i)
                if (auto* f = dynamic_cast<TskSkinForm*>(c->Components(i)))
                    return f;
            return nullptr;
        }
    }
    return nullptr;
}

// Construction

TskSkinForm::TskSkinForm(TComponent* AOwner) : TComponent(AOwner), FForm(dynamic_cast<TForm*>(AOwner))
{
    for (TFont* f : {&FDefCaptionFont, &FDefInActiveCaptionFont}) {
        f->SetName("Arial");
        f->SetHeight(14);
        f->SetStyle(TFontStyles{fsBold});
    }
    FDefCaptionFont.SetColor(clBtnText);
    FDefInActiveCaptionFont.SetColor(clBtnShadow);
    FMorphTimer = new TTimer(this);
    FMouseTimer = new TTimer(this);
    FAnimateTimer = new TTimer(this);
    for (auto [t, interval] : {std::pair{FMorphTimer, 20u}, {FMouseTimer, 50u}, {FAnimateTimer, 25u}}) {
        t->SetEnabled(false);
        t->SetInterval(interval);
    }
    FMorphTimer->OnTimer = [this](TObject* s) { MorphTick(s); };
    FMouseTimer->OnTimer = [this](TObject* s) { MouseTick(s); };
    FAnimateTimer->OnTimer = [this](TObject* s) { AnimateTick(s); };
    FRouter.OnHoverChanged = [this](TskActiveSkinObject* o) {
        if (FSkinHint)
            FSkinHint->HideHint();
        if (o && IsFormActive() && ShowObjectHint && FSkinHint && !o->Hint.empty())
            FSkinHint->ShowHintDelayed(o->Hint);
    };
    FRouter.OnCapture = [this](TskActiveSkinObject*, bool set) {
        if (!FForm || !FForm->HandleAllocated())
            return;
        if (set)
            SetCapture(FForm->Handle());
        else if (GetCapture() == FForm->Handle())
            ReleaseCapture();
    };
    SetFindSkinMenu(&FindFormSkinMenu);
    if (!FForm)
        return;
    FForm->SetBorderIcons({});
    FSystemMenuPopup = new TPopupMenu(this);
    FSkinPopupMenu = new TskSkinPopupMenu(this);
    FSkinPopupMenu->SkinForm = FForm;
    auto trayItem = [this](const char* name, const char* key, const char* builtin, std::function<void()> action) {
        auto* item = new TMenuItem(nullptr);
        item->SetName(name);
        item->SetCaption(name[0] ? ResourceText(key, builtin) : "-");
        if (action)
            item->OnClick = [action](TObject*) { action(); };
        FSkinPopupMenu->Items()->Add(item);
    };
    trayItem("TRAY_DSF_RESTORE", "MI_RESTORECAPTION", "&Restore", [this] { RestoreFromTray(); });
    trayItem("", "", "-", nullptr);
    trayItem("TRAY_DSF_CLOSE", "MI_CLOSECAPTION", "&Close", [this] { CloseForm(); });
    FSkinMenu = new TskSkinMenu(FForm);
    FSkinMenu->FreeNotification(this);
    // The frame is ours: no system caption, a sizing border for the system's size loop.
    FOldParamsFilter = FForm->CreateParamsFilter;
    FForm->CreateParamsFilter = [this, previous = FOldParamsFilter](TCreateParams& p) {
        if (previous)
            previous(p);
        if (!SupportNCArea || FForm->BorderStyle() == bsNone)
            return;
        p.Style &= 0xFF3FFFFFu;
        if (Sizeable)
            p.Style |= WS_THICKFRAME;
    };
    FOldWindowProc = FForm->WindowProc;
    FForm->WindowProc = [this](TMessage& m) { Hook(m); };
    FHooked = true;
    if (FForm->HandleAllocated())
        FForm->RecreateWnd();
}

TskSkinForm::~TskSkinForm()
{
    if (FKeyFilter)
        Application->RemoveMessageFilter(std::exchange(FKeyFilter, 0));
    if (FForm && FHooked) {
        FForm->WindowProc = FOldWindowProc;
        FForm->CreateParamsFilter = FOldParamsFilter;
        FHooked = false;
    }
    if (FTrayIcon) {
        FTrayIcon->RemoveFreeNotification(this);
        ReleaseTrayIcon();
    }
    FRouter.Objects.clear();
    delete FSkinMenu;
    if (FIcon)
        DestroyIcon(FIcon);
}

void TskSkinForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FSkinData) {
        FSkinData = nullptr;
        FSkinActive = false;
        FRouter.Objects.clear();
        FRouter.ClearIndices();
    }
    if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FTrayIcon) FTrayIcon = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (AComponent == FSkinMenu) FSkinMenu = nullptr;
    ForgetControl(AComponent);
}

// Properties

void TskSkinForm::SetShowIcon(bool value)
{
    FShowIcon = value;
    if (!Loading())
        SendNCPaint();
}

void TskSkinForm::SetSkinHint(TskSkinHint* value)
{
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = value;
    if (value) value->FreeNotification(this);
}

bool TskSkinForm::UseSkinFontInMenu() const { return FSkinMenu && FSkinMenu->UseSkinFont; }
void TskSkinForm::SetUseSkinFontInMenu(bool value) { if (FSkinMenu) FSkinMenu->UseSkinFont = value; }
int TskSkinForm::DefMenuItemHeight() const { return FSkinMenu ? FSkinMenu->DefaultItemHeight : 20; }
void TskSkinForm::SetDefMenuItemHeight(int value)
{
    if (FSkinMenu && value > 0)
        FSkinMenu->DefaultItemHeight = value;
}
TFont& TskSkinForm::DefMenuItemFont() { return FSkinMenu ? FSkinMenu->DefaultItemFont : FDefCaptionFont; }
void TskSkinForm::SetMenusAlphaBlend(bool value) { if (FSkinMenu) FSkinMenu->AlphaBlend = value; }
void TskSkinForm::SetMenusAlphaBlendAnimation(bool value) { if (FSkinMenu) FSkinMenu->AlphaBlendAnimation = value; }
void TskSkinForm::SetMenusAlphaBlendValue(BYTE value) { if (FSkinMenu) FSkinMenu->AlphaBlendValue = value; }

void TskSkinForm::SetTrayIcon(TskTrayIcon* value)
{
    if (FTrayIcon) {
        FTrayIcon->RemoveFreeNotification(this);
        ReleaseTrayIcon();
    }
    FTrayIcon = value;
    if (!value)
        return;
    value->FreeNotification(this);
    if (!AlwaysShowInTray)
        value->SetIconVisible(false);
    if (!value->PopupMenu) {
        value->PopupMenu = FSkinPopupMenu;
        value->OnRestore = [this] { RestoreFromTray(); };
    }
}

// The tray icon may outlive this form: it keeps neither our menu nor our restore.
void TskSkinForm::ReleaseTrayIcon()
{
    if (FTrayIcon->PopupMenu != FSkinPopupMenu)
        return;
    FTrayIcon->PopupMenu = nullptr;
    FTrayIcon->OnRestore = nullptr;
}

// Only a change touches the window: writing false to a form that never blended leaves a
// layered style of the form's own (a per-pixel alpha window) in place.
void TskSkinForm::SetAlphaBlend(bool value)
{
    if (value == FAlphaBlend)
        return;
    FAlphaBlend = value;
    if (Loading() || !FForm || !FForm->HandleAllocated())
        return;
    HWND h = FForm->Handle();
    LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    SetWindowLongPtrW(h, GWL_EXSTYLE, value ? ex | WS_EX_LAYERED : ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if (value)
        SetWindowAlpha(h, FAlphaBlendValue);
}

void TskSkinForm::SetAlphaBlendValue(BYTE value)
{
    FAlphaBlendValue = value;
    if (FAlphaBlend && !Loading() && FForm && FForm->HandleAllocated())
        SetWindowAlpha(FForm->Handle(), value);
}

void TskSkinForm::SetSystemMenu(TPopupMenu* value)
{
    if (FSystemMenu) FSystemMenu->RemoveFreeNotification(this);
    FSystemMenu = value;
    if (value) value->FreeNotification(this);
}

void TskSkinForm::SetSkinData(TskSkinData* value)
{
    if (FSkinData) FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (value) value->FreeNotification(this);
    if (FSkinPopupMenu)
        FSkinPopupMenu->SetSkinData(value);
    Rebuild();
}

void TskSkinForm::SetMenusSkinData(TskSkinData* value)
{
    if (FMenusSkinData) FMenusSkinData->RemoveFreeNotification(this);
    FMenusSkinData = value;
    if (value) value->FreeNotification(this);
}

void TskSkinForm::SetBorderIcons(TskBorderIcons value)
{
    FBorderIcons = value;
    if (SupportNCArea || FSkinActive) {
        FRouter.Objects = CreateDefaultButtons(*this);
        FRouter.ClearIndices();
        ApplyIcons();
        SendNCPaint();
    }
}

// State helpers

bool TskSkinForm::HasBorder() const { return FForm && FForm->BorderStyle() != bsNone; }
bool TskSkinForm::FrameShown() const { return SupportNCArea && HasBorder(); }
bool TskSkinForm::ToolWindow() const
{
    return FForm && (FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin);
}
bool TskSkinForm::IsMainForm() const { return FForm && Application->MainForm() == FForm; }

bool TskSkinForm::IsFormActive() const
{
    return FForm && FForm->HandleAllocated() && (FNCActive || FForm->Active());
}

TRect TskSkinForm::FormBounds() const
{
    if (!FForm || !FForm->HandleAllocated())
        return FForm ? Bounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height()) : TRect{};
    RECT r{};
    GetWindowRect(const_cast<TForm*>(FForm)->Handle(), &r);
    return TRect::FromRECT(r);
}

void TskSkinForm::SetFormBounds(const TRect& r) { FForm->SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

TPoint TskSkinForm::CursorInWindow() const
{
    POINT p{};
    GetCursorPos(&p);
    const TRect b = FormBounds();
    return {p.x - b.Left, p.y - b.Top};
}

std::string TskSkinForm::ResourceText(const char* key, const char* builtin) const
{
    if (FSkinData && FSkinData->ResourceStrData()) {
        std::string s = FSkinData->ResourceStrData()->GetResStr(key);
        if (!s.empty())
            return s;
    }
    return builtin;
}

TPoint TskSkinForm::MinimumSize() const
{
    TSkMinSizeInput in;
    in.NCArea = SupportNCArea;
    in.SkinActive = FSkinActive;
    if (FSkinActive) {
        in.PictureWidth = FSkinData->FPicture().Width();
        in.PictureHeight = FSkinData->FPicture().Height();
        in.ClientRectHeight = FSkinData->FormInfo.ClRect.Height();
    }
    in.MinWidth = MinWidth;
    in.MinHeight = MinHeight;
    in.Minimized = FWindowState == 1;
    in.RolledUp = FRolledUp;
    in.CaptionHeight = DefaultCaptionHeight(ToolWindow());
    return ::MinimumSize(in);
}

void TskSkinForm::SendNCPaint()
{
    if (FForm && FForm->HandleAllocated() && FrameShown())
        SendMessageW(FForm->Handle(), WM_NCPAINT, 1, 0);
}

void TskSkinForm::ResizeNudge()
{
    if (!FForm || !FForm->HandleAllocated())
        return;
    const TRect b = FormBounds();
    const int d = b.Width() <= MinimumSize().X ? -1 : 1;
    SetFormBounds({b.Left, b.Top, b.Right + d, b.Bottom});
    SetFormBounds(b);
}

// Objects

void TskSkinForm::MakeObjects()
{
    FRouter.ClearIndices();
    FRouter.Objects = FSkinActive ? CreateSkinObjects(*this, *FSkinData) : CreateDefaultButtons(*this);
    ApplyIcons();
    FindAreaControls();
}

void TskSkinForm::ApplyIcons()
{
    TSkBorderIconsState s;
    s.Icons = FBorderIcons;
    s.HideCaptionButtons = HideCaptionButtons;
    s.FormCaption = FForm ? FForm->Caption() : std::string();
    std::function<std::string(const char*, const char*)> hints;
    if (UseDefaultObjectHint && FSkinData)
        hints = [this](const char* key, const char* builtin) { return ResourceText(key, builtin); };
    ApplyBorderIcons(FRouter.Objects, s, hints);
    for (auto& o : FRouter.Objects)
        if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get())) {
            if (b->Command == cmDefault) {
                bool show = false;
                if (OnActivateCustomObject)
                    OnActivateCustomObject(b->IDName, show);
                b->Visible = show;
            }
            b->DrawsIcon = b->Command == cmSysMenu && FShowIcon && b->SkinRectInAPicture;
        } else if (TskCommand* c = CommandOf(*o); c && *c == cmDefault) {
            bool show = false;   // a button-style animated object of its own
            if (OnActivateCustomObject)
                OnActivateCustomObject(o->IDName, show);
            o->Visible = show;
        }
}

void TskSkinForm::ComputeGeometry()
{
    if (!FForm)
        return;
    const TRect b = FormBounds();
    if (FFrameWidth == 0) FFrameWidth = b.Width();
    if (FFrameHeight == 0) FFrameHeight = b.Height();
    if (FSkinActive) {
        const TSkBitmap& pic = FSkinData->FPicture();
        const TskSkinFormInfo& fi = FSkinData->FormInfo;
        FGeometry = ComputeFrameGeometry(fi, pic.Width(), pic.Height(), FFrameWidth, FFrameHeight);
        for (auto& o : FRouter.Objects)
            o->ObjectRect = MapSkinRect(o->SkinRect, fi, pic.Width(), pic.Height(), FGeometry.DX, FGeometry.DY);
        const int icon = GetSystemMetrics(SM_CXSMICON);
        LayoutCaptionButtons(FRouter.Objects, FGeometry, fi, {icon, GetSystemMetrics(SM_CYSMICON)});
        PlaceRollUpObjects();
        return;
    }
    // The default frame: its buttons along the caption.
    const int ch = DefaultCaptionHeight(ToolWindow()), bs = DefaultButtonSize(ToolWindow());
    TSkDefaultButtonsShown shown;
    TskSkinStdButtonObject* byCommand[7] = {};
    for (auto& o : FRouter.Objects)
        if (auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get()))
            byCommand[sb->Command] = sb;
    auto visible = [&](TskCommand c) { return byCommand[c] && byCommand[c]->Visible; };
    shown.Close = visible(cmClose);
    shown.Maximize = visible(cmMaximize);
    shown.Minimize = visible(cmMinimize);
    shown.RollUp = visible(cmRollUp);
    shown.Tray = visible(cmMinimizeToTray);
    shown.SysMenu = visible(cmSysMenu);
    const int iconSize = FShowIcon ? GetSystemMetrics(SM_CXSMICON) : bs;
    const TSkDefaultButtons l = LayoutDefaultButtons(FFrameWidth, ch, bs, iconSize, shown);
    const TRect rects[7] = {l.Close, l.Maximize, l.Minimize, l.SysMenu, {}, l.RollUp, l.Tray};
    for (int c = 0; c < 7; ++c)
        if (byCommand[c])
            byCommand[c]->ObjectRect = rects[c];
    FGeometry = {};
    FGeometry.Width = FFrameWidth;
    FGeometry.Height = FFrameHeight;
    FGeometry.CaptionRect = l.Caption;
    FGeometry.ClientRect = {3, ch + 3, FFrameWidth - 3, FFrameHeight - 3};
}

void TskSkinForm::UpdateFrame(bool full)
{
    (void)full;
    if (!FSkinActive || !FForm || !FForm->HandleAllocated())
        return;
    ComputeGeometry();
    if (!SupportNCArea && FRolledUp)
        SetRollUpRegion();
    else
        SetRegion(true);
    if (OnChangeClientRect)
        OnChangeClientRect(FGeometry.ClientRect);
    if (!SupportNCArea) {
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
        PlaceAreaControls();
    } else if (!FHasRegion) {
        SendNCPaint();
    }
}

// Region

void TskSkinForm::RemoveRegion()
{
    FMaskStrips = {};
    if (!FHasRegion)
        return;
    FHasRegion = false;
    if (FForm && FForm->HandleAllocated())
        SetWindowRgn(FForm->Handle(), nullptr, TRUE);
}

void TskSkinForm::SetRegion(bool full)
{
    if (!FForm || !FForm->HandleAllocated())
        return;
    if (!FSkinActive || FSkinData->FMask().Empty() || (SupportNCArea && !HasBorder())) {
        RemoveRegion();
        return;
    }
    const TSkBitmap& mask = FSkinData->FMask();
    TRegion region;
    if (full) {
        const TskSkinFormInfo& fi = FSkinData->FormInfo;
        TSkinFrame frame = PictureFrame(fi);
        frame.ClientRect = IsNullRect(fi.MaskRectArea) ? fi.ClRect : fi.MaskRectArea;
        TSkinFrame now = FGeometry.NewFrame();
        now.ClientRect = FGeometry.MaskRect;
        FMaskStrips = ComposeSkinBorders(mask, frame, FGeometry.Width, now);
        region = ComposeSkinRegion(mask, NullRect(), frame, FGeometry.Width, now);
    } else {
        region = CreateMaskRegion(mask);
    }
    if (!region) {
        RemoveRegion();
        return;
    }
    // After a successful SetWindowRgn the system owns the region.
    if (SetWindowRgn(FForm->Handle(), region.Get(), TRUE)) {
        region.Release();
        FHasRegion = true;
    }
}

bool TskSkinForm::MaskSolid(TPoint p) const
{
    const TRect& m = FGeometry.MaskRect;
    auto black = [](const TSkBitmap& b, int x, int y) { return b.Contains(x, y) && SkRgbPart(b.Pixel(x, y)) == 0; };
    if (p.Y < m.Top)
        return black(FMaskStrips.Top, p.X, p.Y);
    if (p.Y >= m.Bottom)
        return black(FMaskStrips.Bottom, p.X, p.Y - m.Bottom);
    if (p.X < m.Left)
        return black(FMaskStrips.Left, p.X, p.Y - m.Top);
    if (p.X >= m.Right)
        return black(FMaskStrips.Right, p.X - m.Right, p.Y - m.Top);
    return true;
}

// Hit testing

int TskSkinForm::HitTest(TPoint p)
{
    ComputeGeometry();
    if (FSkinActive) {
        TSkHitInput in;
        in.Geometry = &FGeometry;
        in.BorderWidth = FSkinData->FormInfo.BorderWidth;
        in.RolledUp = FRolledUp;
        in.Minimized = FWindowState == 1;
        in.Maximized = FWindowState == 2;
        in.Sizeable = Sizeable;
        in.InSizeMove = FInSizeMove;
        in.ObjectHovered = FRouter.HoverIndex != -1;
        in.HasMask = !FSkinData->MaskName.empty() && !FSkinData->FMask().Empty();
        in.OnCaptionObject = [this](TPoint q) { return FRouter.OnCaptionObject(q); };
        in.MaskSolid = [this](TPoint q) { return MaskSolid(q); };
        return HitTestSkinned(in, p);
    }
    TSkDefaultHitInput in;
    in.Width = FGeometry.Width;
    in.Height = FGeometry.Height;
    in.CaptionHeight = DefaultCaptionHeight(ToolWindow());
    in.CaptionRect = FGeometry.CaptionRect;
    in.Maximized = FWindowState == 2;
    in.Minimized = FWindowState == 1;
    in.RolledUp = FRolledUp;
    in.Sizeable = Sizeable;
    in.ObjectHovered = FRouter.HoverIndex != -1 || FRouter.ObjectAt(p) != -1;
    return HitTestDefault(in, p);
}

// Painting

void TskSkinForm::PaintObject(TskActiveSkinObject&)
{
    // An object is part of the frame picture (or the face): that is drawn again around it.
    if (FrameShown())
        SendNCPaint();
    else if (!SupportNCArea && FForm && FForm->HandleAllocated())
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
}

void TskSkinForm::PaintFrame(HDC dc)
{
    if (!FSkinActive) {
        PaintDefaultFrame(dc);
        return;
    }
    const TPoint minimum = MinimumSize();
    ComputeGeometry();
    const int W = FGeometry.Width, H = FGeometry.Height;
    if (IsNullRect(FSkinData->FormInfo.ClRect) || W < minimum.X || H < minimum.Y)
        return;
    TBitmap bitmap;
    RenderSkin(bitmap, false);
    const int saved = SaveDC(dc);
    const TRect& cr = FGeometry.ClientRect;
    if (!IsNullRect(cr) && !FRolledUp)
        ExcludeClipRect(dc, cr.Left, cr.Top, cr.Right, cr.Bottom);
    BitBlt(dc, 0, 0, W, H, bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void TskSkinForm::RenderSkin(TBitmap& bitmap, bool face)
{
    const TskSkinFormInfo& fi = FSkinData->FormInfo;
    const int W = std::max(FGeometry.Width, 1), H = std::max(FGeometry.Height, 1);
    const bool active = IsFormActive();
    const TSkBitmap& picture = FSkinData->FPicture();
    const TSkBitmap& frame = !active && !FSkinData->FInActivePicture().Empty() ? FSkinData->FInActivePicture() : picture;
    const TSkinStretch stretch{fi.LeftStretch, fi.RightStretch, fi.TopStretch, fi.BottomStretch};
    TSkBitmap whole(W, H);
    TSkCanvas c(whole);
    if (face && FRolledUp && !FSkinData->FRollUpPicture().Empty()) {
        c.Draw(0, 0, RollUpFacePicture(FSkinData->FRollUpPicture(), fi.RollUpLeftPoint.X, fi.RollUpRightPoint.X, W));
    } else if (face) {
        // The whole window is the face: the picture composed to its size, or as it is.
        if (SkinStretches(fi))
            ComposeSkinPicture(frame, frame.BoundsRect(), PictureFrame(fi), whole, W, H, FGeometry.NewFrame(), stretch,
                               true);
        else
            c.Draw(0, 0, frame);
    } else {
        const TSkinBorders parts = ComposeSkinBordersStretched(frame, frame.BoundsRect(), PictureFrame(fi), W, H,
                                                               FGeometry.NewFrame(), stretch);
        const int top = parts.Top.Height();
        c.Draw(0, 0, parts.Top);
        c.Draw(0, top, parts.Left);
        c.Draw(W - parts.Right.Width(), top, parts.Right);
        c.Draw(0, H - parts.Bottom.Height(), parts.Bottom);
    }
    const bool stretches = SkinStretches(fi);
    std::vector<TskSkinCaptionObject*> captions;
    std::vector<TskActiveSkinObject*> selfPainting;
    for (auto& o : FRouter.Objects) {
        if (!o->ShownInRollUpState() || !o->Visible)
            continue;
        if (o->PaintsItself()) {
            selfPainting.push_back(o.get());
            continue;
        }
        const TSkBitmap* ap = FSkinData->ActivePicture(o->ActivePictureIndex);
        const TRect& r = o->ObjectRect;
        auto copy = [&](const TSkBitmap* source, const TRect& sr) {
            if (source && !IsNullRect(sr))
                c.Draw(r.Left, r.Top, ObjectImage(*source, sr, *o, fi, stretches));
        };
        if (auto* cap = dynamic_cast<TskSkinCaptionObject*>(o.get())) {
            cap->Active = active;
            if (cap->Morphing && ap && !IsNullRect(cap->ActiveSkinRect) && cap->MorphFactor > 0 &&
                cap->MorphFactor < 1) {
                TskEffectBmp blend(ObjectImage(picture, cap->SkinRect, *o, fi, stretches));
                blend.MorphBy(cap->MorphKind, TskEffectBmp(ObjectImage(*ap, cap->ActiveSkinRect, *o, fi, stretches)),
                              cap->MorphFactor);
                c.Draw(r.Left, r.Top, blend.ToBitmap());
            } else if (active && !IsNullRect(cap->ActiveSkinRect)) {
                copy(ap, cap->ActiveSkinRect);
            }
            captions.push_back(cap);
            continue;
        }
        auto* b = dynamic_cast<TskSkinButtonObject*>(o.get());
        auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get());
        if (o->Enabled && !active && !IsNullRect(o->InActiveSkinRect)) {
            copy(ap, o->InActiveSkinRect);
            continue;
        }
        if (sb && sb->InRestoreState() && !IsNullRect(sb->RestoreRect) && sb->Enabled &&
            (active || IsNullRect(sb->InActiveSkinRect))) {
            if (sb->Down() && sb->MouseIn && !IsNullRect(sb->RestoreDownRect))
                copy(ap, sb->RestoreDownRect);
            else if (sb->Active && !IsNullRect(sb->RestoreActiveRect))
                copy(ap, sb->RestoreActiveRect);
            else
                copy(ap, sb->RestoreRect);
            continue;
        }
        if (b && !b->Enabled && !IsNullRect(b->DisableSkinRect)) {
            copy(ap, b->DisableSkinRect);
            continue;
        }
        if (b && b->Down() && !IsNullRect(b->DownRect) && (b->GroupIndex != -1 || b->MouseIn)) {
            copy(ap, b->DownRect);
            continue;
        }
        if (o->Morphing && o->MorphFactor > 0 && o->MorphFactor < 1 && ap && !IsNullRect(o->ActiveSkinRect)) {
            const TSkBitmap& normalSource = o->SkinRectInAPicture ? *ap : picture;
            TskEffectBmp normal(ObjectImage(normalSource, o->SkinRect, *o, fi, stretches));
            const TskEffectBmp hover(ObjectImage(*ap, o->ActiveSkinRect, *o, fi, stretches));
            normal.MorphBy(o->MorphKind, hover, o->MorphFactor);
            c.Draw(r.Left, r.Top, normal.ToBitmap());
            continue;
        }
        if (o->Active && !IsNullRect(o->ActiveSkinRect))
            copy(ap, o->ActiveSkinRect);
        else if (o->SkinRectInAPicture)
            copy(ap, o->SkinRect);
    }
    PaintSelfPaintingObjects(whole, frame, selfPainting, bitmap);
    TCanvas& canvas = bitmap.Canvas();
    for (TskSkinCaptionObject* cap : captions) {
        if (cap->Text.empty() || !cap->Record)
            continue;
        const TskDataSkinCaption& rec = *cap->Record;
        TFont& font = canvas.Font();
        font.SetName(rec.Font.Name);
        font.SetHeight(rec.Font.Height);
        font.SetStyle(FontStyles(rec.Font.Style));
        font.SetCharset(FSkinData->ResourceStrData() ? FSkinData->ResourceStrData()->CharSet
                                                      : FDefCaptionFont.Charset());
        const int color = active ? rec.ActiveFontColor : rec.Font.Color;
        TRect box = cap->TextBox();
        box = {box.Left + cap->ObjectRect.Left, box.Top + cap->ObjectRect.Top, box.Right + cap->ObjectRect.Left,
               box.Bottom + cap->ObjectRect.Top};
        const std::string text = FitTextToWidth(canvas, cap->Text, box.Width());
        const SIZE size = canvas.TextExtent(text);
        int x = box.Left;
        if (rec.Alignment == TSkAlignment::taRightJustify)
            x = box.Right - size.cx;
        else if (rec.Alignment == TSkAlignment::taCenter)
            x = box.Left + (box.Width() - size.cx) / 2;
        const int y = box.Top + (box.Height() - size.cy) / 2;
        DrawCaptionFrame(canvas, *cap, x, size.cx, box, active);
        canvas.Brush().SetStyle(bsClear);
        if (rec.Shadow) {
            font.SetColor(static_cast<TColor>(active ? rec.ActiveShadowColor : rec.ShadowColor));
            canvas.TextRect(box, x + 1, y + 1, text);
        }
        font.SetColor(static_cast<TColor>(color));
        canvas.TextRect(box, x, y, text);
    }
    if (FShowIcon)
        for (auto& o : FRouter.Objects)
            if (auto* sb = dynamic_cast<TskSkinStdButtonObject*>(o.get()); sb && sb->DrawsIcon && sb->Visible)
                if (HICON icon = WindowIcon())
                    DrawIconEx(canvas.Handle(), sb->ObjectRect.Left, sb->ObjectRect.Top, icon, 0, 0, 0, nullptr,
                               DI_NORMAL);
    if (!active && fi.AutoRenderingInActiveImage) {
        TskEffectBmp effect(SkBitmapFromBitmap(bitmap));
        effect.ApplyInactiveEffect(fi.InActiveEffect);
        AssignSkBitmap(bitmap, effect.ToBitmap());
    }
}

void TskSkinForm::PaintDefaultFrame(HDC dc)
{
    if (FRouter.Objects.empty())
        MakeObjects();
    ComputeGeometry();
    const int W = FGeometry.Width, H = FGeometry.Height;
    if (W <= 0 || H <= 0)
        return;
    const bool active = IsFormActive();
    const int ch = DefaultCaptionHeight(ToolWindow());
    TBitmap bitmap(W, H);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, W, H});
    // The caption's grooves between the system-menu button and the right-hand buttons.
    const TRect& cap = FGeometry.CaptionRect;
    const int lineLeft = cap.Left + 2, lineRight = cap.Right - 3;
    if (ch - 4 > 1)
        for (int i = 0; i < ch - 5; ++i) {
            canvas.Pen().SetColor(i % 2 == 0 ? clBtnHighlight : clBtnShadow);
            canvas.MoveTo(lineLeft, 3 + 2 + i);
            canvas.LineTo(lineRight, 3 + 2 + i);
        }
    if (FForm && !FForm->Caption().empty()) {
        canvas.Font().Assign(active ? FDefCaptionFont : FDefInActiveCaptionFont);
        const std::string text = FitTextToWidth(canvas, FForm->Caption(), std::max(0, lineRight - lineLeft - 5));
        const SIZE size = canvas.TextExtent(text);
        const int boxWidth = size.cx + 5;
        const int boxLeft = lineLeft + (lineRight - lineLeft - boxWidth) / 2;
        const TRect box{boxLeft, 3, boxLeft + boxWidth, 3 + ch};
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(box);
        canvas.Brush().SetStyle(bsClear);
        canvas.TextOut(box.Left + 3, box.Top + (ch - size.cy) / 2, text);
    }
    // The default buttons.
    for (auto& o : FRouter.Objects) {
        auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get());
        if (!b || !b->Visible || IsNullRect(b->ObjectRect))
            continue;
        const TRect& r = b->ObjectRect;
        if (b->DrawsIcon) {
            if (HICON icon = WindowIcon())
                DrawIconEx(canvas.Handle(), r.Left, r.Top, icon, 0, 0, 0, nullptr, DI_NORMAL);
            continue;
        }
        TSkBitmap face(r.Width(), r.Height(), SkPixelFromColor(Rgb(clBtnFace)));
        TSkCanvas fc(face);
        const bool pressed = b->Down() && b->MouseIn;
        if (pressed || b->MouseIn) {
            fc.BrushColor = SkPixelFromColor(pressed ? 0xB59385 : 0xD2BDB6);
            fc.FillRect(face.BoundsRect());
            fc.PenColor = SkPixelFromColor(0x800000);
            fc.FrameRect(face.BoundsRect());
        }
        const int color = Rgb(b->Enabled ? clBtnText : clBtnShadow);
        const int gx = r.Width() / 2 - 5 + (pressed ? 1 : 0), gy = r.Height() / 2 - 4 + (pressed ? 1 : 0);
        switch (b->Command) {
        case cmClose: DrawCloseGlyph(fc, gx, gy, color); break;
        case cmMaximize:
            (FWindowState == 2 ? DrawRestoreGlyph : DrawMaximizeGlyph)(fc, gx, gy, color);
            break;
        case cmMinimize:
            (FWindowState == 1 ? DrawRestoreGlyph : DrawMinimizeGlyph)(fc, gx, gy, color);
            break;
        case cmSysMenu: DrawSysMenuGlyph(fc, gx, gy, color); break;
        case cmRollUp: (FRolledUp ? DrawRollUpGlyph : DrawRollDownGlyph)(fc, gx, gy, color); break;
        case cmMinimizeToTray: DrawTrayGlyph(fc, gx, gy, color); break;
        default: break;
        }
        TBitmap piece;
        AssignSkBitmap(piece, face);
        canvas.Draw(r.Left, r.Top, piece);
    }
    TRect ring{0, 0, W, H};
    canvas.Frame3D(ring, cl3DLight, cl3DDkShadow, 1);
    canvas.Frame3D(ring, clBtnHighlight, clBtnShadow, 1);
    canvas.Frame3D(ring, clBtnFace, clBtnFace, 1);
    const int saved = SaveDC(dc);
    const TRect& cr = FGeometry.ClientRect;
    if (!FRolledUp)
        ExcludeClipRect(dc, cr.Left, cr.Top, cr.Right, cr.Bottom);
    BitBlt(dc, 0, 0, W, H, canvas.Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void TskSkinForm::PaintClientBackground(HDC dc)
{
    RECT client{};
    GetClientRect(FForm->Handle(), &client);
    const TRect area = TRect::FromRECT(client);
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (!SupportNCArea) {
        // The whole window is the face.
        if (FSkinActive) {
            ComputeGeometry();
            TBitmap face;
            RenderSkin(face, true);
            BitBlt(dc, 0, 0, face.Width(), face.Height(), face.Canvas().Handle(), 0, 0, SRCCOPY);
        } else {
            canvas.Brush().SetColor(clBtnFace);
            canvas.Pen().SetColor(clBlack);
            canvas.Rectangle(area);
        }
        canvas.SetHandle(nullptr);
        return;
    }
    const TSkBitmap* tile = nullptr;
    TRect tileRect;
    if (FSkinActive) {
        const TskSkinFormInfo& fi = FSkinData->FormInfo;
        if (fi.BGPictureIndex == -1) {
            if (!IsNullRect(fi.ClRect)) {
                tile = &FSkinData->FPicture();
                tileRect = fi.ClRect;
            }
        } else if (const TSkBitmap* p = FSkinData->ActivePicture(fi.BGPictureIndex)) {
            tile = p;
            tileRect = p->BoundsRect();
        }
    }
    if (tile && !IsNullRect(tileRect) && area.Width() > 0 && area.Height() > 0) {
        TSkBitmap whole(area.Width(), area.Height());
        TSkCanvas c(whole);
        for (int y = 0; y < area.Height(); y += tileRect.Height())
            for (int x = 0; x < area.Width(); x += tileRect.Width())
                c.CopyRect({x, y, x + tileRect.Width(), y + tileRect.Height()}, *tile, tileRect);
        TBitmap bitmap;
        AssignSkBitmap(bitmap, whole);
        canvas.Draw(0, 0, bitmap);
    } else {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(area);
    }
    if (!LogoBitMap.Empty()) {
        LogoBitMap.SetTransparent(LogoBitMapTransparent);
        canvas.Draw((area.Width() - LogoBitMap.Width()) / 2, (area.Height() - LogoBitMap.Height()) / 2, LogoBitMap);
    }
    canvas.SetHandle(nullptr);
}

HICON TskSkinForm::WindowIcon()
{
    if (FIcon)
        return FIcon;
    // The shared system icon is only copied, never destroyed.
    HICON source = LoadIconW(nullptr, IDI_APPLICATION);
    int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) {
        w = GetSystemMetrics(SM_CXSIZE);
        h = GetSystemMetrics(SM_CYSIZE);
    }
    FIcon = static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, 0));
    return FIcon;
}

void TskSkinForm::RedrawCaptions()
{
    if (!FrameShown())
        return;
    for (auto& o : FRouter.Objects)
        if (o->Kind() == TSkObjectKind::Caption && o->ShownInRollUpState()) {
            o->Active = IsFormActive();
            if (o->Morphing && o->CanMorph())
                StartMorphTimer();
        }
    SendNCPaint();
}

// Skin changes

void TskSkinForm::SkinChanging()
{
    FSkinActive = false;
    FMorphTimer->SetEnabled(false);
    FMouseTimer->SetEnabled(false);
    FAnimateTimer->SetEnabled(false);
    FRouter.Objects.clear();
    FRouter.ClearIndices();
}

void TskSkinForm::Rebuild()
{
    FRouter.ClearIndices();
    FSkinActive = FSkinData && !FSkinData->Empty && !FSkinData->FPicture().Empty();
    if (!FForm)
        return;
    if (!SupportNCArea) {
        if (!FSkinActive) {
            FRouter.Objects.clear();
            RemoveRegion();
        } else {
            if (FRolledUp && FSkinData->FRollUpPicture().Empty()) {
                FRolledUp = false;
                ShowHiddenControls();
            }
            if (!FRolledUp && FForm->HandleAllocated() && !Loading()) {
                // The face takes the skin's size: at least the picture's when it stretches.
                const TSkBitmap& pic = FSkinData->FPicture();
                if (SkinStretches(FSkinData->FormInfo)) {
                    if (!(MinWidth > 0 && MinHeight > 0))
                        FForm->SetClientSize(std::max(FForm->ClientWidth(), pic.Width()),
                                             std::max(FForm->ClientHeight(), pic.Height()));
                } else {
                    FForm->SetClientSize(pic.Width(), pic.Height());
                    Sizeable = false;
                }
            }
            MakeObjects();
        }
        if (OnChangeSkinData)
            OnChangeSkinData(this);
        if (FSkinActive && FForm->HandleAllocated() && !Loading()) {
            const TRect b = FormBounds();
            FFrameWidth = b.Width();
            FFrameHeight = b.Height();
            UpdateFrame(true);
            FMouseTimer->SetEnabled(true);
        }
        return;
    }
    if (FSkinActive)
        MakeObjects();
    else {
        FRouter.Objects.clear();
        RemoveRegion();
    }
    if (!FForm->HandleAllocated() || Loading())
        return;
    HWND h = FForm->Handle();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (FrameShown()) {
        const TPoint minimum = MinimumSize();
        TRect b = FormBounds();
        const bool narrow = b.Width() < minimum.X, low = b.Height() < minimum.Y;
        if (narrow && low)
            SetFormBounds(Bounds(b.Left, b.Top, minimum.X, minimum.Y));
        else if (low)
            SetFormBounds(Bounds(b.Left, b.Top, b.Width(), minimum.Y));
        else if (narrow)
            SetFormBounds(Bounds(b.Left, b.Top, minimum.X, b.Height()));
        else
            ResizeNudge();
        b = FormBounds();
        if (FRolledUp || FWindowState == 1)
            SetFormBounds(Bounds(b.Left, b.Top, FWindowState == 1 ? minimum.X : b.Width(), minimum.Y));
    }
    const TRect b = FormBounds();
    FFrameWidth = b.Width();
    FFrameHeight = b.Height();
    if (FSkinActive)
        UpdateFrame(true);
    else
        ComputeGeometry();
    InvalidateRect(h, nullptr, TRUE);
    RedrawCaptions();
    FMouseTimer->SetEnabled(true);
    if (OnChangeSkinData)
        OnChangeSkinData(this);
    if (ClientWidth > 0 || ClientHeight > 0)
        FForm->SetClientSize(ClientWidth > 0 ? ClientWidth : FForm->ClientWidth(),
                             ClientHeight > 0 ? ClientHeight : FForm->ClientHeight());
}

// Window states

void TskSkinForm::SetWindowState(int state)
{
    if (state == FWindowState || !FForm)
        return;
    if (state == 1 && IsMainForm()) {
        Application->Minimize();
        return;
    }
    FWindowState = state;
    if (state == 1)
        Minimize();
    else if (state == 2)
        Maximize();
    else
        Restore();
}

void TskSkinForm::Minimize()
{
    if (IsMainForm() || !SupportNCArea) {
        Application->Minimize();
        return;
    }
    if (IsNullRect(FRestoreBounds))
        FRestoreBounds = FormBounds();
    const TPoint size = MinimumSize();
    std::vector<TPoint> taken;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* other = Screen->Forms(i);
        if (other == FForm || other == Application->MainForm() || !other->HandleAllocated() ||
            !IsWindowVisible(other->Handle()))
            continue;
        if (TskSkinForm* s = FindSkinForm(other); s && s->WindowState() == 1)
            taken.push_back({other->Left(), other->Top()});
    }
    const TRect area = GetMonitorAreaRect(FForm->Handle(), true);
    const TPoint slot = MinimizedSlot(area, size.X, size.Y, taken);
    SetFormBounds(Bounds(slot.X, slot.Y, size.X, size.Y));
}

void TskSkinForm::Maximize()
{
    if (IsNullRect(FRestoreBounds))
        FRestoreBounds = FormBounds();
    HWND h = FForm->Handle();
    SetFormBounds(MaximizedBounds(GetMonitorAreaRect(h, false), GetMonitorAreaRect(h, true), MaximizeOnFullScreen));
}

void TskSkinForm::Restore()
{
    FRolledUpMaximized = false;
    const TRect before = FormBounds();
    // Empty restore bounds keep the window where it is.
    if (!IsNullRect(FRestoreBounds))
        SetFormBounds(FRestoreBounds);
    FMouseTimer->SetEnabled(true);
    const TRect after = FormBounds();
    if (after.Width() == before.Width() && after.Height() == before.Height())
        ResizeNudge();
    if (FForm->HandleAllocated())
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
    FRestoreBounds = {};
    if (FRolledUp) {
        FRolledUp = false;
        if (OnChangeRollUpState)
            OnChangeRollUpState(this);
    }
}

void TskSkinForm::SetRollUp(bool value)
{
    if (!SupportNCArea && !FSkinActive)
        return;
    if ((FBorderIcons & SkIcon(TskBorderIcon::biRollUp)) == 0 || FWindowState == 1)
        return;
    if (FRolledUp && FWindowState == 2 && !FRolledUpMaximized)
        return;
    if (!SupportNCArea && (!FSkinActive || FSkinData->FRollUpPicture().Empty()))
        return;
    if (value == FRolledUp)
        return;
    if (FWindowState == 2)
        FRolledUpMaximized = value;
    FRolledUp = value;
    if (!SupportNCArea)
        RollUpFace(value);
    if (SupportNCArea) {
        const TRect b = FormBounds();
        if (value) {
            FRollUpHeight = b.Height();
            SetFormBounds(Bounds(b.Left, b.Top, b.Width(), MinimumSize().Y));
        } else {
            SetFormBounds(Bounds(b.Left, b.Top, b.Width(), FRollUpHeight));
        }
    }
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TskSkinForm::MinimizeToTray()
{
    if (!FTrayIcon)
        return;
    FTrayIcon->MinimizeToTray = true;
    Application->Minimize();
    FTrayIcon->SetIconVisible(true);
    if (OnMinimizeToTray)
        OnMinimizeToTray(this);
}

void TskSkinForm::RestoreFromTray()
{
    if (!FTrayIcon)
        return;
    FTrayIcon->MinimizeToTray = false;
    Application->Restore();
    if (!AlwaysShowInTray)
        FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray)
        OnRestoreFromTray(this);
}

void TskSkinForm::RunCommand(TskCommand command)
{
    switch (command) {
    case cmClose: CloseForm(); break;
    case cmMaximize: SetWindowState(FWindowState == 2 ? 0 : 2); break;
    case cmMinimize:
        if (AlwaysMinimizeToTray)
            MinimizeToTray();
        else if (FWindowState == 1 && SupportNCArea)
            SetWindowState(0);
        else
            SetWindowState(1);
        break;
    case cmRollUp: SetRollUp(!FRolledUp); break;
    case cmMinimizeToTray: MinimizeToTray(); break;
    default: break;
    }
}

void TskSkinForm::CloseForm()
{
    if (FForm)
        FForm->Close();
}

void TskSkinForm::HandleCaptionDblClick()
{
    const bool maxIcon = (FBorderIcons & SkIcon(TskBorderIcon::biMaximize)) != 0;
    if (Sizeable && FWindowState == 1)
        SetWindowState(0);
    else if (Sizeable && FWindowState != 2 && !FRolledUp && maxIcon)
        SetWindowState(2);
    else if (Sizeable && FWindowState == 2 && !FRolledUpMaximized)
        SetWindowState(0);
    else
        SetRollUp(!FRolledUp);
}

// System menu and keyboard

TMenuItem* TskSkinForm::GetSystemMenu()
{
    if (FSkinMenu && FSkinMenu->ChainOpen)
        FSkinMenu->CloseMenu();
    TSkSystemMenuState s;
    s.WindowState = FWindowState;
    s.RolledUp = FRolledUp;
    s.Icons = FBorderIcons;
    auto makeItem = [this](const TSkSystemMenuItem& def) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(def.Name.empty() ? "-" : ResourceText(def.ResourceKey.c_str(), def.Caption.c_str()));
        if (def.Name.empty())
            return item;
        item->SetName(def.Name);
        const std::string name = def.Name;
        item->OnClick = [this, name](TObject*) {
            if (name == "DSF_MINITEM")
                AlwaysMinimizeToTray ? MinimizeToTray() : SetWindowState(1);
            else if (name == "DSF_MAXITEM")
                SetWindowState(2);
            else if (name == "DSF_RESTORE") {
                if (FRolledUpMaximized || (FRolledUp && FWindowState == 0))
                    SetRollUp(false);
                else
                    SetWindowState(0);
            } else if (name == "DSF_ROLLUP")
                SetRollUp(true);
            else if (name == "DSF_MINTOTRAY")
                MinimizeToTray();
            else if (name == "DSF_CLOSE")
                CloseForm();
        };
        if (name == "DSF_CLOSE")
            item->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
        return item;
    };
    if (FSystemMenu) {
        TMenuItem* items = FSystemMenu->Items();
        if (UseDefaultSysMenu) {
            for (int i = items->Count() - 1; i >= 0; --i) {
                const std::string& n = items->Items(i)->Name();
                if (n == "DSF_MINITEM" || n == "DSF_MAXITEM" || n == "DSF_CLOSE" || n == "DSF_MINTOTRAY" ||
                    n == "DSF_ROLLUP" || n == "DSF_RESTORE")
                    delete items->Items(i);
            }
            const std::vector<TSkSystemMenuItem> all = DefaultSystemMenu({0, false, false, ~0u});
            for (const char* name : {"DSF_MINTOTRAY", "DSF_ROLLUP", "DSF_MAXITEM", "DSF_RESTORE", "DSF_MINITEM"})
                if (SystemMenuItemShown(name, s))
                    for (const TSkSystemMenuItem& def : all)
                        if (def.Name == name)
                            items->Insert(0, makeItem(def));
            items->Add(makeItem({"DSF_CLOSE", "&Close", "MI_CLOSECAPTION"}));
        }
        return items;
    }
    TMenuItem* items = FSystemMenuPopup->Items();
    while (items->Count() > 0)
        delete items->Items(items->Count() - 1);
    for (const TSkSystemMenuItem& def : DefaultSystemMenu(s))
        items->Add(makeItem(def));
    return items;
}

void TskSkinForm::PopupSystemMenu(int x, int y)
{
    if (!FSkinMenu)
        return;
    TMenuItem* items = GetSystemMenu();
    TakeKeyboard();
    FSkinMenu->OpenMenu(FForm, FMenusSkinData ? FMenusSkinData : FSkinData, items, {x, y, x, y}, 0, false);
}

void TskSkinForm::OpenButtonMenu(TskSkinButtonObject& button)
{
    if (!FSkinMenu || !FForm)
        return;
    auto* sb = dynamic_cast<TskSkinStdButtonObject*>(&button);
    if (!sb || sb->Command != cmSysMenu)
        return;
    TMenuItem* items = GetSystemMenu();
    const TRect b = FormBounds();
    const TRect& r = button.ObjectRect;
    TakeKeyboard();
    FSkinMenu->OpenMenu(FForm, FMenusSkinData ? FMenusSkinData : FSkinData, items,
                        {b.Left + r.Left, b.Top + r.Top, b.Left + r.Right, b.Top + r.Bottom}, 0, button.PopupUp);
}

void TskSkinForm::TakeKeyboard()
{
    if (!FKeyFilter)
        FKeyFilter = Application->AddMessageFilter([this](MSG& msg) { return MenuKey(msg); });
    if (!FMenuOpen) {
        FMenuOpen = true;
        if (OnSkinMenuOpen)
            OnSkinMenuOpen(this);
    }
}

bool TskSkinForm::MenuKey(MSG& msg)
{
    if (msg.message == WM_MOUSEWHEEL)
        return true;
    if (msg.message != WM_KEYDOWN)
        return false;
    const WORD key = static_cast<WORD>(msg.wParam);
    const bool used = FSkinMenu && FSkinMenu->HandleKey(key);
    if (!used && key == VK_ESCAPE)
        MenuClosed();
    return true;
}

void TskSkinForm::MenuClosed()
{
    FMenuOpen = false;
    for (auto& o : FRouter.Objects)
        if (auto* b = dynamic_cast<TskSkinButtonObject*>(o.get()); b && b->HasMenu && b->Down()) {
            b->SetDown(false);
            break;
        }
    // Only our own filter goes: another form's stays whatever the order.
    if (FKeyFilter)
        Application->RemoveMessageFilter(std::exchange(FKeyFilter, 0));
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
}

// Timers

void TskSkinForm::StartMorphTimer() { FMorphTimer->SetEnabled(true); }

void TskSkinForm::MorphTick(TObject*)
{
    if (!FRouter.MorphTick())
        FMorphTimer->SetEnabled(false);
}

void TskSkinForm::MouseTick(TObject*)
{
    if (!FForm || !FForm->HandleAllocated()) {
        FMouseTimer->SetEnabled(false);
        return;
    }
    if (FInSizeMove) {
        FMouseTimer->SetEnabled(false);
        return;
    }
    if (!SupportNCArea) {
        if (FDragActive)
            return;
        POINT c{};
        GetCursorPos(&c);
        if (WindowFromPoint(c) == FForm->Handle()) {
            ScreenToClient(FForm->Handle(), &c);
            FRouter.UpdateHover({c.x, c.y}, true);
        } else {
            FRouter.UpdateHover({-1, -1}, false);
            FMouseTimer->SetEnabled(false);
        }
        return;
    }
    // Without a border no frame is drawn: its objects are nowhere to hover.
    if (!FrameShown()) {
        FRouter.UpdateHover({-1, -1}, false);
        FMouseTimer->SetEnabled(false);
        return;
    }
    const TPoint p = CursorInWindow();
    if (!FGeometry.ClientRect.Contains(p)) {
        if (!FRouter.Objects.empty() && IsFormActive())
            FRouter.UpdateHover(p, true);
    } else if (FRouter.HoverIndex != -1) {
        FRouter.UpdateHover(p, false);
    }
    // The timer runs while an object is hovered or holds the mouse.
    if (FRouter.HoverIndex == -1 && FRouter.CaptureIndex == -1)
        FMouseTimer->SetEnabled(false);
}

void TskSkinForm::FadeIn()
{
    HWND h = FForm->Handle();
    KillTimer(h, kFadeTimer);
    if (!IsLayeredAlphaSystem() || !(FAlphaBlend || AlphaBlendAnimation))
        return;
    const int target = AlphaBlendAnimation && !FAlphaBlend ? 255 : FAlphaBlendValue;
    if (AlphaBlendAnimation) {
        Application->ProcessMessages();
        for (int a = 5; a < target; a += 5)
            SetWindowAlpha(h, static_cast<BYTE>(a));
        SetWindowAlpha(h, static_cast<BYTE>(target));
    } else if (target < 255) {
        SetWindowAlpha(h, static_cast<BYTE>(target));
    }
    if (target == 255)
        SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

// Face dragging (without the non-client area)

void TskSkinForm::StartFaceDrag()
{
    if (FWindowState == 2 || !DraggAble)
        return;
    FDragActive = true;
    POINT p{};
    GetCursorPos(&p);
    FDragLast = {p.x, p.y};
}

void TskSkinForm::StopFaceDrag() { FDragActive = false; }

void TskSkinForm::ObjectEvent(const std::string& kind, const std::string& name)
{
    if (OnObjectEvent)
        OnObjectEvent(kind, name);
}

// The hook

void TskSkinForm::Old(TMessage& m)
{
    FOldWindowProc(m);
    FForm->CallDefault(m);
}

void TskSkinForm::MenuPreCheck(const TMessage& m)
{
    switch (m.Msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_LBUTTONDOWN: case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
        break;
    default:
        return;
    }
    if (ShowObjectHint && FSkinHint)
        FSkinHint->HideHint();
    if (FSkinMenu && FSkinMenu->ChainOpen)
        FSkinMenu->CloseMenu();
    else if (FMenuOpen)
        MenuClosed();
}

void TskSkinForm::HandleNCCalcSize(TMessage& m)
{
    RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
    if (FSkinActive && !IsNullRect(FSkinData->FormInfo.ClRect)) {
        const TskSkinFormInfo& fi = FSkinData->FormInfo;
        const TSkBitmap& pic = FSkinData->FPicture();
        FFrameWidth = r->right - r->left;
        FFrameHeight = r->bottom - r->top;
        ComputeGeometry();
        r->left += fi.ClRect.Left;
        r->top += fi.ClRect.Top;
        r->right -= pic.Width() - fi.ClRect.Right;
        r->bottom -= pic.Height() - fi.ClRect.Bottom;
    } else {
        r->left += 3;
        r->right -= 3;
        r->bottom -= 3;
        r->top += DefaultCaptionHeight(ToolWindow()) + 3;
    }
    r->right = std::max(r->right, r->left);
    r->bottom = std::max(r->bottom, r->top);
    m.Result = 0;
    m.Handled = true;
}

void TskSkinForm::HandleMinMax(TMessage& m)
{
    Old(m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    const TPoint minimum = MinimumSize();
    info->ptMinTrackSize = {minimum.X, minimum.Y};
    const TRect area = GetMonitorAreaRect(FForm->Handle(), !MaximizeOnFullScreen);
    info->ptMaxTrackSize = {area.Width(), area.Height()};
    m.Result = 0;
}

void TskSkinForm::HandleSize(TMessage& m)
{
    HWND h = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    if (FInSizeMove && FFullDragWindows) {
        Old(m);
        if (FrameShown() && !LogoBitMap.Empty())
            InvalidateRect(h, nullptr, TRUE);
        return;
    }
    Old(m);
    const TRect b = FormBounds();
    FFrameWidth = b.Width();
    FFrameHeight = b.Height();
    if (FrameShown() && FSkinActive) {
        const TPoint minimum = MinimumSize();
        if (b.Width() >= minimum.X && b.Height() >= minimum.Y)
            UpdateFrame(true);
    } else if (FrameShown()) {
        ComputeGeometry();
        SendNCPaint();
    } else if (!SupportNCArea && FSkinActive && !FRolledUp) {
        const TSkBitmap& pic = FSkinData->FPicture();
        if (SkinStretches(FSkinData->FormInfo) || (b.Width() == pic.Width() && b.Height() == pic.Height()))
            UpdateFrame(true);
    }
    if (FAlphaBlend && FAlphaBlendValue < 255 && IsLayeredAlphaSystem() && FrameShown()) {
        SendNCPaint();
        InvalidateRect(h, nullptr, TRUE);
    }
    if (FrameShown() && !LogoBitMap.Empty())
        InvalidateRect(h, nullptr, TRUE);
}

void TskSkinForm::Hook(TMessage& m)
{
    MenuPreCheck(m);
    const bool frame = FrameShown();
    HWND h = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    switch (m.Msg) {
    case WM_DESTROY:
        FMorphTimer->SetEnabled(false);
        FMouseTimer->SetEnabled(false);
        FAnimateTimer->SetEnabled(false);
        RemoveRegion();
        FHasRegion = false;
        Old(m);
        return;
    case WM_SIZE:
        HandleSize(m);
        return;
    case WM_ACTIVATE:
        FDragActive = false;
        FNCActive = LOWORD(m.WParam) != WA_INACTIVE;
        Old(m);
        if (frame) {
            FRouter.ResetHoverState();
            FRouter.UpdateHover({-1, -1}, false);
            RedrawCaptions();
        }
        if (FNCActive ? static_cast<bool>(OnActivate) : static_cast<bool>(OnDeActivate))
            (FNCActive ? OnActivate : OnDeActivate)(this);
        return;
    case WM_SETTEXT:
        Old(m);
        if (frame) {
            for (auto& o : FRouter.Objects)
                if (auto* c = dynamic_cast<TskSkinCaptionObject*>(o.get()); c && c->DefaultCaption)
                    c->Text = FForm->Caption();
            ApplyIcons();
            SendNCPaint();
        }
        return;
    case WM_ERASEBKGND:
        if (!frame && SupportNCArea)
            break;
        PaintClientBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        m.Handled = true;
        return;
    case WM_SHOWWINDOW:
        if (!m.WParam) {
            if (IsLayeredAlphaSystem() && FAlphaBlend)
                SetWindowLongPtrW(h, GWL_EXSTYLE,
                                  GetWindowLongPtrW(h, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
            break;
        }
        if (IsLayeredAlphaSystem() && (FAlphaBlend || AlphaBlendAnimation)) {
            SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
            SetWindowAlpha(h, 0);
            SetTimer(h, kFadeTimer, 1, nullptr);
        }
        Old(m);
        if (frame)
            ResizeNudge();
        else if (!SupportNCArea)
            PlaceAreaControls();
        return;
    case WM_GETMINMAXINFO:
        if (!frame)
            break;
        HandleMinMax(m);
        return;
    case WM_NCCALCSIZE:
        if (!frame)
            break;
        HandleNCCalcSize(m);
        return;
    case WM_NCHITTEST: {
        if (!SupportNCArea && FSkinActive && h) {
            POINT c{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
            ScreenToClient(h, &c);
            if (!FMouseTimer->Enabled()) {
                FRouter.UpdateHover({c.x, c.y}, true);
                FMouseTimer->SetEnabled(true);
            }
            TSkHitInput in;
            ComputeGeometry();
            in.Geometry = &FGeometry;
            in.BorderWidth = FSkinData->FormInfo.BorderWidth;
            in.RolledUp = FRolledUp;
            in.Maximized = FWindowState == 2;
            in.Sizeable = Sizeable;
            in.ObjectHovered = FRouter.HoverIndex != -1;
            in.HasMask = !FSkinData->FMask().Empty();
            in.MaskSolid = [this](TPoint q) { return MaskSolid(q); };
            m.Result = HitTestFace(in, true, {c.x, c.y});
            m.Handled = true;
            return;
        }
        if (!frame)
            break;
        const TRect b = FormBounds();
        const TPoint p = LParamPoint(m.LParam);
        const TPoint w{p.X - b.Left, p.Y - b.Top};
        const int code = HitTest(w);
        if (code == kHtObject) {
            if (IsFormActive() && !FRouter.Objects.empty())
                FRouter.UpdateHover(w, true);
            FMouseTimer->SetEnabled(true);
        }
        m.Result = code;
        m.Handled = true;
        return;
    }
    case WM_NCPAINT:
        if (!frame)
            break;
        if (h) {
            HDC dc = GetWindowDC(h);
            PaintFrame(dc);
            ReleaseDC(h, dc);
        }
        m.Result = 0;
        m.Handled = true;
        return;
    case WM_NCACTIVATE:
        if (!frame)
            break;
        FNCActive = m.WParam != 0;
        m.Result = 1;
        m.Handled = true;
        RedrawCaptions();
        return;
    case WM_SYNCPAINT:
        if (frame && FRolledUp) {
            SendNCPaint();
            m.Result = 0;
            m.Handled = true;
            return;
        }
        break;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_KEYMENU) {
            if (FSkinMenu && FSkinMenu->ChainOpen)
                FSkinMenu->CloseMenu();
            m.Result = 0;
            m.Handled = true;
            return;
        }
        break;
    case WM_TIMER:
        if (m.WParam == kFadeTimer) {
            FadeIn();
            m.Handled = true;
            return;
        }
        break;
    case WM_SIZING:
        if (FInSizeMove && FFullDragWindows) {
            const TRect before = FormBounds();
            Old(m);
            const RECT* r = reinterpret_cast<RECT*>(m.LParam);
            FFrameWidth = r->right - r->left;
            FFrameHeight = r->bottom - r->top;
            const TPoint minimum = MinimumSize();
            if (frame && FSkinData && before.Width() >= minimum.X && before.Height() >= minimum.Y)
                UpdateFrame(true);
            return;
        }
        break;
    case WM_MOVING:
        if (Magnetic) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            const TRect snapped = MagneticSnap(TRect::FromRECT(*r), GetMonitorAreaRect(h, true), MagneticSize);
            *r = snapped.ToRECT();
        }
        break;
    case WM_ENTERSIZEMOVE:
        if (frame) {
            FRouter.ResetHoverState();
            FMouseTimer->SetEnabled(false);
            FRouter.HoverIndex = FRouter.CaptureIndex = -1;
            FInSizeMove = true;
            BOOL full = FALSE;
            SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
            FFullDragWindows = full != FALSE;
            // The press that started the loop belongs to the loop.
            if (FInNCPress)
                FPressTakenByLoop = true;
        }
        break;
    case WM_EXITSIZEMOVE:
        FInSizeMove = false;
        if (frame) {
            FMouseTimer->SetEnabled(false);
            FRouter.ClearIndices();
            if (FSkinActive)
                SendNCPaint();
        }
        break;
    case WMS_SKINCHANGING:
        if (reinterpret_cast<TskSkinData*>(m.WParam) == FSkinData && FSkinData)
            SkinChanging();
        break;
    case WMS_SKINCHANGED:
        if (reinterpret_cast<TskSkinData*>(m.WParam) == FSkinData && FSkinData)
            Rebuild();
        break;
    case WMS_MENUCLOSED:
        MenuClosed();
        m.Handled = true;
        return;
    case WMS_RESOURCETEXTSCHANGED:
        ApplyIcons();
        break;
    default:
        break;
    }
    if (m.Msg == WM_NCRBUTTONDOWN && m.WParam == HTCAPTION && frame) {
        // The skinned system menu answers this press; the default procedure would wait
        // for the release in a loop of its own.
        FOldWindowProc(m);
        m.Handled = true;
    } else {
        if (m.Msg == WM_NCLBUTTONDOWN)
            FInNCPress = true;
        Old(m);
        FInNCPress = false;
    }
    MouseMessage(m);
}

void TskSkinForm::FaceMouse(TMessage& m)
{
    const TPoint p = LParamPoint(m.LParam);
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        FRouter.Move(p);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        const bool left = m.Msg == WM_LBUTTONDOWN;
        TskActiveSkinObject* o = FRouter.Press(p, left ? TSkMouseButton::Left : TSkMouseButton::Right, false);
        if (left && !o)
            StartFaceDrag();
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        FRouter.Release(p, m.Msg == WM_LBUTTONUP ? TSkMouseButton::Left : TSkMouseButton::Right, false);
        break;
    case WM_LBUTTONDBLCLK: {
        FRouter.Press(p, TSkMouseButton::Left, false);
        TskActiveSkinObject* o = FRouter.Hovered();
        if (o)
            o->DblClick();
        if (o && o->Kind() == TSkObjectKind::Caption) {
            if (FRolledUp)
                SetRollUp(false);
            else if (Sizeable)
                SetWindowState(FWindowState == 0 ? 2 : 0);
            else
                SetRollUp(true);
        }
        break;
    }
    case WM_RBUTTONDBLCLK:
        FRouter.Press(p, TSkMouseButton::Right, false);
        break;
    default:
        break;
    }
}

void TskSkinForm::MouseMessage(TMessage& m)
{
    if (!SupportNCArea && FSkinActive)
        FaceMouse(m);
    if (!FrameShown()) {
        if (FDragActive && m.Msg == WM_MOUSEMOVE) {
            POINT c{};
            GetCursorPos(&c);
            if (c.x == FDragLast.X && c.y == FDragLast.Y)
                return;
            TRect b = FormBounds();
            b = Bounds(b.Left + c.x - FDragLast.X, b.Top + c.y - FDragLast.Y, b.Width(), b.Height());
            if (Magnetic)
                b = MagneticSnap(b, GetMonitorAreaRect(FForm->Handle(), true), MagneticSize);
            SetFormBounds(b);
            FDragLast = {c.x, c.y};
        }
        return;
    }
    const TRect b = FormBounds();
    auto windowPoint = [&](LPARAM l) {
        const TPoint p = LParamPoint(l);
        return TPoint{p.X - b.Left, p.Y - b.Top};
    };
    auto clientToWindow = [&](LPARAM l) {
        POINT p{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
        ClientToScreen(FForm->Handle(), &p);
        return TPoint{p.x - b.Left, p.y - b.Top};
    };
    switch (m.Msg) {
    case WM_NCMOUSEMOVE:
        FRouter.Move(windowPoint(m.LParam));
        break;
    case WM_MOUSEMOVE:
        if (FRouter.CaptureIndex != -1) {
            const TPoint p = clientToWindow(m.LParam);
            FRouter.UpdateHover(p, true);
            FRouter.Move(p);
        }
        break;
    case WM_NCLBUTTONDOWN:
        if (std::exchange(FPressTakenByLoop, false))
            break;
        FRouter.UpdateHover(windowPoint(m.LParam), true);
        FRouter.Press(windowPoint(m.LParam), TSkMouseButton::Left, true);
        if (m.WParam == HTCAPTION)
            FRouter.CaptureIndex = -1;
        break;
    case WM_NCLBUTTONUP:
        FRouter.Release(windowPoint(m.LParam), TSkMouseButton::Left, true);
        break;
    case WM_NCRBUTTONUP:
        FRouter.Release(windowPoint(m.LParam), TSkMouseButton::Right, true);
        break;
    case WM_LBUTTONUP:
        FRouter.Release({-1, -1}, TSkMouseButton::Left, true);
        break;
    case WM_RBUTTONUP:
        FRouter.Release({-1, -1}, TSkMouseButton::Right, true);
        break;
    case WM_NCLBUTTONDBLCLK: {
        const TPoint p = windowPoint(m.LParam);
        FRouter.UpdateHover(p, true);
        FRouter.Press(p, TSkMouseButton::Left, true);
        if (TskActiveSkinObject* o = FRouter.Hovered())
            o->DblClick();
        if (m.WParam == HTCAPTION)
            HandleCaptionDblClick();
        FRouter.CaptureIndex = -1;
        break;
    }
    case WM_NCRBUTTONDOWN: {
        const TPoint p = windowPoint(m.LParam);
        FRouter.UpdateHover(p, true);
        FRouter.Press(p, TSkMouseButton::Right, true);
        if (m.WParam == HTCAPTION) {
            const TPoint s = LParamPoint(m.LParam);
            PopupSystemMenu(s.X, s.Y);
            FRouter.CaptureIndex = -1;
        }
        break;
    }
    case WM_NCRBUTTONDBLCLK: {
        const TPoint p = windowPoint(m.LParam);
        FRouter.UpdateHover(p, true);
        FRouter.Press(p, TSkMouseButton::Right, true);
        break;
    }
    default:
        break;
    }
}
