// The editor control's rules without a window: caret and selection over GBK bytes, the
// display mapping with wrap, scrolling, input and the paint plan.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditHighlighter.h"
#include "tests/editor/NoteEditHosts.h"

namespace {
struct FakeHost : TNullNoteHost {
    int Scrolls = 0, Invalidations = 0;
    void HostInvalidate(const TRect&) override { ++Invalidations; }
    void HostScroll(int, int, const TRect&) override { ++Scrolls; }
};

// An editor with 6x12 cells in a window of the given columns and rows (no gutter).
struct Editor {
    FakeHost Host;
    TNoteEditCore Core{Host};
    explicit Editor(int columns = 40, int rows = 10, TLineSpacingRule rule = lsSingle) {
        Core.Gutter().SetVisible(false);
        Core.SetLineSpacingRule(rule);
        Core.CharMetricsChanged(6, 12);
        Core.ViewSizeChanged(columns * 6 + 2, rows * Core.LineHeight());
    }
    void Text(std::string_view gbk) { Core.SetTextBytes(gbk); }
};

const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4";  // 中 文
}  // namespace

TEST(NoteEditCore, LineSpacingRules) {
    struct Case {
        TLineSpacingRule Rule;
        int Height, Spacing, Row;
    } cases[] = {{lsSingle, 12, 0, 14},    {lsOneAndHalf, 12, 0, 20}, {lsOneAndHalf, 13, 0, 21},
                 {lsOneAndHalf, 15, 0, 25}, {lsDouble, 12, 0, 26},     {lsSpecified, 12, 0, 12},
                 {lsSpecified, 12, 5, 17}};
    for (const Case& c : cases) {
        FakeHost host;
        TNoteEditCore core(host);
        core.SetLineSpacingRule(c.Rule);
        core.SetLineSpacing(c.Spacing);
        core.CharMetricsChanged(6, c.Height);
        EXPECT_EQ(core.LineHeight(), c.Row) << int(c.Rule) << " " << c.Height;
    }
}

TEST(NoteEditCore, HorizontalMovesStepOverWholeCharacters) {
    Editor e;
    // 1: a 中 b 文, 2: x and a lone lead byte at the line's end (a single byte).
    e.Text("a" + Zhong + "b" + Wen + "\r\nx\xD6");
    const int right[] = {1, 2, 4, 5, 7};
    for (int i = 1; i < 5; ++i) {
        e.Core.CommandProcessor(ecRight, 0, nullptr);
        EXPECT_EQ(e.Core.CaretX(), right[i]);
    }
    for (int i = 3; i >= 0; --i) {
        e.Core.CommandProcessor(ecLeft, 0, nullptr);
        EXPECT_EQ(e.Core.CaretX(), right[i]);
    }
    e.Core.SetCaretXY({1, 2});
    e.Core.CommandProcessor(ecRight, 0, nullptr);
    e.Core.CommandProcessor(ecRight, 0, nullptr);
    EXPECT_EQ(e.Core.CaretX(), 3);
    e.Core.CommandProcessor(ecLeft, 0, nullptr);
    EXPECT_EQ(e.Core.CaretX(), 2);
}

TEST(NoteEditCore, VerticalMovesKeepOffTrailBytesAndComeBack) {
    Editor e;
    e.Text("abcd\r\na" + Zhong + "b\r\nabcd");
    e.Core.SetCaretXY({3, 1});
    e.Core.CommandProcessor(ecDown, 0, nullptr);
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{2, 2}));  // column 3 is 中's trail byte
    e.Core.CommandProcessor(ecDown, 0, nullptr);
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{3, 3}));  // the earlier column again
    e.Core.CommandProcessor(ecSelUp, 0, nullptr);
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{2, 2}));
    EXPECT_TRUE(e.Core.SelAvail());
}

