#include "organizer/win/zxbz.h"

#include <shellapi.h>

#include <type_traits>

#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/WinUtil.h"

TFormzxbz* Formzxbz = nullptr;

std::function<void(const std::string&, int)> ShellOpen = [](const std::string& path, int showCmd) {
  ShellExecuteW(nullptr, nullptr, Wide(path).c_str(), nullptr, nullptr, showCmd);
};

namespace {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height,
        const std::string& caption) {
  T* c = new T(owner);
  c->SetName(name);
  // Labels keep their given widths: a width measured to the text falls a few pixels short
  // of the Latin letters as drawn under Wine, cutting the ends of the addresses.
  if constexpr (std::is_same_v<T, TLabel>) c->SetAutoSize(false);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  c->SetCaption(caption);
  return c;
}

struct TLink {
  const char* Name;
  const char* Caption;
  const char* Address;
};

constexpr TLink kLinks[16] = {
    {"Label11", "软件下载", "https://www.example.com/vorpen/download.html"},
    {"Label12", "更新日志", "https://www.example.com/vorpen/changes.html"},
    {"Label13", "常见问题", "https://www.example.com/vorpen/faq.html"},
    {"Label14", "使用技巧", "https://www.example.com/vorpen/tips.html"},
    {"Label15", "黄历说明", "https://www.example.com/vorpen/almanac.html"},
    {"Label16", "节日资料", "https://www.example.com/vorpen/festivals.html"},
    {"Label18", "皮肤下载", "https://www.example.com/vorpen/skins.html"},
    {"Label19", "声音下载", "https://www.example.com/vorpen/sounds.html"},
    {"Label20", "问题反馈", "https://www.example.com/vorpen/feedback.html"},
    {"Label21", "用户论坛", "https://forum.example.org/vorpen/"},
    {"Label22", "开发文档", "https://docs.example.net/vorpen/"},
    {"Label23", "隐私说明", "https://www.example.com/vorpen/privacy.html"},
    {"Label24", "许可协议", "https://www.example.com/vorpen/license.html"},
    {"Label25", "联系方式", "https://www.example.com/vorpen/contact.html"},
    {"Label26", "友情链接", "https://www.example.com/vorpen/links.html"},
    {"Label27", "关于 vorpen", "https://www.example.com/vorpen/about.html"},
};

void MakeLink(TLabel* label) {
  label->Font().SetColor(clBlue);
  label->Font().SetStyle({fsUnderline});
  label->SetCursor(crHandPoint);
}

}  // namespace

TFormzxbz::TFormzxbz(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formzxbz");
  SetCaption("在线技术支持");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poScreenCenter);
  SetClientSize(715, 500);

  Panel1 = Make<TPanel>(this, this, "Panel1", 8, 8, 699, 484, "");
  Label1 = Make<TLabel>(this, Panel1, "Label1", 24, 20, 400, 22, "vorpen 技术支持");
  Label1->Font().SetSize(14);
  Label1->Font().SetStyle({fsBold});
  Label2 = Make<TLabel>(this, Panel1, "Label2", 24, 60, 420, 16, std::string("技术支持邮箱：") + SupportMail);
  Label3 = Make<TLabel>(this, Panel1, "Label3", 24, 84, 420, 16, "意见反馈邮箱：feedback@example.com");
  Label4 = Make<TLabel>(this, Panel1, "Label4", 24, 108, 640, 16,
                        "遇到问题请先阅读使用说明，或写信给我们，并说明软件版本和操作步骤。");
  BitBtn1 = Make<TBitBtn>(this, Panel1, "BitBtn1", 470, 52, 96, 28, "使用说明");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
  BitBtn2 = Make<TBitBtn>(this, Panel1, "BitBtn2", 580, 52, 96, 28, "邮件咨询");
  BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };

  Make<TLabel>(this, Panel1, "Label10", 24, 140, 80, 16, "官方网站：");
  Label17 = Make<TLabel>(this, Panel1, "Label17", 104, 140, 400, 16, SupportWebsite);
  MakeLink(Label17);
  Label17->OnClick = [this](TObject* s) { Label17Click(s); };

  GroupBox1 = Make<TGroupBox>(this, Panel1, "GroupBox1", 16, 172, 667, 240, "更多链接");
  for (int i = 0; i < 16; ++i) {
    const int column = i / 8, row = i % 8;
    const std::string address = kLinks[i].Address;
    Links[i] = Make<TLabel>(this, GroupBox1, kLinks[i].Name, 24 + column * 324, 26 + row * 26, 310, 16,
                            std::string(kLinks[i].Caption) + "  " + address.substr(address.find("//") + 2));
    MakeLink(Links[i]);
    Links[i]->OnClick = [this](TObject* s) { LinkClick(s); };
  }

  BitBtn6 = Make<TBitBtn>(this, Panel1, "BitBtn6", 236, 432, 100, 30, "自动升级");
  BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
  BitBtn3 = Make<TBitBtn>(this, Panel1, "BitBtn3", 362, 432, 100, 30, "返回");
  BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
}

void TFormzxbz::OpenShellDocument(const std::string& path) {
  FPath = path;
  ShellOpen(path, SW_SHOWNORMAL);
}

void TFormzxbz::BitBtn1Click(TObject*) {
  const std::string help = ExeFolder() + HelpDocumentName;
  if (!FileExists(help)) {
    ShowMessage(std::string("找不到使用说明：") + help);
    return;
  }
  OpenShellDocument(help);
}

void TFormzxbz::BitBtn2Click(TObject*) { OpenShellDocument(std::string("mailto:") + SupportMail); }

void TFormzxbz::BitBtn3Click(TObject*) { Close(); }

void TFormzxbz::BitBtn6Click(TObject*) { ShowMessage(NoUpdateText); }

void TFormzxbz::Label17Click(TObject*) { OpenShellDocument(SupportWebsite); }

void TFormzxbz::LinkClick(TObject* Sender) {
  for (int i = 0; i < 16; ++i)
    if (Sender == Links[i]) OpenShellDocument(kLinks[i].Address);
}
