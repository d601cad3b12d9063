#include "framework/win/Application.h"

#include <algorithm>

#include "framework/win/Bitmap.h"
#include "framework/win/Dialogs.h"
#include "framework/win/WinTimerService.h"
#include "framework/win/WinUtil.h"

namespace {
constexpr UINT WM_DEFERRED_DELETE = WM_APP + 0x3F20;
WinTimerService gTimers;
TApplication gApplication;
}  // namespace

TApplication* Application = &gApplication;

//--- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    FVisible = false;
    FColor = clInfoBk;
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WndParent = Application->Handle();
    p.WinClassName = L"VorpenHintWindow";
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(Font());
    TRect r = Rect(0, 0, maxWidth, 0);
    measure.Canvas().DrawText(hint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return Rect(0, 0, r.Right + 6, r.Bottom + 4);
}

void THintWindow::ActivateHint(const TRect& r, const std::string& hint) {
    SetText(hint);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    Canvas().Brush().SetColor(Color());
    Canvas().FillRect(r);
    Canvas().Font().Assign(Font());
    Canvas().Font().SetColor(clInfoText);
    Canvas().Brush().SetStyle(bsClear);
    r = Rect(2, 1, r.Right - 2, r.Bottom - 1);
    Canvas().DrawText(Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

//--- TApplication

TApplication::TApplication() : TComponent(nullptr) {
    SetTimerService(&gTimers);
    FHintClass = [](TComponent* owner) { return new THintWindow(owner); };
}

// Forms go first, newest first, each told OnDestroy while everything is still whole.
TApplication::~TApplication() {
    FHintWindow.reset();
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto* form = dynamic_cast<TForm*>(Components(i))) form->BeforeDestruction();
    DestroyComponents();
    if (FHandle) DestroyWindow(FHandle);
    SetTimerService(nullptr);
}

void TApplication::Initialize() { Handle(); }

HWND TApplication::Handle() {
    if (FHandle) return FHandle;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32517));
    wc.lpszClassName = L"VorpenApplication";
    RegisterClassExW(&wc);
    FHandle = CreateWindowExW(0, wc.lpszClassName, Wide(FTitle).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!FHandle) RaiseLastOSError("CreateWindowEx (application window)");
    return FHandle;
}

void TApplication::SetTitle(const std::string& value) {
    FTitle = value;
    if (FHandle) SetWindowTextW(FHandle, Wide(value).c_str());
}

void TApplication::Run() {
    if (FMainForm && ShowMainForm && !FTerminated) FMainForm->SetVisible(true);
    while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (FMinimized) return;
    FMinimized = true;
    FMinimizedForms.clear();
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TForm* form = Screen->Forms(i);
        if (form->HandleAllocated() && IsWindowVisible(form->Handle())) FMinimizedForms.push_back(form->Handle());
    }
    for (HWND h : FMinimizedForms) ShowWindow(h, SW_HIDE);
    if (TNotifyEvent h = OnMinimize) h(this);
}

// Forms freed meanwhile are skipped; each form comes back where it was.
void TApplication::Restore() {
    if (!FMinimized) return;
    FMinimized = false;
    for (HWND h : std::exchange(FMinimizedForms, {}))
        if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(h)); form && form->Visible())
            ShowWindow(h, SW_SHOWNA);
    if (TNotifyEvent h = OnRestore) h(this);
}

// What the idle work posts or sends is handled before the loop waits.
void TApplication::HandleMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        Idle();
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
    }
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(msg);
}

void TApplication::Idle() {
    try {
        UpdateActions();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg)) break;
}

// Returns false at WM_QUIT.
bool TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return false;
    }
    try {
        for (auto& [id, filter] : std::map<int, TMessageFilter>(FFilters))
            if (filter(msg)) return true;
        if (IsHintMsg(msg) || IsDialogKey(msg)) return true;
    } catch (...) {
        HandleException(this);
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

bool TApplication::IsDialogKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
    return form && form->DialogKey(static_cast<WORD>(msg.wParam), KeyboardShiftState());
}

int TApplication::AddMessageFilter(TMessageFilter filter) {
    FFilters[FNextFilter] = std::move(filter);
    return FNextFilter++;
}

void TApplication::RemoveMessageFilter(int id) { FFilters.erase(id); }

void TApplication::HandleException(TObject* Sender) noexcept {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        try {
            if (OnException) OnException(Sender, e);
            else ShowException(e);
        } catch (...) {
        }
    } catch (...) {
        try {
            ShowException(Exception("Unknown exception"));
        } catch (...) {
        }
    }
}

