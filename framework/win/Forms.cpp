#include "framework/win/Forms.h"

#include <algorithm>

#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"

namespace {


BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) list->push_back(hwnd);
    return TRUE;
}
}  // namespace

TScreen* Screen = new TScreen;   // never freed: forms may go after static destructors ran

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return TRect::FromRECT(r);
}

//--- TForm

TForm::TForm(TComponent* AOwner) : TCustomControl(AOwner) {
    BeginLoading();
    FVisible = false;
    TControl::SetBounds(0, 0, 320, 240);
}

// The components go first, while the form is whole (a hook component puts the form's
// WindowProc back, timers stop, controls leave their parent).
TForm::~TForm() {
    BeforeDestruction();
    BeginDestroy();
    auto& forms = Screen->FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
    Application->FormDestroyed(this);
}

// Only a form whose construction has ended is listed in Screen, so a broadcast to all
// forms (a skin change) made while a constructor runs does not reach the half-built form.
void TForm::AfterConstruction() {
    EndLoading();
    if (std::find(Screen->FForms.begin(), Screen->FForms.end(), this) == Screen->FForms.end())
        Screen->FForms.push_back(this);
    try {
        if (TNotifyEvent h = OnCreate) h(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm::BeforeDestruction() {
    if (std::exchange(FDestroyFired, true)) return;
    try {
        if (TNotifyEvent h = OnDestroy) h(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    p.WndParent = Application->Handle();
    p.WinClassName = L"VorpenForm";
    switch (FBorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        p.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (FAlphaBlend) p.ExStyle |= WS_EX_LAYERED;
}

void TForm::CreateWnd() {
    TCustomControl::CreateWnd();
    if (FAlphaBlend) ApplyAlpha();
    if (FVisible) ShowWindow(FHandle, SW_SHOWNORMAL);
}

void TForm::RestyleIfCreated() {
    if (HandleAllocated()) RecreateWnd();
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RestyleIfCreated();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == FBorderIcons) return;
    FBorderIcons = value;
    RestyleIfCreated();
}

void TForm::SetFormStyle(TFormStyle value) {
    if (value == FFormStyle) return;
    FFormStyle = value;
    if (HandleAllocated())
        SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetAlphaBlend(bool value) {
    if (value == FAlphaBlend) return;
    FAlphaBlend = value;
    if (!HandleAllocated()) return;
    if (value) {
        ApplyAlpha();
    } else {
        SetWindowLongPtrW(FHandle, GWL_EXSTYLE, HwndExStyle(FHandle) & ~WS_EX_LAYERED);
        RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TForm::SetAlphaBlendValue(uint8_t value) {
    if (value == FAlphaBlendValue) return;
    FAlphaBlendValue = value;
    if (FAlphaBlend && HandleAllocated()) ApplyAlpha();
}

void TForm::ApplyAlpha() {
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE, HwndExStyle(FHandle) | WS_EX_LAYERED);
    if (!SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA)) RaiseLastOSError("SetLayeredWindowAttributes");
}

bool TForm::Active() const { return FHandle && GetActiveWindow() == FHandle; }

// Centring happens once, at the first show, when the size is final.
void TForm::ApplyPosition() {
    if (std::exchange(FPositioned, true) || FPosition == poDesigned) return;
    int w, h, x0 = 0, y0 = 0;
    if (FPosition == poScreenCenter) {
        w = Screen->Width();
        h = Screen->Height();
    } else {
        x0 = GetSystemMetrics(SM_XVIRTUALSCREEN);
        y0 = GetSystemMetrics(SM_YVIRTUALSCREEN);
        w = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }
    SetBounds(x0 + (w - Width()) / 2, y0 + (h - Height()) / 2, Width(), Height());
}

void TForm::SetVisible(bool value) {
    if (value == FVisible) return;
    if (value) {
        HandleNeeded();
        ApplyPosition();
        // Visible while the show handler runs; a handler that raises leaves the form hidden,
        // so that a later Show tries again.
        FVisible = true;
        try {
            if (TNotifyEvent h = OnShow) h(this);
        } catch (...) {
            FVisible = false;
            throw;
        }
        if (FVisible && HandleAllocated()) ShowWindow(FHandle, SW_SHOWNORMAL);
    } else {
        FVisible = false;
        if (TNotifyEvent h = OnHide) h(this);
        if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
    }
}

void TForm::Show() {
    SetVisible(true);
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (TCloseQueryEvent h = OnCloseQuery) h(this, canClose);
    return canClose;
}

// A modal form only sets its result here; its loop runs the close events.
void TForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (TCloseEvent h = OnClose) h(this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this) Application->Terminate();
    else if (action == caHide) Hide();
    else if (action == caMinimize) ShowWindow(Handle(), SW_MINIMIZE);
    else if (action == caFree) Release();
}

int TForm::ShowModal() {
    if (FVisible || !Enabled() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture()) SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    for (HWND h : disabled) EnableWindow(h, FALSE);
    FModal = true;
    FModalResult = mrNone;
    TCloseAction action = caHide;
    auto restore = [&] {
        FModal = false;
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        Hide();
    };
    try {
        Show();
        SetForegroundWindow(FHandle);
        for (;;) {
            Application->HandleMessage();
            if (Application->Terminated()) FModalResult = mrCancel;
            if (FModalResult == mrNone) continue;
            action = CloseQuery() ? caHide : caNone;
            if (action != caNone)
                if (TCloseEvent h = OnClose) h(this, action);
            if (action != caNone || Application->Terminated()) break;
            FModalResult = mrNone;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (action == caFree) Release();
    return FModalResult;
}

void TForm::Release() { Application->DeferDelete(this); }

// The session ends (logoff, shutdown): the main form's close handlers run as on a quit, so
// what they save is not lost; the application then ends.
void TForm::EndSession() {
    TCloseAction action = caHide;
    if (TCloseEvent h = OnClose) h(this, action);
    Application->Terminate();
}

bool TForm::DialogKey(WORD Key, TShiftState Shift) {
    if (IsShortCut(Key, Shift) || FocusDialogKey(Key, Shift)) return true;
    if (Key == VK_ESCAPE && Shift.Empty() && FModal) {
        FModalResult = mrCancel;
        return true;
    }
    return false;
}

void TForm::Paint() {
    if (TNotifyEvent h = OnPaint) h(this);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Handled = true;
        return;
    case WM_QUERYENDSESSION:   // the main form decides whether the session may end
        if (Application->MainForm() != this) break;
        m.Result = !FModal && CloseQuery();
        m.Handled = true;
        return;
    case WM_ENDSESSION:
        if (Application->MainForm() != this) break;
        if (m.WParam) EndSession();
        m.Handled = true;
        return;
    case WM_SETFOCUS: {   // the form passes its focus on to its active (else first tab) control
        TWinControl* target = FActiveControl;
        if (!target || !target->CanFocus())
            if (auto list = TabList(); !list.empty()) target = list.front();
        if (target && target->CanFocus()) {
            ::SetFocus(target->Handle());
            m.Handled = true;
            return;
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            Screen->FActiveForm = this;
            if (TNotifyEvent h = OnActivate) h(this);
        } else {
            if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
            if (TNotifyEvent h = OnDeactivate) h(this);
        }
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}
