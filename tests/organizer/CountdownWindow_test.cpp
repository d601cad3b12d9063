// The countdown windows, their settings dialogs and the manager on a private data file:
// loading a slot, the LEDs as painted, dragging with real mouse input, the dialog's saves
// and the manager's marking. With VORPEN_SHOTS set, each window is also saved as a BMP
// into that folder (32-bit; convert with -alpha off).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../db/DataFileCopy.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Dialogs.h"
#include "organizer/win/djs.h"
#include "organizer/win/djscx.h"
#include "organizer/win/djssz.h"
#include "organizer/win/FloatingWindow.h"
#include "organizer/win/Unit1.h"
#include "organizer/win/bqgl.h"
#include "organizer/win/bqr.h"
#include "tests/framework/WinTestUtil.h"
#include "tests/organizer/RealDrag.h"
#include "tests/organizer/WinShot.h"

namespace {

const TDateTime kNow = EncodeDateTime(2026, 3, 10, 10, 0, 0, 0);

void SaveShot(HWND window, const char* name)
{
    if (const char* dir = std::getenv("VORPEN_SHOTS"))
        SaveShot(window, dir, name);
}

class Countdowns : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        SetClockSource([] { return kNow; });
        dbhouse = new Tdbhouse(nullptr);
        dbhouse->democnn->SetConnectionString(DataConnectionString(file.Folder()));
        dbhouse->democnn->Open();
        LoadPositions();
        window = NewForm<TFormdjs1>(nullptr);
        window3 = NewForm<TFormdjs3>(nullptr);
        dialog = NewForm<TFormdjssz>(nullptr);
        manager = NewForm<TFormdjscx>(nullptr);
        for (TCountdownForm* w : {static_cast<TCountdownForm*>(window), static_cast<TCountdownForm*>(window3)})
            for (TTimer* t : {w->Floating->Timer5, w->Floating->Timer6})
                t->SetEnabled(false);
    }
    void TearDown() override
    {
        delete manager;
        delete dialog;
        delete window3;
        delete window;
        delete dbhouse;
        dbhouse = nullptr;
        SetClockSource(nullptr);
        for (int slot = 1; slot <= kCountdownSlots; ++slot)
            CountdownTarget(slot) = 0;
    }
    void LoadPositions()
    {
        for (const TPositionKey& k : PositionKeys) {
            *k.X = std::stoi(Value("select xz from sz_fzb where bz='" + std::string(k.Key) + "'"));
            *k.Y = std::stoi(Value("select yz from sz_fzb where bz='" + std::string(k.Key) + "'"));
        }
    }
    TADOQuery& Run(const std::string& sql)
    {
        TADOQuery& q = *dbhouse->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        return q;
    }
    void Exec(const std::string& sql) { Run(sql).ExecSQL(); }
    std::string Value(const std::string& sql)
    {
        TADOQuery& q = Run(sql);
        q.Open();
        std::string value = q.IsEmpty() ? "<none>" : q.Fields(0).AsString();
        q.Close();
        return value;
    }
    std::string Leds(TCountdownForm* w)
    {
        return w->nled1->Text() + "|" + w->nled2->Text() + "|" + w->nled3->Text() + "|" + w->nled4->Text();
    }

    DataFileCopy file;
    TFormdjs1* window = nullptr;
    TFormdjs3* window3 = nullptr;
    TFormdjssz* dialog = nullptr;
    TFormdjscx* manager = nullptr;
    MessageBoxRecorder boxes;
};

