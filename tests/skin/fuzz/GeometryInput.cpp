#include "tests/skin/fuzz/GeometryInput.h"

#include <cstdint>
#include <cstring>

#include "framework/rtl/Classes.h"
#include "framework/rtl/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkIniValues.h"
#include "skin/core/SkMaskRegion.h"

namespace {

class TInts {
public:
    explicit TInts(std::string_view bytes) : FBytes(bytes) {}
    int Next()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | (FBytes.empty() ? 0u : static_cast<unsigned char>(FBytes[FAt++ % FBytes.size()]));
        return static_cast<int>(v);
    }
    int Size() { return static_cast<int>(static_cast<uint32_t>(Next()) % 97); }
    TPoint Point() { return {Next(), Next()}; }
    TRect Rect() { return {Next(), Next(), Next(), Next()}; }
    TSkinFrame Frame() { return {Point(), Point(), Point(), Point(), Rect()}; }

private:
    std::string_view FBytes;
    size_t FAt = 0;
};

void ReadValues(std::string_view bytes)
{
    auto guarded = [](auto read) {
        try {
            read();
        } catch (const EConvertError&) {
        }
    };
    guarded([&] { ParseSkinRect(bytes); });
    guarded([&] { ParseSkinPoint(bytes); });
    const TMemIniFile ini("[s]\r\nv=" + std::string(bytes) + "\r\nvcount=" + std::string(bytes) + "\r\n");
    guarded([&] { ReadSkinRect(ini, "s", "v"); });
    guarded([&] { ReadSkinPoint(ini, "s", "v"); });
    ReadSkinBool(ini, "s", "v");
    ReadSkinFontStyles(ini, "s", "v");
    ReadSkinAlignment(ini, "s", "v");
    ReadMorphKind(ini, "s", "v");
    ReadImageEffect(ini, "s", "v");
    TStringList list;
    ReadSkinList(ini, "s", "v", list);
    ReadSkinStrings(ini, "s", "v", list);
}

TSkBitmap Source()
{
    TSkBitmap b(16, 12);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, (x + y) % 3 ? SkRgb(x, y, 7) : SkRgb(0, 0, 0));
    return b;
}

// Of the asked size (empty for no area), each pixel blank (or black) or one of the source's.
bool FromSource(const TSkBitmap& b, int width, int height)
{
    if (width <= 0 || height <= 0)
        return b.Empty();
    if (b.Width() != width || b.Height() != height)
        return false;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TSkPixel p = SkRgbPart(b.Pixel(x, y));
            const unsigned red = p >> 16, green = (p >> 8) & 255, blue = p & 255;
            if (p != 0 && (blue != 7 || red >= 16 || green >= 12))
                return false;
        }
    return true;
}

}  // namespace

bool RunGeometryInput(std::string_view bytes)
{
    ReadValues(bytes);
    static const TSkBitmap source = Source();
    TInts in(bytes);
    const TRect r = in.Rect();
    const TSkinFrame frame = in.Frame(), newFrame = in.Frame();
    const int width = in.Size(), height = in.Size();
    const TSkinStretch stretch{(width & 1) != 0, (width & 2) != 0, (height & 1) != 0, (height & 2) != 0};
    TSkBitmap target;
    ComposeSkinPicture(source, r, frame, target, width, height, newFrame, stretch, true);
    bool kept = FromSource(target, width, height);
    ComposeSkinPictureTiled(source, r, frame, target, width, height, newFrame, true);
    kept = kept && FromSource(target, width, height);
    ComposeHSkinPicture(in.Next(), in.Next(), target, source, in.Rect(), width);
    ComposeVSkinPicture(in.Next(), in.Next(), target, source, in.Rect(), height);
    ComposeSkinBorders(source, frame, width, newFrame);
    ComposeSkinBordersStretched(source, r, frame, width, height, newFrame, stretch);
    ComposeSkinRegionRects(source, r, frame, width, newFrame);
    return kept;
}
