#include "app/win/TrayIcon.h"

#include <map>

#include "app/core/TrayMenus.h"
#include "framework/win/Application.h"
#include "framework/win/Menus.h"
#include "framework/win/WinUtil.h"

std::function<BOOL(DWORD, NOTIFYICONDATAW&)> ShellNotifyIcon = [](DWORD message, NOTIFYICONDATAW& data) {
    return Shell_NotifyIconW(message, &data);
};

namespace {

// The hidden window that receives the callback messages of every tray icon; icons are
// told apart by their uID, a small number (the field is 32 bits wide on x64). It is a
// top-level window, not a message-only one, so that it hears the shell's broadcast
// "TaskbarCreated" when the notification area is made anew, and adds the icons again.
class TIconManager {
public:
    TIconManager() : FWindow(AllocateHWnd([this](TMessage& m) { WndProc(m); }))
    {
        SetParent(FWindow, nullptr);
    }
    ~TIconManager() { DeallocateHWnd(FWindow); }
    HWND Window() const { return FWindow; }

    UINT Add(TTrayNotifyIcon* icon)
    {
        const UINT id = ++FLastId;
        FIcons[id] = icon;
        return id;
    }
    void Remove(UINT id) { FIcons.erase(id); }
    bool Empty() const { return FIcons.empty(); }

private:
    void WndProc(TMessage& m)
    {
        static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
        if (m.Msg == taskbarCreated && taskbarCreated) {
            for (auto& [id, icon] : FIcons)
                icon->ShellRestarted();
            m.Handled = true;
            return;
        }
        if (m.Msg != TrayNotifyIconMessage())
            return;
        auto it = FIcons.find(UINT(m.WParam));
        if (it != FIcons.end())
            it->second->TrayMessage(UINT(m.LParam));
        m.Handled = true;
    }

    HWND FWindow;
    std::map<UINT, TTrayNotifyIcon*> FIcons;
    UINT FLastId = 0;
};

TIconManager* Manager = nullptr;

}  // namespace

UINT TrayNotifyIconMessage()
{
    static const UINT message = RegisterWindowMessageW(L"DOV.TrayNotifyIconMsg");
    return message;
}

HWND TrayIconManagerWindow() { return Manager ? Manager->Window() : nullptr; }

TTrayNotifyIcon::TTrayNotifyIcon(TComponent* AOwner) : TComponent(AOwner)
{
    if (!Manager)
        Manager = new TIconManager;
    FId = Manager->Add(this);
    FClickTimer = new TTimer(this);
    FClickTimer->SetEnabled(false);
    FClickTimer->SetInterval(GetDoubleClickTime());
    FClickTimer->OnTimer = [this](TObject* Sender) { ClickCheck(Sender); };
    LoadDefaultIcon();
}

TTrayNotifyIcon::~TTrayNotifyIcon()
{
    if (FIconVisible)
        Notify(NIM_DELETE, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    SetPopupMenu(nullptr);
    Manager->Remove(FId);
    if (Manager->Empty()) {
        delete Manager;
        Manager = nullptr;
    }
}

void TTrayNotifyIcon::LoadDefaultIcon() { FDefaultIcon = LoadIconW(nullptr, IDI_WINLOGO); }

void TTrayNotifyIcon::Loaded()
{
    TComponent::Loaded();
    if (FIconVisible)
        Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TTrayNotifyIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

NOTIFYICONDATAW TTrayNotifyIcon::NotifyData(UINT flags) const
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = TrayIconManagerWindow();
    data.uID = FId;
    data.uFlags = flags;
    data.uCallbackMessage = TrayNotifyIconMessage();
    data.hIcon = FIcon.Empty() ? FDefaultIcon : FIcon.Handle();
    const std::wstring tip = Wide(TrayTipText(FHint, std::size(data.szTip) - 1));
    tip.copy(data.szTip, tip.size());
    return data;
}

void TTrayNotifyIcon::Notify(DWORD message, UINT flags)
{
    NOTIFYICONDATAW data = NotifyData(flags);
    ShellNotifyIcon(message, data);
}

void TTrayNotifyIcon::SetIconVisible(bool value)
{
    if (value == FIconVisible)
        return;
    FIconVisible = value;
    if (!Loading())
        Notify(value ? NIM_ADD : NIM_DELETE, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TTrayNotifyIcon::ShellRestarted()
{
    if (FIconVisible && !Loading())
        Notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void TTrayNotifyIcon::SetHint(const std::string& value)
{
    if (value == FHint)
        return;
    FHint = value;
    if (FIconVisible && !Loading())
        Notify(NIM_MODIFY, NIF_TIP);
}

void TTrayNotifyIcon::SetIcon(const TIcon& value)
{
    FIcon.Assign(value);
    if (FIconVisible && !Loading())
        Notify(NIM_MODIFY, NIF_ICON);
}

void TTrayNotifyIcon::SetHideTask(bool value)
{
    if (value == FHideTask)
        return;
    FHideTask = value;
    if (HWND app = Application ? Application->Handle() : nullptr)
        ShowWindow(app, value ? SW_HIDE : SW_SHOWNORMAL);
}

void TTrayNotifyIcon::SetPopupMenu(TPopupMenu* value)
{
    if (value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (value)
        value->FreeNotification(this);
}

void TTrayNotifyIcon::TrayMessage(UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        FClickTimer->SetEnabled(true);
        break;
    case WM_LBUTTONDBLCLK:
        FDoubleClicked = true;
        if (onDblClick)
            onDblClick(this);
        break;
    case WM_RBUTTONDOWN:
        if (FPopupMenu) {
            HWND manager = TrayIconManagerWindow();
            SetForegroundWindow(manager);
            POINT p{};
            GetCursorPos(&p);
            FPopupMenu->SetPopupComponent(this);
            FPopupMenu->Popup(p.x, p.y);
            PostMessageW(manager, WM_USER, 0, 0);
        }
        break;
    default:
        break;
    }
}

void TTrayNotifyIcon::ClickCheck(TObject*)
{
    FClickTimer->SetEnabled(false);
    if (!FDoubleClicked && OnClick)
        OnClick(this);
    FDoubleClicked = false;
}
