#include <gtest/gtest.h>

#include "framework/rtl/Classes.h"
#include "framework/rtl/IniFiles.h"
#include "framework/rtl/SysUtils.h"
#include "skin/core/SkIniValues.h"

TEST(SkinIniValues, RectanglesAndPointsKeepOnlyDigits)
{
    const TMemIniFile ini("[resizebutton]\r\nskinrect=3,240,27,261\r\nspaced= 3 , 240 ,27 , 261\r\n"
                          "minus=-5,0,-0,7\r\npoint=12, -4\r\nlong=1,2,3,4,5\r\nshort=1,2\r\nempty=\r\n");
    EXPECT_EQ(ReadSkinRect(ini, "resizebutton", "skinrect"), (TRect{3, 240, 27, 261}));
    EXPECT_EQ(ReadSkinRect(ini, "RESIZEBUTTON", "spaced"), (TRect{3, 240, 27, 261}));
    EXPECT_EQ(ReadSkinRect(ini, "resizebutton", "minus"), (TRect{5, 0, 0, 7}));
    EXPECT_EQ(ReadSkinPoint(ini, "resizebutton", "point"), (TPoint{12, 4}));
    EXPECT_EQ(ReadSkinRect(ini, "resizebutton", "long"), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(ReadSkinRect(ini, "resizebutton", "missing"), TRect{});
    EXPECT_EQ(ReadSkinPoint(ini, "nosection", "point"), TPoint{});
    EXPECT_THROW(ReadSkinRect(ini, "resizebutton", "short"), EConvertError);
    EXPECT_THROW(ReadSkinPoint(ini, "resizebutton", "empty"), EConvertError);
    EXPECT_THROW(ParseSkinRect("a,b,c,d"), EConvertError);
}

TEST(SkinIniValues, BooleansStylesAndEnumerations)
{
    const TMemIniFile ini("[s]\r\none=1\r\ntwo=2\r\ngray=clGray\r\nstyle=fsbold,fsitalic\r\nupper=FSBOLD,FSITALIC\r\n"
                          "left=taleftjustify\r\ncentre=tacenter\r\nupcentre=TACENTER\r\nmorph=mkpush\r\nodd=mkzoom\r\n"
                          "effect=ieinvert\r\nbadeffect=iezoom\r\n");
    EXPECT_TRUE(ReadSkinBool(ini, "s", "one"));
    EXPECT_FALSE(ReadSkinBool(ini, "s", "two"));
    EXPECT_FALSE(ReadSkinBool(ini, "s", "missing"));
    EXPECT_FALSE(ReadSkinBool(ini, "s", "gray"));
    EXPECT_EQ(ini.ReadInteger("s", "gray", 0), 0);   // a colour name reads as the default, black
    EXPECT_EQ(ReadSkinFontStyles(ini, "s", "style"), (TSkFontStyles{true, true, false, false}));
    EXPECT_EQ(ReadSkinFontStyles(ini, "s", "upper"), TSkFontStyles{});
    EXPECT_EQ(ReadSkinAlignment(ini, "s", "left"), TSkAlignment::taLeftJustify);
    EXPECT_EQ(ReadSkinAlignment(ini, "s", "centre"), TSkAlignment::taCenter);
    EXPECT_EQ(ReadSkinAlignment(ini, "s", "missing"), TSkAlignment::taCenter);
    EXPECT_EQ(ReadSkinAlignment(ini, "s", "upcentre"), TSkAlignment::taRightJustify);
    EXPECT_EQ(ReadMorphKind(ini, "s", "morph"), TMorphKind::mkPush);
    EXPECT_EQ(ReadMorphKind(ini, "s", "odd"), TMorphKind::mkDefault);
    EXPECT_EQ(ReadImageEffect(ini, "s", "effect"), TImageEffect::ieInvert);
    EXPECT_EQ(ReadImageEffect(ini, "s", "missing"), TImageEffect::ieBrightness);
    EXPECT_EQ(ReadImageEffect(ini, "s", "badeffect"), TImageEffect::ieGrayScale);
}

TEST(SkinIniValues, ListsAndStrings)
{
    const TMemIniFile ini("[PICTURES]\r\nactivepicturescount=3\r\n0=active.BMP\r\n1=pw.bmp\r\n2=menuitems.bmp\r\n"
                          "[l]\r\nsymbolslinecount=2\r\nsymbolsline0=ab\r\nsymbolsline1=cd\r\n"
                          "[huge]\r\nxcount=2000000000\r\n0=only\r\n");
    TStringList list;
    ReadSkinList(ini, "PICTURES", "activepictures", list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[2], "menuitems.bmp");
    TStringList lines;
    ReadSkinStrings(ini, "l", "symbols", lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[1], "cd");
    TStringList bounded;   // a count far beyond the section's keys reads no more than there are
    ReadSkinList(ini, "huge", "x", bounded);
    EXPECT_EQ(bounded.Count(), 1);   // and a missing key adds nothing
    EXPECT_EQ(bounded[0], "only");
}

TEST(SkinIniValues, WritersProduceWhatTheReadersRead)
{
    TMemIniFile ini;
    WriteSkinRect(ini, "w", "r", {-1, 2, 3, 4});
    WriteSkinPoint(ini, "w", "p", {5, 6});
    WriteSkinBool(ini, "w", "b", true);
    WriteSkinFontStyles(ini, "w", "f", {true, false, true, true});
    WriteSkinAlignment(ini, "w", "a", TSkAlignment::taRightJustify);
    WriteMorphKind(ini, "w", "m", TMorphKind::mkLeftSlide);
    TStringList lines;
    lines.Add("x");
    WriteSkinStrings(ini, "w", "s", lines);
    EXPECT_EQ(ini.ReadString("w", "r", ""), "-1,2,3,4");
    EXPECT_EQ(ini.ReadString("w", "p", ""), "5,6");
    EXPECT_EQ(ini.ReadString("w", "b", ""), "1");
    EXPECT_EQ(ini.ReadString("w", "f", ""), "fsbold,fsunderline,fsstrikeout");
    EXPECT_EQ(ini.ReadString("w", "a", ""), "tarightjustify");
    EXPECT_EQ(ini.ReadString("w", "m", ""), "mkleftslide");
    EXPECT_EQ(ini.ReadString("w", "slinecount", ""), "1");
    EXPECT_EQ(ini.ReadString("w", "sline0", ""), "x");
    EXPECT_EQ(ReadSkinFontStyles(ini, "w", "f"), (TSkFontStyles{true, false, true, true}));
}

TEST(SkinIniValues, CoordinatesAreClampedToTheLargestPicture)
{
    EXPECT_EQ(ParseSkinRect("32768,32769,99999999999999,2147483648"), (TRect{32768, 32768, 32768, 32768}));
    EXPECT_EQ(ParseSkinPoint("0000000000000000012,4294967296"), (TPoint{12, 32768}));
    EXPECT_THROW(ParseSkinPoint("99999999999,"), EConvertError);
}
