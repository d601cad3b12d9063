#include <gtest/gtest.h>

#include <climits>
#include <set>

#include <vector>

#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/IniFiles.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/spzlibcompress.h"
#include "tests/skin/SkinTestUtil.h"

namespace {

std::string OurSkinBytes() { return ReadFileBytes(std::string(VORPEN_SKIN_DIR) + "/vorpen.skn"); }

// Our skin's pictures with another INI text (UTF-8 here, stored as GBK).
std::string WithIni(const std::string& ini)
{
    TPackedSkin skin = UnpackStoredSkin(OurSkinBytes());
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

std::string OurIni() { return GbkToUtf8(UnpackStoredSkin(OurSkinBytes()).IniText); }

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class SkinStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        TskSkinData::MessageSink() = [this](TskSkinData* sender, unsigned message) {
            EXPECT_EQ(sender, &FData);
            FMessages.push_back(message);
        };
    }
    void TearDown() override { TskSkinData::MessageSink() = nullptr; }
    void Load(const std::string& bytes)
    {
        FStored.SetCompressedData(bytes);
        FMessages.clear();
        FData.SetCompressedStoredSkin(&FStored);
    }
    TskCompressedStoredSkin FStored;
    TskSkinData FData{nullptr};
    std::vector<unsigned> FMessages;
};

const std::vector<unsigned> kLoaded{WMS_SKINCHANGING, WMS_SKINCHANGED, WMS_SKINAPPLIED};

}  // namespace

TEST_F(SkinStore, LoadsOurSkin)
{
    Load(OurSkinBytes());
    ASSERT_FALSE(FData.Empty);
    EXPECT_EQ(FMessages, kLoaded);
    EXPECT_EQ(FData.SkinName, "vorpen");
    EXPECT_EQ(FData.FPicture().Width(), 152);
    EXPECT_EQ(FData.FMask().Height(), 125);
    // The inactive frame: as large as the frame, its caption band differing.
    EXPECT_EQ(FData.FInActivePicture().Width(), 152);
    EXPECT_NE(FData.FInActivePicture().Pixel(60, 14), FData.FPicture().Pixel(60, 14));
    EXPECT_EQ(FData.FInActivePicture().Pixel(60, 60), FData.FPicture().Pixel(60, 60));
    EXPECT_EQ(FData.ActivePictureCount(), 5);
    EXPECT_EQ(FData.ActivePicture(5), nullptr);
    EXPECT_EQ(FData.ActivePicture(-1), nullptr);
    EXPECT_EQ(FData.ObjectList.size(), 7u);
    ASSERT_EQ(FData.CtrlList.size(), 2u);
    EXPECT_EQ(FData.IndexOfSkinControl("resizebutton"), 0);
    EXPECT_EQ(FData.IndexOfSkinControl("panel"), 1);
    EXPECT_EQ(FData.IndexOfSkinControl("Panel"), -1);   // lookup by name is exact

    auto* button = dynamic_cast<TskDataSkinButtonControl*>(FData.CtrlList[0].get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->SkinRect, (TRect{3, 240, 27, 261}));
    EXPECT_EQ(button->DisabledFontColor, 0);   // "clGray" is no number
    EXPECT_EQ(button->Font.Name, "宋体");
    EXPECT_NE(dynamic_cast<TskDataSkinPanelControl*>(FData.CtrlList[1].get()), nullptr);

    auto* item = dynamic_cast<TskDataSkinMenuItem*>(FData.ObjectList[FData.IndexOfSkinObject("menuitem")].get());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->SkinRect.Height(), 20);
    EXPECT_EQ(item->DividerRect.Height(), 7);
    EXPECT_EQ(item->TextRct, (TRect{2, 2, 60, 18}));
    auto* close = dynamic_cast<TskDataSkinStdButton*>(FData.ObjectList[FData.IndexOfSkinObject("closebutton")].get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Command, cmClose);

    EXPECT_EQ(FData.HintWindow.WindowPictureIndex, 3);
    EXPECT_EQ(FData.HintWindow.ClRect, (TRect{3, 8, 40, 20}));
    EXPECT_EQ(FData.HintWindow.RBPoint, (TPoint{26, 18}));
    EXPECT_EQ(FData.ActivePicture(3)->Width(), 42);
    EXPECT_EQ(FData.PopupWindow.ItemsRect, (TRect{3, 8, 62, 61}));
    EXPECT_EQ(FData.ActivePicture(1)->Height(), 69);
    EXPECT_EQ(FData.FormInfo.ClRect, (TRect{5, 29, 147, 120}));
    EXPECT_EQ(FData.FormInfo.BorderWidth, 3);
    EXPECT_EQ(FData.FormInfo.MaskRectArea, FData.FormInfo.ClRect);   // a named mask fills in the area
    EXPECT_EQ(FData.FormInfo.HitTestRBPoint, (TPoint{53, 100}));
}

