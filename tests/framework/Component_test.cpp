#include "framework/base/Component.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records its own destruction and the notifications it receives.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<std::string>* log, std::string name = "")
        : TComponent(owner), FLog(log) {
        if (!name.empty()) SetName(name);
    }
    ~Probe() override { FLog->push_back("free " + Name()); }
    TComponent* Link = nullptr;   // weak link cleared on removal
    void SetLink(TComponent* c) {
        if (Link) Link->RemoveFreeNotification(this);
        Link = c;
        if (c) c->FreeNotification(this);
    }
    int LoadedCalls = 0;
    bool LoadingSeenInLoaded = true;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        FLog->push_back(std::string(op == TOperation::opInsert ? "insert " : "remove ") + c->Name() + " in " + Name());
        if (op == TOperation::opRemove && c == Link) Link = nullptr;
    }
    void Loaded() override {
        ++LoadedCalls;
        LoadingSeenInLoaded = Loading();
        FLog->push_back("loaded " + Name());
    }

private:
    std::vector<std::string>* FLog;
};

TEST(Ownership, OwnerFreesChildrenLastFirst) {
    std::vector<std::string> log;
    {
        auto* form = new Probe(nullptr, &log, "Form1");
        new Probe(form, &log, "A");
        auto* b = new Probe(form, &log, "B");
        new Probe(b, &log, "B1");
        EXPECT_EQ(form->ComponentCount(), 2);
        log.clear();
        delete form;
    }
    // Each destructor body logs before the base frees its children: B goes before A.
    std::vector<std::string> expected = {"free Form1", "free B", "free B1", "free A"};
    std::vector<std::string> frees;
    for (auto& s : log)
        if (s.rfind("free", 0) == 0) frees.push_back(s);
    EXPECT_EQ(frees, expected);
}

TEST(Ownership, ChildFreedFirstLeavesOwnerList) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    auto* a = new Probe(&form, &log, "A");
    new Probe(&form, &log, "B");
    delete a;
    ASSERT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0)->Name(), "B");
    EXPECT_EQ(form.FindComponent("a"), nullptr);
    EXPECT_EQ(log.back(), "remove A in Form1");
}

TEST(Ownership, InsertAndRemoveMoveOwnership) {
    std::vector<std::string> log;
    Probe one(nullptr, &log, "One");
    Probe two(nullptr, &log, "Two");
    auto* c = new Probe(&one, &log, "C");
    two.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &two);
    EXPECT_EQ(one.ComponentCount(), 0);
    EXPECT_EQ(two.FindComponent("C"), c);
    two.RemoveComponent(c);
    EXPECT_EQ(c->Owner(), nullptr);
    delete c;
    EXPECT_EQ(two.ComponentCount(), 0);
}

TEST(Names, FindComponentIgnoresCase) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    auto* t = new Probe(&form, &log, "tszxsfTimer");
    new Probe(&form, &log);   // unnamed components are never found
    EXPECT_EQ(form.FindComponent("TSZXSFTIMER"), t);
    EXPECT_EQ(form.FindComponent("tszxsftimer"), t);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    EXPECT_EQ(form.FindComponent("missing"), nullptr);
}

TEST(Names, BadOrDuplicateNamesRaiseAndKeepTheOldName) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    new Probe(&form, &log, "N12");
    auto* b = new Probe(&form, &log, "N13");
    EXPECT_THROW(b->SetName("n12"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    EXPECT_EQ(b->Name(), "N13");
    b->SetName("N13");   // renaming to itself is fine
    b->SetName("");
    EXPECT_EQ(form.FindComponent("N13"), nullptr);
}

TEST(Names, ComponentsIndexIsChecked) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    EXPECT_THROW(form.Components(0), EComponentError);
    EXPECT_THROW(form.Components(-1), EComponentError);
}

TEST(Notification, WeakLinkAcrossOwnersIsCleared) {
    std::vector<std::string> log;
    Probe formA(nullptr, &log, "FormA");
    Probe formB(nullptr, &log, "FormB");
    auto* menu = new Probe(&formA, &log, "PopupMenu1");
    auto* label = new Probe(&formB, &log, "Label1");
    label->SetLink(menu);
    delete menu;
    EXPECT_EQ(label->Link, nullptr);
}

TEST(Notification, LinkedComponentDyingFirstUnregisters) {
    std::vector<std::string> log;
    auto* menu = new Probe(nullptr, &log, "Menu");
    auto* label = new Probe(nullptr, &log, "Label");
    label->SetLink(menu);
    delete label;   // menu must not notify the dead label later
    log.clear();
    delete menu;
    EXPECT_EQ(log, std::vector<std::string>{"free Menu"});
}

TEST(Notification, MutualLinksDuringOwnerDestruction) {
    std::vector<std::string> log;
    auto* form = new Probe(nullptr, &log, "Form");
    auto* a = new Probe(form, &log, "A");
    auto* b = new Probe(form, &log, "B");
    a->SetLink(b);
    b->SetLink(a);
    delete form;   // B goes first and clears A's link before A goes
    EXPECT_NE(std::find(log.begin(), log.end(), "remove B in A"), log.end());
}

