#include "organizer/win/Unit1.h"

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"

TForm1* Form1 = nullptr;

namespace {

struct TOption {
    const char* Name;
    const char* Caption;
    bool Checked;
};

const TOption Options[8] = {
    {"CheckBox1", "显示标题", true},     {"CheckBox2", "显示背景图", false},  {"CheckBox3", "显示边框", true},
    {"CheckBox4", "显示背景年月", true}, {"CheckBox5", "显示星期数", true},   {"CheckBox6", "显示星期线条", true},
    {"CheckBox7", "背景图居中", false},  {"CheckBox8", "背景图拉伸", false},
};

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Form1");
    SetCaption("日历");
    SetBorderStyle(bsNone);
    // A strip below the month view holds the drag handle.
    SetClientSize(508, 386);
    SetColor(clWhite);
    Font().SetName("宋体-PUA");
    Font().SetCharset(GB2312_CHARSET);
    Font().SetHeight(-14);
    Font().SetStyle({fsBold});
    SetAlphaBlend(true);
    SetAlphaBlendValue(0);

    ChnCalendar1 = new TChnCalendar(this);
    ChnCalendar1->SetName("ChnCalendar1");
    ChnCalendar1->SetParent(this);
    ChnCalendar1->SetBounds(5, 3, 499, 352);
    ChnCalendar1->SetShowWeekNum(true);
    ChnCalendar1->SetHideSelection(false);
    for (TFont* f : {&ChnCalendar1->FontDate(), &ChnCalendar1->FontCnDate()}) {
        f->SetName("宋体");
        f->SetCharset(GB2312_CHARSET);
        f->SetHeight(-16);
        f->SetStyle({fsBold});
    }
    ChnCalendar1->FontCnDate().SetColor(15658734);
    ChnCalendar1->SetDayColor(&TMonthColors::CnDate, clMaroon);
    ChnCalendar1->SetColorTitleYear(clRed);
    ChnCalendar1->SetColorTitleMonth(clBlue);
    ChnCalendar1->SetColorTitleSelected(clGray);
    ChnCalendar1->ColorTitleConstellation = 16757759;
    ChnCalendar1->ColorTitleAnimalsYear = 16744576;
    ChnCalendar1->SetCenter(false);
    ChnCalendar1->SetStretch(true);
    ChnCalendar1->SetTransparent(true);
    ChnCalendar1->SetAlphaBlend(200);
    ChnCalendar1->OnDrawCnDateCell = [this](TObject* s, int day, TCanvas& c, const TRect& r, bool sel,
                                            std::string& text, bool& def) {
        ChnCalendar1DrawCnDateCell(s, day, c, r, sel, text, def);
    };
    ChnCalendar1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { ChnCalendar1MouseMove(s, sh, x, y); };

    TCheckBox** boxes[8] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4,
                            &CheckBox5, &CheckBox6, &CheckBox7, &CheckBox8};
    for (int i = 0; i < 8; ++i) {
        auto* box = new TCheckBox(this);
        box->SetName(Options[i].Name);
        box->SetParent(this);
        box->SetBounds(520, 8 + 22 * i, 120, 20);
        box->SetCaption(Options[i].Caption);
        box->SetTag(i);
        box->SetChecked(Options[i].Checked);
        box->OnClick = [this](TObject* s) { CheckBox1Click(s); };
        *boxes[i] = box;
    }
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(520, 190, 56, 16);
    Label1->SetCaption("透明度:");
    edtAlpha = new TEdit(this);
    edtAlpha->SetName("edtAlpha");
    edtAlpha->SetParent(this);
    edtAlpha->SetBounds(580, 186, 40, 22);
    edtAlpha->SetText("20");
    BitBtn2 = new TBitBtn(this);
    BitBtn2->SetName("BitBtn2");
    BitBtn2->SetParent(this);
    BitBtn2->SetBounds(216, 358, 75, 25);
    BitBtn2->SetCaption("《--》");
    BitBtn2->SetHint("鼠标按下可以拖动日历移动");
    BitBtn2->SetShowHint(true);
    BitBtn2->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { BitBtn2MouseMove(s, sh, x, y); };

    Floating = new TFloatingBehaviour(this, "日历位置", &CalendarPosX, &CalendarPosY, TRetractTimers::None);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { FormMouseMove(s, sh, x, y); };
}

void TForm1::FormCreate(TObject*)
{
    ChnCalendar1->SetShowWeekNum(false);
    ChnCalendar1->FontCnDate().SetName("宋体");
    ChnCalendar1->SetShowBackYearMonth(false);
    ChnCalendar1->SetDateTime(Now());
    ChnCalendar1->SetShowFrame(false);
    ChnCalendar1->SetShowWeekNumLine(false);
}

// The window is stored fully transparent; shown, it is opaque (the layered style stays).
void TForm1::FormShow(TObject*)
{
    if (AlphaBlendValue() == 0)
        SetAlphaBlendValue(255);
    if (dbhouse)
        Floating->ReadPosition();
}

void TForm1::FormClose(TObject*, TCloseAction&)
{
    if (dbhouse)
        Floating->WritePosition();
}

void TForm1::FormMouseMove(TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift, true, false); }

void TForm1::BitBtn2MouseMove(TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift); }

void TForm1::ChnCalendar1MouseMove(TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift, false, true); }

// The marks are read once per paint of the month view, then each day cell looks its day up.
void TForm1::ChnCalendar1DrawCnDateCell(TObject*, int Day, TCanvas& aCanvas, const TRect& R, bool, std::string& Text,
                                        bool& defaultDraw)
{
    if (FMarksPaint != ChnCalendar1->PaintCount()) {
        FMarksPaint = ChnCalendar1->PaintCount();
        FMarks = dbhouse ? ReadFestivalMarks(*dbhouse) : std::vector<TFestivalMark>();
        ++FMarkQueries;
    }
    for (const std::string& name : MarksOnDay(FMarks, MonthOf(ChnCalendar1->DateTime()), Day)) {
        TFontStyles style = aCanvas.Font().Style();
        style.Include(fsUnderline);
        aCanvas.Font().SetStyle(style);
        aCanvas.Font().SetColor(clRed);
        aCanvas.Brush().SetStyle(bsClear);
        Text = name;
        // A name wider than the cell is drawn smaller rather than cut, down to 12 pixels.
        while (aCanvas.TextWidth(Text) > R.Width() && aCanvas.Font().Height() < -12)
            aCanvas.Font().SetHeight(aCanvas.Font().Height() + 1);
        TRect r = R;
        aCanvas.DrawText(Text, r, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        defaultDraw = false;
    }
}

void TForm1::CheckBox1Click(TObject* Sender)
{
    auto* box = dynamic_cast<TCheckBox*>(Sender);
    if (!box)
        return;
    const bool checked = box->Checked();
    switch (box->Tag()) {
    case 0: ChnCalendar1->SetShowTitle(checked); break;
    case 1:
        if (!checked) {
            ChnCalendar1->BackGround().Clear();
            ChnCalendar1->BackChanged();
        }
        break;
    case 2: ChnCalendar1->SetShowFrame(checked); break;
    case 3: ChnCalendar1->SetShowBackYearMonth(checked); break;
    case 4: ChnCalendar1->SetShowWeekNum(checked); break;
    case 5: ChnCalendar1->SetShowWeekNumLine(checked); break;
    case 6: ChnCalendar1->SetCenter(checked); break;
    case 7: ChnCalendar1->SetStretch(checked); break;
    }
}
