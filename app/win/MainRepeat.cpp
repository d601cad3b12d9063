// The repeating-memo side of TFmMain: the hidden button BitBtn1 whose click moves every due
// repeating memo one step, run at start-up and every 3 s by tcsh, and the hidden month view
// ChnCalendar1 that gives the lunar names of each new lunar date.
#include "app/core/MemoRepeat.h"
#include "app/core/dbhouse.h"
#include "app/win/Main.h"
#include "calendar/win/ChnCalendarPicker.h"
#include "framework/win/Buttons.h"

void TFmMain::CreateRepeatParts()
{
    BitBtn1 = new TBitBtn(this);
    BitBtn1->SetName("BitBtn1");
    BitBtn1->SetCaption("重复提示的更新阳历日期和标志");
    BitBtn1->SetVisible(false);
    BitBtn1->SetParent(this);
    BitBtn1->OnClick = [this](TObject* Sender) { BitBtn1Click(Sender); };
    ChnCalendar1 = new TChnCalendar(this);
    ChnCalendar1->SetName("ChnCalendar1");
    ChnCalendar1->SetVisible(false);
}

// A failing pass is dropped without a message; the memos it did not reach wait for the next.
void TFmMain::BitBtn1Click(TObject*)
{
    if (!dbhouse)
        return;
    // The month view's window (its menus, the locale broadcast, the month) is made with the
    // first pass, after the clock's first frame, not with the clock window.
    try {
        if (!ChnCalendar1->Parent())
            ChnCalendar1->SetParent(this);
        RepeatMemos(*dbhouse, Date(), [this](TDateTime date) {
            ChnCalendar1->SetDateTime(date);
            return PlainLunarMonthName(ChnCalendar1->CnMonth()) + " " + ChnCalendar1->CnDay();
        });
    } catch (const std::exception&) {
    }
}

// Passes never overlap: the timer is off while its pass runs.
void TFmMain::tcshTimer(TObject*)
{
    tcsh->SetEnabled(false);
    BitBtn1->Click();
    tcsh->SetEnabled(true);
}
