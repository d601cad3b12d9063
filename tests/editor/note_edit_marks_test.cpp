// Marks and bookmarks on an editor made here (the notes place none): they follow edits of
// lines and columns, never stand on a trail byte, and show in the gutter plan.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>

#include "editor/core/NoteEditCore.h"
#include "tests/editor/NoteEditHosts.h"

namespace {
struct FakeHost : TNullNoteHost {
    std::vector<TNoteTransientType> Transients;
    std::vector<TRect> Invalidated;
    void HostPaintTransient(TNoteTransientType t) override { Transients.push_back(t); }
    void HostInvalidate(const TRect& r) override { Invalidated.push_back(r); }
};

// 6x12 cells, 40 columns, 10 rows, a gutter of 30 pixels.
struct Editor {
    FakeHost Host;
    TNoteEditCore Core{Host};
    Editor() {
        Core.CharMetricsChanged(6, 12);
        Core.ViewSizeChanged(30 + 40 * 6 + 2, 10 * Core.LineHeight());
    }
    void Run(TNoteEditorCommand c, char ch = 0, void* data = nullptr) { Core.CommandProcessor(c, ch, data); }
    void Go(int column, int line) {
        TBufferCoord p{column, line};
        Run(ecGotoXY, 0, &p);
    }
    void Type(std::string_view s) {
        for (char c : s) Run(ecChar, c);
    }
    std::pair<int, int> Mark(int n) const {
        int column = 0, line = 0;
        EXPECT_TRUE(Core.GetBookMark(n, column, line));
        return {column, line};
    }
};

const std::string Zhong = "\xD6\xD0";  // 中
}  // namespace

TEST(NoteEditMarks, BookmarksFollowEditsOfColumnsAndLines) {
    struct Case {
        const char* Name;
        std::string Text;
        int MarkColumn, MarkLine;
        std::function<void(Editor&)> Edit;
        int Column, Line;
    } cases[] = {
        {"typed before it", "abcdef", 4, 1, [](Editor& e) { e.Go(2, 1); e.Type("xy"); }, 6, 1},
        {"typed behind it", "abcdef", 4, 1, [](Editor& e) { e.Go(5, 1); e.Type("xy"); }, 4, 1},
        {"double-byte typed before it", "abc", 2, 1,
         [](Editor& e) { e.Go(1, 1); e.Core.CommandProcessor(ecImeStr, 0, const_cast<char*>(Zhong.c_str())); }, 4, 1},
        {"deleted before it", "abcdef", 5, 1, [](Editor& e) { e.Go(2, 1); e.Run(ecDeleteChar); e.Run(ecDeleteChar); }, 3, 1},
        {"its character deleted", "abcdef", 4, 1, [](Editor& e) { e.Go(3, 1); e.Run(ecDeleteChar); e.Run(ecDeleteChar); }, 3, 1},
        {"line inserted above", "ab\r\ncd", 2, 2, [](Editor& e) { e.Go(1, 1); e.Run(ecLineBreak); }, 2, 3},
        {"line above deleted", "ab\r\ncd\r\nef", 2, 3, [](Editor& e) { e.Go(1, 1); e.Run(ecDeleteLine); }, 2, 2},
        {"its line deleted", "ab\r\ncd\r\nef", 2, 2, [](Editor& e) { e.Go(1, 2); e.Run(ecDeleteLine); }, 1, 2},
        {"undo of the typing", "abcdef", 4, 1, [](Editor& e) { e.Go(2, 1); e.Type("xy"); e.Run(ecUndo); }, 4, 1},
        {"moved onto a trail byte", "ab\r\n" + Zhong + "x", 2, 1, [](Editor& e) { e.Go(1, 1); e.Run(ecDeleteLine); }, 1, 1},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Core.SetTextBytes(c.Text);
        e.Core.SetBookMark(3, c.MarkColumn, c.MarkLine);
        c.Edit(e);
        EXPECT_EQ(e.Mark(3), std::make_pair(c.Column, c.Line)) << c.Name;
    }
}

// The reported fault: a bookmark jump onto a trail byte, and Delete then cut two characters.
TEST(NoteEditMarks, BookmarkJumpNeverSplitsACharacter) {
    Editor e;
    e.Core.SetTextBytes("abc");
    e.Core.SetBookMark(0, 2, 1);  // before b
    e.Go(1, 1);
    e.Core.CommandProcessor(ecImeStr, 0, const_cast<char*>(Zhong.c_str()));
    e.Run(ecGotoMarker0);
    EXPECT_EQ(e.Core.CaretX(), 4);
    e.Run(ecDeleteChar);
    EXPECT_EQ(e.Core.GetText(), Zhong + "ac");
    // A mark put on a trail byte by hand: the jump lands before the character.
    e.Core.Marks().Items(0)->SetChar(2);
    e.Run(ecGotoMarker0);
    EXPECT_EQ(e.Core.CaretX(), 1);
}

