// The end of the user's session reaches the main form's close handlers. A binary of its own:
// the session's end terminates the application.
#include <gtest/gtest.h>

#include "tests/framework/CtrlsTestUtil.h"

namespace {

class TMainForm : public TTestForm {
public:
    explicit TMainForm(TComponent* owner) : TTestForm(owner) {
        OnCloseQuery = [this](TObject*, bool& canClose) {
            ++Queried;
            canClose = AllowEnd;
        };
        OnClose = [this](TObject*, TCloseAction& action) {
            ++Closed;
            action = caNone;   // the session ends anyway
        };
    }
    int Queried = 0, Closed = 0;
    bool AllowEnd = true;
};

TEST(EndSession, MainFormAnswersTheQueryAndClosesWhenTheSessionEnds) {
    EnsureApplication();
    TMainForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    auto* other = NewForm<TMainForm>(nullptr);
    HWND h = main->Handle();

    main->AllowEnd = false;
    EXPECT_EQ(SendMessageW(h, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    SendMessageW(h, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);   // the session goes on
    EXPECT_EQ(main->Closed, 0);
    EXPECT_FALSE(Application->Terminated());

    main->AllowEnd = true;
    EXPECT_EQ(SendMessageW(h, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(SendMessageW(other->Handle(), WM_QUERYENDSESSION, 0, 0), 1);   // other forms: not asked
    EXPECT_EQ(main->Queried + other->Queried, 2);
    SendMessageW(h, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(main->Closed, 1);
    EXPECT_TRUE(Application->Terminated());
    delete other;
    delete main;
}

}  // namespace
