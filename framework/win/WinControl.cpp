#include <algorithm>
#include <map>
#include <windowsx.h>

#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Controls.h"
#include "framework/win/DragDrop.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/WinUtil.h"

//--- The window procedures: every message of our windows comes in here.

// Subclassed system controls carry their object in this window property.
constexpr wchar_t kControlProp[] = L"VorpenControl";

LRESULT DispatchToControl(TWinControl* c, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam};
    try {
        c->WindowProc(m);
        // The handler may have destroyed the control; only a live one gets the default.
        if (!m.Handled && TWinControl::FromHandle(hwnd) == c) c->DefaultHandler(m);
    } catch (...) {
        Application->HandleException(c);
    }
    return m.Result;
}

LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* c = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
        c->FHandle = hwnd;
    }
    auto* c = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!c) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = DispatchToControl(c, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        c->FHandle = nullptr;
    }
    return result;
}

LRESULT CALLBACK FrameworkSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    auto* c = reinterpret_cast<TWinControl*>(ref);
    LRESULT result = DispatchToControl(c, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, FrameworkSubclassProc, 1);
        RemovePropW(hwnd, kControlProp);
        c->FHandle = nullptr;
    }
    return result;
}

namespace {

// Returns the name of our class for (name, style): the name itself for the first style
// asked with it, the name with the style in hex appended for each other style.
std::wstring RegisterClassOnce(const std::wstring& name, UINT style) {
    static std::map<std::pair<std::wstring, UINT>, std::wstring> registered;
    static std::map<std::wstring, int> taken;   // styles registered per name
    const auto key = std::make_pair(name, style);
    if (auto it = registered.find(key); it != registered.end()) return it->second;
    std::wstring actual = name;
    if (taken[name]++ > 0) {
        wchar_t suffix[16];
        swprintf(suffix, 16, L".%X", style);
        actual += suffix;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = FrameworkWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32517));   // IDI_WINLOGO
    wc.lpszClassName = actual.c_str();
    if (!RegisterClassExW(&wc)) {
        --taken[name];
        RaiseLastOSError("RegisterClassEx");
    }
    registered[key] = actual;
    return actual;
}

// An arrow carrying a page (crDrag) or two (crMultiDrag), drawn here: white with a black outline.
HCURSOR MakeDragCursor(bool twoPages) {
    const int w = GetSystemMetrics(SM_CXCURSOR), h = GetSystemMetrics(SM_CYCURSOR);
    WindowDC screen(nullptr);
    GdiObject<HBITMAP> color(CreateCompatibleBitmap(screen.Get(), w, h));
    GdiObject<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
    if (!color || !mask) return nullptr;
    const POINT arrow[] = {{0, 0}, {0, 15}, {4, 11}, {7, 17}, {9, 16}, {6, 10}, {11, 10}};
    // The colour picture is black where the mask lets the screen through (1 = transparent).
    auto draw = [&](HBITMAP target, int background, int fill) {
        MemoryDC dc(screen.Get());
        SelectGuard bitmap(dc.Get(), target);
        RECT all{0, 0, w, h};
        ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(background)));
        SelectGuard pen(dc.Get(), GetStockObject(BLACK_PEN));
        SelectGuard brush(dc.Get(), GetStockObject(fill));
        Polygon(dc.Get(), arrow, int(std::size(arrow)));
        if (twoPages) ::Rectangle(dc.Get(), 11, 12, 22, 22);
        ::Rectangle(dc.Get(), 8, 15, 19, 25);
    };
    draw(color.Get(), BLACK_BRUSH, WHITE_BRUSH);
    draw(mask.Get(), WHITE_BRUSH, BLACK_BRUSH);
    ICONINFO info{FALSE, 0, 0, mask.Get(), color.Get()};
    return CreateIconIndirect(&info);
}

// The system cursor of a stock number, 0 for none.
WORD StockCursorId(TCursor c) {
    switch (c) {
    case crDefault: case crArrow: return 32512;   // IDC_ARROW
    case crCross: return 32515;
    case crIBeam: return 32513;
    case crSizeNESW: return 32643;
    case crSizeNS: case crVSplit: return 32645;
    case crSizeNWSE: return 32642;
    case crSizeWE: case crHSplit: return 32644;
    case crUpArrow: return 32516;
    case crHourGlass: case crSQLWait: return 32514;
    case crNoDrop: case crNo: return 32648;
    case crAppStart: return 32650;
    case crHelp: return 32651;
    case crHandPoint: return 32649;
    case crSizeAll: return 32646;
    default: return 0;
    }
}

