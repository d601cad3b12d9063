#include "skin/core/SkHintLayout.h"

#include <algorithm>

#include "skin/core/SkinData.h"

TSkHintGeometry HintGeometry(int tw, int th, const TskDataSkinHintWindow* r, int pw, int ph)
{
    TSkHintGeometry g;
    if (!r || pw < 1 || ph < 1) {
        g.Width = tw + 4;
        g.Height = th + 4;
        return g;
    }
    const TRect& cr = r->ClRect;
    g.Width = std::max(tw + cr.Left + (pw - cr.Right), pw);
    g.Height = std::max(th + cr.Top + (ph - cr.Bottom), ph);
    const int dx = g.Width - pw, dy = g.Height - ph;
    g.Frame.ClientRect = {cr.Left, cr.Top, cr.Right + dx, cr.Bottom + dy};
    g.Frame.LeftTop = r->LTPoint;
    g.Frame.RightTop = {r->RTPoint.X + dx, r->RTPoint.Y};
    g.Frame.LeftBottom = {r->LBPoint.X, r->LBPoint.Y + dy};
    g.Frame.RightBottom = {r->RBPoint.X + dx, r->RBPoint.Y + dy};
    return g;
}

TRect PlaceHint(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    TRect r{left, top, left + width, top + height};
    if (r.Right > screenWidth)
        r = {r.Left - width - 2, r.Top, r.Right - width - 2, r.Bottom};
    if (r.Bottom > screenHeight)
        r = {r.Left, r.Top - height - 2, r.Right, r.Bottom - height - 2};
    return r;
}

namespace {

// Bytes left after the first one that is not fill (0 when all are fill).
size_t LeftAfterFirstOther(std::string_view bytes, unsigned char fill)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) != fill)
            return bytes.size() - i - 1;
    return 0;
}

}  // namespace

int CursorMaskMargin(std::string_view bits, int width, int height, int hotSpotY)
{
    if (width < 1 || height < 1)
        return -1;
    const size_t b = static_cast<size_t>((width + 31) / 32) * 4;
    const size_t square = static_cast<size_t>(std::min(width, height)) * b;
    if (bits.size() < square)
        return -1;
    const std::string_view top = bits.substr(bits.size() - square);
    size_t r = LeftAfterFirstOther(top, 0xFF);
    if (r == 0 && height >= 2 * width && bits.size() >= 2 * square)
        r = LeftAfterFirstOther(bits.substr(bits.size() - 2 * square, square), 0x00);
    return static_cast<int>(r / b) - hotSpotY;
}
