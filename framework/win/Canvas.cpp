#include "framework/win/Canvas.h"

#include "framework/win/Bitmap.h"
#include "framework/win/Icon.h"
#include "framework/win/WinUtil.h"

TCanvas::TCanvas() {
    // A changed tool recreates its handle; the old one must not stay selected.
    auto deselect = [this](TObject*) { Deselect(); };
    FFont.OnChange = deselect;
    FPen.OnChange = deselect;
    FBrush.OnChange = deselect;
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    Deselect();
    FHandle = dc;
}

// Puts the DC's own objects back (saved the first time ours went in).
void TCanvas::Deselect() {
    if (!FHandle) return;
    if (FOldFont) SelectObject(FHandle, FOldFont);
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    FOldFont = FOldPen = FOldBrush = nullptr;
}

HDC TCanvas::Need() const {
    if (!FHandle) throw Exception("Canvas does not allow drawing");
    return FHandle;
}

void TCanvas::Prepare(unsigned what) {
    HDC dc = Need();
    if (what & kFont) {
        HGDIOBJ old = SelectObject(dc, FFont.Handle());
        if (!FOldFont) FOldFont = old;
        SetTextColor(dc, ColorToRGB(FFont.Color()));
    }
    if (what & kPen) {
        HGDIOBJ old = SelectObject(dc, FPen.Handle());
        if (!FOldPen) FOldPen = old;
    }
    if (what & kBrush) {
        HGDIOBJ brush = FBrush.Style() == bsClear ? GetStockObject(NULL_BRUSH) : FBrush.Handle();
        HGDIOBJ old = SelectObject(dc, brush);
        if (!FOldBrush) FOldBrush = old;
        SetBkColor(dc, ColorToRGB(FBrush.Color()));
        SetBkMode(dc, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
}

TRect TCanvas::ClipRect() const {
    RECT r{};
    GetClipBox(Need(), &r);
    return TRect::FromRECT(r);
}

void TCanvas::FillRect(const TRect& r) {
    Prepare(kBrush);
    if (FBrush.Style() == bsClear) return;
    RECT rc = r.ToRECT();
    ::FillRect(FHandle, &rc, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& r) {
    Prepare(kBrush);
    if (FBrush.Style() == bsClear) return;
    RECT rc = r.ToRECT();
    ::FrameRect(FHandle, &rc, FBrush.Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Prepare(kPen | kBrush);
    ::Rectangle(FHandle, x1, y1, x2, y2);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Prepare(kPen | kBrush);
    ::Ellipse(FHandle, x1, y1, x2, y2);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    Prepare(kPen | kBrush);
    std::vector<POINT> p;
    for (auto& t : points) p.push_back(POINT{t.X, t.Y});
    ::Polygon(FHandle, p.data(), static_cast<int>(p.size()));
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    Prepare(kPen);
    std::vector<POINT> p;
    for (auto& t : points) p.push_back(POINT{t.X, t.Y});
    ::Polyline(FHandle, p.data(), static_cast<int>(p.size()));
}

void TCanvas::MoveTo(int x, int y) {
    MoveToEx(Need(), x, y, nullptr);
    FPenPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    Prepare(kPen);
    ::LineTo(FHandle, x, y);
    FPenPos = {x, y};
}

TColor TCanvas::Pixel(int x, int y) const { return static_cast<TColor>(GetPixel(Need(), x, y)); }

void TCanvas::SetPixel(int x, int y, TColor color) { SetPixelV(Need(), x, y, ColorToRGB(color)); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Prepare(kFont | kBrush);
    std::wstring w = Wide(text);
    ExtTextOutW(FHandle, x, y, 0, nullptr, w.c_str(), static_cast<UINT>(w.size()), nullptr);
    FPenPos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    Prepare(kFont | kBrush);
    std::wstring w = Wide(text);
    RECT rc = r.ToRECT();
    UINT options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0 : ETO_OPAQUE);
    ExtTextOutW(FHandle, x, y, options, &rc, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::DrawText(const std::string& text, TRect& r, UINT flags) {
    Prepare(kFont | kBrush);
    std::wstring w = Wide(text);
    RECT rc = r.ToRECT();
    int height = DrawTextW(FHandle, w.c_str(), static_cast<int>(w.size()), &rc, flags);
    if (flags & DT_CALCRECT) r = TRect::FromRECT(rc);
    return height;
}

SIZE TCanvas::TextExtent(const std::string& text) {
    Prepare(kFont);
    std::wstring w = Wide(text);
    SIZE size{};
    GetTextExtentPoint32W(FHandle, w.c_str(), static_cast<int>(w.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::Draw(int x, int y, TIcon& icon) {
    if (icon.Empty()) return;
    DrawIconEx(Need(), x, y, icon.Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    HDC src = bitmap.Canvas().Handle();
    HDC dst = Need();
    if (bitmap.Transparent()) {
        TransparentBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, bitmap.Width(), bitmap.Height(),
                       ColorToRGB(bitmap.TransparentColor()));
    } else {
        SetStretchBltMode(dst, COLORONCOLOR);
        StretchBlt(dst, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, bitmap.Width(), bitmap.Height(), SRCCOPY);
    }
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
    SetStretchBltMode(Need(), COLORONCOLOR);
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Need(), src.Left, src.Top,
               src.Width(), src.Height(), SRCCOPY);
}

void TCanvas::Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width) {
    HDC dc = Need();
    GdiObject<HBRUSH> tl(CreateSolidBrush(ColorToRGB(topLeft)));
    GdiObject<HBRUSH> br(CreateSolidBrush(ColorToRGB(bottomRight)));
    for (int i = 0; i < width; ++i) {
        RECT top{r.Left, r.Top, r.Right - 1, r.Top + 1}, left{r.Left, r.Top, r.Left + 1, r.Bottom - 1};
        RECT bottom{r.Left, r.Bottom - 1, r.Right, r.Bottom}, right{r.Right - 1, r.Top, r.Right, r.Bottom};
        ::FillRect(dc, &top, tl.Get());
        ::FillRect(dc, &left, tl.Get());
        ::FillRect(dc, &bottom, br.Get());
        ::FillRect(dc, &right, br.Get());
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}