// The stock cursor of a number, as no program cursor replaces it (shared; never destroyed).
HCURSOR StockCursor(TCursor index) {
    if (index == crNone) return nullptr;
    if (index == crDrag || index == crMultiDrag) {
        static HCURSOR drag = MakeDragCursor(false), multi = MakeDragCursor(true);
        if (HCURSOR h = index == crDrag ? drag : multi) return h;
    }
    const WORD id = StockCursorId(index);
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(id ? id : 32512));
}

}  // namespace

HCURSOR TScreen::Cursors(TCursor index) const {
    if (auto it = FCursors.find(index); it != FCursors.end()) return it->second;
    return StockCursor(index);
}

// The cursor let go is destroyed, unless another number still holds it or it is a stock one.
void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
    auto it = FCursors.find(index);
    if (it != FCursors.end() && it->second == cursor) return;
    if (it != FCursors.end()) {
        const HCURSOR old = it->second;
        FCursors.erase(it);
        const bool held = std::any_of(FCursors.begin(), FCursors.end(), [old](const auto& e) { return e.second == old; });
        bool stock = false;
        for (TCursor n = crSizeAll; n <= crDefault && !stock; ++n) stock = StockCursor(n) == old;
        if (!held && !stock) DestroyCursor(old);
    }
    if (cursor) FCursors[index] = cursor;
}

HCURSOR CursorHandle(TCursor cursor) { return Screen->Cursors(cursor); }

//--- TWinControl

namespace {

HWND gFocusTarget = nullptr;   // the window getting the focus while OnExit runs
// The controls whose OnEnter has fired and whose OnExit has not yet, outermost first: the
// focused control and the containers it sits in.
std::vector<TWinControl*> gEntered;

// A control and the containers it sits in, innermost first, below its top-level window;
// none that is being freed.
std::vector<TWinControl*> FocusChain(TWinControl* c) {
    std::vector<TWinControl*> chain;
    if (!c) return chain;
    chain.push_back(c);
    for (TWinControl* p = c->Parent(); p && p->Parent(); p = p->Parent()) chain.push_back(p);
    std::erase_if(chain, [](TWinControl* w) { return w->Destroying(); });
    return chain;
}

bool Holds(const std::vector<TWinControl*>& list, const TWinControl* c) {
    return std::find(list.begin(), list.end(), c) != list.end();
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

// Parented children go with their parent (their owner may outlive it). The window goes
// without calling back into this half-destroyed object.
TWinControl::~TWinControl() {
    BeginDestroy();
    std::erase(gEntered, this);
    if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this) && form->ActiveControl() == this)
        form->FocusChanged(nullptr);
    while (!FControls.empty()) delete FControls.back();
    if (FHandle) {
        if (FSubclassed) {
            RemoveWindowSubclass(FHandle, FrameworkSubclassProc, 1);
            RemovePropW(FHandle, kControlProp);
        } else SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
        FHandle = nullptr;
    }
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == FrameworkWndProc)
        return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return static_cast<TWinControl*>(GetPropW(hwnd, kControlProp));
}

HWND TWinControl::Handle() {
    if (!FHandle) CreateHandle();
    return FHandle;
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
    AlignControls();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Wide(FText);
    if (FVisible) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    // Measuring (ClientRect, ClientOrigin) asks for these too: no parent window is made here.
    if (Parent() && Parent()->HandleAllocated()) p.WndParent = Parent()->FHandle;
}

