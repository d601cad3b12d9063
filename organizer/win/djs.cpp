#include "organizer/win/djs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "organizer/win/djssz.h"

TFormdjs1* Formdjs1 = nullptr;
TFormdjs2* Formdjs2 = nullptr;
TFormdjs3* Formdjs3 = nullptr;
TFormdjs4* Formdjs4 = nullptr;
TFormdjs5* Formdjs5 = nullptr;
std::array<TCountdownForm*, kCountdownSlots> CountdownForms{};

namespace {

// The windows' Timer1 are driven by one 1 s timer, so the five cost one wake-up a second.
// The timer lives while a window does (one still open at exit is left to the process end).
// The list is never destroyed: windows owned by the application are freed at exit, after
// this file's statics may be gone.
std::vector<TCountdownForm*>& g_ticking = *new std::vector<TCountdownForm*>;
TTimer* g_second = nullptr;

void TickEverySecond()
{
    const std::vector<TCountdownForm*> windows = g_ticking;
    for (TCountdownForm* w : windows)
        if (std::find(g_ticking.begin(), g_ticking.end(), w) != g_ticking.end() && w->Timer1->Enabled())
            if (TNotifyEvent handler = w->Timer1->OnTimer)
                handler(w->Timer1);
}

}  // namespace

void TCountdownForm::RunSharedSecond() { TickEverySecond(); }

namespace {

struct TCountdownSlot {
    int32_t *PosX, *PosY;
    TDateTime* Target;
};

const TCountdownSlot Slots[kCountdownSlots] = {
    {&Countdown1PosX, &Countdown1PosY, &CountdownTarget1}, {&Countdown2PosX, &Countdown2PosY, &CountdownTarget2},
    {&Countdown3PosX, &Countdown3PosY, &CountdownTarget3}, {&Countdown4PosX, &Countdown4PosY, &CountdownTarget4},
    {&Countdown5PosX, &Countdown5PosY, &CountdownTarget5},
};

const TCountdownSlot& SlotOf(int slot)
{
    if (slot < 1 || slot > kCountdownSlots)
        throw EInvalidOperation("countdown slot " + std::to_string(slot) + " does not exist");
    return Slots[slot - 1];
}

TLabel* MakeLabel(TForm* form, const char* name, const char* caption, int left, int top, int width, int height,
                  int fontHeight, const char* face)
{
    auto* l = new TLabel(form);
    l->SetName(name);
    l->SetParent(form);
    l->SetBounds(left, top, width, height);
    l->SetCaption(caption);
    l->SetTransparent(true);
    l->Font().SetName(face);
    l->Font().SetHeight(-fontHeight);
    l->Font().SetStyle({fsBold});
    l->Font().SetColor(clWhite);
    return l;
}

}  // namespace

TDateTime& CountdownTarget(int slot) { return *SlotOf(slot).Target; }

TCountdownForm::TCountdownForm(TComponent* AOwner, int slot)
    : TForm(AOwner), FSlot(slot), FTarget(SlotOf(slot).Target)
{
    const TCountdownSlot& s = SlotOf(slot);
    SetName("Formdjs" + std::to_string(slot));
    SetBorderStyle(bsNone);
    SetClientSize(214, 59);
    SetColor(0x202D9F);

    Label4 = MakeLabel(this, "Label4", "", 0, 0, 214, 19, 16, "宋体");
    Label4->SetAlign(alTop);
    Label4->SetAlignment(taCenter);
    Label4->OnMouseMove = [this](TObject* o, TShiftState sh, int x, int y) { Label4MouseMove(o, sh, x, y); };

    int left = 0;
    auto led = [this, &left](const char* name, int advance) {
        auto* n = new TNumLED(this);
        n->SetName(name);
        n->SetParent(this);
        n->SetLeft(left);
        n->SetTop(21);
        left += advance;
        return n;
    };
    nled1 = led("nled1", 46);
    nled2 = led("nled2", 46);
    Label1 = MakeLabel(this, "Label1", "·", left, 27, 12, 24, 21, "黑体");
    left += 12;
    nled3 = led("nled3", 46);
    Label2 = MakeLabel(this, "Label2", "·", left, 20, 12, 24, 21, "黑体");
    Label3 = MakeLabel(this, "Label3", "·", left, 33, 12, 24, 21, "黑体");
    left += 12;
    nled4 = led("nled4", 46);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    N1 = new TMenuItem(this);
    N1->SetName("N1");
    N1->SetCaption("倒计时参数设置");
    N1->OnClick = [this](TObject* o) { N1Click(o); };
    N2 = new TMenuItem(this);
    N2->SetName("N2");
    N2->SetCaption("标记为不显示");
    N2->OnClick = [this](TObject* o) { N2Click(o); };
    PopupMenu1->Items()->Add(N1);
    PopupMenu1->Items()->Add(N2);
    SetPopupMenu(PopupMenu1);
    for (TControl* c : {static_cast<TControl*>(Label4), static_cast<TControl*>(nled1), static_cast<TControl*>(nled2),
                        static_cast<TControl*>(nled3), static_cast<TControl*>(nled4)})
        c->SetPopupMenu(PopupMenu1);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](TObject* o) { Timer1Timer(o); };
    Timer1->SetDriven(true);
    g_ticking.push_back(this);
    if (!g_second) {
        g_second = new TTimer(nullptr);
        g_second->SetInterval(1000);
        g_second->OnTimer = [](TObject*) { TickEverySecond(); };
    }
    Floating = new TFloatingBehaviour(this, CountdownPositionKey(slot), s.PosX, s.PosY, TRetractTimers::FromCreation);

    OnShow = [this](TObject* o) { FormShow(o); };
    OnClose = [this](TObject* o, TCloseAction& a) { FormClose(o, a); };
    OnMouseMove = [this](TObject* o, TShiftState sh, int x, int y) { FormMouseMove(o, sh, x, y); };
    CountdownForms[slot - 1] = this;
}

