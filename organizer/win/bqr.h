#pragma once
// The seven sticky notes: small borderless windows with a date line and a ruled text
// editor, floating on the desktop with edge retraction. One class serves every slot;
// TFormbqr1..TFormbqr7 are its members for slots 1..7, each with its row "便签N位置" in
// sz_bqb (and in sz_fzb), its text file bq\<iid>.txt beside the program and its position
// pair. The text is saved on every change; the clock window shows and closes the notes by
// their row's qyzt, and NoteForms holds them for the menus and timers to walk.

#include <array>
#include <string>

#include "framework/win/Buttons.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/FileDialogs.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/StickyNotes.h"
#include "organizer/win/FloatingWindow.h"
#include "organizer/win/NoteMemoView.h"

class TNoteForm : public TForm {
public:
    TNoteForm(TComponent* AOwner, int slot);
    ~TNoteForm() override;

    int Slot() const { return FTraits.Slot; }
    const TNoteTraits& Traits() const { return FTraits; }

    TPanel* Panel2;          // the title strip
    TImage* Image1;
    TLabel* Label1;          // the weekday
    TEdit* Edit1;            // the date line
    TBitBtn* BitBtn1;        // "...": the date picker, shown while Edit1 has the focus
    TPanel* Panel1;          // the body
    TNoteMemo* NoteMemo1;
    TWinControl* NoteMemo1Control;   // the same editor as a control
    TPopupMenu* PopupMenu1;
    TMenuItem *N1, *N2, *N4, *N5, *N3;
    TOpenDialog* OpenDialog1;
    TFloatingBehaviour* Floating;   // drag, position, Timer5 and Timer6

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void NoteMemo1Change();
    void N1Click(TObject* Sender);   // "选择文件"
    void N2Click(TObject* Sender);   // "保存文件"
    void N4Click(TObject* Sender);   // "标志为已读"
    void N5Click(TObject* Sender);   // clear
    void N3Click(TObject* Sender);   // "关闭"
    void Edit1Enter(TObject* Sender);
    void Edit1Exit(TObject* Sender);
    void Edit1Change(TObject* Sender);
    void BitBtn1Click(TObject* Sender);

private:
    // The "..." button beside a narrower date line, or the date line up to the weekday.
    void ShowPickButton(bool shown);
    void LoadNote();
    // After a failed load: loads again; true (the editor writable again) once it has loaded.
    bool RetryLoad();
    // Saves a non-empty text into the note's file and its row. A failure is reported once
    // per run of failures (always when `reportAlways`); the old file stays whole.
    void SaveNote(bool reportAlways);
    int SelectRow();   // the row's iid on qcx, left open
    std::string SaveEditorTo(int iid);

    const TNoteTraits& FTraits;
    TSaveFailureLatch FSaveFailures;
    bool FLoadFailed = false;   // the file keeps a text the editor never showed
};

class TFormbqr1 : public TNoteForm {
public:
    explicit TFormbqr1(TComponent* AOwner) : TNoteForm(AOwner, 1) {}
};
class TFormbqr2 : public TNoteForm {
public:
    explicit TFormbqr2(TComponent* AOwner) : TNoteForm(AOwner, 2) {}
};
class TFormbqr3 : public TNoteForm {
public:
    explicit TFormbqr3(TComponent* AOwner) : TNoteForm(AOwner, 3) {}
};
class TFormbqr4 : public TNoteForm {
public:
    explicit TFormbqr4(TComponent* AOwner) : TNoteForm(AOwner, 4) {}
};
class TFormbqr5 : public TNoteForm {
public:
    explicit TFormbqr5(TComponent* AOwner) : TNoteForm(AOwner, 5) {}
};
class TFormbqr6 : public TNoteForm {
public:
    explicit TFormbqr6(TComponent* AOwner) : TNoteForm(AOwner, 6) {}
};
class TFormbqr7 : public TNoteForm {
public:
    explicit TFormbqr7(TComponent* AOwner) : TNoteForm(AOwner, 7) {}
};

extern TFormbqr1* Formbqr1;
extern TFormbqr2* Formbqr2;
extern TFormbqr3* Formbqr3;
extern TFormbqr4* Formbqr4;
extern TFormbqr5* Formbqr5;
extern TFormbqr6* Formbqr6;
extern TFormbqr7* Formbqr7;
// Slot N's window at index N-1; null until it is made.
extern std::array<TNoteForm*, kNoteSlots> NoteForms;
// Frees the seven notes (and nulls their names) while the program's static objects, the
// editor's font cache among them, are still whole; the message loop has ended.
void FreeNoteForms();
