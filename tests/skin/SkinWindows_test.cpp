#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/ImgList.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"
#include "skin/win/SkSystem.h"
#include "skin/win/SkinHint.h"
#include "skin/win/SkinMenus.h"
#include "skin/win/SkinResource.h"
#include "tests/framework/WinTestUtil.h"

namespace {

// The screen under a window (and a margin of 8 around it) once its painting is done.
TSkBitmap Grab(HWND window, int extraWidth = 0)
{
    Application->ProcessMessages();
    RECT r{};
    GetWindowRect(window, &r);
    TSkBitmap shot(r.right - r.left + 16 + extraWidth, r.bottom - r.top + 16);
    CopyScreenArea(r.left - 8, r.top - 8, shot);
    return shot;
}

// Saves the screen under a window for a look at it (VORPEN_SKIN_SHOTS names the folder).
void SaveShot(HWND window, const char* name, int extraWidth = 0)
{
    if (const char* dir = std::getenv("VORPEN_SKIN_SHOTS"))
        WriteFileBytes(IncludeTrailingPathDelimiter(dir) + name + ".bmp", SaveBmpToBytes(Grab(window, extraWidth)));
}

// The main form outlives the tests: an earlier test may have left the mouse over it and the
// form tracking it, and the form's leave, which the system posts once a move goes to another
// window, would come in the middle of the next test. The mouse goes to the screen's corner,
// away from every window of the tests, and the form, tracking no more, has its leave now.
void ParkTheMouse(TForm* form)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10);
    Application->ProcessMessages();
    TRACKMOUSEEVENT t{sizeof t, TME_CANCEL | TME_LEAVE, form->Handle(), 0};
    TrackMouseEvent(&t);
    SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();
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
        ParkTheMouse(Form);
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
    // The cursor in the screen's corner puts the hint across the bottom edge.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10);
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
    // The grab shows the hint's picture, also with the grabbed area past the screen's edge.
    const TSkBitmap shot = Grab(window->Handle());
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_NE(SkRgbPart(shot.Pixel(8 + window->Width() / 2, 8 + 2)), 0u);
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

namespace {

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, const std::string& name = "", int* clicks = nullptr)
{
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    if (!name.empty())
        item->SetName(name);
    if (clicks)
        item->OnClick = [clicks](TObject*) { ++*clicks; };
    parent->Add(item);
    return item;
}

}  // namespace

