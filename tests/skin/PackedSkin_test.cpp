#include <gtest/gtest.h>

#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

std::string Int32(int32_t v)
{
    std::string s;
    Put32(s, static_cast<uint32_t>(v));
    return s;
}

TSkBitmap Picture(int w, int h, int seed)
{
    TSkBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, SkRgb(x * seed, y + seed, x ^ y));
    return b;
}

TPackedSkin FullSkin(int version)
{
    TPackedSkin skin;
    skin.Version = version;
    int seed = 1;
    for (auto slot : FixedPicturesOfVersion(version))
        skin.*slot = Picture(3 + seed, 2 + seed, seed), ++seed;
    skin.ActivePictures = {Picture(4, 5, 9), Picture(1, 1, 3)};
    skin.IniText = "[VERSION]\r\nskinname=测试\r\n";
    return skin;
}

std::string Compress(const std::string& plain)
{
    TMemoryStream source(plain), target;
    CompressStream(source, target);
    return target.Bytes();
}

// A packed version-0 skin with the given picture stream and nothing else.
std::string WithPicture(const std::string& bmp)
{
    return Int32(0) + '\0' + bmp + '\1' + Int32(0) + "[INI]";
}

const std::string kGoodBmp = MakeBmp(2, 2, 24, {0x112233, 0x445566, 0x778899, 0xAABBCC});

}  // namespace

TEST(PackedSkin, RoundTripsEveryVersionFullAndEmpty)
{
    for (int version : {-1, 0, 1, 2, 3}) {
        const TPackedSkin full = FullSkin(version);
        const TPackedSkin back = UnpackStoredSkin(Compress(WritePackedSkin(full)));
        EXPECT_EQ(back.Version, version);
        EXPECT_EQ(back.Picture, full.Picture);
        EXPECT_EQ(back.InactivePicture, full.InactivePicture);
        EXPECT_EQ(back.Mask, full.Mask);
        EXPECT_EQ(back.RollUpPicture, full.RollUpPicture);
        EXPECT_EQ(back.RollUpMask, full.RollUpMask);
        EXPECT_EQ(back.ActivePictures, full.ActivePictures);
        EXPECT_EQ(back.IniText, full.IniText);

        TPackedSkin empty;
        empty.Version = version;
        const TPackedSkin none = ReadPackedSkin(WritePackedSkin(empty));
        EXPECT_TRUE(none.Picture.Empty() && none.Mask.Empty() && none.ActivePictures.empty());
        EXPECT_EQ(none.IniText, "");
    }
}

TEST(PackedSkin, FixedPictureFlagsFollowTheVersion)
{
    TPackedSkin skin;
    skin.IniText = "X";
    for (int version : {0, 1, 2, 3}) {
        skin.Version = version;
        const size_t flags = FixedPicturesOfVersion(version).size();
        // Every picture empty: one flag byte each, then the count 0 and the INI directly.
        EXPECT_EQ(WritePackedSkin(skin), Int32(version) + std::string(flags, '\1') + Int32(0) + "X");
    }
    EXPECT_EQ(FixedPicturesOfVersion(0).size(), 2u);
    EXPECT_EQ(FixedPicturesOfVersion(1)[1], &TPackedSkin::Mask);   // no inactive picture in version 1
    EXPECT_EQ(FixedPicturesOfVersion(3).back(), &TPackedSkin::Mask);   // no roll-up pictures in version 3

    skin.Version = 2;
    skin.Picture = Picture(2, 2, 1);
    skin.Mask = Picture(2, 2, 2);
    const std::string bytes = WritePackedSkin(skin);
    const std::string bmp = SaveBmpToBytes(skin.Picture);
    EXPECT_EQ(bytes, Int32(2) + '\0' + bmp + '\1' + '\0' + SaveBmpToBytes(skin.Mask) + "\1\1" + Int32(0) + "X");
}

