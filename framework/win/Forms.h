#pragma once
// TForm: a top-level window owned by the application's hidden window (so no taskbar
// button), with border style and icons, stay-on-top, position, layered alpha blending,
// key preview, menu shortcuts, Show/Hide/Close (OnCloseQuery and OnClose run even on a
// hidden form) and ShowModal. Forms are made with NewForm<T>(owner) or Application->CreateForm: the
// constructor builds the layout while the form is loading, then AfterConstruction ends
// the loading (Loaded), lists the form in Screen and fires OnCreate. TScreen lists the
// constructed forms in the order their construction ended. At the end of the session the
// main form's OnCloseQuery answers WM_QUERYENDSESSION and its OnClose runs on WM_ENDSESSION.

#include <map>
#include <vector>

#include "framework/win/Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter, poDesktopCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(WORD Key, TShiftState Shift, bool& Handled)>;

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // Ends the loading state and fires OnCreate (an exception there is reported, not thrown).
    void AfterConstruction();
    // Fires OnDestroy while the derived form and its components are still whole; the
    // application calls it before freeing its forms, the destructor if nobody did.
    void BeforeDestruction();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    bool Active() const;

    void SetVisible(bool value) override;
    void Show();   // makes visible and brings to front
    void Close();
    bool CloseQuery();
    int ShowModal();
    bool Modal() const { return FModal; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    void Release();   // frees the form once the current message is done

    // Keys for the whole form before the focused control sees them: Tab and Shift+Tab move
    // the focus, Enter and Escape go to the Default and Cancel buttons (CM_DIALOGKEY),
    // Alt+letter to the control with that accelerator (CM_DIALOGCHAR), and Escape ends a
    // modal form with mrCancel; true when the key was used. Called by the message loop.
    virtual bool DialogKey(WORD Key, TShiftState Shift);
    // Menu shortcuts, asked first by DialogKey: OnShortCut, then the PopupMenu of the
    // focused control and of each of its parents up to the form; true when one was used.
    bool IsShortCut(WORD Key, TShiftState Shift);

    // The control that has (or gets, when the form next takes the focus) the focus.
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    void FocusChanged(TWinControl* control);   // records the focused control (no focus change)
    // Focuses the next (or previous) TabStop control after `current`, wrapping around.
    void SelectNext(TWinControl* current, bool forward = true);

    TNotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplyPosition();
    void ApplyAlpha();
    void EndSession();
    void RestyleIfCreated();
    bool FocusDialogKey(WORD Key, TShiftState Shift);
    std::vector<TWinControl*> TabList();
    bool BroadcastDialog(TWinControl* parent, UINT msg, WPARAM key);

    TWinControl* FActiveControl = nullptr;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    bool FAlphaBlend = false;
    uint8_t FAlphaBlendValue = 255;
    bool FKeyPreview = false;
    bool FModal = false;
    bool FPositioned = false;
    bool FDestroyFired = false;
    TModalResult FModalResult = mrNone;
};

// Makes a form the framework way: construct, end loading, fire OnCreate.
template <class T, class... Args>
T* NewForm(TComponent* owner, Args&&... args) {
    T* form = new T(owner, std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}

class TScreen {
public:
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TForm* Forms(int index) const { return FForms.at(index); }
    TForm* ActiveForm() const { return FActiveForm; }
    // The cursor list by number: the stock cursors (crDefault and below; crNone hides the
    // cursor) and those a program adds. A number with no cursor gives the arrow. A cursor
    // set here belongs to the screen (destroyed when replaced, or removed by a null one,
    // unless another number holds it or it is a stock one); it may also take the place of
    // a stock one.
    HCURSOR Cursors(TCursor index) const;
    void SetCursors(TCursor index, HCURSOR cursor);

private:
    friend class TForm;
    std::map<TCursor, HCURSOR> FCursors;   // set by the program
    std::vector<TForm*> FForms;
    TForm* FActiveForm = nullptr;
};

extern TScreen* Screen;
