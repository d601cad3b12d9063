#include "editor/core/NoteEditUndoList.h"

#include <climits>

#include "editor/core/NoteEditMiscProcs.h"

void TNoteEditUndoList::AdvanceChangeNumber() {
    FNextChangeNumber = FNextChangeNumber == INT_MAX ? INT_MIN : FNextChangeNumber + 1;
    if (FNextChangeNumber == 0) FNextChangeNumber = 1;
}

void TNoteEditUndoList::RecordChange(TNoteChangeReason reason, TBufferCoord start, TBufferCoord end,
                                     std::string text, TNoteSelectionMode selMode, std::vector<int> columns) {
    if (FLockCount > 0) return;
    auto item = std::make_unique<TNoteEditUndoItem>();
    item->Reason = reason;
    item->SelMode = selMode;
    item->Start = start;
    item->End = end;
    item->Text = std::move(text);
    item->Columns = std::move(columns);
    if (FBlockChangeNumber != 0) {
        item->ChangeNumber = FBlockChangeNumber;
    } else {
        item->ChangeNumber = FNextChangeNumber;
        if (FBlockCount == 0) AdvanceChangeNumber();
    }
    PushChange(std::move(item));
}

// A group opened while a block number is set from outside (a replay) joins that block.
void TNoteEditUndoList::BeginGroup() {
    if (FBlockCount++ > 0) return;
    FOuterBlockChangeNumber = FBlockChangeNumber;
    if (FBlockChangeNumber == 0) FBlockChangeNumber = FNextChangeNumber;
}

void TNoteEditUndoList::EndGroup() {
    if (FBlockCount == 0) return;
    if (--FBlockCount > 0) return;
    const int number = FBlockChangeNumber;
    FBlockChangeNumber = FOuterBlockChangeNumber;
    FOuterBlockChangeNumber = 0;
    if (FBlockChangeNumber == 0) AdvanceChangeNumber();
    if (!FItems.empty() && FItems.back()->ChangeNumber == number) Fire();
}

void TNoteEditUndoList::PushChange(std::unique_ptr<TNoteEditUndoItem> item) {
    if (!item) return;
    const TNoteChangeReason reason = item->Reason;
    FItems.push_back(std::move(item));
    Trim();
    if (reason != NoteChange::GroupBreak && FBlockCount == 0) Fire();
}

std::unique_ptr<TNoteEditUndoItem> TNoteEditUndoList::PopChange() {
    if (FItems.empty()) return nullptr;
    auto item = std::move(FItems.back());
    FItems.pop_back();
    return item;
}

void TNoteEditUndoList::AddGroupBreak() {
    if (LastReason() != NoteChange::GroupBreak) RecordChange(NoteChange::GroupBreak, {}, {}, {}, smNormal);
}

bool TNoteEditUndoList::MoveGroupBreakTo(TNoteEditUndoList& target) {
    if (FItems.empty() || FItems.back()->Reason != NoteChange::GroupBreak) return false;
    auto item = PopChange();
    if (target.LastReason() != NoteChange::GroupBreak) target.PushChange(std::move(item));
    return true;
}

void TNoteEditUndoList::Clear() {
    // The empty list stands for the saved state only when the text was at it: changes that
    // can no longer be undone keep it out of reach.
    FSavedState = IsAtSavedState() ? 0 : -1;
    FItems.clear();
    FFullUndoImpossible = false;
}

void TNoteEditUndoList::SetMaxItems(int value) {
    if (value < 0) value = 0;
    if (value == FMaxItems) return;
    FMaxItems = value;
    Trim();
}

void TNoteEditUndoList::Trim() {
    if (Count() <= FMaxItems) return;
    FItems.erase(FItems.begin(), FItems.begin() + (Count() - FMaxItems));
    FFullUndoImpossible = true;
    // The empty list no longer stands for the text it had: its saved state is out of reach.
    if (FSavedState == 0) FSavedState = -1;
}

void TNoteEditUndoList::MarkSavedState(bool mark) {
    if (mark) {
        FSavedState = FItems.empty() ? 0 : FItems.back()->ChangeNumber;
    } else if (FItems.empty() ? FSavedState == 0 : FItems.back()->ChangeNumber == FSavedState) {
        FSavedState = -1;
    }
}

bool TNoteEditUndoList::IsAtSavedState() const {
    return FItems.empty() ? FSavedState == 0 : FItems.back()->ChangeNumber == FSavedState;
}

void TNoteEditUndoList::Assign(const TNoteEditUndoList& source) {
    if (&source == this) return;
    Clear();
    for (const auto& item : source.FItems) FItems.push_back(std::make_unique<TNoteEditUndoItem>(*item));
    FBlockChangeNumber = source.FBlockChangeNumber;
    FBlockCount = source.FBlockCount;
    FFullUndoImpossible = source.FFullUndoImpossible;
    FLockCount = source.FLockCount;
    FMaxItems = source.FMaxItems;
    FNextChangeNumber = source.FNextChangeNumber;
    FSavedState = source.FSavedState;
}

namespace {
// Replays the group on top of `from`; the replay records into `to`. opensCompound tells
// which markers start a compound change when read from this side. A group break inside
// the group is moved across, never replayed.
void ReplayGroup(TNoteEditUndoList& from, TNoteEditUndoList& to, bool groupUndo, bool (*opensCompound)(TNoteChangeReason),
                 const TNoteReplayItem& replay) {
    const TNoteEditUndoItem* top = from.PeekChange();
    if (!top) return;
    const TNoteChangeReason first = top->Reason;
    const int number = top->ChangeNumber;
    // The replay is one group on the other list: it keeps the number, groups opened by the
    // replayed commands join it, and its listeners hear of it once.
    struct BlockNumber {
        TNoteEditUndoList& list;
        int saved;
        ~BlockNumber() {
            try {
                list.EndGroup();
            } catch (...) {
                NoteHandleException();
            }
            list.SetBlockChangeNumber(saved);
        }
    } restore{to, to.BlockChangeNumber()};
    to.SetBlockChangeNumber(number);
    to.BeginGroup();
    for (;;) {
        auto item = from.PopChange();
        if (item->Reason == NoteChange::GroupBreak)
            to.PushChange(std::move(item));
        else
            replay(*item);
        const TNoteEditUndoItem* next = from.PeekChange();
        if (!next) return;
        if (opensCompound(first)) {
            if (next->Reason == (first % 2 ? first - 1 : first + 1)) {
                item = from.PopChange();
                replay(*item);
                return;
            }
            continue;
        }
        if (next->ChangeNumber == number) continue;
        const TNoteChangeReason last = item ? item->Reason : NoteChange::GroupBreak;
        const bool sameReason = groupUndo && next->Reason == last && last != NoteChange::GroupBreak &&
                                last != NoteChange::Indent && last != NoteChange::Unindent;
        if (!sameReason) return;
    }
}
}  // namespace

void NoteUndoStep(TNoteEditUndoList& undoList, TNoteEditUndoList& redoList, bool groupUndo,
                  const TNoteReplayItem& replay) {
    undoList.MoveGroupBreakTo(redoList);
    ReplayGroup(undoList, redoList, groupUndo, NoteChange::IsEndMarker, replay);
}

void NoteRedoStep(TNoteEditUndoList& undoList, TNoteEditUndoList& redoList, bool groupUndo,
                  const TNoteReplayItem& replay) {
    redoList.MoveGroupBreakTo(undoList);
    ReplayGroup(redoList, undoList, groupUndo, NoteChange::IsBeginMarker, replay);
    redoList.MoveGroupBreakTo(undoList);
}
