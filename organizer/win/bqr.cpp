#include "organizer/win/bqr.h"

#include <memory>
#include <utility>

#include "app/core/dbhouse.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Dialogs.h"
#include "organizer/win/Pickdate.h"
#include "organizer/win/FormParts.h"

TFormbqr1* Formbqr1 = nullptr;
TFormbqr2* Formbqr2 = nullptr;
TFormbqr3* Formbqr3 = nullptr;
TFormbqr4* Formbqr4 = nullptr;
TFormbqr5* Formbqr5 = nullptr;
TFormbqr6* Formbqr6 = nullptr;
TFormbqr7* Formbqr7 = nullptr;
std::array<TNoteForm*, kNoteSlots> NoteForms{};

namespace {

TMenuItem* Item(TComponent* owner, TPopupMenu* menu, const char* name, const std::string& caption,
                std::function<void(TObject*)> click)
{
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = std::move(click);
    menu->Items()->Add(item);
    return item;
}

// The 32 × 32 note picture of the title strip: a yellow sheet with a folded corner and
// ruled lines.
void DrawNotePicture(TBitmap& b)
{
    b.SetSize(32, 32);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clInfoBk);
    c.FillRect(TRect(0, 0, 32, 32));
    c.Brush().SetColor(0x66E6FF);
    c.Pen().SetColor(0x3399CC);
    c.Polygon({TPoint(4, 3), TPoint(22, 3), TPoint(28, 9), TPoint(28, 29), TPoint(4, 29)});
    c.Polyline({TPoint(22, 3), TPoint(22, 9), TPoint(28, 9)});
    c.Pen().SetColor(clRed);
    for (int y = 13; y <= 25; y += 4) {
        c.MoveTo(8, y);
        c.LineTo(25, y);
    }
}

}  // namespace

TNoteForm::TNoteForm(TComponent* AOwner, int slot) : TForm(AOwner), FTraits(NoteTraits(slot))
{
    SetName("Formbqr" + std::to_string(slot));
    SetCaption(FTraits.Caption);
    SetBorderStyle(bsNone);
    SetClientSize(FTraits.ClientWidth, FTraits.ClientHeight);
    SetColor(clWhite);
    Font().SetName("宋体");
    Font().SetSize(9);
    SetHint("便签放在桌面的上边缘或右边缘会自动缩回，鼠标移到那里便签又会出来");
    SetShowHint(true);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    N1 = Item(this, PopupMenu1, "N1", "选择文件", [this](TObject* o) { N1Click(o); });
    N2 = Item(this, PopupMenu1, "N2", "保存文件", [this](TObject* o) { N2Click(o); });
    N4 = Item(this, PopupMenu1, "N4", "标志为已读", [this](TObject* o) { N4Click(o); });
    N5 = Item(this, PopupMenu1, "N5", FTraits.ClearCaption, [this](TObject* o) { N5Click(o); });
    N3 = Item(this, PopupMenu1, "N3", "关闭", [this](TObject* o) { N3Click(o); });
    N3->SetVisible(false);
    SetPopupMenu(PopupMenu1);

    Panel2 = Make<TPanel>(this, this, "Panel2", 0, 0, FTraits.ClientWidth, 35);
    Panel2->SetAlign(alTop);
    Panel2->SetBevelOuter(bvNone);
    Panel2->SetColor(clInfoBk);
    Image1 = Make<TImage>(this, Panel2, "Image1", 2, 2, 32, 32);
    DrawNotePicture(Image1->Picture().Bitmap());
    Image1->Picture().Changed();
    Label1 = Make<TLabel>(this, Panel2, "Label1", FTraits.ClientWidth - 30, 11, 26, 14);
    Label1->SetAlignment(taRightJustify);
    Label1->SetTransparent(true);
    Label1->SetCaption("周三");
    Edit1 = Make<TEdit>(this, Panel2, "Edit1", 36, 8, 96, 20);
    Edit1->SetCtl3D(false);
    Edit1->SetColor(clInfoBk);
    Edit1->OnEnter = [this](TObject* o) { Edit1Enter(o); };
    Edit1->OnExit = [this](TObject* o) { Edit1Exit(o); };
    Edit1->OnChange = [this](TObject* o) { Edit1Change(o); };
    BitBtn1 = Make<TBitBtn>(this, Panel2, "BitBtn1", 136, 8, 20, 20);
    BitBtn1->SetCaption("...");
    BitBtn1->OnClick = [this](TObject* o) { BitBtn1Click(o); };
    ShowPickButton(false);

    Panel1 = Make<TPanel>(this, this, "Panel1", 0, 35, FTraits.ClientWidth, FTraits.ClientHeight - 35);
    Panel1->SetAlign(alClient);
    Panel1->SetBevelOuter(bvNone);
    Panel1->SetColor(clInfoBk);
    NoteMemo1 = MakeNoteMemo(this, Panel1, "NoteMemo1", 0, 0, FTraits.ClientWidth, FTraits.ClientHeight - 35);
    NoteMemo1Control = NoteMemoControl(NoteMemo1);
    NoteMemo1Control->SetAlign(alClient);
    NoteMemo1Control->SetPopupMenu(PopupMenu1);
    SetNoteMemoOnChange(NoteMemo1, [this] { NoteMemo1Change(); });
    // The key that loads the note was pressed at an empty page: it is not run as a command
    // on the text that appears (Delete or Ctrl+Y would take from it unseen); a character it
    // makes is still typed.
    NoteMemo1Control->OnKeyDown = [this](TObject*, WORD& Key, TShiftState) {
        if (FLoadFailed && RetryLoad())
            Key = 0;
    };
    NoteMemo1Control->OnKeyPress = [this](TObject*, wchar_t&) { RetryLoad(); };
    NoteMemo1Control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { RetryLoad(); };
    SetActiveControl(NoteMemo1Control);   // typing goes to the text, not to the date line

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetFilter("文本文件|*.txt|所有文件|*.*");

    Floating = new TFloatingBehaviour(this, FTraits.Key, FTraits.PosX, FTraits.PosY, TRetractTimers::OnShow);
    for (TControl* c : {static_cast<TControl*>(NoteMemo1Control), static_cast<TControl*>(Panel2),
                        static_cast<TControl*>(Image1), static_cast<TControl*>(Label1), static_cast<TControl*>(Edit1)})
        Floating->AddSurface(c);
    // The strip and the text cover the form: they show its hint.
    for (TControl* c : {static_cast<TControl*>(Panel2), static_cast<TControl*>(Image1), static_cast<TControl*>(Label1),
                        static_cast<TControl*>(Edit1), static_cast<TControl*>(Panel1),
                        static_cast<TControl*>(NoteMemo1Control)}) {
        c->SetHint(Hint());
        c->SetShowHint(true);
    }
    OnMouseMove = [this](TObject*, TShiftState Shift, int, int) { Floating->Drag(Shift); };
    OnShow = [this](TObject* o) { FormShow(o); };
    OnClose = [this](TObject* o, TCloseAction& a) { FormClose(o, a); };
    NoteForms[slot - 1] = this;
}

