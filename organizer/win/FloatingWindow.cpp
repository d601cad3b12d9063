#include "organizer/win/FloatingWindow.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/core/dbhouse.h"
#include "organizer/core/FloatRetract.h"

namespace {

constexpr WPARAM kMoveByCaption = 0xF012;   // SC_MOVE with the caption hit-test code

TFloatBounds BoundsOf(const TForm& form) { return {form.Left(), form.Top(), form.Width(), form.Height()}; }

constexpr uint32_t kRetractTickMs = 50;

// The one 50 ms timer behind every window's Timer5 and Timer6. It runs while some window
// needs ticks and stops itself at the first tick that finds none; a show starts it again.
struct TSharedTick {
    std::vector<TFloatingBehaviour*> Windows;
    std::unique_ptr<TTimer> Timer;
    int LastReads = 0;

    void Add(TFloatingBehaviour* w) { Windows.push_back(w); }
    void Remove(TFloatingBehaviour* w)
    {
        std::erase(Windows, w);
        if (Windows.empty())
            Timer.reset();
    }
    void Start()
    {
        if (!Timer) {
            Timer = std::make_unique<TTimer>(nullptr);
            Timer->SetInterval(kRetractTickMs);
            Timer->OnTimer = [this](TObject*) { Tick(); };
        }
        Timer->SetEnabled(true);
    }
    // A tick may move windows, and so run their handlers: a window gone meanwhile is skipped.
    void Tick()
    {
        TFloatingBehaviour::TProbe probe;
        const std::vector<TFloatingBehaviour*> windows = Windows;
        bool any = false;
        for (TFloatingBehaviour* w : windows) {
            if (std::find(Windows.begin(), Windows.end(), w) == Windows.end())
                continue;
            w->SharedTick(probe);
            any = any || w->NeedsTicks(probe);
        }
        LastReads = probe.Reads;
        if (!any && Timer)
            Timer->SetEnabled(false);
    }
};

// Never destroyed: windows owned by the application are freed after the statics made
// during the run, and each leaves the tick as it goes.
TSharedTick& TheSharedTick()
{
    static TSharedTick& tick = *new TSharedTick;
    return tick;
}

}  // namespace

TFloatingBehaviour::TFloatingBehaviour(TForm* form, std::string key, int32_t* posX, int32_t* posY,
                                       TRetractTimers timers)
    : TComponent(form), FForm(form), FKey(std::move(key)), FPosX(posX), FPosY(posY)
{
    if (timers == TRetractTimers::None)
        return;
    const bool running = timers == TRetractTimers::FromCreation;
    Timer5 = new TTimer(form);
    Timer5->SetName("Timer5");
    Timer6 = new TTimer(form);
    Timer6->SetName("Timer6");
    for (TTimer* t : {Timer5, Timer6}) {
        t->SetInterval(50);
        t->SetEnabled(running);
    }
    Timer5->OnTimer = [this](TObject* s) { Timer5Timer(s); };
    Timer6->OnTimer = [this](TObject* s) { Timer6Timer(s); };
    for (TTimer* t : {Timer5, Timer6})
        t->SetDriven(true);
    TheSharedTick().Add(this);
    UpdateSharedTick();
}

TFloatingBehaviour::~TFloatingBehaviour()
{
    if (Timer5)
        TheSharedTick().Remove(this);
}

void TFloatingBehaviour::UpdateSharedTick()
{
    if ((Timer5 && Timer5->Enabled()) || (Timer6 && Timer6->Enabled()))
        TheSharedTick().Start();
}

// A shown window with a timer on needs every tick. A hidden one needs ticks only until it
// is settled: no reveal check would turn its retract step on and no step would move it
// (one tick settles it). A window never shown comes in through its show.
bool TFloatingBehaviour::NeedsTicks(TProbe& probe)
{
    const bool reveal = Timer5 && Timer5->Enabled(), retract = Timer6 && Timer6->Enabled();
    if (!FShown || (!reveal && !retract))
        return false;
    if (FForm->Visible())
        return true;
    const TFloatBounds b = BoundsOf(*FForm);
    const int screenWidth = probe.ScreenWidth();
    if (reveal && !retract && IsDocked(b, screenWidth))
        return true;
    return retract && !(RetractBounds(b, screenWidth) == b);
}

bool TFloatingBehaviour::SharedTickRunning()
{
    const TSharedTick& tick = TheSharedTick();
    return tick.Timer && tick.Timer->Enabled();
}

int TFloatingBehaviour::SharedWindows() { return int(TheSharedTick().Windows.size()); }
int TFloatingBehaviour::LastTickReads() { return TheSharedTick().LastReads; }
void TFloatingBehaviour::RunSharedTick() { TheSharedTick().Tick(); }

