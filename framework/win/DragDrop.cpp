#include "framework/win/DragDrop.h"

#include <windowsx.h>

#include <cstdlib>

#include "framework/win/Application.h"
#include "framework/win/Forms.h"

namespace {

// The tool window an undocked control floats in.
class TDockFloatForm : public TForm {
public:
    explicit TDockFloatForm(TComponent* AOwner) : TForm(AOwner) {
        SetBorderStyle(bsToolWindow);
        SetBorderIcons({biSystemMenu});
        SetFormStyle(fsStayOnTop);
    }
    void Take(TControl* client) {
        FClient = client;
        client->FreeNotification(this);
        SetCaption(client->Caption());
        client->SetParent(this);
    }
    // Called once the client has left for another parent.
    void Abandon() {
        if (FClient) FClient->RemoveFreeNotification(this);
        FClient = nullptr;
        Application->DeferDelete(this);
    }

protected:
    // As small as the client: no minimum width for the caption's sake.
    void WndProc(TMessage& m) override {
        TForm::WndProc(m);
        if (m.Msg != WM_GETMINMAXINFO) return;
        CallDefault(m);
        reinterpret_cast<MINMAXINFO*>(m.LParam)->ptMinTrackSize = {1, 1};
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TForm::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && AComponent == FClient) {
            FClient = nullptr;
            Application->DeferDelete(this);
        }
    }

private:
    TControl* FClient = nullptr;
};

// The outline a dock drag moves: a 3-pixel frame of the control's size, made of a window
// region so that the mouse finds what lies inside it.
class TDockOutline {
public:
    ~TDockOutline() {
        if (FWindow) DestroyWindow(FWindow);
    }
    void Show(const TRect& r) {
        if (!FWindow) Create();
        if (!FWindow) return;
        HRGN ring = CreateRectRgn(0, 0, r.Width(), r.Height());
        HRGN inner = CreateRectRgn(kWidth, kWidth, r.Width() - kWidth, r.Height() - kWidth);
        CombineRgn(ring, ring, inner, RGN_DIFF);
        DeleteObject(inner);
        SetWindowPos(FWindow, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
        SetWindowRgn(FWindow, ring, TRUE);   // the window owns the region now
    }
    void Hide() {
        if (FWindow) ShowWindow(FWindow, SW_HIDE);
    }
    HWND Window() const { return FWindow; }

private:
    static constexpr int kWidth = 3;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_NCHITTEST) return HTTRANSPARENT;
        return DefWindowProcW(h, msg, w, l);
    }
    void Create() {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
            wc.lpszClassName = L"VorpenDockOutline";
            return RegisterClassW(&wc) != 0;
        }();
        if (!registered) return;
        FWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"VorpenDockOutline", L"",
                                  WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    HWND FWindow = nullptr;
};

}  // namespace

// The one drag of the program. A drag is pending from BeginDrag until the mouse moves the
// threshold (or at once when immediate), then active until the drop or a cancel.
class TDragManager {
public:
    static TDragManager& Get() {
        static TDragManager manager;
        return manager;
    }

    void Begin(TControl* source, TPoint at, bool immediate, int threshold) {
        if (FSource) return;
        const bool hadCapture = source->MouseCapture();
        source->SetMouseCapture(true);
        if (!source->MouseCapture()) return;   // no window to drag from
        HWND capture = GetCapture();
        FSource = source;
        FCapture = capture;
        FTookCapture = !hadCapture;
        FStart = at;
        FThresholdX = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
        FThresholdY = threshold >= 0 ? threshold : GetSystemMetrics(SM_CYDRAG);
        FKind = source->DragKind();
        const TPoint origin = BoundsOrigin(source);
        FGrab = {at.X - origin.X, at.Y - origin.Y};
        FFilter = Application->AddMessageFilter([this](MSG& msg) { return KeyMessage(msg); });
        if (immediate) Start(at);
    }

    bool MouseMessage(TWinControl* window, TMessage& m) {
        if (!FSource || !window->FHandle || window->FHandle != FCapture) return false;
        POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ::ClientToScreen(window->FHandle, &pt);
        const TPoint p{pt.x, pt.y};
        if (!FActive) {
            if (m.Msg == WM_MOUSEMOVE) {
                if (std::abs(p.X - FStart.X) < FThresholdX && std::abs(p.Y - FStart.Y) < FThresholdY) return false;
                Start(p);
                return true;
            }
            if (m.Msg == WM_MOUSEWHEEL) return false;
            // A release (or another button) before the threshold: no drag, the press was a click.
            if (!FTookCapture) {
                Clear();
                return false;
            }
            const HWND capture = FCapture;
            Clear();
            window->RouteMouse(m);
            if (GetCapture() == capture) ReleaseCapture();
            return true;
        }
        switch (m.Msg) {
        case WM_MOUSEMOVE: MoveTo(p); break;
        case WM_LBUTTONUP: Finish(true, p); break;
        case WM_RBUTTONDOWN: Finish(false, p); break;
        default: break;
        }
        return true;
    }

