#include "organizer/win/bwxg.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Dialogs.h"

TFormbwxg* Formbwxg = nullptr;

TFormbwxg::TFormbwxg(TComponent* AOwner) : TMemoDialog(AOwner, TMemoDialogMode::Edit) {
  SetName("Formbwxg");
  SetCaption("备忘录修改");
  BitBtn2->SetCaption("保存");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
  PlaceButtons({BitBtn2, BitBtn3});
  editiid = new TEdit(this);
  editiid->SetName("editiid");
  editiid->SetParent(this);
  editiid->SetBounds(8, 340, 40, 21);
  editiid->SetText("0");
  editiid->SetVisible(false);
}

void TFormbwxg::LoadMemo(const TMemoRow& row) {
  const TDateTime now = Now();
  TMemoLoad load = MemoLoadFromRow(row, now);
  FLoaded = row;
  if (load.Solar) {
    rb1->SetChecked(true);
    cb1->SetChecked(load.MinutePrecision);
    // A due day the picker cannot show (before 1752-09-14) loads as now, as one that is no
    // date does, rather than leaving the last memo's day in the picker.
    if (!dt1->SetDateTime(load.Date)) {
      TMemoRow undated = row;
      undated.ylsj.clear();
      const TMemoLoad atNow = MemoLoadFromRow(undated, now);
      load.Date = atNow.Date;
      load.Time = atNow.Time;
      dt1->SetDateTime(load.Date);
    }
    dt2->SetTime(load.Time);
  } else {
    rb2->SetChecked(true);
    cb1->SetChecked(false);
    ComboBox1->SetItemIndex(load.LunarMonthIndex);
    ComboBox2->SetItemIndex(load.LunarDayIndex);
  }
  memo1->SetText(load.Text);
  ComboBox3->SetItemIndex(load.NoticeIndex);
  ComboBox4->SetItemIndex(load.KeepIndex);
  ComboBox5->SetItemIndex(load.RepeatIndex);
  Edit1->SetText(load.SoundPath);
  editiid->SetText(load.Iid);
}

void TFormbwxg::BitBtn2Click(TObject*) {
  if (!Validate()) return;
  TMemoRow row = Row();
  row.Iid = StrToInt(editiid->Text());
  if (row.Iid == FLoaded.Iid) KeepIntendedDay(row, FLoaded);
  const bool saved = UpdateMemo(*dbhouse->qbw, row);
  if (!saved)
    ShowMessage("这条备忘录已被删除，修改没有保存。");   // the dialog stays open with the text
  else
    Close();
  TADOQuery* list = dbhouse->qbwcx;
  list->Close();
  list->SQL.Clear();
  list->SQL.Add(MemoListSQL);
  list->Open();
}
