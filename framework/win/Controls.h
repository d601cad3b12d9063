#pragma once
// The control hierarchy. TControl: bounds, Align, Visible, Enabled, Color, Font, Cursor,
// Hint, PopupMenu, mouse events. TWinControl: a window made on demand from CreateParams,
// children, focus, and WindowProc, a replaceable message handler (the default is the
// virtual WndProc; a hook keeps the old value and calls it before, after or not at all).
// TCustomControl paints itself on a Canvas (double buffered if asked); TGraphicControl
// has no window and is painted and fed mouse messages by its parent.
// A message falls through to the default window procedure unless a handler sets Handled;
// a hook that post-processes runs the old WindowProc, then CallDefault, then its own work.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/base/ActnList.h"
#include "framework/base/Component.h"
#include "framework/base/Set.h"
#include "framework/win/Canvas.h"
#include "framework/win/Graphics.h"

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
    bool Handled = false;
};
using TWndMethod = std::function<void(TMessage& Message)>;

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TCursor { crDefault, crArrow, crIBeam, crCross, crHandPoint, crSizeAll, crSizeNS, crSizeWE, crHourGlass, crNo,
               crDrag, crNoDrop, crMultiDrag };
// The cursor for a TCursor (shared; never destroy it). crDrag is an arrow carrying a page,
// crMultiDrag (the copy cursor) one carrying two.
HCURSOR CursorHandle(TCursor cursor);

// csCaptureMouse: a press on the control captures the mouse until the release (windowless
// controls always get it); csAcceptsControls: other controls may be placed on it.
enum TControlStyleFlag { csCaptureMouse, csAcceptsControls };
using TControlStyle = TSet<TControlStyleFlag>;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// Framework messages sent to controls (beside the Win32 ones). CN_ messages are the
// parent's WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* reflected back to the child they concern.
// CM_DIALOGKEY (WParam: Enter or Escape) and CM_DIALOGCHAR (WParam: the Alt+letter) go to
// every control of a form until one answers non-zero (a Default/Cancel button, an accelerator).
// CM_FOCUSCHANGED (LParam: the control that now has the focus) goes from the form to every
// control on it whenever its ActiveControl changes.
constexpr UINT CM_MOUSEENTER = WM_APP + 0x3F00, CM_MOUSELEAVE = WM_APP + 0x3F01, CM_RELEASE = WM_APP + 0x3F02,
               CM_DIALOGKEY = WM_APP + 0x3F03, CM_DIALOGCHAR = WM_APP + 0x3F04, CM_FOCUSCHANGED = WM_APP + 0x3F05,
               CN_COMMAND = WM_APP + 0x3F10, CN_NOTIFY = WM_APP + 0x3F11, CN_CTLCOLOR = WM_APP + 0x3F12;

// An operation the control's state does not allow (no parent window, modal while visible...).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

TShiftState KeysToShiftState(WPARAM keys);   // MK_ flags of a mouse message
TShiftState KeyboardShiftState();            // from GetKeyState

class TWinControl;
class TPopupMenu;
class TForm;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* value);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientSize(int width, int height) { SetBounds(FLeft, FTop, width, height); }
    void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
    void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont& Font() { return FFont; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }
    virtual void SetText(const std::string& value);

    virtual void Invalidate();
    void Repaint();
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    virtual TPoint ClientOrigin() const;   // screen position of the client's top-left
    TForm* ParentForm();              // the form this control sits on (or is)
    bool MouseInside() const { return FMouseInside; }

    // Sends a message through WindowProc (and the default handler if nobody handled it).
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Runs the default handling of a message (for a window, the default window procedure)
    // now, unless a handler already marked it Handled, and marks it Handled so that it runs
    // once. A WindowProc hook calls the old WindowProc, then this, and then post-processes
    // with the default work done (WM_SETTEXT has stored the text, WM_ACTIVATE has set the
    // focus, WM_NCLBUTTONDOWN has run the move loop).
    void CallDefault(TMessage& Message);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    // Whether this control gets the mouse messages whatever the mouse is over.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);
    // With an Action the control shows its Caption, Enabled, Hint and Visible and follows
    // their changes; Click runs the action unless OnClick is a handler of its own
    // (ActionClick). A freed action leaves the control without one.
    TAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TAction* value);
    TActionLink* ActionLink() const { return Action() ? FActionLink.get() : nullptr; }
    virtual void Click();

    TWndMethod WindowProc;
    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    friend class TWinControl;
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message) { Message.Handled = true; }
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resize();
    virtual void EnabledChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    // Shows the changed properties of the control's action.
    virtual void ActionChange(const TAction& Action, TActionProperties Changed);
    // AutoSize asks here for the size the content needs; return false to keep the size.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight) { (void)NewWidth; (void)NewHeight; return false; }
    void AdjustSize();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    void RequestAlign();

    std::string FText;
    TColor FColor = clBtnFace;
    bool FVisible = true;
    bool FClickEvents = true;   // false: a left press and release is no Click (a system button reports its own)
    TControlStyle FControlStyle;

