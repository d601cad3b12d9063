#include "framework/win/Menus.h"

#include <algorithm>
#include <cctype>

#include "framework/win/Application.h"
#include "framework/win/ImgList.h"
#include "framework/win/WinUtil.h"

TShortCut ShortCut(WORD key, TShiftState shift) {
    TShortCut s = key & 0xFF;
    if (shift.Contains(ssShift)) s |= scShift;
    if (shift.Contains(ssCtrl)) s |= scCtrl;
    if (shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

std::string ShortCutToText(TShortCut shortCut) {
    if (!shortCut) return "";
    std::string text;
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scAlt) text += "Alt+";
    const WORD key = shortCut & 0xFF;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return text + char(key);
    if (key >= VK_F1 && key <= VK_F12) return text + "F" + std::to_string(key - VK_F1 + 1);
    switch (key) {
    case VK_DELETE: return text + "Del";
    case VK_INSERT: return text + "Ins";
    case VK_RETURN: return text + "Enter";
    case VK_ESCAPE: return text + "Esc";
    case VK_SPACE: return text + "Space";
    default: return text + "#" + std::to_string(key);
    }
}

std::vector<std::string> AutoHotkeyCaptions(const std::vector<std::string>& captions) {
    auto hotkeyOf = [](const std::string& c) -> char {
        for (size_t i = 0; i + 1 < c.size(); ++i)
            if (c[i] == '&') {
                if (c[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(c[i + 1])));
                ++i;
            }
        return 0;
    };
    auto usable = [](char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); };
    std::string used;
    for (const std::string& c : captions)
        if (char k = hotkeyOf(c)) used += k;
    std::vector<std::string> result = captions;
    for (std::string& c : result) {
        if (c == "-" || hotkeyOf(c)) continue;   // "&&" is a plain '&', no hot key
        for (size_t i = 0; i < c.size(); ++i) {
            const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c[i])));
            if (usable(c[i]) && used.find(up) == std::string::npos) {
                used += up;
                c.insert(i, 1, '&');
                break;
            }
        }
    }
    return result;
}

//--- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

// Sub-items go with their parent item, as in a menu tree.
TMenuItem::~TMenuItem() {
    while (!FItems.empty()) delete FItems.back();
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->FParent) throw EInvalidOperation("Menu item '" + item->Name() + "' is already in a menu");
    if (index < 0 || index > Count()) throw EInvalidOperation("Menu index out of range (" + std::to_string(index) + ")");
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    auto plain = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
        return s;
    };
    for (TMenuItem* item : FItems)
        if (SameText(plain(item->FCaption), plain(caption))) return item;
    return nullptr;
}

TPopupMenu* TMenuItem::Menu() const {
    const TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    return root->FMenu;
}

std::string TMenuItem::ShownCaption() const {
    const TPopupMenu* menu = Menu();
    if (!FParent || !menu || menu->AutoHotkeys() != maAutomatic) return FCaption;
    std::vector<std::string> captions;
    size_t self = 0;
    for (const TMenuItem* sibling : FParent->FItems) {
        if (sibling == this) self = captions.size();
        if (sibling->FVisible || sibling == this) captions.push_back(sibling->FCaption);
    }
    return AutoHotkeyCaptions(captions)[self];
}

void TMenuItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (value && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(!FChecked);
    ActionClick(ActionLink(), OnClick, this);
}

void TMenuItem::SetAction(TAction* value) {
    if (!FActionLink) {
        if (!value) return;
        FActionLink = std::make_unique<TActionLink>([this](const TAction& a, TActionProperties p) { ActionChange(a, p); });
    }
    FActionLink->SetAction(value);
}

void TMenuItem::ActionChange(const TAction& Action, TActionProperties Changed) {
    if (Changed.Contains(apCaption)) FCaption = Action.Caption();
    if (Changed.Contains(apEnabled)) FEnabled = Action.Enabled();
    if (Changed.Contains(apChecked)) SetChecked(Action.Checked());
    if (Changed.Contains(apVisible)) FVisible = Action.Visible();
    if (Changed.Contains(apHint)) FHint = Action.Hint();
    if (Changed.Contains(apImageIndex)) FImageIndex = Action.ImageIndex();
    if (Changed.Contains(apShortCut)) FShortCut = Action.ShortCut();
}

//--- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TPopupMenu::~TPopupMenu() { delete FItems; }

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (value == FPopupComponent) return;
    if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::SetImages(TImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
    if (Operation == TOperation::opRemove && AComponent == FImages) FImages = nullptr;
}

HMENU TPopupMenu::BuildMenu(TMenuItem* parent, std::vector<TMenuItem*>& ids) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string text = item->ShownCaption();
        if (item->ShortCut()) text += "\t" + ShortCutToText(item->ShortCut());
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_ID;
        std::wstring w = Wide(text);
        info.dwTypeData = w.data();
        info.fType = item->RadioItem() ? MFT_RADIOCHECK : 0;
        info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_GRAYED) |
                      (item->Default() ? MFS_DEFAULT : 0);
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = BuildMenu(item, ids);
        } else {
            ids.push_back(item);
            info.wID = static_cast<UINT>(ids.size());
        }
        InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
    }
    return menu;
}

void UpdateItemActions(TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (TActionLink* link = item->ActionLink()) link->Update();
        UpdateItemActions(item);
    }
}

// The menu's own loop dispatches messages (timers, deferred deletes): an item freed
// meanwhile is not clicked.
void TPopupMenu::Popup(int X, int Y) {
    if (TNotifyEvent h = OnPopup) h(this);
    UpdateItemActions(FItems);
    std::vector<TMenuItem*> ids;
    HMENU menu = BuildMenu(FItems, ids);
    TFreeWatch watch;
    for (TMenuItem* item : ids) watch.Watch(item);
    HWND owner = Application->Handle();
    SetForegroundWindow(owner);
    const UINT cmd = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, X, Y, owner, nullptr);
    DestroyMenu(menu);
    PostMessageW(owner, WM_NULL, 0, 0);
    if (cmd > 0 && cmd <= ids.size() && !watch.Gone(ids[cmd - 1])) ids[cmd - 1]->Click();
}

bool TPopupMenu::IsShortCut(TShortCut shortCut) {
    if (!shortCut) return false;
    auto find = [shortCut](auto& self, TMenuItem* parent) -> TMenuItem* {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            if (!item->Visible() || !item->Enabled()) continue;
            if (item->Count() == 0 && item->ShortCut() == shortCut) return item;
            if (TMenuItem* found = self(self, item)) return found;
        }
        return nullptr;
    };
    TMenuItem* item = find(find, FItems);
    if (!item) return false;
    item->Click();
    return true;
}