TEST_F(SkinnedWindows, ASystemMenuOpensIsWalkedByKeysAndRunsOneItem)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    int closes = 0, minimizes = 0;
    AddItem(menu.Items(), "Mi&nimize", "DSF_MINITEM", &minimizes);
    AddItem(menu.Items(), "Ma&ximize", "DSF_MAXITEM")->SetEnabled(false);
    AddItem(menu.Items(), "-");
    AddItem(menu.Items(), "&Close", "DSF_CLOSE", &closes);
    engine.OpenMenu(nullptr, Data, menu.Items(), {100, 100, 100, 100}, 0, false);
    ASSERT_EQ(engine.PopupWindows.size(), 1u);
    TskSkinPopupWindow* window = engine.PopupWindows[0];
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(window->Height(), 83);
    EXPECT_EQ(window->Left(), 100);
    EXPECT_EQ(window->Top(), 100);
    EXPECT_EQ(window->ActiveItem, 0);   // the first item is highlighted on opening
    EXPECT_EQ(GetWindowLongPtrW(window->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(window->ItemObjects[2]->ItemRect.Height(), 7);
    engine.HandleKey(VK_DOWN);   // past the disabled item and the separator
    EXPECT_EQ(window->ActiveItem, 3);
    EXPECT_FALSE(window->ItemObjects[0]->Active);
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SaveShot(window->Handle(), "menu");
    engine.HandleKey(VK_DOWN);
    EXPECT_EQ(window->ActiveItem, 0);
    engine.HandleKey(VK_UP);
    EXPECT_EQ(window->ActiveItem, 3);
    engine.HandleKey(VK_LEFT);   // one level: nothing
    EXPECT_EQ(engine.PopupWindows.size(), 1u);
    engine.HandleKey(VK_RETURN);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(minimizes, 0);
    EXPECT_TRUE(engine.PopupWindows.empty());
    EXPECT_FALSE(engine.ChainOpen);
    Application->ProcessMessages();   // the closed windows go after the message
    engine.HandleKey(VK_RETURN);
    EXPECT_EQ(closes, 1);
}

TEST_F(SkinnedWindows, SubmenusOpenByKeyAndCloseOneLevelAtATime)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    int chosen = 0;
    TMenuItem* more = AddItem(menu.Items(), "更多");
    AddItem(more, "便签", "", &chosen);
    AddItem(more, "倒计时");
    AddItem(menu.Items(), "退出");
    engine.OpenMenu(nullptr, Data, menu.Items(), {200, 150, 200, 150}, 0, false);
    ASSERT_EQ(engine.PopupWindows.size(), 1u);
    engine.HandleKey(VK_DOWN);
    engine.HandleKey(VK_UP);   // moving onto a parent item never opens its submenu
    EXPECT_EQ(engine.PopupWindows.size(), 1u);
    engine.HandleKey(VK_RIGHT);
    ASSERT_EQ(engine.PopupWindows.size(), 2u);
    TskSkinPopupWindow* first = engine.PopupWindows[0];
    TskSkinPopupWindow* sub = engine.PopupWindows[1];
    EXPECT_TRUE(first->ItemObjects[0]->SubmenuOpen);
    EXPECT_EQ(sub->Left(), first->Left() + first->ItemObjects[0]->ItemRect.Right + 1);
    EXPECT_EQ(sub->Top() + sub->ItemObjects[0]->ItemRect.Top, first->Top() + first->ItemObjects[0]->ItemRect.Top);
    RedrawWindow(sub->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(first->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SaveShot(first->Handle(), "submenu", sub->Width());
    engine.HandleKey(VK_LEFT);
    EXPECT_EQ(engine.PopupWindows.size(), 1u);
    EXPECT_FALSE(first->ItemObjects[0]->SubmenuOpen);
    engine.HandleKey(VK_RIGHT);
    engine.HandleKey(VK_RETURN);
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(engine.PopupWindows.empty());
    engine.OpenMenu(nullptr, Data, menu.Items(), {200, 150, 200, 150}, 0, false);
    engine.HandleKey(VK_ESCAPE);
    EXPECT_TRUE(engine.PopupWindows.empty());
    Application->ProcessMessages();
}

TEST_F(SkinnedWindows, ThePointerRestingOnAParentItemOpensItsSubmenuLater)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    AddItem(menu.Items(), "打开");
    TMenuItem* more = AddItem(menu.Items(), "更多");
    AddItem(more, "便签");
    engine.OpenMenu(nullptr, nullptr, menu.Items(), {200, 150, 200, 150}, 0, false);   // no skin: plain look
    TskSkinPopupWindow* window = engine.PopupWindows.at(0);
    EXPECT_EQ(window->Height(), 20 * 2 + 6);
    const TRect r = window->ItemObjects[1]->ItemRect;
    window->HoverAt(r.Left + 5, r.Top + 5);
    EXPECT_EQ(engine.PopupWindows.size(), 1u);
    Timers.Advance(499);
    EXPECT_EQ(engine.PopupWindows.size(), 1u);
    Timers.Advance(1);
    EXPECT_EQ(engine.PopupWindows.size(), 2u);
    engine.CloseMenu();
    Application->ProcessMessages();
}

TEST_F(SkinnedWindows, AMenuTallerThanTheWorkAreaScrolls)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    for (int i = 0; i < 60; ++i)
        AddItem(menu.Items(), "便签 " + std::to_string(i + 1));
    engine.OpenMenu(nullptr, Data, menu.Items(), {100, 100, 100, 100}, 0, false);
    TskSkinPopupWindow* window = engine.PopupWindows.at(0);
    ASSERT_TRUE(window->Scrolling());
    EXPECT_EQ(window->Top(), engine.WorkArea.Top);
    EXPECT_EQ(window->Height(), engine.WorkArea.Height());
    EXPECT_EQ(window->ItemObjects[0]->ItemRect.Top, 8 + 10);   // below the up band
    const TRect last = window->ItemObjects[static_cast<size_t>(window->VisibleCount() - 1)]->ItemRect;
    // The pointer rests in the down band (the window polls the real cursor too).
    SetCursorPos(window->Left() + 20, window->Top() + last.Bottom + 5);
    window->HoverAt(20, last.Bottom + 5);
    EXPECT_EQ(window->ScrollState, 2);
    Timers.Advance(300);
    EXPECT_EQ(window->FirstVisible(), 3);
    EXPECT_FALSE(window->ItemObjects[0]->InView);
    SetCursorPos(window->Left() + 20, window->Top() + 100);
    window->HoverAt(20, 100);
    EXPECT_EQ(window->ScrollState, 0);
    Timers.Advance(300);
    EXPECT_EQ(window->FirstVisible(), 3);
    engine.CloseMenu();
    Application->ProcessMessages();
}