TEST(PackedSkin, ReadsEveryBitDepth)
{
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (int bits : {1, 4, 8}) {
        const std::vector<uint32_t> used(palette.begin(), palette.begin() + (bits == 1 ? 2 : 4));
        const TPackedSkin skin = ReadPackedSkin(WithPicture(MakeBmp(3, 2, bits, {0, 1, 1, 1, 0, 0}, used)));
        EXPECT_EQ(skin.Picture.Pixel(0, 0), SkRgb(0, 0, 0)) << bits;
        EXPECT_EQ(skin.Picture.Pixel(1, 0), SkRgb(255, 0, 0)) << bits;
        EXPECT_EQ(skin.Picture.Pixel(0, 1), SkRgb(255, 0, 0)) << bits;
        EXPECT_EQ(skin.Picture.Pixel(2, 1), SkRgb(0, 0, 0)) << bits;
    }
    const TPackedSkin rgb = ReadPackedSkin(WithPicture(kGoodBmp));
    EXPECT_EQ(rgb.Picture.Pixel(1, 0), SkRgb(0x44, 0x55, 0x66));
    EXPECT_EQ(rgb.Picture.Pixel(0, 1), SkRgb(0x77, 0x88, 0x99));
    EXPECT_EQ(rgb.IniText, "[INI]");
    const TPackedSkin argb = ReadPackedSkin(WithPicture(MakeBmp(1, 1, 32, {0x80102030})));
    EXPECT_EQ(argb.Picture.Pixel(0, 0), 0x80102030u);

    // 32 bits with colour masks after a 40-byte header: here blue, green, red from the top byte.
    std::string masked = MakeBmp(1, 1, 32, {0x30201000});
    masked[30] = 3;
    std::string masks;
    Put32(masks, 0x0000FF00);
    Put32(masks, 0x00FF0000);
    Put32(masks, 0xFF000000);
    masked.insert(54, masks);
    masked[2] = static_cast<char>(masked.size());
    masked[10] = 66;
    EXPECT_EQ(ReadPackedSkin(WithPicture(masked)).Picture.Pixel(0, 0), SkRgb(0x10, 0x20, 0x30));
    masked[58] = masked[59] = masked[60] = masked[61] = 0;
    EXPECT_THROW(ReadPackedSkin(WithPicture(masked)), ESkinFormatError);
}

TEST(PackedSkin, VersionAboveThreeReadsNothingMore)
{
    const TPackedSkin skin = ReadPackedSkin(Int32(4) + "\0\0garbage");
    EXPECT_EQ(skin.Version, 4);
    EXPECT_TRUE(skin.Picture.Empty());
    EXPECT_TRUE(skin.IniText.empty());
}

TEST(PackedSkin, ActivePictureIndexOutsideTheListIsNoPicture)
{
    const TPackedSkin skin = FullSkin(2);
    EXPECT_EQ(skin.ActivePicture(-1), nullptr);
    EXPECT_EQ(skin.ActivePicture(2), nullptr);
    ASSERT_NE(skin.ActivePicture(1), nullptr);
    EXPECT_EQ(skin.ActivePicture(1)->Width(), 1);
}

TEST(PackedSkin, NegativeActiveCountMeansNone)
{
    const TPackedSkin skin = ReadPackedSkin(Int32(0) + "\1\1" + Int32(-5) + "ini");
    EXPECT_TRUE(skin.ActivePictures.empty());
    EXPECT_EQ(skin.IniText, "ini");
}

TEST(PackedSkin, LyingLayoutsFailWithAClearError)
{
    auto fails = [](const std::string& data, const char* fragment) {
        try {
            ReadPackedSkin(data);
            ADD_FAILURE() << "accepted: " << fragment;
        } catch (const ESkinFormatError& e) {
            EXPECT_NE(e.Message().find(fragment), std::string::npos) << e.Message();
        }
    };
    fails("", "version");
    fails(Int32(2) + "\1\1", "flag of mask");
    fails(Int32(2) + "\1\1\1\1", "flag of rollupmask");
    fails(Int32(0) + "\1\1" + "\1", "active picture count");
    fails(Int32(0) + "\1\1" + Int32(1000000) + "short", "active picture count of 1000000");
    fails(Int32(0) + "\1\1" + Int32(2) + kGoodBmp + kGoodBmp.substr(0, 60), "active picture 1");

    std::string bmp = kGoodBmp;
    bmp[3] = 1;   // bfSize 256 and more: beyond the data
    fails(WithPicture(bmp), "exceeds");
    bmp = kGoodBmp;
    bmp[0] = 'X';
    fails(WithPicture(bmp), "signature");
    bmp = kGoodBmp;
    bmp[28] = 16;
    fails(WithPicture(bmp), "bit depth 16");
    bmp = kGoodBmp;
    bmp[30] = 1;
    fails(WithPicture(bmp), "compressed");
    bmp = kGoodBmp;
    bmp[14] = 8;   // header size 8
    fails(WithPicture(bmp), "header size");
    bmp = kGoodBmp;
    bmp[22] = 100;   // height 100: the rows do not fit
    fails(WithPicture(bmp), "pixel rows");
    bmp = kGoodBmp;
    bmp[18] = static_cast<char>(0xFF), bmp[19] = bmp[20] = bmp[21] = static_cast<char>(0xFF);   // width -1
    fails(WithPicture(bmp), "bad size");
    bmp = kGoodBmp;
    bmp[10] = static_cast<char>(200);   // pixel offset past the end
    fails(WithPicture(bmp), "pixel offset");
    fails(WithPicture(MakeBmp(1, 1, 1, {0}, std::vector<uint32_t>(3, 0))), "palette of 3");
    std::string paletted = MakeBmp(2, 1, 8, {0, 0}, {0, 0});
    paletted[46] = 10;   // colours used claims 10, the pixels start after 2
    fails(WithPicture(paletted), "pixel offset");
}

