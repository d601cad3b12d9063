// The packed help document beside the executable: one MHTML file whose page names only
// pictures it carries.
#include <gtest/gtest.h>

#include <regex>

#include "framework/rtl/FileUtils.h"

TEST(HelpDocument, ThePageAndEveryPictureItNamesArePacked)
{
    const std::string mht = ReadFileBytes(std::string(VORPEN_DIST_DIR) + "/时钟桌面日历操作说明.mht");
    ASSERT_NE(mht.find("Content-Type: multipart/related"), std::string::npos);
    const std::string boundary = "----=_NextPart_vorpen_help";
    size_t parts = 0;
    for (size_t at = mht.find("--" + boundary + "\r\n"); at != std::string::npos;
         at = mht.find("--" + boundary + "\r\n", at + 1))
        ++parts;
    EXPECT_NE(mht.find("--" + boundary + "--\r\n"), std::string::npos);
    EXPECT_NE(mht.find("Content-Type: text/html; charset=\"utf-8\""), std::string::npos);

    // The page is quoted-printable: its ASCII picture names read as they stand.
    const std::regex img(R"(<img src=3D"([a-z]+\.png)\")");
    size_t pictures = 0;
    for (auto it = std::sregex_iterator(mht.begin(), mht.end(), img); it != std::sregex_iterator(); ++it) {
        ++pictures;
        EXPECT_NE(mht.find("Content-Location: file:///vorpen-help/" + (*it)[1].str() + "\r\n"), std::string::npos)
            << (*it)[1];
    }
    EXPECT_GE(pictures, 3u);
    EXPECT_EQ(parts, pictures + 1);
    EXPECT_EQ(mht.find_first_not_of("\r\n\t !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
                                    "abcdefghijklmnopqrstuvwxyz{|}~"),
              std::string::npos);   // seven-bit text throughout
}
