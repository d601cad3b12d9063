#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtl/BmpImage.h"

namespace {

void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
void Put16(std::string& s, uint16_t v)
{
    s.push_back(static_cast<char>(v & 255));
    s.push_back(static_cast<char>(v >> 8));
}

// A 2x2 1-bit image with the old 12-byte header and 3-byte palette entries, bottom-up.
std::string CoreHeaderBmp()
{
    std::string s = "BM";
    Put32(s, 14 + 12 + 6 + 8);
    Put32(s, 0);
    Put32(s, 14 + 12 + 6);
    Put32(s, 12);
    Put16(s, 2);
    Put16(s, 2);
    Put16(s, 1);
    Put16(s, 1);
    s += std::string("\x00\x00\xFF" "\x00\xFF\x00", 6);   // red, green (blue, green, red order)
    s += std::string("\x40\0\0\0", 4);                       // bottom row: green at x 1
    s += std::string("\x80\0\0\0", 4);                       // top row: green at x 0
    return s;
}

}  // namespace

TEST(BmpImage, EncodesAndDecodesEveryDepth)
{
    const std::vector<uint32_t> twoColours = {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF};
    for (int bits : {1, 4, 8, 24}) {
        const TBmpImage image = DecodeBmp(EncodeBmp(twoColours.data(), 3, 2, bits));
        EXPECT_EQ(image.BitCount, bits);
        EXPECT_EQ(image.Width, 3);
        EXPECT_EQ(image.Pixels, twoColours) << bits;
    }
    const std::vector<uint32_t> translucent = {0x80102030, 0x00000000};
    EXPECT_EQ(DecodeBmp(EncodeBmp(translucent.data(), 1, 2, 32)).Pixels, translucent);
    const std::vector<uint32_t> three = {0xFF000000, 0xFF0000FF, 0xFFFF0000};
    EXPECT_THROW(EncodeBmp(three.data(), 3, 1, 1), EBmpError);
}

TEST(BmpImage, ReadsTheOldCoreHeader)
{
    const TBmpImage image = DecodeBmp(CoreHeaderBmp());
    ASSERT_EQ(image.Width, 2);
    ASSERT_EQ(image.Height, 2);
    EXPECT_EQ(image.Pixels, (std::vector<uint32_t>{0xFF00FF00, 0xFFFF0000, 0xFFFF0000, 0xFF00FF00}));
}

TEST(BmpImage, FileSizeDelimitsAndLyingHeadersRaise)
{
    const std::vector<uint32_t> one = {0xFF112233};
    const std::string bmp = EncodeBmp(one.data(), 1, 1, 24);
    EXPECT_EQ(BmpFileSize(bmp + "next"), bmp.size());
    EXPECT_THROW(BmpFileSize(bmp.substr(0, bmp.size() - 1)), EBmpError);
    EXPECT_THROW(BmpFileSize("BM"), EBmpError);

    EXPECT_THROW(DecodeBmp(bmp.substr(0, bmp.size() - 1)), EBmpError);   // a row cut short
    std::string lying = bmp;
    lying[10] = lying[11] = lying[12] = lying[13] = static_cast<char>(0xFF);   // pixels at 4 GiB
    EXPECT_THROW(DecodeBmp(lying), EBmpError);
    lying = bmp;
    lying[22] = lying[23] = lying[24] = 0, lying[25] = static_cast<char>(0x80);   // height -2^31
    EXPECT_THROW(DecodeBmp(lying), EBmpError);
    lying = CoreHeaderBmp();
    lying[14] = 13;   // neither the old nor the new header
    EXPECT_THROW(DecodeBmp(lying), EBmpError);
    EXPECT_THROW(DecodeBmp(bmp, 0), EBmpError);   // more pixels than allowed
}
