#include "framework/rtl/Encoding.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(Encoding, Utf16RoundTripAndReplacement)
{
    const std::string text = "星期日 Sunday \xF0\x9F\x98\x80";   // with a character outside the BMP
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"星期日 Sunday \U0001F600");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    // Broken input: a stray continuation byte, a truncated sequence, an overlong form, a surrogate.
    EXPECT_EQ(Utf8ToUtf16("a\x80" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("a\xE5\xA4"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF" "x"), u"\uFFFD\uFFFDx");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a");
    EXPECT_TRUE(IsValidUtf8("天\xEF\xBF\xBD"));
    EXPECT_FALSE(IsValidUtf8("\xCC\xEC"));   // GBK for 天
}

TEST(Encoding, GbkRoundTripGivesCodePage936Bytes)
{
    EXPECT_EQ(Utf8ToGbk("天"), "\xCC\xEC");
    EXPECT_EQ(Utf8ToGbk("农历 2024"), "\xC5\xA9\xC0\xFA 2024");
    EXPECT_EQ(Utf8ToGbk("€"), "\x80");
    EXPECT_EQ(Utf8ToGbk("·"), "\xA1\xA4");
    EXPECT_EQ(Utf8ToGbk("—"), "\xA1\xAA");
    EXPECT_EQ(Utf8ToGbk("\xEE\x80\x80"), "\xAA\xA1");   // U+E000, the first user-defined character
    const std::string text = "宋体 新宋体 黑体：备忘录，星期六（腊月）！";
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text);
    EXPECT_EQ(GbkToUtf8("\xCC\xEC\x80"), "天€");
    // Characters code page 936 lacks become '?', broken GBK becomes U+FFFD and keeps what follows.
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b\xE2\x82\xA9"), "a?b?");
    EXPECT_EQ(Utf8ToGbk("a\xFF"), "a?");
    EXPECT_EQ(GbkToUtf8("\xCC" " A"), "\xEF\xBF\xBD" " A");
    EXPECT_EQ(GbkToUtf8("x\xCC"), "x\xEF\xBF\xBD");
    EXPECT_EQ(GbkToUtf8("\x81\x7F"), "\xEF\xBF\xBD\x7F");
    // The user-defined area and 0xFF map to the Private Use Area, both ways.
    EXPECT_EQ(GbkToUtf8("\xFE\xFE\xA1\x40\xFF"), "\xEE\x93\x85\xEE\x93\x86\xEF\xA3\xB5");
    EXPECT_EQ(Utf8ToGbk("\xEE\x93\x85\xEE\x93\x86\xEF\xA3\xB5"), "\xFE\xFE\xA1\x40\xFF");
}

// Every GBK code and every BMP character, converted both ways, hashed: the same value
// natively (iconv) and on Windows (code page 936) proves byte-identical conversions.
TEST(Encoding, WholeCodePage936TableMatchesAcrossPlatforms)
{
    uint64_t hash = 1469598103934665603ull;
    auto add = [&](const std::string& s) {
        for (unsigned char c : s)
            hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xFF) * 1099511628211ull;
    };
    for (int b = 0x80; b <= 0xFF; ++b)
        add(GbkToUtf8(std::string(1, static_cast<char>(b))));
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail)
            add(GbkToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    for (char16_t c = 0x80; c < 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF)
            add(Utf8ToGbk(Utf16ToUtf8(std::u16string(1, c))));
    EXPECT_EQ(hash, 9729584363043215583ull);
}

TEST(Encoding, CharacterHelpers)
{
    EXPECT_EQ(Utf8Length("15天"), 3u);
    EXPECT_EQ(Utf8DropLast("15天"), "15");
    EXPECT_EQ(Utf8DropLast("5月"), "5");
    EXPECT_EQ(Utf8DropLast("天", 3), "");
    EXPECT_EQ(Utf8Copy("星期日abc", 1, 3), "期日a");
    EXPECT_EQ(Utf8Copy("星期", 5, 3), "");
    EXPECT_EQ(Utf8Copy("星期", 1, 100), "期");
    EXPECT_EQ(Utf8Length("a\x80" "b"), 3u);
}