TEST_F(SkinnedWindows, MorphingItemsFadeToTheirHighlight)
{
    TPackedSkin skin = UnpackStoredSkin(Stored->CompressedData());
    const std::string from = "unenabledfontcolor=10526880\r\nmorphing=0";
    const size_t at = skin.IniText.find(from);
    ASSERT_NE(at, std::string::npos);
    skin.IniText.replace(at, from.size(), "unenabledfontcolor=10526880\r\nmorphing=1\r\nmorphkind=mkgradient");
    TMemoryStream plain(WritePackedSkin(skin)), packed;
    CompressStream(plain, packed);
    TskCompressedStoredSkin morphing(nullptr);
    morphing.SetCompressedData(packed.Bytes());
    TskSkinData data(nullptr);
    data.SetCompressedStoredSkin(&morphing);
    ASSERT_FALSE(data.Empty);

    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    AddItem(menu.Items(), "打开");
    AddItem(menu.Items(), "关闭");
    engine.OpenMenu(nullptr, &data, menu.Items(), {100, 100, 100, 100}, 0, false);
    TskSkinPopupWindow* window = engine.PopupWindows.at(0);
    EXPECT_EQ(window->ItemObjects[0]->MorphFactor, 0.0);
    Timers.Advance(20 * 2);
    EXPECT_NEAR(window->ItemObjects[0]->MorphFactor, 0.4, 1e-9);
    Timers.Advance(20 * 5);
    EXPECT_EQ(window->ItemObjects[0]->MorphFactor, 1.0);
    engine.HandleKey(VK_DOWN);
    Timers.Advance(20 * 10);
    EXPECT_EQ(window->ItemObjects[0]->MorphFactor, 0.0);
    EXPECT_EQ(window->ItemObjects[1]->MorphFactor, 1.0);
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    engine.CloseMenu();
    Application->ProcessMessages();
}

TEST_F(SkinnedWindows, EveryFormHearsTheSkinLoad)
{
    std::vector<UINT> heard;
    const TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& m) {
        if (m.Msg >= WMS_SKINCHANGING && m.Msg <= WMS_SKINAPPLIED) {
            EXPECT_EQ(m.LParam, 1000);
            heard.push_back(m.Msg);
        }
        old(m);
    };
    TskSkinData data(nullptr);
    data.SetCompressedStoredSkin(Stored);
    Form->WindowProc = old;
    EXPECT_EQ(heard, (std::vector<UINT>{WMS_SKINCHANGING, WMS_SKINCHANGED, WMS_SKINAPPLIED}));
}