void FreeNoteForms()
{
    delete std::exchange(Formbqr1, nullptr);
    delete std::exchange(Formbqr2, nullptr);
    delete std::exchange(Formbqr3, nullptr);
    delete std::exchange(Formbqr4, nullptr);
    delete std::exchange(Formbqr5, nullptr);
    delete std::exchange(Formbqr6, nullptr);
    delete std::exchange(Formbqr7, nullptr);
}

TNoteForm::~TNoteForm()
{
    if (NoteForms[Slot() - 1] == this)
        NoteForms[Slot() - 1] = nullptr;
}

int TNoteForm::SelectRow()
{
    TADOQuery& q = *dbhouse->qcx;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("select * from sz_bqb where bz= :bz ");
    q.Parameters.ParamByName("bz").Value = FTraits.Key;
    q.Open();
    if (q.IsEmpty())
        throw EConvertError("no row " + std::string(FTraits.Key) + " in sz_bqb");
    return q.FieldByName("iid").AsInteger();
}

// A note that was never used has no date: it shows today. A stored path that is gone (the
// program folder moved) falls back to the note's file in this folder, so typing cannot
// overwrite a text that was never shown. A missing file leaves the editor as it is.
void TNoteForm::LoadNote()
{
    const int iid = SelectRow();
    TADOQuery& q = *dbhouse->qcx;
    TField& rq = q.FieldByName("rq");
    Edit1->SetText(NoteDateText(rq.IsNull(), rq.AsDateTime(), Date()));
    Label1->SetCaption(NoteWeekday(Edit1->Text(), Date()));
    CreateDir(NoteFolder(ExeFolder()));
    const std::string path = NoteTextFile(q.FieldByName("strpath").AsString(), ExeFolder(), iid);
    if (FileExists(path))
        NoteMemoLoadFile(NoteMemo1, path);
    q.Close();
}

// After a failed load the file may hold a text the editor never showed: it is not overwritten.
std::string TNoteForm::SaveEditorTo(int iid)
{
    if (FLoadFailed)
        throw Exception("内容没有读出，不能覆盖");
    CreateDir(NoteFolder(ExeFolder()));
    const std::string path = NoteFilePath(ExeFolder(), iid);
    NoteMemoSaveFile(NoteMemo1, path);
    return path;
}

