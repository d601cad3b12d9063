#include "framework/base/ActnList.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A client that shows what its link tells it, and records which properties came.
struct Client {
    Client() : Link([this](const TAction& a, TActionProperties p) { Show(a, p); }) {}
    void Show(const TAction& a, TActionProperties p) {
        Told.push_back(p);
        if (p.Contains(apCaption)) Caption = a.Caption();
        if (p.Contains(apEnabled)) Enabled = a.Enabled();
        if (p.Contains(apChecked)) Checked = a.Checked();
        if (p.Contains(apVisible)) Visible = a.Visible();
        if (p.Contains(apHint)) Hint = a.Hint();
        if (p.Contains(apImageIndex)) ImageIndex = a.ImageIndex();
        if (p.Contains(apShortCut)) ShortCut = a.ShortCut();
    }
    TActionLink Link;
    std::vector<TActionProperties> Told;
    std::string Caption, Hint;
    bool Enabled = false, Checked = false, Visible = false;
    int ImageIndex = 0;
    TShortCut ShortCut = 0;
};

}  // namespace

// The link shows every property when the action is set, then each change, one property at a time.
TEST(Actions, ClientsShowTheActionAndFollowEachChange) {
    TAction action(nullptr);
    action.SetCaption("新建便签");
    action.SetHint("hint");
    Client client;
    client.Link.SetAction(&action);
    ASSERT_EQ(client.Told.size(), 1u);
    EXPECT_EQ(client.Told[0], kAllActionProperties);
    EXPECT_EQ(client.Caption, "新建便签");
    EXPECT_TRUE(client.Enabled);
    EXPECT_TRUE(client.Visible);
    EXPECT_EQ(client.ImageIndex, -1);

    struct Row {
        TActionProperty property;
        std::function<void()> change;
        std::function<bool()> shown;
    };
    const std::vector<Row> rows = {
        {apCaption, [&] { action.SetCaption("退出"); }, [&] { return client.Caption == "退出"; }},
        {apEnabled, [&] { action.SetEnabled(false); }, [&] { return !client.Enabled; }},
        {apChecked, [&] { action.SetChecked(true); }, [&] { return client.Checked; }},
        {apVisible, [&] { action.SetVisible(false); }, [&] { return !client.Visible; }},
        {apHint, [&] { action.SetHint("提示"); }, [&] { return client.Hint == "提示"; }},
        {apImageIndex, [&] { action.SetImageIndex(3); }, [&] { return client.ImageIndex == 3; }},
        {apShortCut, [&] { action.SetShortCut(0x4000 | 'N'); }, [&] { return client.ShortCut == (0x4000 | 'N'); }},
    };
    for (const Row& row : rows) {
        client.Told.clear();
        row.change();
        ASSERT_EQ(client.Told.size(), 1u) << row.property;
        EXPECT_EQ(client.Told[0], TActionProperties{row.property});
        EXPECT_TRUE(row.shown()) << row.property;
        row.change();   // the same value again tells nobody
        EXPECT_EQ(client.Told.size(), 1u) << row.property;
    }
    client.Link.SetAction(nullptr);
    client.Told.clear();
    action.SetCaption("再见");
    EXPECT_TRUE(client.Told.empty());
}

// A click: OnClick of its own beats the action; the action's own handler runs through the
// action (which checks Enabled after its update); without an action OnClick runs.
TEST(Actions, ClickRunsOnClickOrTheActionByTheHandlersIdentity) {
    enum OnClickKind { none, own, actions };
    struct Row {
        OnClickKind onClick;
        bool withAction;
        bool disabledByUpdate;
        int clicks, executes;
    };
    const Row rows[] = {
        {none, false, false, 0, 0},
        {own, false, false, 1, 0},
        {none, true, false, 0, 1},
        {own, true, false, 1, 0},       // a handler of its own: OnClick only
        {actions, true, false, 0, 1},   // the action's own handler: through the action, once
        {actions, true, true, 0, 0},    // ... which its update has disabled
        {none, true, true, 0, 0},
        {own, true, true, 1, 0},
    };
    for (const Row& row : rows) {
        int clicks = 0, executes = 0, updates = 0;
        TAction action(nullptr);
        TNotifyHandler execute([&](TObject* sender) {
            EXPECT_EQ(sender, &action);
            ++executes;
        });
        action.OnExecute = execute;
        action.OnUpdate = [&](TObject*) {
            ++updates;
            action.SetEnabled(!row.disabledByUpdate);
        };
        Client client;
        if (row.withAction) client.Link.SetAction(&action);
        TNotifyEvent onClick;
        if (row.onClick == own) onClick = [&](TObject*) { ++clicks; };
        if (row.onClick == actions) onClick = execute;
        ActionClick(&client.Link, onClick, nullptr);
        const int idx = static_cast<int>(&row - rows);
        EXPECT_EQ(clicks, row.clicks) << idx;
        EXPECT_EQ(executes, row.executes) << idx;
        EXPECT_EQ(updates, row.withAction && row.onClick != own ? 1 : 0) << idx;
    }
    // Equal behaviour is no identity: a copy of the lambda inside is another handler.
    TNotifyEvent plain = [](TObject*) {};
    EXPECT_FALSE(SameHandler(plain, plain));
    TNotifyHandler shared(plain);
    EXPECT_TRUE(SameHandler(shared, TNotifyEvent(shared)));
    EXPECT_FALSE(SameHandler(shared, TNotifyHandler(plain)));
}

