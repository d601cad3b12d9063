#include "skin/win/SkinForm.h"

#include <algorithm>
#include <tuple>

#include "framework/win/Application.h"
#include "skin/core/SkFormLayout.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinMenus.h"
#include "skin/win/skTrayIcon.h"

namespace {

constexpr UINT_PTR kFadeTimer = 1;

TPoint LParamPoint(LPARAM l) { return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

TskMenuFormLink FindFormSkinMenu(TComponent* component)
{
    TskSkinForm* f = FindSkinForm(component);
    if (!f || !f->SkinMenu())
        return {};
    return {f->SkinMenu(), f->MenusSkinData() ? f->MenusSkinData() : f->SkinData(), [f] { f->TakeKeyboard(); }};
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
    // The plain frame draws its caption in these fonts: a change shows at once.
    for (TFont* f : {&FDefCaptionFont, &FDefInActiveCaptionFont})
        f->OnChange = [this](TObject*) {
            if (!FSkinActive && !Loading())
                SendNCPaint();
        };
    FMorphTimer = new TTimer(this);
    FMouseTimer = new TTimer(this);
    FAnimateTimer = new TTimer(this);
    using TTick = void (TskSkinForm::*)(TObject*);
    for (auto [t, interval, tick] : {std::tuple{FMorphTimer, 20u, TTick{&TskSkinForm::MorphTick}},
                                     {FMouseTimer, 50u, TTick{&TskSkinForm::MouseTick}},
                                     {FAnimateTimer, 25u, TTick{&TskSkinForm::AnimateTick}}}) {
        t->SetEnabled(false);
        t->SetInterval(interval);
        t->OnTimer = [this, f = tick](TObject* s) {
            TObjectsInUse use(*this);
            (this->*f)(s);
        };
    }
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
    FSkinPopupMenu->SetSkinForm(FForm);
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
    FForm->WindowProc = [this](TMessage& m) {
        TObjectsInUse use(*this);
        Hook(m);
    };
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
    FRetiredObjects.clear();
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
        RetireObjects();
    }
    if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FTrayIcon) FTrayIcon = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (AComponent == FSkinMenu) FSkinMenu = nullptr;
    // An object's menu item that goes is no longer opened (nor watched by a replaced object).
    for (auto* list : {&FRouter.Objects, &FRetiredObjects})
        for (auto& o : *list)
            if (TSkMenuItemLink* link = o->MenuItemLink(); link && link->Get() && AComponent == link->Get())
                link->Forget();
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
    if (!SupportNCArea && !FSkinActive)
        return;
    // The skin's own objects, or the plain frame's buttons, under the new set.
    if (FSkinActive) {
        MakeObjects();
    } else {
        RetireObjects();
        FRouter.Objects = CreateDefaultButtons(*this);
        ApplyIcons();
    }
    if (!FForm || !FForm->HandleAllocated())
        return;
    ComputeGeometry();
    if (FrameShown())
        SendNCPaint();
    else if (!SupportNCArea)
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
}

// State helpers

bool TskSkinForm::HasBorder() const { return FForm && FForm->BorderStyle() != bsNone; }
bool TskSkinForm::FrameShown() const { return SupportNCArea && HasBorder(); }
bool TskSkinForm::ToolWindow() const
{
    return FForm && (FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin);
}
bool TskSkinForm::IsMainForm() const { return FForm && Application->MainForm() == FForm; }

