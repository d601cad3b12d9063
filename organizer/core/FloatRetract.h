#pragma once
// Edge retraction of the floating windows, as geometry: a window left within 20 pixels of
// the top or right screen edge slides out of sight but for a thin strip, and comes back
// while the mouse is over it. Only the top and right edges of the primary screen count.

struct TFloatBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TFloatBounds&) const = default;
};

constexpr int kDockTopLine = 3;     // a top at or above this line is docked at the top
constexpr int kSnapDistance = 20;   // how near an edge a window retracts
constexpr int kTopStrip = 3;        // pixels left on screen at the top edge
constexpr int kRightStrip = 4;      // pixels left on screen at the right edge

// Docked at the top or at the right edge (possibly retracted).
bool IsDocked(const TFloatBounds& b, int screenWidth);
// Where a docked window comes back to while the mouse is over it: a top-docked window to
// top 0 with its left kept, a right-docked one fully inside the right edge with its top
// kept. A window not docked stays where it is.
TFloatBounds RevealBounds(const TFloatBounds& b, int screenWidth);
// One retract step: within 20 pixels of the top, up to a 3-pixel strip (pulled inside the
// right edge when it sticks out); else within 20 pixels of the right edge, right to a
// 4-pixel strip; else unchanged. The top edge wins.
TFloatBounds RetractBounds(const TFloatBounds& b, int screenWidth);
