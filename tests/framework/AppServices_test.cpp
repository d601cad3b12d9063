// Application services: minimizing and restoring all forms, and a timer whose handler
// raises while its report is open.
#include <gtest/gtest.h>

#include "framework/win/Dialogs.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {

class AppServicesTest : public TTestFormFixture {};

TEST_F(AppServicesTest, MinimizeHidesTheShownFormsAndRestoreBringsThemBack) {
    auto* second = NewForm<TTestForm>(nullptr);
    auto* hidden = NewForm<TTestForm>(nullptr);
    hidden->HandleNeeded();
    form->Show();
    second->Show();
    int events = 0;
    Application->OnMinimize = Application->OnRestore = [&](TObject*) { ++events; };
    Application->Minimize();
    Application->Minimize();
    EXPECT_TRUE(Application->Minimized());
    EXPECT_FALSE(IsWindowVisible(form->Handle()) || IsWindowVisible(second->Handle()));
    delete second;   // freed while minimized: not brought back
    Application->Restore();
    Application->Restore();
    EXPECT_FALSE(Application->Minimized());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
    EXPECT_EQ(events, 2);
    Application->OnMinimize = Application->OnRestore = nullptr;
    delete hidden;
}

// A message box that keeps the message loop running while it is open, as the system's does.
class TModalBoxes : public MessageBoxService {
public:
    TModalBoxes() { SetMessageBoxService(this); }
    ~TModalBoxes() override { SetMessageBoxService(nullptr); }
    int Show(HWND, const std::string& text, const std::string&, UINT) override {
        Texts.push_back(text);
        PumpUntil([] { return false; }, 300);
        return IDOK;
    }
    std::vector<std::string> Texts;
};

TEST_F(AppServicesTest, TimerThatRaisesIsNotReenteredWhileItsReportIsOpen) {
    TModalBoxes boxes;
    int ticks = 0;
    TTimer timer(nullptr);
    timer.SetInterval(20);
    timer.OnTimer = [&](TObject*) {
        if (++ticks == 2) timer.SetEnabled(false);
        if (ticks == 1) throw EConvertError("'x' is not a valid integer value");
    };
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    EXPECT_EQ(boxes.Texts, std::vector<std::string>{"'x' is not a valid integer value."});
    EXPECT_EQ(ticks, 2);   // ticks went on after the box closed, none during it
}

}  // namespace