// While WM_ACTIVATE or WM_NCACTIVATE is handled the message's own flag holds: the
// system changes the active window only after them.
bool TskSkinForm::IsFormActive() const
{
    if (!FForm || !FForm->HandleAllocated())
        return false;
    if (FActivationFlag >= 0)
        return FActivationFlag != 0;
    return FForm->Active() && Screen->ActiveForm() == FForm;
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

void TskSkinForm::RetireObjects()
{
    // An object going while it holds the mouse gives it back: no release would reach it.
    if (TskActiveSkinObject* held = FRouter.Captured(); held && held->Kind() != TSkObjectKind::Caption && FRouter.OnCapture)
        FRouter.OnCapture(held, false);
    FRouter.ClearIndices();
    if (FObjectsInUse > 0)
        for (auto& o : FRouter.Objects) {
            if (auto* b = dynamic_cast<TskSkinButtonObject*>(o.get()))
                b->Siblings = {};   // they are in the list about to go
            FRetiredObjects.push_back(std::move(o));
        }
    FRouter.Objects.clear();
}

void TskSkinForm::MakeObjects()
{
    RetireObjects();
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

void TskSkinForm::RedrawCaptions()
{
    // A face (no non-client area) draws its captions itself; a form without a border shows none.
    if (!FrameShown() && SupportNCArea)
        return;
    bool any = false;
    for (auto& o : FRouter.Objects)
        if (o->Kind() == TSkObjectKind::Caption && o->ShownInRollUpState()) {
            o->Active = IsFormActive();
            any = true;
            if (o->Morphing && o->CanMorph())
                StartMorphTimer();
        }
    if (FrameShown())
        SendNCPaint();
    else if (any && FForm && FForm->HandleAllocated())
        InvalidateRect(FForm->Handle(), nullptr, TRUE);
}

// Skin changes

void TskSkinForm::SkinChanging()
{
    FSkinActive = false;
    FMorphTimer->SetEnabled(false);
    FMouseTimer->SetEnabled(false);
    FAnimateTimer->SetEnabled(false);
    RetireObjects();
}

void TskSkinForm::Rebuild()
{
    FRouter.ClearIndices();
    FSkinActive = FSkinData && !FSkinData->Empty && !FSkinData->FPicture().Empty();
    if (!FForm)
        return;
    if (!SupportNCArea) {
        // A face rolled up under a skin without a roll-up picture (or without a skin) comes
        // back with its controls and height.
        if (FRolledUp && (!FSkinActive || FSkinData->FRollUpPicture().Empty())) {
            FRolledUp = FRolledUpMaximized = false;
            ShowHiddenControls();
            if (FForm->HandleAllocated() && FRollUpHeight > 0) {
                const TRect b = FormBounds();
                SetFormBounds(Bounds(b.Left, b.Top, b.Width(), FRollUpHeight));
            }
            if (OnChangeRollUpState)
                OnChangeRollUpState(this);
        }
        if (!FSkinActive) {
            RetireObjects();
            RemoveRegion();
        } else {
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
            RedrawCaptions();
            FMouseTimer->SetEnabled(true);
        }
        return;
    }
    if (FSkinActive)
        MakeObjects();
    else {
        RetireObjects();
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
    case WM_ACTIVATE: {
        FDragActive = false;
        const bool active = LOWORD(m.WParam) != WA_INACTIVE;
        const int outer = std::exchange(FActivationFlag, active ? 1 : 0);
        Old(m);
        if (frame) {
            FRouter.ResetHoverState();
            FRouter.UpdateHover({-1, -1}, false);
        }
        RedrawCaptions();
        FActivationFlag = outer;
        if (active ? static_cast<bool>(OnActivate) : static_cast<bool>(OnDeActivate))
            (active ? OnActivate : OnDeActivate)(this);
        return;
    }
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
    case WM_SETICON:
        Old(m);
        // The window icon is drawn from the form's new icon from now on.
        if (FIcon)
            DestroyIcon(std::exchange(FIcon, nullptr));
        if (FShowIcon)
            SendNCPaint();
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
            FSkinActive ? PaintSkinnedFrame(dc) : PaintDefaultFrame(dc);
            ReleaseDC(h, dc);
        }
        m.Result = 0;
        m.Handled = true;
        return;
    case WM_NCACTIVATE: {
        if (!frame)
            break;
        const int outer = std::exchange(FActivationFlag, m.WParam != 0 ? 1 : 0);
        m.Result = 1;
        m.Handled = true;
        RedrawCaptions();
        FActivationFlag = outer;
        return;
    }
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
        if (reinterpret_cast<TskSkinData*>(m.WParam) == FSkinData && FSkinData) {
            SkinChanging();
            WalkSkinControls(FForm, FSkinData, false);
        }
        break;
    case WMS_SKINCHANGED: {
        auto* sender = reinterpret_cast<TskSkinData*>(m.WParam);
        if (sender == FSkinData && FSkinData)
            Rebuild();
        WalkSkinControls(FForm, sender, true);
        break;
    }
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