TEST_F(SkinStore, TheShippedSkinIsPackedFromItsIniAndBitmaps)
{
    TskCompressedStoredSkin fresh;
    fresh.PackSkinFromIni(std::string(VORPEN_SKIN_DIR) + "/SKIN.INI");
    const TPackedSkin a = UnpackStoredSkin(fresh.CompressedData()), b = UnpackStoredSkin(OurSkinBytes());
    EXPECT_EQ(a.Picture, b.Picture);
    EXPECT_EQ(a.Mask, b.Mask);
    EXPECT_EQ(a.ActivePictures, b.ActivePictures);
    EXPECT_EQ(a.IniText, b.IniText);
    EXPECT_NE(b.IniText.find("\r\n"), std::string::npos);
}

TEST_F(SkinStore, TheTestSkinTurnsOnMorphingAndTheInactiveEffect)
{
    std::string ini = Replace(OurIni(), "autorenderinginactiveimage=0", "autorenderinginactiveimage=1");
    ini = Replace(ini, "inactiveeffect=iebrightness", "inactiveeffect=iesplitblur");
    ini = Replace(ini, "unenabledfontcolor=10526880\r\nmorphing=0", "unenabledfontcolor=10526880\r\nmorphing=1\r\nmorphkind=mkleftslide");
    Load(WithIni(ini));
    ASSERT_FALSE(FData.Empty);
    EXPECT_TRUE(FData.FormInfo.AutoRenderingInActiveImage);
    EXPECT_EQ(FData.FormInfo.InActiveEffect, TImageEffect::ieSplitBlur);
    const auto& item = *FData.ObjectList[FData.IndexOfSkinObject("menuitem")];
    EXPECT_TRUE(item.Morphing);
    EXPECT_EQ(item.MorphKind, TMorphKind::mkLeftSlide);
}

TEST_F(SkinStore, CountsAreBoundedByTheKeysAndUnknownTypesSkipped)
{
    Load(WithIni("[VERSION]\r\n[PICTURES]\r\nactivepicturescount=9\r\n0=a.bmp\r\n"
                 "[SKINOBJECTS]\r\ncount=2000000000\r\n0=a:caption\r\n2=b:stdbutton\r\n3=nocolon\r\n4=c:header\r\n"
                 "[SKINCONTROLS]\r\ncount=3\r\n0=x:grid\r\n1=y:memo\r\n5=z:panel\r\n"
                 "[SKINAREAS]\r\ncount=2\r\n0=top:1,2,3,4\r\n"
                 "[x]\r\nbgpictureindex=7\r\nfontname=Tahoma\r\n[y]\r\nbgcolor=255\r\nfontheight=9\r\n"));
    ASSERT_FALSE(FData.Empty);
    EXPECT_EQ(FData.ActivePictureNames, std::vector<std::string>{"a.bmp"});
    ASSERT_EQ(FData.ObjectList.size(), 2u);
    EXPECT_EQ(FData.ObjectList[1]->ClassName(), "TskDataSkinStdButton");
    ASSERT_EQ(FData.CtrlList.size(), 2u);
    auto* grid = dynamic_cast<TskDataSkinKeyedControl*>(FData.CtrlList[0].get());
    auto* memo = dynamic_cast<TSkinKeyedValues*>(FData.CtrlList[1].get());
    ASSERT_TRUE(grid && memo);
    EXPECT_EQ(grid->ClassName(), "TskDataSkinGridControl");
    EXPECT_EQ(FData.CtrlList[1]->ClassName(), "TskDataSkinMemoControl");
    EXPECT_EQ(std::get<int>(*grid->Value("bgpictureindex")), 7);
    EXPECT_EQ(std::get<std::string>(*grid->Value("fontname")), "Tahoma");
    EXPECT_EQ(std::get<std::string>(*grid->Value("fixedfontname")), "Arial");
    EXPECT_EQ(std::get<int>(*memo->Value("bgcolor")), 255);   // memo adds to edit
    EXPECT_EQ(std::get<int>(*memo->Value("fontheight")), 9);
    EXPECT_NE(memo->Value("unenabledbuttonrect"), nullptr);
    ASSERT_EQ(FData.Areas.size(), 1u);
    EXPECT_EQ(FData.Areas[0].AreaRect, (TRect{1, 2, 3, 4}));
    // Missing sections give records of defaults.
    EXPECT_EQ(FData.HintWindow.WindowPictureIndex, -1);
    EXPECT_EQ(FData.HintWindow.FontHeight, 14);
}