TEST(NoteEditMarks, PlaceAndClearEvents) {
    Editor e;
    EXPECT_EQ(e.Core.BookMarkOptions().Owner(), &e.Core);
    e.Core.SetTextBytes("one\r\ntwo");
    std::vector<int> cleared;
    bool refuse = true;
    e.Core.OnPlaceBookmark = [&](void*, TNoteEditMark*& m) {
        if (refuse) m = nullptr;
    };
    e.Core.OnClearBookmark = [&](void*, TNoteEditMark*& m) { cleared.push_back(m->BookmarkNumber()); };
    e.Core.SetBookMark(1, 1, 1);
    int column = 0, line = 0;
    EXPECT_FALSE(e.Core.GetBookMark(1, column, line));
    EXPECT_EQ(e.Core.Marks().Count(), 0);
    refuse = false;
    e.Core.SetBookMark(1, 1, 1);
    e.Core.SetBookMark(1, 2, 2);  // the old one is cleared first
    EXPECT_EQ(cleared, std::vector<int>{1});
    EXPECT_EQ(e.Core.Marks().Count(), 1);
    EXPECT_EQ(e.Mark(1), std::make_pair(2, 2));
    // Out of range: nothing.
    e.Core.SetBookMark(10, 1, 1);
    e.Core.SetBookMark(2, 1, 3);
    EXPECT_EQ(e.Core.Marks().Count(), 1);
    // ecSetMarker on the same line clears it.
    e.Go(1, 2);
    e.Run(ecSetMarker0 + 1);
    EXPECT_EQ(cleared, (std::vector<int>{1, 1}));
    EXPECT_FALSE(e.Core.GetBookMark(1, column, line));
    e.Run(ecSetMarker0 + 4);
    e.Run(ecClearAll);
    EXPECT_EQ(e.Core.Marks().Count(), 0);
    EXPECT_FALSE(e.Core.GetBookMark(4, column, line));
}

TEST(NoteEditMarks, GutterShowsGlyphsNumbersAndAnswersClicks) {
    Editor e;
    e.Core.SetTextBytes("a\r\nb\r\nc");
    e.Core.Gutter().SetShowLineNumbers(true);
    e.Core.OnGutterGetText = [](void*, int line, std::string& text) { text = "L" + std::to_string(line); };
    e.Core.SetBookMark(5, 1, 2);
    // A plain mark and a bookmark on line 2: the bookmark comes first.
    auto plain = std::make_unique<TNoteEditMark>(&e.Core);
    plain->SetLine(2);
    plain->SetImageIndex(7);
    plain->SetVisible(true);
    TNoteEditMark* plainMark = plain.get();
    e.Core.Marks().Add(std::move(plain));
    e.Core.SetBookMark(6, 1, 2);
    for (int i = 0; i < 20; ++i) {
        auto m = std::make_unique<TNoteEditMark>(&e.Core);
        m->SetLine(3);
        e.Core.Marks().Add(std::move(m));
    }
    EXPECT_EQ(e.Core.Marks().MarksOfLine(3).size(), 16u);

    const TNotePaintPlan plan = e.Core.PlanPaint(Rect(0, 0, e.Core.ViewWidth(), e.Core.ViewHeight()), true);
    ASSERT_EQ(plan.GutterNumbers.size(), 3u);
    EXPECT_EQ(plan.GutterNumbers[1].Text, "L2");
    ASSERT_EQ(plan.GutterRows.size(), 3u);
    std::vector<std::tuple<int, int, int, bool>> marks;  // x, top, image, internal
    for (const TNoteGutterGlyph& g : plan.GutterGlyphs)
        if (g.Kind == ggMark) marks.emplace_back(g.X, g.Top, g.Image, g.Internal);
    const int row2 = e.Core.LineHeight();
    EXPECT_EQ(marks, (std::vector<std::tuple<int, int, int, bool>>{{2, row2, 5, true}, {14, row2, 6, true}, {26, row2, 7, false}}));

    struct Click {
        int X, Y, Line;
        TNoteEditMark* Mark;
    };
    std::vector<Click> clicks;
    e.Core.OnGutterClick = [&](void*, int, int x, int y, int line, TNoteEditMark* m) { clicks.push_back({x, y, line, m}); };
    e.Core.HandleMouseDown(0, NoteShift::Left, 27, row2 + 3);
    e.Core.HandleMouseUp(0, 0, 27, row2 + 3);
    e.Core.HandleMouseDown(0, NoteShift::Left, 5, 10 * row2);  // below the last line: nothing
    e.Core.HandleMouseUp(0, 0, 5, 10 * row2);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].Line, 2);
    EXPECT_EQ(clicks[0].Mark, plainMark);
    EXPECT_EQ(e.Core.GutterMarkAt(2, 3)->BookmarkNumber(), 5);
    EXPECT_EQ(e.Core.GutterMarkAt(1, 3), nullptr);
}