void TApplication::ShowException(const std::exception& E) {
    // A period closes the text unless it already ends in a character at or below '.' in ASCII ('!', ',', '.'...).
    std::string text = E.what();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

//--- Deferred deletes

void TApplication::DeferDelete(TComponent* component) {
    if (!component || std::find(FDeferred.begin(), FDeferred.end(), component) != FDeferred.end()) return;
    FDeferred.push_back(component);
    component->FreeNotification(this);
    PostMessageW(Handle(), WM_DEFERRED_DELETE, 0, 0);
}

void TApplication::DeleteDeferred() {
    while (!FDeferred.empty()) {
        TComponent* c = FDeferred.front();
        FDeferred.erase(FDeferred.begin());
        c->RemoveFreeNotification(this);
        if (auto* form = dynamic_cast<TForm*>(c)) form->BeforeDestruction();
        delete c;
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    FDeferred.erase(std::remove(FDeferred.begin(), FDeferred.end(), AComponent), FDeferred.end());
    if (AComponent == FHintControl) {
        FHintControl = nullptr;
        CancelHint();
    }
}

void TApplication::FormDestroyed(TForm* form) {
    if (form == FMainForm) FMainForm = nullptr;
    if (FHintControl && FHintControl->ParentForm() == form) CancelHint();
}

LRESULT CALLBACK TApplication::AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DEFERRED_DELETE) {
        try {
            Application->DeleteDeferred();
        } catch (...) {
            Application->HandleException(Application);
        }
        return 0;
    }
    if (msg == WM_CLOSE) {   // closing the application window closes the main form
        if (TForm* main = Application->MainForm()) main->Close();
        else Application->Terminate();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

//--- Hints: a control's Hint shows after a pause while the mouse rests on it.

void TApplication::SetShowHint(bool value) {
    FShowHint = value;
    if (value) return;
    CancelHint();
    FHintWindow.reset();
}

void TApplication::SetHintWindowClass(THintWindowClass factory) {
    CancelHint();
    FHintWindow.reset();
    FHintClass = std::move(factory);
}

void TApplication::CancelHint() {
    if (FHintTimer) FHintTimer->SetEnabled(false);
    if (FHintControl) FHintControl->RemoveFreeNotification(this);
    FHintControl = nullptr;
    if (FHintWindow && FHintShown) FHintWindow->ReleaseHandle();
    FHintShown = false;
}

void TApplication::StartHintTimer(uint32_t interval) {
    if (!FHintTimer) {
        FHintTimer = new TTimer(this);
        FHintTimer->SetEnabled(false);
        FHintTimer->OnTimer = [this](TObject* s) { HintTimer(s); };
    }
    FHintTimer->SetEnabled(false);
    FHintTimer->SetInterval(interval);
    FHintTimer->SetEnabled(true);
}

// Follows the mouse: a move onto another control restarts the pause (the short one when
// a hint was showing), leaving the control's window or a click or key hides the hint.
bool TApplication::IsHintMsg(const MSG& msg) {
    if (!FShowHint) return false;
    if (FHintWindow && FHintWindow->HandleAllocated() && msg.hwnd == FHintWindow->Handle()) return false;
    if (msg.message == WM_MOUSEMOVE) {
        TControl* c = TWinControl::FromHandle(msg.hwnd);
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            if (TControl* child = w->ControlAtPos({p.x, p.y})) c = child;
        }
        if (c && (!c->ShowHint() || c->Hint().empty())) c = nullptr;
        if (c == FHintControl) return false;
        const bool wasShown = FHintShown;
        CancelHint();
        if (!c) return false;
        FHintControl = c;
        c->FreeNotification(this);
        StartHintTimer(wasShown ? HintShortPause : HintPause);
    } else if (msg.message == WM_MOUSELEAVE) {
        // Leaving the parent ends a windowless control's hint; a windowed child's parent is
        // left when the mouse goes into the child (its leave may come after the child's move).
        TControl* left = TWinControl::FromHandle(msg.hwnd);
        if (FHintControl && (left == FHintControl ||
                             (left == FHintControl->Parent() && !dynamic_cast<TWinControl*>(FHintControl))))
            CancelHint();
    } else if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_KEYDOWN) {
        CancelHint();
    }
    return false;
}

// First tick: the short part of "short|long" shows below the cursor. Second tick (the
// hide pause): it goes, and stays away until the mouse moves to another control.
void TApplication::HintTimer(TObject*) {
    FHintTimer->SetEnabled(false);
    if (!FHintControl) return;
    if (FHintShown) {
        FHintShown = false;
        if (FHintWindow) FHintWindow->ReleaseHandle();
        return;
    }
    std::string hint = FHintControl->Hint();
    hint = hint.substr(0, hint.find('|'));
    POINT at;
    GetCursorPos(&at);
    THintInfo info;
    info.HintControl = FHintControl;
    info.CursorPos = {at.x, at.y};
    info.HintPos = {at.x, at.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3};
    info.HintMaxWidth = Screen->Width() / 3;
    info.HideTimeout = HintHidePause;
    bool canShow = true;
    if (TShowHintEvent h = OnShowHint) h(hint, canShow, info);
    if (!canShow || !FHintControl) return;   // refused: waits for the mouse to go to another control
    if (!FHintWindow) FHintWindow.reset(FHintClass(nullptr));
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, hint);
    FHintWindow->ActivateHint(Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height()), hint);
    FHintShown = true;
    StartHintTimer(info.HideTimeout);
}

//--- Utility windows

namespace {

LRESULT CALLBACK UtilWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!method) return DefWindowProcW(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam};
    try {
        TWndMethod call = *method;   // the handler may deallocate the window
        call(m);
    } catch (...) {
        Application->HandleException(Application);
    }
    return m.Handled ? m.Result : DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = UtilWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VorpenUtilWindow";
        return RegisterClassExW(&wc);
    }();
    if (!atom) RaiseLastOSError("RegisterClassEx (utility window)");
    HWND h = CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    if (!h) RaiseLastOSError("CreateWindowEx (utility window)");
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
    return h;
}

void DeallocateHWnd(HWND window) {
    if (!window || !IsWindow(window)) return;
    auto* method = reinterpret_cast<TWndMethod*>(SetWindowLongPtrW(window, GWLP_USERDATA, 0));
    DestroyWindow(window);
    delete method;
}