    void CaptureChanged(HWND window, HWND next) {
        if (FSource && window == FCapture && next != window) Finish(false, FLast);
    }

    void Gone(TControl* control) {
        if (control == FSource) {
            const HWND capture = FCapture;
            Clear();
            if (GetCapture() == capture) ReleaseCapture();
        }
        if (control == FTarget) FTarget = nullptr;
        if (control == FEndSource) FEndSource = nullptr;
        if (control == FEndTarget) FEndTarget = nullptr;
    }

    bool Dragging(const TControl* control) const { return control && control == FSource; }

    // EndDrag: a drop where the mouse is now, or a cancel.
    void End(bool drop) {
        if (!FSource) return;
        POINT pt;
        GetCursorPos(&pt);
        Finish(drop, {pt.x, pt.y});
    }

private:
    // Where the control's top-left corner is on the screen.
    static TPoint BoundsOrigin(TControl* c) {
        if (!c->Parent()) return {c->Left(), c->Top()};
        return c->Parent()->ClientToScreen({c->Left(), c->Top()});
    }

    void Start(TPoint p) {
        FActive = true;
        FLast = p;
        FSource->FClickPending = false;   // the press became a drag, not a click
        TControl* source = FSource;
        if (FKind == dkDock) source->DoStartDock();
        else source->DoStartDrag();
        if (FSource == source && FActive) MoveTo(p);
    }

    // The control under a screen point: the windowed control there, or its windowless
    // child at that point.
    static TControl* ControlAt(TPoint p) {
        TWinControl* w = nullptr;
        for (HWND h = WindowFromPoint({p.X, p.Y}); h && !w; h = GetParent(h)) w = TWinControl::FromHandle(h);
        if (!w) return nullptr;
        if (TControl* child = w->ControlAtPos(w->ScreenToClient(p))) return child;
        return w;
    }

    // The dock site under a point: the nearest DockSite at or above the control there,
    // neither the source nor inside it.
    TWinControl* DockSiteAt(TPoint p) const {
        TControl* c = ControlAt(p);
        auto inside = [this](TControl* x) {
            for (; x; x = x->Parent())
                if (x == FSource) return true;
            return false;
        };
        for (; c; c = c->Parent()) {
            auto* w = dynamic_cast<TWinControl*>(c);
            if (w && w->DockSite() && !inside(w)) return w;
        }
        return nullptr;
    }

    TRect DockRect(TPoint p) const { return Bounds(p.X - FGrab.X, p.Y - FGrab.Y, FSource->Width(), FSource->Height()); }

    bool Over(TControl* target, TPoint p, TDragState state) {
        bool accept = false;
        const TPoint c = target->ScreenToClient(p);
        target->DragOver(FSource, c.X, c.Y, state, accept);
        return accept;
    }

    void MoveTo(TPoint p) {
        FLast = p;
        if (FKind == dkDock) {
            FTarget = DockSiteAt(p);
            FOutline.Show(DockRect(p));
            ::SetCursor(CursorHandle(crArrow));
            return;
        }
        TControl* source = FSource;
        TControl* target = ControlAt(p);
        if (target != FTarget) {
            if (TControl* old = FTarget) {
                FAccepted = false;
                Over(old, p, dsDragLeave);
                if (FSource != source || !FActive) return;
                target = ControlAt(p);   // the leave may have freed what was there
            }
            FTarget = target;
            FAccepted = target && Over(target, p, dsDragEnter);
        } else if (target) {
            FAccepted = Over(target, p, dsDragMove);
        }
        if (FSource != source || !FActive) return;
        ::SetCursor(CursorHandle(FTarget && FAccepted ? FSource->DragCursor() : crNoDrop));
    }

