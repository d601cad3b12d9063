#include "organizer/win/FloatingWindow.h"

#include "app/core/dbhouse.h"
#include "organizer/core/FloatRetract.h"

namespace {

constexpr WPARAM kMoveByCaption = 0xF012;   // SC_MOVE with the caption hit-test code

TFloatBounds BoundsOf(const TForm& form) { return {form.Left(), form.Top(), form.Width(), form.Height()}; }

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
}

// The mouse is over the window when the top-level window under the cursor is this one
// (a hidden window is never found there).
void TFloatingBehaviour::Timer5Timer(TObject*)
{
    const TFloatBounds b = BoundsOf(*FForm);
    const int screenWidth = Screen->Width();
    if (!IsDocked(b, screenWidth))
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    const bool over = under && FForm->HandleAllocated() && GetAncestor(under, GA_ROOT) == FForm->Handle();
    if (!over) {
        Timer6->SetEnabled(true);
        return;
    }
    Timer6->SetEnabled(false);
    const TFloatBounds r = RevealBounds(b, screenWidth);
    if (!(r == b))
        FForm->SetBounds(r.Left, r.Top, r.Width, r.Height);
}

void TFloatingBehaviour::Timer6Timer(TObject*)
{
    const TFloatBounds b = BoundsOf(*FForm);
    const TFloatBounds r = RetractBounds(b, Screen->Width());
    if (!(r == b))
        FForm->SetBounds(r.Left, r.Top, r.Width, r.Height);
}
