#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFormObjects.h"

namespace {

// A form that records what its objects ask of it.
class FakeForm : public TSkObjectHost {
public:
    bool IsFormActive() const override { return Active; }
    bool UsesNCArea() const override { return true; }
    int FormWindowState() const override { return State; }
    bool FormRolledUp() const override { return false; }
    void PaintObject(TskActiveSkinObject& o) override { Log.push_back("paint " + o.IDName); }
    void StartMorphTimer() override { Log.push_back("morph"); }
    void RunCommand(TskCommand c) override { Log.push_back("command " + std::to_string(c)); }
    // The form gives a system-menu button its system menu; the objects never look into an item.
    void OpenButtonMenu(TskSkinButtonObject& b) override
    {
        Log.push_back("menu " + b.IDName);
        if (!b.MenuItem())
            b.SetMenuItem(SystemMenu);
    }
    void CloseForm() override { Log.push_back("close form"); }
    void StartFaceDrag() override {}
    void StopFaceDrag() override {}
    void ObjectEvent(const std::string& kind, const std::string& name) override { Log.push_back(kind + " " + name); }
    std::string Take()
    {
        std::string s;
        for (const std::string& l : Log)
            s += l + ";";
        Log.clear();
        return s;
    }
    bool Active = true;
    int State = 0;
    std::vector<std::string> Log;
    char SystemMenuStandIn = 0;
    TMenuItem* SystemMenu = reinterpret_cast<TMenuItem*>(&SystemMenuStandIn);
};

std::unique_ptr<TskSkinStdButtonObject> Button(FakeForm& form, const char* name, TskCommand command, TRect rect)
{
    TskDataSkinStdButton r(name);
    r.Command = command;
    r.SkinRect = rect;
    r.ActivePictureIndex = 0;
    r.ActiveSkinRect = {0, 0, rect.Width(), rect.Height()};
    r.DownRect = {20, 0, 20 + rect.Width(), rect.Height()};
    return std::make_unique<TskSkinStdButtonObject>(form, &r, 1);
}

class Buttons : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto caption = std::make_unique<TskSkinCaptionObject>(Form, nullptr, 1);
        caption->IDName = "caption1";
        caption->ObjectRect = {20, 0, 100, 20};
        Router.Objects.push_back(std::move(caption));
        Router.Objects.push_back(Button(Form, "closebutton", cmClose, {130, 5, 144, 19}));
        Router.Objects.push_back(Button(Form, "maximizebutton", cmMaximize, {110, 5, 124, 19}));
        Router.Objects.push_back(Button(Form, "sysmenubutton", cmSysMenu, {2, 2, 18, 18}));
        Router.OnCapture = [this](TskActiveSkinObject* o, bool set) { Form.Log.push_back((set ? "capture " : "free ") + o->IDName); };
    }
    TskSkinStdButtonObject& Std(int i) { return dynamic_cast<TskSkinStdButtonObject&>(*Router.Objects[i]); }
    FakeForm Form;
    TSkObjectRouter Router{Form};
};

}  // namespace

TEST_F(Buttons, HoverPressAndReleaseRunTheCommandOnce)
{
    Router.UpdateHover({115, 10}, true);
    EXPECT_EQ(Router.HoverIndex, 2);
    EXPECT_TRUE(Std(2).Active);
    EXPECT_EQ(Form.Take(), "paint maximizebutton;enter maximizebutton;");
    Router.Press({115, 10}, TSkMouseButton::Left, true);
    EXPECT_TRUE(Std(2).Down());
    // The pressed look (the button's down rectangle) is painted at the press.
    EXPECT_EQ(Form.Take(), "capture maximizebutton;paint maximizebutton;");
    // The maximize command runs before the release event.
    Router.Release({-1, -1}, TSkMouseButton::Left, true);
    EXPECT_FALSE(Std(2).Down());
    EXPECT_EQ(Form.Take(), "free maximizebutton;command 1;paint maximizebutton;up maximizebutton;");
    Router.Release({-1, -1}, TSkMouseButton::Left, true);
    EXPECT_EQ(Form.Take(), "");
}

TEST_F(Buttons, DraggingOffTheButtonCancelsItAndComingBackRestoresIt)
{
    Router.UpdateHover({135, 10}, true);
    Router.Press({135, 10}, TSkMouseButton::Left, true);
    Form.Take();
    Router.UpdateHover({115, 10}, true);   // over another button while the close button holds the mouse
    EXPECT_EQ(Router.HoverIndex, -1);
    EXPECT_FALSE(Std(1).MouseIn);
    EXPECT_FALSE(Std(2).Active);
    Router.UpdateHover({136, 11}, true);
    EXPECT_EQ(Router.HoverIndex, 1);
    EXPECT_TRUE(Std(1).MouseIn);
    Router.UpdateHover({300, 300}, true);
    Form.Take();
    Router.Release({-1, -1}, TSkMouseButton::Left, true);
    EXPECT_EQ(Form.Take(), "free closebutton;paint closebutton;");
    EXPECT_FALSE(Std(1).Down());
}

