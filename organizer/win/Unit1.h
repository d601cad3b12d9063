#pragma once
// TForm1, the desktop calendar: a borderless layered window floating on the desktop that
// shows the month view ChnCalendar1 and writes the user's own festivals, birthdays and
// anniversaries (sz_jrb rows with zdyf "1") in red under the days they fall on. Its
// surface records its place in "日历位置"; the month view drags it without recording.
// The application core shows and closes it.

#include <vector>

#include "calendar/win/ChnCalendarPicker.h"
#include "framework/win/Buttons.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/FestivalMarks.h"
#include "organizer/win/FloatingWindow.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);

    TChnCalendar* ChnCalendar1;
    // Display options, told apart by Tag; placed beyond the client area.
    TCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox8;
    TLabel* Label1;
    TEdit* edtAlpha;
    TBitBtn* BitBtn2;   // drag handle
    TFloatingBehaviour* Floating;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void BitBtn2MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ChnCalendar1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ChnCalendar1DrawCnDateCell(TObject* Sender, int Day, TCanvas& aCanvas, const TRect& R, bool Selected,
                                    std::string& Text, bool& defaultDraw);
    void CheckBox1Click(TObject* Sender);

    // Festival queries run since creation (one per paint of the month view).
    int MarkQueries() const { return FMarkQueries; }

private:
    std::vector<TFestivalMark> FMarks;
    int FMarksPaint = -1;   // the month view's paint the marks were read for
    int FMarkQueries = 0;
};

extern TForm1* Form1;
