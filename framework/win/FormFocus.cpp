// TForm's focus handling: the active control, the Tab order, menu shortcuts and the
// dialog keys.
#include <algorithm>

#include "framework/win/Forms.h"
#include "framework/win/Menus.h"

// Every control on the form hears of a new focused control (CM_FOCUSCHANGED).
void TForm::FocusChanged(TWinControl* control) {
    if (control == FActiveControl || control == this) return;
    if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
    FActiveControl = control;
    if (!control) return;
    control->FreeNotification(this);
    if (!Destroying()) Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control && control->ParentForm() != this)
        throw EInvalidOperation("Control '" + control->Name() + "' is not on form '" + Name() + "'");
    FocusChanged(control);
    if (control && HandleAllocated() && IsWindowVisible(FHandle) && control->CanFocus()) ::SetFocus(control->Handle());
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
}

// The focusable controls in Tab order: each parent's children with a TabOrder by it,
// then the others in creation order; a container's controls come in its place.
std::vector<TWinControl*> TForm::TabList() {
    std::vector<TWinControl*> list;
    auto walk = [&](auto& self, TWinControl* parent) -> void {
        std::vector<std::pair<int, TWinControl*>> children;
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i)))
                children.push_back({w->TabOrder() >= 0 ? w->TabOrder() : 1000000 + i, w});
        std::stable_sort(children.begin(), children.end(), [](auto& a, auto& b) { return a.first < b.first; });
        for (auto& [order, w] : children) {
            if (!w->Visible() || !w->Enabled()) continue;
            if (w->TabStop()) list.push_back(w);
            self(self, w);
        }
    };
    walk(walk, this);
    return list;
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list = TabList();
    if (list.empty()) return;
    auto it = std::find(list.begin(), list.end(), current);
    int i = it == list.end() ? (forward ? -1 : 0) : int(it - list.begin());
    const int n = int(list.size());
    i = ((forward ? i + 1 : i - 1) % n + n) % n;
    list[i]->SetFocus();
}

bool TForm::BroadcastDialog(TWinControl* parent, UINT msg, WPARAM key) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->Perform(msg, key) != 0) return true;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && BroadcastDialog(w, msg, key)) return true;
    }
    return false;
}

// A focused control that asks for a key (WM_GETDLGCODE: a memo wants Enter, an open
// combo list wants Escape) keeps it.
bool TForm::FocusDialogKey(WORD Key, TShiftState Shift) {
    HWND focus = GetFocus();
    auto wants = [&](UINT codes) {
        if (!focus) return false;
        MSG msg{focus, WM_KEYDOWN, Key, 0, 0, {0, 0}};
        return (SendMessageW(focus, WM_GETDLGCODE, Key, reinterpret_cast<LPARAM>(&msg)) & codes) != 0;
    };
    const bool plain = !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl);
    if (Key == VK_TAB && plain) {
        if (wants(DLGC_WANTTAB) || TabList().empty()) return false;
        SelectNext(FActiveControl, !Shift.Contains(ssShift));
        return true;
    }
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && Shift.Empty())
        return !wants(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE) && BroadcastDialog(this, CM_DIALOGKEY, Key);
    if (Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')))
        return BroadcastDialog(this, CM_DIALOGCHAR, Key);
    return false;
}

bool TForm::IsShortCut(WORD Key, TShiftState Shift) {
    if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
    bool handled = false;
    if (TShortCutEvent h = OnShortCut) h(Key, Shift, handled);
    if (handled) return true;
    TControl* c = nullptr;
    for (HWND h = GetFocus(); h && !c; h = GetParent(h))
        if (TWinControl* w = FromHandle(h); w && w->ParentForm() == this) c = w;
    if (!c) c = this;
    const TShortCut shortCut = ::ShortCut(Key, Shift);
    for (; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(shortCut)) return true;
    return false;
}
