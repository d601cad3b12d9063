#pragma once
// Actions: a TAction holds what a command shows (Caption, Enabled, Checked, Visible, Hint,
// ImageIndex, ShortCut) and what it does (OnExecute). A control or menu item whose Action
// names it shows those properties, follows their changes and runs it when clicked; every
// such client talks to its action through one TActionLink. OnUpdate sets the properties
// from the program's state: UpdateActions runs it for every action, and the message loop
// calls that whenever its queue has emptied. Actions are grouped in a TActionList.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/base/Component.h"
#include "framework/base/Set.h"

using TShortCut = uint16_t;   // virtual key | scShift | scCtrl | scAlt (Menus.h)

enum TActionProperty { apCaption, apEnabled, apChecked, apVisible, apHint, apImageIndex, apShortCut };
using TActionProperties = TSet<TActionProperty>;
inline constexpr TActionProperties kAllActionProperties{apCaption, apEnabled, apChecked, apVisible,
                                                        apHint, apImageIndex, apShortCut};

// An event handler with an identity that copies keep. std::function cannot be compared,
// so "this click handler is the action's own execute handler" is asked of the identity:
// a handler meant for both places is made once as a TNotifyHandler and the same value
// assigned to the action's OnExecute and to the client's OnClick. Plain lambdas have no
// identity and never count as the same handler.
class TNotifyHandler {
public:
    explicit TNotifyHandler(TNotifyEvent handler)
        : FHandler(std::make_shared<const TNotifyEvent>(std::move(handler))) {}
    void operator()(TObject* Sender) const {
        if (*FHandler) (*FHandler)(Sender);
    }
    bool operator==(const TNotifyHandler& other) const { return FHandler == other.FHandler; }

private:
    std::shared_ptr<const TNotifyEvent> FHandler;
};
// True when both events hold copies of one TNotifyHandler.
bool SameHandler(const TNotifyEvent& a, const TNotifyEvent& b);

class TActionList;
class TActionLink;

class TAction : public TComponent {
public:
    explicit TAction(TComponent* AOwner);
    ~TAction() override;   // its links lose it; its clients keep what they show

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* value);

    // Runs OnUpdate (Sender: the action); false when there is none.
    virtual bool Update();
    // Updates the action, then runs OnExecute (Sender: the action) when it is enabled.
    // True when OnExecute ran.
    virtual bool Execute();
    TNotifyEvent OnExecute, OnUpdate;

private:
    friend class TActionLink;
    friend class TActionList;
    void Changed(TActionProperty what);

    std::string FCaption, FHint;
    bool FEnabled = true, FChecked = false, FVisible = true;
    int FImageIndex = -1;
    TShortCut FShortCut = 0;
    TActionList* FActionList = nullptr;
    std::vector<TActionLink*> FLinks;
};

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner);
    ~TActionList() override;   // its actions leave it (their owner frees them)

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int index) const { return FActions.at(index); }

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

// The tie between a client (a control, a menu item) and its action. OnChange tells the
// client which of the action's properties to show: all of them when the action is set,
// then each one that changes. A freed action leaves the link empty.
class TActionLink {
public:
    using TChangeEvent = std::function<void(const TAction& Action, TActionProperties Changed)>;
    explicit TActionLink(TChangeEvent onChange) : FOnChange(std::move(onChange)) {}
    ~TActionLink() { SetAction(nullptr); }
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TAction* Action() const { return FAction; }
    void SetAction(TAction* value);
    bool Execute();   // false without an action or when it did not run
    bool Update();

private:
    friend class TAction;
    TChangeEvent FOnChange;
    TAction* FAction = nullptr;
};

// A client's click: its own OnClick when that is set and is not the action's execute
// handler; else the action, when the link has one; else OnClick. `link` may be null.
// OnClick is taken by value: a handler may free the client.
void ActionClick(TActionLink* link, TNotifyEvent onClick, TObject* Sender);

// Runs OnUpdate of every action alive (an action freed by another's OnUpdate is skipped);
// when OnUpdate raises, the rest are still updated and the first exception then raised.
void UpdateActions();
