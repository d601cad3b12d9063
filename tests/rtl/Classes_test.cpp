#include "framework/rtl/Classes.h"
#include "framework/rtl/SysUtils.h"

#include <gtest/gtest.h>

TEST(TStringList, ItemsAndIndexOf)
{
    TStringList list;
    EXPECT_EQ(list.Add("Alpha"), 0);
    EXPECT_EQ(list.Add("星期日"), 1);
    list.Insert(0, "zero");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "zero");
    EXPECT_EQ(list.IndexOf("ALPHA"), 1);
    EXPECT_EQ(list.IndexOf("星期日"), 2);
    EXPECT_EQ(list.IndexOf("beta"), -1);
    list[1] = "Beta";
    list.Delete(0);
    EXPECT_EQ(list[0], "Beta");
    EXPECT_THROW(list[2], EListError);
    EXPECT_THROW(list[-1], EListError);
    EXPECT_THROW(list.Delete(2), EListError);
    EXPECT_THROW(list.Insert(3, "x"), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStringList, TextWithCrLf)
{
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour\r\n");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[2], "three");
    EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    list.SetText("a\r\n\r\nb");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(TStringList, Delimited)
{
    TStringList list;
    list.SetDelimitedText("2024/9//17", '/');
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1], "9");
    EXPECT_EQ(list[2], "");
    EXPECT_EQ(list.DelimitedText('-'), "2024-9--17");
    list.SetDelimitedText("", '/');
    EXPECT_EQ(list.Count(), 0);
    list.SetDelimitedText("a/", '/');
    EXPECT_EQ(list.Count(), 2);
}