int TFloatingBehaviour::TProbe::ScreenWidth()
{
    if (FScreenWidth < 0) {
        FScreenWidth = Screen->Width();
        ++Reads;
    }
    return FScreenWidth;
}

HWND TFloatingBehaviour::TProbe::RootUnderCursor()
{
    if (!FCursorRead) {
        FCursorRead = true;
        ++Reads;
        POINT cursor{};
        GetCursorPos(&cursor);
        if (HWND under = WindowFromPoint(cursor))
            FRoot = GetAncestor(under, GA_ROOT);
    }
    return FRoot;
}

// A window that has never been shown keeps the 0,0 it was made at, which is not a place
// anybody chose: it takes no part until it shows (its show places it from its row).
void TFloatingBehaviour::SharedTick(TProbe& probe)
{
    if (!FShown) {
        if (!FForm->Visible())
            return;
        FShown = true;
    }
    if (Timer5 && Timer5->Enabled())
        Reveal(probe);
    if (Timer6 && Timer6->Enabled())
        RetractStep(probe);
}

// The system move loop runs only while the left button is held; starting it without
// the button would leave the window following the mouse until the next click.
void TFloatingBehaviour::Drag(TShiftState Shift, bool records, bool drags)
{
    if (records) {
        *FPosX = FForm->Left();
        *FPosY = FForm->Top();
    }
    if (drags && Shift.Contains(ssLeft)) {
        ReleaseCapture();
        SendMessageW(FForm->Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
        MoveLoopEnded();
    }
}

// The move loop eats the mouse moves that would record the new place: it is recorded
// when the loop returns, at the button's release.
void TFloatingBehaviour::MoveLoopEnded()
{
    *FPosX = FForm->Left();
    *FPosY = FForm->Top();
}

void TFloatingBehaviour::AddSurface(TControl* surface, bool records, bool drags)
{
    surface->OnMouseMove = [this, records, drags](TObject*, TShiftState Shift, int, int) {
        Drag(Shift, records, drags);
    };
}

void TFloatingBehaviour::ReadPosition()
{
    TADOQuery& q = *dbhouse->qsz;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_fzb where bz= :bz ");
    q.Parameters.ParamByName("bz").Value = FKey;
    q.Open();
    // The pair follows the row shown, so that a close without a mouse move stores the row
    // back rather than a pair start-up could not read.
    *FPosX = q.FieldByName("xz").AsInteger();
    *FPosY = q.FieldByName("yz").AsInteger();
    FForm->SetLeft(*FPosX);
    FForm->SetTop(*FPosY);
    q.Close();
    UpdateSharedTick();
}

void TFloatingBehaviour::WritePosition()
{
    TADOQuery& q = *dbhouse->qsz;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("update sz_fzb set xz= :xz,yz= :yz where bz= :bz ");
    q.Parameters.ParamByName("xz").Value = static_cast<int>(*FPosX);
    q.Parameters.ParamByName("yz").Value = static_cast<int>(*FPosY);
    q.Parameters.ParamByName("bz").Value = FKey;
    q.ExecSQL();
}

void TFloatingBehaviour::StartRetracting()
{
    for (TTimer* t : {Timer5, Timer6})
        if (t)
            t->SetEnabled(true);
    UpdateSharedTick();
}

// The mouse is over the window when the top-level window under the cursor is this one.
// A hidden window is never found there, so the cursor is read only for a shown one.
void TFloatingBehaviour::Timer5Timer(TObject*)
{
    TProbe probe;
    Reveal(probe);
}

void TFloatingBehaviour::Timer6Timer(TObject*)
{
    TProbe probe;
    RetractStep(probe);
}

void TFloatingBehaviour::Reveal(TProbe& probe)
{
    const TFloatBounds b = BoundsOf(*FForm);
    const int screenWidth = probe.ScreenWidth();
    if (!IsDocked(b, screenWidth))
        return;
    const bool over = FForm->Visible() && FForm->HandleAllocated() && probe.RootUnderCursor() == FForm->Handle();
    if (!over) {
        Timer6->SetEnabled(true);
        return;
    }
    Timer6->SetEnabled(false);
    const TFloatBounds r = RevealBounds(b, screenWidth);
    if (!(r == b))
        FForm->SetBounds(r.Left, r.Top, r.Width, r.Height);
}

void TFloatingBehaviour::RetractStep(TProbe& probe)
{
    const TFloatBounds b = BoundsOf(*FForm);
    const TFloatBounds r = RetractBounds(b, probe.ScreenWidth());
    if (!(r == b))
        FForm->SetBounds(r.Left, r.Top, r.Width, r.Height);
}
