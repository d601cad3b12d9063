#include <gtest/gtest.h>

#include <climits>

#include "editor/core/NoteEditUndoList.h"
#include "framework/rtl/SysUtils.h"

namespace {
// A one-line document that replays insertions: each item records text inserted at
// Start.Char; undoing removes it, redoing inserts it again, and each replay records the
// item on the other list, as the editor does.
struct Document {
    std::string Text;
    TNoteEditUndoList Undo, Redo;
    bool GroupUndo = true;

    void Type(int pos, const std::string& s, TNoteChangeReason reason = NoteChange::Insert) {
        Text.insert(pos - 1, s);
        Undo.RecordChange(reason, {pos, 1}, {pos + static_cast<int>(s.size()), 1}, s, smNormal);
    }
    void Replay(TNoteEditUndoList& to, const TNoteEditUndoItem& item, bool undoing) {
        if (item.Reason == NoteChange::Insert || item.Reason == NoteChange::Paste) {
            if (undoing)
                Text.erase(item.Start.Char - 1, item.Text.size());
            else
                Text.insert(item.Start.Char - 1, item.Text);
        }
        to.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
    }
    void DoUndo() {
        NoteUndoStep(Undo, Redo, GroupUndo, [this](const TNoteEditUndoItem& item) { Replay(Redo, item, true); });
    }
    void DoRedo() {
        NoteRedoStep(Undo, Redo, GroupUndo, [this](const TNoteEditUndoItem& item) { Replay(Undo, item, false); });
    }
};
}  // namespace

TEST(NoteEditUndoList, LimitDropsTheOldestItems) {
    TNoteEditUndoList list;
    list.SetMaxItems(3);
    for (int i = 0; i < 5; ++i) list.RecordChange(NoteChange::Insert, {i + 1, 1}, {i + 2, 1}, std::to_string(i), smNormal);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(0).Text, "2");
    EXPECT_EQ(list.PeekChange()->Text, "4");
    EXPECT_TRUE(list.FullUndoImpossible());
    list.SetMaxItems(-4);
    EXPECT_EQ(list.MaxItems(), 0);
    EXPECT_EQ(list.Count(), 0);
    list.Clear();
    EXPECT_FALSE(list.FullUndoImpossible());
}

TEST(NoteEditUndoList, ChangeNumbersSkipZeroAndWrap) {
    TNoteEditUndoList list;
    list.SetNextChangeNumber(-1);
    list.RecordChange(NoteChange::Insert, {}, {}, "a", smNormal);
    EXPECT_EQ(list.PeekChange()->ChangeNumber, -1);
    EXPECT_EQ(list.NextChangeNumber(), 1);
    list.SetNextChangeNumber(INT_MAX);
    list.RecordChange(NoteChange::Insert, {}, {}, "b", smNormal);
    EXPECT_EQ(list.NextChangeNumber(), INT_MIN);
}

TEST(NoteEditUndoList, GroupsShareANumberAndAnnounceOnce) {
    TNoteEditUndoList list;
    int added = 0;
    list.OnAddedUndo = [&](void* sender) {
        EXPECT_EQ(sender, &list);
        ++added;
    };
    list.BeginGroup();
    list.BeginGroup();
    list.RecordChange(NoteChange::DeleteSel, {1, 1}, {3, 1}, "ab", smNormal);
    list.EndGroup();
    list.RecordChange(NoteChange::Insert, {1, 1}, {2, 1}, "x", smNormal);
    EXPECT_EQ(list.NextChangeNumber(), 1);  // no advance inside a group
    const int pushes = added;
    list.EndGroup();
    EXPECT_EQ(added, pushes + 1);
    list.EndGroup();  // nothing open: nothing happens
    EXPECT_EQ(added, pushes + 1);
    EXPECT_EQ(list.Item(0).ChangeNumber, 1);
    EXPECT_EQ(list.Item(1).ChangeNumber, 1);
    EXPECT_EQ(list.NextChangeNumber(), 2);
    EXPECT_EQ(list.BlockChangeNumber(), 0);

    list.AddGroupBreak();
    list.AddGroupBreak();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.LastReason(), NoteChange::GroupBreak);
    EXPECT_EQ(added, pushes + 1);  // breaks are not announced

    list.SuspendRecording();
    list.RecordChange(NoteChange::Insert, {}, {}, "ignored", smNormal);
    list.ResumeRecording();
    list.ResumeRecording();
    EXPECT_EQ(list.Count(), 3);
    list.PushChange(nullptr);
    EXPECT_EQ(list.Count(), 3);

    TNoteEditUndoList copy;
    copy.Assign(list);
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Item(1).Text, "x");
    EXPECT_EQ(copy.NextChangeNumber(), list.NextChangeNumber());
    EXPECT_EQ(TNoteEditUndoList().LastReason(), NoteChange::Nothing);
    EXPECT_EQ(TNoteEditUndoList().PopChange(), nullptr);
}

