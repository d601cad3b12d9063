#include "organizer/win/bqgl.h"

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "organizer/core/MemoRules.h"
#include "organizer/win/bwxg.h"

TFormbqgl* Formbqgl = nullptr;

namespace {

constexpr int kBoardWidth = 192;

// The date line ("12天后 2026年05月22日 23:58 周五") is drawn smaller, down to 9 pixels,
// when the board's font would cut it.
class TDateLine : public TLabel {
public:
  using TLabel::TLabel;

protected:
  void TextChanged() override {
    SetParentFont(true);
    TBitmap measure(1, 1);
    TCanvas& canvas = measure.Canvas();
    for (;;) {
      canvas.Font().Assign(Font());
      if (canvas.TextWidth(Caption()) <= Width() || Font().Height() >= -9) break;
      Font().SetHeight(Font().Height() + 1);
    }
    TLabel::TextChanged();
  }
};

// A line reaches from its left margin to the board's right edge.
TLabel* MakeLine(TFormbqgl* board, TPanel* panel, const std::string& name, int top, bool dateLine) {
  TLabel* l = dateLine ? new TDateLine(board) : new TLabel(board);
  l->SetName(name);
  l->SetParent(panel);
  l->SetAutoSize(false);
  l->SetBounds(6, top, kBoardWidth - 6, 15);
  l->SetTransparent(true);
  return l;
}

}  // namespace

TFormbqgl::TFormbqgl(TComponent* AOwner) : TForm(AOwner) {
  SetName("Formbqgl");
  SetBorderStyle(bsNone);
  SetColor(clRed);
  Font().SetName("宋体");
  Font().SetSize(9);
  SetClientSize(kBoardWidth, BoardRowHeight * MemoBoardRows);
  Floating = new TFloatingBehaviour(this, "备忘录位置", &MemoBoardPosX, &MemoBoardPosY, TRetractTimers::FromCreation);

  // Top-aligned panels stack in creation order, so row 1 comes first.
  for (const TBoardRow& spec : MemoBoardRowTable()) {
    const int k = spec.Row;
    TRowParts& row = FRows[k - 1];
    row.Panel = new TPanel(this);
    row.Panel->SetName(BoardPanelName(k));
    row.Panel->SetParent(this);
    row.Panel->SetCaption("");
    row.Panel->SetBounds(0, BoardRowHeight * (k - 1), kBoardWidth, BoardRowHeight);
    row.Panel->SetAlign(alTop);
    row.Panel->SetColor(clRed);
    row.Panel->SetTag(k);
    row.Line1 = MakeLine(this, row.Panel, BoardLabelName(k, 1), 4, true);
    row.Line2 = MakeLine(this, row.Panel, BoardLabelName(k, 2), 20, false);
    row.Iid = new TEdit(this);
    row.Iid->SetName(BoardEditName(k));
    row.Iid->SetParent(row.Panel);
    row.Iid->SetVisible(false);
    row.Iid->SetText("0");

    row.Menu = new TPopupMenu(this);
    row.Menu->SetName(BoardMenuName(k));
    for (const TBoardItem& spec_item : spec.Items) {
      auto* item = new TMenuItem(this);
      item->SetName(spec_item.Name);
      item->SetCaption(BoardCommandCaption(spec_item.Command));
      item->SetVisible(spec_item.Shown);
      item->OnClick = [this, k, command = spec_item.Command](TObject*) { RowCommand(k, command); };
      row.Menu->Items()->Add(item);
    }
    row.Menu->OnPopup = [this, k](TObject*) { FPoppedIid[k - 1] = Row(k).Iid->Text(); };
    for (TControl* surface : {static_cast<TControl*>(row.Panel), static_cast<TControl*>(row.Line1),
                              static_cast<TControl*>(row.Line2)}) {
      surface->SetPopupMenu(row.Menu);
      Floating->AddSurface(surface);
    }
  }

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  FormCreate(this);
}

void TFormbqgl::FormCreate(TObject*) {
  for (int i = 1; i <= 2 * MemoBoardRows; ++i)
    if (auto* label = dynamic_cast<TLabel*>(FindComponent("label" + IntToStr(i)))) label->SetCaption("");
}

void TFormbqgl::FormShow(TObject*) { Floating->ReadPosition(); }

void TFormbqgl::FormClose(TObject*, TCloseAction&) {
  Floating->WritePosition();
  dbhouse->qbw1->Close();
}

int TFormbqgl::MenuIid(int row) {
  std::string& popped = FPoppedIid.at(row - 1);
  const std::string text = popped.empty() ? Row(row).Iid->Text() : popped;
  popped.clear();
  return StrToInt(text);
}

void TFormbqgl::RowCommand(int row, TBoardCommand command) {
  switch (command) {
    case TBoardCommand::Edit: EditMemo(); break;
    case TBoardCommand::Delete: DeleteMemo(row); break;
    case TBoardCommand::MarkRead: MarkRead(); break;
    case TBoardCommand::Reveal: Reveal(row); break;
    case TBoardCommand::Back: Close(); break;
  }
}

void TFormbqgl::HideRow(int row) {
  Row(row).Panel->SetVisible(false);
  SetHeight(Height() - BoardRowHeight);
}

// The board deletes without asking; row 1 closes the board first.
void TFormbqgl::DeleteMemo(int row) {
  const int iid = MenuIid(row);
  HideRow(row);
  if (row == 1) Close();
  TADOQuery& q = *dbhouse->qgx;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("delete from sz_bwlb where iid= :iid ");
  q.Parameters.ParamByName("iid").Value = iid;
  q.ExecSQL();
}

void TFormbqgl::MarkRead() {
  try {
    TADOQuery& q = *dbhouse->qup;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("update sz_bwlb set qrbz= :qrbz where iid= :iid ");
    q.Parameters.ParamByName("qrbz").Value = "1";
    q.Parameters.ParamByName("iid").Value = MenuIid(1);
    q.ExecSQL();
  } catch (const std::exception&) {
  }
  HideRow(1);
}

// A memo deleted meanwhile opens nothing: there is no row to load.
void TFormbqgl::EditMemo() {
  TADOQuery& q = *dbhouse->qdcbw;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("select * from sz_bwlb where iid= :iid ");
  q.Parameters.ParamByName("iid").Value = MenuIid(1);
  q.Open();
  if (q.IsEmpty()) return;
  MadeOnFirstUse(Formbwxg)->LoadMemo(ReadMemoRow(q));
  Formbwxg->Show();
}

void TFormbqgl::Reveal(int row) {
  if (row >= MemoBoardRows) return;
  Row(row + 1).Panel->SetVisible(true);
  SetHeight(Height() + BoardRowHeight);
}