// The fourteen floating windows at the places a new data file gives them, at their real
// sizes (the memo board at its full twelve rows): apart from each other and whole on a
// 1280 x 800 screen with a 40-pixel task bar, clear of the docking edges.
TEST_F(Countdowns, TheShippedFirstPlacesKeepTheWindowsApart)
{
    std::vector<std::unique_ptr<TForm>> forms;
    forms.emplace_back(NewForm<TForm1>(nullptr));
    forms.emplace_back(NewForm<TFormbqgl>(nullptr));
    forms.emplace_back(NewForm<TFormbqr1>(nullptr));
    forms.emplace_back(NewForm<TFormbqr2>(nullptr));
    forms.emplace_back(NewForm<TFormbqr3>(nullptr));
    forms.emplace_back(NewForm<TFormbqr4>(nullptr));
    forms.emplace_back(NewForm<TFormbqr5>(nullptr));
    forms.emplace_back(NewForm<TFormbqr6>(nullptr));
    forms.emplace_back(NewForm<TFormbqr7>(nullptr));
    forms.emplace_back(NewForm<TFormdjs1>(nullptr));
    forms.emplace_back(NewForm<TFormdjs2>(nullptr));
    forms.emplace_back(NewForm<TFormdjs3>(nullptr));
    forms.emplace_back(NewForm<TFormdjs4>(nullptr));
    forms.emplace_back(NewForm<TFormdjs5>(nullptr));
    ASSERT_EQ(forms.size(), PositionKeys.size());
    std::vector<TRect> places;
    for (size_t i = 0; i < forms.size(); ++i) {
        const TRect r = Bounds(*PositionKeys[i].X, *PositionKeys[i].Y, forms[i]->Width(), forms[i]->Height());
        EXPECT_TRUE(r.Left > 20 && r.Top > 20 && r.Right < 1280 - 20 && r.Bottom <= 800 - 40)
            << PositionKeys[i].Key << " " << r.Left << "," << r.Top << " " << r.Width() << "x" << r.Height();
        places.push_back(r);
    }
    EXPECT_EQ(places[1].Height(), 12 * 39);
    for (size_t i = 0; i < places.size(); ++i)
        for (size_t j = i + 1; j < places.size(); ++j) {
            const TRect &a = places[i], &b = places[j];
            EXPECT_TRUE(a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top)
                << PositionKeys[i].Key << " covers " << PositionKeys[j].Key;
        }
}

TEST_F(Countdowns, ShowLoadsTheSlotAndPlacesTheWindow)
{
    Exec("update sz_djsb set zt='期末考试', zdsj='2026-03-12 13:04:30', sjbz='1' where bz='倒计时1'");
    window->Show();
    EXPECT_EQ(window->Label4->Caption(), "期末考试");
    EXPECT_EQ(Leds(window), "00|02|03|04");
    EXPECT_EQ(window->Left(), 750);
    EXPECT_EQ(window->Top(), 161);
    EXPECT_EQ(window->ClientWidth(), 214);
    EXPECT_EQ(window->ClientHeight(), 59);
    EXPECT_FALSE(dbhouse->qcx->Active());

    SetClockSource([] { return kNow + 2; });
    window->Timer1Timer(window->Timer1);
    EXPECT_EQ(Leds(window), "00|00|03|04");
    SetClockSource([] { return kNow + 3; });
    window->Timer1Timer(window->Timer1);
    EXPECT_EQ(Leds(window), "00|00|00|00");   // past the target: zeros, nothing else

    Exec("update sz_djsb set zdsj='2026-08-07 10:00:00' where bz='倒计时1'");
    SetClockSource([] { return kNow; });
    window->Close();
    window->Show();
    EXPECT_EQ(Leds(window), "00|150|00|00");
}

// Days past 99 widen the days LED; what stands right of it moves along and the window
// widens, so that no control covers another; back under 100 days, the design width.
TEST_F(Countdowns, ManyDaysMoveTheHoursAndMinutesRightOfTheDays)
{
    Exec("update sz_djsb set zt='远', zdsj='2026-03-10 10:00:00', sjbz='1' where bz='倒计时1'");
    window->Show();
    for (int days : {272, 9999, 100, 5, 99}) {
        CountdownTarget1 = kNow + days + 3.0 / 24;
        window->Timer1Timer(window->Timer1);
        EXPECT_EQ(window->nled2->Text(), LedNumberText(days));
        auto right = [](TControl* c) { return c->Left() + c->Width(); };
        EXPECT_GE(window->Label1->Left(), right(window->nled2)) << days;
        EXPECT_GE(window->nled3->Left(), right(window->nled2)) << days;
        EXPECT_GE(window->nled4->Left(), right(window->nled3)) << days;
        EXPECT_LE(window->nled4->Left() + window->nled4->Width(), window->ClientWidth()) << days;
        EXPECT_EQ(window->ClientWidth() == 214, days < 100) << days;
        EXPECT_EQ(window->Label4->Width(), window->ClientWidth());
    }
    CountdownTarget1 = kNow + 272 + 3.0 / 24;
    window->Timer1Timer(window->Timer1);
    SaveShot(window->Handle(), "countdown-272-days");
}

