// The clock window's repeating-memo pass under Wine on a private data file: the hidden
// button and month view, and tcsh moving a due lunar memo with the month view's names.
#include <gtest/gtest.h>

#include "DataModule.h"
#include "app/core/MemoRepeat.h"
#include "app/win/Main.h"
#include "calendar/win/ChnCalendarPicker.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Buttons.h"

TEST(RepeatTimer, TcshMovesADueLunarMemoWithPlainMonthNamesAndRunsAgain)
{
    DataModule data;
    FakeTimerService timers;
    TimerService* oldTimers = &CurrentTimerService();
    SetTimerService(&timers);
    SetExeFolder(data.File.Folder());
    const TDateTime today = EncodeDate(2026, 5, 10);
    SetClockSource([today] { return today + 0.5; });
    TFmMain* form = NewForm<TFmMain>(nullptr);
    EXPECT_FALSE(form->BitBtn1->Visible());
    EXPECT_FALSE(form->ChnCalendar1->Visible());
    form->Handle();
    EXPECT_FALSE(form->ChnCalendar1->HandleAllocated());   // made with the first pass, not with the clock

    data.Exec("delete from sz_bwlb");
    data.Exec("insert into sz_bwlb (yybz, ylsj, yinlsj, chts, xssj, fzbz, tqtsts, nr, qrbz) values "
              "('0', '2025-11-20', '2025-11-20', '每1月', '十月 初一', '0', '0天', 'x', '1')");
    const auto expected = NextRepeat({1, "2025-11-20", "0", "每1月", "0", "十月 初一", "2025-11-20"}, today, nullptr);
    ASSERT_TRUE(expected);
    form->tcsh->SetEnabled(true);
    form->tcshTimer(form->tcsh);
    EXPECT_TRUE(form->tcsh->Enabled());
    EXPECT_EQ(form->ChnCalendar1->Parent(), form);
    EXPECT_EQ(data.Value("select ylsj||'|'||yinlsj||'|'||qrbz||'|'||xssj from sz_bwlb"),
              expected->Ylsj + "|" + expected->Ylsj + "|0|四月 初一");   // the next 初一 from today

    delete form;
    SetClockSource(nullptr);
    SetExeFolder("");
    SetTimerService(oldTimers);
}
