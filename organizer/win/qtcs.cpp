#include "organizer/win/qtcs.h"

#include "app/core/dbhouse.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Registry.h"
#include "framework/win/WinUtil.h"

TFormqtcs* Formqtcs = nullptr;

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height,
        const char* caption = nullptr) {
  T* c = new T(owner);
  c->SetName(name);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  if (caption) c->SetCaption(caption);
  return c;
}

}  // namespace

TFormqtcs::TFormqtcs(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formqtcs");
  SetCaption("其它参数设置");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(430, 372);
  AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

  cb1 = Make<TCheckBox>(this, this, "cb1", 16, 10, 140, 20, "开机自动启动");

  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 38, 414, 84, "报时");
  cb2 = Make<TCheckBox>(this, GroupBox1, "cb2", 14, 24, 70, 20, "整点");
  cb3 = Make<TCheckBox>(this, GroupBox1, "cb3", 96, 24, 70, 20, "半点");
  cb3->SetVisible(false);
  rb1 = Make<TRadioButton>(this, GroupBox1, "rb1", 14, 52, 120, 20, "12制语音报时");
  rb2 = Make<TRadioButton>(this, GroupBox1, "rb2", 144, 52, 120, 20, "24制语音报时");
  rb3 = Make<TRadioButton>(this, GroupBox1, "rb3", 274, 52, 110, 20, "不语音报时");
  // The chime prelude is kept in the row but not offered.
  Label3 = Make<TLabel>(this, GroupBox1, "Label3", 180, 27, 110, 14, "报时前置提示音乐");
  Edit1 = Make<TEdit>(this, GroupBox1, "Edit1", 292, 23, 76, 21);
  Button1 = Make<TButton>(this, GroupBox1, "Button1", 370, 22, 32, 23, ">>>");
  for (TControl* c : std::initializer_list<TControl*>{Label3, Edit1, Button1}) c->SetVisible(false);

  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 8, 130, 414, 118, "通用提醒音乐");
  cb4 = Make<TCheckBox>(this, GroupBox2, "cb4", 14, 24, 96, 20, "备忘录音乐");
  Edit2 = Make<TEdit>(this, GroupBox2, "Edit2", 114, 23, 250, 21);
  Button2 = Make<TButton>(this, GroupBox2, "Button2", 370, 22, 32, 23, ">>>");
  cb5 = Make<TCheckBox>(this, GroupBox2, "cb5", 14, 54, 96, 20, "节日音乐");
  Edit3 = Make<TEdit>(this, GroupBox2, "Edit3", 114, 53, 250, 21);
  Button3 = Make<TButton>(this, GroupBox2, "Button3", 370, 52, 32, 23, ">>>");
  Label4 = Make<TLabel>(this, GroupBox2, "Label4", 14, 88, 60, 14, "播放次数");
  ComboBox1 = Make<TComboBox>(this, GroupBox2, "ComboBox1", 114, 84, 60, 22);
  for (const char* n : {"1", "2", "3"}) ComboBox1->Items().Add(n);
  ComboBox1->SetText("2");
  ComboBox1->OnKeyPress = [this](TObject* s, wchar_t& k) { ComboBox1KeyPress(s, k); };

  Label5 = Make<TLabel>(this, this, "Label5", 16, 258, 400, 16, "提示：参数设置好后，请点击“保存”按钮");
  Label6 = Make<TLabel>(this, this, "Label6", 16, 278, 400, 16, "钩选“开机自动启动”因为软件要修改注册表");
  Label7 = Make<TLabel>(this, this, "Label7", 16, 298, 400, 16, "有些杀毒软件会阻止请点击允许运行！");
  for (TLabel* l : {Label5, Label6, Label7}) l->Font().SetStyle({fsBold});

  skSkinButton6 = MakeSkinButton(skSkinData1, this, this, "skSkinButton6", "保存", Bounds(112, 332, 90, 28),
                                 [this](TObject* s) { skSkinButton6Click(s); });
  skSkinButton1 = MakeSkinButton(skSkinData1, this, this, "skSkinButton1", "返回", Bounds(228, 332, 90, 28),
                                 [this](TObject* s) { skSkinButton1Click(s); });

  OnShow = [this](TObject* s) { FormShow(s); };
  ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFormqtcs::ShowSettings(const TOtherSettings& s) {
  cb1->SetChecked(s.Autostart);
  cb2->SetChecked(s.OnHour);
  cb3->SetChecked(s.OnHalfHour);
  (s.Voice == TChimeVoice::Hours12 ? rb1 : s.Voice == TChimeVoice::Hours24 ? rb2 : rb3)->SetChecked(true);
  Edit1->SetText(s.ChimePrelude);
  Edit2->SetText(s.MemoSoundPath);
  cb4->SetChecked(s.MemoSound);
  Edit3->SetText(s.FestivalSoundPath);
  cb5->SetChecked(s.FestivalSound);
  ComboBox1->SetText(s.PlayCount);
}

