#include "tests/skin/fuzz/IniSkinInput.h"

#include "framework/rtl/Classes.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/spzlibcompress.h"

namespace {

TSkBitmap Picture(int w, int h, bool mask)
{
    TSkBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            b.SetPixel(x, y, mask ? (edge && (x + y) % 5 == 0 ? SkRgb(255, 255, 255) : SkRgb(0, 0, 0))
                                  : SkRgb(x * 3, y * 5, edge ? 40 : 200));
        }
    return b;
}

// The same pictures for every input: only the INI text varies.
std::string PackedWithIni(std::string_view iniText)
{
    static const TPackedSkin pictures = [] {
        TPackedSkin p;
        p.Picture = Picture(60, 48, false);
        p.InactivePicture = Picture(60, 48, false);
        p.Mask = Picture(60, 48, true);
        p.ActivePictures.push_back(Picture(40, 30, false));
        p.ActivePictures.push_back(Picture(20, 20, true));
        return p;
    }();
    TPackedSkin skin = pictures;
    skin.IniText = std::string(iniText);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

bool LayOut(const TskSkinData& store, int width, int height)
{
    const TskSkinFormInfo& fi = store.FormInfo;
    const int pw = store.FPicture().Width(), ph = store.FPicture().Height();
    const TSkFrameGeometry g = ComputeFrameGeometry(fi, pw, ph, width, height);
    if (g.Width != width || g.Height != height || g.DX != width - pw || g.DY != height - ph)
        return false;
    for (const auto& o : store.ObjectList)
        MapSkinRect(o->SkinRect, fi, pw, ph, g.DX, g.DY);
    TSkMinSizeInput min;
    min.SkinActive = true;
    min.PictureWidth = pw;
    min.PictureHeight = ph;
    min.ClientRectHeight = fi.ClRect.Height();
    MinimumSize(min);
    TSkinFrame frame = PictureFrame(fi);
    frame.ClientRect = IsNullRect(fi.MaskRectArea) ? fi.ClRect : fi.MaskRectArea;
    TSkinFrame now = g.NewFrame();
    now.ClientRect = g.MaskRect;
    const TSkinBorders strips = ComposeSkinBorders(store.FMask(), frame, width, now);
    const TSkinStretch stretch{fi.LeftStretch, fi.RightStretch, fi.TopStretch, fi.BottomStretch};
    ComposeSkinBordersStretched(store.FPicture(), store.FPicture().BoundsRect(), PictureFrame(fi), width, height,
                                g.NewFrame(), stretch);
    TSkHitInput hit;
    hit.Geometry = &g;
    hit.BorderWidth = fi.BorderWidth;
    hit.HasMask = true;
    hit.MaskSolid = [&](TPoint p) { return MaskStripsSolid(strips, g.MaskRect, p); };
    for (int y = -1; y <= height; y += 7)
        for (int x = -1; x <= width; x += 5) {
            const int code = HitTestSkinned(hit, {x, y});
            if (code != kHtClient && code != kHtCaption && code != kHtObject && !(code >= kHtLeft && code <= kHtBottomRight))
                return false;
            hit.HasMask = !hit.HasMask;
        }
    return true;
}

}  // namespace

bool RunIniSkinInput(std::string_view iniText)
{
    TskCompressedStoredSkin stored;
    stored.SetCompressedData(PackedWithIni(iniText));
    TskSkinData store(nullptr);
    store.LoadFromCompressedStoredSkin(stored);
    if (store.Empty)
        return store.ObjectList.empty() && store.CtrlList.empty();
    for (const auto& o : store.ObjectList)
        if (store.IndexOfSkinObject(o->IDName) < 0)
            return false;
    return LayOut(store, 60, 48) && LayOut(store, 61, 13) && LayOut(store, 300, 200) && LayOut(store, 1, 1);
}
