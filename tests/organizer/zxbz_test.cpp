// The support dialog under Wine: every link goes to the shell (replaced here), every
// address is a placeholder under a reserved example domain, and the update button says
// at once that there is no automatic update.
#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Graphics.h"
#include "organizer/win/zxbz.h"
#include "tests/db/DataFileCopy.h"
#include "tests/organizer/WinShot.h"

namespace {

class SupportDialog : public testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    saved = ShellOpen;
    ShellOpen = [this](const std::string& path, int show) {
      opened.push_back(path);
      shows.push_back(show);
    };
    form = NewForm<TFormzxbz>(nullptr);
  }
  void TearDown() override {
    delete form;
    ShellOpen = saved;
  }
  static bool Placeholder(const std::string& address) {
    for (const char* host : {"example.com", "example.org", "example.net"}) {
      const size_t at = address.find(host);
      if (at != std::string::npos && (address[at - 1] == '.' || address[at - 1] == '@' || address[at - 1] == '/'))
        return true;
    }
    return false;
  }

  std::function<void(const std::string&, int)> saved;
  std::vector<std::string> opened;
  std::vector<int> shows;
  TFormzxbz* form = nullptr;
  MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(SupportDialog, LinksOpenTheirPlaceholderAddresses) {
  form->Show();
  SaveShot(*form, "support");
  form->Label17->Click();
  for (TLabel* link : form->Links) link->Click();
  SendMessageW(form->BitBtn2->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(opened.size(), 18u);
  EXPECT_EQ(opened.front(), SupportWebsite);
  EXPECT_EQ(opened.back(), "mailto:support@example.com");
  EXPECT_EQ(form->Path(), opened.back());
  for (size_t i = 0; i < opened.size(); ++i) {
    EXPECT_TRUE(Placeholder(opened[i])) << opened[i];
    EXPECT_EQ(shows[i], SW_SHOWNORMAL);
  }
  std::vector<std::string> links(opened.begin() + 1, opened.end() - 1);
  std::sort(links.begin(), links.end());
  EXPECT_EQ(std::unique(links.begin(), links.end()), links.end());   // sixteen distinct pages
  EXPECT_TRUE(boxes.Calls.empty());
}

// The text as drawn on the screen ends inside each label: its last two columns hold only
// the label's background, so no address loses its last letters.
TEST_F(SupportDialog, EveryLabelShowsItsWholeText) {
  form->Show();
  SettlePaint(form->Handle());
  std::vector<TLabel*> labels = {form->Label1, form->Label2, form->Label3, form->Label4, form->Label17};
  labels.insert(labels.end(), std::begin(form->Links), std::end(form->Links));
  HDC screen = GetDC(nullptr);
  for (TLabel* label : labels) {
    POINT corner{label->Left() + label->Width() - 2, label->Top()};
    ClientToScreen(label->Parent()->Handle(), &corner);
    const COLORREF back = ColorToRGB(label->Color());
    int ink = 0;
    for (int x = 0; x < 2; ++x)
      for (int y = 0; y < label->Height(); ++y) ink += GetPixel(screen, corner.x + x, corner.y + y) != back;
    EXPECT_EQ(ink, 0) << label->Name() << " " << label->Caption();
    EXPECT_LE(label->Left() + label->Width(), label->Parent()->ClientWidth()) << label->Name();
  }
  ReleaseDC(nullptr, screen);
  for (int i = 0; i < 8; ++i)   // the second column of links starts clear of the first
    EXPECT_LT(form->Links[i]->Left() + form->Links[i]->Width(), form->Links[8]->Left()) << i;
}

TEST_F(SupportDialog, UpdateSaysAtOnceThatThereIsNone) {
  form->Show();
  SendMessageW(form->BitBtn6->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text, NoUpdateText);
  EXPECT_TRUE(opened.empty());
  SendMessageW(form->BitBtn3->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(form->Visible());
}

TEST_F(SupportDialog, HelpButtonOpensTheHelpDocumentOrSaysItIsMissing) {
  DataFileCopy folder;
  SetExeFolder(folder.Folder());
  form->Show();
  SendMessageW(form->BitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(boxes.Calls.size(), 1u);
  EXPECT_EQ(boxes.Calls[0].Text.find("找不到使用说明"), 0u);
  WriteFileBytes(folder.PathOf(HelpDocumentName), "MIME-Version: 1.0");
  SendMessageW(form->BitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(opened, std::vector<std::string>{folder.PathOf(HelpDocumentName)});
  SetExeFolder("");
}
