#pragma once
// Geometry and looks of the skinned controls that do not need a window: the resize mode
// of a control record, the corner points and client rectangle for a new size, skin
// sub-rectangles moved to that size, the composed picture, and the button's choice of
// picture, font colour, glyph and the placing of its glyph and caption.

#include "skin/core/SkBitmap.h"
#include "skin/core/SkCompose.h"

// -1 no geometry, 0 fixed, 1 free both ways, 2 free in width, 3 free in height.
int SkinResizeMode(const TRect& skinRect, const TSkinFrame& frame);

struct TSkinControlSize {
    int Width = 0;
    int Height = 0;
    TSkinFrame NewFrame;
};
// The size the mode allows for the asked one and the frame of that size.
TSkinControlSize CalcSkinControlSize(int mode, const TRect& skinRect, const TSkinFrame& frame, int width, int height);

// Rectangle r of the skin (relative to the skin rectangle) at the control's present size.
TRect MapSkinSubRect(int mode, const TRect& skinRect, const TSkinFrame& frame, int width, int height, const TRect& r);

// The control's picture of width x height from sourceRect of source; empty for a size below
// one pixel. Smaller than the corners, the corners are clipped and nothing is mirrored.
TSkBitmap ComposeSkinControlPicture(int mode, const TSkBitmap& source, const TRect& sourceRect,
                                    const TSkinFrame& frame, const TSkinFrame& newFrame, int width, int height);

enum class TSkButtonLook { Normal, Active, Down, Disabled };

struct TSkButtonStateInput {
    bool Enabled = true;
    bool Down = false;
    bool InGroup = false;
    bool Hovered = false;
    bool Focused = false;
    bool MousePressed = false;
    bool HasDisabledRect = false;
    bool MorphedIn = false;   // morphing on and its factor at 1
    bool MorphedOut = false;  // a morph in progress and its factor at 0
};
TSkButtonLook ChooseButtonLook(const TSkButtonStateInput& s);

// One step of a skinned button's morph: 0.2 toward 1 while it is hovered or focused,
// toward 0 otherwise, kept within 0..1.
double ButtonMorphStep(double factor, bool towardActive);
// Whether a factor lies strictly between the two looks (both are drawn and blended).
inline bool ButtonMorphBlends(double factor) { return factor > 0 && factor < 1; }

struct TSkButtonFontColors {
    int Normal = 0, Active = 0, Down = 0, Disabled = 0;
};
int ButtonFontColor(const TSkButtonFontColors& c, bool enabled, bool active, bool down);
// 1-based glyph of a strip of count glyphs.
int ButtonGlyphNumber(int count, bool enabled, bool hovered, bool down);

enum class TskButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TSkContentPlace {
    TPoint Glyph;
    TPoint Text;
};
// Glyph gw x gh and text tw x th in r; margin -1 centres the content; pressed shifts by 1,1.
TSkContentPlace PlaceGlyphAndCaption(const TRect& r, TskButtonLayout layout, int margin, int spacing, int gw, int gh,
                                     int tw, int th, bool pressed);
