#pragma once
// The control hierarchy. TControl: bounds, Align, Anchors, Constraints, Visible, Enabled,
// Color, Font, Cursor, Hint, PopupMenu, mouse events, and the values taken from the
// parent. TWinControl: a window made on demand from CreateParams, children, focus, and
// WindowProc, a replaceable message handler (the default is the virtual WndProc; a hook
// keeps the old value and calls it before, after or not at all).
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
#include "framework/base/Layout.h"
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
// A cursor is a number in the screen's cursor list (Screen->Cursors): the stock cursors
// below (0 and negative) and those a program adds (positive numbers).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22, crSize = crSizeAll;
// The cursor shown for a number (Screen->Cursors; shared, never destroy it): a number with
// no cursor shows the arrow. crDrag is an arrow carrying a page, crMultiDrag (the copy
// cursor) one carrying two.
HCURSOR CursorHandle(TCursor cursor);

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// The values a control can take from its parent (ParentFont, ParentColor...). While its
// flag is set the control takes the parent's value and follows its changes; setting the
// control's own value clears the flag. pvBackground: the control's background shows its
// parent's face.
enum TParentValue { pvFont, pvColor, pvShowHint, pvCtl3D, pvBiDiMode, pvBackground };
using TParentValues = TSet<TParentValue>;

// csCaptureMouse: a press on the control captures the mouse until the release (windowless
// controls always get it); csAcceptsControls: other controls may be placed on it.
enum TControlStyleFlag { csCaptureMouse, csAcceptsControls };
using TControlStyle = TSet<TControlStyleFlag>;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// Drag and drop and docking (DragDrop.h). dmAutomatic: a left press that moves the drag
// threshold starts a drag; dkDock drags the control itself as a dock client. Source and
// Target are the controls; X and Y are client coordinates of Sender (OnDragOver,
// OnDragDrop) or of Target (OnEndDrag, OnEndDock: 0, 0 without a target).
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

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
    // Sizes are clamped to Constraints.
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
    // The parent edges the control keeps its distance to (left and top by default; both
    // sides: it stretches). The distances are those of its last placement by code.
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints& Constraints() { return FConstraints; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont& Font() { return FFont; }   // a change of it clears ParentFont
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }   // kept and inherited; all is drawn left to right
    void SetBiDiMode(TBiDiMode value);
    bool ParentFont() const { return FParentValues.Contains(pvFont); }
    void SetParentFont(bool value) { SetParentValue(pvFont, value); }
    bool ParentColor() const { return FParentValues.Contains(pvColor); }
    void SetParentColor(bool value) { SetParentValue(pvColor, value); }
    bool ParentShowHint() const { return FParentValues.Contains(pvShowHint); }
    void SetParentShowHint(bool value) { SetParentValue(pvShowHint, value); }
    bool ParentCtl3D() const { return FParentValues.Contains(pvCtl3D); }
    void SetParentCtl3D(bool value) { SetParentValue(pvCtl3D, value); }
    bool ParentBiDiMode() const { return FParentValues.Contains(pvBiDiMode); }
    void SetParentBiDiMode(bool value) { SetParentValue(pvBiDiMode, value); }
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

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind value) { FDragKind = value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    // Starts a drag of this control now (Immediate) or once the mouse has moved Threshold
    // pixels (-1: the system's drag distance); EndDrag drops it where the mouse is, or cancels.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;   // from BeginDrag to the end of the drag

    TWndMethod WindowProc;
    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag, OnStartDock;
    TEndDragEvent OnEndDrag, OnEndDock;

protected:
    friend class TWinControl;
    friend class TDragManager;
    // A drag over this control: Accept starts true when OnDragOver is assigned, false
    // otherwise, and OnDragOver decides.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);   // fires OnDragDrop
    virtual void DoStartDrag();                             // the source's OnStartDrag
    virtual void DoEndDrag(TObject* Target, int X, int Y);  // the source's OnEndDrag
    virtual void DoStartDock();
    virtual void DoEndDock(TObject* Target, int X, int Y);
    // BeginDrag from a known mouse position (screen coordinates).
    void BeginDragAt(TPoint screen, bool Immediate, int Threshold = -1);
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
    virtual void ColorChanged() { Invalidate(); }
    virtual void Ctl3DChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    // Shows the changed properties of the control's action.
    virtual void ActionChange(const TAction& Action, TActionProperties Changed);
    // AutoSize asks here for the size the content needs; return false to keep the size.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight) { (void)NewWidth; (void)NewHeight; return false; }
    void AdjustSize();
    // Sets the flag of a parent value; set, the value is taken from the parent at once.
    void SetParentValue(TParentValue which, bool value);
    // Stores the bounds (no constraints applied; a window's own are already final).
    void ChangeBounds(int ALeft, int ATop, int AWidth, int AHeight);
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
    // The one place parent values flow: takes `which` from the parent when its flag is set.
    void TakeParentValue(TParentValue which);
    // After a change of `which` here: the children whose flag is set follow.
    void HandOnValue(TParentValue which);
    void OwnValue(TParentValue which);   // a value set here (not inherited) clears its flag
    void PlaceAnchored();                // by the anchors, for the parent's present size
    void Place(TPlacement placed);       // placed by code: the anchors keep its distances
    void RecordPlacement();              // the parent's size that goes with the placement

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints;
    TPlacement FPlaced;                     // bounds of the last placement by code
    int FPlacedParentWidth = -1, FPlacedParentHeight = -1;   // -1: not recorded yet
    TParentValues FParentValues{pvFont, pvColor, pvShowHint, pvCtl3D, pvBiDiMode};
    bool FInheriting = false;
    bool FCtl3D = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FAutoSize = false;
    bool FEnabled = true;
    TFont FFont;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    TPopupMenu* FPopupMenu = nullptr;
    bool FMouseInside = false;
    bool FClickPending = false;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
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
    // Set, the background shows the parent's face instead of Color (for controls that
    // paint no background of their own).
    bool ParentBackground() const { return FParentValues.Contains(pvBackground); }
    void SetParentBackground(bool value);
    // A dock site takes the dock clients dropped on it (DragKind dkDock).
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool value) { FDockSite = value; }

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
    // The focus came to this control: OnEnter for it and each container it sits in (below
    // its top-level window) that the focus was not in yet, outermost first.
    void FocusArrived();
    // The focus is leaving for `next` (any window, or none): OnExit, innermost first, for
    // every entered control that does not hold `next`.
    static void FocusLeaving(HWND next);
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
    friend class TDragManager;
    void RouteMouse(TMessage& m);
    void FilteredCreateParams(TCreateParams& p);
    void UpdateBoundsFromWindow();
    RECT Frame() const;   // the frame CreateParams gives, around an empty client (left, top <= 0)
    bool DoKeyDown(WORD& key, TShiftState shift);
    bool DoKeyPress(wchar_t& key);

    std::vector<TControl*> FControls;
    bool FAligning = false;                // AlignControls places the children
    TControl* FMouseControl = nullptr;     // windowless child under the mouse
    TControl* FCaptureControl = nullptr;   // windowless child that got the button down
    bool FSubclassed = false;
    bool FTrackingLeave = false;
    bool FDockSite = false;
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