// Every control type that adds to the custom control is read as a custom control: its
// corner points and client rectangle are there for a skinned control to size itself by.
TEST_F(SkinStore, TheCustomControlFamilyKeepsItsCornerPointsAndClientRectangle)
{
    const std::vector<std::string> family = {"expanel", "checkradio", "gauge", "splitter", "trackbar", "label",
                                             "bitlabel", "updown", "controlbar", "edit", "memo", "listbox",
                                             "checklistbox", "combobox", "scrollbar", "spinedit", "scrollbox"};
    const std::vector<std::string> others = {"stdlabel", "frameregulator", "framegauge", "animate", "switch", "grid",
                                             "tab", "mainmenubar", "treeview", "listview", "richedit", "slider",
                                             "bevel"};
    std::string ini = "[VERSION]\r\n[PICTURES]\r\n[SKINCONTROLS]\r\ncount=" +
                      std::to_string(family.size() + others.size()) + "\r\n";
    std::string sections;
    int i = 0;
    for (const auto* list : {&family, &others})
        for (const std::string& type : *list) {
            ini += std::to_string(i) + "=c" + std::to_string(i) + ":" + type + "\r\n";
            sections += "[c" + std::to_string(i) + "]\r\npictureindex=0\r\nskinrect=10,20,40,50\r\n"
                        "lefttoppoint=3,4\r\nrighttoppoint=25,4\r\nleftbottompoint=3,26\r\n"
                        "rightbottompoint=25,26\r\nclientrect=2,2,28,28\r\nbgpictureindex=5\r\n";
            ++i;
        }
    Load(WithIni(ini + sections));
    ASSERT_EQ(FData.CtrlList.size(), family.size() + others.size());
    for (size_t k = 0; k < FData.CtrlList.size(); ++k) {
        const TskDataSkinControl* record = FData.CtrlList[k].get();
        const bool custom = k < family.size();
        SCOPED_TRACE(record->ClassName());
        const auto* c = dynamic_cast<const TskDataSkinCustomControl*>(record);
        ASSERT_EQ(c != nullptr, custom);
        EXPECT_EQ(record->SkinRect, (TRect{10, 20, 40, 50}));
        ASSERT_NE(dynamic_cast<const TSkinKeyedValues*>(record), nullptr);
        if (custom) {
            EXPECT_EQ(c->LTPoint, (TPoint{3, 4}));
            EXPECT_EQ(c->RBPoint, (TPoint{25, 26}));
            EXPECT_EQ(c->ClRect, (TRect{2, 2, 28, 28}));
            // The corner keys are the record's own, not kept twice.
            EXPECT_EQ(dynamic_cast<const TSkinKeyedValues*>(record)->Value("rightbottompoint"), nullptr);
        }
    }
    const auto& box = dynamic_cast<const TSkinKeyedValues&>(*FData.CtrlList[16]);
    EXPECT_EQ(FData.CtrlList[16]->ClassName(), "TskDataSkinScrollBoxControl");
    EXPECT_EQ(std::get<int>(*box.Value("bgpictureindex")), 5);
}

TEST_F(SkinStore, FormInfoCornerPointsAndMaskArea)
{
    const std::string head = "[VERSION]\r\n[PICTURES]\r\n";
    Load(WithIni(head + "mask=m.bmp\r\n[FORMINFO]\r\nclientrect=5,29,147,120\r\nmaskrectarea=10,2,100,130\r\n"
                        "lefttoppoint=2,40\r\nrighttoppoint=150,2\r\nleftbottompoint=1,125\r\n"
                        "rightbottompoint=160,124\r\nhittestlefttoppoint=0,9\r\n"));
    const TskSkinFormInfo& f = FData.FormInfo;
    EXPECT_EQ(f.MaskRectArea, (TRect{5, 2, 147, 130}));
    EXPECT_EQ(f.HitTestLTPoint, (TPoint{2, 40}));   // taken before the corners are clamped
    EXPECT_EQ(f.LTPoint, (TPoint{5, 40}));
    EXPECT_EQ(f.RTPoint, (TPoint{147, 29}));
    EXPECT_EQ(f.LBPoint, (TPoint{5, 120}));
    EXPECT_EQ(f.RBPoint, (TPoint{147, 120}));

    Load(WithIni(head + "[FORMINFO]\r\nclientrect=5,29,147,120\r\nlefttoppoint=2,40\r\nrightbottompoint=2,124\r\n"));
    EXPECT_EQ(FData.FormInfo.LTPoint, (TPoint{2, 40}));   // LT.x = RB.x: nothing is clamped
    EXPECT_EQ(FData.FormInfo.MaskRectArea, TRect{});     // no mask name: as read
}

