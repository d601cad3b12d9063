#include "organizer/win/bqcx.h"

#include <utility>

#include "app/core/dbhouse.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "organizer/core/StickyNotes.h"
#include "organizer/win/FormParts.h"
#include "organizer/win/GridList.h"
#include "organizer/win/SlotMarks.h"

TFormbqcx* Formbqcx = nullptr;
TFormxsbq* Formxsbq = nullptr;

namespace {

void OpenList() { OpenGridList(*dbhouse->qbqcx, "select * from sz_bqb order by iid "); }

}  // namespace

TFormxsbq::TFormxsbq(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Formxsbq");
    SetCaption("显示便签内容");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientSize(534, 396);
    Memo1 = MakeNoteMemo(this, this, "Memo1", 4, 4, 526, 332);
    SetNoteMemoReadOnly(Memo1, true);
    BitBtn2 = Make<TBitBtn>(this, this, "BitBtn2", 440, 352, 80, 28);
    BitBtn2->SetCaption("返回");
    BitBtn2->OnClick = [this](TObject* o) { BitBtn2Click(o); };
}

void FreeNoteViewer() { delete std::exchange(Formxsbq, nullptr); }

void TFormxsbq::BitBtn2Click(TObject*) { Close(); }

TFormbqcx::TFormbqcx(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Formbqcx");
    SetCaption("备忘录信息管理");
    SetBorderStyle(bsSizeable);
    SetPosition(poScreenCenter);
    SetBorderIcons({biSystemMenu, biMinimize});
    SetClientSize(520, 320);
    AddFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);

    skSkinGroupBox2 = MakeSkinGroupBox(skSkinData1, this, this, Bounds(0, 226, 520, 94));
    skSkinGroupBox2->SetAlign(alBottom);
    struct {
        TskSkinButton** Button;
        const char* Name;
        const char* Caption;
        void (TFormbqcx::*Click)(TObject*);
    } const buttons[] = {
        {&skSkinButton3, "skSkinButton3", "显示内容", &TFormbqcx::skSkinButton3Click},
        {&skSkinButton1, "skSkinButton1", "标记不显示", &TFormbqcx::skSkinButton1Click},
        {&skSkinButton2, "skSkinButton2", "标记显示", &TFormbqcx::skSkinButton2Click},
        {&skSkinButton6, "skSkinButton6", "返回", &TFormbqcx::skSkinButton6Click},
    };
    int left = 24;
    for (const auto& b : buttons) {
        *b.Button = MakeSkinButton(skSkinData1, this, skSkinGroupBox2, b.Name, b.Caption, Bounds(left, 18, 100, 27),
                                   [this, click = b.Click](TObject* o) { (this->*click)(o); });
        left += 122;
    }
    Label1 = Make<TLabel>(this, skSkinGroupBox2, "Label1", 24, 60, 470, 16);
    Label1->SetCaption("提示：1--表示显示0--表示不显示");

    DBGrid1 = Make<TDBGrid>(this, this, "DBGrid1", 0, 0, 520, 226);
    DBGrid1->SetAlign(alClient);
    AddGridColumns(*DBGrid1, {{"xsbz", "便签名称", 159}, {"rq", "填写日期", 192}, {"qyzt", "是否显示窗体", 100}}, true);
    if (dbhouse)
        DBGrid1->SetDataSource(dbhouse->qbqcx_s);

    OnShow = [this](TObject* o) { FormShow(o); };
    OnClose = [this](TObject* o, TCloseAction& a) { FormClose(o, a); };
    ApplyFormSkin(this, DSF, skSkinData1, CompressedStoredSkin1);
}

void TFormbqcx::FormShow(TObject*) { OpenList(); }

void TFormbqcx::FormClose(TObject*, TCloseAction&) { dbhouse->qbqcx->Close(); }

bool TFormbqcx::HasRow() const
{
    TADOQuery& list = *dbhouse->qbqcx;
    return list.Active() && !list.IsEmpty();
}

// A note whose file was never written has nothing to show; errors while showing are
// dropped (the viewer simply does not open).
void TFormbqcx::skSkinButton3Click(TObject*)
{
    if (!HasRow())
        return;
    TADOQuery& list = *dbhouse->qbqcx;
    const std::string path =
        NoteTextFile(list.FieldByName("strpath").AsString(), ExeFolder(), list.FieldByName("iid").AsInteger());
    if (!FileExists(path))
        return;
    if (!AskYesNo(NoteShowQuestion(list.FieldByName("xsbz").AsString())))
        return;
    try {
        MadeOnFirstUse(Formxsbq);
        NoteMemoClearAll(Formxsbq->Memo1);
        NoteMemoLoadFile(Formxsbq->Memo1, path);
        Formxsbq->ShowModal();
    } catch (const std::exception&) {
    }
}

void TFormbqcx::Mark(bool shown)
{
    if (!HasRow())
        return;
    TADOQuery& list = *dbhouse->qbqcx;
    if (!AskYesNo(NoteMarkQuestion(list.FieldByName("xsbz").AsString(), shown)))
        return;
    MarkCurrentRowShown(list, "sz_bqb", shown);
    list.Close();
    list.Open();
}

void TFormbqcx::skSkinButton1Click(TObject*) { Mark(false); }

void TFormbqcx::skSkinButton2Click(TObject*) { Mark(true); }

void TFormbqcx::skSkinButton6Click(TObject*) { Close(); }
