// The memo board's row table: the item names, what each row's menu shows, and the parts of a row.
#include "organizer/core/MemoBoardRows.h"

#include <gtest/gtest.h>

#include <set>

TEST(MemoBoardRows, ThirtySixItemsEachNamedOnce) {
  std::set<std::string> names;
  int count = 0;
  for (const TBoardRow& row : MemoBoardRowTable())
    for (const TBoardItem& item : row.Items) names.insert(item.Name), ++count;
  EXPECT_EQ(count, 36);
  for (int n = 1; n <= 36; ++n) EXPECT_TRUE(names.count("N" + std::to_string(n))) << n;
}

TEST(MemoBoardRows, ShownCaptionsPerRow) {
  const char* expected[] = {"编辑备忘录 删除备忘录 标记为已读", "新增备忘录 删除备忘录", "新增备忘录 删除备忘录",
                            "新增备忘录 删除备忘录", "新增备忘录 删除备忘录", "新增备忘录 删除备忘录",
                            "删除备忘录", "新增备忘录 删除备忘录", "删除备忘录 返回",
                            "新增备忘录 删除备忘录 返回", "新增备忘录 删除备忘录", "返回"};
  for (const TBoardRow& row : MemoBoardRowTable()) {
    std::string shown;
    int deletes = 0, backs = 0;
    for (const TBoardItem& item : row.Items) {
      if (item.Shown) shown += (shown.empty() ? "" : " ") + std::string(BoardCommandCaption(item.Command));
      deletes += item.Command == TBoardCommand::Delete;
      backs += item.Command == TBoardCommand::Back;
    }
    EXPECT_EQ(shown, expected[row.Row - 1]) << row.Row;
    EXPECT_EQ(deletes * 10 + backs, 11) << row.Row;   // every row can delete and close, shown or not
  }
}
