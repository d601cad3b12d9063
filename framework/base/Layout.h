#pragma once
// Placement rules of controls, as plain arithmetic: anchors (the edges of its parent a
// control keeps its distance to as the parent is resized) and size constraints.

#include <functional>

#include "framework/base/Set.h"
#include "framework/rtl/SysUtils.h"

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

struct TPlacement {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TPlacement&) const = default;
};

// Where a control anchored by `anchors` goes when its parent's client area changes from
// (fromWidth, fromHeight), the size it had when the control was placed at `placed`, to
// (toWidth, toHeight). Anchored to the far edge the control keeps its distance to it;
// anchored to both edges it stretches (never below 0); anchored to neither it keeps its
// centre's distance to the parent's centre.
TPlacement AnchoredPlacement(TPlacement placed, int fromWidth, int fromHeight, TAnchors anchors, int toWidth,
                             int toHeight);

// A size limit that cannot hold (a negative constraint).
class EConstraintError : public Exception {
public:
    using Exception::Exception;
};

// MinWidth, MinHeight, MaxWidth, MaxHeight of a control; 0 = no limit. A maximum set
// below the minimum lowers the minimum to it, a minimum above the maximum raises the
// maximum. OnChange runs after each change.
class TSizeConstraints {
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value) { SetLimit(FMinWidth, FMaxWidth, value, true); }
    void SetMinHeight(int value) { SetLimit(FMinHeight, FMaxHeight, value, true); }
    void SetMaxWidth(int value) { SetLimit(FMaxWidth, FMinWidth, value, false); }
    void SetMaxHeight(int value) { SetLimit(FMaxHeight, FMinHeight, value, false); }
    bool Empty() const { return !FMinWidth && !FMinHeight && !FMaxWidth && !FMaxHeight; }

    int ConstrainWidth(int width) const { return Clamp(width, FMinWidth, FMaxWidth); }
    int ConstrainHeight(int height) const { return Clamp(height, FMinHeight, FMaxHeight); }

    std::function<void()> OnChange;

private:
    static int Clamp(int value, int min, int max);
    void SetLimit(int& field, int& other, int value, bool isMin);

    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};
