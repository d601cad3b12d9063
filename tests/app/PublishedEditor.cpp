// The ruled editor for Published_test.cpp, made apart: its scroll-bar names are those of
// the framework's edit controls, which the month view's header brings in.
#include "editor/win/NoteEdit.h"

TControl* MakePublishedNoteEdit(TWinControl* parent) {
    auto* c = new TNoteEdit(parent->ParentForm());
    c->SetParent(parent);
    c->SetBounds(10, 10, 120, 90);
    return c;
}
