#include "framework/win/StdCtrls.h"

#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "framework/win/WinUtil.h"

bool IsPushButtonWindow(HWND window) {
    if (!window) return false;
    if (dynamic_cast<TButton*>(TWinControl::FromHandle(window))) return true;
    return (SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool IsAccel(WPARAM key, std::string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {   // "&&" is a literal ampersand
            ++i;
            continue;
        }
        char c = caption[i + 1];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        return WPARAM(static_cast<unsigned char>(c)) == key;
    }
    return false;
}

//--- TSystemControl

TSystemControl::TSystemControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TSystemControl::WndProc(TMessage& m) {
    if (m.Msg == CN_CTLCOLOR) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        if (!FBrush || FBrushColor != Color()) {
            FBrush.Reset(CreateSolidBrush(ColorToRGB(Color())));
            FBrushColor = Color();
        }
        m.Result = reinterpret_cast<LRESULT>(FBrush.Get());
        m.Handled = true;
        return;
    }
    TWinControl::WndProc(m);
}

void TSystemControl::FontChanged() {
    LOGFONTW lf = Font().LogFont();
    GdiObject<HFONT> font(CreateFontIndirectW(&lf));
    if (HandleAllocated()) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    FFont = std::move(font);
    Invalidate();
}

void TSystemControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (FFont) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
}

//--- TControlStrings

int TControlStrings::Add(std::string s) {
    Fetch();
    int index = FList.Add(std::move(s));
    Inserted(index);
    return index;
}

void TControlStrings::Insert(int index, std::string s) {
    Fetch();
    FList.Insert(index, std::move(s));
    Inserted(index);
}

void TControlStrings::Delete(int index) {
    Fetch();
    FList.Delete(index);
    Deleted(index);
}

void TControlStrings::Clear() {
    FList.Clear();
    Cleared();
}

void TControlStrings::SetText(std::string_view text) {
    TStringList list;
    list.SetText(text);
    Assign(list);
}

void TControlStrings::Assign(const TStringList& list) {
    TStringList copy = list;   // list may be our own
    Clear();
    for (const std::string& s : copy) Add(s);
}

//--- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    TControl::SetBounds(0, 0, 65, 13);
    SetAutoSize(true);
}

UINT TLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    else if (FAlignment == taCenter) flags |= DT_CENTER;
    return flags;
}

// An empty caption still takes the height of one line.
bool TLabel::CanAutoSize(int& NewWidth, int& NewHeight) {
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(Font());
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    measure.Canvas().DrawText(Caption().empty() ? " " : Caption(), r, TextFlags() | DT_CALCRECT);
    if (!FWordWrap) NewWidth = r.Width();
    NewHeight = r.Height();
    return true;
}

void TLabel::Paint() {
    TRect r = ClientRect();
    TCanvas& canvas = Canvas();
    if (!FTransparent) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    if (FLayout != tlTop) {
        TRect calc = r;
        canvas.DrawText(Caption(), calc, TextFlags() | DT_CALCRECT);
        const int spare = r.Height() - calc.Height();
        r.Top += FLayout == tlBottom ? spare : spare / 2;
    }
    canvas.DrawText(Caption(), r, TextFlags());
}

void TLabel::TextChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::FontChanged() {
    AdjustSize();
    Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
    FAlignment = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    FLayout = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    FShowAccelChar = value;
    AdjustSize();
    Invalidate();
}

//--- TCustomEdit, TEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TSystemControl(AOwner) {
    SetColor(clWindow);
    FTabStop = true;
    TControl::SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = L"EDIT";
    p.Style |= WS_TABSTOP;
    if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
    else p.Style |= WS_BORDER;
    if (FReadOnly) p.Style |= ES_READONLY;
}

void TCustomEdit::CreateWnd() {
    TSystemControl::CreateWnd();
    if (FMaxLength > 0) SendMessageW(FHandle, EM_LIMITTEXT, FMaxLength, 0);
}

void TCustomEdit::SetText(const std::string& value) {
    if (value == FText) return;
    const bool saved = std::exchange(FSettingText, true);
    try {
        TSystemControl::SetText(value);
    } catch (...) {
        FSettingText = saved;
        throw;
    }
    FSettingText = saved;
}

void TCustomEdit::TextChanged() {
    if (!Loading()) Change();
}

void TCustomEdit::Change() {
    if (TNotifyEvent h = OnChange) h(this);
}

