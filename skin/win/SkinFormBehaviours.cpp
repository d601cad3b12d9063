#include "skin/win/SkinForm.h"

#include <algorithm>

#include "framework/win/Application.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkMenuLayout.h"
#include "skin/win/SkBitmapBridge.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinMenus.h"
#include "skin/win/skTrayIcon.h"

namespace {

constexpr UINT_PTR kFadeTimer = 1;

TPoint LParamPoint(LPARAM l) { return {static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}; }

}  // namespace

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

// The form's own icon (set by WM_SETICON), else the application's (the executable's first
// icon resource), else the system's; the picture is our copy at the small-icon size.
HICON TskSkinForm::WindowIcon()
{
    if (FIcon)
        return FIcon;
    HICON source = nullptr;
    if (FForm && FForm->HandleAllocated()) {
        HWND h = FForm->Handle();
        source = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_SMALL, 0));
        if (!source)
            source = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0));
    }
    if (!source)
        source = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!source)
        source = LoadIconW(nullptr, IDI_APPLICATION);   // shared: only copied, never destroyed
    int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    if (w == 0 || h == 0) {
        w = GetSystemMetrics(SM_CXSIZE);
        h = GetSystemMetrics(SM_CYSIZE);
    }
    FIcon = static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, 0));
    return FIcon;
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
    auto* sb = dynamic_cast<TskSkinStdButtonObject*>(&button);
    if (!sb || sb->Command != cmSysMenu) {
        // Only a menu open in this form's engine brings the button up when it closes: one that
        // opened nothing here comes up at once.
        OpenObjectMenu(button.MenuItem(), button.ObjectRect, button.PopupUp);
        if (!FSkinMenu || !FSkinMenu->ChainOpen)
            button.SetDown(false);
        return;
    }
    if (!FSkinMenu || !FForm)
        return;
    button.SetMenuItem(GetSystemMenu());
    const TRect b = FormBounds();
    const TRect& r = button.ObjectRect;
    TakeKeyboard();
    FSkinMenu->OpenMenu(FForm, FMenusSkinData ? FMenusSkinData : FSkinData, button.MenuItem(),
                        {b.Left + r.Left, b.Top + r.Top, b.Left + r.Right, b.Top + r.Bottom}, 0, button.PopupUp);
}

// An object's menu item opens under it: a skinned popup menu's item by that menu itself,
// any other through the form's engine.
void TskSkinForm::OpenObjectMenu(TMenuItem* item, const TRect& r, bool upward)
{
    if (!FSkinMenu || !FForm || !item || item->Count() == 0)
        return;
    const TRect b = FormBounds();
    const TRect anchor{b.Left + r.Left, b.Top + r.Top, b.Left + r.Right, b.Top + r.Bottom};
    if (auto* popup = dynamic_cast<TskSkinPopupMenu*>(item->Menu())) {
        popup->PopupAt(anchor, upward);
        return;
    }
    TakeKeyboard();
    FSkinMenu->OpenMenu(FForm, FMenusSkinData ? FMenusSkinData : FSkinData, item, anchor, 0, upward);
}

void TskSkinForm::WatchMenuItem(TMenuItem* item, bool watch)
{
    if (watch)
        item->FreeNotification(this);
    else
        item->RemoveFreeNotification(this);
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
    if (FSkinMenu)
        FSkinMenu->HandleKey(key);
    // Esc that leaves no level open ends the menu mode, whoever opened the menu.
    if (key == VK_ESCAPE && FMenuOpen && (!FSkinMenu || FSkinMenu->PopupWindows.empty()))
        MenuClosed();
    return true;
}

void TskSkinForm::MenuClosed()
{
    FMenuOpen = false;
    for (auto& o : FRouter.Objects)
        if (auto* b = dynamic_cast<TskSkinButtonObject*>(o.get()); b && b->HasMenu() && b->Down()) {
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
        for (int a : FadeInSteps(5, target))
            SetWindowAlpha(h, static_cast<BYTE>(a));
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
