#pragma once
// TFormzxbz, the support dialog "在线技术支持": the support contacts, the website and a list
// of further pages, each opened with the shell, and the update button, which says that
// this version updates by download only. The contacts and addresses are placeholders
// under the reserved example domains.
#include <functional>
#include <string>

#include "framework/win/Buttons.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/StdCtrls.h"

class TFormzxbz : public TForm {
public:
  explicit TFormzxbz(TComponent* AOwner);

  TPanel* Panel1;
  TLabel *Label1, *Label2, *Label3, *Label4;   // heading and contacts
  TBitBtn *BitBtn1, *BitBtn2;                  // contact buttons
  TLabel* Label17;                             // the website
  TGroupBox* GroupBox1;
  TLabel* Links[16];                           // Label11 .. Label16, Label18 .. Label27
  TBitBtn *BitBtn3, *BitBtn6;                  // "返回", "自动升级"

  void BitBtn1Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  void BitBtn3Click(TObject* Sender);
  void BitBtn6Click(TObject* Sender);
  void Label17Click(TObject* Sender);
  void LinkClick(TObject* Sender);

  // Opens a document or address with the shell, shown normally, and keeps it as the last target.
  void OpenShellDocument(const std::string& path);
  const std::string& Path() const { return FPath; }

private:
  std::string FPath;
};

extern TFormzxbz* Formzxbz;

// The shell's open of a document or address; tests replace it.
extern std::function<void(const std::string& path, int showCmd)> ShellOpen;

// The support texts and addresses the dialog shows.
constexpr const char* SupportMail = "support@example.com";
constexpr const char* SupportWebsite = "https://www.example.com/vorpen/";
constexpr const char* HelpDocumentName = "时钟桌面日历操作说明.mht";
constexpr const char* NoUpdateText = "本版本没有自动升级：新版本请到官方网站下载。";
