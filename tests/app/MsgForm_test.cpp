// The message pop-up window under Wine, its timers driven by hand: the check box only for
// festivals, growth for tall texts, the slide in, rest and out, stacking, a click during
// the slide-in, the painted background.
#include "app/win/MsgFrm.h"

#include <gtest/gtest.h>

#include <tuple>

#include "DataModule.h"
#include "app/core/MsgPopup.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"
#include "tests/organizer/WinShot.h"

namespace {

class MsgForm : public testing::Test {
protected:
    void SetUp() override
    {
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        MsgPopupSide = MsgSideBottomRight;
        MsgPopupSeconds = 9999999;
    }
    void TearDown() override
    {
        FreeMsgPopups();
        Application->ProcessMessages();
        SetTimerService(oldTimers);
    }
    // 15 ms ticks until `done` holds; false when it never does within `limit` ticks.
    bool TickUntil(const std::function<bool()>& done, int limit = 400)
    {
        for (int i = 0; i < limit && !done(); ++i)
            timers.Advance(15);
        return done();
    }
    static TPoint At(TMsgForm* f) { return {f->Left(), f->Top()}; }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
};

}  // namespace

TEST_F(MsgForm, OnlyAFestivalPopupOffersTheCheckBoxAndConfirmsItsOwnRow)
{
    DataModule data;
    data.Exec("insert into sz_jrb (jrmc, rqlx, realyr, qrbz) values ('生日', '阳历', '05-10', '0')");
    const std::string iid = data.Value("select max(iid) from sz_jrb");
    const std::string qrbz = "select qrbz from sz_jrb where iid=" + iid;

    TMsgForm* memo = ShowMsgPopup("交电费;  " + iid + " ", 1);
    EXPECT_FALSE(memo->cb1->Visible());
    EXPECT_EQ(memo->editiid->Text(), "0");
    EXPECT_EQ(memo->lblMsg->Caption(), "交电费;  " + iid + " ");
    memo->cb1->SetChecked(true);   // even checked by code it confirms nothing (and slides out)
    EXPECT_EQ(data.Value(qrbz), "0");

    TMsgForm* festival = ShowMsgPopup("今天是：生日;" + iid, 1, StrToInt(iid));
    EXPECT_TRUE(festival->cb1->Visible());
    EXPECT_EQ(festival->editiid->Text(), iid);
    EXPECT_EQ(festival->lblMsg->Caption(), "今天是：生日;" + iid);
    festival->cb1->SetChecked(true);
    EXPECT_EQ(data.Value(qrbz), "1");
    EXPECT_TRUE(festival->tmFadeOut->Enabled());   // confirming also sends it away
}

// editiid shows the festival row the check box confirms, where the window description puts
// it (under the check box's right end); typing cannot change it.
TEST_F(MsgForm, TheRowNumberIsShownAndCannotBeTypedOver)
{
    TMsgForm* festival = ShowMsgPopup("今天是：生日;42", 1, 42);
    ASSERT_TRUE(TickUntil([&] { return !festival->tmFadeIn->Enabled(); }));
    const HWND edit = festival->editiid->Handle();
    EXPECT_TRUE(IsWindowVisible(edit));
    EXPECT_EQ(festival->editiid->BoundsRect(), TRect(128, 6, 193, 26));
    SaveShot(*festival, "msg-popup-festival");
    // Where the two overlap, the check box lies above: its caption stays whole and clickable.
    const TPoint overlap = festival->ClientToScreen({160, 16});
    EXPECT_EQ(WindowFromPoint(POINT{overlap.X, overlap.Y}), festival->cb1->Handle());
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"42");
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    SendMessageW(edit, WM_CHAR, L'7', 0);
    EXPECT_EQ(festival->editiid->Text(), "42");

    TMsgForm* memo = ShowMsgPopup("交电费", 1);
    ASSERT_TRUE(TickUntil([&] { return !memo->tmFadeIn->Enabled(); }));
    EXPECT_TRUE(IsWindowVisible(memo->editiid->Handle()));
    SaveShot(*memo, "msg-popup-memo");
}

