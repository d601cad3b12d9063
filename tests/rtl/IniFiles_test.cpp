#include "framework/rtl/IniFiles.h"
#include "framework/rtl/Classes.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(TMemIniFile, ReadsCaseInsensitiveTrimmedValues)
{
    const TMemIniFile ini("\xEF\xBB\xBF; skin\r\n[Form]\r\n Color = $00FF00 \r\nHeight=0x20\nTitle=宋体\n"
                          "Title=second\n[form2]\nx=1\n[FORM]\nExtra=yes\n");
    EXPECT_EQ(ini.ReadInteger("form", "color", 0), 0xFF00);
    EXPECT_EQ(ini.ReadInteger("FORM", "HEIGHT", 0), 32);
    EXPECT_EQ(ini.ReadString("Form", "Title", ""), "宋体");   // the first of duplicates counts
    EXPECT_EQ(ini.ReadString("Form", "Extra", ""), "yes");    // a repeated section continues it
    EXPECT_EQ(ini.ReadString("Form", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("nosuch", "Title", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("Form", "Title", 7), 7);
    EXPECT_TRUE(ini.SectionExists("FORM2"));
    EXPECT_FALSE(ini.SectionExists(""));
    EXPECT_TRUE(ini.ValueExists("form", "TITLE"));
    TStringList names;
    ini.ReadSections(names);
    EXPECT_EQ(names.DelimitedText(','), "Form,form2");
    ini.ReadSection("form", names);
    EXPECT_EQ(names.DelimitedText(','), "Color,Height,Title,Extra");
}

TEST(TMemIniFile, BoolsAndWritesKeepTheRest)
{
    TMemIniFile ini("; top comment\r\n[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\nflag=0\r\n");
    EXPECT_TRUE(ini.ReadBool("a", "x", false));
    EXPECT_FALSE(ini.ReadBool("b", "flag", true));
    EXPECT_TRUE(ini.ReadBool("b", "missing", true));
    ini.WriteBool("B", "FLAG", true);
    ini.WriteInteger("a", "y", -5);
    ini.WriteString("c", "name", "备忘");
    EXPECT_EQ(ini.Text(), "; top comment\r\n[a]\r\nx=1\r\n; note\r\ny=-5\r\n\r\n[b]\r\nflag=1\r\n\r\n[c]\r\nname=备忘\r\n");
    ini.DeleteKey("a", "X");
    ini.EraseSection("B");
    EXPECT_EQ(ini.Text(), "; top comment\r\n[a]\r\n; note\r\ny=-5\r\n\r\n[c]\r\nname=备忘\r\n");
    EXPECT_THROW(ini.WriteString("a", "k", "two\r\nlines"), Exception);
    EXPECT_THROW(ini.WriteString("a", "k=v", "x"), Exception);
    EXPECT_EQ(ini.ReadString("a", "k", "none"), "none");
}

TEST(TIniFile, MissingFileGivesDefaultsAndWritesGoStraightToDisk)
{
    TempDir dir;
    const std::string name = dir / "设置.ini";
    {
        TIniFile ini(name);
        EXPECT_EQ(ini.ReadInteger("Main", "Left", 100), 100);
        EXPECT_FALSE(FileExists(name));
        ini.WriteInteger("Main", "Left", 12);
        ini.WriteBool("Main", "Top", true);
    }
    EXPECT_EQ(ReadFileBytes(name), "[Main]\r\nLeft=12\r\nTop=1\r\n");
    TIniFile again(name);
    EXPECT_EQ(again.ReadInteger("main", "left", 0), 12);
    again.WriteString("Other", "s", "农历");
    again.DeleteKey("Main", "Top");
    EXPECT_EQ(ReadFileBytes(name), "[Main]\r\nLeft=12\r\n\r\n[Other]\r\ns=农历\r\n");
}

TEST(TIniFile, TwoInstancesDoNotUndoEachOthersWrites)
{
    TempDir dir;
    TIniFile first(dir / "a.ini");
    TIniFile second(dir / "a.ini");
    first.WriteInteger("s", "a", 1);
    second.WriteInteger("s", "b", 2);
    first.WriteInteger("s", "c", 3);
    EXPECT_EQ(ReadFileBytes(dir / "a.ini"), "[s]\r\na=1\r\nb=2\r\nc=3\r\n");
    EXPECT_EQ(first.ReadInteger("s", "b", 0), 2);
}

TEST(TIniFile, ReadsUtf8WithBomAndGbkFiles)
{
    TempDir dir;
    WriteFileBytes(dir / "bom.ini", "\xEF\xBB\xBF[s]\r\nk=星期\r\n");
    EXPECT_EQ(TIniFile(dir / "bom.ini").ReadString("S", "K", ""), "星期");
    WriteFileBytes(dir / "gbk.ini", Utf8ToGbk("[s]\r\nk=星期\r\n"));
    TIniFile gbk(dir / "gbk.ini");
    EXPECT_EQ(gbk.ReadString("s", "k", ""), "星期");
    gbk.WriteString("s", "n", "1");   // rewritten as UTF-8 without BOM
    EXPECT_EQ(ReadFileBytes(dir / "gbk.ini"), "[s]\r\nk=星期\r\nn=1\r\n");
}

TEST(TIniFile, FailedWriteRaisesAndUndoesTheChange)
{
    TempDir dir;
    TIniFile ini(dir / "no-such-folder" + PathDelim + "a.ini");
    EXPECT_THROW(ini.WriteInteger("s", "k", 1), EInOutError);
    EXPECT_FALSE(ini.ValueExists("s", "k"));
}