TEST_F(Countdowns, TheSettingsDialogAndTheRecordsOpenCentredOnTheScreen)
{
    for (TForm* f : {static_cast<TForm*>(dialog), static_cast<TForm*>(manager)}) {
        f->Show();
        EXPECT_NEAR(f->Left() + f->Width() / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << f->Name();
        EXPECT_NEAR(f->Top() + f->Height() / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1) << f->Name();
        f->Close();
    }
}

TEST_F(Countdowns, TheLedsPaintReadableDigits)
{
    Exec("update sz_djsb set zt='倒计时1', zdsj='2026-03-12 13:04:30', sjbz='1' where bz='倒计时1'");
    window->Show();
    SaveShot(window->Handle(), "countdown");
    TBitmap image;
    image.SetSize(window->ClientWidth(), window->ClientHeight());
    window->PaintTo(image.Canvas().Handle(), 0, 0);
    // nled2 shows "02": the first cell lights its top bar but not its middle bar.
    const int x = window->nled2->Left() + 4 + 8, top = window->nled2->Top() + 4;
    EXPECT_EQ(image.PixelARGB(x, top + 1) & 0xFFFFFF, 0xF7FF00u);          // lit: 0x00FFF7 as RGB
    EXPECT_EQ(image.PixelARGB(x, top + 15) & 0xFFFFFF, 0x636363u);         // unlit
    EXPECT_EQ(image.PixelARGB(window->nled2->Left() + 1, top - 2) & 0xFFFFFF, 0x4A424Au);   // background
}

TEST_F(Countdowns, AnUnreadableRowShowsZerosAndTheOthersGoOn)
{
    Exec("update sz_djsb set zdsj='not a date', sjbz='1', zt='坏' where bz='倒计时1'");
    Exec("update sz_djsb set zdsj='2026-03-11 11:00:00', sjbz='1', zt='好' where bz='倒计时3'");
    CountdownTarget1 = kNow + 5;
    window->Show();
    window3->Show();
    EXPECT_EQ(Leds(window), "00|00|00|00");
    EXPECT_EQ(window->Label4->Caption(), "坏");
    EXPECT_DOUBLE_EQ(CountdownTarget1, 0);
    EXPECT_EQ(Leds(window3), "00|01|01|00");
    EXPECT_EQ(window->Left(), 750);   // still placed
    window->Timer1Timer(window->Timer1);
    EXPECT_TRUE(boxes.Calls.empty());

    Exec("delete from sz_djsb where bz='倒计时1'");
    window->Close();
    window->Show();
    EXPECT_EQ(Leds(window), "00|00|00|00");
    EXPECT_EQ(window->Label4->Caption(), "");
}

TEST_F(Countdowns, ALeftButtonDragMovesTheWindowAndCloseStoresIt)
{
    window->Show();
    ASSERT_EQ(window->Left(), 750);
    // Across the window without a button: recorded, not moved.
    Countdown1PosX = Countdown1PosY = -1;
    MouseAt(790, 169);   // over the title, a drag surface
    MouseAt(830, 171);
    PumpUntil([] { return Countdown1PosX == 750; }, 10000);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(window->Left(), 750);
    EXPECT_EQ(window->Top(), 161);
    EXPECT_EQ(Countdown1PosX, 750);
    EXPECT_EQ(Countdown1PosY, 161);

    // The move loop starts at the first move with the button down (+20, +10) and follows
    // the mouse from there.
    RealDrag drag(window->Handle(), {830, 171}, 20, 10, 5);
    EXPECT_TRUE(PumpUntil([this] { return window->Left() == 830 && window->Top() == 201; }, 15000))
        << window->Left() << "," << window->Top();
    EXPECT_EQ(drag.Finish(), "");
    // Left alone after the drag: the end of the move loop has recorded the new place.
    EXPECT_EQ(Countdown1PosX, 830);
    EXPECT_EQ(Countdown1PosY, 201);
    window->Close();
    EXPECT_EQ(Value("select xz from sz_fzb where bz='倒计时1位置'"), "830");
    EXPECT_EQ(Value("select yz from sz_fzb where bz='倒计时1位置'"), "201");
    EXPECT_EQ(Value("select xz from sz_fzb where bz='倒计时2位置'"), "750");
}

// Start-up could not read the window's row: showing and closing it stores the row back,
// not the pair's zeros.
TEST_F(Countdowns, CloseAfterAnUnreadStartStoresThePlaceShown)
{
    Countdown1PosX = Countdown1PosY = 0;
    window->Show();
    EXPECT_EQ(window->Left(), 750);
    window->Close();
    EXPECT_EQ(Value("select xz from sz_fzb where bz='倒计时1位置'"), "750");
    EXPECT_EQ(Value("select yz from sz_fzb where bz='倒计时1位置'"), "161");
}

TEST_F(Countdowns, AWindowAtTheTopRetractsAndComesBackUnderTheMouse)
{
    window->Show();
    window->SetBounds(300, 12, window->Width(), window->Height());
    TFloatingBehaviour& f = *window->Floating;
    SetCursorPos(900, 700);
    f.Timer6Timer(f.Timer6);
    EXPECT_EQ(window->Top(), 3 - window->Height());
    EXPECT_EQ(window->Left(), 300);
    f.Timer5Timer(f.Timer5);   // docked, the mouse elsewhere: keep retracting
    EXPECT_TRUE(f.Timer6->Enabled());

    SetCursorPos(350, 1);   // over the strip
    f.Timer5Timer(f.Timer5);
    EXPECT_FALSE(f.Timer6->Enabled());
    EXPECT_EQ(window->Top(), 0);
    EXPECT_EQ(window->Left(), 300);

    const int right = GetSystemMetrics(SM_CXSCREEN);
    window->SetBounds(right - window->Width() - 10, 300, window->Width(), window->Height());
    f.Timer6Timer(f.Timer6);   // the step itself does not look at the mouse
    EXPECT_EQ(window->Left(), right - 4);
    SetCursorPos(right - 2, 310);
    f.Timer5Timer(f.Timer5);
    EXPECT_EQ(window->Left(), right - window->Width());
    EXPECT_EQ(window->Top(), 300);
}

// Every window's Timer5 and Timer6 run from one shared tick and hold no system timer of
// their own; a tick reads the screen width and the window under the cursor at most once
// for all windows, the cursor only for a shown docked window, and a window never shown
// keeps its place.
TEST_F(Countdowns, OneSharedTickDrivesEveryWindowsRetraction)
{
    window->SetBounds(0, 0, window->Width(), window->Height());
    for (TCountdownForm* w : {static_cast<TCountdownForm*>(window), static_cast<TCountdownForm*>(window3)}) {
        w->Floating->StartRetracting();
        for (TTimer* t : {w->Floating->Timer5, w->Floating->Timer6}) {
            EXPECT_TRUE(t->Enabled());
            EXPECT_FALSE(t->Running());
        }
    }
    EXPECT_GE(TFloatingBehaviour::SharedWindows(), 2);
    SetCursorPos(900, 700);
    TFloatingBehaviour::RunSharedTick();
    EXPECT_EQ(TFloatingBehaviour::LastTickReads(), 0);
    EXPECT_EQ(window->Top(), 0);   // never shown: 0,0 is no docked place

    window->Show();
    window3->Show();
    window->SetBounds(300, 12, window->Width(), window->Height());
    window3->SetBounds(300, 300, window3->Width(), window3->Height());
    TFloatingBehaviour::RunSharedTick();
    EXPECT_EQ(window->Top(), 3 - window->Height());
    EXPECT_EQ(window3->Top(), 300);
    EXPECT_EQ(TFloatingBehaviour::LastTickReads(), 1);   // nothing docked before the step: no cursor

    SetCursorPos(350, 1);
    TFloatingBehaviour::RunSharedTick();
    EXPECT_EQ(window->Top(), 0);
    EXPECT_FALSE(window->Floating->Timer6->Enabled());
    EXPECT_EQ(TFloatingBehaviour::LastTickReads(), 2);   // the width and the cursor, once each

    window->Hide();   // a hidden window is never under the cursor: it retracts unasked
    TFloatingBehaviour::RunSharedTick();
    EXPECT_EQ(window->Top(), 3 - window->Height());
    EXPECT_TRUE(window->Floating->Timer6->Enabled());
    EXPECT_EQ(TFloatingBehaviour::LastTickReads(), 1);   // no shown window is docked
    EXPECT_TRUE(TFloatingBehaviour::SharedTickRunning());   // window3 is still shown

    window3->Hide();   // all hidden and settled: the tick stops until a show
    TFloatingBehaviour::RunSharedTick();
    EXPECT_FALSE(TFloatingBehaviour::SharedTickRunning());
    window3->Show();
    EXPECT_TRUE(TFloatingBehaviour::SharedTickRunning());
    window3->Hide();
}

// The windows' 1 s ticks come from one timer: no window holds a system timer of its own,
// one shared tick updates every window, and a window whose Timer1 is off is left alone.
TEST_F(Countdowns, OneSecondTimerTicksEveryWindow)
{
    for (TCountdownForm* w : {static_cast<TCountdownForm*>(window), static_cast<TCountdownForm*>(window3)}) {
        EXPECT_TRUE(w->Timer1->Enabled());
        EXPECT_FALSE(w->Timer1->Running());
    }
    CountdownTarget(1) = kNow + 1 + 2.0 / 24 + 3.5 / 1440;
    CountdownTarget(3) = kNow + 4 + 5.0 / 24 + 6.5 / 1440;
    window3->Timer1->SetEnabled(false);
    TCountdownForm::RunSharedSecond();
    EXPECT_EQ(Leds(window), "00|01|02|03");
    EXPECT_NE(Leds(window3), "00|04|05|06");
    window3->Timer1->SetEnabled(true);
    TCountdownForm::RunSharedSecond();
    EXPECT_EQ(Leds(window3), "00|04|05|06");
}

TEST_F(Countdowns, MarkingHiddenFromTheWindowWritesOnlyItsSlot)
{
    Exec("update sz_djsb set qyzt='1'");
    window3->Show();
    window3->N2->Click();
    EXPECT_FALSE(window3->Visible());
    EXPECT_EQ(Value("select group_concat(qyzt, '') from (select qyzt from sz_djsb order by bz)"), "11011");
}

// A window's settings item opens its own slot's dialog, made on the first click.
TEST_F(Countdowns, TheSettingsItemOpensTheSlotsDialogMadeWhenFirstAskedFor)
{
    window->N1->Click();
    EXPECT_TRUE(dialog->Visible());
    ASSERT_EQ(Formdjssz3, nullptr);
    window3->N1->Click();
    TFormdjssz3* made = Formdjssz3;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Slot(), 3);
    EXPECT_TRUE(made->Visible());
    made->Hide();
    window3->N1->Click();
    EXPECT_EQ(Formdjssz3, made);
    EXPECT_TRUE(made->Visible());
    delete std::exchange(Formdjssz3, nullptr);
    EXPECT_EQ(CountdownSettingsForms[2], nullptr);
}

