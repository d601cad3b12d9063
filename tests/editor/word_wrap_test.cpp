#include <gtest/gtest.h>

#include <random>

#include "editor/core/NoteEditHighlighter.h"
#include "editor/core/NoteEditWordWrap.h"

namespace {
const std::string Zhong = "\xD6\xD0";

class WrapHost : public INoteWrapHost {
public:
    explicit WrapHost(int width) { Wrap.SetStyle(wwsSpecified), Wrap.SetPosition(width); }
    TNoteEditStringList& WrapLines() override { return Lines; }
    int CharsInWindow() const override { return Chars; }
    const TNoteRightEdge& RightEdge() const override { return Edge; }
    const TNoteWordWrap& WordWrap() const override { return Wrap; }
    TNoteByteSet IdentChars() const override { return NoteDefaultIdentChars(); }

    TNoteEditStringList Lines;
    TNoteRightEdge Edge;
    TNoteWordWrap Wrap;
    int Chars = 0;
};

std::vector<int> Rows(const TNoteWordWrapPlugin& wrap, int line) {
    std::vector<int> rows;
    for (int r = 0; r < wrap.LineRowCount(line); ++r) rows.push_back(wrap.RowLength(wrap.LineFirstRow(line) + r));
    return rows;
}

std::vector<int> WrapOne(const std::string& text, int width, int tabWidth = 8) {
    WrapHost host(width);
    host.Lines.SetTabWidth(tabWidth);
    host.Lines.Add(text);
    TNoteWordWrapPlugin wrap(&host);
    return Rows(wrap, 0);
}

using R = std::vector<int>;
}  // namespace

TEST(NoteWordWrap, BreaksAtBlanksBreakCharactersOrTheMaximum) {
    EXPECT_EQ(WrapOne(std::string(200, 'a'), 80), (R{80, 80, 40}));
    // The last blank found between column 56 and 80 ends the row.
    EXPECT_EQ(WrapOne(std::string(60, 'a') + " " + std::string(40, 'b'), 80), (R{61, 40}));
    // A blank left of the minimum (54) does not count: a hard break.
    EXPECT_EQ(WrapOne(std::string(50, 'a') + " " + std::string(50, 'b'), 80), (R{80, 21}));
    // The 81st byte is a blank: the row takes it and the blanks after it.
    EXPECT_EQ(WrapOne(std::string(80, 'a') + "   bbb", 80), (R{83, 3}));
    EXPECT_EQ(WrapOne(std::string(80, 'a') + "   ", 80), (R{83, 0}));  // the caret's row after the blanks
    EXPECT_EQ(WrapOne("", 80), (R{0}));
    EXPECT_EQ(WrapOne(std::string(300, ' '), 80), (R{255, 45}));
    EXPECT_EQ(WrapOne("abc", 1), (R{1, 1, 1}));
}

TEST(NoteWordWrap, NeverSplitsADoubleByteCharacter) {
    std::string line = "a";
    for (int i = 0; i < 40; ++i) line += Zhong;  // the 80th byte is a lead byte
    EXPECT_EQ(WrapOne(line, 80), (R{79, 2}));
    // A maximum of 1: the character still goes whole into its row.
    EXPECT_EQ(WrapOne(Zhong + "a", 1), (R{2, 1}));
    EXPECT_EQ(WrapOne(Zhong + Zhong, 1), (R{2, 2, 0}));  // the last row never exceeds the maximum
    // A lone lead byte at the line's end is a byte of its own.
    EXPECT_EQ(WrapOne("ab\xD6", 1), (R{1, 1, 1}));
}

TEST(NoteWordWrap, TabsAtWidthsOneEightAndTwoFiftySix) {
    EXPECT_EQ(WrapOne("aaa\tbbb", 3, 1), (R{4, 3}));  // the tab became a blank that ends the row
    EXPECT_EQ(WrapOne(std::string(40, '\t'), 80, 8), (R{248, 72}));  // cut back to a tab stop
    // One tab spans 255 bytes: no tab stop to cut back to, so the row is cut at 255.
    EXPECT_EQ(WrapOne("x\ty", 80, 256), (R{255, 2}));
    EXPECT_EQ(WrapOne(std::string(3, '\t'), 80, 256), (R{255, 255, 255, 3}));
}