TEST(PackedSkin, PictureSizesAreBounded)
{
    std::string bmp = MakeBmp(1, 1, 1, {0}, {0, 0xFFFFFF});
    bmp[18] = 0, bmp[19] = 0, bmp[20] = 0, bmp[21] = 0x10;   // width 2^28
    EXPECT_THROW(ReadPackedSkin(WithPicture(bmp)), ESkinFormatError);
    // 1-bit pictures are cheap to store but not to hold: all of a skin's pixels are limited.
    const std::string four = MakeBmp(2, 2, 1, {0, 0, 0, 0}, {0, 0});
    const std::string data = Int32(0) + "\1\1" + Int32(3) + four + four + four;
    EXPECT_EQ(ReadPackedSkin(data, 12).ActivePictures.size(), 3u);
    EXPECT_THROW(ReadPackedSkin(data, 11), ESkinFormatError);
}

TEST(PackedSkin, OneSkinHoldsAboutFourMillionPixels)
{
    // 1-bit pictures inflate from a few bytes each; two of 1500 x 1500 pass the budget.
    const std::string big = MakeBmp(1500, 1500, 1, std::vector<uint32_t>(1500 * 1500, 0), {0, 0xFFFFFF});
    EXPECT_EQ(ReadPackedSkin(Int32(0) + "\1\1" + Int32(1) + big).ActivePictures.size(), 1u);
    EXPECT_THROW(ReadPackedSkin(Int32(0) + "\1\1" + Int32(2) + big + big), ESkinFormatError);
}

TEST(PackedSkin, ThirtyTwoBitPicturesWithoutAlphaAreOpaque)
{
    const std::string noAlpha = MakeBmp(2, 1, 32, {0x00102030, 0x00000000});
    const std::string someAlpha = MakeBmp(2, 1, 32, {0x80102030, 0x00000000});
    const TPackedSkin a = ReadPackedSkin(Int32(0) + "\1\1" + Int32(2) + noAlpha + someAlpha);
    EXPECT_EQ(a.ActivePictures[0].Pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(a.ActivePictures[0].Pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(a.ActivePictures[1].Pixel(0, 0), 0x80102030u);
    EXPECT_EQ(a.ActivePictures[1].Pixel(1, 0), 0x00000000u);
}

TEST(PackedSkin, EqualStoredSkinsAreDecodedOnce)
{
    const std::string packed = Compress(WritePackedSkin(FullSkin(2)));
    const std::string copy = packed;
    const auto first = SharedStoredSkin(packed);
    EXPECT_EQ(SharedStoredSkin(copy), first);
    EXPECT_NE(SharedStoredSkin(Compress(WritePackedSkin(FullSkin(3)))), first);
    EXPECT_EQ(first->IniText, FullSkin(2).IniText);
}

TEST(PackedSkin, UnpackRejectsBrokenCompressedData)
{
    const std::string packed = Compress(WritePackedSkin(FullSkin(2)));
    EXPECT_THROW(UnpackStoredSkin(packed.substr(0, packed.size() / 2)), EDecompressionError);
    EXPECT_NO_THROW(UnpackStoredSkin(packed + "trailing garbage"));
    EXPECT_THROW(UnpackStoredSkin(Compress(Int32(2) + "\1")), ESkinFormatError);
}
