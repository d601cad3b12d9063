#pragma once
// The standard controls: TLabel (windowless text), TEdit and TMemo over the system EDIT,
// TButton over BUTTON (Default/Cancel answer Enter/Escape, ModalResult ends a modal
// form), TCheckBox and TRadioButton (OnClick also when Checked is set from code; radio
// buttons are grouped by parent), TComboBox (OnChange only for the user's changes) and
// TGroupBox. TSystemControl is their common base: colours and font of a subclassed
// system window. Text is UTF-8 and reaches the windows through the W functions.

#include <string>
#include <string_view>

#include "framework/rtl/Classes.h"
#include "framework/win/Forms.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TComboBoxStyle { csDropDown, csDropDownList };

// True when `caption` marks `key` (a letter or digit) as its accelerator with '&'.
bool IsAccel(WPARAM key, std::string_view caption);

// True when the window is a push button of any kind (its WM_GETDLGCODE says so): a focused
// one takes Enter itself, before the form's default button.
bool IsPushButtonWindow(HWND window);

// A subclassed system window: answers CN_CTLCOLOR with its Font colour on its Color,
// and passes font changes on to the window (WM_SETFONT).
class TSystemControl : public TWinControl {
public:
    explicit TSystemControl(TComponent* AOwner);

protected:
    void WndProc(TMessage& Message) override;
    void FontChanged() override;
    void CreateWnd() override;

private:
    GdiObject<HBRUSH> FBrush;
    TColor FBrushColor = clNone;
    GdiObject<HFONT> FFont;   // our own copy: TFont drops its handle right after OnChange
};

// A string list whose changes reach a control (TComboBox Items, TMemo Lines).
class TControlStrings {
public:
    virtual ~TControlStrings() = default;
    int Count() const { Fetch(); return FList.Count(); }
    const std::string& operator[](int index) const { Fetch(); return FList[index]; }
    int Add(std::string s);
    void Insert(int index, std::string s);
    void Delete(int index);
    void Clear();
    int IndexOf(std::string_view s) const { Fetch(); return FList.IndexOf(s); }
    std::string Text() const { Fetch(); return FList.Text(); }
    void SetText(std::string_view text);
    void Assign(const TStringList& list);
    const TStringList& List() const { Fetch(); return FList; }

protected:
    virtual void Fetch() const {}   // reads the window's current state into FList
    virtual void Inserted(int index) { (void)index; Changed(); }
    virtual void Deleted(int index) { (void)index; Changed(); }
    virtual void Cleared() { Changed(); }
    virtual void Changed() {}
    mutable TStringList FList;
};

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    UINT TextFlags() const;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
};

// Common part of TEdit and TMemo. OnChange fires for the user's edits and when the text
// is set from code (not while the form is loading).
class TCustomEdit : public TSystemControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    const std::string& Text() const { return FText; }
    void SetText(const std::string& value) override;
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);   // characters; 0 = no limit
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    void SelectAll();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void TextChanged() override;
    void Ctl3DChanged() override;   // Ctl3D false gives the flat look: a one-pixel border, not the sunken edge
    virtual void Change();

private:
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FSettingText = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

class TMemo;
class TMemoLines : public TControlStrings {
public:
    explicit TMemoLines(TMemo& memo) : FMemo(memo) {}

protected:
    void Fetch() const override;
    void Changed() override;

private:
    TMemo& FMemo;
};

// Lines are the memo's text split at line breaks; Text joins them with CR LF.
class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* AOwner);

    TMemoLines& Lines() { return FLines; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    TMemoLines FLines{*this};
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantReturns = true;
};

// A push button. Click (from the user, from Enter/Escape as Default/Cancel button, from
// its accelerator or from code) first hands ModalResult to the parent form, then fires OnClick.
class TButton : public TSystemControl {
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = 0;
};

class TCheckBox : public TSystemControl {
public:
    explicit TCheckBox(TComponent* AOwner);

    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool value);   // a change fires OnClick (not while loading)

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    virtual void Toggle() { SetChecked(!FChecked); }

    bool FChecked = false;
};

// Checking one unchecks the other radio buttons of the same parent (they fire nothing).
class TRadioButton : public TCheckBox {
public:
    explicit TRadioButton(TComponent* AOwner);
    void SetChecked(bool value) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Toggle() override { SetChecked(true); }
};

class TComboBox;
class TComboBoxItems : public TControlStrings {
public:
    explicit TComboBoxItems(TComboBox& combo) : FCombo(combo) {}

protected:
    void Inserted(int index) override;
    void Deleted(int index) override;
    void Cleared() override;

private:
    TComboBox& FCombo;
};

// csDropDown (editable) or csDropDownList. Setting ItemIndex or Text from code fires
// nothing; OnChange comes from the user's typing or choosing. OnKeyPress sees the keys
// typed into the edit part too.
class TComboBox : public TSystemControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    TComboBoxItems& Items() { return FItems; }
    int ItemIndex() const;
    void SetItemIndex(int value);   // -1 clears the choice; out of range raises EListError
    std::string Text() const;
    void SetText(const std::string& value) override;   // a list box selects the equal item
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    TNotifyEvent OnChange;

protected:
    friend class TComboBoxItems;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;
    virtual void Change();

private:
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void ApplyDropDownHeight();

    TComboBoxItems FItems{*this};
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    HWND FEditHandle = nullptr;
};

// A captioned frame around other controls, painted by itself.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }
};
