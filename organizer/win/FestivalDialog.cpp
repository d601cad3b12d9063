#include "organizer/win/FestivalDialog.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Sound.h"
#include "organizer/win/GridList.h"
#include "organizer/win/FormParts.h"

namespace {

constexpr int kLabelLeft = 16, kFieldLeft = 88, kRowHeight = 32, kFirstRow = 16;


int RowTop(int row) { return kFirstRow + row * kRowHeight; }

void Fill(TComboBox* combo, const std::vector<std::string>& items) {
  combo->Items().Clear();
  for (const std::string& item : items) combo->Items().Add(item);
}

void Select(TComboBox* combo, const std::string& text) {
  combo->SetItemIndex(text.empty() ? -1 : combo->Items().IndexOf(text));
}

}  // namespace

TFestivalDialog::TFestivalDialog(TComponent* AOwner, TFestivalDialogMode mode) : TForm(AOwner), FMode(mode) {
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetPosition(poScreenCenter);
  SetClientSize(396, 266);
  AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

  const char* captions[] = {"节日名称", "节日类型", "日期类型", "节日日期", "超始年", "音乐路径"};
  TLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
  for (int i = 0; i < 6; ++i) {
    const std::string name = "Label" + std::to_string(i + 1);
    *labels[i] = Make<TLabel>(this, this, name.c_str(), kLabelLeft, RowTop(i) + 4, 66, 16);
    (*labels[i])->SetCaption(captions[i]);
  }
  auto list = [this](const char* name, int row, int left, int width) {
    TComboBox* c = Make<TComboBox>(this, this, name, left, RowTop(row), width, 22);
    c->SetStyle(csDropDownList);
    c->SetDropDownCount(12);
    return c;
  };
  Edit1 = Make<TEdit>(this, this, "Edit1", kFieldLeft, RowTop(0), 290, 22);
  ComboBox1 = list("ComboBox1", 1, kFieldLeft, 140);
  Fill(ComboBox1, FestivalKindItems());
  ComboBox2 = list("ComboBox2", 2, kFieldLeft, 140);
  Fill(ComboBox2, FestivalCalendarItems());
  ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  ComboBox3 = list("ComboBox3", 3, kFieldLeft, 100);
  ComboBox4 = list("ComboBox4", 3, kFieldLeft + 110, 100);
  ComboBox5 = list("ComboBox5", 4, kFieldLeft, 100);
  Edit2 = Make<TEdit>(this, this, "Edit2", kFieldLeft, RowTop(5), 170, 22);

  auto button = [this](const char* name, const char* caption, int left, int top, int width,
                       void (TFestivalDialog::*click)(TObject*)) {
    return MakeSkinButton(skSkinData1, this, this, name, caption, Bounds(left, top, width, 25),
                          [this, click](TObject* s) { (this->*click)(s); });
  };
  skSkinButton1 = button("skSkinButton1", "选择", kFieldLeft + 178, RowTop(5) - 2, 54,
                         &TFestivalDialog::skSkinButton1Click);
  skSkinButton2 = button("skSkinButton2", "试听", kFieldLeft + 236, RowTop(5) - 2, 54,
                         &TFestivalDialog::skSkinButton2Click);
  skSkinButton3 = button("skSkinButton3", "填为空", kFieldLeft + 110, RowTop(4) - 2, 70,
                         &TFestivalDialog::skSkinButton3Click);
  skSkinButton3->SetVisible(mode == TFestivalDialogMode::Add);
  skSkinButton4 = button("skSkinButton4", "保存", 104, 222, 84, &TFestivalDialog::skSkinButton4Click);
  skSkinButton5 = button("skSkinButton5", "返回", 208, 222, 84, &TFestivalDialog::skSkinButton5Click);

  editiid = Make<TEdit>(this, this, "editiid", 8, 226, 40, 21);
  editiid->SetText("0");
  editiid->SetVisible(false);

  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->SetName("OpenDialog1");
  OpenDialog1->SetFilter("音乐格式文件|*.mp3;*.mid;*.wav;*.wma|mid (*.mid)|*.mid|wav(*.wav)|*.wav|mp3(*.mp3)|*.mp3|wma(*.wma)|*.wma");
  OpenDialog1->SetTitle("选择音乐文件");

  if (mode == TFestivalDialogMode::Add) OnShow = [this](TObject* s) { FormShow(s); };
  ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFestivalDialog::FillDateLists(bool solar) {
  Fill(ComboBox3, FestivalMonthItems(solar));
  Fill(ComboBox4, FestivalDayItems(solar));
}

void TFestivalDialog::FillYears() { Fill(ComboBox5, StartYearItems()); }

// The month and day lists go with the calendar choice, so they empty with it.
void TFestivalDialog::ClearFields() {
  Edit1->SetText("");
  for (TComboBox* c : {ComboBox1, ComboBox2}) c->SetItemIndex(-1);
  for (TComboBox* c : {ComboBox3, ComboBox4}) c->Items().Clear();
  FillYears();
  Edit2->SetText("");
  Edit1->SetFocus();
}

void TFestivalDialog::FormShow(TObject*) { ClearFields(); }

void TFestivalDialog::ComboBox2Change(TObject*) { FillDateLists(IsSolarCalendar(ComboBox2->Text())); }

void TFestivalDialog::LoadFestival(const TFestivalRow& row) {
  Edit1->SetText(row.jrmc);
  Select(ComboBox1, row.jrlx);
  Select(ComboBox2, row.rqlx);
  FillDateLists(IsSolarCalendar(row.rqlx));
  Select(ComboBox3, row.jryf);
  Select(ComboBox4, row.jrrq);
  FillYears();
  Select(ComboBox5, row.qsnf);
  Edit2->SetText(row.yypath);
  editiid->SetText(IntToStr(row.Iid));
}

TFestivalInput TFestivalDialog::Input() const {
  return {Edit1->Text(),     ComboBox1->Text(), ComboBox2->Text(), ComboBox3->Text(),
          ComboBox4->Text(), ComboBox5->Text(), Edit2->Text()};
}

bool TFestivalDialog::Validate() {
  const TFestivalCheck check = CheckFestivalInput(Input());
  if (check.Field == TFestivalField::None) return true;
  ShowMessage(check.Message);
  TWinControl* field = check.Field == TFestivalField::Name   ? static_cast<TWinControl*>(Edit1)
                       : check.Field == TFestivalField::Kind ? ComboBox1
                       : check.Field == TFestivalField::Month ? ComboBox3
                                                              : ComboBox4;
  field->SetFocus();
  return false;
}

void TFestivalDialog::skSkinButton1Click(TObject*) {
  if (OpenDialog1->Execute()) Edit2->SetText(OpenDialog1->FileName());
}

void TFestivalDialog::skSkinButton2Click(TObject*) {
  const std::string path = Edit2->Text();
  if (!path.empty() && FileExists(path))
    SndPlaySound(path, 0);
  else
    ShowMessage("没有找到语音文件");
}

void TFestivalDialog::skSkinButton3Click(TObject*) { ComboBox5->SetItemIndex(-1); }

void TFestivalDialog::skSkinButton4Click(TObject*) {
  if (!Validate()) return;
  TFestivalRow row = FestivalRowFromInput(Input());
  const int year = YearOf(Date());
  if (FMode == TFestivalDialogMode::Add) {
    InsertFestival(*dbhouse->qins, row, year, Date());
    OpenGridList(*dbhouse->qjrcx, FestivalListSQL);
    ClearFields();
  } else {
    row.Iid = StrToInt(editiid->Text());
    UpdateFestival(*dbhouse->qins, row, year, Date());
    OpenGridList(*dbhouse->qjrcx, FestivalListSQL);
    ShowMessage("修改成功！");
    Close();
  }
}

void TFestivalDialog::skSkinButton5Click(TObject*) { Close(); }
