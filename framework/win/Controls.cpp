#include "framework/win/Controls.h"

#include <windowsx.h>

#include "framework/win/DragDrop.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

//--- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this](TObject*) {
        OwnValue(pvFont);
        FontChanged();
        HandOnValue(pvFont);
    };
    FConstraints.OnChange = [this] { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

// Owned components go while this control is whole (a hook component puts WindowProc back).
TControl::~TControl() {
    DragControlGone(this);
    BeginDestroy();
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* value) {
    if (value == FParent) return;
    if (value == this) throw EInvalidOperation("A control cannot be its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (value) value->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    ChangeBounds(ALeft, ATop, FConstraints.ConstrainWidth(AWidth), FConstraints.ConstrainHeight(AHeight));
}

void TControl::ChangeBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool same = ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight;
    const TPlacement placed{ALeft, ATop, AWidth, AHeight};
    if ((!FParent || !FParent->FAligning) && (!same || !(placed == FPlaced) || FPlacedParentWidth < 0))
        Place(placed);   // placed by code: the anchors keep these distances
    if (same) return;
    Invalidate();
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    Invalidate();
    if (resized) Resize();
    RequestAlign();
}

void TControl::SetAlign(TAlign value) {
    if (value == FAlign) return;
    FAlign = value;
    Place({FLeft, FTop, FWidth, FHeight});
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == FAnchors) return;
    FAnchors = value;
    Place({FLeft, FTop, FWidth, FHeight});
}

// The parent's client size goes with the placement; while loading, once the loading has
// ended (at the first alignment), so a form sized after its controls were placed keeps them.
void TControl::Place(TPlacement placed) {
    FPlaced = placed;
    FPlacedParentWidth = -1;
    if (FParent && !Loading() && !FParent->Loading()) RecordPlacement();
}

void TControl::RecordPlacement() {
    const TRect r = FParent->ClientRect();
    FPlacedParentWidth = r.Width();
    FPlacedParentHeight = r.Height();
}

void TControl::PlaceAnchored() {
    if (FPlacedParentWidth < 0) {
        RecordPlacement();
        return;
    }
    const TRect r = FParent->ClientRect();
    const TPlacement p = AnchoredPlacement(FPlaced, FPlacedParentWidth, FPlacedParentHeight, FAnchors, r.Width(), r.Height());
    SetBounds(p.Left, p.Top, p.Width, p.Height);
}

void TControl::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustSize();
}

void TControl::AdjustSize() {
    if (!FAutoSize || Loading()) return;
    int w = FWidth, h = FHeight;
    if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::RequestAlign() {
    if (FParent && !Loading()) FParent->AlignControls();
}

void TControl::Loaded() {
    TComponent::Loaded();
    AdjustSize();
}

void TControl::SetVisible(bool value) {
    if (value == FVisible) return;
    if (!value) Invalidate();
    FVisible = value;
    if (value) Invalidate();
    RequestAlign();
}

void TControl::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    EnabledChanged();
}

void TControl::OwnValue(TParentValue which) {
    if (!FInheriting) FParentValues.Exclude(which);
}

void TControl::SetColor(TColor value) {
    OwnValue(pvColor);
    if (value == FColor) return;
    FColor = value;
    ColorChanged();
    HandOnValue(pvColor);
}

void TControl::SetShowHint(bool value) {
    OwnValue(pvShowHint);
    if (value == FShowHint) return;
    FShowHint = value;
    HandOnValue(pvShowHint);
}

void TControl::SetCtl3D(bool value) {
    OwnValue(pvCtl3D);
    if (value == FCtl3D) return;
    FCtl3D = value;
    Ctl3DChanged();
    HandOnValue(pvCtl3D);
}

void TControl::SetBiDiMode(TBiDiMode value) {
    OwnValue(pvBiDiMode);
    if (value == FBiDiMode) return;
    FBiDiMode = value;
    Invalidate();
    HandOnValue(pvBiDiMode);
}

void TControl::SetParentValue(TParentValue which, bool value) {
    if (value == FParentValues.Contains(which)) return;
    if (!value) {
        FParentValues.Exclude(which);
        return;
    }
    FParentValues.Include(which);
    TakeParentValue(which);
}

void TControl::TakeParentValue(TParentValue which) {
    if (!FParent || !FParentValues.Contains(which)) return;
    const bool saved = std::exchange(FInheriting, true);
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{FInheriting, saved};
    const TControl& from = *FParent;
    switch (which) {
    case pvFont: FFont.Assign(from.FFont); break;
    case pvColor: SetColor(from.FColor); break;
    case pvShowHint: SetShowHint(from.FShowHint); break;
    case pvCtl3D: SetCtl3D(from.FCtl3D); break;
    case pvBiDiMode: SetBiDiMode(from.FBiDiMode); break;
    case pvBackground: Invalidate(); break;
    }
}

