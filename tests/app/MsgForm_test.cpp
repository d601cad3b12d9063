// The message pop-up window under Wine, its timers driven by hand: the check box only for
// festivals, growth for tall texts, the slide in, rest and out, stacking, a click during
// the slide-in, the painted background; with VORPEN_SHOTS set, screenshots of the window.
#include "app/win/MsgFrm.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "../db/DataFileCopy.h"
#include "app/core/MsgPopup.h"
#include "app/core/dbhouse.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"

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
        delete dbhouse;
        dbhouse = nullptr;
    }
    // Ticks of 15 ms until `done` holds; false when it never does within `limit` ticks.
    bool TickUntil(const std::function<bool()>& done, int limit = 400)
    {
        for (int i = 0; i < limit && !done(); ++i)
            timers.Advance(15);
        return done();
    }
    static TPoint At(TMsgForm* f) { return {f->Left(), f->Top()}; }
    TPoint Rest(TMsgForm* f)
    {
        const TRect work = GetWorkArea();
        return {work.Right - f->Width(), work.Bottom - f->Height()};
    }
    void OpenData()
    {
        dbhouse = new Tdbhouse(nullptr);
        dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
        dbhouse->democnn->Open();
    }
    std::string Value(const std::string& sql)
    {
        TADOQuery& q = *dbhouse->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        q.Open();
        std::string v = q.IsEmpty() ? "<none>" : q.Fields(0).AsString();
        q.Close();
        return v;
    }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataFileCopy file;
};

}  // namespace

TEST_F(MsgForm, OnlyAFestivalPopupOffersTheCheckBoxAndConfirmsItsOwnRow)
{
    OpenData();
    TADOQuery& ins = *dbhouse->qok;
    ins.Close();
    ins.SQL.Clear();
    ins.SQL.Add("insert into sz_jrb (jrmc, rqlx, realyr, qrbz) values ('生日', '阳历', '05-10', '0')");
    ins.ExecSQL();
    const std::string iid = Value("select max(iid) from sz_jrb");

    TMsgForm* memo = ShowMsgPopup("交电费;  " + iid + " ", 1);
    EXPECT_FALSE(memo->cb1->Visible());
    EXPECT_EQ(memo->editiid->Text(), "0");
    EXPECT_EQ(memo->lblMsg->Caption(), "交电费;  " + iid + " ");
    memo->cb1->SetChecked(true);   // even checked by code it confirms nothing (and slides out)
    EXPECT_EQ(Value("select qrbz from sz_jrb where iid=" + iid), "0");

    TMsgForm* festival = ShowMsgPopup("今天是：生日;" + iid, 1, StrToInt(iid));
    EXPECT_TRUE(festival->cb1->Visible());
    EXPECT_EQ(festival->editiid->Text(), iid);
    EXPECT_EQ(festival->lblMsg->Caption(), "今天是：生日;" + iid);
    festival->cb1->SetChecked(true);
    EXPECT_EQ(Value("select qrbz from sz_jrb where iid=" + iid), "1");
    EXPECT_TRUE(festival->tmFadeOut->Enabled());   // confirming also sends it away
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
}

TEST_F(MsgForm, SlidesUpAtTheBottomRightRestsUntilClickedThenLeavesAndIsFreed)
{
    TMsgForm* f = ShowMsgPopup("会议", 1);
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(At(f).X, GetWorkArea().Right - f->Width());
    ASSERT_TRUE(TickUntil([&] { return f->tmDelay->Enabled(); }));
    EXPECT_EQ(At(f), Rest(f));
    EXPECT_FALSE(f->tmFadeIn->Enabled());
    timers.Advance(60 * 60 * 1000);   // an hour later it still rests
    EXPECT_EQ(At(f), Rest(f));
    EXPECT_FALSE(f->tmFadeOut->Enabled());

    f->FormClick(f->lblMsg);
    ASSERT_TRUE(TickUntil([&] { return !f->tmFadeOut->Enabled(); }));
    EXPECT_GE(f->Top(), GetWorkArea().Bottom - 2);
    ASSERT_EQ(OpenMsgPopups().size(), 1u);
    Application->ProcessMessages();   // the close frees it after the tick
    EXPECT_TRUE(OpenMsgPopups().empty());
}