TEST_F(MsgForm, ATallTextGrowsLabelAndWindowByTheDifferenceAndAShortOneKeepsTheDesign)
{
    TMsgForm* shortOne = ShowMsgPopup("短", 1);
    const int designed = shortOne->Height();
    EXPECT_EQ(shortOne->ClientHeight(), 159);
    EXPECT_EQ(shortOne->lblMsg->Height(), 123);

    std::string tall;
    for (int i = 0; i < 30; ++i)
        tall += "备忘录的内容很长，";
    TMsgForm* tallOne = ShowMsgPopup(tall, 1);
    const int d = tallOne->lblMsg->Height() - 123;
    EXPECT_GT(d, 0);
    EXPECT_EQ(tallOne->Height(), designed + d);
    EXPECT_EQ(tallOne->BackBitmap().Height(), tallOne->ClientHeight());
    EXPECT_EQ(At(tallOne).Y, GetWorkArea().Bottom - 1);   // starts just below the work area

    std::string many;   // the tray summary with many entries
    for (int i = 0; i < 200; ++i)
        many += "今天：节日\n\r";
    TMsgForm* longest = ShowMsgPopup(many, 1);
    EXPECT_EQ(longest->Height(), GetWorkArea().Height());
    EXPECT_EQ(longest->BackBitmap().Height(), longest->ClientHeight());
}

TEST_F(MsgForm, SlidesUpAtTheBottomRightRestsUntilClickedThenLeavesAndIsFreed)
{
    TMsgForm* f = ShowMsgPopup("会议", 1);
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(At(f).X, GetWorkArea().Right - f->Width());
    ASSERT_TRUE(TickUntil([&] { return f->tmDelay->Enabled(); }));
    const TPoint rest{GetWorkArea().Right - f->Width(), GetWorkArea().Bottom - f->Height()};
    EXPECT_EQ(At(f), rest);
    timers.Advance(60 * 60 * 1000);   // an hour later it still rests
    EXPECT_EQ(At(f), rest);
    EXPECT_FALSE(f->tmFadeOut->Enabled());

    f->FormClick(f->lblMsg);
    ASSERT_TRUE(TickUntil([&] { return !f->tmFadeOut->Enabled(); }));
    EXPECT_GE(f->Top(), GetWorkArea().Bottom - 2);
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    Application->ProcessMessages();   // the close frees it after the tick
    EXPECT_TRUE(OpenMsgPopups().empty());

    MsgPopupSeconds = 5;   // a rest that ends by itself
    f = ShowMsgPopup("会议", 1);
    ASSERT_TRUE(TickUntil([&] { return f->tmDelay->Enabled(); }));
    timers.Advance(4990);
    EXPECT_FALSE(f->tmFadeOut->Enabled());
    timers.Advance(15);
    EXPECT_TRUE(f->tmFadeOut->Enabled());
}

TEST_F(MsgForm, TwoMessagesRestAtOnePlaceTheLaterOneOnTop)
{
    TMsgForm* first = ShowMsgPopup("一", 1);
    TMsgForm* second = ShowMsgPopup("二", 1);
    ASSERT_TRUE(TickUntil([&] { return first->tmDelay->Enabled() && second->tmDelay->Enabled(); }));
    EXPECT_EQ(At(first), At(second));
    EXPECT_EQ((std::vector<TMsgForm*>{first, second}), OpenMsgPopups());
    // The later one lies above the earlier one (other windows may lie between them).
    HWND below = second->Handle();
    while (below && below != first->Handle())
        below = GetWindow(below, GW_HWNDNEXT);
    EXPECT_EQ(below, first->Handle());
}

TEST_F(MsgForm, AClickDuringTheSlideInReversesAtTheSpeedReached)
{
    TMsgForm* f = ShowMsgPopup("会议", 1);
    for (int i = 0; i < 12; ++i)
        timers.Advance(15);
    ASSERT_TRUE(f->tmFadeIn->Enabled());
    EXPECT_EQ(f->Step(), 12);
    const int top = f->Top();
    f->FormClick(f);
    EXPECT_FALSE(f->tmFadeIn->Enabled());
    timers.Advance(15);
    EXPECT_EQ(f->Step(), 11);
    EXPECT_EQ(f->Top(), top + MsgPopupSpeed(11));
    timers.Advance(15);
    EXPECT_EQ(f->Top(), top + MsgPopupSpeed(11) + MsgPopupSpeed(10));
}

TEST_F(MsgForm, KindGivesGradientAndIconTextAndTheBackgroundIsFramedInGrey)
{
    for (auto [kind, to, icon] : {std::tuple{1, 0x80E0F0u, ""}, {2, 0xE0F080u, "警告"}, {0, 0xF08080u, "错误"}}) {
        TMsgForm* f = ShowMsgPopup("提示", uint8_t(kind));
        EXPECT_EQ(f->ColorTo(), to);
        EXPECT_EQ(f->lblIcon->Caption(), icon);
    }
    TBitmap& bg = OpenMsgPopups().back()->BackBitmap();
    EXPECT_EQ(bg.PixelARGB(0, 50) & 0xFFFFFF, 0x777777u);
    EXPECT_EQ(bg.PixelARGB(100, 0) & 0xFFFFFF, 0x777777u);
    EXPECT_EQ(bg.PixelARGB(1, 50) & 0xFFFFFF, 0xFFFFFFu);
}
