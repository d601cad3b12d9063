#pragma once
// The sticky notes' look on an editor control, for the editor's Windows tests and benchmarks:
// ruled, the active line yellow, wrapped at the right edge, 新宋体 of 12 pixels, no gutter.

#include "editor/win/NoteEdit.h"

inline void SetNoteLook(TNoteEdit* edit) {
    edit->SetColor(clInfoBk);
    edit->ActiveLine().SetBackground(NoteColor::Yellow);
    edit->ActiveLine().SetForeground(NoteColor::Navy);
    edit->LineDivider().SetVisible(true);
    edit->LineDivider().SetColor(NoteColor::Red);
    edit->LineDivider().SetStyle(TNotePenStyle::Dot);
    edit->RightEdge().SetColor(NoteColor::Green);
    edit->SetLineSpacingRule(lsOneAndHalf);
    edit->Font().SetName("新宋体");
    edit->Font().SetHeight(-12);
    edit->Font().SetPitch(fpFixed);
    edit->Gutter().SetVisible(false);
    edit->SetBorderStyle(bsNone);
    edit->WordWrap().SetStyle(wwsRightEdge);
    edit->WordWrap().SetEnabled(true);
}
