#include "organizer/win/bwlcx.h"

#include "app/core/dbhouse.h"
#include "framework/win/Application.h"
#include "organizer/core/MemoRules.h"
#include "organizer/win/GridList.h"
#include "organizer/win/bwlbj.h"
#include "organizer/win/bwxg.h"
#include "organizer/win/FormParts.h"

TFormbwlcx* Formbwlcx = nullptr;

TFormbwlcx::TFormbwlcx(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formbwlcx");
  SetCaption("备忘录查询");
  SetBorderStyle(bsSizeable);
  SetPosition(poScreenCenter);
  SetClientSize(624, 400);
  AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

  skSkinGroupBox2 = MakeSkinGroupBox(skSkinData1, this, this, Bounds(0, 0, 624, 62));
  skSkinGroupBox2->SetAlign(alTop);
  struct {
    TskSkinButton** Button;
    const char* Name;
    const char* Caption;
    void (TFormbwlcx::*Click)(TObject*);
  } const buttons[] = {{&skSkinButton3, "skSkinButton3", "新增", &TFormbwlcx::skSkinButton3Click},
                       {&skSkinButton1, "skSkinButton1", "编辑", &TFormbwlcx::skSkinButton1Click},
                       {&skSkinButton2, "skSkinButton2", "删除", &TFormbwlcx::skSkinButton2Click},
                       {&skSkinButton4, "skSkinButton4", "清空", &TFormbwlcx::skSkinButton4Click},
                       {&skSkinButton6, "skSkinButton6", "返回", &TFormbwlcx::skSkinButton6Click}};
  int left = 16;
  for (const auto& b : buttons) {
    *b.Button = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, b.Name, b.Caption, Bounds(left, 18, 90, 27),
                               [this, click = b.Click](TObject* s) { (this->*click)(s); });
    left += 116;
  }

  DBGrid1 = Make<TDBGrid>(this, this, "DBGrid1", 0, 62, 624, 338);
  DBGrid1->SetAlign(alClient);
  // The due time ("2025-12-28 23:58:58") and the memo date ("2025年12月28日 23:58 周日")
  // show whole inside the list view's label padding; the content gives up the width.
  AddGridColumns(*DBGrid1,
                 {{"ylsj", "提醒时间", 126}, {"xssj", "备忘日期", 160}, {"nr", "内容", 143}, {"tqtsts", "提前提醒", 64},
                  {"gqzdsc", "过期删除", 64}, {"chts", "重复", 44}, {"yypath", "音乐", 64}},
                 true);
  DBGrid1->Columns().Items(6)->SetVisible(false);
  DBGrid1->Columns().Items(0)->OnGetText = [](std::string& text) { text = MemoListTimeText(text); };
  if (dbhouse) DBGrid1->SetDataSource(dbhouse->qbwcx_s);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFormbwlcx::FormShow(TObject*) { OpenGridList(*dbhouse->qbwcx, MemoListSQL); }

void TFormbwlcx::FormClose(TObject*, TCloseAction&) { dbhouse->qbwcx->Close(); }

void TFormbwlcx::skSkinButton3Click(TObject*) {
  MadeOnFirstUse(Formbwlbj)->Show();
}

void TFormbwlcx::skSkinButton1Click(TObject*) {
  TADOQuery& list = *dbhouse->qbwcx;
  if (!list.Active() || list.IsEmpty()) return;
  MadeOnFirstUse(Formbwxg)->LoadMemo(ReadMemoRow(list));
  if (Formbwxg->Visible()) Formbwxg->Hide();   // left open by the memo board
  Formbwxg->ShowModal();
}

void TFormbwlcx::skSkinButton2Click(TObject*) {
  DeleteCurrentRow(*dbhouse->qbwcx, *dbhouse->qup, "delete from sz_bwlb where iid= :iid ", "您确定要删除此条记录吗？");
}

void TFormbwlcx::skSkinButton4Click(TObject*) {
  DeleteAllRows(*dbhouse->qbwcx, *dbhouse->qup, "delete from sz_bwlb ", "您确定要清除空所有备忘数据吗？");
}

void TFormbwlcx::skSkinButton6Click(TObject*) { Close(); }
