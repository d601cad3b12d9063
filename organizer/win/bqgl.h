#pragma once
// TFormbqgl, the memo board: a frameless red strip of up to twelve rows, one memo each,
// filled and shown by the clock window's memo timer. Each row has its own menu (delete,
// and on some rows reveal the next row or close; row 1 also edits and marks read). The
// board floats like the other desktop windows and retracts at the top and right edges.
#include <array>

#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/Menus.h"
#include "framework/win/StdCtrls.h"
#include "organizer/core/MemoBoardRows.h"
#include "organizer/win/FloatingWindow.h"

class TFormbqgl : public TForm {
public:
  explicit TFormbqgl(TComponent* AOwner);

  // Row k (1 .. 12) at index k-1.
  struct TRowParts {
    TPanel* Panel;
    TLabel *Line1, *Line2;
    TEdit* Iid;
    TPopupMenu* Menu;
  };
  const TRowParts& Row(int k) const { return FRows.at(k - 1); }
  TFloatingBehaviour* Floating;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // What a row's menu item does.
  void RowCommand(int row, TBoardCommand command);

private:
  void HideRow(int row);
  void DeleteMemo(int row);
  void MarkRead();
  void EditMemo();
  void Reveal(int row);
  // The memo a row's command acts on: the one the row held when its menu opened (the memo
  // timer may refill the rows while the menu is open), else the row's own.
  int MenuIid(int row);

  std::array<TRowParts, MemoBoardRows> FRows{};
  std::array<std::string, MemoBoardRows> FPoppedIid{};
};

extern TFormbqgl* Formbqgl;
