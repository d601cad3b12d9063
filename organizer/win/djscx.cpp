#include "organizer/win/djscx.h"

#include "app/core/dbhouse.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/Countdown.h"
#include "organizer/win/FormParts.h"
#include "organizer/win/SlotMarks.h"

TFormdjscx* Formdjscx = nullptr;

namespace {

void OpenList()
{
    TADOQuery& q = *dbhouse->qdjs;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_djsb order by bz ");
    q.Open();
}

}  // namespace

TFormdjscx::TFormdjscx(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Formdjscx");
    SetCaption("倒计时查询");
    SetBorderStyle(bsSingle);
    SetBorderIcons({biSystemMenu, biMinimize});
    SetClientSize(520, 300);

    DBGrid1 = Make<TDBGrid>(this, this, "DBGrid1", 8, 8, 504, 180);
    struct {
        const char* Field;
        const char* Title;
        int Width;
    } const columns[] = {{"bz", "倒计时名称", 100}, {"zt", "主题", 276}, {"qyzt", "是否显示", 100}};
    for (const auto& c : columns) {
        TColumn* column = DBGrid1->Columns().Add();
        column->SetFieldName(c.Field);
        column->Title().SetCaption(c.Title);
        column->Title().SetAlignment(taCenter);
        column->SetWidth(c.Width);
    }
    if (dbhouse)
        DBGrid1->SetDataSource(dbhouse->qdjs_s);
    Label1 = Make<TLabel>(this, this, "Label1", 8, 198, 504, 16);
    Label1->SetCaption("提示：1--表示显示0--表示不显示");
    GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 222, 504, 66);
    GroupBox1->SetCaption("查询条件");
    skSkinButton1 = Make<TButton>(this, GroupBox1, "skSkinButton1", 40, 26, 100, 27);
    skSkinButton1->SetCaption("标记不显示");
    skSkinButton1->OnClick = [this](TObject* o) { skSkinButton1Click(o); };
    skSkinButton2 = Make<TButton>(this, GroupBox1, "skSkinButton2", 202, 26, 100, 27);
    skSkinButton2->SetCaption("标记显示");
    skSkinButton2->OnClick = [this](TObject* o) { skSkinButton2Click(o); };
    skSkinButton6 = Make<TButton>(this, GroupBox1, "skSkinButton6", 364, 26, 100, 27);
    skSkinButton6->SetCaption("返回");
    skSkinButton6->OnClick = [this](TObject* o) { skSkinButton6Click(o); };

    OnShow = [this](TObject* o) { FormShow(o); };
    OnClose = [this](TObject* o, TCloseAction& a) { FormClose(o, a); };
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