TEST(NoteEditUndoList, SavedStateMarks) {
    TNoteEditUndoList list;
    EXPECT_TRUE(list.IsAtSavedState());
    list.RecordChange(NoteChange::Insert, {}, {}, "a", smNormal);
    EXPECT_FALSE(list.IsAtSavedState());
    list.MarkSavedState(true);
    EXPECT_TRUE(list.IsAtSavedState());
    list.RecordChange(NoteChange::Insert, {}, {}, "b", smNormal);
    list.MarkSavedState(false);  // not at the saved state: nothing forgotten
    auto top = list.PopChange();
    EXPECT_TRUE(list.IsAtSavedState());
    list.MarkSavedState(false);
    EXPECT_FALSE(list.IsAtSavedState());
    list.Clear();
    EXPECT_FALSE(list.IsAtSavedState());  // the saved state can no longer be reached
}

TEST(NoteEditUndoReplay, UndoAfterACaretMoveUndoesTheEdit) {
    Document doc;
    doc.Type(1, "ab");
    doc.Undo.AddGroupBreak();  // the caret moved
    doc.DoUndo();
    EXPECT_EQ(doc.Text, "");
    EXPECT_EQ(doc.Undo.Count(), 0);
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "ab");
    EXPECT_EQ(doc.Undo.LastReason(), NoteChange::GroupBreak);  // the break came back
    EXPECT_EQ(doc.Redo.Count(), 0);
    doc.DoUndo();
    EXPECT_EQ(doc.Text, "");
    doc.DoUndo();  // nothing left: no harm
    EXPECT_EQ(doc.Text, "");
}

TEST(NoteEditUndoReplay, GroupsAndGroupUndo) {
    Document doc;
    doc.Undo.BeginGroup();
    doc.Type(1, "x");
    doc.Type(2, "y", NoteChange::Paste);
    doc.Undo.EndGroup();
    doc.Type(3, "1");
    doc.Type(4, "2");
    doc.Undo.AddGroupBreak();
    doc.Type(5, "3");

    doc.GroupUndo = false;
    doc.DoUndo();
    EXPECT_EQ(doc.Text, "xy12");
    doc.GroupUndo = true;
    doc.DoUndo();  // the break first, then "2" and "1" together (same reason)
    EXPECT_EQ(doc.Text, "xy");
    doc.DoUndo();  // one group, two reasons
    EXPECT_EQ(doc.Text, "");
    EXPECT_EQ(doc.Redo.BlockChangeNumber(), 0);
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "xy");
    EXPECT_EQ(doc.Undo.Item(0).ChangeNumber, doc.Undo.Item(1).ChangeNumber);  // still one group
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "xy12");
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "xy123");
    EXPECT_EQ(doc.Redo.Count(), 0);
}

TEST(NoteEditUndoReplay, CompoundChangesReplayBetweenTheirMarkers) {
    Document doc;
    doc.Type(1, "a");
    doc.Undo.RecordChange(NoteChange::PasteBegin, {}, {}, "", smNormal);
    doc.Type(2, "b");
    doc.Undo.AddGroupBreak();
    doc.Type(3, "c", NoteChange::DeleteSel);
    doc.Undo.RecordChange(NoteChange::PasteEnd, {}, {}, "", smNormal);
    doc.DoUndo();  // down to the begin marker; the break inside is moved, not replayed
    EXPECT_EQ(doc.Text, "ac");  // only insertions change this document's text
    EXPECT_EQ(doc.Undo.Count(), 1);
    EXPECT_EQ(doc.Redo.PeekChange()->Reason, NoteChange::PasteBegin);
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "abc");
    EXPECT_EQ(doc.Undo.Count(), 6);
    EXPECT_EQ(doc.Undo.LastReason(), NoteChange::PasteEnd);
    EXPECT_EQ(doc.Redo.Count(), 0);
}

