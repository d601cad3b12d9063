#pragma once
// The component model: TObject, the root of every framework class, and TComponent, which
// owns the components created with it as owner (the owner's destructor frees them, last
// first), has a Name unique among its owner's components (found case-insensitively), a
// Tag, a loading state during which setters skip their side effects, and removal
// notification so that weak links (FreeNotification) are cleared when a component dies.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/SysUtils.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// An event with only a sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Invalid component name, duplicate name, bad component index.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned { csLoading = 1, csDestroying = 2 };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(std::string_view value);   // raises EComponentError on a bad or duplicate name
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t value) { FTag = value; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;   // raises EComponentError when out of range
    TComponent* FindComponent(std::string_view name) const;   // case-insensitive; nullptr if absent
    // Moves ownership of a component to this one (InsertComponent) or gives it up (the
    // caller then owns it).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks that `component` be told (Notification opRemove) when this one is destroyed,
    // and the other way round; used for links between components of different owners.
    // Links are counted per pair: each FreeNotification needs its own
    // RemoveFreeNotification, and destruction tells the other side once and clears them all.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    unsigned ComponentState() const { return FComponentState; }
    bool Loading() const { return (FComponentState & csLoading) != 0; }
    bool Destroying() const { return (FComponentState & csDestroying) != 0; }
    // Loading brackets a build-up: components inserted meanwhile are loading too, and
    // EndLoading calls Loaded on every owned component (then on this one) once all
    // properties are set, so that deferred side effects (a timer starting) happen once.
    void BeginLoading();
    void EndLoading();

protected:
    // Called for components inserted into or removed from this one, and for components
    // this one asked FreeNotification of when they are destroyed.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    // Frees the owned components now; a derived destructor calls it when they still need
    // parts of the derived object while they go.
    void DestroyComponents();
    // The first steps of destruction, for a derived destructor whose object must still be
    // whole while they run: marks this one destroying, tells the linked components, then
    // frees the owned ones. ~TComponent does what is left undone.
    void BeginDestroy();

private:
    void ClearLoading();
    void CallLoaded();

    TComponent* FOwner = nullptr;
    std::string FName;
    intptr_t FTag = 0;
    unsigned FComponentState = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;   // one entry per link, both sides
};

// Remembers which of the watched components were freed while it lived: code that calls out
// (an event handler, a nested message loop) asks it before touching them again. A component
// already being freed counts as gone at once: its links may outlive it.
class TFreeWatch : public TComponent {
public:
    TFreeWatch() : TComponent(nullptr) {}
    void Watch(TComponent* c) {
        if (c && c->Destroying())
            FGone.push_back(c);
        else
            FreeNotification(c);
    }
    bool Gone(const TComponent* c) const;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    std::vector<const TComponent*> FGone;
};