TEST_F(MsgForm, WithFiveSecondsItLeavesByItself)
{
    MsgPopupSeconds = 5;
    TMsgForm* f = ShowMsgPopup("会议", 1);
    ASSERT_TRUE(TickUntil([&] { return f->tmDelay->Enabled(); }));
    EXPECT_EQ(f->tmDelay->Interval(), 5000u);
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
    bool secondAbove = false;
    for (HWND h = GetWindow(second->Handle(), GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == first->Handle())
            secondAbove = true;
    EXPECT_TRUE(secondAbove);
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

TEST_F(MsgForm, BackgroundIsTheKindsGradientWithAGreyFrame)
{
    struct Case {
        uint8_t kind;
        uint32_t to;
        const char* icon;
    };
    for (const Case& c : {Case{1, 0x80E0F0, ""}, Case{2, 0xE0F080, "警告"}, Case{0, 0xF08080, "错误"}}) {
        TMsgForm* f = ShowMsgPopup("提示", c.kind);
        TBitmap& bg = f->BackBitmap();
        EXPECT_EQ(bg.Width(), 206);
        EXPECT_EQ(f->ColorTo(), c.to);
        EXPECT_EQ(f->lblIcon->Caption(), c.icon);
        EXPECT_EQ(bg.PixelARGB(0, 50) & 0xFFFFFF, 0x777777u);   // left frame line
        EXPECT_EQ(bg.PixelARGB(100, 0) & 0xFFFFFF, 0x777777u);  // top frame line
        EXPECT_EQ(bg.PixelARGB(1, 50) & 0xFFFFFF, 0xFFFFFFu);
        std::vector<uint32_t> row(206);
        MsgPopupGradientRow(0xFFFFFF, c.to, 206, row.data());
        for (int x : {50, 150, 205})
            EXPECT_EQ(bg.PixelARGB(x, 100) & 0xFFFFFF, row[x]) << x;
    }
}

namespace {

// Copies the screen around the pop-up into a BMP file.
void Grab(TMsgForm* f, const std::string& path)
{
    const TRect work = GetWorkArea();
    const int w = f->Width() + 40, h = f->Height() + 40;
    const int x = work.Right - w, y = f->Top() < work.Top + 10 ? work.Top : work.Bottom - h;
    TBitmap shot(w, h);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, w, h, screen, x, y, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    shot.SetPixelFormat(pf24bit);
    shot.SaveToFile(path);
}

void Settle()
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

}  // namespace

TEST_F(MsgForm, Screenshots)
{
    const char* dir = std::getenv("VORPEN_SHOTS");
    if (!dir)
        GTEST_SKIP() << "set VORPEN_SHOTS to a folder to take screenshots";
    TMsgForm* f = ShowMsgPopup("明天上午九点开项目评审会，\r\n记得带上周报和测试结果。", 1);
    for (int i = 0; i < 24; ++i)
        timers.Advance(15);
    Settle();
    Grab(f, std::string(dir) + "\\popup-sliding.bmp");
    ASSERT_TRUE(TickUntil([&] { return f->tmDelay->Enabled(); }));
    Settle();
    Grab(f, std::string(dir) + "\\popup-resting.bmp");
    MsgPopupSide = MsgSideTopRight;
    TMsgForm* festival = ShowMsgPopup("距离：国庆节 还有3天;7", 1, 7);
    ASSERT_TRUE(TickUntil([&] { return festival->tmDelay->Enabled(); }));
    Settle();
    Grab(festival, std::string(dir) + "\\popup-festival.bmp");
}
