// The support dialog under Wine: every link goes to the shell (replaced here), every
// address is a placeholder under a reserved example domain, and the update button says
// at once that there is no automatic update.
#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
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