namespace {

// Each colour part of p lies strictly between those of a and b where they differ, and is
// theirs where they agree.
bool StrictlyBetween(TSkPixel p, TSkPixel a, TSkPixel b)
{
    for (int shift : {0, 8, 16}) {
        const int v = (p >> shift) & 255, x = (a >> shift) & 255, y = (b >> shift) & 255;
        if (x == y ? v != x : v <= std::min(x, y) || v >= std::max(x, y))
            return false;
    }
    return true;
}

}  // namespace

// Without layered windows the menu takes the screen behind it before it shows and blends its
// background and its items with it: a point of an item and one of the window's frame show a
// colour between their own and the screen's.
TEST_F(SkinnedWindows, WithoutLayeredWindowsMenuAlphaIsBlendedWithTheScreenBehind)
{
    ASSERT_FALSE(IsLayeredAlphaSystem());
    // The screen behind, settled (a closed menu's place is painted again at once).
    auto settle = [this] {
        RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Application->ProcessMessages();
    };
    Form->SetColor(static_cast<TColor>(0x206020));   // unlike the skin's colours
    settle();
    const TPoint at{100, 100};
    TSkBitmap behind(200, 100);
    CopyScreenArea(at.X, at.Y, behind);
    TPopupMenu menu(nullptr);
    AddItem(menu.Items(), "打开");
    std::vector<TSkPixel> own, blended, screen;
    for (bool alpha : {false, true}) {
        TskSkinMenu engine(Form);
        engine.AlphaBlend = alpha;
        engine.AlphaBlendValue = 128;
        engine.OpenMenu(nullptr, Data, menu.Items(), {at.X, at.Y, at.X, at.Y}, 0, false);
        TskSkinPopupWindow* window = engine.PopupWindows.at(0);
        if (alpha) {
            EXPECT_FALSE(IsWindowVisible(window->Handle()));   // the screen is taken first
            Timers.Advance(100);
            EXPECT_TRUE(window->HasScreenCapture());
            EXPECT_EQ(window->ActiveItem, 0);
            EXPECT_EQ(GetWindowLongPtrW(window->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        }
        EXPECT_TRUE(IsWindowVisible(window->Handle()));
        Timers.Advance(200);   // the highlighted item's morph, if any, ends
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT r{};
        GetWindowRect(window->Handle(), &r);
        ASSERT_EQ(r.left, at.X);
        ASSERT_EQ(r.top, at.Y);
        const TRect item = window->ItemObjects.at(0)->ItemRect;
        // Clear of the caption at the item's right end; the frame left of the item.
        const TPoint points[] = {{item.Right - 4, (item.Top + item.Bottom) / 2}, {item.Left / 2, (item.Top + item.Bottom) / 2}};
        const TSkBitmap shot = Grab(window->Handle());
        for (const TPoint& p : points) {
            (alpha ? blended : own).push_back(shot.Pixel(8 + p.X, 8 + p.Y));
            if (!alpha)
                screen.push_back(behind.Pixel(p.X, p.Y));
        }
        engine.CloseMenu();
        settle();
    }
    for (size_t i = 0; i < own.size(); ++i) {
        ASSERT_NE(SkRgbPart(own[i]), SkRgbPart(screen[i])) << i;
        EXPECT_TRUE(StrictlyBetween(blended[i], own[i], screen[i]))
            << i << std::hex << " " << blended[i] << " " << own[i] << " " << screen[i];
    }
    Form->SetColor(clWindow);
}

TEST_F(SkinnedWindows, ObjectHintsShowAfterThePauseAndGoAfterTheHidePause)
{
    Hint->ShowHintDelayed("最小化");
    Timers.Advance(Application->HintPause - 1);
    EXPECT_FALSE(Hint->HintWindow()->HandleAllocated() && IsWindowVisible(Hint->HintWindow()->Handle()));
    Timers.Advance(1);
    ASSERT_TRUE(IsWindowVisible(Hint->HintWindow()->Handle()));
    EXPECT_EQ(Hint->HintWindow()->Caption(), "最小化");
    EXPECT_EQ(Hint->HintWindow()->HintSkin(), Data);
    Timers.Advance(Application->HintHidePause);
    EXPECT_FALSE(IsWindowVisible(Hint->HintWindow()->Handle()));
    Application->ProcessMessages();
    Hint->ShowHintDelayed("关闭");
    Hint->HideHint();   // the cursor moved on before the pause ended
    Timers.Advance(Application->HintPause * 2);
    EXPECT_FALSE(IsWindowVisible(Hint->HintWindow()->Handle()));
    Application->ProcessMessages();
}

namespace {

int CountColour(const TSkBitmap& b, const TRect& r, TSkPixel colour)
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
            n += SkRgbPart(b.Pixel(x, y)) == SkRgbPart(colour);
    return n;
}

}  // namespace

// Each item shows its picture of the menu's image list, by its own index; items without an
// index, or past the list's end, show none.
TEST_F(SkinnedWindows, MenuItemsDrawTheirPicturesOfTheMenusImageList)
{
    TImageList images(nullptr);
    TBitmap strip(32, 16);
    const TColor colours[] = {static_cast<TColor>(0x0000FF), static_cast<TColor>(0x00FF00)};
    for (int i = 0; i < 2; ++i) {
        strip.Canvas().Brush().SetColor(colours[i]);
        strip.Canvas().FillRect({i * 16, 0, i * 16 + 16, 16});
        strip.Canvas().Brush().SetColor(static_cast<TColor>(0xFF00FF));   // the transparent corner
        strip.Canvas().FillRect({i * 16, 15, i * 16 + 1, 16});
    }
    EXPECT_EQ(images.Add(strip), 0);
    EXPECT_EQ(images.Count(), 2);
    TBitmap wrong(16, 12);
    EXPECT_THROW(images.Add(wrong), EInvalidOperation);
    EXPECT_EQ(images.Count(), 2);

    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    menu.SetImages(&images);
    AddItem(menu.Items(), "新建便签")->SetImageIndex(1);
    AddItem(menu.Items(), "查询备忘录")->SetImageIndex(0);
    AddItem(menu.Items(), "退出")->SetImageIndex(2);
    engine.OpenMenu(nullptr, Data, menu.Items(), {100, 100, 100, 100}, 0, false);
    ASSERT_EQ(engine.PopupWindows.size(), 1u);
    TskSkinPopupWindow* window = engine.PopupWindows[0];
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const TSkBitmap shot = Grab(window->Handle());
    auto in = [&](int item, TSkPixel colour) {
        const TRect r = window->ItemObjects[size_t(item)]->ItemRect;
        return CountColour(shot, {r.Left + 8, r.Top + 8, r.Right + 8, r.Bottom + 8}, colour);
    };
    EXPECT_EQ(in(0, SkRgb(0, 255, 0)), 255);   // every pixel but the transparent corner
    EXPECT_EQ(in(0, SkRgb(255, 0, 0)), 0);
    EXPECT_EQ(in(1, SkRgb(255, 0, 0)), 255);
    EXPECT_EQ(in(2, SkRgb(255, 0, 0)) + in(2, SkRgb(0, 255, 0)), 0);
    EXPECT_EQ(in(0, SkRgb(255, 0, 255)), 0);
    SaveShot(window->Handle(), "menu-images");
    engine.CloseMenu();
}

// Items write in the resource strings' character set over the default item font's, in the
// default look (a skin without an item record) and in the skin's look without the skin's
// font: an item so painted is the item painted in a default font of that set.
TEST_F(SkinnedWindows, MenuItemsWriteInTheResourceStringsCharacterSet)
{
    TskResourceStrData texts(nullptr);
    texts.CharSet = GB2312_CHARSET;
    // The start of the second (not highlighted) item: the windows may differ in width.
    auto paint = [&](BYTE charset, bool withTexts) {
        TskSkinMenu engine(Form);
        engine.UseSkinFont = false;
        engine.DefaultItemFont.SetName("DejaVu Sans");
        engine.DefaultItemFont.SetCharset(charset);
        Data->SetResourceStrData(withTexts ? &texts : nullptr);
        TPopupMenu menu(nullptr);
        AddItem(menu.Items(), "File 便签");
        AddItem(menu.Items(), "Exit 退出");
        engine.OpenMenu(nullptr, Data, menu.Items(), {100, 100, 100, 100}, 0, false);
        TskSkinPopupWindow* window = engine.PopupWindows.at(0);
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const TSkBitmap shot = Grab(window->Handle());
        const TRect r = window->ItemObjects.at(1)->ItemRect;
        TSkBitmap start(80, r.Height());
        for (int y = 0; y < start.Height(); ++y)
            for (int x = 0; x < start.Width(); ++x)
                start.SetPixel(x, y, shot.Pixel(8 + r.Left + x, 8 + r.Top + y));
        Data->SetResourceStrData(nullptr);
        engine.CloseMenu();
        Application->ProcessMessages();
        return start;
    };
    for (bool defaultLook : {false, true}) {
        if (defaultLook) {   // test-only skin data: no window picture, no item record
            Data->PopupWindow.WindowPictureIndex = -1;
            for (auto& o : Data->ObjectList)
                if (o->IDName == "MENUITEM" || o->IDName == "menuitem")
                    o->IDName = "unused";
        }
        const TSkBitmap gb = paint(GB2312_CHARSET, false);
        ASSERT_NE(paint(ANSI_CHARSET, false), gb) << defaultLook;   // the set shows in the pixels
        EXPECT_EQ(paint(ANSI_CHARSET, true), gb) << defaultLook;
    }
}

// A menu window (flat: no Ctl3D, none taken from a parent) whose skin record names a cursor
// takes that skin cursor's screen number (the record's cursorindex + 1); no cursor has it,
// so the arrow shows.
TEST_F(SkinnedWindows, AMenuWindowTakesItsRecordsSkinCursor)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    AddItem(menu.Items(), "便签");
    for (int index : {-1, 2}) {
        Data->PopupWindow.CursorIndex = index;   // test-only skin data
        engine.OpenMenu(nullptr, Data, menu.Items(), {200, 150, 200, 150}, 0, false);
        ASSERT_EQ(engine.PopupWindows.size(), 1u);
        TskSkinPopupWindow* window = engine.PopupWindows[0];
        ASSERT_NE(window->PopupRecord, nullptr);
        EXPECT_FALSE(window->Ctl3D() || window->ParentCtl3D());
        EXPECT_EQ(window->Cursor(), index == -1 ? crDefault : 3);
        SendMessageW(window->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window->Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
        engine.HandleKey(VK_ESCAPE);
        Application->ProcessMessages();
    }
}

// An item's action update that raises as a menu opens leaves no level behind that never
// showed (it would take every key): the menu is closed and the exception goes on.
TEST_F(SkinnedWindows, AnActionUpdateThatRaisesLeavesNoMenuLevelOpen)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    TAction action(nullptr);
    action.OnUpdate = [](TObject*) { throw Exception("更新失败"); };
    AddItem(menu.Items(), "新建便签");
    AddItem(menu.Items(), "打印")->SetAction(&action);
    EXPECT_THROW(engine.OpenMenu(nullptr, Data, menu.Items(), {200, 150, 200, 150}, 0, false), Exception);
    EXPECT_TRUE(engine.PopupWindows.empty());
    EXPECT_FALSE(engine.HandleKey(VK_ESCAPE));
    Application->ProcessMessages();
}