TEST(NoteEditCore, SelectionIsNormalisedAndNeverEndsInsideACharacter) {
    Editor e;
    e.Text("ab" + Zhong + "cd\r\nline two\r\n" + Wen + "xyz");
    e.Core.SetBlockBegin({5, 2});
    e.Core.SetBlockEnd({4, 1});  // 中's trail byte: the end goes before 中
    EXPECT_EQ(e.Core.BlockCaret(), (TBufferCoord{3, 1}));
    EXPECT_EQ(e.Core.BlockBegin(), (TBufferCoord{3, 1}));
    EXPECT_EQ(e.Core.BlockEnd(), (TBufferCoord{5, 2}));
    EXPECT_EQ(e.Core.SelText(), Zhong + "cd\r\nline");
    e.Core.SetSelectionMode(smLine);
    EXPECT_EQ(e.Core.SelText(), "ab" + Zhong + "cd\r\nline two\r\n");
    e.Core.SetSelectionMode(smColumn);
    e.Core.SetBlockBegin({2, 1});
    e.Core.SetBlockEnd({4, 3});
    EXPECT_EQ(e.Core.SelText(), "b" + Zhong + "\r\nin\r\nx");  // bounds on trail bytes move right
    EXPECT_TRUE(e.Core.IsPointInSelection({3, 2}));
    EXPECT_FALSE(e.Core.IsPointInSelection({4, 2}));
    e.Core.SetSelectionMode(smNormal);
    e.Core.SetBlockBegin({2, 2});
    EXPECT_FALSE(e.Core.SelAvail());
}

// The caret held at the scroll width stops before a character the width cuts.
TEST(NoteEditCore, TheCaretStopsBeforeACharacterTheScrollWidthCuts) {
    Editor e;
    e.Core.SetOptions(e.Core.Options() | NoteOption(eoScrollPastEol));
    e.Text("a" + Zhong + Zhong + Zhong + Zhong + Zhong + Zhong);
    for (const int width : {9, 10}) {
        e.Core.SetMaxScrollWidth(width);
        e.Core.SetCaretXY({1, 1});
        e.Core.SetCaretXY({20, 1});
        EXPECT_EQ(e.Core.CaretX(), 10) << width;  // 10 and 11 hold the fifth 中
    }
}

TEST(NoteEditCore, WrappedRowsMapBothWaysAtSeveralWidths) {
    std::string line = "Note:\t" + Zhong + Wen + " mixed text with " + Zhong + " and words, ";
    for (int i = 0; i < 40; ++i) line += Wen;
    line += " end";
    for (int width : {7, 10, 21, 40, 80}) {
        Editor e(width, 10);
        e.Core.WordWrap().SetStyle(wwsClientWidth);
        e.Core.WordWrap().SetEnabled(true);
        e.Text(line + "\r\n\r\n" + line);
        ASSERT_GT(e.Core.DisplayLineCount(), 3) << width;
        for (int l = 1; l <= 3; ++l) {
            const std::string& text = e.Core.Lines().Get(l - 1);
            for (int c = 1; c <= static_cast<int>(text.size()) + 1; ++c) {
                if (NoteByteType(text, c) == mbTrailByte) continue;
                const TDisplayCoord d = e.Core.BufferToDisplayPos({c, l});
                EXPECT_LE(d.Column, width + 1) << width << " " << c;
                EXPECT_EQ(e.Core.DisplayToBufferPos(d), (TBufferCoord{c, l})) << width << " " << c;
            }
        }
        e.Core.SetCaretXY({500, 2});  // beyond the end of a wrapped line: one past the width
        EXPECT_EQ(e.Core.CaretX(), width + 1) << width;
    }
}

TEST(NoteEditCore, ScrollingMovesContentForSmallStepsAndJumpsRightForTheCaret) {
    Editor e(10, 10);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + " with some more words in it\r\n";
    e.Text(text);
    const int scrolls = e.Host.Scrolls;
    e.Core.SetTopLine(4);
    EXPECT_EQ(e.Host.Scrolls, scrolls + 1);
    e.Core.SetTopLine(14);
    EXPECT_EQ(e.Host.Scrolls, scrolls + 1);  // a window's worth: repainted, not scrolled
    // A narrow window: the caret far right stays inside the window.
    e.Core.SetCaretXY({30, 20});
    EXPECT_LE(e.Core.LeftChar(), 30);
    EXPECT_LT(30, e.Core.LeftChar() + e.Core.CharsInWindow());
    Editor wide(40, 10);
    wide.Text(text);
    wide.Core.SetCaretXY({45, 1});
    EXPECT_EQ(wide.Core.LeftChar(), 45 - 40 + 24);
}

