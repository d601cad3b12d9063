#pragma once
// TCanvas: drawing on a device context it borrows (a window's paint DC, a bitmap's
// memory DC). It owns its Font, Pen and Brush and selects them before each operation;
// SetHandle(nullptr) puts the DC's own objects back. Text is UTF-8, drawn with the W calls.

#include <string>
#include <vector>

#include "framework/win/Graphics.h"

class TBitmap;
class TIcon;

class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;

    HDC Handle() const { return FHandle; }
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont& Font() { return FFont; }
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    TPoint PenPos() const { return FPenPos; }
    TRect ClipRect() const;

    void FillRect(const TRect& r);                 // with the brush
    void FrameRect(const TRect& r);                // one-pixel frame in the brush colour
    void Rectangle(int x1, int y1, int x2, int y2);   // pen outline, brush inside
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    void TextOut(int x, int y, const std::string& text);   // brush colour behind unless bsClear
    void TextRect(const TRect& r, int x, int y, const std::string& text);   // clipped to r
    // DrawTextW with DT_ flags; returns the text height. DT_CALCRECT updates r.
    int DrawText(const std::string& text, TRect& r, UINT flags);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }

    void Draw(int x, int y, TBitmap& bitmap);   // honours the bitmap's transparent colour
    void Draw(int x, int y, TIcon& icon);
    void StretchDraw(const TRect& r, TBitmap& bitmap);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
    // Two-colour bevel of `width` pixels: top and left in topLeft, bottom and right in bottomRight;
    // r shrinks by the width.
    void Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width);

private:
    enum : unsigned { kFont = 1, kPen = 2, kBrush = 4 };
    void Prepare(unsigned what);
    void Deselect();
    HDC Need() const;

    HDC FHandle = nullptr;
    HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
};