TEST_F(Countdowns, TheDialogSavesARelativeTarget)
{
    window->Show();
    dialog->Show();
    SaveShot(dialog->Handle(), "countdown-settings");
    dialog->Edit1->SetText("出差");
    dialog->rb2->SetChecked(true);
    EXPECT_FALSE(dialog->dt1->Enabled());
    EXPECT_TRUE(dialog->ComboBox1->Enabled());
    dialog->ComboBox1->SetText("36");
    dialog->ComboBox2->SetItemIndex(0);   // 小时
    dialog->BitBtn1->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_DOUBLE_EQ(CountdownTarget1, EncodeDateTime(2026, 3, 11, 22, 0, 0, 0));
    EXPECT_EQ(Leds(window), "00|01|12|00");
    EXPECT_EQ(window->Label4->Caption(), "出差");
    EXPECT_EQ(Value("select zt||'/'||zdsj||'/'||xdsj||'/'||dw||'/'||sjbz||'/'||qyzt from sz_djsb where bz='倒计时1'"),
              "出差/2026-03-11 22:00:00/36/小时/0/1");

    dialog->Show();   // a relative row comes back as it was saved
    EXPECT_TRUE(dialog->rb2->Checked());
    EXPECT_FALSE(dialog->dt2->Enabled());
    EXPECT_EQ(dialog->ComboBox1->Text(), "36");
    EXPECT_EQ(dialog->ComboBox2->ItemIndex(), 0);
    dialog->ComboBox1->SetText("0");
    dialog->ComboBox2->SetItemIndex(1);   // 天
    dialog->BitBtn1->Click();
    EXPECT_EQ(Leds(window), "00|00|00|00");
    EXPECT_EQ(Value("select xdsj||'/'||dw from sz_djsb where bz='倒计时1'"), "0/天");
}

