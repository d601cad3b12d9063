#pragma once
// GDI+ helpers for the PNG image control: the process's GDI+ start-up, the mapping of a
// font style set to one GDI+ style, the caption drawing the control shares with its own
// paint, DrawPNGImage, which draws a decoded image rotated about its rectangle's centre
// (how the clock draws each layer), and DrawPNGButton, which draws a control with it.

#include <string>

#include "framework/win/GdiPlus.h"
#include "framework/win/Graphics.h"

class TPNGButton;

// Starts GDI+ once for the process (kept until exit).
void EnsureGdiplus();

// strike-out 8, else underline 4, else bold+italic 3, italic 2, bold 1, else 0.
int FontStyleToGdip(TFontStyles style);

// Draws text in a font's name, point size, style and colour (opaque), anti-aliased.
void DrawGdipCaption(TGpGraphics& graphics, const std::string& caption, TFont& font, const Gdiplus::RectF& layout,
                     Gdiplus::StringAlignment horizontal, Gdiplus::StringAlignment vertical);

// Draws a decoded image into the rectangle, rotated by `rotate` degrees clockwise about
// (left + width div 2, top + height div 2); a failure leaves the world transform reset.
// An empty image draws nothing and reports false.
bool DrawPNGImage(TGpGraphics& graphics, const TGpImage& image, int left, int top, int width, int height,
                  double rotate);

// Draws the control's current image rotated by its Rotate, then its caption unrotated.
// Defined with the control (GDIPlusCommon.cpp).
void DrawPNGButton(TGpGraphics& graphics, TPNGButton& button);
