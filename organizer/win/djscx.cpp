#include "organizer/win/djscx.h"

#include "app/core/dbhouse.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/Countdown.h"
#include "organizer/win/FormParts.h"
#include "organizer/win/GridList.h"
#include "organizer/win/SlotMarks.h"

TFormdjscx* Formdjscx = nullptr;

namespace {

void OpenList() { OpenGridList(*dbhouse->qdjs, "select * from sz_djsb order by bz "); }

}  // namespace

TFormdjscx::TFormdjscx(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Formdjscx");
    SetCaption("倒计时查询");
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    SetBorderIcons({biSystemMenu, biMinimize});
    SetClientSize(520, 300);
    AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

    DBGrid1 = Make<TDBGrid>(this, this, "DBGrid1", 8, 8, 504, 180);
    AddGridColumns(*DBGrid1, {{"bz", "倒计时名称", 100}, {"zt", "主题", 276}, {"qyzt", "是否显示", 100}}, true);
    if (dbhouse)
        DBGrid1->SetDataSource(dbhouse->qdjs_s);
    Label1 = Make<TLabel>(this, this, "Label1", 8, 198, 504, 16);
    Label1->SetCaption("提示：1--表示显示0--表示不显示");
    skSkinGroupBox2 = MakeSkinGroupBox(skSkinData1, this, this, Bounds(8, 222, 504, 66));
    skSkinButton1 = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, "skSkinButton1", "标记不显示",
                                   Bounds(40, 20, 100, 27), [this](TObject* o) { skSkinButton1Click(o); });
    skSkinButton2 = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, "skSkinButton2", "标记显示",
                                   Bounds(202, 20, 100, 27), [this](TObject* o) { skSkinButton2Click(o); });
    skSkinButton6 = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, "skSkinButton6", "返回",
                                   Bounds(364, 20, 100, 27), [this](TObject* o) { skSkinButton6Click(o); });

    OnShow = [this](TObject* o) { FormShow(o); };
    OnClose = [this](TObject* o, TCloseAction& a) { FormClose(o, a); };
    ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFormdjscx::FormShow(TObject*) { OpenList(); }

void TFormdjscx::FormClose(TObject*, TCloseAction&) { dbhouse->qdjs->Close(); }

void TFormdjscx::Mark(bool shown)
{
    TADOQuery& list = *dbhouse->qdjs;
    if (!list.Active() || list.IsEmpty())
        return;
    if (!AskYesNo(CountdownMarkQuestion(list.FieldByName("bz").AsString(), shown)))
        return;
    MarkCurrentRowShown(list, "sz_djsb", shown);
    OpenList();
}

void TFormdjscx::skSkinButton1Click(TObject*) { Mark(false); }

void TFormdjscx::skSkinButton2Click(TObject*) { Mark(true); }

void TFormdjscx::skSkinButton6Click(TObject*) { Close(); }
