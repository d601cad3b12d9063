#include "organizer/win/NumLED.h"

#include <vector>

#include "framework/win/Bitmap.h"

TNumLED::TNumLED(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 47, 38);
    FText = "00";
    SetAutoSize(true);
}

void TNumLED::SetMetric(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TNumLED::SetColour(TColor& field, TColor value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TNumLED::Changed()
{
    AdjustSize();
    Invalidate();
}

void TNumLED::SetWordWidth(int value)
{
    if (value != FMetrics.WordWidth && FMetrics.SetWordWidth(value))
        Changed();
}

void TNumLED::SetWordHeight(int value)
{
    const int old = FMetrics.WordHeight;
    if (FMetrics.SetWordHeight(value) && FMetrics.WordHeight != old)
        Changed();
}

void TNumLED::SetThick(int value)
{
    if (value != FMetrics.Thick && FMetrics.SetThick(value))
        Changed();
}

void TNumLED::SetText(const std::string& value)
{
    if (value == FText)
        return;
    FText = value;
    AdjustSize();
    Repaint();
}

bool TNumLED::CanAutoSize(int& NewWidth, int& NewHeight)
{
    const TPoint size = FMetrics.AutoSize(FText.size());
    NewWidth = size.X;
    NewHeight = size.Y;
    return true;
}

// Drawn into a bitmap first so that a changing digit never flickers.
void TNumLED::Paint()
{
    if (!Visible() || Width() <= 0 || Height() <= 0)
        return;
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas& c = image.Canvas();
    c.Brush().SetColor(FBGColor);
    c.FillRect(Rect(0, 0, Width(), Height()));
    auto fill = [&c](const TLedSegment& segment, TColor colour) {
        c.Brush().SetColor(colour);
        c.Pen().SetColor(colour);
        c.Polygon(std::vector<TPoint>(segment.begin(), segment.end()));
    };
    for (std::size_t i = 0; i < FText.size(); ++i) {
        const auto segments = LedCellSegments(FMetrics.CellLeft(static_cast<int>(i)), FMetrics.OffsetY,
                                              FMetrics.WordWidth, FMetrics.WordHeight, FMetrics.Thick);
        if (FDarkColor != FBGColor)
            for (const TLedSegment& s : segments)
                fill(s, FDarkColor);
        const char* lit = LedLitSegments(FText[i]);
        if (lit && FLightColor != FBGColor)
            for (const char* p = lit; *p; ++p)
                fill(segments[*p - '0'], FLightColor);
    }
    BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), c.Handle(), 0, 0, SRCCOPY);
}