TEST_F(Countdowns, TheDialogSavesAnAbsoluteTargetAndRefusesGaps)
{
    dialog->Show();
    EXPECT_TRUE(dialog->rb1->Checked());
    dialog->Edit1->SetText("");
    dialog->BitBtn1->Click();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, "标题不能为空！");
    EXPECT_TRUE(dialog->Visible());

    dialog->Edit1->SetText("春节");
    dialog->rb2->SetChecked(true);
    dialog->ComboBox1->SetText("");
    dialog->BitBtn1->Click();
    dialog->ComboBox1->SetText("3");
    dialog->ComboBox2->SetItemIndex(-1);
    dialog->BitBtn1->Click();
    ASSERT_EQ(boxes.Calls.size(), 3u);
    EXPECT_EQ(boxes.Calls[1].Text, "相对时间，不能为空！");
    EXPECT_EQ(boxes.Calls[2].Text, "相对时间单位，不能为空！");
    EXPECT_EQ(Value("select zt from sz_djsb where bz='倒计时1'"), "倒计时1");

    dialog->rb1->SetChecked(true);
    dialog->dt1->SetDate(EncodeDate(2027, 2, 6));
    dialog->dt2->SetTime(EncodeTime(20, 0, 0, 0));
    dialog->BitBtn1->Click();
    EXPECT_EQ(Value("select zt||'/'||zdsj||'/'||dw||'/'||sjbz||'/'||qyzt from sz_djsb where bz='倒计时1'"),
              "春节/2027-02-06 20:00:00/绝对时间/1/1");
    EXPECT_DOUBLE_EQ(CountdownTarget1, EncodeDateTime(2027, 2, 6, 20, 0, 0, 0));
}

