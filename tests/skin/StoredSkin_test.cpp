#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <filesystem>

#include "framework/rtl/FileUtils.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skintest;

namespace {

class StoredSkinFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDir = UniqueTempPath("skin_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string();
        std::filesystem::create_directories(FDir);
        FDir += PathDelim;
    }
    void TearDown() override { std::filesystem::remove_all(FDir); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        WriteFileBytes(FDir + name, bytes);
        return FDir + name;
    }
    std::string FDir;
};

const char* const kIni =
    "[VERSION]\nskinname=tidepool\n[PICTURES]\npicture=frame.bmp\nmask=mask.bmp\ninactivepicture=\n"
    "activepicturescount=2\n0=a.bmp\n1=b.bmp\n[FORMINFO]\nclientrect=1,1,2,2\n[SKINOBJECTS]\ncount=0\n"
    "[SKINCONTROLS]\ncount=0\n";

std::string Header(int32_t version, int32_t length)
{
    std::string s;
    Put32(s, static_cast<uint32_t>(version));
    Put32(s, static_cast<uint32_t>(length));
    return s;
}

}  // namespace

TEST_F(StoredSkinFiles, PacksAnIniAndItsBitmaps)
{
    Write("frame.bmp", MakeBmp(2, 1, 24, {0x010203, 0x040506}));
    Write("mask.bmp", MakeBmp(2, 1, 1, {0, 1}, {0, 0xFFFFFF}));
    Write("a.bmp", MakeBmp(1, 1, 8, {1}, {0, 0x00FF00}));
    Write("b.bmp", MakeBmp(1, 2, 32, {0xFF000001, 0xFF000002}));
    TskCompressedStoredSkin stored;
    EXPECT_TRUE(stored.IsEmpty());
    stored.PackSkinFromIni(Write("SKIN.INI", kIni));
    ASSERT_FALSE(stored.IsEmpty());

    TMemoryStream inflated;
    stored.UnpackSkinStream(inflated);
    const TPackedSkin skin = ReadPackedSkin(inflated.Bytes());
    EXPECT_EQ(skin.Version, 2);
    EXPECT_EQ(skin.Picture.Pixel(1, 0), SkRgb(4, 5, 6));
    EXPECT_TRUE(skin.InactivePicture.Empty());
    EXPECT_EQ(skin.Mask.Pixel(0, 0), SkRgb(0, 0, 0));
    EXPECT_EQ(skin.Mask.Pixel(1, 0), SkRgb(255, 255, 255));
    EXPECT_TRUE(skin.RollUpPicture.Empty() && skin.RollUpMask.Empty());
    ASSERT_EQ(skin.ActivePictures.size(), 2u);
    EXPECT_EQ(skin.ActivePictures[0].Pixel(0, 0), SkRgb(0, 255, 0));
    EXPECT_EQ(skin.ActivePictures[1].Height(), 2);
    EXPECT_EQ(skin.IniText.substr(0, 21), "[VERSION]\r\nskinname=t");   // lines end in CR LF
    EXPECT_EQ(skin.IniText.substr(skin.IniText.size() - 9), "count=0\r\n");
}

TEST_F(StoredSkinFiles, KeepsTheOldDataWhenTheIniIsIncompleteOrABitmapIsBad)
{
    TskCompressedStoredSkin stored;
    stored.SetCompressedData("old");
    stored.PackSkinFromIni(Write("SKIN.INI", "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n"));
    EXPECT_EQ(stored.CompressedData(), "old");

    Write("frame.bmp", "BM not really");
    EXPECT_THROW(stored.PackSkinFromIni(Write("SKIN.INI", kIni)), ESkinFormatError);
    EXPECT_EQ(stored.CompressedData(), "old");
}

TEST_F(StoredSkinFiles, LoadsCompressedSkinFiles)
{
    TskCompressedStoredSkin stored;
    stored.LoadCompressedSkinFile(Write("a.skn", Header(3, 4) + "zlib" + "extra"));
    EXPECT_EQ(stored.CompressedData(), "zlib");

    stored.LoadCompressedSkinFile(Write("b.skn", Header(4, 4) + "zlib"));
    EXPECT_TRUE(stored.IsEmpty());

    stored.SetCompressedData("old");
    EXPECT_THROW(stored.LoadCompressedSkinFile(Write("c.skn", Header(2, 100) + "zlib")), ESkinFormatError);
    EXPECT_THROW(stored.LoadCompressedSkinFile(Write("d.skn", Header(2, -1))), ESkinFormatError);
    EXPECT_THROW(stored.LoadCompressedSkinFile(Write("e.skn", "ab")), ESkinFormatError);
    EXPECT_EQ(stored.CompressedData(), "old");
}