void TControl::HandOnValue(TParentValue which) {
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (TControl* c : std::vector<TControl*>(self->FControls)) c->TakeParentValue(which);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    if (value == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetText(const std::string& value) {
    if (value == FText) return;
    FText = value;
    TextChanged();
}

void TControl::Invalidate() {
    if (FParent && FParent->HandleAllocated() && FVisible) {
        RECT r = BoundsRect().ToRECT();
        InvalidateRect(FParent->Handle(), &r, TRUE);
    }
}

void TControl::Repaint() {
    Invalidate();
    if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->Handle());
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return {FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

TForm* TControl::ParentForm() {
    for (TControl* c = this; c; c = c->FParent)
        if (auto* form = dynamic_cast<TForm*>(c)) return form;
    return nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam};
    WindowProc(m);
    if (!m.Handled) DefaultHandler(m);
    return m.Result;
}

void TControl::CallDefault(TMessage& m) {
    if (!m.Handled) DefaultHandler(m);
    m.Handled = true;
}

bool TControl::MouseCapture() const {
    if (auto* self = dynamic_cast<const TWinControl*>(this)) return self->FHandle && GetCapture() == self->FHandle;
    return FParent && FParent->FCaptureControl == this && FParent->FHandle && GetCapture() == FParent->FHandle;
}

// A windowless control captures through its parent's window, which then routes every
// mouse message to it.
void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) return;
    HWND window = nullptr;
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        window = value ? self->Handle() : self->FHandle;
    } else if (FParent) {
        window = value ? FParent->Handle() : FParent->FHandle;
        FParent->FCaptureControl = value ? this : nullptr;
    }
    if (!window) return;
    if (value) SetCapture(window);
    else if (GetCapture() == window) ReleaseCapture();
}

void TControl::Click() { ActionClick(ActionLink(), OnClick, this); }

void TControl::SetAction(TAction* value) {
    if (!FActionLink) {
        if (!value) return;
        FActionLink = std::make_unique<TActionLink>([this](const TAction& a, TActionProperties p) { ActionChange(a, p); });
    }
    FActionLink->SetAction(value);
}

void TControl::ActionChange(const TAction& Action, TActionProperties Changed) {
    if (Changed.Contains(apCaption)) SetCaption(Action.Caption());
    if (Changed.Contains(apEnabled)) SetEnabled(Action.Enabled());
    if (Changed.Contains(apHint)) SetHint(Action.Hint());
    if (Changed.Contains(apVisible)) SetVisible(Action.Visible());
}

void TControl::DblClick() {
    if (TNotifyEvent h = OnDblClick) h(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (TMouseEvent h = OnMouseDown) h(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (TMouseEvent h = OnMouseUp) h(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (TMouseMoveEvent h = OnMouseMove) h(this, Shift, X, Y);
}

void TControl::MouseEnter() {
    if (TNotifyEvent h = OnMouseEnter) h(this);
}

void TControl::MouseLeave() {
    if (TNotifyEvent h = OnMouseLeave) h(this);
}

void TControl::Resize() {
    if (TNotifyEvent h = OnResize) h(this);
}

void TControl::WndProc(TMessage& m) {
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
        MouseMessage(m);
    } else if (m.Msg == CM_MOUSEENTER) {
        FMouseInside = true;
        MouseEnter();
    } else if (m.Msg == CM_MOUSELEAVE) {
        FMouseInside = false;
        MouseLeave();
    } else if (m.Msg == WM_CAPTURECHANGED) {
        FClickPending = false;   // a release that comes after a lost capture is no click
    }
}

// Decodes a client-area mouse message into the mouse virtuals. A click is a left press
// and release inside the control; handlers may free the control, so nothing touches
// `this` after the last call.
void TControl::MouseMessage(TMessage& m) {
    if (!FEnabled) return;
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeysToShiftState(m.WParam);
    const bool windowed = dynamic_cast<TWinControl*>(this) != nullptr;
    if (windowed && FControlStyle.Contains(csCaptureMouse)) {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK)
            SetMouseCapture(true);
    }
    switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
    case WM_LBUTTONDOWN:
        FClickPending = true;
        if (FDragMode == dmAutomatic && !Dragging()) BeginDragAt(ClientToScreen({x, y}), false);
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_RBUTTONDOWN: MouseDown(mbRight, shift, x, y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift, x, y); break;
    case WM_LBUTTONDBLCLK: {
        FClickPending = false;
        TFreeWatch watch;   // OnDblClick may free the control
        watch.Watch(this);
        DblClick();
        if (!watch.Gone(this)) MouseDown(mbLeft, shift.Include(ssDouble), x, y);
        break;
    }
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift.Include(ssDouble), x, y); break;
    case WM_LBUTTONUP: {
        const bool click = std::exchange(FClickPending, false) && FClickEvents && ClientRect().Contains({x, y});
        if (windowed && FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        TFreeWatch watch;   // OnMouseUp may free the control
        watch.Watch(this);
        MouseUp(mbLeft, shift, x, y);
        if (click && !watch.Gone(this)) Click();
        break;
    }
    case WM_RBUTTONUP: case WM_MBUTTONUP:
        if (windowed && FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        MouseUp(m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle, shift, x, y);
        break;
    default: break;
    }
}

//--- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
