#include "organizer/win/jrbj.h"

#include "app/core/dbhouse.h"
#include "framework/win/Application.h"
#include "organizer/core/FestivalRules.h"
#include "organizer/win/GridList.h"
#include "organizer/win/xgrq.h"
#include "organizer/win/xzrq.h"
#include "organizer/win/FormParts.h"

TFormjrbj* Formjrbj = nullptr;

TFormjrbj::TFormjrbj(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formjrbj");
  SetCaption("节日编辑");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(684, 430);
  AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

  skSkinGroupBox2 = MakeSkinGroupBox(skSkinData1, this, this, Bounds(8, 6, 668, 86));
  Label1 = Make<TLabel>(this, skSkinGroupBox2, "Label1", 16, 22, 600, 16);
  Label1->SetCaption("提示：设置好后，请退出软件再进入设置生效！");
  struct {
    TskSkinButton** Button;
    const char* Name;
    const char* Caption;
    void (TFormjrbj::*Click)(TObject*);
  } const buttons[] = {{&skSkinButton1, "skSkinButton1", "新增", &TFormjrbj::skSkinButton1Click},
                       {&skSkinButton2, "skSkinButton2", "编辑", &TFormjrbj::skSkinButton2Click},
                       {&skSkinButton3, "skSkinButton3", "删除", &TFormjrbj::skSkinButton3Click},
                       {&skSkinButton4, "skSkinButton4", "清空", &TFormjrbj::skSkinButton4Click},
                       {&skSkinButton5, "skSkinButton5", "返回", &TFormjrbj::skSkinButton5Click}};
  int left = 16;
  for (const auto& b : buttons) {
    *b.Button = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, b.Name, b.Caption, Bounds(left, 46, 100, 27),
                               [this, click = b.Click](TObject* s) { (this->*click)(s); });
    left += 130;
  }

  DBGrid1 = Make<TDBGrid>(this, this, "DBGrid1", 8, 100, 668, 322);
  AddGridColumns(*DBGrid1,
                 {{"jrlx", "节日类型", 100}, {"rqlx", "日期类型", 99}, {"jrmc", "名称", 237},
                  {"jrhyfrq", "日期", 143}, {"qsnf", "开始年份", 70}, {"yypath", "音乐路径", 64}},
                 false);
  DBGrid1->Columns().Items(5)->SetVisible(false);
  if (dbhouse) DBGrid1->SetDataSource(dbhouse->qjrcx_s);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFormjrbj::FormShow(TObject*) { OpenGridList(*dbhouse->qjrcx, FestivalListSQL); }

void TFormjrbj::FormClose(TObject*, TCloseAction&) { dbhouse->qjrcx->Close(); }

void TFormjrbj::skSkinButton1Click(TObject*) {
  MadeOnFirstUse(Formxzrq)->ShowModal();
}

void TFormjrbj::skSkinButton2Click(TObject*) {
  TADOQuery& list = *dbhouse->qjrcx;
  if (!list.Active() || list.IsEmpty()) return;
  MadeOnFirstUse(Formxgrq)->LoadFestival(ReadFestivalRow(list));
  Formxgrq->ShowModal();
  list.Close();
  list.Open();
}

void TFormjrbj::skSkinButton3Click(TObject*) {
  DeleteCurrentRow(*dbhouse->qjrcx, *dbhouse->qup, "delete from sz_jrb where iid= :iid ", "您确定要删除此条记录吗？");
}

void TFormjrbj::skSkinButton4Click(TObject*) {
  DeleteAllRows(*dbhouse->qjrcx, *dbhouse->qup, "delete from sz_jrb  ", "您确定要清空所有节日记录吗？");
}

void TFormjrbj::skSkinButton5Click(TObject*) { Close(); }