TEST(NoteEditCore, HorizontalBarFollowsTheRightEdgeWrap) {
    for (int columns : {60, 79, 80, 100}) {
        Editor e(columns, 10);
        e.Core.WordWrap().SetStyle(wwsRightEdge);
        e.Core.WordWrap().SetEnabled(true);
        const TNoteScrollBarInfo h = e.Core.HorzScrollBar();
        EXPECT_EQ(h.Visible, columns < 80) << columns;
        EXPECT_EQ(h.Max, 1024);
        EXPECT_EQ(h.Page, columns);
    }
    Editor tall(40, 10);
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "x\r\n";
    tall.Text(text);
    tall.Core.SetTopLine(20000);
    const TNoteScrollBarInfo v = tall.Core.VertScrollBar();
    EXPECT_EQ(v.Max, 32767);
    EXPECT_NEAR(v.Pos, 32767LL * 20000 / 40001, 1);
}

TEST(NoteEditCore, TypingTurnsUtf16IntoGbkAndUndoesAsOneStep) {
    Editor e;
    e.Text("");
    e.Core.TypeUtf16(u"ab\u4E2D\u0E01c");  // 中, then Thai (no GBK form)
    EXPECT_EQ(e.Core.GetText(), "ab" + Zhong + "c");
    EXPECT_EQ(e.Core.CaretX(), 6);
    int changes = 0;
    e.Core.OnChange = [&](void*) { ++changes; };
    e.Core.SetBlockBegin({3, 1});
    e.Core.SetBlockEnd({5, 1});
    e.Core.TypeUtf16(u"\u6587");  // 文 over the selected 中
    EXPECT_EQ(e.Core.GetText(), "ab" + Wen + "c");
    EXPECT_EQ(changes, 1);
    e.Core.CommandProcessor(ecUndo, 0, nullptr);
    EXPECT_EQ(e.Core.GetText(), "ab" + Zhong + "c");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(e.Core.SelText(), Zhong);
    e.Core.CommandProcessor(ecRedo, 0, nullptr);
    EXPECT_EQ(e.Core.GetText(), "ab" + Wen + "c");
    // A blank typed at the line's end moves the caret; the stored line stays trimmed.
    e.Core.SetCaretXY({6, 1});
    e.Core.TypeUtf16(u"  x");
    EXPECT_EQ(e.Core.GetText(), "ab" + Wen + "c  x");
    EXPECT_TRUE(e.Core.Modified());
}

TEST(NoteEditCore, DoubleClickSelectsARunOfOneKind) {
    Editor e;
    // 你好，世界abc_1 def
    e.Text("\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7" "abc_1 def");
    struct Case {
        int Click;
        int First, Last;
    } cases[] = {{3, 1, 5}, {1, 1, 5}, {8, 7, 11}, {12, 11, 16}, {18, 17, 20}, {30, 20, 20}};
    for (const Case& c : cases) {
        e.Core.SetWordBlock({c.Click, 1});
        EXPECT_EQ(e.Core.BlockBegin().Char, c.First) << c.Click;
        EXPECT_EQ(e.Core.BlockEnd().Char, c.Last) << c.Click;
    }
}

TEST(NoteEditCore, PaintPlanOfARuledNoteRow) {
    Editor e(40, 5, lsOneAndHalf);
    e.Core.SetBackColor(NoteColor::InfoBk);
    e.Core.LineDivider().SetVisible(true);
    e.Core.RightEdge().SetPosition(30);
    e.Text("ab" + Zhong + "cd\r\n\r\nlast");
    e.Core.SetCaretXY({6, 1});
    e.Core.SetBlockBegin({3, 1});
    e.Core.SetBlockEnd({5, 1});
    const TNotePaintPlan plan = e.Core.PlanPaint(Rect(0, 0, 242, 100), true);
    ASSERT_EQ(plan.Rows.size(), 3u);  // rows below the text get nothing
    const TNotePaintRow& row = plan.Rows[0];
    ASSERT_EQ(row.Runs.size(), 3u);
    EXPECT_EQ(row.Runs[0].Text, "ab");
    EXPECT_EQ(row.Runs[0].Background, NoteColor::Yellow);  // the active line
    EXPECT_EQ(row.Runs[1].Text, Zhong);
    EXPECT_EQ(row.Runs[1].X, 2 + 2 * 6);
    EXPECT_EQ(row.Runs[1].Background, NoteColor::Highlight);
    EXPECT_EQ(row.Runs[2].Text, "cd");
    EXPECT_EQ(row.TextY, (20 - 12) / 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(plan.Rows[i].Divider);
        EXPECT_EQ(plan.Rows[i].DividerY, i * 20 + 19);
        EXPECT_EQ(plan.Rows[i].DividerLeft, 2);
        EXPECT_EQ(plan.Rows[i].DividerRight, 242);
    }
    EXPECT_EQ(plan.Rows[1].Runs.size(), 0u);
    EXPECT_EQ(plan.Rows[1].Fills.back().Color, NoteColor::InfoBk);
    EXPECT_TRUE(plan.RightEdge);
    EXPECT_EQ(plan.RightEdgeX, 30 * 6 + 2);
    ASSERT_TRUE(plan.Below);
    EXPECT_EQ(plan.BelowFill.Rect.Top, 60);
    // Scrolled one column right: the first visible byte is a trail byte, so the whole
    // character is drawn from one column further left.
    e.Core.SetOptions(e.Core.Options() | NoteOption(eoScrollPastEol));
    e.Core.SetLeftChar(4);
    const TNotePaintPlan scrolled = e.Core.PlanPaint(Rect(2, 0, 242, 20), true);
    ASSERT_FALSE(scrolled.Rows[0].Runs.empty());
    EXPECT_EQ(scrolled.Rows[0].Runs[0].Text, Zhong);
    EXPECT_EQ(scrolled.Rows[0].Runs[0].X, 2 - 6);
}

