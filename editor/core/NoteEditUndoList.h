#pragma once
// The editor's undo and redo lists: recorded changes with their reason, selection mode,
// range and text, grouped by change numbers; group breaks that keep later typing apart;
// a saved-state mark for the editor's Modified state; and the Undo and Redo steps that
// decide which items one command replays (the editor supplies how one item is replayed).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/core/NoteEditTypes.h"

using TNoteChangeReason = std::uint8_t;
// Reasons recorded by the editor's commands; 10..17 are begin/end markers of compound
// changes (even begins, odd ends).
namespace NoteChange {
constexpr TNoteChangeReason Insert = 0, Paste = 1, DragDropInsert = 2, DeleteBackwardSel = 3, DeleteSel = 4,
                            LineBreak = 5, Indent = 6, Unindent = 7, DeleteBefore = 8, DeleteAfter = 9,
                            PasteBegin = 12, PasteEnd = 13, Caret = 18, Selection = 19, Nothing = 20,
                            GroupBreak = 21, DeleteAll = 22, BlanksAdded = 23;
inline bool IsBeginMarker(TNoteChangeReason r) { return r >= 10 && r <= 17 && r % 2 == 0; }
inline bool IsEndMarker(TNoteChangeReason r) { return r >= 10 && r <= 17 && r % 2 == 1; }
}  // namespace NoteChange

struct TNoteEditUndoItem {
    TNoteChangeReason Reason = NoteChange::Nothing;
    TNoteSelectionMode SelMode = smNormal;
    TBufferCoord Start, End;
    std::string Text;
    // A column block cut out, or put back by a case change: the byte column of each line's
    // piece (a bound on a trail byte cuts one byte further), so that undo and redo put every
    // piece back where it was.
    std::vector<int> Columns;
    int ChangeNumber = 0;
    void Assign(const TNoteEditUndoItem& source) { *this = source; }
};

class TNoteEditUndoList {
public:
    // Fires for every pushed item outside a group except group breaks, and once for a whole
    // closed group.
    TNoteNotifyEvent OnAddedUndo;

    TNoteEditUndoList() = default;
    TNoteEditUndoList(const TNoteEditUndoList&) = delete;
    TNoteEditUndoList& operator=(const TNoteEditUndoList&) = delete;

    void RecordChange(TNoteChangeReason reason, TBufferCoord start, TBufferCoord end, std::string text,
                      TNoteSelectionMode selMode, std::vector<int> columns = {});
    void BeginGroup();
    void EndGroup();
    void PushChange(std::unique_ptr<TNoteEditUndoItem> item);
    std::unique_ptr<TNoteEditUndoItem> PopChange();
    TNoteEditUndoItem* PeekChange() const { return FItems.empty() ? nullptr : FItems.back().get(); }
    TNoteChangeReason LastReason() const { return FItems.empty() ? NoteChange::Nothing : FItems.back()->Reason; }
    void AddGroupBreak();
    // Moves a group break on top of this list to the top of target; false when none.
    bool MoveGroupBreakTo(TNoteEditUndoList& target);

    bool HasItems() const { return !FItems.empty(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    const TNoteEditUndoItem& Item(int index) const { return *FItems.at(index); }
    void SuspendRecording() { ++FLockCount; }
    void ResumeRecording() { if (FLockCount > 0) --FLockCount; }
    void Clear();

    int MaxItems() const { return FMaxItems; }
    void SetMaxItems(int value);
    bool FullUndoImpossible() const { return FFullUndoImpossible; }
    int BlockChangeNumber() const { return FBlockChangeNumber; }
    void SetBlockChangeNumber(int value) { FBlockChangeNumber = value; }
    int BlockCount() const { return FBlockCount; }
    int NextChangeNumber() const { return FNextChangeNumber; }
    void SetNextChangeNumber(int value) { FNextChangeNumber = value; }

    void MarkSavedState(bool mark);
    bool IsAtSavedState() const;
    void Assign(const TNoteEditUndoList& source);

private:
    void AdvanceChangeNumber();
    void Trim();
    void Fire() { if (OnAddedUndo) OnAddedUndo(this); }

    int FBlockChangeNumber = 0;
    int FOuterBlockChangeNumber = 0;
    int FBlockCount = 0;
    bool FFullUndoImpossible = false;
    int FLockCount = 0;
    int FMaxItems = 1024;
    int FNextChangeNumber = 1;
    int FSavedState = 0;
    std::vector<std::unique_ptr<TNoteEditUndoItem>> FItems;
};

// Replays one item: the editor reverses (undo) or repeats (redo) it and records the
// counterpart on the other list.
using TNoteReplayItem = std::function<void(const TNoteEditUndoItem& item)>;

// One Undo: a group break on top of the undo list first moves to the redo list (a break is
// never replayed); then the top item and the items that belong with it are replayed: a
// compound change down to its begin marker, else the items of its change number, and with
// groupUndo the following items of the same reason (not indents). While it runs the redo
// list's block change number is the group's, so the redone items keep their group.
void NoteUndoStep(TNoteEditUndoList& undoList, TNoteEditUndoList& redoList, bool groupUndo,
                  const TNoteReplayItem& replay);
// One Redo, the mirror of NoteUndoStep; afterwards a group break on top of the redo list
// goes back to the undo list.
void NoteRedoStep(TNoteEditUndoList& undoList, TNoteEditUndoList& redoList, bool groupUndo,
                  const TNoteReplayItem& replay);
