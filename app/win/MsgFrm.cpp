#include "app/win/MsgFrm.h"

#include <algorithm>

#include "app/core/MsgPopup.h"
#include "app/core/dbhouse.h"
#include "framework/rtl/SysUtils.h"

uint8_t MsgPopupSide = MsgSideBottomRight;
int32_t MsgPopupSeconds = 5;
const TColor MsgPopupColors[6] = {clWhite, 0x00F0E080, clWhite, 0x0080F0E0, clWhite, 0x008080F0};

namespace {

std::vector<TMsgForm*> gOpenPopups;

constexpr TColor FrameColor = 0x777777;

// 0x00RRGGBB of a colour given as $00BBGGRR.
uint32_t PlainRGB(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

}  // namespace

TRect GetWorkArea() { return Screen->WorkAreaRect(); }

const std::vector<TMsgForm*>& OpenMsgPopups() { return gOpenPopups; }

void FreeMsgPopups()
{
    while (!gOpenPopups.empty())
        delete gOpenPopups.back();   // FormDestroy takes it off the list
}

//--- TMsgForm

TMsgForm::TMsgForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("MsgForm");
    SetBorderStyle(bsDialog);
    SetCaption("日历消息提示窗体");
    SetClientSize(206, 159);
    SetColor(clWhite);
    Font().SetName("宋体");
    Font().SetHeight(-12);
    Font().SetCharset(GB2312_CHARSET);
    auto click = [this](TObject* Sender) { FormClick(Sender); };
    OnClick = click;
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };

    imgError = new TImage(this);
    imgError->SetName("imgError");
    imgError->SetParent(this);
    imgError->SetAlign(alTop);
    imgError->SetHeight(32);
    imgError->SetTransparent(true);
    imgError->Picture().Icon().SetHandle(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)));
    imgError->Picture().Changed();
    imgError->OnClick = click;

    lblMsg = new TLabel(this);
    lblMsg->SetName("lblMsg");
    lblMsg->SetParent(this);
    lblMsg->SetAutoSize(false);
    lblMsg->SetBounds(0, 32, 206, 123);
    lblMsg->SetWordWrap(true);
    lblMsg->SetTransparent(true);
    lblMsg->SetShowAccelChar(false);
    lblMsg->Font().SetName("宋体");
    lblMsg->Font().SetHeight(-12);
    lblMsg->Font().SetCharset(GB2312_CHARSET);
    lblMsg->Font().SetColor(clRed);
    lblMsg->OnClick = click;

    lblIcon = new TLabel(this);
    lblIcon->SetName("lblIcon");
    lblIcon->SetParent(this);
    lblIcon->SetLeft(56);
    lblIcon->SetTop(21);
    lblIcon->SetTransparent(true);
    lblIcon->Font().SetName("华文中宋");
    lblIcon->Font().SetHeight(-14);
    lblIcon->Font().SetCharset(GB2312_CHARSET);
    lblIcon->SetAutoSize(true);
    lblIcon->OnClick = click;

    cb1 = new TCheckBox(this);
    cb1->SetName("cb1");
    cb1->SetParent(this);
    cb1->SetBounds(40, 8, 161, 17);
    cb1->SetCaption("我知道了，下次不再提示");
    cb1->SetColor(clWhite);
    cb1->SetVisible(false);
    cb1->OnClick = [this](TObject* Sender) { cb1Click(Sender); };

    // The festival row the check box confirms, shown; read-only, so that no typed number
    // can confirm another row.
    editiid = new TEdit(this);
    editiid->SetName("editiid");
    editiid->SetParent(this);
    editiid->SetBounds(128, 6, 65, 20);
    editiid->SetText("0");
    editiid->SetReadOnly(true);
}

TMsgForm::~TMsgForm()
{
    BeforeDestruction();
}

void TMsgForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style |= WS_BORDER;
    Params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
}

void TMsgForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        Message.Handled = true;
        return;
    case WM_PRINTCLIENT:
        PaintBackground(reinterpret_cast<HDC>(Message.WParam));
        PaintWindow(reinterpret_cast<HDC>(Message.WParam));
        Message.Handled = true;
        return;
    default:
        TForm::WndProc(Message);
    }
}