// A target picked before 1899-12-30 is saved and shown again with its own day and time.
TEST_F(Countdowns, AnAbsoluteTargetBefore1900KeepsItsDayAndTime)
{
    dialog->Show();
    dialog->Edit1->SetText("旧事");
    dialog->rb1->SetChecked(true);
    dialog->dt1->SetDate(EncodeDate(1850, 6, 1));
    dialog->dt2->SetTime(EncodeTime(8, 0, 0, 0));
    dialog->BitBtn1->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Value("select zdsj from sz_djsb where bz='倒计时1'"), "1850-06-01 8:00:00");
    dialog->Show();
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd", dialog->dt1->Date()) + " " + FormatDateTime("hh:nn:ss", dialog->dt2->Time()),
              "1850-06-01 08:00:00");
}

// A stored target that does not read opens the dialog on now with the slot's title; the
// row is changed only by a save, which sets the slot again.
TEST_F(Countdowns, AnUnreadableTargetOpensTheDialogOnNowAndASaveRepairsTheSlot)
{
    Exec("update sz_djsb set zt='考试', zdsj='soon', sjbz='1', dw='绝对时间' where bz='倒计时1'");
    dialog->Show();
    ASSERT_TRUE(dialog->Visible());
    EXPECT_TRUE(boxes.Calls.empty());
    EXPECT_EQ(dialog->Edit1->Text(), "考试");
    EXPECT_TRUE(dialog->rb1->Checked());
    EXPECT_DOUBLE_EQ(AbsoluteTarget(dialog->dt1->Date(), dialog->dt2->Time()), kNow);
    EXPECT_EQ(Value("select zdsj from sz_djsb where bz='倒计时1'"), "soon");   // nothing written by showing
    dialog->BitBtn2->Click();
    EXPECT_EQ(Value("select zt||'/'||zdsj from sz_djsb where bz='倒计时1'"), "考试/soon");

    dialog->Show();
    dialog->dt1->SetDate(EncodeDate(2026, 6, 7));
    dialog->dt2->SetTime(EncodeTime(9, 0, 0, 0));
    dialog->BitBtn1->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Value("select zt||'/'||zdsj from sz_djsb where bz='倒计时1'"), "考试/2026-06-07 09:00:00");
}

// A stored target that is a number outside the calendar is read as no target: the window
// shows zeros at its own width and the dialog opens on now.
TEST_F(Countdowns, ATargetStoredAsANumberOutsideTheCalendarOpensTheDialogOnNow)
{
    for (const char* stored : {"1e10", "1e12", "-1e9", "3000000.5"}) {
        Exec(std::string("update sz_djsb set zdsj=") + stored + ", sjbz='1' where bz='倒计时1'");
        CountdownTarget1 = kNow + 5;
        window->Show();
        EXPECT_EQ(Leds(window), "00|00|00|00") << stored;
        EXPECT_DOUBLE_EQ(CountdownTarget1, 0) << stored;
        EXPECT_EQ(window->ClientWidth(), 214) << stored;
        window->Close();
        dialog->Show();
        ASSERT_TRUE(dialog->Visible()) << stored;
        EXPECT_DOUBLE_EQ(AbsoluteTarget(dialog->dt1->Date(), dialog->dt2->Time()), kNow) << stored;
        dialog->BitBtn2->Click();
    }
    EXPECT_TRUE(boxes.Calls.empty());
}

