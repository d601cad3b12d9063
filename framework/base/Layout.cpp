#include "framework/base/Layout.h"

#include <algorithm>

namespace {

// One axis: the position and size for a parent grown by `delta`.
void AnchorAxis(int& pos, int& size, int delta, bool nearEdge, bool farEdge) {
    if (nearEdge && farEdge) size = std::max(0, size + delta);
    else if (farEdge) pos += delta;
    else if (!nearEdge) pos += delta / 2;
}

}  // namespace

TPlacement AnchoredPlacement(TPlacement placed, int fromWidth, int fromHeight, TAnchors anchors, int toWidth,
                             int toHeight) {
    AnchorAxis(placed.Left, placed.Width, toWidth - fromWidth, anchors.Contains(akLeft), anchors.Contains(akRight));
    AnchorAxis(placed.Top, placed.Height, toHeight - fromHeight, anchors.Contains(akTop), anchors.Contains(akBottom));
    return placed;
}

int TSizeConstraints::Clamp(int value, int min, int max) {
    if (max > 0 && value > max) value = max;
    if (min > 0 && value < min) value = min;
    return value;
}

void TSizeConstraints::SetLimit(int& field, int& other, int value, bool isMin) {
    if (value < 0) throw EConstraintError("A size constraint cannot be negative (" + std::to_string(value) + ")");
    if (value == field) return;
    field = value;
    if (value > 0 && other > 0 && (isMin ? value > other : value < other)) other = value;
    if (OnChange) OnChange();
}
