#include "organizer/core/MemoBoardRows.h"

namespace {

using C = TBoardCommand;

}  // namespace

const std::array<TBoardRow, MemoBoardRows>& MemoBoardRowTable() {
  static const std::array<TBoardRow, MemoBoardRows> table{{
      {1, {{"N22", C::Edit, true}, {"N23", C::Delete, true}, {"N36", C::MarkRead, true}, {"N24", C::Back, false}}},
      {2, {{"N20", C::Reveal, true}, {"N21", C::Delete, true}, {"N25", C::Back, false}}},
      {3, {{"N18", C::Reveal, true}, {"N19", C::Delete, true}, {"N26", C::Back, false}}},
      {4, {{"N16", C::Reveal, true}, {"N17", C::Delete, true}, {"N27", C::Back, false}}},
      {5, {{"N14", C::Reveal, true}, {"N15", C::Delete, true}, {"N28", C::Back, false}}},
      {6, {{"N12", C::Reveal, true}, {"N13", C::Delete, true}, {"N29", C::Back, false}}},
      {7, {{"N10", C::Reveal, false}, {"N11", C::Delete, true}, {"N30", C::Back, false}}},
      {8, {{"N8", C::Reveal, true}, {"N9", C::Delete, true}, {"N31", C::Back, false}}},
      {9, {{"N6", C::Reveal, false}, {"N7", C::Delete, true}, {"N32", C::Back, true}}},
      {10, {{"N4", C::Reveal, true}, {"N5", C::Delete, true}, {"N33", C::Back, true}}},
      {11, {{"N2", C::Reveal, true}, {"N3", C::Delete, true}, {"N34", C::Back, false}}},
      {12, {{"N1", C::Delete, false}, {"N35", C::Back, true}}},
  }};
  return table;
}

const char* BoardCommandCaption(TBoardCommand command) {
  switch (command) {
    case C::Edit: return "编辑备忘录";
    case C::Delete: return "删除备忘录";
    case C::MarkRead: return "标记为已读";
    case C::Reveal: return "新增备忘录";
    case C::Back: return "返回";
  }
  return "";
}

std::string BoardPanelName(int row) { return "Panel" + std::to_string(row); }

std::string BoardLabelName(int row, int line) { return "Label" + std::to_string(2 * row - 2 + line); }

std::string BoardEditName(int row) { return "Edit" + std::to_string(110 + row); }

std::string BoardMenuName(int row) { return "PopupMenu" + std::to_string(MemoBoardRows + 1 - row); }