// Two features that link the same pair each hold their own link: dropping one leaves the
// other, whichever side asked for it.
TEST(Notification, LinksToTheSamePairAreCounted) {
    std::vector<std::string> log;
    Probe menu(nullptr, &log, "Menu");
    auto* box = new Probe(nullptr, &log, "Box");
    box->SetLink(&menu);            // the box's link to its menu
    box->FreeNotification(&menu);   // the menu's own link to the box
    box->SetLink(nullptr);
    log.clear();
    delete box;
    EXPECT_EQ(log, (std::vector<std::string>{"free Box", "remove Box in Menu"}));

    auto* other = new Probe(nullptr, &log, "Other");
    other->FreeNotification(&menu);
    menu.FreeNotification(other);
    other->RemoveFreeNotification(&menu);
    menu.RemoveFreeNotification(other);
    menu.RemoveFreeNotification(other);   // one too many: nothing left to remove
    other->FreeNotification(&menu);
    other->RemoveFreeNotification(&menu);
    log.clear();
    delete other;
    EXPECT_EQ(log, std::vector<std::string>{"free Other"});
}

// Destruction tells a component linked twice once and leaves no link behind on either side.
TEST(Notification, DestructionClearsEveryLinkOfThePair) {
    std::vector<std::string> log;
    auto* menu = new Probe(nullptr, &log, "Menu");
    auto* box = new Probe(nullptr, &log, "Box");
    box->SetLink(menu);
    menu->FreeNotification(box);
    box->FreeNotification(menu);
    log.clear();
    delete menu;
    EXPECT_EQ(log, (std::vector<std::string>{"free Menu", "remove Menu in Box"}));
    EXPECT_EQ(box->Link, nullptr);
    log.clear();
    delete box;
    EXPECT_EQ(log, std::vector<std::string>{"free Box"});
}

TEST(Notification, NoLinkToItselfOrToNothing) {
    std::vector<std::string> log;
    auto* box = new Probe(nullptr, &log, "Box");
    box->FreeNotification(box);
    box->FreeNotification(nullptr);
    box->RemoveFreeNotification(nullptr);
    log.clear();
    delete box;
    EXPECT_EQ(log, std::vector<std::string>{"free Box"});
}

TEST(Loading, LoadedRunsOnceChildrenFirstAfterLoadingEnds) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    form.BeginLoading();
    auto* a = new Probe(&form, &log, "A");
    EXPECT_TRUE(a->Loading());
    auto* a1 = new Probe(a, &log, "A1");
    EXPECT_TRUE(a1->Loading());
    log.clear();
    form.EndLoading();
    EXPECT_EQ(log, (std::vector<std::string>{"loaded A1", "loaded A", "loaded Form1"}));
    EXPECT_FALSE(a->Loading());
    EXPECT_FALSE(a->LoadingSeenInLoaded);
    EXPECT_EQ(a->LoadedCalls, 1);
}

TEST(Loading, ComponentsAddedAfterLoadingAreNotLoading) {
    std::vector<std::string> log;
    Probe form(nullptr, &log, "Form1");
    form.BeginLoading();
    form.EndLoading();
    auto* a = new Probe(&form, &log, "A");
    EXPECT_FALSE(a->Loading());
    EXPECT_EQ(a->LoadedCalls, 0);
}

// An owner whose own part must outlive its components: they are freed (and linked ones
// told) from its destructor, while it is still whole and already marked destroying.
class WholeOwner : public TComponent {
public:
    explicit WholeOwner(std::vector<std::string>* log) : TComponent(nullptr), Log(log) {}
    ~WholeOwner() override {
        BeginDestroy();
        Log->push_back("owner part ends");
    }
    std::vector<std::string>* Log;
};

// Keeps its owner, as a component that must undo something on it does.
class PartUser : public TComponent {
public:
    explicit PartUser(WholeOwner* owner) : TComponent(owner), FOwner(owner) {}
    ~PartUser() override {
        const bool whole = dynamic_cast<WholeOwner*>(static_cast<TComponent*>(FOwner)) && FOwner->Destroying();
        FOwner->Log->push_back(whole ? "part freed, owner whole" : "part freed late");
    }

private:
    WholeOwner* FOwner;
};

TEST(Component, BeginDestroyFreesOwnedComponentsWhileTheOwnerIsWhole) {
    std::vector<std::string> log;
    auto* owner = new WholeOwner(&log);
    new PartUser(owner);
    Probe watcher(nullptr, &log, "watcher");
    owner->SetName("owner");
    watcher.SetLink(owner);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"remove owner in watcher", "part freed, owner whole", "owner part ends"}));
    EXPECT_EQ(watcher.Link, nullptr);
}

}  // namespace

// A watch names the watched components freed while it lived (or being freed when watched),
// and going first leaves the others no link to it.
TEST(Component, FreeWatchNamesWhatWasFreed) {
    std::vector<std::string> log;
    auto* kept = new Probe(nullptr, &log, "Kept");
    auto* owner = new Probe(nullptr, &log, "Owner");
    auto* freed = new Probe(owner, &log, "Freed");
    {
        TFreeWatch watch;
        watch.Watch(kept);
        watch.Watch(freed);
        watch.Watch(freed);   // twice: still one answer
        delete owner;   // and with it the component it owns
        EXPECT_TRUE(watch.Gone(freed));
        EXPECT_FALSE(watch.Gone(kept));
    }
    log.clear();
    delete kept;
    EXPECT_EQ(log, std::vector<std::string>{"free Kept"});

    // Watched while it is being freed (a window message its destructor sends): gone at once.
    struct Going : TComponent {
        Going() : TComponent(nullptr) {}
        ~Going() override {
            BeginDestroy();
            OnGoing(this);
        }
        std::function<void(TComponent*)> OnGoing;
    };
    bool gone = false;
    auto* going = new Going;
    going->OnGoing = [&](TComponent* c) {
        TFreeWatch late;
        late.Watch(c);
        gone = late.Gone(c);
    };
    delete going;
    EXPECT_TRUE(gone);
}
