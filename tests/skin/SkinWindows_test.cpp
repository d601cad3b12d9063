#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinResource.h"
#include "tests/framework/WinTestUtil.h"

namespace {

// Saves the screen under a window for a look at it (VORPEN_SKIN_SHOTS names the folder).
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

// The main form carries the skin store, the program's skin and the skinned hint, as the
// clock window does; a control with a hint sits on it.
class SkinnedWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        EnsureApplication();
        InstallSkinMessageBroadcast();
        if (!Application->MainForm()) {
            TForm* form = nullptr;
            Application->CreateForm(form);
            form->SetBorderStyle(bsNone);
            form->SetBounds(40, 40, 300, 200);
            form->SetColor(clWindow);
            form->Show();
        }
    }
    void SetUp() override
    {
        FReal = &CurrentTimerService();
        SetTimerService(&Timers);
        Form = Application->MainForm();
        Stored = new TskCompressedStoredSkin(Form);
        ASSERT_TRUE(LoadProgramSkin(*Stored));
        Data = new TskSkinData(Form);
        Data->SetCompressedStoredSkin(Stored);
        Hint = new TskSkinHint(Form);
        Hint->SetSkinData(Data);
        Application->SetShowHint(true);
        Button = new TCustomControl(Form);
        Button->SetParent(Form);
        Button->SetBounds(20, 20, 80, 30);
        Button->SetHint("新增便签\n第二行提示");
        Button->SetShowHint(true);
    }
    void TearDown() override
    {
        Application->CancelHint();
        Application->SetShowHint(false);
        delete Button;
        delete Hint;
        delete Data;
        delete Stored;
        SetTimerService(FReal);
        Application->SetHintWindowClass([](TComponent* owner) { return new THintWindow(owner); });
    }

    FakeTimerService Timers;
    TForm* Form = nullptr;
    TskCompressedStoredSkin* Stored = nullptr;
    TskSkinData* Data = nullptr;
    TskSkinHint* Hint = nullptr;
    TCustomControl* Button = nullptr;

private:
    TimerService* FReal = nullptr;
};

}  // namespace

TEST_F(SkinnedWindows, TheProgramSkinLoadsFromTheResource)
{
    EXPECT_FALSE(Data->Empty);
    EXPECT_EQ(Data->SkinName, "vorpen");
    EXPECT_EQ(Data->ActivePictureCount(), 5);
}

TEST_F(SkinnedWindows, AControlsHintShowsInTheSkin)
{
    PostMessageW(Button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Application->ProcessMessages();
    Timers.Advance(Application->HintPause);
    Application->ProcessMessages();
    auto* window = dynamic_cast<TskSkinHintWindow*>(Application->HintWindow());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(window->HintSkin(), Data);
    EXPECT_TRUE(window->HasRegion());
    EXPECT_GE(window->Width(), 42);
    EXPECT_GT(window->Height(), 27);   // two lines of text
    const TSkHintGeometry& g = window->Geometry();
    EXPECT_EQ(g.Width, window->Width());
    EXPECT_EQ(window->Height() - g.Frame.ClientRect.Height(), 15);
    EXPECT_EQ(GetWindowLongPtrW(window->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(GetWindowLongPtrW(window->Handle(), GWL_STYLE) & WS_BORDER, 0);
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SaveShot(window->Handle(), "hint");
}

TEST_F(SkinnedWindows, AShortHintKeepsThePictureSizeAndNoSkinGivesThePlainLook)
{
    TskSkinHintWindow window(nullptr);
    window.ActivateHint({300, 300, 300, 300}, "短");
    EXPECT_EQ(window.Width(), 42);
    EXPECT_EQ(window.Height(), 27);
    Hint->SetSkinData(nullptr);
    window.ActivateHint({300, 300, 300, 300}, "短");
    EXPECT_EQ(window.HintSkin(), nullptr);
    EXPECT_FALSE(window.HasRegion());
    EXPECT_LT(window.Width(), 42);
}

TEST_F(SkinnedWindows, OneActiveSkinHintAndNoneMeansNoHint)
{
    auto* second = new TskSkinHint(Form);
    second->SetActive(true);
    EXPECT_FALSE(Hint->Active());
    EXPECT_EQ(TskSkinHint::Find(), second);
    second->SetActive(false);
    EXPECT_EQ(TskSkinHint::Find(), nullptr);
    TskSkinHintWindow window(nullptr);
    window.ActivateHint({300, 300, 300, 300}, "不显示");
    EXPECT_FALSE(window.HandleAllocated() && IsWindowVisible(window.Handle()));
    delete second;
    Hint->SetActive(true);
}