// The pickers cannot show a day before 1752-09-14 (Wine's not that one either): they refuse it and keep what they show,
// and a target stored before it opens the dialog on now, which is what a save writes.
TEST_F(Countdowns, ATargetBeforeThePickersFirstDayOpensTheDialogOnWhatASaveWrites)
{
    const auto controlDay = [&] {
        SYSTEMTIME st{};
        SendMessageW(dialog->dt1->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return EncodeDate(st.wYear, st.wMonth, st.wDay);
    };
    Exec("update sz_djsb set zt='古', zdsj='1700-05-01 08:00:00', sjbz='1', dw='绝对时间' where bz='倒计时1'");
    dialog->Show();
    EXPECT_DOUBLE_EQ(AbsoluteTarget(dialog->dt1->Date(), dialog->dt2->Time()), kNow);
    EXPECT_DOUBLE_EQ(controlDay(), DateOf(kNow));
    EXPECT_EQ(Value("select zdsj from sz_djsb where bz='倒计时1'"), "1700-05-01 8:00:00");   // kept until a save

    EXPECT_FALSE(dialog->dt1->SetDate(EncodeDate(1752, 9, 13)));
    EXPECT_DOUBLE_EQ(dialog->dt1->Date(), DateOf(kNow));
    EXPECT_DOUBLE_EQ(controlDay(), DateOf(kNow));
    EXPECT_TRUE(dialog->dt1->SetDate(EncodeDate(1752, 9, 15)));
    EXPECT_DOUBLE_EQ(controlDay(), EncodeDate(1752, 9, 15));
    dialog->BitBtn1->Click();
    EXPECT_EQ(Value("select zdsj from sz_djsb where bz='倒计时1'"), "1752-09-15 10:00:00");
    EXPECT_TRUE(boxes.Calls.empty());
}

// The slot's fixed row deleted from the data file: a save says that nothing was saved and
// leaves the target, the LEDs, the title and the dialog as they were.
TEST_F(Countdowns, ASaveWithoutTheSlotsRowSaysNothingWasSavedAndChangesNothing)
{
    window->Show();
    const std::string leds = Leds(window), title = window->Label4->Caption();
    const TDateTime target = CountdownTarget1;
    Exec("delete from sz_djsb where bz='倒计时1'");
    dialog->Show();
    dialog->Edit1->SetText("出差");
    dialog->rb2->SetChecked(true);
    dialog->ComboBox1->SetText("36");
    dialog->ComboBox2->SetItemIndex(0);
    dialog->BitBtn1->Click();
    dialog->rb1->SetChecked(true);
    dialog->BitBtn1->Click();
    ASSERT_EQ(boxes.Calls.size(), 2u);
    for (const auto& call : boxes.Calls)
        EXPECT_EQ(call.Text, "数据文件里没有倒计时1这一行，设置没有保存。");
    EXPECT_TRUE(dialog->Visible());
    EXPECT_DOUBLE_EQ(CountdownTarget1, target);
    EXPECT_EQ(Leds(window), leds);
    EXPECT_EQ(window->Label4->Caption(), title);
    EXPECT_EQ(Value("select count(*) from sz_djsb where bz='倒计时1'"), "0");
}

// An amount whose target lies past the year 9999 (or before the year 1) is refused in
// Chinese before anything changes; the largest that fits is saved.
TEST_F(Countdowns, ARelativeAmountBeyondTheLastStorableYearIsRefusedFirst)
{
    window->Show();
    const std::string leds = Leds(window);
    const TDateTime target = CountdownTarget1;
    const std::string row = "select zdsj||'/'||xdsj||'/'||dw from sz_djsb where bz='倒计时1'";
    const std::string before = Value(row);
    dialog->Show();
    dialog->rb2->SetChecked(true);
    const int lastDays = int(EncodeDate(9999, 12, 31) - DateOf(kNow));
    const std::pair<std::string, int> amounts[] = {
        {"3000000", 1}, {std::to_string(lastDays + 1), 1}, {std::to_string((lastDays + 1) * 24), 0}, {"-800000", 1}};
    for (const auto& [amount, unit] : amounts) {
        dialog->ComboBox1->SetText(amount);
        dialog->ComboBox2->SetItemIndex(unit);
        dialog->BitBtn1->Click();
        EXPECT_TRUE(dialog->Visible()) << amount;
    }
    ASSERT_EQ(boxes.Calls.size(), 4u);
    for (const auto& call : boxes.Calls)
        EXPECT_EQ(call.Text, "相对时间超出范围，目标时间只能在1年到9999年之间！");
    EXPECT_EQ(Leds(window), leds);
    EXPECT_DOUBLE_EQ(CountdownTarget1, target);
    EXPECT_EQ(Value(row), before);

    dialog->ComboBox1->SetText(std::to_string(lastDays));
    dialog->ComboBox2->SetItemIndex(1);
    dialog->BitBtn1->Click();
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(Value(row), "9999-12-31 10:00:00/" + std::to_string(lastDays) + "/天");
}

TEST_F(Countdowns, TheManagerMarksASlotShown)
{
    manager->Show();
    ASSERT_EQ(manager->DBGrid1->RowCount(), 5);
    EXPECT_EQ(manager->DBGrid1->Cells(0, 1), "倒计时2");
    SaveShot(manager->Handle(), "countdown-manager");
    dbhouse->qdjs->SetRecNo(2);
    boxes.Answer = IDNO;
    manager->skSkinButton2->ButtonClick();
    EXPECT_EQ(Value("select qyzt from sz_djsb where bz='倒计时2'"), "0");
    boxes.Answer = IDYES;
    dbhouse->qdjs->SetRecNo(2);
    manager->skSkinButton2->ButtonClick();
    ASSERT_EQ(boxes.Calls.size(), 2u);
    EXPECT_EQ(boxes.Calls[1].Text, "您确定将：倒计时2为显示吗？");
    EXPECT_EQ(boxes.Calls[1].Caption, "询问");
    EXPECT_EQ(Value("select group_concat(qyzt, '') from (select qyzt from sz_djsb order by bz)"), "01000");
    EXPECT_EQ(dbhouse->qdjs->RecNo(), 1);   // reopened
    // What the visibility check then does with a shown row: the window appears where its row says.
    auto* window2 = NewForm<TFormdjs2>(nullptr);
    window2->Show();
    EXPECT_TRUE(IsWindowVisible(window2->Handle()));
    EXPECT_EQ(window2->Top(), 230);
    delete window2;
    manager->skSkinButton6->ButtonClick();
    EXPECT_FALSE(dbhouse->qdjs->Active());
}

// A floating window the application still owns at exit is freed after the statics made
// during the run; it leaves the shared tick then, and the tick still serves a new window.
// The exit runs in a child: this binary again, with the variable set.
TEST(FloatingWindows, AWindowOpenAtExitLeavesTheSharedTick)
{
    static int32_t x = 0, y = 0;
    auto floating = [](TComponent* owner) {
        auto* form = new TForm(owner);
        new TFloatingBehaviour(form, "exit", &x, &y, TRetractTimers::FromCreation);
        return form;
    };
    if (std::getenv("VORPEN_EXIT_CHILD")) {
        EnsureApplication();
        struct TLate {
            TForm* Window = nullptr;
            std::function<TForm*(TComponent*)> Make;
            ~TLate()
            {
                const int before = TFloatingBehaviour::SharedWindows();
                delete Window;
                const int after = TFloatingBehaviour::SharedWindows();
                TForm* again = Make(nullptr);
                const int added = TFloatingBehaviour::SharedWindows();
                TFloatingBehaviour::RunSharedTick();
                delete again;
                const bool ok = before == 1 && after == 0 && added == 1 && TFloatingBehaviour::SharedWindows() == 0;
                std::fflush(stdout);
                std::_Exit(ok ? 0 : 3);
            }
        };
        static TLate late;   // made before the tick: freed after it, like the application
        late.Make = floating;
        late.Window = floating(Application);
        return;
    }
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(exe) + L"\" --gtest_filter=FloatingWindows.AWindowOpenAtExitLeavesTheSharedTick";
    SetEnvironmentVariableW(L"VORPEN_EXIT_CHILD", L"1");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(L"VORPEN_EXIT_CHILD", nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
}

}  // namespace
