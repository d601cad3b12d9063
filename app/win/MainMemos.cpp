// The clock window's five-second memo timer: the sticky-note and countdown windows
// follow the in-use flags of their rows, the memo board is filled with the memos inside
// their days of notice and shown or closed, and every minute-precise memo whose moment
// has come is marked as reminded, sounded and popped up. Like every reminder timer it
// swallows its errors and runs again at the next tick.
#include "app/win/Main.h"

#include <optional>

#include "app/core/MemoReminder.h"
#include "app/core/MsgPopup.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "app/win/MsgFrm.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Sound.h"

namespace {

template <class Step>
void Quietly(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

// A hidden window is not closed again: its close would rewrite its position every pass.
void ShowOrClose(TForm* form, bool shown)
{
    if (!form)
        return;
    if (shown && !form->Visible())
        form->Show();
    else if (!shown && form->Visible())
        form->Close();
}

template <size_t N>
void FollowSlots(const TSlotStates& states, const std::array<TForm*, N>& forms)
{
    if (!states)
        return;
    for (size_t i = 0; i < N && i < states->size(); ++i)
        if (const std::optional<bool>& inUse = (*states)[i])
            ShowOrClose(forms[i], *inUse);
}

TControl* BoardPart(TForm* board, const std::string& name)
{
    return dynamic_cast<TControl*>(board->FindComponent(name));
}

// Panel k holds Label 2k-1 (date line), Label 2k (memo text) and the hidden Edit 110+k
// (the row's iid). Panels are only ever shown here; hiding them is the board's own.
void FillMemoBoard(TForm* board, const std::vector<TBoardPanel>& panels)
{
    if (!board)
        return;
    for (size_t i = 0; i < panels.size(); ++i) {
        const int k = int(i) + 1;
        if (TControl* edit = BoardPart(board, "Edit" + IntToStr(110 + k)))
            edit->SetText(IntToStr(panels[i].Iid));
        if (TControl* panel = BoardPart(board, "Panel" + IntToStr(k)))
            panel->SetVisible(true);
        board->SetHeight(MemoBoardPanelHeight * k);
        if (TControl* line = BoardPart(board, "Label" + IntToStr(2 * k - 1)))
            line->SetCaption(panels[i].DateLine);
        if (TControl* text = BoardPart(board, "Label" + IntToStr(2 * k)))
            text->SetCaption(panels[i].Text);
    }
}

}  // namespace

void TFmMain::tbwlTimer(TObject*)
{
    tbwl->SetEnabled(false);
    if (dbhouse) {
        Tdbhouse& db = *dbhouse;
        Quietly([&] { FollowSlots(ReadSlotsInUse(db, "bqxsf", "sz_bqb", NoteSlotKeys), NoteForms); });
        Quietly([&] { FollowSlots(ReadSlotsInUse(db, "djsxsf", "sz_djsb", CountdownSlotKeys), CountdownForms); });
        bool boardWanted = false;
        Quietly([&] {
            const TDateTime now = Now();
            TMemoPlan plan = PlanMemoPass(ReadPendingMemos(db, now), now);
            boardWanted = plan.BoardWanted;
            FillMemoBoard(MemoBoardForm, plan.Panels);
            for (const TPendingMemo& row : plan.Due)
                Quietly([&] {
                    MarkMemoReminded(db, row.Iid);   // a row that cannot be marked stays for the next pass
                    for (int i = 0; i < ReminderPlayCount; ++i)
                        SndPlaySound(AltsWavPath, 0);
                    MsgPopupSide = MsgSideBottomRight;
                    MsgPopupSeconds = 9999999;
                    ShowMsgPopup(row.Nr, 1);
                });
        });
        Quietly([&] { ShowOrClose(MemoBoardForm, boardWanted); });
    }
    tbwl->SetEnabled(true);
}