// Before a menu window shows, each visible item that has an action updates it; the window
// then shows what the update set, and leaves out an item the update hid. A hidden item's
// action is left alone.
TEST_F(SkinnedWindows, MenuItemsUpdateTheirActionsBeforeTheMenuShows)
{
    TskSkinMenu engine(Form);
    TPopupMenu menu(nullptr);
    TAction action(nullptr), hiddenAction(nullptr);
    int updates = 0, hiddenUpdates = 0;
    bool shownAtUpdate = true;
    action.OnUpdate = [&](TObject*) {
        ++updates;
        shownAtUpdate = !engine.PopupWindows.empty() && IsWindowVisible(engine.PopupWindows[0]->Handle());
        action.SetCaption("新建便签（已满）");
        action.SetEnabled(false);
    };
    hiddenAction.OnUpdate = [&](TObject*) { ++hiddenUpdates; };
    TMenuItem* item = AddItem(menu.Items(), "新建便签");
    item->SetAction(&action);
    hiddenAction.SetVisible(false);
    AddItem(menu.Items(), "隐藏")->SetAction(&hiddenAction);
    AddItem(menu.Items(), "退出");
    TAction hidingAction(nullptr);
    hidingAction.OnUpdate = [&](TObject*) { hidingAction.SetVisible(false); };
    TMenuItem* hiding = AddItem(menu.Items(), "打印");
    hiding->SetAction(&hidingAction);
    engine.OpenMenu(nullptr, Data, menu.Items(), {200, 150, 200, 150}, 0, false);
    ASSERT_EQ(engine.PopupWindows.size(), 1u);
    TskSkinPopupWindow* window = engine.PopupWindows[0];
    EXPECT_FALSE(hiding->Visible());
    for (const auto& shown : window->ItemObjects)
        EXPECT_NE(shown->MenuItem, hiding);
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(shownAtUpdate);
    EXPECT_EQ(hiddenUpdates, 0);
    ASSERT_EQ(window->ItemObjects.size(), 2u);
    EXPECT_EQ(item->Caption(), "新建便签（已满）");
    EXPECT_FALSE(item->Enabled());
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SaveShot(window->Handle(), "menu-item-action");
    engine.CloseMenu();
    Application->ProcessMessages();
}