void TMsgForm::PaintBackground(HDC dc)
{
    if (!FBackBitmap || FBackBitmap->Empty())
        return;
    BitBlt(dc, 0, 0, ClientWidth(), ClientHeight(), FBackBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TMsgForm::FormCreate(TObject*)
{
    SetLeft(-300);
    SetTop(Screen->Height() + 300);
    gOpenPopups.push_back(this);
    FBackBitmap = new TBitmap;
    FBackBitmap->SetPixelFormat(pf24bit);
    auto timer = [this](const char* name, uint32_t interval, void (TMsgForm::*handler)(TObject*)) {
        TTimer* t = new TTimer(this);
        t->SetName(name);
        t->SetEnabled(false);
        t->SetInterval(interval);
        t->OnTimer = [this, handler](TObject* Sender) { (this->*handler)(Sender); };
        return t;
    };
    tmFadeIn = timer("tmFadeIn", 15, &TMsgForm::tmFadeInTimer);
    tmFadeOut = timer("tmFadeOut", 15, &TMsgForm::tmFadeOutTimer);
    tmDelay = timer("tmDelay", 5000, &TMsgForm::tmDelayTimer);
    tmFadeIn->SetEnabled(true);
}

void TMsgForm::MsgFormSetText(const std::string& Text)
{
    FText = Text;
    lblMsg->SetCaption(Text);
}

void TMsgForm::MsgFormSetKind(uint8_t Kind)
{
    FKind = Kind;
    int pair = 0;
    if (Kind == 0) {
        imgError->SetVisible(true);
        lblIcon->SetCaption("错误");
        pair = 2;
    } else if (Kind == 2) {
        lblIcon->SetCaption("警告");
        pair = 1;
    }
    FColorFrom = PlainRGB(MsgPopupColors[pair * 2]);
    FColorTo = PlainRGB(MsgPopupColors[pair * 2 + 1]);
}

// The window only ever grows: by as much as the text needs beyond the label's height,
// but never past the height of the work area.
void TMsgForm::MsgFormMeasureText()
{
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(lblMsg->Font());
    TRect r = Rect(0, 0, lblMsg->Width(), 0);
    measure.Canvas().DrawText(FText, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int d = std::min(r.Height() - lblMsg->Height(), GetWorkArea().Height() - Height());
    if (d > 0) {
        lblMsg->SetHeight(lblMsg->Height() + d);
        SetHeight(Height() + d);
    }
}

// Shown without taking the focus, above the windows that are not topmost, not itself topmost.
void TMsgForm::ShowNoActivate()
{
    HWND h = Handle();
    FVisible = true;
    ShowWindow(h, SW_SHOWNOACTIVATE);
    SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TMsgForm::FormShow(TObject*)
{
    const TPoint start = MsgPopupStart(FSide, GetWorkArea(), Width(), Height());
    SetBounds(start.X, start.Y, Width(), Height());
    tmDelay->SetInterval(MsgPopupRestInterval(MsgPopupSeconds));
    MsgFormFillGradient();
}

void TMsgForm::MsgFormFillGradient()
{
    if (FPainting)
        return;
    FPainting = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FPainting};
    const int w = std::max(ClientWidth(), 1), h = std::max(ClientHeight(), 1);
    FBackBitmap->SetSize(w, h);
    MsgPopupGradientRow(FColorFrom, FColorTo, w, FBackBitmap->ScanLine(0));
    for (int y = 1; y < h; ++y)
        std::copy_n(FBackBitmap->ScanLine(0), w, FBackBitmap->ScanLine(y));
    TRect frame = Rect(0, 0, Width(), Height());
    FBackBitmap->Canvas().Frame3D(frame, FrameColor, FrameColor, 1);
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TMsgForm::tmFadeInTimer(TObject*)
{
    ++FStep;
    FSpeed = MsgPopupSpeed(FStep);
    const TRect work = GetWorkArea();
    const TPoint pos{Left(), Top()};
    if (MsgPopupResting(FSide, work, pos, Width(), Height())) {
        tmFadeIn->SetEnabled(false);
        tmDelay->SetEnabled(true);
        return;
    }
    const TPoint next = MsgPopupSlideIn(FSide, work, pos, Width(), Height(), FSpeed);
    SetBounds(next.X, next.Y, Width(), Height());
}

void TMsgForm::tmDelayTimer(TObject*)
{
    tmFadeIn->SetEnabled(false);
    tmDelay->SetEnabled(false);
    tmFadeOut->SetEnabled(true);
}

void TMsgForm::tmFadeOutTimer(TObject*)
{
    if (FStep > 0)
        --FStep;
    FSpeed = MsgPopupSpeed(FStep);
    const TPoint next = MsgPopupSlideOut(FSide, {Left(), Top()}, FSpeed);
    SetBounds(next.X, next.Y, Width(), Height());
    if (MsgPopupGone(FSide, GetWorkArea(), next, Width(), Height())) {
        tmFadeOut->SetEnabled(false);
        Close();
    }
}

void TMsgForm::FormClick(TObject* Sender) { tmDelayTimer(Sender); }

// Marks the festival row as confirmed; a failing update is not reported.
void TMsgForm::cb1Click(TObject* Sender)
{
    if (!cb1->Checked())
        return;
    int iid;
    if (dbhouse && TryStrToInt(editiid->Text(), iid) && iid > 0) {
        try {
            TADOQuery& q = *dbhouse->qjr;
            q.Close();
            q.SQL.Clear();
            q.SQL.Add("update sz_jrb set qrbz= :qrbz where iid= :iid ");
            q.Parameters.ParamByName("qrbz").Value = "1";
            q.Parameters.ParamByName("iid").Value = iid;
            q.ExecSQL();
        } catch (const std::exception&) {
        }
    }
    tmDelayTimer(Sender);
}

void TMsgForm::FormClose(TObject*, TCloseAction& Action)
{
    for (TTimer* t : {tmFadeIn, tmFadeOut, tmDelay})
        if (t)
            t->SetEnabled(false);
    Action = caFree;
}

void TMsgForm::FormDestroy(TObject*)
{
    delete FBackBitmap;
    FBackBitmap = nullptr;
    gOpenPopups.erase(std::remove(gOpenPopups.begin(), gOpenPopups.end(), this), gOpenPopups.end());
}

//--- ShowMsgPopup

TMsgForm* ShowMsgPopup(const std::string& Text, uint8_t Kind, int32_t FestivalIid)
{
    TMsgForm* form = NewForm<TMsgForm>(nullptr);
    const bool festival = FestivalIid > 0;
    form->cb1->SetVisible(festival);
    form->editiid->SetText(festival ? IntToStr(FestivalIid) : "0");
    form->MsgFormSetText(Text);
    form->MsgFormSetKind(Kind);
    form->MsgFormSetSide(MsgPopupSide);
    form->MsgFormMeasureText();
    form->ShowNoActivate();
    form->FormShow(form);
    return form;
}
