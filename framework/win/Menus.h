#pragma once
// Menus: TMenuItem (caption with '&' accelerators, "-" for a separator, check marks with
// AutoCheck and radio groups, Default, Visible, Enabled, ShortCut, sub-items, OnClick and
// a programmatic Click) and TPopupMenu (Popup at a screen point, OnPopup, AutoPopup on a
// right click of its control). The native menu is built afresh at each Popup, drawn by
// the system. Sub-items are listed by their parent item; components are owned as usual.
// Shortcuts fire through the form (TForm::IsShortCut) from the message loop.

#include <memory>
#include <string>
#include <vector>

#include "framework/win/Controls.h"

// TShortCut (ActnList.h): virtual key | scShift | scCtrl | scAlt
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD key, TShiftState shift);
std::string ShortCutToText(TShortCut shortCut);

class TPopupMenu;
class TImageList;
enum TMenuAutoFlag { maAutomatic, maManual };

// Automatic hot keys: each caption that has no hot key ('&') gets one before its first
// letter or digit that no other caption of the list has as its hot key; a caption with
// none left, or a line ("-"), stays as it is.
std::vector<std::string> AutoHotkeyCaptions(const std::vector<std::string>& captions);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);   // a checked radio item unchecks its group
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value) { FRadioItem = value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    // The item's picture in its menu's Images; -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // With an Action the item shows all of the action's properties and follows their
    // changes; Click runs the action unless OnClick is a handler of its own (ActionClick).
    TAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
    void SetAction(TAction* value);
    TActionLink* ActionLink() const { return Action() ? FActionLink.get() : nullptr; }

    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(index); }
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Find(const std::string& caption) const;   // by caption without '&'
    // The caption as the menu shows it: with its automatic hot key among the visible
    // siblings when the item's menu has AutoHotkeys maAutomatic; the Caption is unchanged.
    std::string ShownCaption() const;
    TPopupMenu* Menu() const;   // the menu whose tree holds the item, or null

    // What choosing the item does: toggles an AutoCheck item, then fires OnClick or runs
    // the action.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    void ActionChange(const TAction& Action, TActionProperties Changed);

    std::string FCaption, FHint;
    bool FChecked = false, FAutoCheck = false, FRadioItem = false, FDefault = false;
    bool FVisible = true, FEnabled = true;
    int FGroupIndex = 0, FImageIndex = -1;
    TShortCut FShortCut = 0;
    TMenuItem* FParent = nullptr;
    TPopupMenu* FMenu = nullptr;   // set on a menu's root item
    std::vector<TMenuItem*> FItems;
    std::unique_ptr<TActionLink> FActionLink;
    friend class TPopupMenu;
};

// Runs OnUpdate of the actions of parent's items at any depth, before a menu shows them.
void UpdateItemActions(TMenuItem* parent);

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    TMenuItem* Items() const { return FItems; }
    TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag value) { FAutoHotkeys = value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The component the menu was last shown for; null once that component is freed.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    // The pictures the items name by ImageIndex; null once the list is freed.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);

    // Fires OnPopup, shows the menu at a screen point, waits for a choice and runs the
    // chosen item's Click after the menu has closed.
    virtual void Popup(int X, int Y);
    TNotifyEvent OnPopup;
    // Clicks the item that has this shortcut; only items the user could choose (visible
    // and enabled, under visible and enabled parents) count. True when one was clicked.
    bool IsShortCut(TShortCut shortCut);

protected:
    // Builds the native menu; ids[i] is the item of command i + 1.
    HMENU BuildMenu(TMenuItem* parent, std::vector<TMenuItem*>& ids);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems;
    bool FAutoPopup = true;
    TMenuAutoFlag FAutoHotkeys = maManual;
    TComponent* FPopupComponent = nullptr;
    TImageList* FImages = nullptr;
};
