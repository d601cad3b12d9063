#include "skin/win/skTrayIcon.h"

#include <shellapi.h>

#include "framework/win/WinUtil.h"
#include "framework/win/Application.h"
#include "framework/win/Forms.h"
#include "skin/win/SkinMenus.h"

std::wstring TrayTipText(const std::string& hint, bool showHint, size_t capacity)
{
    if (!showHint || capacity == 0)
        return {};
    std::wstring tip = Wide(hint);
    const size_t room = capacity - 1;
    if (tip.size() <= room)
        return tip;
    size_t cut = room;
    // A surrogate pair stays whole.
    if (cut > 0 && tip[cut - 1] >= 0xD800 && tip[cut - 1] <= 0xDBFF)
        --cut;
    return tip.substr(0, cut);
}

TskTrayIcon::TskTrayIcon(TComponent* AOwner) : TComponent(AOwner)
{
    FTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    FWindow = AllocateHWnd([this](TMessage& m) { WindowMessage(m); });
    // A hidden top-level window, not a message-only one: only those hear the broadcast.
    SetParent(FWindow, nullptr);
    FClickTimer = new TTimer(this);
    FClickTimer->SetEnabled(false);
    FClickTimer->SetInterval(GetDoubleClickTime());
    FClickTimer->OnTimer = [this](TObject* s) { ClickTick(s); };
    if (FIcon.Empty())
        FIcon.SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    if (FIconVisible)
        FAdded = Notify(NIM_ADD);
}

TskTrayIcon::~TskTrayIcon()
{
    if (FAdded)
        Notify(NIM_DELETE);
    if (FWindow)
        DeallocateHWnd(FWindow);
}

void TskTrayIcon::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == PopupMenu)
        PopupMenu = nullptr;
}

bool TskTrayIcon::Notify(DWORD action)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = FWindow;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = FIcon.Handle();
    const std::wstring tip = TrayTipText(FHint, FShowHint, std::size(data.szTip));
    tip.copy(data.szTip, tip.size());
    return Shell_NotifyIconW(action, &data) != FALSE;
}

void TskTrayIcon::SetHint(const std::string& value)
{
    FHint = value;
    if (FAdded)
        Notify(NIM_MODIFY);
}

void TskTrayIcon::SetShowHint(bool value)
{
    FShowHint = value;
    if (FAdded)
        Notify(NIM_MODIFY);
}

void TskTrayIcon::IconChanged()
{
    if (FAdded)
        Notify(NIM_MODIFY);
}

void TskTrayIcon::SetIconVisible(bool value)
{
    FIconVisible = value;
    if (value && !FAdded)
        FAdded = Notify(NIM_ADD);
    else if (!value && FAdded) {
        Notify(NIM_DELETE);
        FAdded = false;
    }
}

void TskTrayIcon::Restore()
{
    Application->Restore();
    if (TForm* main = Application->MainForm())
        main->Show();
}

void TskTrayIcon::HideMainForm()
{
    if (TForm* main = Application->MainForm())
        main->Hide();
}

void TskTrayIcon::ClickTick(TObject*)
{
    FClickTimer->SetEnabled(false);
    if (std::exchange(FClickPending, false) && OnClick)
        OnClick(this);
}

void TskTrayIcon::Callback(UINT mouse)
{
    if (!Enabled)
        return;
    POINT p{};
    GetCursorPos(&p);
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    switch (mouse) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, shift, p.x, p.y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (OnMouseDown) OnMouseDown(this, mouse == WM_LBUTTONDOWN ? mbLeft : mbRight, shift, p.x, p.y);
        if (PopupMenu && PopupMenu->AutoPopup() && (mouse == WM_RBUTTONDOWN || PopupByLeftButton)) {
            if (TForm* main = Application->MainForm(); main && main->HandleAllocated())
                SetForegroundWindow(main->Handle());
            PopupMenu->Popup(p.x, p.y);
        }
        break;
    case WM_LBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbLeft, shift, p.x, p.y);
        FClickPending = true;
        FClickTimer->SetEnabled(false);
        FClickTimer->SetEnabled(true);
        break;
    case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(this, mbRight, shift, p.x, p.y);
        break;
    case WM_LBUTTONDBLCLK:
        FClickPending = false;
        FClickTimer->SetEnabled(false);
        if (OnDblClick) OnDblClick(this);
        if (PopupMenu)
            for (int i = 0; i < PopupMenu->Items()->Count(); ++i)
                if (TMenuItem* item = PopupMenu->Items()->Items(i); item->Default()) {
                    item->Click();
                    break;
                }
        break;
    default:
        break;
    }
}

void TskTrayIcon::WindowMessage(TMessage& m)
{
    if (m.Msg == kTrayCallbackMessage) {
        Callback(static_cast<UINT>(m.LParam));
        m.Handled = true;
    } else if (m.Msg == FTaskbarCreated && FTaskbarCreated) {
        if (FIconVisible)
            FAdded = Notify(NIM_ADD);
        m.Handled = true;
    }
}
