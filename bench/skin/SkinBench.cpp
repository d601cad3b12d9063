// Speed of the work every skinned window does at start and on resize: inflating and
// reading a stored skin, loading a skin store, composing a frame picture, scanning a mask
// into runs, a menu item's morph step and a skinned window's frame on resize.
#include <benchmark/benchmark.h>

#include "framework/rtl/FileUtils.h"
#include "skin/core/SkCompose.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkEffBmp.h"
#include "skin/core/SkFormFrame.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkMaskRegion.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"

namespace {

TSkBitmap Noise(int w, int h)
{
    TSkBitmap b(w, h);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            b.SetPixel(x, y, (seed >> 8) % 3 == 0 ? SkRgb(0, 0, 0) : SkRgb(seed & 255, 90, 200));
        }
    return b;
}

void BM_UnpackStoredSkin(benchmark::State& state)
{
    TPackedSkin skin;
    skin.Picture = Noise(152, 125);
    skin.Mask = Noise(152, 125);
    skin.ActivePictures = {Noise(516, 280), Noise(84, 223), Noise(68, 118)};
    skin.IniText = std::string(28505, 'k');
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    for (auto _ : state)
        benchmark::DoNotOptimize(UnpackStoredSkin(packed.Bytes()));
}
BENCHMARK(BM_UnpackStoredSkin);

void BM_ComposeFrame(benchmark::State& state)
{
    const TSkBitmap source = Noise(152, 125);
    const TSkinFrame frame{{40, 30}, {110, 30}, {40, 100}, {110, 100}, {4, 30, 148, 121}};
    const int w = 800, h = 600;
    const TSkinFrame grown{{40, 30}, {w - 42, 30}, {40, h - 25}, {w - 42, h - 25}, {4, 30, w - 4, h - 4}};
    TSkBitmap target;
    for (auto _ : state) {
        ComposeSkinPictureTiled(source, {0, 0, 152, 125}, frame, target, w, h, grown, true);
        benchmark::DoNotOptimize(target.Pixels().data());
    }
}
BENCHMARK(BM_ComposeFrame);

void BM_MaskRuns(benchmark::State& state)
{
    const TSkBitmap mask = Noise(516, 280);
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildMaskRegionData(mask, 0, 0));
}
BENCHMARK(BM_MaskRuns);

}  // namespace

// A window's skin store loading the program's skin: the pictures are decoded once per
// process, so this is the INI and the records.
void BM_StoreLoadsOurSkin(benchmark::State& state)
{
    TskCompressedStoredSkin stored;
    stored.SetCompressedData(ReadFileBytes(VORPEN_SKIN_DIR "/vorpen.skn"));
    for (auto _ : state) {
        TskSkinData data(nullptr);
        data.LoadFromCompressedStoredSkin(stored);
        benchmark::DoNotOptimize(data.Empty);
    }
}
BENCHMARK(BM_StoreLoadsOurSkin);

// One step of a menu item's morph: two looks of 200 x 20 blended by a gradient.
void BM_MorphMenuItem(benchmark::State& state)
{
    const TskEffectBmp normal(Noise(200, 20)), lit(Noise(200, 20));
    for (auto _ : state) {
        TskEffectBmp frame = normal;
        frame.MorphGradient(lit, 0.4);
        benchmark::DoNotOptimize(frame.Bits());
    }
}
BENCHMARK(BM_MorphMenuItem);

// A skinned window's resize: the frame geometry, the object rectangles and the frame's
// four border pictures for an 800 x 600 window, then a sweep of hit tests along its top.
void BM_SkinnedFrameResize(benchmark::State& state)
{
    TskCompressedStoredSkin stored;
    stored.SetCompressedData(ReadFileBytes(VORPEN_SKIN_DIR "/vorpen.skn"));
    TskSkinData data(nullptr);
    data.LoadFromCompressedStoredSkin(stored);
    const TskSkinFormInfo& fi = data.FormInfo;
    const TSkBitmap& picture = data.FPicture();
    for (auto _ : state) {
        const TSkFrameGeometry g = ComputeFrameGeometry(fi, picture.Width(), picture.Height(), 800, 600);
        int sum = 0;
        for (const auto& o : data.ObjectList)
            sum += MapSkinRect(o->SkinRect, fi, picture.Width(), picture.Height(), g.DX, g.DY).Right;
        const TSkinBorders parts = ComposeSkinBordersStretched(picture, picture.BoundsRect(), PictureFrame(fi), 800, 600,
                                                               g.NewFrame(), {});
        TSkHitInput in;
        in.Geometry = &g;
        in.BorderWidth = fi.BorderWidth;
        for (int x = 0; x < 800; x += 8)
            sum += HitTestSkinned(in, {x, 2});
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(parts.Top.Pixels().data());
    }
}
BENCHMARK(BM_SkinnedFrameResize);