void TWinControl::FilteredCreateParams(TCreateParams& p) {
    CreateParams(p);
    if (CreateParamsFilter) CreateParamsFilter(p);
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    FilteredCreateParams(p);
    if (!p.WndParent && Parent()) {
        p.WndParent = Parent()->Handle();   // making the parent's window makes its children's too
        if (FHandle) return;
    }
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    const std::wstring cls = p.SubclassOf.empty() ? RegisterClassOnce(p.WinClassName, p.ClassStyle) : p.SubclassOf;
    HWND h = CreateWindowExW(p.ExStyle, cls.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, nullptr, GetModuleHandleW(nullptr), this);
    if (!h) RaiseLastOSError("CreateWindowEx (" + Name() + ")");
    // The system gives an overlapped window a caption; a window asked without one loses it.
    if (!(p.Style & (WS_CHILD | WS_POPUP | WS_CAPTION)) && (GetWindowLongPtrW(h, GWL_STYLE) & WS_CAPTION)) {
        SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
        SetWindowPos(h, nullptr, p.X, p.Y, p.Width, p.Height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (!p.SubclassOf.empty()) {
        FHandle = h;
        FSubclassed = true;
        SetPropW(h, kControlProp, this);
        SetWindowSubclass(h, FrameworkSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    }
    UpdateBoundsFromWindow();
}

void TWinControl::DestroyWnd() {
    if (!FHandle) return;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyWnd();
    DestroyWindow(FHandle);   // WM_NCDESTROY clears FHandle
    FHandle = nullptr;
    FSubclassed = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    DestroyWnd();
    CreateHandle();
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    control->Place({control->Left(), control->Top(), control->Width(), control->Height()});
    for (TParentValue v : {pvFont, pvColor, pvShowHint, pvCtl3D, pvBiDiMode, pvBackground}) control->TakeParentValue(v);
    if (auto* w = dynamic_cast<TWinControl*>(control); w && FHandle) {
        if (w->FHandle) ::SetParent(w->FHandle, FHandle);
        else w->CreateHandle();
    }
    control->Invalidate();
    if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    control->Invalidate();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FCaptureControl == control) FCaptureControl = nullptr;
    control->FParent = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->FHandle) w->DestroyWnd();
    if (control->Align() != alNone) AlignControls();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (c->BoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

// Places the children that are not aligned by their anchors, then stacks the aligned
// ones: top and bottom ones across the full width in order of their Top (then of
// insertion), left and right ones in the remaining height, and the client one in what is
// left. Hidden children take no room.
void TWinControl::AlignControls() {
    if (Loading() || Destroying()) return;
    const bool saved = std::exchange(FAligning, true);
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{FAligning, saved};
    for (TControl* c : std::vector<TControl*>(FControls))
        if (c->Align() == alNone) c->PlaceAnchored();
    TRect r = ClientRect();
    AdjustClientRect(r);
    auto ordered = [&](TAlign a, auto key) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
        return list;
    };
    for (TControl* c : ordered(alTop, [](TControl* c) { return c->Top(); })) {
        c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
        r.Top += c->Height();
    }
    for (TControl* c : ordered(alBottom, [](TControl* c) { return -c->Top(); })) {
        c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
        r.Bottom -= c->Height();
    }
    for (TControl* c : ordered(alLeft, [](TControl* c) { return c->Left(); })) {
        c->SetBounds(r.Left, r.Top, c->Width(), std::max(r.Height(), 0));
        r.Left += c->Width();
    }
    for (TControl* c : ordered(alRight, [](TControl* c) { return -c->Left(); })) {
        c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), std::max(r.Height(), 0));
        r.Right -= c->Width();
    }
    for (TControl* c : ordered(alClient, [](TControl* c) { return 0 * c->Top(); }))
        c->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
}

void TWinControl::Loaded() {
    TControl::Loaded();
    AlignControls();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    AWidth = Constraints().ConstrainWidth(AWidth);
    AHeight = Constraints().ConstrainHeight(AHeight);
    if (FHandle) {
        if (ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height())
            SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
    } else {
        ChangeBounds(ALeft, ATop, AWidth, AHeight);
        AlignControls();
    }
}

// Takes the bounds the window really has (the system may have adjusted them).
void TWinControl::UpdateBoundsFromWindow() {
    if (!FHandle || IsIconic(FHandle)) return;
    RECT r = HwndWindowRect(FHandle);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    const bool resized = r.right - r.left != Width() || r.bottom - r.top != Height();
    ChangeBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    if (resized) AlignControls();
}

RECT TWinControl::Frame() const {
    TCreateParams p;
    const_cast<TWinControl*>(this)->FilteredCreateParams(p);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, p.Style & ~WS_VISIBLE, FALSE, p.ExStyle);
    return frame;
}

TRect TWinControl::ClientRect() const {
    if (FHandle) return TRect::FromRECT(HwndClientRect(FHandle));
    const RECT frame = Frame();
    return Rect(0, 0, std::max(0, Width() - int(frame.right - frame.left)), std::max(0, Height() - int(frame.bottom - frame.top)));
}