TEST(NoteEditUndoReplay, SavedStateSurvivesUndoAndRedo) {
    Document doc;
    doc.Type(1, "a");
    doc.Undo.AddGroupBreak();  // saving: a break, then the mark
    doc.Undo.MarkSavedState(true);
    doc.Type(2, "b");
    EXPECT_FALSE(doc.Undo.IsAtSavedState());
    doc.DoUndo();
    EXPECT_TRUE(doc.Undo.IsAtSavedState());
    doc.DoUndo();
    EXPECT_EQ(doc.Text, "");
    EXPECT_FALSE(doc.Undo.IsAtSavedState());
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "a");
    EXPECT_TRUE(doc.Undo.IsAtSavedState());
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "ab");
    EXPECT_FALSE(doc.Undo.IsAtSavedState());
}

TEST(NoteEditUndoReplay, BlockNumberIsRestoredWhenAReplayFails) {
    Document doc;
    doc.Type(1, "a");
    doc.Redo.SetBlockChangeNumber(0);
    EXPECT_THROW(NoteUndoStep(doc.Undo, doc.Redo, true, [](const TNoteEditUndoItem&) { throw Exception("failed"); }),
                 Exception);
    EXPECT_EQ(doc.Redo.BlockChangeNumber(), 0);
}

TEST(NoteEditUndoReplay, ARedoneCommandOpeningItsOwnGroupKeepsOneGroup) {
    Document doc;
    doc.Undo.BeginGroup();
    doc.Type(1, "ab");
    doc.Type(3, "c", NoteChange::Paste);
    doc.Type(4, "d");
    doc.Undo.EndGroup();
    doc.DoUndo();
    ASSERT_EQ(doc.Redo.Count(), 3);
    // Redoing the paste replays a command that opens its own group.
    NoteRedoStep(doc.Undo, doc.Redo, true, [&](const TNoteEditUndoItem& item) {
        if (item.Reason != NoteChange::Paste) return doc.Replay(doc.Undo, item, false);
        doc.Undo.BeginGroup();
        doc.Replay(doc.Undo, item, false);
        doc.Undo.EndGroup();
    });
    ASSERT_EQ(doc.Undo.Count(), 3);
    EXPECT_EQ(doc.Text, "abcd");
    EXPECT_EQ(doc.Undo.Item(0).ChangeNumber, doc.Undo.Item(2).ChangeNumber);
    EXPECT_EQ(doc.Undo.Item(1).ChangeNumber, doc.Undo.Item(2).ChangeNumber);
    doc.DoUndo();
    EXPECT_EQ(doc.Undo.Count(), 0);
    EXPECT_EQ(doc.Text, "");
}

TEST(NoteEditUndoReplay, AGroupIsAnnouncedOncePerUndoAndRedo) {
    Document doc;
    doc.Undo.BeginGroup();
    for (int i = 0; i < 5; ++i) doc.Type(i + 1, "x", i % 2 ? NoteChange::Insert : NoteChange::Paste);
    doc.Undo.EndGroup();
    int undoFired = 0, redoFired = 0;
    doc.Undo.OnAddedUndo = [&](void*) { ++undoFired; };
    doc.Redo.OnAddedUndo = [&](void*) { ++redoFired; };
    doc.DoUndo();
    EXPECT_EQ(doc.Text, "");
    EXPECT_EQ(redoFired, 1);
    doc.DoRedo();
    EXPECT_EQ(doc.Text, "xxxxx");
    EXPECT_EQ(undoFired, 1);
}

TEST(NoteEditUndoReplay, UndoingPastTheLimitNeverLooksSaved) {
    Document doc;
    doc.Undo.SetMaxItems(2);
    doc.Undo.MarkSavedState(true);
    for (int i = 0; i < 3; ++i) {
        doc.Type(i + 1, std::string(1, static_cast<char>('a' + i)));
        doc.Undo.AddGroupBreak();
    }
    while (doc.Undo.HasItems()) doc.DoUndo();
    EXPECT_NE(doc.Text, "");
    EXPECT_FALSE(doc.Undo.IsAtSavedState());
    doc.Undo.MarkSavedState(true);  // saved here: this empty list is the saved state now
    EXPECT_TRUE(doc.Undo.IsAtSavedState());
}
