#pragma once
// TskTrayIcon: an icon in the notification area with a tip, mouse events, a click told
// apart from a double click by the system's double-click time, a skinned popup menu, and
// minimizing the application to the tray. It adds its icon again when the task bar is
// made anew ("TaskbarCreated").

#include <functional>
#include <string>

#include "framework/base/Timer.h"
#include "framework/win/Controls.h"
#include "framework/win/Icon.h"

class TskSkinPopupMenu;

constexpr UINT kTrayCallbackMessage = 2048;

// The tip as the structure holds it: text cut to fit capacity UTF-16 units with the
// terminating zero, never inside a character.
std::wstring TrayTipText(const std::string& hint, bool showHint, size_t capacity);

class TskTrayIcon : public TComponent {
public:
    using TCycleEvent = std::function<void(TObject* Sender, int NextIndex)>;

    explicit TskTrayIcon(TComponent* AOwner);
    ~TskTrayIcon() override;

    bool Enabled = true;
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    bool MinimizeToTray = false;
    TskSkinPopupMenu* PopupMenu = nullptr;
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    TIcon& Icon() { return FIcon; }
    void IconChanged();   // after changing Icon
    bool Added() const { return FAdded; }

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;
    std::function<void()> OnRestore;   // the skinned form's restore from the tray

    // Restores the application and the main form, or hides both.
    void Restore();
    void HideMainForm();

    // The callback message of the icon (for tests: as the shell would send it).
    void Callback(UINT mouseMessage);
    // The hidden window the shell talks to (the icon's hWnd).
    HWND Window() const { return FWindow; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool Notify(DWORD action);
    void WindowMessage(TMessage& m);
    void ClickTick(TObject* Sender);

    HWND FWindow = nullptr;
    UINT FTaskbarCreated = 0;
    std::string FHint;
    bool FShowHint = true;
    bool FIconVisible = true;
    bool FAdded = false;
    TIcon FIcon;
    TTimer* FClickTimer = nullptr;
    bool FClickPending = false;
};