TEST_F(Buttons, APressOnTheFaceHoldsTheMouseUntilTheRelease)
{
    // Without the non-client area too, a drag off the window still gets its moves and release.
    Router.Press({115, 10}, TSkMouseButton::Left, false);
    Router.Release({400, 10}, TSkMouseButton::Left, false);
    Router.Press({50, 10}, TSkMouseButton::Left, false);   // the caption drags the window instead
    Router.Release({50, 10}, TSkMouseButton::Left, false);
    const std::string log = Form.Take();
    EXPECT_NE(log.find("capture maximizebutton;"), std::string::npos) << log;
    EXPECT_NE(log.find("free maximizebutton;"), std::string::npos) << log;
    EXPECT_EQ(log.find("capture caption1"), std::string::npos) << log;
}

TEST_F(Buttons, TheCloseButtonFiresItsReleaseBeforeClosing)
{
    Router.UpdateHover({135, 10}, true);
    Router.Press({135, 10}, TSkMouseButton::Left, true);
    Form.Take();
    Router.Release({-1, -1}, TSkMouseButton::Left, true);
    EXPECT_EQ(Form.Take(), "free closebutton;paint closebutton;up closebutton;command 0;");
}

TEST_F(Buttons, TheSystemMenuButtonOpensItsMenuAndADoubleClickCloses)
{
    Router.UpdateHover({5, 5}, true);
    Form.Take();
    Router.Press({5, 5}, TSkMouseButton::Left, true);
    EXPECT_TRUE(Std(3).Down());
    EXPECT_TRUE(Std(3).HasMenu());
    EXPECT_EQ(Form.Take(), "capture sysmenubutton;paint sysmenubutton;menu sysmenubutton;");
    // The menu keeps the button down when the mouse leaves it.
    Router.Release({-1, -1}, TSkMouseButton::Left, true);
    Router.UpdateHover({300, 300}, true);
    EXPECT_TRUE(Std(3).Down());
    Std(3).DblClick();
    EXPECT_EQ(Form.Take(), "free sysmenubutton;up sysmenubutton;leave sysmenubutton;close form;");
}

// A button object opens its menu item on a press and stays down while the menu is open; one
// without a menu item comes up on the release.
TEST_F(Buttons, AButtonObjectOpensItsMenuItemOnAPress)
{
    TskDataSkinButton r("menubutton");
    r.SkinRect = {150, 2, 170, 18};
    r.ActivePictureIndex = 0;
    r.ActiveSkinRect = {0, 0, 20, 16};
    r.DownRect = {20, 0, 40, 16};
    auto owned = std::make_unique<TskSkinButtonObject>(Form, &r, 1);
    TskSkinButtonObject& b = *owned;
    b.ObjectRect = b.SkinRect;
    Router.Objects.push_back(std::move(owned));
    for (bool withMenu : {false, true}) {
        char item = 0;
        b.SetMenuItem(withMenu ? reinterpret_cast<TMenuItem*>(&item) : nullptr);
        Router.UpdateHover({155, 5}, true);
        Router.Press({155, 5}, TSkMouseButton::Left, true);
        EXPECT_TRUE(b.Down());
        const std::string log = Form.Take();
        EXPECT_EQ(log.find("menu menubutton;") != std::string::npos, withMenu) << log;
        EXPECT_EQ(b.MenuItem(), withMenu ? reinterpret_cast<TMenuItem*>(&item) : nullptr);
        Router.Release({155, 5}, TSkMouseButton::Left, true);
        Router.UpdateHover({300, 300}, true);
        EXPECT_EQ(b.Down(), withMenu);
        b.SetDown(false);   // the menu closed
        Form.Take();
    }
}

TEST_F(Buttons, BorderIconsDisableButtonsTheFramePictureStillShows)
{
    TSkBorderIconsState s;
    s.Icons = SkIcon(TskBorderIcon::biMaximize);
    s.FormCaption = "便签管理";
    ApplyBorderIcons(Router.Objects, s, [](const char*, const char* builtin) { return std::string(builtin); });
    EXPECT_TRUE(Std(1).Enabled);        // close is never hidden
    EXPECT_TRUE(Std(2).Enabled);
    EXPECT_FALSE(Std(3).Enabled);       // no system menu: inert
    EXPECT_TRUE(Std(3).Visible);        // but its look lies in the frame picture
    EXPECT_EQ(dynamic_cast<TskSkinCaptionObject&>(*Router.Objects[0]).Text, "便签管理");
    EXPECT_EQ(Std(2).Hint, "Maximize");
    Router.UpdateHover({5, 5}, true);
    EXPECT_EQ(Router.HoverIndex, -1);
    auto defaults = CreateDefaultButtons(Form);
    ApplyBorderIcons(defaults, s, nullptr);
    ASSERT_EQ(defaults.size(), 6u);
    EXPECT_FALSE(defaults[2]->Visible);   // a default minimize button is hidden outright
    EXPECT_TRUE(defaults[0]->Visible);
}

TEST_F(Buttons, MorphingObjectsStepTowardTheirLook)
{
    Std(2).Morphing = true;
    Router.UpdateHover({115, 10}, true);
    EXPECT_EQ(Form.Take(), "morph;enter maximizebutton;");
    int ticks = 0;
    while (Router.MorphTick())
        ++ticks;
    EXPECT_EQ(ticks, 4);   // five steps of 0.2, the last one ends the run
    EXPECT_DOUBLE_EQ(Std(2).MorphFactor, 1.0);
}
