#pragma once
// The default caption-button glyphs, arrows and check mark of the skinned controls, and
// DrawGlyphFrame, which draws one glyph of a strip of equal glyphs with the bottom-left
// colour transparent. Colours are framework colours (0x00BBGGRR).

#include "skin/core/SkCanvas.h"

// Glyph n (from 1) of k side by side in strip; nothing for an empty strip or an n outside 1..k.
void DrawGlyphFrame(TSkCanvas& canvas, int x, int y, int n, int k, const TSkBitmap& strip);

enum class TArrowKind { akLeft = 1, akRight = 2, akUp = 3, akDown = 4 };
void DrawArrowImage(TSkCanvas& canvas, const TRect& rect, int color, TArrowKind kind);
void DrawCheckImage(TSkCanvas& canvas, int x, int y, int color);

void DrawCloseGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawSysMenuGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawMinimizeGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawMaximizeGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawRestoreGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawRollUpGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawRollDownGlyph(TSkCanvas& canvas, int x, int y, int color);
void DrawTrayGlyph(TSkCanvas& canvas, int x, int y, int color);
