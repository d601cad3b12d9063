#pragma once
// The note records manager: the seven rows of sz_bqb in a grid, each marked shown or not
// shown, and the viewer that shows one note's text file. Marking changes only the row's
// qyzt; the clock window's visibility check then shows or closes the note's window, and
// a slot marked not shown is free for the next new note.

#include "framework/win/Buttons.h"
#include "framework/win/DBGrids.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"
#include "organizer/win/NoteMemoView.h"

class TFormxsbq : public TForm {
public:
    explicit TFormxsbq(TComponent* AOwner);

    TNoteMemo* Memo1;
    TBitBtn* BitBtn2;   // "返回"

    void BitBtn2Click(TObject* Sender);
};

class TFormbqcx : public TForm {
public:
    explicit TFormbqcx(TComponent* AOwner);

    TskSkinForm* DSF;
    TskSkinData* skSkinData1;
    TskCompressedStoredSkin* CompressedStoredSkin1;
    TDBGrid* DBGrid1;
    TskSkinGroupBox* skSkinGroupBox2;   // "查询条件"
    TskSkinButton *skSkinButton3, *skSkinButton1, *skSkinButton2, *skSkinButton6;   // show, not shown, shown, back
    TLabel* Label1;         // the hint on the flag's values

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void skSkinButton3Click(TObject* Sender);
    void skSkinButton1Click(TObject* Sender);
    void skSkinButton2Click(TObject* Sender);
    void skSkinButton6Click(TObject* Sender);

private:
    bool HasRow() const;
    void Mark(bool shown);
};

extern TFormbqcx* Formbqcx;
extern TFormxsbq* Formxsbq;
// Frees the viewer (and nulls its name) once the message loop has ended, before the
// program's static objects go.
void FreeNoteViewer();