// Before the window exists the origin follows from the bounds and the frame it will get.
TPoint TWinControl::ClientOrigin() const {
    if (FHandle) {
        POINT p{0, 0};
        ::ClientToScreen(FHandle, &p);
        return {p.x, p.y};
    }
    TPoint p = TControl::ClientOrigin();
    const RECT frame = Frame();
    return {p.X - frame.left, p.Y - frame.top};
}

void TWinControl::SetClientSize(int width, int height) {
    TRect c = ClientRect();
    SetBounds(Left(), Top(), Width() - c.Width() + width, Height() - c.Height() + height);
}

void TWinControl::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    if (FHandle) ShowWindow(FHandle, value ? SW_SHOWNOACTIVATE : SW_HIDE);
    else if (value && Parent() && Parent()->HandleAllocated()) CreateHandle();
    RequestAlign();
}

void TWinControl::SetEnabled(bool value) {
    if (value == Enabled()) return;
    TControl::SetEnabled(value);
    if (FHandle) EnableWindow(FHandle, value);
}

void TWinControl::SetText(const std::string& value) {
    if (value == FText) return;
    FText = value;
    if (FHandle) SetWindowTextW(FHandle, Wide(value).c_str());
    TextChanged();
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}


void TWinControl::SetFocus() {
    TForm* form = ParentForm();
    if (form && form != static_cast<TControl*>(this) && !IsWindowVisible(form->Handle())) {
        form->FocusChanged(this);
        return;
    }
    ::SetFocus(Handle());
}

// Each event is fired after the list has taken the change, so that a handler that moves the
// focus on (or frees a control) finds it as it is; a walk stops once the focus has moved.
void TWinControl::FocusLeaving(HWND next) {
    TWinControl* target = nullptr;
    for (HWND h = next; h && !target; h = GetParent(h)) target = FromHandle(h);
    const std::vector<TWinControl*> keep = FocusChain(target);
    auto depth = [](const TControl* c) {
        int n = 0;
        for (; c; c = c->Parent()) ++n;
        return n;
    };
    const HWND focus = GetFocus();
    HWND saved = std::exchange(gFocusTarget, next);
    try {
        for (;;) {
            auto leaving = gEntered.end();
            for (auto it = gEntered.begin(); it != gEntered.end(); ++it)
                if (!Holds(keep, *it) && (leaving == gEntered.end() || depth(*it) > depth(*leaving))) leaving = it;
            if (leaving == gEntered.end()) break;
            TWinControl* c = *leaving;
            gEntered.erase(leaving);
            if (TNotifyEvent h = c->OnExit) h(c);
            if (GetFocus() != focus) break;
        }
    } catch (...) {
        gFocusTarget = saved;
        throw;
    }
    gFocusTarget = saved;
}

void TWinControl::FocusArrived() {
    if (Destroying()) return;   // its parent gets the focus while it goes
    const HWND focus = GetFocus();
    const std::vector<TWinControl*> chain = FocusChain(this);
    TFreeWatch watch;
    for (TWinControl* c : chain) watch.Watch(c);
    FocusLeaving(FHandle);   // what stayed entered outside this control's chain
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (watch.Gone(this) || GetFocus() != focus) return;
        TWinControl* c = *it;
        if (watch.Gone(c) || Holds(gEntered, c)) continue;
        gEntered.push_back(c);
        if (TNotifyEvent h = c->OnEnter) h(c);
    }
}

bool TWinControl::Focused() const {
    HWND focus = gFocusTarget ? gFocusTarget : GetFocus();
    return FHandle && focus && (focus == FHandle || IsChild(FHandle, focus));
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetParentBackground(bool value) {
    SetParentValue(pvBackground, value);
    if (!value) Invalidate();
}

void TWinControl::EraseBackground(HDC dc) {
    if (ParentBackground() && Parent()) {   // the parent's face, as it lies behind this control
        const int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
        Parent()->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        RestoreDC(dc, saved);
        return;
    }
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(FColor)));
    RECT r = ClientRect().ToRECT();
    ::FillRect(dc, &r, brush.Get());
}