TEST(NoteEditCore, APaintClippedInsideACharacterDrawsItWhole) {
    Editor e;
    e.Text("a" + Zhong + Wen + "b");
    e.Core.SetBlockBegin({2, 1});
    e.Core.SetBlockEnd({6, 1});
    for (int right = 3; right <= 2 + 6 * 7; ++right)
        for (int left : {0, 8}) {
            const TNotePaintPlan plan = e.Core.PlanPaint(Rect(left, 0, right, 14), true);
            ASSERT_EQ(plan.Rows.size(), 1u);
            for (const TNotePaintRun& run : plan.Rows[0].Runs)  // no byte of a character alone
                for (size_t i = 0; i < run.Text.size(); i += GbkCharLength(run.Text, i))
                    EXPECT_TRUE(GbkCharLength(run.Text, i) == 2 || static_cast<unsigned char>(run.Text[i]) < 0x80)
                        << left << " " << right;
        }
}

TEST(NoteEditCore, GutterNumbersTheFirstRowOfEachLine) {
    Editor e(20, 10);
    e.Core.Gutter().SetVisible(true);
    e.Core.Gutter().SetShowLineNumbers(true);
    e.Core.Gutter().SetAutoSize(true);
    EXPECT_EQ(e.Core.GutterWidth(), 16 + 2 + 6 * 4 + 2);
    e.Core.WordWrap().SetEnabled(true);
    e.Text("short\r\n" + std::string(30, 'x') + "\r\nend");
    const TNotePaintPlan plan = e.Core.PlanPaint(Rect(0, 0, 200, 100), true);
    ASSERT_TRUE(plan.Gutter);
    ASSERT_EQ(plan.GutterNumbers.size(), 3u);  // the wrapped line's second row has none
    EXPECT_EQ(plan.GutterNumbers[1].Text, "   2");
    EXPECT_EQ(plan.GutterNumbers[2].Rect.Top, (e.Core.DisplayLineCount() - 1) * e.Core.LineHeight());
    EXPECT_EQ(plan.Rows.front().Rect.Left, e.Core.GutterWidth() + 2);
}

