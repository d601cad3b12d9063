#include "framework/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(SysUtils, IntegerConversions)
{
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(StrToInt(" 17 "), 17);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToIntDef("2147483648", 7), 7);
    EXPECT_EQ(StrToIntDef("", 7), 7);
    EXPECT_EQ(StrToIntDef("1 2", 7), 7);
    EXPECT_EQ(StrToIntDef("$", 7), 7);
    EXPECT_EQ(StrToIntDef("12a", 7), 7);
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(SysUtils, FloatToStrAndRound)
{
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(3.0), "3");
    EXPECT_EQ(FloatToStr(-0.25), "-0.25");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(-12.0), "-12");
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(-0.6), -1);
    EXPECT_EQ(Round(-9223372036854775808.0), INT64_MIN);
    EXPECT_THROW(Round(std::nan("")), EConvertError);
    EXPECT_THROW(Round(9223372036854775808.0), EConvertError);
    EXPECT_THROW(Round(-HUGE_VAL), EConvertError);
}

TEST(SysUtils, Format)
{
    EXPECT_EQ(Format("%d-%d-%d", {2024, 9, 7}), "2024-9-7");
    EXPECT_EQ(Format("%.2d:%.2d", {8, 5}), "08:05");
    EXPECT_EQ(Format("[%5d][%-5d]", {42, 42}), "[   42][42   ]");
    EXPECT_EQ(Format("%s有%d天", {"还", 15}), "还有15天");
    EXPECT_EQ(Format("[%-4s][%4s]", {"天", "ab"}), "[天   ][  ab]");
    EXPECT_EQ(Format("%.2s", {"星期日"}), "星期");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%d", {int64_t(-9000000000)}), "-9000000000");
    const std::string name = "宋体";
    EXPECT_EQ(Format("%s:%d:%d", {name, name.size(), uint8_t(7)}), "宋体:6:7");
    EXPECT_THROW(Format("%d", {"x"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%x", {1}), EConvertError);
    EXPECT_THROW(Format("50%", {}), EConvertError);
}

TEST(SysUtils, TextHelpers)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_TRUE(SameText("Skin", "sKIN"));
    EXPECT_FALSE(SameText("Skin", "Skins"));
    EXPECT_TRUE(SameText("宋体A", "宋体a"));
    EXPECT_EQ(UpperCase("abc天"), "ABC天");
    EXPECT_EQ(LowerCase("ABC"), "abc");
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "AB c"), 0);
    EXPECT_EQ(CompareText("Ab", "aB"), 0);
}

TEST(SysUtils, Exceptions)
{
    try {
        Abort();
    } catch (const Exception& e) {
        EXPECT_NE(dynamic_cast<const EAbort*>(&e), nullptr);
    }
    EConvertError e("bad");
    e.SetMessage("worse");
    EXPECT_STREQ(e.what(), "worse");
}

TEST(SysUtils, AssertNamesTheCallersFileAndLine)
{
    EXPECT_NO_THROW(Assert(true, "never"));
    const int line = __LINE__ + 2;
    try {
        Assert(1 + 1 == 3, "sum");
        FAIL() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), "sum (SysUtils_test.cpp, line " + std::to_string(line) + ")");
    }
    EXPECT_THROW(Assert(false), EAssertionFailed);
}
