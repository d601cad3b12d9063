// The seven skinned organizer forms under Wine: each carries the skinned frame, the skin
// store and its stored skin, skinned buttons that fit their captions and react to the
// mouse, and (on the lists) the skinned group box; all share one decoded skin.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/win/Dialogs.h"
#include "framework/win/DBGrids.h"
#include "organizer/win/bqcx.h"
#include "organizer/win/bwlcx.h"
#include "organizer/win/djscx.h"
#include "organizer/win/jrbj.h"
#include "organizer/win/qtcs.h"
#include "organizer/win/xgrq.h"
#include "organizer/win/xzrq.h"
#include "tests/app/DataModule.h"
#include "tests/organizer/WinShot.h"

namespace {

struct SkinnedFormCase {
  const char* Shot;
  std::function<TForm*()> Make;
  int ClientWidth, ClientHeight;
  std::vector<std::pair<const char*, const char*>> Buttons;   // name, caption; the last one closes
  bool GroupBox;
};

const std::vector<SkinnedFormCase>& Cases() {
  static const std::vector<SkinnedFormCase> cases = {
      {"skinned-jrbj", [] { return NewForm<TFormjrbj>(nullptr); }, 684, 430,
       {{"skSkinButton1", "新增"}, {"skSkinButton2", "编辑"}, {"skSkinButton3", "删除"}, {"skSkinButton4", "清空"},
        {"skSkinButton5", "返回"}},
       true},
      {"skinned-xzrq", [] { return NewForm<TFormxzrq>(nullptr); }, 396, 266,
       {{"skSkinButton1", "选择"}, {"skSkinButton2", "试听"}, {"skSkinButton3", "填为空"}, {"skSkinButton4", "保存"},
        {"skSkinButton5", "返回"}},
       false},
      {"skinned-xgrq", [] { return NewForm<TFormxgrq>(nullptr); }, 396, 266,
       {{"skSkinButton1", "选择"}, {"skSkinButton2", "试听"}, {"skSkinButton4", "保存"}, {"skSkinButton5", "返回"}},
       false},
      {"skinned-bwlcx", [] { return NewForm<TFormbwlcx>(nullptr); }, 624, 400,
       {{"skSkinButton3", "新增"}, {"skSkinButton1", "编辑"}, {"skSkinButton2", "删除"}, {"skSkinButton4", "清空"},
        {"skSkinButton6", "返回"}},
       true},
      {"skinned-bqcx", [] { return NewForm<TFormbqcx>(nullptr); }, 520, 320,
       {{"skSkinButton3", "显示内容"}, {"skSkinButton1", "标记不显示"}, {"skSkinButton2", "标记显示"},
        {"skSkinButton6", "返回"}},
       true},
      {"skinned-djscx", [] { return NewForm<TFormdjscx>(nullptr); }, 520, 300,
       {{"skSkinButton1", "标记不显示"}, {"skSkinButton2", "标记显示"}, {"skSkinButton6", "返回"}},
       true},
      {"skinned-qtcs", [] { return NewForm<TFormqtcs>(nullptr); }, 430, 372,
       {{"skSkinButton6", "保存"}, {"skSkinButton1", "返回"}},
       false},
  };
  return cases;
}

template <class T>
T* Find(TForm* form, const char* name) {
  return dynamic_cast<T*>(form->FindComponent(name));
}

TRect ScreenBounds(TControl* c) {
  RECT r{};
  GetWindowRect(static_cast<TWinControl*>(c)->Handle(), &r);
  return TRect::FromRECT(r);
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

void Press(TskSkinButton* b) {
  const LPARAM centre = MAKELPARAM(b->Width() / 2, b->Height() / 2);
  SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageW(b->Handle(), WM_LBUTTONUP, 0, centre);
}

class SkinnedForms : public testing::Test {
protected:
  void SetUp() override { EnsureApplication(); }
  DataModule data;
  MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(SkinnedForms, CarryTheSkinAndSkinnedButtonsThatClick) {
  // All seven live together, as in the program, and share one decoded skin.
  std::vector<std::unique_ptr<TForm>> forms;
  for (const SkinnedFormCase& c : Cases()) forms.emplace_back(c.Make());
  const TSkBitmap* sharedPicture = &Find<TskSkinData>(forms[0].get(), "skSkinData1")->FPicture();
  TBitmap measure(8, 8);
  measure.Canvas().Font().SetName("宋体");
  measure.Canvas().Font().SetHeight(-12);
  for (size_t i = 0; i < forms.size(); ++i) {
    const SkinnedFormCase& c = Cases()[i];
    SCOPED_TRACE(c.Shot);
    TForm* form = forms[i].get();
    auto* dsf = Find<TskSkinForm>(form, "DSF");
    auto* data = Find<TskSkinData>(form, "skSkinData1");
    auto* stored = Find<TskCompressedStoredSkin>(form, "CompressedStoredSkin1");
    ASSERT_TRUE(dsf && data && stored);
    EXPECT_EQ(stored->FileName(), "SKIN.INI");
    EXPECT_EQ(data->CompressedStoredSkin(), stored);
    EXPECT_EQ(dsf->SkinData(), data);
    EXPECT_TRUE(dsf->SkinActive());
    EXPECT_TRUE(dsf->Sizeable && dsf->DraggAble && dsf->Magnetic);
    EXPECT_EQ(dsf->MagneticSize, 5);
    EXPECT_EQ(dsf->BorderIcons(), SkIcon(TskBorderIcon::biMaximize));
    EXPECT_FALSE(dsf->AlphaBlend());
    EXPECT_EQ(dsf->DefCaptionFont().Name(), "宋体");
    EXPECT_EQ(dsf->DefCaptionFont().Height(), -12);
    EXPECT_EQ(dsf->DefCaptionFont().Style(), TFontStyles{fsBold});
    EXPECT_EQ(dsf->DefInActiveCaptionFont().Color(), clBtnShadow);
    EXPECT_EQ(&data->FPicture(), sharedPicture);

    form->Show();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(form->ClientWidth(), c.ClientWidth);
    EXPECT_EQ(form->ClientHeight(), c.ClientHeight);

    auto* group = Find<TskSkinGroupBox>(form, "skSkinGroupBox2");
    EXPECT_EQ(group != nullptr, c.GroupBox);
    if (group) {
      EXPECT_EQ(group->SkinDataName(), "panel");
      EXPECT_EQ(group->Caption(), "查询条件");
      EXPECT_GE(group->SkinIndex(), 0);
      if (auto* grid = Find<TDBGrid>(form, "DBGrid1")) {
        EXPECT_FALSE(Overlap(ScreenBounds(grid), ScreenBounds(group)));
      }
    }

    std::vector<TRect> placed;
    for (const auto& [name, caption] : c.Buttons) {
      SCOPED_TRACE(name);
      auto* b = Find<TskSkinButton>(form, name);
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->Caption(), caption);
      EXPECT_EQ(b->SkinDataName(), "resizebutton");
      EXPECT_GE(b->SkinIndex(), 0);
      EXPECT_TRUE(b->OnClick);
      EXPECT_TRUE(b->Visible());
      EXPECT_GE(b->Width() - 6, measure.Canvas().TextWidth(caption) + 8);
      const TRect r = ScreenBounds(b);
      for (const TRect& other : placed) EXPECT_FALSE(Overlap(r, other));
      placed.push_back(r);
      // A press and release inside clicks once through the mouse.
      const TNotifyEvent handler = b->OnClick;
      int clicks = 0;
      b->OnClick = [&clicks](TObject*) { ++clicks; };
      Press(b);
      EXPECT_EQ(clicks, 1);
      b->OnClick = handler;
    }
    SaveShot(*form, c.Shot);
    // The last button closes the form through its own handler.
    Press(Find<TskSkinButton>(form, c.Buttons.back().first));
    EXPECT_FALSE(form->Visible());
  }
}