void TWinControl::PaintWindow(HDC dc) { PaintControls(dc); }

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        g->FCanvas.SetHandle(dc);
        try {
            g->Paint();
        } catch (...) {
            g->FCanvas.SetHandle(nullptr);
            RestoreDC(dc, saved);
            throw;
        }
        g->FCanvas.SetHandle(nullptr);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, ClientWidth(), ClientHeight());
    EraseBackground(dc);
    PaintWindow(dc);
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
    RestoreDC(dc, saved);
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
    TForm* form = ParentForm();
    if (form && form != static_cast<TControl*>(this) && form->KeyPreview()) {
        static_cast<TWinControl*>(form)->KeyDown(key, shift);
        if (key == 0) return true;
    }
    KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
    TForm* form = ParentForm();
    if (form && form != static_cast<TControl*>(this) && form->KeyPreview()) {
        static_cast<TWinControl*>(form)->KeyPress(key);
        if (key == 0) return true;
    }
    KeyPress(key);
    return key == 0;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
    if (TKeyEvent h = OnKeyDown) h(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
    if (TKeyEvent h = OnKeyUp) h(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
    if (TKeyPressEvent h = OnKeyPress) h(this, Key);
}

// Mouse messages of the client area go to the windowless child under the mouse (or the
// one holding the button down), else to this control. Enter and leave are tracked here.
void TWinControl::RouteMouse(TMessage& m) {
    if (DragMouseMessage(this, m)) {
        m.Handled = true;
        return;
    }
    const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (m.Msg == WM_MOUSEMOVE) {
        // Holding the capture, the control gets the moves outside it too: they leave it.
        const bool over = ClientRect().Contains(p);
        if (over && !FTrackingLeave) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
            FTrackingLeave = TrackMouseEvent(&t);
        }
        if (over && !MouseInside()) Perform(CM_MOUSEENTER);
        TControl* hover = over ? ControlAtPos(p) : nullptr;
        if (hover != FMouseControl) {
            if (FMouseControl) FMouseControl->Perform(CM_MOUSELEAVE);
            FMouseControl = hover;
            if (hover) hover->Perform(CM_MOUSEENTER);
        }
        if (!over && MouseInside()) Perform(CM_MOUSELEAVE);
    }
    TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
    if (!target) {
        TControl::WndProc(m);
        return;
    }
    const bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
                      m.Msg == WM_LBUTTONDBLCLK;
    const bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
    if (down) {
        FCaptureControl = target;
        SetCapture(FHandle);
    } else if (up) {
        FCaptureControl = nullptr;
        ReleaseCapture();
    }
    target->Perform(m.Msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()));
    m.Handled = m.Msg != WM_MOUSEWHEEL;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        RouteMouse(m);
        return;
    case WM_MOUSELEAVE:
        FTrackingLeave = false;
        if (FMouseControl) std::exchange(FMouseControl, nullptr)->Perform(CM_MOUSELEAVE);
        if (MouseInside()) Perform(CM_MOUSELEAVE);
        return;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(m.WParam);
        TShiftState shift = KeyboardShiftState();
        m.Handled = DoKeyDown(key, shift);
        m.WParam = key;
        return;
    }
    case WM_KEYUP: case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyUp(key, KeyboardShiftState());
        m.Handled = key == 0;
        return;
    }
    case WM_CHAR: {
        wchar_t key = static_cast<wchar_t>(m.WParam);
        m.Handled = DoKeyPress(key);
        m.WParam = key;
        return;
    }
    case WM_SETFOCUS:
        if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this)) form->FocusChanged(this);
        FocusArrived();
        return;
    case WM_KILLFOCUS: {
        // OnExit already sees the next control as focused and as the form's ActiveControl.
        HWND next = reinterpret_cast<HWND>(m.WParam);
        TWinControl* target = nullptr;
        for (HWND h = next; h && !target; h = GetParent(h)) target = FromHandle(h);
        TForm* form = ParentForm();
        if (form && target && target != form && target->ParentForm() == form) form->FocusChanged(target);
        FocusLeaving(next);
        return;
    }
    case WM_SIZE: case WM_MOVE:
        UpdateBoundsFromWindow();
        return;
    case WM_GETMINMAXINFO:   // the user's sizing keeps to the constraints too
        if (!Constraints().Empty()) {
            auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
            const TSizeConstraints& k = Constraints();
            // A limit beyond the system's own tracking size moves that one too, so that the
            // system's minimum never exceeds a maximum set here, nor its maximum a minimum.
            auto limit = [](LONG& min, LONG& max, LONG& maxSize, int kMin, int kMax) {
                if (kMin) {
                    min = kMin;
                    max = std::max(max, LONG(kMin));
                }
                if (kMax) {
                    max = maxSize = kMax;
                    min = std::min(min, LONG(kMax));
                }
            };
            limit(info->ptMinTrackSize.x, info->ptMaxTrackSize.x, info->ptMaxSize.x, k.MinWidth(), k.MaxWidth());
            limit(info->ptMinTrackSize.y, info->ptMaxTrackSize.y, info->ptMaxSize.y, k.MinHeight(), k.MaxHeight());
            m.Handled = true;
        }
        return;
    case WM_CAPTURECHANGED:
        DragCaptureChanged(FHandle, reinterpret_cast<HWND>(m.LParam));
        if (reinterpret_cast<HWND>(m.LParam) == FHandle) return;   // the capture stays here
        if (TControl* c = std::exchange(FCaptureControl, nullptr)) c->Perform(WM_CAPTURECHANGED, m.WParam, m.LParam);
        TControl::WndProc(m);
        return;
    case CM_FOCUSCHANGED:
        for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_FOCUSCHANGED, m.WParam, m.LParam);
        m.Handled = true;
        return;
    case WM_ERASEBKGND:
        if (FSubclassed) return;
        if (!FDoubleBuffered) EraseBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        m.Handled = true;
        return;
    case WM_PAINT:
        if (FSubclassed) return;
        if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {   // paint into the caller's DC, whole face
            EraseBackground(dc);
            PaintWindow(dc);
        } else {
            PaintDC ps(FHandle);
            if (FDoubleBuffered) {
                TRect r = ClientRect();
                TBitmap buffer(std::max(r.Width(), 1), std::max(r.Height(), 1));
                HDC dc = buffer.Canvas().Handle();
                EraseBackground(dc);
                PaintWindow(dc);
                BitBlt(ps.Get(), 0, 0, r.Width(), r.Height(), dc, 0, 0, SRCCOPY);
            } else {
                PaintWindow(ps.Get());
            }
        }
        m.Handled = true;
        return;
    case WM_PRINTCLIENT:
        if (FSubclassed) return;
        EraseBackground(reinterpret_cast<HDC>(m.WParam));
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        m.Handled = true;
        return;
    case WM_SETCURSOR:
        if (!FSubclassed && LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle) {
            POINT pt;
            GetCursorPos(&pt);
            ::ScreenToClient(FHandle, &pt);
            TControl* c = ControlAtPos({pt.x, pt.y}, true);
            ::SetCursor(Screen->Cursors((c && c->Cursor() != crDefault) ? c->Cursor() : Cursor()));
            m.Result = TRUE;
            m.Handled = true;
        }
        return;
    case WM_CONTEXTMENU: {
        // At the click (screen coordinates), or from the keyboard (-1, -1) at the client origin.
        const TPoint click{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const bool keyboard = click.X == -1 && click.Y == -1;
        TControl* target = this;
        if (!keyboard)
            if (TControl* c = ControlAtPos(ScreenToClient(click)); c && c->PopupMenu()) target = c;
        TPopupMenu* menu = target->PopupMenu();
        if (menu && menu->AutoPopup()) {
            const TPoint at = keyboard ? target->ClientOrigin() : click;
            menu->SetPopupComponent(target);
            menu->Popup(at.X, at.Y);
            m.Handled = true;
        }
        return;
    }
    case WM_COMMAND: case WM_NOTIFY:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX: {
        HWND from = m.Msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom : reinterpret_cast<HWND>(m.LParam);
        if (TWinControl* child = from && from != FHandle ? FromHandle(from) : nullptr) {
            const UINT cn = m.Msg == WM_COMMAND ? CN_COMMAND : m.Msg == WM_NOTIFY ? CN_NOTIFY : CN_CTLCOLOR;
            m.Result = child->Perform(cn, m.WParam, m.LParam);
            m.Handled = cn != CN_CTLCOLOR || m.Result != 0;   // no colour: the default one
        }
        return;
    }
    default:
        TControl::WndProc(m);
    }
}

// Framework messages (CM_, CN_) never reach the default window procedure; reflected
// notifications nobody handled get the default answer of the original message.
void TWinControl::DefaultHandler(TMessage& m) {
    m.Handled = true;
    if (m.Msg >= CM_MOUSEENTER && m.Msg <= CM_MOUSEENTER + 0xFF) return;
    if (!FHandle) return;
    m.Result = FSubclassed ? DefSubclassProc(FHandle, m.Msg, m.WParam, m.LParam)
                           : DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

//--- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TCustomControl::PaintWindow(HDC dc) {
    FCanvas.SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        throw;
    }
    FCanvas.SetHandle(nullptr);
    PaintControls(dc);
}