void TCustomEdit::SetMaxLength(int value) {
    FMaxLength = value;
    if (HandleAllocated()) SendMessageW(FHandle, EM_LIMITTEXT, value, 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageW(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomEdit::Ctl3DChanged() { RecreateWnd(); }

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageW(FHandle, EM_SETSEL, 0, -1);
}

// The user's edits come back as EN_CHANGE; text set from code fires OnChange through
// TextChanged instead (its EN_CHANGE, sent by some systems, is ignored).
void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!FSettingText) {
            FText = HwndText(FHandle);
            Change();
        }
        m.Handled = true;
        return;
    }
    TSystemControl::WndProc(m);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TEdit::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
}

//--- TMemo

void TMemoLines::Fetch() const { FList.SetText(FMemo.Text()); }

void TMemoLines::Changed() {
    std::string text;
    for (int i = 0; i < FList.Count(); ++i) {
        if (i) text += "\r\n";
        text += FList[i];
    }
    FMemo.SetText(text);
}

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) { TControl::SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!FWordWrap) p.Style |= ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.Style |= WS_HSCROLL;
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TMemo::WndProc(TMessage& m) {
    if (m.Msg == WM_GETDLGCODE && !FWantReturns) {
        DefaultHandler(m);
        m.Result &= ~DLGC_WANTALLKEYS;
        return;
    }
    TCustomEdit::WndProc(m);
}

//--- TButton

TButton::TButton(TComponent* AOwner) : TSystemControl(AOwner) {
    FTabStop = true;
    FClickEvents = false;
    TControl::SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = L"BUTTON";
    p.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (HandleAllocated()) SendMessageW(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (TForm* form = ParentForm(); form && form != static_cast<TControl*>(this)) form->SetModalResult(FModalResult);
    TSystemControl::Click();
}

// Enter clicks the focused button, else the Default one; Escape clicks the Cancel button.
void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        m.Handled = true;
        return;
    case CM_DIALOGKEY: {
        const bool buttonFocused = IsPushButtonWindow(GetFocus());
        if ((m.WParam == VK_RETURN && (Focused() || (FDefault && !buttonFocused))) || (m.WParam == VK_ESCAPE && FCancel)) {
            Click();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam, Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    default:
        TSystemControl::WndProc(m);
    }
}

//--- TCheckBox, TRadioButton

TCheckBox::TCheckBox(TComponent* AOwner) : TSystemControl(AOwner) {
    FTabStop = true;
    FClickEvents = false;
    TControl::SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = L"BUTTON";
    p.Style |= WS_TABSTOP | BS_CHECKBOX;
}

void TCheckBox::CreateWnd() {
    TSystemControl::CreateWnd();
    SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Loading()) Click();
}

void TCheckBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
        m.Handled = true;
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam, Caption()) && CanFocus()) {
            SetFocus();
            Toggle();
            m.Result = 1;
        }
        m.Handled = true;
        return;
    default:
        TSystemControl::WndProc(m);
    }
}

TRadioButton::TRadioButton(TComponent* AOwner) : TCheckBox(AOwner) { TControl::SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& p) {
    TCheckBox::CreateParams(p);
    p.Style = (p.Style & ~BS_TYPEMASK) | BS_RADIOBUTTON;
}

void TRadioButton::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this && other->FChecked)
                other->SetChecked(false);
    if (!Loading()) Click();
}

//--- TComboBox

void TComboBoxItems::Inserted(int index) {
    if (FCombo.HandleAllocated())
        SendMessageW(FCombo.FHandle, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(Wide(FList[index]).c_str()));
    else if (FCombo.FItemIndex >= index)
        ++FCombo.FItemIndex;
}

void TComboBoxItems::Deleted(int index) {
    if (FCombo.HandleAllocated()) SendMessageW(FCombo.FHandle, CB_DELETESTRING, index, 0);
    else if (FCombo.FItemIndex == index) FCombo.FItemIndex = -1;
    else if (FCombo.FItemIndex > index) --FCombo.FItemIndex;
}

void TComboBoxItems::Cleared() {
    FCombo.FItemIndex = -1;
    if (FCombo.HandleAllocated()) SendMessageW(FCombo.FHandle, CB_RESETCONTENT, 0, 0);
    if (FCombo.Style() == csDropDownList) FCombo.FText.clear();
}

