#pragma once
// The countdown manager: the five rows of sz_djsb in a grid, each marked shown or not
// shown. Marking changes only the row's qyzt; the clock window's visibility check then
// shows or closes the slot's countdown window.

#include "framework/win/DBGrids.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"

class TFormdjscx : public TForm {
public:
    explicit TFormdjscx(TComponent* AOwner);

    TskSkinForm* DSF;
    TskSkinData* skSkinData1;
    TskCompressedStoredSkin* CompressedStoredSkin1;
    TDBGrid* DBGrid1;
    TLabel* Label1;                     // the hint on the flag's values
    TskSkinGroupBox* skSkinGroupBox2;   // "查询条件"
    TskSkinButton *skSkinButton1, *skSkinButton2, *skSkinButton6;   // not shown, shown, back

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void skSkinButton1Click(TObject* Sender);
    void skSkinButton2Click(TObject* Sender);
    void skSkinButton6Click(TObject* Sender);

private:
    void Mark(bool shown);
};

extern TFormdjscx* Formdjscx;