// Own text dragged over the editor: the caret stays on the visible rows and columns
// wherever the mouse is (no scrolling of its own), and the auto-scroll deltas follow the
// mouse; the selection being dragged stays.
TEST(NoteEditCore, OwnTextDraggedKeepsTheCaretInViewAndSetsTheScrollDeltas) {
    Editor e(20, 10);
    std::string text;
    for (int i = 0; i < 100; ++i) text += std::string(40, 'a' + i % 26) + "\r\n";
    e.Text(text);
    e.Core.SetBlockBegin({2, 1});
    e.Core.SetBlockEnd({4, 1});
    const int lh = e.Core.LineHeight(), cw = e.Core.CharWidth(), left = e.Core.GutterWidth() + 2;
    const int rows = e.Core.LinesInWindow(), cols = e.Core.CharsInWindow();
    struct Row {
        int x, y;          // client pixels
        int caretX, caretY;
        int dx, dy;
    };
    const Row cases[] = {
        {left + 3 * cw, 2 * lh + 1, 4, 3, 0, 0},                        // inside
        {left + 3 * cw, rows * lh + 3, 4, rows, 0, 1},                  // below the last whole row
        {left + 3 * cw, rows * lh + 5 * lh, 4, rows, 0, 6},             // far below
        {left + (cols + 5) * cw, 2 * lh + 1, cols + 1, 3, 6, 0},        // right of the text area
    };
    for (const Row& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        e.Core.DragWithinPoint(c.x, c.y);
        EXPECT_EQ(e.Core.CaretX(), c.caretX);
        EXPECT_EQ(e.Core.CaretY(), c.caretY);
        EXPECT_EQ(e.Core.TopLine(), 1);
        EXPECT_EQ(e.Core.LeftChar(), 1);
        EXPECT_EQ(e.Core.ScrollDeltaX(), c.dx);
        EXPECT_EQ(e.Core.ScrollDeltaY(), c.dy);
        EXPECT_EQ(e.Core.SelText(), "aa");
    }
    // Wrapped rows of 16 columns in a window of 3: right of the bottom row's end the caret
    // stands at the end of that row, not at the start of the hidden one below.
    Editor wrapped(20, 3);
    wrapped.Core.WordWrap().SetEnabled(true);
    std::string words;
    for (char c : std::string("abcdef")) words += std::string(15, c) + " ";
    wrapped.Text(words);
    wrapped.Core.SetBlockBegin({2, 1});
    wrapped.Core.SetBlockEnd({4, 1});
    for (int row : {1, 3}) {
        SCOPED_TRACE(row);
        wrapped.Core.DragWithinPoint(left + 18 * cw, (row - 1) * lh + 1);
        EXPECT_EQ(wrapped.Core.CaretXY(), (TBufferCoord{16 * row + 1, 1}));
        EXPECT_EQ(wrapped.Core.DisplayXY(), (TDisplayCoord{17, row}));
        EXPECT_EQ(wrapped.Core.TopLine(), 1);
        EXPECT_EQ(wrapped.Core.SelText(), "aa");
    }
}

TEST(NoteEditCore, AutoScrollFollowsTheMouseOutsideTheTextArea) {
    Editor e(20, 10);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
    e.Text(text);
    const int lh = e.Core.LineHeight();
    ASSERT_TRUE(e.Core.HandleMouseDown(0, NoteShift::Left, 10, 5));
    e.Core.HandleMouseMove(NoteShift::Left, 10, 10 * lh + 3, true);  // just below the window
    EXPECT_EQ(e.Core.ScrollDeltaY(), 1);
    e.Core.AutoScrollStep(10, 10 * lh + 3, false, true);
    EXPECT_EQ(e.Core.TopLine(), 2);
    EXPECT_EQ(e.Core.CaretY(), 11);
    EXPECT_TRUE(e.Core.SelAvail());
    e.Core.AutoScrollStep(10, 10 * lh + 3, true, true);  // Shift: a page a tick
    EXPECT_EQ(e.Core.TopLine(), 12);
    e.Core.HandleMouseMove(NoteShift::Left, 10, 5 * lh, true);  // back inside: it stops
    EXPECT_EQ(e.Core.ScrollDeltaY(), 0);
    e.Core.HandleMouseMove(NoteShift::Left, -20, 5 * lh, true);
    EXPECT_EQ(e.Core.ScrollDeltaX(), -20 / 6 - 1);
    e.Core.HandleMouseUp(0, 0, -20, 5 * lh);
    EXPECT_EQ(e.Core.ScrollDeltaX(), 0);
    // An unchanged spacing rule repaints nothing.
    const int invalidations = e.Host.Invalidations;
    e.Core.SetLineSpacingRule(lsSingle);
    EXPECT_EQ(e.Host.Invalidations, invalidations);
}

