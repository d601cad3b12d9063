#pragma once
// TFormqtcs, the other-settings dialog "其它参数设置": the hourly chime and its voice, the
// memo and festival reminder sounds, their play count, and the autostart entry of the
// current user. Every field is checked before anything is written; the running settings
// follow the saved row at once.
#include "framework/win/Buttons.h"
#include "framework/win/StdCtrls.h"
#include "organizer/win/FormSkin.h"
#include "organizer/core/OtherSettings.h"

class TFormqtcs : public TForm {
public:
  explicit TFormqtcs(TComponent* AOwner);

  TskSkinForm* DSF;
  TskSkinData* skSkinData1;
  TskCompressedStoredSkin* CompressedStoredSkin1;
  TCheckBox* cb1;   // "开机自动启动"
  TGroupBox* GroupBox1;   // "报时"
  TCheckBox *cb2, *cb3;   // "整点", "半点" (hidden)
  TRadioButton *rb1, *rb2, *rb3;
  TLabel* Label3;
  TEdit* Edit1;
  TButton* Button1;
  TGroupBox* GroupBox2;   // "通用提醒音乐"
  TCheckBox* cb4;
  TEdit* Edit2;
  TButton* Button2;
  TCheckBox* cb5;
  TEdit* Edit3;
  TButton* Button3;
  TLabel* Label4;
  TComboBox* ComboBox1;   // "播放次数"
  TLabel *Label5, *Label6, *Label7;
  TskSkinButton *skSkinButton6, *skSkinButton1;   // "保存", "返回"

  void FormShow(TObject* Sender);
  void skSkinButton6Click(TObject* Sender);
  void skSkinButton1Click(TObject* Sender);
  void ComboBox1KeyPress(TObject* Sender, wchar_t& Key);

  TOtherSettings Settings() const;

private:
  void ShowSettings(const TOtherSettings& s);
};

extern TFormqtcs* Formqtcs;

// The full path of the running executable, as the autostart entry names it.
std::string ExecutablePath();
// Whether the current user's autostart value of the program holds a non-empty text.
bool AutostartEnabled();
// Writes the quoted executable path as the autostart value, or deletes the value.
void SetAutostart(bool enabled);
