#include "framework/base/Component.h"

#include <algorithm>

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool IsIdentifier(std::string_view s) {
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (s.empty() || !alpha(s[0])) return false;
    return std::all_of(s.begin(), s.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void Erase(std::vector<TComponent*>& list, TComponent* c) {
    list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

bool EraseOne(std::vector<TComponent*>& list, TComponent* c) {
    auto it = std::find(list.begin(), list.end(), c);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

// Order matters: tell the linked components first (they may still look at this one's
// name), then free the owned components, then leave the owner.
TComponent::~TComponent() {
    BeginDestroy();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeginDestroy() {
    FComponentState |= csDestroying;
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        Erase(FFreeNotifies, other);
        Erase(other->FFreeNotifies, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
}

void TComponent::DestroyComponents() {
    for (TComponent* c : FComponents) c->FComponentState |= csDestroying;
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        FComponents.pop_back();
        c->FOwner = nullptr;
        delete c;
    }
}

void TComponent::SetName(std::string_view value) {
    if (value == FName) return;
    if (!value.empty() && !IsIdentifier(value))
        throw EComponentError("\"" + std::string(value) + "\" is not a valid component name");
    if (FOwner && !value.empty()) {
        TComponent* same = FOwner->FindComponent(value);
        if (same && same != this)
            throw EComponentError("A component named " + std::string(value) + " already exists");
    }
    FName = value;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EComponentError("Component index out of bounds (" + std::to_string(index) + ")");
    return FComponents[index];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameName(c->FName, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (!component->FName.empty() && FindComponent(component->FName))
        throw EComponentError("A component named " + component->FName + " already exists");
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    if (Loading()) component->FComponentState |= csLoading;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    Erase(FComponents, component);
    component->FOwner = nullptr;
    Notification(component, TOperation::opRemove);
}

// Each link is one entry on both sides, so a pair linked twice stays linked until both
// links are removed.
void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    FFreeNotifies.push_back(component);
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component || !EraseOne(FFreeNotifies, component)) return;
    EraseOne(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {}

void TComponent::BeginLoading() {
    FComponentState |= csLoading;
    for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading() {
    ClearLoading();
    CallLoaded();
}

// Owned components first, the owner last, so a form's Loaded sees its parts ready. A
// Loaded may create components, hence the snapshot.
void TComponent::CallLoaded() {
    std::vector<TComponent*> snapshot = FComponents;
    for (TComponent* c : snapshot) c->CallLoaded();
    Loaded();
}

void TComponent::ClearLoading() {
    FComponentState &= ~unsigned(csLoading);
    for (TComponent* c : FComponents) c->ClearLoading();
}

bool TFreeWatch::Gone(const TComponent* c) const { return std::find(FGone.begin(), FGone.end(), c) != FGone.end(); }

void TFreeWatch::Notification(TComponent* c, TOperation op) {
    if (op == TOperation::opRemove) FGone.push_back(c);
}
