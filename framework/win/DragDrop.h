#pragma once
// The drag manager: one drag at a time, of a source control over the controls under the
// mouse. The drag keeps the mouse capture the source had (a windowless source captures
// through its parent), so every mouse message of the drag comes through the capture
// window's RouteMouse, which hands it here. A plain drag asks each control it passes over
// (DragOver: enter, move, leave) whether it accepts the source and shows the source's
// DragCursor there, crNoDrop elsewhere; the left release drops on the control that
// accepted (DragDrop), and the source hears the end with that target (DoEndDrag), or with
// none after Esc, the right button, a lost capture or a drop nowhere. A dock drag moves
// an outline of the control; the drop puts the control into the DockSite under the mouse
// or, with none there, into a small floating tool window. TControl's drag members
// (BeginDrag, EndDrag, Dragging, DragOver...) are defined in DragDrop.cpp.

#include "framework/win/Controls.h"

// Hooks of the control code (WinControl.cpp, Controls.cpp).
// A mouse message of `window` while a drag holds its capture: true when the drag used it.
bool DragMouseMessage(TWinControl* window, TMessage& message);
// The capture moved from `window` to `next`: a drag that held it is cancelled.
void DragCaptureChanged(HWND window, HWND next);
// A control is going: a drag of it ends without events, a drag over it forgets it.
void DragControlGone(TControl* control);

// The floating tool window of an undocked control: the control fills its client area, and
// it goes (after the current message) when the control docks elsewhere or is freed.
bool IsDockFloatHost(const TWinControl* control);
