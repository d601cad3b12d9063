#pragma once
// TTrayNotifyIcon: the program's icon in the notification area with its tip, its popup
// menu on a right click, and OnClick / onDblClick on the left button. A single click is
// reported one double-click time after the press, so a double click reports only
// onDblClick. The icons' callback messages reach a hidden window (the icon manager) that
// lives while any tray icon exists and re-adds the icons when the shell restarts.

#include <functional>
#include <string>

#include "framework/base/Timer.h"
#include "framework/win/Icon.h"
#include "framework/win/WinApi.h"

#include <shellapi.h>

class TPopupMenu;

class TTrayNotifyIcon : public TComponent {
public:
    explicit TTrayNotifyIcon(TComponent* AOwner);
    ~TTrayNotifyIcon() override;

    TIcon& Icon() { return FIcon; }
    void SetIcon(const TIcon& value);   // copies the icon
    bool HideTask() const { return FHideTask; }
    void SetHideTask(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    TNotifyEvent OnClick;
    TNotifyEvent onDblClick;

    // The record given to the shell for `flags` (NIF_MESSAGE, NIF_ICON, NIF_TIP).
    NOTIFYICONDATAW NotifyData(UINT flags) const;
    UINT Id() const { return FId; }
    HICON DefaultIcon() const { return FDefaultIcon; }
    TTimer* ClickTimer() const { return FClickTimer; }

    // The callback message of this icon (lParam: the mouse message).
    void TrayMessage(UINT mouseMessage);
    // The shell's notification area was made anew ("TaskbarCreated"): a visible icon is
    // added again.
    void ShellRestarted();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void LoadDefaultIcon();

private:
    void Notify(DWORD message, UINT flags);
    void ClickCheck(TObject* Sender);

    TIcon FIcon;
    bool FHideTask = false;
    std::string FHint;
    bool FIconVisible = false;
    TPopupMenu* FPopupMenu = nullptr;
    HICON FDefaultIcon = nullptr;
    TTimer* FClickTimer = nullptr;
    bool FDoubleClicked = false;
    UINT FId = 0;
};

// The registered callback message, "DOV.TrayNotifyIconMsg".
UINT TrayNotifyIconMessage();
// The icon manager's window (made with the first tray icon); null when there is none.
HWND TrayIconManagerWindow();
// The shell's Shell_NotifyIconW; tests replace it.
extern std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)> ShellNotifyIcon;