TEST(NoteEditMarks, SpecialCharsShowBlanksAndTheLineEnd) {
    Editor e;
    e.Core.Gutter().SetVisible(false);
    e.Core.SetTextBytes("a b" + Zhong);
    e.Core.SetOptions(e.Core.Options() | NoteOption(eoShowSpecialChars));
    const TNotePaintPlan plan = e.Core.PlanPaint(Rect(0, 0, e.Core.ViewWidth(), e.Core.ViewHeight()), false);
    ASSERT_EQ(plan.Rows.size(), 1u);
    std::vector<std::tuple<int, std::string, bool>> runs;
    for (const TNotePaintRun& r : plan.Rows[0].Runs) runs.emplace_back(r.X, r.Text, r.Special);
    EXPECT_EQ(runs, (std::vector<std::tuple<int, std::string, bool>>{
                        {2, "a", false}, {8, "\xB7", true}, {14, "b" + Zhong, false}, {32, "\xB6", true}}));
}

TEST(NoteEditMarks, MouseCursorEventAndTransientPaints) {
    Editor e;
    e.Core.SetTextBytes("abc");
    TBufferCoord seen{};
    e.Core.OnMouseCursor = [&](void*, const TBufferCoord& p, int& cursor) {
        seen = p;
        cursor = 42;
    };
    EXPECT_EQ(e.Core.MouseCursorAt(30 + 2 + 6 * 2 + 1, 1, 0, false), 42);
    EXPECT_EQ(seen, (TBufferCoord{3, 1}));
    e.Host.Transients.clear();
    e.Run(ecChar, 'x');
    ASSERT_GE(e.Host.Transients.size(), 2u);
    EXPECT_EQ(e.Host.Transients.front(), ttBefore);
    EXPECT_EQ(e.Host.Transients.back(), ttAfter);
}

TEST(NoteEditMarks, BookmarkTakenOutOfTheListIsGone) {
    for (bool clearAll : {false, true}) {
        Editor e;
        e.Core.SetTextBytes("abc\r\ndef");
        e.Core.SetBookMark(3, 2, 2);
        if (clearAll) e.Core.Marks().Clear();
        else e.Core.Marks().Remove(e.Core.Marks().Items(0));
        int column = 0, line = 0;
        EXPECT_FALSE(e.Core.GetBookMark(3, column, line)) << clearAll;
        e.Core.GotoBookMark(3);
        e.Core.ClearBookMark(3);
        e.Core.SetBookMark(3, 1, 1);
        EXPECT_EQ(e.Mark(3), std::make_pair(1, 1));
    }
}

TEST(NoteEditMarks, FarPositionsSaturateWhenTextMovesThem) {
    Editor e;
    e.Core.SetTextBytes("abc\r\ndef");
    e.Core.SetBookMark(0, INT_MAX, 1);
    auto far = std::make_unique<TNoteEditMark>(&e.Core);
    far->SetLine(INT_MAX);
    TNoteEditMark* farMark = far.get();
    e.Core.Marks().Add(std::move(far));
    e.Go(1, 1);
    e.Type("xy");  // columns in front of the bookmark
    EXPECT_EQ(e.Mark(0), std::make_pair(INT_MAX, 1));
    e.Run(ecLineBreak);  // a line in front of the far mark
    EXPECT_EQ(farMark->Line(), 3);  // settled on the last line
}

TEST(NoteEditMarks, ClearEventMayDropTheMarkItself) {
    Editor e;
    e.Core.SetTextBytes("abc");
    e.Core.SetBookMark(2, 2, 1);
    e.Core.OnClearBookmark = [](void*, TNoteEditMark*& mark) { mark = nullptr; };
    e.Core.ClearBookMark(2);
    int column = 0, line = 0;
    EXPECT_FALSE(e.Core.GetBookMark(2, column, line));
    EXPECT_EQ(e.Core.Marks().Count(), 0);
}

// Adding, removing and clearing marks repaints the whole gutter (and only it).
TEST(NoteEditMarks, ListChangesRepaintTheGutter) {
    Editor e;
    e.Core.SetTextBytes("one\r\ntwo\r\nthree");
    const TRect gutter = Rect(0, 0, e.Core.GutterWidth(), e.Core.ViewHeight());
    ASSERT_EQ(e.Core.GutterWidth(), 30);
    auto mark = std::make_unique<TNoteEditMark>(&e.Core);
    mark->SetLine(2);
    mark->SetVisible(true);
    TNoteEditMark* added = mark.get();
    const std::function<void()> changes[] = {
        [&] { e.Core.Marks().Add(std::move(mark)); },
        [&] { e.Core.Marks().Remove(added); },
        [&] {
            e.Core.Marks().Add(std::make_unique<TNoteEditMark>(&e.Core));
            e.Host.Invalidated.clear();
            e.Core.Marks().Clear();
        },
    };
    for (const auto& change : changes) {
        e.Host.Invalidated.clear();
        change();
        ASSERT_EQ(e.Host.Invalidated.size(), 1u);
        EXPECT_EQ(e.Host.Invalidated[0], gutter);
    }
}
