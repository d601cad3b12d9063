#pragma once
// TApplication (global `Application`): the hidden owner window that carries the title
// and keeps forms off the taskbar, CreateForm (the first form made is the main form),
// the message loop (filters, hints, dialog keys, then dispatch; action updates when the
// queue empties), deferred Terminate, deferred deletes, the swappable hint window class,
// and HandleException, which every Win32 callback of the framework calls from its catch
// block (EAbort stays silent).

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/base/Timer.h"
#include "framework/win/Forms.h"

// The pop-up that shows a control's Hint; a skin replaces it through SetHintWindowClass.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    virtual void ActivateHint(const TRect& screenRect, const std::string& hint);
    void ReleaseHandle() { if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
};
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;

// What OnShowHint may change before a control's hint shows.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;         // screen
    TPoint HintPos;           // screen position of the hint's top-left
    int HintMaxWidth = 0;     // longer lines wrap
    uint32_t HideTimeout = 0; // ms until the hint goes
};
// Runs before a hint shows: may change the text and the placement, or refuse (CanShow false).
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

using TMessageFilter = std::function<bool(MSG& msg)>;   // true: the message is used up
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    HWND Handle();   // the hidden owner window, made on first use
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    TForm* MainForm() const { return FMainForm; }
    bool ShowMainForm = true;

    template <class T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        if (!FMainForm) FMainForm = form;
        form->AfterConstruction();
    }

    void Run();
    void Terminate();   // the loop ends when it next runs
    // Minimize hides every visible form at once (the forms have no taskbar buttons to
    // shrink to); Restore shows them again. Each fires its event.
    void Minimize();
    void Restore();
    bool Minimized() const { return FMinimized; }
    TNotifyEvent OnMinimize, OnRestore;
    bool Terminated() const { return FTerminated; }
    void ProcessMessages();
    void HandleMessage();   // one message, or idles and waits for one
    // The work done whenever the message queue has emptied: the actions are updated.
    void Idle();

    // Hints: a control's Hint shows HintPause ms after the mouse comes to rest on it (or
    // HintShortPause ms when another hint was showing) and goes after HintHidePause ms or
    // when the mouse leaves the control. The timing runs on TTimer, so on the installed
    // TimerService. Switching ShowHint off frees the hint window (the next one comes from
    // the current hint window class).
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    void SetHintWindowClass(THintWindowClass factory);
    const THintWindowClass& HintWindowClass() const { return FHintClass; }
    // A hint window of the current class, for controls that show hints of their own (the
    // caller owns it unless `owner` does).
    THintWindow* CreateHintWindow(TComponent* owner) { return FHintClass(owner); }
    TShowHintEvent OnShowHint;
    void CancelHint();
    THintWindow* HintWindow() const { return FHintWindow.get(); }   // nullptr until a hint showed
    uint32_t HintPause = 500, HintShortPause = 50, HintHidePause = 2500;

    int AddMessageFilter(TMessageFilter filter);
    void RemoveMessageFilter(int id);

    // Reports the exception being handled: call only inside a catch block.
    void HandleException(TObject* Sender) noexcept;
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    // Deletes the component after the current message (a form closed with caFree, an
    // object freeing itself from its own event).
    void DeferDelete(TComponent* component);
    void FormDestroyed(TForm* form);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ProcessMessage(MSG& msg);
    bool IsHintMsg(const MSG& msg);
    bool IsDialogKey(const MSG& msg);
    void HintTimer(TObject* Sender);
    void StartHintTimer(uint32_t interval);
    void DeleteDeferred();
    static LRESULT CALLBACK AppWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    std::string FTitle;
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FShowHint = false;
    std::map<int, TMessageFilter> FFilters;
    int FNextFilter = 1;
    std::vector<TComponent*> FDeferred;
    bool FMinimized = false;
    std::vector<HWND> FMinimizedForms;   // hidden by Minimize
    THintWindowClass FHintClass;
    std::unique_ptr<THintWindow> FHintWindow;
    TControl* FHintControl = nullptr;   // the control under the mouse that has a hint
    TTimer* FHintTimer = nullptr;
    bool FHintShown = false;            // FHintControl's hint is on screen
};

extern TApplication* Application;

// The form `global` refers to, made and owned by the application when first asked for:
// windows seldom opened cost nothing at rest.
template <class T>
T* MadeOnFirstUse(T*& global)
{
    if (!global)
        global = NewForm<T>(Application);
    return global;
}

// A hidden message-only window whose messages go to `method` (the default window procedure
// runs unless it sets Handled), for objects that need a window of their own, such as a
// tray icon's callback messages. Exceptions go to Application->HandleException.
// DeallocateHWnd may be called from inside the window's own message.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND window);