TComboBox::TComboBox(TComponent* AOwner) : TSystemControl(AOwner) {
    SetColor(clWindow);
    FTabStop = true;
    TControl::SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() {
    if (FEditHandle) RemoveWindowSubclass(FEditHandle, EditProc, 1);
}

namespace {
// Height of the dropped list: DropDownCount rows of the font's height.
int ListHeight(TFont& font, int rows) {
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(font);
    return rows * (measure.Canvas().TextHeight("国") + 2) + 2;
}
}  // namespace

void TComboBox::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = L"COMBOBOX";
    p.Caption.clear();
    p.Style |= WS_TABSTOP | WS_VSCROLL | (FStyle == csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    p.Height = Height() + ListHeight(Font(), FDropDownCount);
}

void TComboBox::CreateWnd() {
    TSystemControl::CreateWnd();
    for (const std::string& item : FItems.List())
        SendMessageW(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    SendMessageW(FHandle, CB_SETCURSEL, FItemIndex, 0);
    if (FStyle == csDropDown && FItemIndex < 0) SetWindowTextW(FHandle, Wide(FText).c_str());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (FStyle == csDropDown && GetComboBoxInfo(FHandle, &info) && info.hwndItem) {
        FEditHandle = info.hwndItem;
        SetWindowSubclass(FEditHandle, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
}

void TComboBox::DestroyWnd() {
    if (HandleAllocated()) {
        FItemIndex = ItemIndex();
        FText = Text();
    }
    if (FEditHandle) RemoveWindowSubclass(FEditHandle, EditProc, 1);
    FEditHandle = nullptr;
    TSystemControl::DestroyWnd();
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

int TComboBox::ItemIndex() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0)) : FItemIndex;
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= FItems.Count())
        throw EListError("List index out of bounds (" + std::to_string(value) + ")");
    FItemIndex = value;
    FText = value >= 0 ? FItems[value] : "";
    if (HandleAllocated()) SendMessageW(FHandle, CB_SETCURSEL, value, 0);
}

std::string TComboBox::Text() const {
    if (FStyle == csDropDownList) {
        int i = ItemIndex();
        return i >= 0 && i < FItems.Count() ? FItems[i] : "";
    }
    return HandleAllocated() ? HwndText(FHandle) : FText;
}

void TComboBox::SetText(const std::string& value) {
    if (FStyle == csDropDownList) {
        SetItemIndex(FItems.IndexOf(value));
        return;
    }
    FText = value;
    if (HandleAllocated()) SetWindowTextW(FHandle, Wide(value).c_str());
}

void TComboBox::SetDropDownCount(int value) {
    FDropDownCount = value;
    if (HandleAllocated())
        SetWindowPos(FHandle, nullptr, 0, 0, Width(), Height() + ListHeight(Font(), value),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TComboBox::DroppedDown() const { return HandleAllocated() && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0); }

void TComboBox::SetDroppedDown(bool value) { SendMessageW(Handle(), CB_SHOWDROPDOWN, value, 0); }

void TComboBox::Change() {
    if (TNotifyEvent h = OnChange) h(this);
}

// Focus comes and goes as CBN_SETFOCUS/CBN_KILLFOCUS: with an edit part the combo box's
// own window passes the focus on at once.
void TComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS: case WM_KILLFOCUS:
        return;
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE: {
            const int i = ItemIndex();
            FItemIndex = i;
            FText = i >= 0 ? FItems[i] : "";
            if (FStyle == csDropDown) SetWindowTextW(FHandle, Wide(FText).c_str());
            Change();
            break;
        }
        case CBN_EDITCHANGE:
            FText = HwndText(FHandle);
            Change();
            break;
        case CBN_SETFOCUS:
            if (TForm* form = ParentForm()) form->FocusChanged(this);
            FocusArrived();
            break;
        case CBN_KILLFOCUS:
            FocusLeaving(GetFocus());
            break;
        default:
            break;
        }
        m.Handled = true;
        return;
    default:
        TSystemControl::WndProc(m);
    }
}

// Keys typed into the edit part go through the combo box's WindowProc first, so that
// OnKeyDown/OnKeyPress (and the form's KeyPreview) can change or drop them.
LRESULT CALLBACK TComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref) {
    auto* combo = reinterpret_cast<TComboBox*>(ref);
    switch (msg) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: {
        TMessage m{msg, wParam, lParam};
        try {
            combo->WindowProc(m);
        } catch (...) {
            Application->HandleException(combo);
            return 0;
        }
        if (m.Handled) return m.Result;
        wParam = m.WParam;
        break;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, 1);
        combo->FEditHandle = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

//--- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) { TControl::SetBounds(0, 0, 185, 105); }

void TGroupBox::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const int textHeight = canvas.TextHeight("国");
    TRect frame = Rect(0, textHeight / 2, Width(), Height());
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.FrameRect(Rect(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom));
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FrameRect(Rect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1));
    if (Caption().empty()) return;
    canvas.Brush().SetColor(Color());
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    TRect r = Rect(8, 0, Width() - 8, textHeight);
    canvas.DrawText(Caption(), r, DT_CALCRECT | DT_SINGLELINE);
    r.Left -= 2;
    r.Right += 2;
    canvas.FillRect(r);
    r.Left += 2;
    canvas.DrawText(Caption(), r, DT_SINGLELINE);
}
