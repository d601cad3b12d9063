#pragma once
// The memo board's twelve rows as data: row k is Panel k with Label 2k-1 and Label 2k, the
// hidden Edit 110+k holding the memo's iid, and PopupMenu 13-k with its own items. Which
// commands a row's menu holds, and which of them it shows, differs from row to row.
#include <array>
#include <string>
#include <vector>

constexpr int MemoBoardRows = 12;
constexpr int BoardRowHeight = 39;   // the height of one row; the board is a whole number of rows

// What a menu item does for its row.
enum class TBoardCommand {
  Edit,       // "编辑备忘录": open the edit dialog for the row's memo
  Delete,     // "删除备忘录": hide the row and delete its memo
  MarkRead,   // "标记为已读": mark the row's memo read and hide the row
  Reveal,     // "新增备忘录": show the next row
  Back,       // "返回": close the board
};

struct TBoardItem {
  const char* Name;   // N1 .. N36
  TBoardCommand Command;
  bool Shown;
};

struct TBoardRow {
  int Row;   // 1 .. 12
  std::vector<TBoardItem> Items;   // in menu order
};

const std::array<TBoardRow, MemoBoardRows>& MemoBoardRowTable();
const char* BoardCommandCaption(TBoardCommand command);

std::string BoardPanelName(int row);                 // "Panel" k
std::string BoardLabelName(int row, int line);       // line 1 or 2: "Label" 2k-1 or 2k
std::string BoardEditName(int row);                  // "Edit" 110+k
std::string BoardMenuName(int row);                  // "PopupMenu" 13-k
