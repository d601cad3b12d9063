#include "framework/base/ActnList.h"

#include <algorithm>
#include <cstddef>
#include <exception>

namespace {

// Every action alive, for the idle update.
std::vector<TAction*>& LiveActions() {
    static std::vector<TAction*> actions;
    return actions;
}

// How many actions have been freed so far: a walk over a snapshot of the live actions
// looks one up (Alive) only once an action has gone since the snapshot was taken.
std::size_t& FreedActions() {
    static std::size_t freed = 0;
    return freed;
}

bool Alive(const TAction* action) {
    const auto& live = LiveActions();
    return std::find(live.begin(), live.end(), action) != live.end();
}

template <class T>
void EraseFrom(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

bool SameHandler(const TNotifyEvent& a, const TNotifyEvent& b) {
    const auto* x = a.target<TNotifyHandler>();
    const auto* y = b.target<TNotifyHandler>();
    return x && y && *x == *y;
}

//--- TAction

TAction::TAction(TComponent* AOwner) : TComponent(AOwner) { LiveActions().push_back(this); }

TAction::~TAction() {
    EraseFrom(LiveActions(), this);
    ++FreedActions();
    SetActionList(nullptr);
    for (TActionLink* link : FLinks) link->FAction = nullptr;
}

// A client may drop its action meanwhile, or free it: the rest is then left alone.
void TAction::Changed(TActionProperty what) {
    const std::vector<TActionLink*> links = FLinks;
    const std::size_t freed = FreedActions();
    for (TActionLink* link : links) {
        if (FreedActions() != freed && !Alive(this)) return;
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end() && link->FOnChange)
            link->FOnChange(*this, TActionProperties{what});
    }
}

void TAction::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed(apCaption);
}

void TAction::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Changed(apEnabled);
}

void TAction::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    Changed(apChecked);
}

void TAction::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed(apVisible);
}

void TAction::SetHint(const std::string& value) {
    if (value == FHint) return;
    FHint = value;
    Changed(apHint);
}

void TAction::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed(apImageIndex);
}

void TAction::SetShortCut(TShortCut value) {
    if (value == FShortCut) return;
    FShortCut = value;
    Changed(apShortCut);
}

void TAction::SetActionList(TActionList* value) {
    if (value == FActionList) return;
    if (FActionList) EraseFrom(FActionList->FActions, this);
    FActionList = value;
    if (value) value->FActions.push_back(this);
}

bool TAction::Update() {
    if (TNotifyEvent h = OnUpdate) {
        h(this);
        return true;
    }
    return false;
}

bool TAction::Execute() {
    Update();
    if (!Alive(this) || !FEnabled) return false;   // OnUpdate may free the action
    if (TNotifyEvent h = OnExecute) {
        h(this);
        return true;
    }
    return false;
}

//--- TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
    for (TAction* action : FActions) action->FActionList = nullptr;
}

//--- TActionLink

void TActionLink::SetAction(TAction* value) {
    if (value == FAction) return;
    if (FAction) EraseFrom(FAction->FLinks, this);
    FAction = value;
    if (!value) return;
    value->FLinks.push_back(this);
    if (FOnChange) FOnChange(*value, kAllActionProperties);
}

bool TActionLink::Execute() {
    TAction* action = FAction;   // the action's handler may free this link's client
    return action && action->Execute();
}

bool TActionLink::Update() { return FAction && FAction->Update(); }

void ActionClick(TActionLink* link, TNotifyEvent onClick, TObject* Sender) {
    TAction* action = link ? link->Action() : nullptr;
    if (onClick && (!action || !SameHandler(onClick, action->OnExecute)))
        onClick(Sender);
    else if (action)
        action->Execute();
}

// An OnUpdate that raises does not keep the later actions stale: the first exception
// goes on once every action has been updated.
void UpdateActions() {
    const std::vector<TAction*> snapshot = LiveActions();
    const std::size_t freed = FreedActions();
    std::exception_ptr first;
    for (TAction* action : snapshot) {
        if (FreedActions() != freed && !Alive(action)) continue;
        try {
            action->Update();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}