void TFormqtcs::FormShow(TObject*) {
  ShowSettings(ReadOtherSettingsRow(*dbhouse));
  cb1->SetChecked(AutostartEnabled());   // the registry decides
  cb3->SetChecked(false);
}

TOtherSettings TFormqtcs::Settings() const {
  TOtherSettings s;
  s.Autostart = cb1->Checked();
  s.OnHour = cb2->Checked();
  s.OnHalfHour = cb3->Checked();
  s.Voice = rb1->Checked() ? TChimeVoice::Hours12 : rb2->Checked() ? TChimeVoice::Hours24 : TChimeVoice::None;
  s.ChimePrelude = Edit1->Text();
  s.MemoSound = cb4->Checked();
  s.MemoSoundPath = Edit2->Text();
  s.FestivalSound = cb5->Checked();
  s.FestivalSoundPath = Edit3->Text();
  s.PlayCount = ComboBox1->Text();
  return s;
}

void TFormqtcs::skSkinButton6Click(TObject*) {
  cb3->SetChecked(false);
  const TOtherSettings s = Settings();
  const TOtherSettingsCheck check = CheckOtherSettings(s);
  if (check.Field != TOtherSettingsField::None) {
    ShowMessage(check.Message);
    (check.Field == TOtherSettingsField::MemoSound       ? static_cast<TWinControl*>(Edit2)
     : check.Field == TOtherSettingsField::FestivalSound ? static_cast<TWinControl*>(Edit3)
                                                          : static_cast<TWinControl*>(ComboBox1))
        ->SetFocus();
    return;
  }
  WriteOtherSettingsRow(*dbhouse, s);
  SetAutostart(s.Autostart);
  ShowMessage("参数保存成功！");
  Close();
}

void TFormqtcs::skSkinButton1Click(TObject*) { Close(); }

void TFormqtcs::ComboBox1KeyPress(TObject*, wchar_t& Key) {
  if (!IsPlayCountKey(Key)) Key = 0;
}

std::string ExecutablePath() {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
  return ExeFolder() + ExtractFileName(Narrow(std::wstring_view(buffer, n)));
}

bool AutostartEnabled() {
  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_CURRENT_USER);
  try {
    return reg.OpenKeyReadOnly(AutostartRunKey) && !reg.ReadString(AutostartValueName).empty();
  } catch (const ERegistryException&) {
    return false;   // a value of another type is no autostart entry of ours
  }
}

void SetAutostart(bool enabled) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  if (!reg.OpenKey(AutostartRunKey, true))
    throw ERegistryException("无法打开注册表项 HKEY_CURRENT_USER\\" + std::string(AutostartRunKey));
  if (enabled)
    reg.WriteString(AutostartValueName, AutostartCommand(ExecutablePath()));
  else
    reg.DeleteValue(AutostartValueName);
}