namespace {

// The pixels of a colour on the one-pixel outline of r, as far as it lies within clip.
int CountOnOutline(const TSkBitmap& b, const TRect& r, const TRect& clip, TSkPixel colour)
{
    auto within = [&clip](TRect x) {
        return TRect{std::max(x.Left, clip.Left), std::max(x.Top, clip.Top), std::min(x.Right, clip.Right),
                     std::min(x.Bottom, clip.Bottom)};
    };
    return CountColour(b, within(r), colour) -
           CountColour(b, within({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}), colour);
}

}  // namespace

// With a 20-pixel image list the glyph column is 25 wide: the band and the column take it,
// each picture stands at the column's left, a checked item's picture is framed in the text
// colour and the caption starts after the column, in the default look and in the skin's. A
// disabled item's picture is drawn disabled: its shape embossed, none of its colours.
TEST_F(SkinnedWindows, TwentyPixelMenuImagesKeepTheirColumn)
{
    TImageList images(nullptr);
    images.SetSize(20, 20);
    TBitmap strip(40, 20);
    const TColor colours[] = {static_cast<TColor>(0x0000FF), static_cast<TColor>(0x00FF00)};
    for (int i = 0; i < 2; ++i) {
        strip.Canvas().Brush().SetColor(colours[i]);
        strip.Canvas().FillRect({i * 20, 0, i * 20 + 20, 20});
        strip.Canvas().Brush().SetColor(static_cast<TColor>(0xFF00FF));
        strip.Canvas().FillRect({i * 20, 19, i * 20 + 1, 20});
    }
    images.Add(strip);
    const TSkPixel pictures[] = {SkRgb(255, 0, 0), SkRgb(0, 255, 0)};
    for (TskSkinData* skin : {static_cast<TskSkinData*>(nullptr), Data}) {
        TskSkinMenu engine(Form);
        engine.DefaultItemHeight = 24;   // room for the checked frame in the default look
        TPopupMenu menu(nullptr);
        menu.SetImages(&images);
        AddItem(menu.Items(), "新建便签")->SetImageIndex(0);
        TMenuItem* checked = AddItem(menu.Items(), "查询备忘录");
        checked->SetImageIndex(1);
        checked->SetChecked(true);
        AddItem(menu.Items(), "退出");
        TMenuItem* disabled = AddItem(menu.Items(), "打印");
        disabled->SetImageIndex(0);
        disabled->SetEnabled(false);
        engine.OpenMenu(nullptr, skin, menu.Items(), {100, 100, 100, 100}, 0, false);
        ASSERT_EQ(engine.PopupWindows.size(), 1u);
        TskSkinPopupWindow* window = engine.PopupWindows[0];
        EXPECT_EQ(window->GlyphWidth, 25);
        RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const TSkBitmap shot = Grab(window->Handle());
        const int textLeft = skin ? window->ItemRecord->TextRct.Left : 2;
        const int text = skin ? window->ItemRecord->Font.Color : static_cast<int>(ColorToRGB(clWindowText));
        for (int i = 0; i < 2; ++i) {
            const TRect item = window->ItemObjects[size_t(i)]->ItemRect;
            const int x = 8 + item.Left + textLeft + (skin ? 2 : 0);
            const int y = 8 + (item.Top + item.Bottom) / 2 - 10;
            // The whole picture (but its transparent corner) in its place: no caption over it.
            EXPECT_EQ(CountColour(shot, {x, y, x + 20, y + 20}, pictures[i]), 399) << i << " " << (skin != nullptr);
            // The caption starts after the column: nothing of it before the column's end.
            const int captionLeft = 8 + item.Left + textLeft + 25;
            EXPECT_EQ(CountColour(shot, {x + 21, 8 + item.Top, captionLeft, 8 + item.Bottom}, SkPixelFromColor(text)), 0);
            const int ring = CountOnOutline(shot, {x - 1, y - 1, x + 21, y + 21},
                                            {8 + item.Left, 8 + item.Top, 8 + item.Right, 8 + item.Bottom},
                                            SkPixelFromColor(text));
            if (i == 0)
                EXPECT_EQ(ring, 0);
            else if (!skin)
                EXPECT_EQ(ring, 84);   // the whole frame
            else
                EXPECT_EQ(ring, 40);   // the item of the skin is as high as the picture: its sides
        }
        {
            const TRect item = window->ItemObjects[3]->ItemRect;
            const int x = 8 + item.Left + textLeft + (skin ? 2 : 0);
            const int y = 8 + (item.Top + item.Bottom) / 2 - 10;
            EXPECT_EQ(CountColour(shot, {8 + item.Left, 8 + item.Top, 8 + item.Right, 8 + item.Bottom}, pictures[0]), 0)
                << (skin != nullptr);
            EXPECT_GE(CountColour(shot, {x, y, x + 20, y + 20}, SkPixelFromColor(static_cast<int>(ColorToRGB(clBtnShadow)))),
                      399)
                << (skin != nullptr);
            if (!skin) {   // the highlight one pixel down and right shows past the shape; the corner stays clear
                EXPECT_EQ(SkRgbPart(shot.Pixel(x + 20, y + 20)),
                          SkRgbPart(SkPixelFromColor(static_cast<int>(ColorToRGB(clBtnHighlight)))));
                EXPECT_EQ(SkRgbPart(shot.Pixel(x, y + 19)), SkRgbPart(SkPixelFromColor(static_cast<int>(ColorToRGB(clBtnFace)))));
            }
        }
        if (!skin) {
            // The unhighlighted item's column is the band's colour up to its end.
            const TRect item = window->ItemObjects[1]->ItemRect;
            EXPECT_EQ(SkRgbPart(shot.Pixel(8 + item.Left + 24, 8 + item.Top + 1)),
                      SkRgbPart(SkPixelFromColor(static_cast<int>(ColorToRGB(clBtnFace)))));
        }
        SaveShot(window->Handle(), skin ? "menu-images-20-skinned" : "menu-images-20-default");
        engine.CloseMenu();
        Application->ProcessMessages();
    }
}