private:
    void MouseMessage(TMessage& m);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FAutoSize = false;
    bool FEnabled = true;
    TFont FFont;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    TPopupMenu* FPopupMenu = nullptr;
    bool FMouseInside = false;
    bool FClickPending = false;
    std::unique_ptr<TActionLink> FActionLink;
};

// Everything CreateWnd needs, filled by the virtual CreateParams. A window class is
// registered per name and class style: the same name asked with another style gets a
// class of its own.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::wstring WinClassName = L"VorpenControl";   // our own class, registered on first use
    UINT ClassStyle = CS_DBLCLKS;
    std::wstring SubclassOf;   // a system class (L"BUTTON"...) to create and subclass instead
};
// Edits the parameters after the control's CreateParams, for every window it makes
// (RecreateWnd included) and for measuring the frame before it has one.
using TCreateParamsFilter = std::function<void(TCreateParams& Params)>;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    HWND Handle();                     // creates the window when needed
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(index); }
    TControl* ControlAtPos(TPoint p, bool allowDisabled = false) const;   // windowless children only
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void AlignControls();

    // SetFocus on a control of a hidden form only makes it the form's ActiveControl.
    void SetFocus();
    bool Focused() const;   // also while the focus is in a child window (a combo box's edit)
    virtual bool CanFocus() const;
    // Tab moves through the TabStop controls by TabOrder, then those without one in
    // creation order.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value) { FTabStop = value; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value) { FTabOrder = value; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    // The room AlignControls gives aligned children: the client rectangle, less what the
    // control keeps for itself (a frame, a caption).
    virtual void AdjustClientRect(TRect& Rect) const { (void)Rect; }
    TPoint ClientOrigin() const override;   // inside the frame, with or without a window
    void SetClientSize(int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetText(const std::string& value) override;
    void Invalidate() override;
    // Draws the control and its windowless children into dc (used by tests and PrintWindow).
    void PaintTo(HDC dc, int x, int y);
    // Draws only the windowless children into dc (client coordinates).
    void PaintControls(HDC dc);

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;
    // A hook on the creation parameters (a skinned frame keeps WS_CAPTION off and
    // WS_THICKFRAME on): install it before the window exists or call RecreateWnd after.
    // A hook that replaces another keeps the old value and calls it first.
    TCreateParamsFilter CreateParamsFilter;

    // The control that owns a window of ours (own class or subclassed), or nullptr.
    static TWinControl* FromHandle(HWND hwnd);

protected:
    friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK FrameworkSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    friend LRESULT DispatchToControl(TWinControl*, HWND, UINT, WPARAM, LPARAM);

    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    void CreateHandle();
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    // Paints the background, then the windowless children; TCustomControl adds Paint.
    virtual void PaintWindow(HDC dc);
    void EraseBackground(HDC dc);
    void Loaded() override;

    HWND FHandle = nullptr;
    bool FDoubleBuffered = false;
    bool FTabStop = false;
    int FTabOrder = -1;

private:
    friend class TControl;
    void RouteMouse(TMessage& m);
    void FilteredCreateParams(TCreateParams& p);
    void UpdateBoundsFromWindow();
    RECT Frame() const;   // the frame CreateParams gives, around an empty client (left, top <= 0)
    bool DoKeyDown(WORD& key, TShiftState shift);
    bool DoKeyPress(wchar_t& key);

    std::vector<TControl*> FControls;
    TControl* FMouseControl = nullptr;     // windowless child under the mouse
    TControl* FCaptureControl = nullptr;   // windowless child that got the button down
    bool FSubclassed = false;
    bool FTrackingLeave = false;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    TCanvas& Canvas() { return FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    TCanvas FCanvas;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    TCanvas& Canvas() { return FCanvas; }

protected:
    friend class TWinControl;
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};