TEST_F(SkinStore, ABrokenSkinLeavesTheStoreEmptyAndSaysNoMore)
{
    const std::string good = OurSkinBytes();
    for (size_t cut = 0; cut < good.size(); cut += 97) {
        Load(good.substr(0, cut));
        if (cut == 0) {
            EXPECT_TRUE(FMessages.empty());   // no data: nothing happens
            continue;
        }
        SCOPED_TRACE(cut);
        EXPECT_TRUE(FData.Empty);
        EXPECT_EQ(FMessages, std::vector<unsigned>{WMS_SKINCHANGING});
        EXPECT_TRUE(FData.ObjectList.empty());
        EXPECT_EQ(FData.ActivePicture(0), nullptr);
    }
    Load(WithIni(Replace(OurIni(), "skinrect=3,240,27,261", "skinrect=3,240,,261")));
    EXPECT_TRUE(FData.Empty);
    EXPECT_TRUE(FData.CtrlList.empty());
    TMemoryStream plain(std::string("\4\0\0\0", 4)), packed;
    CompressStream(plain, packed);
    Load(packed.Bytes());
    EXPECT_TRUE(FData.Empty);
    EXPECT_EQ(FMessages, std::vector<unsigned>{WMS_SKINCHANGING});
    Load(good);
    EXPECT_EQ(FMessages, kLoaded);
}

TEST_F(SkinStore, RecordsWriteTheKeysTheyRead)
{
    Load(WithIni(Replace(OurIni(), "[SKINCONTROLS]\r\ncount=2", "[SKINCONTROLS]\r\ncount=3\r\n2=lb:checklistbox") +
                 "[lb]\r\nfontstyle=fsitalic\r\nalignment=tacenter\r\nitemrect=1,2,3,4\r\nvscrollbarname=v2\r\n"));
    ASSERT_EQ(FData.CtrlList.size(), 3u);
    TMemIniFile saved;
    for (auto& c : FData.CtrlList)
        c->SaveToIni(saved);
    for (auto& o : FData.ObjectList)
        o->SaveToIni(saved);
    FData.HintWindow.SaveToIni(saved);
    for (size_t i = 0; i < FData.CtrlList.size(); ++i) {
        auto copy = CreateSkinControlRecord(i == 0 ? "button" : i == 1 ? "panel" : "checklistbox", FData.CtrlList[i]->IDName);
        copy->LoadFromIni(saved);
        TMemIniFile again;
        copy->SaveToIni(again);
        EXPECT_EQ(again.Text(), [&] { TMemIniFile one; FData.CtrlList[i]->SaveToIni(one); return one.Text(); }());
    }
    EXPECT_EQ(saved.ReadString("closebutton", "command", ""), "cmclose");
    EXPECT_EQ(saved.ReadString("lb", "itemrect", ""), "1,2,3,4");
    EXPECT_EQ(saved.ReadString("lb", "vscrollbarname", ""), "v2");
    EXPECT_EQ(saved.ReadString("menuitem", "textrect", ""), "2,2,60,18");
    TskDataSkinHintWindow hint;
    hint.LoadFromIni(saved);
    EXPECT_EQ(hint.ClRect, FData.HintWindow.ClRect);
}

// The resource-string store starts with its 75 built-in texts under distinct names; the
// lookup takes the text after the first "=" of the named line.
TEST(ResourceStrData, SeventyFiveDistinctDefaultsAndTheLookup)
{
    TskResourceStrData r(nullptr);
    ASSERT_EQ(r.ResStrings.Count(), 75);
    std::set<std::string> names;
    for (int i = 0; i < r.ResStrings.Count(); ++i) {
        const std::string& line = r.ResStrings[i];
        const size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        EXPECT_GT(eq, 0u) << line;
        EXPECT_LT(eq + 1, line.size()) << line;
        EXPECT_TRUE(names.insert(line.substr(0, eq)).second) << line;
    }
    const std::pair<const char*, const char*> known[] = {
        {"MI_MINCAPTION", "Mi&nimize"}, {"MI_ROLLUPCAPTION", "Ro&llUp"}, {"MINBUTTON_HINT", "Minimize"},
        {"MENUBUTTON_HINT", "System menu"}, {"MI_CLOSECAPTION", "&Close"}, {"NO_SUCH_TEXT", ""}, {"MI_MIN", ""}};
    for (const auto& [name, text] : known)
        EXPECT_EQ(r.GetResStr(name), text) << name;
    r.ResStrings.Add("A=b=c");
    EXPECT_EQ(r.GetResStr("A"), "b=c");
}

// A record's cursorindex (any integer a skin file holds) gives a screen cursor number: none
// below 0, the start number onward from 0, and none where the number would not fit.
TEST(SkinCursorNumber, EveryStoredIndexGivesANumberOrNone)
{
    const struct { int index, number; } cases[] = {
        {INT_MIN, 0}, {-2, 0}, {-1, 0}, {0, 1}, {2, 3}, {INT_MAX - 1, INT_MAX}, {INT_MAX, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TskSkinData::CursorNumber(c.index), c.number) << c.index;
}