TEST(NoteWordWrap, MaximumIsClampedNotTruncated) {
    WrapHost host(300);
    host.Lines.Add(std::string(600, 'a'));
    TNoteWordWrapPlugin wrap(&host);
    EXPECT_EQ(wrap.MaxRowLength(), 255);
    EXPECT_EQ(wrap.MinRowLength(), 170);
    EXPECT_EQ(Rows(wrap, 0), (R{255, 255, 90}));
    host.Wrap.SetPosition(256);
    wrap.WidthChanged();
    EXPECT_EQ(wrap.MaxRowLength(), 255);
    host.Wrap.SetPosition(0);  // no width yet: no rows
    wrap.WidthChanged();
    EXPECT_EQ(wrap.RowCount(), 0);
    EXPECT_EQ(wrap.AfterInsert(0, 1), 0);
    EXPECT_EQ(wrap.BufferToRow({5, 1}), (TDisplayCoord{5, 1}));

    host.Wrap.SetStyle(wwsRightEdge);
    host.Edge.SetPosition(80);
    wrap.WidthChanged();
    EXPECT_EQ(wrap.MaxRowLength(), 80);
    EXPECT_EQ(wrap.MinRowLength(), 54);
    host.Wrap.SetStyle(wwsClientWidth);
    host.Chars = 10;
    wrap.WrapAll();
    EXPECT_EQ(wrap.MaxRowLength(), 10);
    EXPECT_EQ(wrap.BreakChars().count(), 33u);
    EXPECT_TRUE(wrap.BreakChars()[' ']);
    EXPECT_THROW(TNoteWordWrapPlugin(nullptr), Exception);
}

TEST(NoteWordWrap, PositionsBothWays) {
    WrapHost host(80);
    host.Lines.Add(std::string(200, 'a'));  // rows 1-3: 80, 80, 40
    host.Lines.Add("");                     // row 4
    host.Lines.Add("xyz");                  // row 5
    TNoteWordWrapPlugin wrap(&host);
    ASSERT_EQ(wrap.RowCount(), 5);
    EXPECT_EQ(wrap.BufferToRow({1, 1}), (TDisplayCoord{1, 1}));
    EXPECT_EQ(wrap.BufferToRow({80, 1}), (TDisplayCoord{80, 1}));
    EXPECT_EQ(wrap.BufferToRow({81, 1}), (TDisplayCoord{1, 2}));  // just after a row: the next row
    EXPECT_EQ(wrap.BufferToRow({201, 1}), (TDisplayCoord{41, 3}));
    EXPECT_EQ(wrap.BufferToRow({250, 1}), (TDisplayCoord{90, 3}));
    EXPECT_EQ(wrap.BufferToRow({1, 2}), (TDisplayCoord{1, 4}));
    EXPECT_EQ(wrap.BufferToRow({2, 5}), (TDisplayCoord{2, 7}));  // beyond the lines
    EXPECT_EQ(wrap.RowToBuffer({1, 2}), (TBufferCoord{81, 1}));
    EXPECT_EQ(wrap.RowToBuffer({200, 2}), (TBufferCoord{161, 1}));  // limited to the row
    EXPECT_EQ(wrap.RowToBuffer({200, 3}), (TBufferCoord{81 + 160, 1}));  // last row: maximum + 1
    EXPECT_EQ(wrap.RowToBuffer({4, 5}), (TBufferCoord{4, 3}));
    EXPECT_EQ(wrap.RowToBuffer({3, 8}), (TBufferCoord{3, 6}));
    for (int c = 1; c <= 201; ++c) EXPECT_EQ(wrap.RowToBuffer(wrap.BufferToRow({c, 1})), (TBufferCoord{c, 1}));
    EXPECT_EQ(wrap.RowLength(5), 3);
    try {
        wrap.RowLength(6);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (6)");
    }
}

// A line ending in blanks past the maximum: the blanks stay on their row and the position
// after them starts the line's next, empty row, where the wrapped caret goes.
TEST(NoteWordWrap, TrailingBlankRunLeavesTheCaretARow) {
    WrapHost host(80);
    host.Lines.Add(std::string(80, 'a') + "   ");
    host.Lines.Add("next");
    TNoteWordWrapPlugin wrap(&host);
    ASSERT_EQ(wrap.RowCount(), 3);
    EXPECT_EQ(wrap.BufferToRow({83, 1}), (TDisplayCoord{83, 1}));
    EXPECT_EQ(wrap.BufferToRow({84, 1}), (TDisplayCoord{1, 2}));
    EXPECT_EQ(wrap.BufferToRow({90, 1}), (TDisplayCoord{7, 2}));
    EXPECT_EQ(wrap.RowToBuffer({200, 1}), (TBufferCoord{84, 1}));
    EXPECT_EQ(wrap.RowToBuffer({1, 2}), (TBufferCoord{84, 1}));
    EXPECT_EQ(wrap.RowToBuffer({200, 2}), (TBufferCoord{81 + 83, 1}));  // maximum + 1 past the earlier rows
    EXPECT_EQ(wrap.RowToBuffer({1, 3}), (TBufferCoord{1, 2}));
    for (int c = 1; c <= 84; ++c) EXPECT_EQ(wrap.RowToBuffer(wrap.BufferToRow({c, 1})), (TBufferCoord{c, 1}));
}