TEST(NoteEditCore, TypingReplacesLineAndColumnSelectionsAndUndoRestoresThem) {
    struct Case {
        TNoteSelectionMode Mode;
        TBufferCoord Begin, End;
        std::string After;
    } cases[] = {
        {smNormal, {2, 1}, {3, 2}, "ax" + Wen + "34\r\nlast"},
        {smLine, {2, 1}, {3, 2}, "xlast"},
        {smLine, {1, 2}, {2, 3}, "a" + Zhong + "b\r\nx"},
        // Column 3 is 中's trail byte: the bound moves right, so 中 goes whole.
        {smColumn, {2, 1}, {3, 2}, "ab\r\n1x" + Wen + "34\r\nlast"},
        // Column 4 is 文's trail byte on the caret's line: the typed text goes after 文.
        {smColumn, {4, 1}, {6, 2}, "a" + Zhong + "\r\n12" + Wen + "x4\r\nlast"},
    };
    for (const Case& c : cases) {
        Editor e;
        const std::string text = "a" + Zhong + "b\r\n12" + Wen + "34\r\nlast";
        e.Text(text);
        e.Core.SetSelectionMode(c.Mode);
        e.Core.SetBlockBegin(c.Begin);
        e.Core.SetBlockEnd(c.End);
        e.Core.SetCaretXYEx(false, c.End);
        e.Core.TypeUtf16(u"x");
        EXPECT_EQ(e.Core.GetText(), c.After) << int(c.Mode);
        e.Core.CommandProcessor(ecUndo, 0, nullptr);
        EXPECT_EQ(e.Core.GetText(), text) << int(c.Mode);
        e.Core.CommandProcessor(ecRedo, 0, nullptr);
        EXPECT_EQ(e.Core.GetText(), c.After) << int(c.Mode);
    }
}

TEST(NoteEditCore, UndoingAColumnDeletionPutsTheCaretAfterTheRestoredCharacter) {
    Editor e;
    e.Text("abcd\r\n" + Wen + Zhong + "x");
    e.Core.SetSelectionMode(smColumn);
    e.Core.SetBlockBegin({2, 1});
    e.Core.SetBlockEnd({3, 2});  // line 2 starts the columns inside 文 and takes nothing
    e.Core.SetCaretXYEx(false, {3, 2});
    e.Core.TypeUtf16(u"y");
    e.Core.CommandProcessor(ecUndo, 0, nullptr);
    ASSERT_EQ(e.Core.GetText(), "abcd\r\n" + Wen + Zhong + "x");
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{3, 2}));
    e.Core.SetSelectionMode(smNormal);
    e.Core.SetBlockBegin(e.Core.CaretXY());
    e.Core.TypeUtf16(u"z");
    EXPECT_EQ(e.Core.GetText(), "abcd\r\n" + Wen + "z" + Zhong + "x");
}

TEST(NoteEditCore, HandlerChainsComeFirstAndTheCursorShowsWhatADragWouldTake) {
    Editor e;
    e.Text("abcdef");
    int seen = 0;
    e.Core.KbdHandler().KeyDownHandlers.Add({}, [&](void*, std::uint16_t& key, TNoteShiftState) {
        ++seen;
        if (key == 0x27) key = 0;  // the right arrow is taken before the key table
    });
    EXPECT_TRUE(e.Core.ProcessKeyDown(0x27, 0));
    EXPECT_EQ(e.Core.CaretX(), 1);
    EXPECT_EQ(seen, 1);
    e.Core.SetBlockBegin({2, 1});
    e.Core.SetBlockEnd({4, 1});
    const int ibeam = -4, arrow = -2;  // crIBeam, crArrow
    EXPECT_EQ(e.Core.MouseCursorAt(2 + 2 * 6 + 1, 3, ibeam, false), arrow);
    EXPECT_EQ(e.Core.MouseCursorAt(2 + 2 * 6 + 1, 3, ibeam, true), ibeam);  // while selecting
    EXPECT_EQ(e.Core.MouseCursorAt(2 + 5 * 6 + 1, 3, ibeam, false), ibeam);
}

// An editor freed before its highlighter and its search engine takes its hooks with it, so
// neither calls it back, not on a change of the highlighter's attributes nor when they go.
TEST(NoteEditCore, EditorFreedBeforeItsHighlighterAndSearchEngine) {
    TNoteCustomHighlighter highlighter;
    TNoteEditSearchCustom engine;
    auto editor = std::make_unique<Editor>();
    editor->Core.SetHighlighter(&highlighter);
    editor->Core.SetSearchEngine(&engine);
    const auto hooks = [&] {
        return std::vector<int>{highlighter.AttrChangeHookCount(), highlighter.FreeNotificationCount(),
                                engine.FreeNotificationCount()};
    };
    ASSERT_EQ(hooks(), (std::vector<int>{1, 1, 1}));
    editor.reset();
    ASSERT_EQ(hooks(), (std::vector<int>{0, 0, 0}));
    highlighter.SetEnabled(false);
}