    // Esc cancels; Ctrl and Shift ask the control under the mouse again (a copy cursor).
    // While the drag is under way the keys are the drag's: no control types them.
    bool KeyMessage(const MSG& msg) {
        if (!FSource) return false;
        const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            Finish(false, FLast);
            return true;
        }
        if (!FActive) return false;
        if (key && (msg.wParam == VK_CONTROL || msg.wParam == VK_SHIFT)) MoveTo(FLast);
        return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    }

    // Ends the drag: a drop at p on the control that accepted it (or into a dock site, or
    // afloat), or a cancel; then the source hears how it ended.
    void Finish(bool drop, TPoint p) {
        if (!FActive) {   // still pending: no drag took place
            const HWND capture = FTookCapture ? FCapture : nullptr;
            Clear();
            if (capture && GetCapture() == capture) ReleaseCapture();
            return;
        }
        if (drop && FKind == dkDrag && p != FLast) MoveTo(p);
        if (!FSource || !FActive) return;
        FEndSource = FSource;
        const TDragKind kind = FKind;
        FEndTarget = kind == dkDock ? (drop ? DockSiteAt(p) : nullptr) : FTarget;
        const bool accepted = kind == dkDock || FAccepted;
        const TRect dockRect = DockRect(p);
        FOutline.Hide();
        // The leave goes out while the drag is still the source's.
        if (kind == dkDrag && FEndTarget) Over(FEndTarget, p, dsDragLeave);
        if (!FEndSource) {   // freed by the leave: the drag went with it, nothing is dropped
            FEndTarget = nullptr;
            return;
        }
        const HWND capture = FCapture;
        Clear();
        if (GetCapture() == capture) ReleaseCapture();
        TControl* target = drop && accepted ? FEndTarget : nullptr;
        TPoint at{0, 0};
        if (kind == dkDock) {
            if (!FEndSource) return;
            if (drop) Dock(FEndSource, static_cast<TWinControl*>(FEndTarget), dockRect);
            if (target && FEndTarget) at = FEndTarget->ScreenToClient(p);
            if (FEndSource) FEndSource->DoEndDock(target && FEndTarget ? FEndTarget : nullptr, at.X, at.Y);
        } else {
            if (target) {
                at = target->ScreenToClient(p);
                target->DragDrop(FEndSource, at.X, at.Y);
            }
            if (FEndSource) FEndSource->DoEndDrag(target && FEndTarget ? FEndTarget : nullptr, at.X, at.Y);
        }
        FEndSource = FEndTarget = nullptr;
    }

    // Puts a dock client into a site at the outline's place, or afloat there.
    void Dock(TControl* client, TWinControl* site, const TRect& r) {
        auto* oldHost = dynamic_cast<TDockFloatForm*>(client->Parent());
        if (site) {
            if (site != client->Parent()) client->SetParent(site);
            const TPoint at = site->ScreenToClient({r.Left, r.Top});
            client->SetBounds(at.X, at.Y, r.Width(), r.Height());
            if (oldHost && site != oldHost) oldHost->Abandon();
            return;
        }
        TDockFloatForm* host = oldHost;
        if (!host) {
            host = NewForm<TDockFloatForm>(nullptr);
            host->Take(client);
            client->SetBounds(0, 0, r.Width(), r.Height());
            host->SetClientSize(r.Width(), r.Height());
            host->Show();
            host->SetClientSize(r.Width(), r.Height());   // the window was made no smaller than a caption needs
        }
        // The host's client area goes where the outline was.
        const TPoint origin = host->ClientOrigin();
        host->SetBounds(r.Left - (origin.X - host->Left()), r.Top - (origin.Y - host->Top()), host->Width(),
                        host->Height());
        host->Show();
    }

    void Clear() {
        if (FFilter) Application->RemoveMessageFilter(FFilter);
        FFilter = 0;
        FOutline.Hide();
        FSource = nullptr;
        FTarget = nullptr;
        FCapture = nullptr;
        FActive = FAccepted = FTookCapture = false;
    }

    TControl* FSource = nullptr;
    TControl* FTarget = nullptr;              // under the mouse (dock: the site)
    TControl* FEndSource = nullptr;           // while the end is told
    TControl* FEndTarget = nullptr;
    HWND FCapture = nullptr;
    bool FActive = false, FAccepted = false, FTookCapture = false;
    TDragKind FKind = dkDrag;
    TPoint FStart{}, FLast{}, FGrab{};
    int FThresholdX = 0, FThresholdY = 0;
    int FFilter = 0;
    TDockOutline FOutline;
};

bool DragMouseMessage(TWinControl* window, TMessage& message) {
    return TDragManager::Get().MouseMessage(window, message);
}

void DragCaptureChanged(HWND window, HWND next) { TDragManager::Get().CaptureChanged(window, next); }

void DragControlGone(TControl* control) { TDragManager::Get().Gone(control); }

bool IsDockFloatHost(const TWinControl* control) { return dynamic_cast<const TDockFloatForm*>(control) != nullptr; }

//--- TControl's drag members

void TControl::BeginDrag(bool Immediate, int Threshold) {
    POINT p;
    GetCursorPos(&p);
    BeginDragAt({p.x, p.y}, Immediate, Threshold);
}

void TControl::BeginDragAt(TPoint screen, bool Immediate, int Threshold) {
    TDragManager::Get().Begin(this, screen, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
    if (Dragging()) TDragManager::Get().End(Drop);
}

bool TControl::Dragging() const { return TDragManager::Get().Dragging(this); }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TDragOverEvent h = OnDragOver;
    Accept = static_cast<bool>(h);
    if (h) h(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (TDragDropEvent h = OnDragDrop) h(this, Source, X, Y);
}

void TControl::DoStartDrag() {
    if (TStartDragEvent h = OnStartDrag) h(this);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (TEndDragEvent h = OnEndDrag) h(this, Target, X, Y);
}

void TControl::DoStartDock() {
    if (TStartDragEvent h = OnStartDock) h(this);
}

void TControl::DoEndDock(TObject* Target, int X, int Y) {
    if (TEndDragEvent h = OnEndDock) h(this, Target, X, Y);
}
