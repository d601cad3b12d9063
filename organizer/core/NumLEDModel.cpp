#include "organizer/core/NumLEDModel.h"

const char* LedLitSegments(char c)
{
    static const char* const digits[10] = {"012345", "12",    "01643", "01623",   "5612",
                                           "05623",  "054326", "012",  "0123456", "650123"};
    if (c >= '0' && c <= '9')
        return digits[c - '0'];
    if (c == '-')
        return "6";
    return nullptr;
}

std::array<TLedSegment, 7> LedCellSegments(int x0, int y0, int W, int H, int T)
{
    const int M = y0 + (H - 1) / 2;
    const int N = y0 + (H + 1) / 2;
    // Four corners, the last repeated to make six points.
    auto quad = [](TPoint a, TPoint b, TPoint c, TPoint d) { return TLedSegment{a, b, c, d, d, d}; };
    std::array<TLedSegment, 7> s;
    s[0] = quad({x0 + 2, y0}, {x0 + T + 1, y0 + T - 1}, {x0 + W - T - 2, y0 + T - 1}, {x0 + W - 3, y0});
    s[1] = quad({x0 + W - 1, y0 + 1}, {x0 + W - T, y0 + T}, {x0 + W - T, M - T}, {x0 + W - 1, M - 1});
    s[2] = quad({x0 + W - 1, M + 1}, {x0 + W - T, M + T}, {x0 + W - T, y0 + H - T - 1}, {x0 + W - 1, y0 + H - 2});
    s[3] = quad({x0 + W - 3, y0 + H - 1}, {x0 + W - T - 2, y0 + H - T}, {x0 + T + 1, y0 + H - T}, {x0 + 2, y0 + H - 1});
    s[4] = quad({x0, y0 + H - 2}, {x0 + T - 1, y0 + H - T - 1}, {x0 + T - 1, M + T}, {x0, M + 1});
    s[5] = quad({x0, M - 1}, {x0 + T - 1, M - T}, {x0 + T - 1, y0 + T}, {x0, y0 + 1});
    s[6] = {TPoint{x0 + T, N - T + 1}, TPoint{x0 + 2, N - 1}, TPoint{x0 + T, N + T - 3},
            TPoint{x0 + W - T - 1, N + T - 3}, TPoint{x0 + W - 3, N - 1}, TPoint{x0 + W - T - 1, N - T + 1}};
    if (T == 1) {
        // A one-pixel bar keeps a visible body.
        s[6][0].X += 1, s[6][0].Y -= 1;
        s[6][2].X += 1, s[6][2].Y += 1;
        s[6][3].X -= 1, s[6][3].Y += 1;
        s[6][5].X -= 1, s[6][5].Y -= 1;
    }
    return s;
}

bool TLedMetrics::SetWordWidth(int value)
{
    if (value <= 2 * Thick)
        return false;
    WordWidth = value;
    return true;
}

bool TLedMetrics::SetWordHeight(int value)
{
    if (value < 4 * Thick)
        return false;
    WordHeight = (value - 4 * Thick + 1) % 2 != 0 ? value + 1 : value;
    return true;
}

bool TLedMetrics::SetThick(int value)
{
    if (!(2 * value < WordWidth && 4 * value <= WordHeight && (WordHeight - 4 * value + 1) % 2 == 0))
        return false;
    Thick = value;
    return true;
}

TPoint TLedMetrics::AutoSize(std::size_t length) const
{
    const int n = static_cast<int>(length);
    return {n * WordWidth + (n - 1) * Space + 2 * OffsetX, 2 * OffsetY + WordHeight};
}