TCountdownForm::~TCountdownForm()
{
    std::erase(g_ticking, this);
    if (g_ticking.empty())
        delete std::exchange(g_second, nullptr);
    if (CountdownForms[FSlot - 1] == this)
        CountdownForms[FSlot - 1] = nullptr;
}

void TCountdownForm::ShowTimeLeft(TDateTime target)
{
    const TTimeLeft t = SplitTimeLeft(target, Now());
    nled2->SetText(LedNumberText(t.Days));
    nled3->SetText(LedNumberText(t.Hours));
    nled4->SetText(LedNumberText(t.Minutes));
    PlaceAfterDays();
}

// Days past 99 widen nled2: what stands right of it moves by as much, and the window widens.
void TCountdownForm::PlaceAfterDays()
{
    constexpr int kLedStep = 46, kDotStep = 12, kDesignWidth = 214;
    const int extra = std::max(0, nled2->Width() - nled1->Width());
    int left = nled2->Left() + kLedStep + extra;
    Label1->SetLeft(left);
    left += kDotStep;
    nled3->SetLeft(left);
    left += kLedStep;
    Label2->SetLeft(left);
    Label3->SetLeft(left);
    nled4->SetLeft(left + kDotStep);
    if (ClientWidth() != kDesignWidth + extra)
        SetClientWidth(kDesignWidth + extra);
}

// A row that does not read (missing, or a target that is no date or a number outside the
// calendar) leaves the slot at zero: its window shows "00" everywhere and the other slots go on.
void TCountdownForm::LoadSlot()
{
    TADOQuery& q = *dbhouse->qcx;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_djsb where bz= :bz ");
    q.Parameters.ParamByName("bz").Value = CountdownRowKey(FSlot);
    q.Open();
    try {
        if (q.IsEmpty())
            throw EConvertError("no row " + CountdownRowKey(FSlot));
        if (RowSetsTarget(q.FieldByName("sjbz").AsString(), q.FieldByName("dw").AsString())) {
            const TDateTime target = q.FieldByName("zdsj").AsDateTime();
            if (!CountdownTargetStorable(target))
                throw EConvertError("target " + FloatToStr(target) + " lies outside the calendar");
            Target() = target;
            ShowTimeLeft(Target());
        }
    } catch (const EConvertError&) {
        Target() = 0;
        ShowTimeLeft(Target());
    }
    Label4->SetCaption(q.FieldByName("zt").AsString());
}

void TCountdownForm::FormShow(TObject*)
{
    LoadSlot();
    Floating->ReadPosition();
    dbhouse->qcx->Close();
}

void TCountdownForm::FormClose(TObject*, TCloseAction&) { Floating->WritePosition(); }

void TCountdownForm::Timer1Timer(TObject*) { ShowTimeLeft(Target()); }

void TCountdownForm::N1Click(TObject*)
{
    CountdownSettingsDialog(FSlot)->Show();
}

void TCountdownForm::N2Click(TObject*)
{
    TADOQuery& q = *dbhouse->qup;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("update sz_djsb set qyzt= :qyzt where bz= :bz ");
    q.Parameters.ParamByName("qyzt").Value = "0";
    q.Parameters.ParamByName("bz").Value = CountdownRowKey(FSlot);
    q.ExecSQL();
    Close();
}

void TCountdownForm::FormMouseMove(TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift); }

void TCountdownForm::Label4MouseMove(TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift); }