// Freeing either side leaves the other whole: a freed action empties its links (a click
// then runs OnClick), a freed client leaves the action, a freed list lets its actions go.
TEST(Actions, FreedActionsClientsAndListsLeaveNoDanglingLinks) {
    auto* list = new TActionList(nullptr);
    auto* action = new TAction(nullptr);
    action->SetActionList(list);
    auto* other = new TAction(nullptr);
    other->SetActionList(list);
    ASSERT_EQ(list->ActionCount(), 2);
    EXPECT_EQ(list->Actions(1), other);
    Client client;
    client.Link.SetAction(action);
    {
        Client gone;
        gone.Link.SetAction(action);
    }
    action->SetCaption("still told");   // the freed client is no longer linked
    EXPECT_EQ(client.Caption, "still told");
    delete action;
    EXPECT_EQ(client.Link.Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 1);
    int clicks = 0;
    ActionClick(&client.Link, [&](TObject*) { ++clicks; }, nullptr);
    EXPECT_EQ(clicks, 1);
    delete list;
    EXPECT_EQ(other->ActionList(), nullptr);
    delete other;
}

// The idle pass updates every action alive; one freed by another's update is skipped.
TEST(Actions, UpdateActionsRunsEveryOnUpdateAndSkipsFreedActions) {
    TActionList list(nullptr);
    std::vector<int> updates(3, 0);
    TAction* actions[3];
    for (int i = 0; i < 3; ++i) {
        actions[i] = new TAction(nullptr);
        actions[i]->OnUpdate = [&updates, i](TObject*) { ++updates[static_cast<size_t>(i)]; };
    }
    actions[0]->SetActionList(&list);   // in a list or not, every action is updated
    UpdateActions();
    EXPECT_EQ(updates, (std::vector<int>{1, 1, 1}));
    TAction* victim = actions[2];
    actions[1]->OnUpdate = [&](TObject*) {
        ++updates[1];
        delete victim;
        victim = nullptr;
    };
    // The action made first is updated first, so the victim comes after its killer.
    UpdateActions();
    EXPECT_EQ(updates, (std::vector<int>{2, 2, 1}));
    delete actions[0];
    delete actions[1];
}

// An OnUpdate that raises leaves no later action stale: all are updated, then the first
// exception comes out of the pass.
TEST(Actions, UpdateActionsUpdatesEveryActionPastOneThatRaises) {
    TAction first(nullptr), second(nullptr), third(nullptr);
    int updates = 0;
    first.OnUpdate = [](TObject*) { throw std::runtime_error("first"); };
    second.OnUpdate = [&](TObject*) { ++updates; };
    third.OnUpdate = [](TObject*) { throw std::logic_error("third"); };
    try {
        UpdateActions();
        ADD_FAILURE() << "the exception was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(updates, 1);
}

// An action freed by its own OnUpdate (while it executes) or by a client told of a change
// is not touched afterwards (the ASan tree catches a slip).
TEST(Actions, AnActionFreedByItsUpdateOrByAClientIsNotTouchedAgain) {
    auto* action = new TAction(nullptr);
    int executes = 0;
    action->OnUpdate = [&](TObject*) { delete action; };
    action->OnExecute = [&](TObject*) { ++executes; };
    EXPECT_FALSE(action->Execute());
    EXPECT_EQ(executes, 0);

    action = new TAction(nullptr);
    int told = 0;
    TActionLink freeing([&](const TAction&, TActionProperties p) {
        if (p == TActionProperties{apCaption}) delete action;
    });
    TActionLink other([&](const TAction&, TActionProperties) { ++told; });
    freeing.SetAction(action);
    other.SetAction(action);
    action->SetCaption("关闭");
    EXPECT_EQ(freeing.Action(), nullptr);
    EXPECT_EQ(other.Action(), nullptr);
    EXPECT_EQ(told, 1);   // only when it was set
}