TEST(NoteWordWrap, EditsMatchAFullRewrap) {
    WrapHost host(20);
    std::mt19937 random(7);
    const auto randomLine = [&] {
        std::string line;
        const int len = random() % 70;
        for (int i = 0; i < len; ++i) {
            const int kind = random() % 10;
            line += kind == 0 ? std::string(" ") : kind == 1 ? std::string("\t") : kind < 4 ? Zhong : std::string("w");
        }
        return line;
    };
    for (int i = 0; i < 30; ++i) host.Lines.Add(randomLine());
    TNoteWordWrapPlugin wrap(&host);
    for (int step = 0; step < 300; ++step) {
        const int count = host.Lines.Count();
        const int rowsBefore = wrap.RowCount();
        switch (random() % 3) {
        case 0: {
            const int index = random() % (count + 1), n = 1 + random() % 3;
            for (int k = 0; k < n; ++k) host.Lines.Insert(index, randomLine());
            const int added = wrap.AfterInsert(index, n);
            EXPECT_EQ(added, wrap.RowCount() - rowsBefore);
            break;
        }
        case 1: {
            if (count == 0) break;
            const int index = random() % count, n = std::min(1 + static_cast<int>(random() % 3), count - index);
            host.Lines.RemoveLines(index, n);
            const int removed = wrap.AfterDelete(index, n);
            EXPECT_EQ(removed, rowsBefore - wrap.RowCount());
            break;
        }
        default: {
            if (count == 0) break;
            const int index = random() % count;
            host.Lines.Put(index, randomLine());
            const int change = wrap.AfterReplace(index, 1);
            EXPECT_EQ(change, wrap.RowCount() - rowsBefore);
        }
        }
        TNoteWordWrapPlugin fresh(&host);
        ASSERT_EQ(wrap.RowCount(), fresh.RowCount()) << "step " << step;
        for (int row = 1; row <= wrap.RowCount(); ++row) ASSERT_EQ(wrap.RowLength(row), fresh.RowLength(row));
    }
    EXPECT_THROW(wrap.AfterDelete(host.Lines.Count(), 1), Exception);
}

// In-place splices of long lines re-wrap only the rows they reach: rows and positions both
// ways match a full re-wrap, whatever the splice (blank runs, GBK pairs, lone lead bytes, a
// tab put in or taken out).
TEST(NoteWordWrap, SplicesMatchAFullRewrap) {
    std::mt19937 random(11);
    const auto randomBytes = [&](int len, int tabOdds) {
        std::string s;
        while (static_cast<int>(s.size()) < len) {
            const int kind = random() % 12;
            s += kind == 0 ? std::string(1 + random() % 300, ' ') : kind == 1 ? std::string("\xD6") : kind < 7 ? Zhong
                 : kind == 7 && random() % tabOdds == 0 ? std::string("\t") : std::string("w,");
        }
        return s;
    };
    for (int width : {20, 300}) {
        WrapHost host(width);
        for (int i = 0; i < 3; ++i) host.Lines.Add(randomBytes(3000, 40));
        TNoteWordWrapPlugin wrap(&host);
        host.Lines.OnLineSpliced = [&](void*, int index, int offset, int removed, int inserted) {
            wrap.LineSpliced(index, offset, removed, inserted);
        };
        host.Lines.OnLineReplaced = [&](void*, int index, int count) { wrap.AfterReplace(index, count); };
        for (int step = 0; step < 150; ++step) {
            const int index = random() % 3;
            const int len = static_cast<int>(host.Lines.Get(index).size());
            const int offset = random() % (len + 1);
            if (random() % 2) host.Lines.InsertBytes(index, offset, randomBytes(random() % 4 ? 1 + random() % 3 : 400, 8));
            else host.Lines.DeleteBytes(index, offset, std::min<int>(random() % 4 ? 1 + random() % 3 : 400, len - offset));
            TNoteWordWrapPlugin fresh(&host);
            ASSERT_EQ(wrap.RowCount(), fresh.RowCount()) << "width " << width << " step " << step;
            for (int row = 1; row <= wrap.RowCount(); ++row) {
                ASSERT_EQ(wrap.RowLength(row), fresh.RowLength(row)) << "step " << step << " row " << row;
                ASSERT_EQ(wrap.RowToBuffer({1, row}), fresh.RowToBuffer({1, row}));
            }
            const int expanded = host.Lines.ExpandedLineLength(index);
            for (int c = 1; c <= expanded + 2; c += 7)
                ASSERT_EQ(wrap.BufferToRow({c, index + 1}), fresh.BufferToRow({c, index + 1})) << "step " << step;
        }
    }
}
