#include "tests/skin/fuzz/IniSkinInput.h"

#include "framework/rtl/Classes.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFormLayout.h"
#include "skin/core/SkFormObjects.h"
#include "skin/core/SkObjectPainter.h"
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

// A form that does what the objects ask without windows, and a painter that draws into a
// bitmap of the window's size.
class TQuietForm : public TSkObjectHost, public TSkObjectPainter {
public:
    TQuietForm(const TskSkinData& skin, int width, int height) : FSkin(skin), FTarget(width, height) {}
    bool IsFormActive() const override { return Active; }
    bool UsesNCArea() const override { return NCArea; }
    int FormWindowState() const override { return 0; }
    bool FormRolledUp() const override { return false; }
    void PaintObject(TskActiveSkinObject& o) override { o.Draw(*this, false); }
    void StartMorphTimer() override {}
    void RunCommand(TskCommand) override {}
    void OpenButtonMenu(TskSkinButtonObject&) override {}
    void CloseForm() override {}
    void StartFaceDrag() override {}
    void StopFaceDrag() override {}
    void ObjectEvent(const std::string&, const std::string&) override {}
    void StartAnimateTimer() override {}

    const TSkBitmap* Picture(int picture) const override
    {
        const TSkBitmap* p = picture == kSkFramePicture    ? &FSkin.FPicture()
                             : picture == kSkRollUpPicture ? &FSkin.FRollUpPicture()
                                                           : FSkin.ActivePicture(picture);
        return p && !p->Empty() ? p : nullptr;
    }
    void Copy(const TRect& dest, int picture, const TRect& source) override
    {
        if (const TSkBitmap* p = Picture(picture); p && !IsNullRect(dest) && !IsNullRect(source))
            TSkCanvas(FTarget).CopyRect(dest, *p, source);
    }
    void DrawImage(int x, int y, const TSkBitmap& image) override { TSkCanvas(FTarget).Draw(x, y, image); }
    void Text(const TRect&, const std::string&, const TskSkinFont&, int, TSkAlignment) override {}

    bool Active = true, NCArea = true;

private:
    const TskSkinData& FSkin;
    TSkBitmap FTarget;
};

// The live objects of the skin on a window of the given size: made, given the border
// icons, placed, drawn and driven by the mouse over the whole window.
bool RunObjects(const TskSkinData& store, int width, int height, bool ncArea)
{
    TQuietForm form(store, width, height);
    form.NCArea = ncArea;
    TSkObjectRouter router(form);
    router.Objects = CreateSkinObjects(form, store);
    TSkBorderIconsState icons;
    icons.Icons = 1 | 2 | 4 | 8;
    icons.FormCaption = "caption";
    ApplyBorderIcons(router.Objects, icons, [](const char*, const char* builtin) { return std::string(builtin); });
    const TskSkinFormInfo& fi = store.FormInfo;
    const int pw = store.FPicture().Width(), ph = store.FPicture().Height();
    const TSkFrameGeometry g = ComputeFrameGeometry(fi, pw, ph, width, height);
    for (auto& o : router.Objects)
        o->ObjectRect = MapSkinRect(o->SkinRect, fi, pw, ph, g.DX, g.DY);
    LayoutCaptionButtons(router.Objects, g, fi, {16, 16});
    for (auto& o : router.Objects)
        o->Draw(form, true);
    const TSkMouseButton buttons[] = {TSkMouseButton::Left, TSkMouseButton::Right};
    int step = 0;
    for (int y = -1; y <= height; y += 6)
        for (int x = -1; x <= width; x += 7) {
            const TPoint p{x, y};
            router.UpdateHover(p, true);
            const int at = router.ObjectAt(p);
            if (at < -1 || at >= static_cast<int>(router.Objects.size()))
                return false;
            if (router.Hovered() && !router.Hovered()->ObjectRect.Contains(p))
                return false;
            router.Move(p);
            if (++step % 3 == 0) {
                const TSkMouseButton b = buttons[step % 2];
                if (TskActiveSkinObject* pressed = router.Press(p, b, ncArea); pressed && step % 4 == 0)
                    pressed->DblClick();
                router.Move({x + 3, y + 2});
                router.Release({x + 3, y + 2}, b, ncArea);
            }
        }
    form.Active = false;
    for (auto& o : router.Objects)
        o->Draw(form, false);
    for (int i = 0; i < 8 && router.MorphTick(); ++i) {
    }
    for (int i = 0; i < 8; ++i)
        router.AnimateTick();
    router.ResetHoverState();
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
    return LayOut(store, 60, 48) && LayOut(store, 61, 13) && LayOut(store, 300, 200) && LayOut(store, 1, 1) &&
           RunObjects(store, 60, 48, true) && RunObjects(store, 90, 40, false) && RunObjects(store, 7, 5, true);
}
