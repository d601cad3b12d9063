#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/base/FakeTimerService.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinCtrls.h"
#include "skin/win/SkinForm.h"
#include "skin/win/SkinResource.h"
#include "tests/framework/WinTestUtil.h"

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The program's skin with a rolled-up face (the frame's caption band and bottom edge) whose
// caption and buttons carry the roll-up flag, and one skin area.
std::string RollUpSkin()
{
    TskCompressedStoredSkin stored(nullptr);
    EXPECT_TRUE(LoadProgramSkin(stored));
    TPackedSkin skin = UnpackStoredSkin(stored.CompressedData());
    auto band = [](const TSkBitmap& picture) {
        TSkBitmap face(picture.Width(), 33);
        TSkCanvas c(face);
        c.CopyRect({0, 0, picture.Width(), 29}, picture, {0, 0, picture.Width(), 29});
        c.CopyRect({0, 29, picture.Width(), 33}, picture, {0, picture.Height() - 4, picture.Width(), picture.Height()});
        return face;
    };
    skin.RollUpPicture = band(skin.Picture);
    skin.RollUpMask = band(skin.Mask);
    std::string ini = GbkToUtf8(skin.IniText);
    ini = Replace(ini, "rolluppicture=\r\n", "rolluppicture=rollup.bmp\r\n");
    ini = Replace(ini, "rollupmask=\r\n", "rollupmask=rollupmask.bmp\r\n");
    ini = Replace(ini, "[FORMINFO]\r\n", "[FORMINFO]\r\nrollupleftpoint=40,0\r\nrolluprightpoint=53,0\r\n");
    ini = Replace(ini, "[SKINAREAS]\r\ncount=0", "[SKINAREAS]\r\ncount=1\r\n0=area1:10,30,140,40");
    ini = Replace(ini, "[SKINOBJECTS]\r\ncount=7",
                  "[SKINOBJECTS]\r\ncount=9\r\n7=rcaption:caption\r\n8=rclose:stdbutton");
    ini += "[rcaption]\r\nrollup=1\r\nskinrect=24,5,70,27\r\ndefaultcaption=1\r\ntextrect=2,2,44,20\r\n"
           "fontname=宋体\r\nfontheight=-12\r\nfontcolor=16777215\r\nactivefontcolor=16777215\r\n"
           "alignment=taleftjustify\r\n"
           "[rclose]\r\nrollup=1\r\ncommand=cmclose\r\nskinrect=130,7,144,21\r\nactivepictureindex=0\r\n"
           "activeskinrect=48,58,62,72\r\n";
    skin.IniText = Utf8ToGbk(ini);
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    return packed.Bytes();
}

void SaveShot(HWND window, const char* name)
{
    const char* dir = std::getenv("VORPEN_SKIN_SHOTS");
    if (!dir)
        return;
    RECT r{};
    GetWindowRect(window, &r);
    TSkBitmap shot(r.right - r.left + 16, r.bottom - r.top + 16);
    CopyScreenArea(r.left - 8, r.top - 8, shot);
    WriteFileBytes(IncludeTrailingPathDelimiter(dir) + name + ".bmp", SaveBmpToBytes(shot));
}

class SkinnedFace : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        SetCursorPos(1270, 790);
        Form = NewForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetCaption("倒计时");
        Form->SetBounds(300, 300, 300, 160);
        Area = new TskSkinControl(Form);
        Area->SetParent(Form);
        Area->SetAlign(alTop);
        Area->AreaName = "area1";
        Other = new TCustomControl(Form);
        Other->SetParent(Form);
        Other->SetBounds(20, 60, 60, 20);
        Stored = new TskCompressedStoredSkin(Form);
        Stored->SetCompressedData(RollUpSkin());
        Data = new TskSkinData(Form);
        Data->SetCompressedStoredSkin(Stored);
        Skin = new TskSkinForm(Form);
        Skin->SupportNCArea = false;
        Skin->SetSkinData(Data);
        Form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { delete Form; }
    TskActiveSkinObject* Object(const std::string& name)
    {
        for (auto& o : Skin->Objects().Objects)
            if (o->IDName == name)
                return o.get();
        return nullptr;
    }
    TRect Bounds()
    {
        RECT r{};
        GetWindowRect(Form->Handle(), &r);
        return TRect::FromRECT(r);
    }
    TSkPixel ScreenPixel(int x, int y)
    {
        TSkBitmap one(1, 1);
        const TRect b = Bounds();
        CopyScreenArea(b.Left + x, b.Top + y, one);
        return SkRgbPart(one.Pixel(0, 0));
    }
    TForm* Form = nullptr;
    TskSkinControl* Area = nullptr;
    TCustomControl* Other = nullptr;
    TskCompressedStoredSkin* Stored = nullptr;
    TskSkinData* Data = nullptr;
    TskSkinForm* Skin = nullptr;
};

}  // namespace

TEST_F(SkinnedFace, AControlWithAnAreaNameTakesItsAreaForTheSize)
{
    ASSERT_TRUE(Skin->SkinActive());
    EXPECT_EQ(Area->Align(), alNone);
    // The area spans the left-top and right-top zones: it grows with the width (300 - 152).
    EXPECT_EQ(Area->Left(), 10);
    EXPECT_EQ(Area->Top(), 30);
    EXPECT_EQ(Area->Width(), 130 + 148);
    EXPECT_EQ(Area->Height(), 10);
    Form->SetBounds(300, 300, 400, 160);
    Application->ProcessMessages();
    EXPECT_EQ(Area->Width(), 130 + 248);
}

TEST_F(SkinnedFace, RollingUpShowsTheRollUpPictureAndHidesTheControls)
{
    ASSERT_TRUE(Skin->SkinActive());
    const TRect before = Bounds();
    int events = 0;
    Skin->OnChangeRollUpState = [&](TObject*) { ++events; };
    Skin->SetRollUp(true);
    Application->ProcessMessages();
    UpdateWindow(Form->Handle());
    ASSERT_TRUE(Skin->RolledUp());
    EXPECT_EQ(events, 1);
    EXPECT_EQ(Bounds().Height(), 33);
    EXPECT_EQ(Bounds().Width(), before.Width());   // the points stretch it to the form's width
    EXPECT_FALSE(Area->Visible());
    EXPECT_FALSE(Other->Visible());
    EXPECT_TRUE(Skin->HasRegion());
    // The roll-up objects: the close button keeps its distance to the right edge.
    EXPECT_EQ(Object("rclose")->ObjectRect.Left, 130 + 148);
    EXPECT_EQ(Object("rcaption")->ObjectRect.Right, 70 + 148);
    // What is on screen is the roll-up picture: its bottom edge right under the caption.
    const TSkBitmap& picture = Data->FRollUpPicture();
    EXPECT_EQ(ScreenPixel(150, 31), SkRgbPart(picture.Pixel(45, 31)));
    EXPECT_EQ(ScreenPixel(150, 10), SkRgbPart(picture.Pixel(45, 10)));
    SaveShot(Form->Handle(), "face-rolled-up");
    Skin->SetRollUp(false);
    Application->ProcessMessages();
    EXPECT_FALSE(Skin->RolledUp());
    EXPECT_EQ(events, 2);
    EXPECT_EQ(Bounds().Height(), before.Height());
    EXPECT_TRUE(Area->Visible());
    EXPECT_TRUE(Other->Visible());
    SaveShot(Form->Handle(), "face-unrolled");
}