void TNoteForm::SaveNote(bool reportAlways)
{
    if (NoteMemoText(NoteMemo1).empty())
        return;
    try {
        if (Edit1->Text().empty())
            Edit1->SetText(DateTimeToStr(Date()));
        std::string path;
        try {
            path = SaveEditorTo(SelectRow());
        } catch (...) {
            dbhouse->qcx->Close();
            throw;
        }
        dbhouse->qcx->Close();
        TADOQuery& q = *dbhouse->qup;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add("update sz_bqb set strpath= :strpath,rq= :rq,qyzt= :qyzt  where bz= :bz ");
        q.Parameters.ParamByName("strpath").Value = path;
        q.Parameters.ParamByName("rq").Value = StrToDateTime(Edit1->Text());
        q.Parameters.ParamByName("qyzt").Value = "1";
        q.Parameters.ParamByName("bz").Value = FTraits.Key;
        q.ExecSQL();
        FSaveFailures.Succeeded();
    } catch (const Exception& e) {
        const bool first = FSaveFailures.Failed();
        if (first || reportAlways)
            ShowMessage(std::string(FTraits.Caption) + "没有保存：" + e.what());
    }
}

// A note whose row or file cannot be read still shows, with an empty read-only editor, so
// that nothing can be typed where it would be lost; the reason is said once. A key or a
// click in the editor tries the load again.
void TNoteForm::FormShow(TObject*)
{
    FLoadFailed = false;
    try {
        LoadNote();
    } catch (const Exception& e) {
        FLoadFailed = true;
        dbhouse->qcx->Close();
        NoteMemoClearAll(NoteMemo1);
        ShowMessage(std::string(FTraits.Caption) + "没有读出：" + e.what());
    }
    SetNoteMemoReadOnly(NoteMemo1, FLoadFailed);
    Floating->ReadPosition();
    Floating->StartRetracting();
}

bool TNoteForm::RetryLoad()
{
    if (!FLoadFailed)
        return true;
    try {
        LoadNote();
    } catch (const Exception&) {
        dbhouse->qcx->Close();
        return false;
    }
    FLoadFailed = false;
    SetNoteMemoReadOnly(NoteMemo1, false);
    return true;
}

void TNoteForm::FormClose(TObject*, TCloseAction&) { Floating->WritePosition(); }

// An emptied note is not saved here: its file keeps the last text until the note is cleared.
void TNoteForm::NoteMemo1Change() { SaveNote(false); }

void TNoteForm::N2Click(TObject*) { SaveNote(true); }

// The chosen file's text goes into the note's own file at once; the chosen file is left as it is.
void TNoteForm::N1Click(TObject*)
{
    RetryLoad();
    if (!OpenDialog1->Execute())
        return;
    NoteMemoLoadFile(NoteMemo1, OpenDialog1->FileName());
    SaveNote(true);
}

void TNoteForm::N4Click(TObject*)
{
    TADOQuery& q = *dbhouse->qup;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("update sz_bqb set qyzt= :qybz where bz= :bz ");
    q.Parameters.ParamByName("qybz").Value = "0";
    q.Parameters.ParamByName("bz").Value = FTraits.Key;
    q.ExecSQL();
    Close();
}

// The row is not touched: only the file is emptied.
void TNoteForm::N5Click(TObject*)
{
    if (!AskYesNo("您确定清空此便签内容吗？"))
        return;
    RetryLoad();
    NoteMemoClearAll(NoteMemo1);
    try {
        SaveEditorTo(SelectRow());
    } catch (...) {
        dbhouse->qcx->Close();
        throw;
    }
    dbhouse->qcx->Close();
}

void TNoteForm::N3Click(TObject*) { Close(); }

// A date with a time ("2026-12-28 23:58:58") takes the room up to the weekday; while the
// date is edited the button takes the end of it.
void TNoteForm::ShowPickButton(bool shown)
{
    const int right = Label1->Left() - 2;
    BitBtn1->SetLeft(right - BitBtn1->Width());
    BitBtn1->SetVisible(shown);
    Edit1->SetWidth((shown ? BitBtn1->Left() - 2 : right) - Edit1->Left());
}

void TNoteForm::Edit1Enter(TObject*) { ShowPickButton(true); }

void TNoteForm::Edit1Exit(TObject*)
{
    if (!BitBtn1->Focused())
        ShowPickButton(false);
}

void TNoteForm::Edit1Change(TObject*)
{
    if (Edit1->Text().empty()) {
        ShowMessage("日期不能为空！");
        return;
    }
    Label1->SetCaption(NoteWeekday(Edit1->Text(), Date()));
}

void TNoteForm::BitBtn1Click(TObject*)
{
    try {
        std::unique_ptr<TBrDateForm> picker(NewForm<TBrDateForm>(this));
        if (picker->ShowModal() == mrOk)
            Edit1->SetText(DateTimeToStr(picker->GetPickedDate()));
    } catch (...) {
        ShowPickButton(false);
        throw;
    }
    ShowPickButton(false);
}
