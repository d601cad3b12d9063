// The editor core's text primitives: pasted and dropped text undone exactly (padding
// included), line and column blocks dropped where they were let go, pasted lines inserted
// with one event, and the byte-type and column rules on long lines.
#include <gtest/gtest.h>

#include <random>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditMiscProcs.h"
#include "tests/editor/NoteEditHosts.h"

namespace {
struct Editor {
    TClipboardNoteHost Host;
    TNoteEditCore Core{Host};
    explicit Editor(const std::string& text) {
        Host.Full = true;
        Core.CharMetricsChanged(6, 12);
        Core.ViewSizeChanged(40 * 6 + 2, 10 * Core.LineHeight());
        Core.SetTextBytes(text);
    }
    void Run(TNoteEditorCommand command) { Core.CommandProcessor(command, 0, nullptr); }
    void UndoAll() {
        while (Core.UndoList().HasItems()) Run(ecUndo);
    }
    void RedoAll() {
        while (Core.RedoList().HasItems()) Run(ecRedo);
    }
};

const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4";  // 中 文

// The type of each byte by walking the characters from the line's start.
TNoteByteType WalkedType(const std::string& s, int index) {
    size_t i = 0;
    while (i + 1 < static_cast<size_t>(index)) i += GbkCharLength(s, i);
    if (i + 1 > static_cast<size_t>(index)) return mbTrailByte;
    return GbkCharLength(s, i) == 2 ? mbLeadByte : mbSingleByte;
}
}  // namespace

TEST(NoteEditTextOps, PasteAndDropUndoToTheExactText) {
    struct Case {
        const char* Name;
        std::string Text;
        TBufferCoord Caret;
        std::string Clip;
        TNoteSelectionMode Mode;
        std::string After;
    } cases[] = {
        {"normal paste beyond the end", "ab\r\ncd", {5, 1}, "x", smNormal, "ab  x\r\ncd"},
        {"normal paste of lines beyond the end", "ab", {4, 1}, "x\r\ny", smNormal, "ab x\r\ny"},
        {"column paste below the last line", "ab\r\ncd", {2, 2}, "1\r\n2\r\n3", smColumn, "ab\r\nc1d\r\n 2\r\n 3"},
        {"column paste over short lines", "abcd\r\n\r\nabcd", {3, 1}, "1\r\n2\r\n3", smColumn, "ab1cd\r\n  2\r\nab3cd"},
        {"column paste with an empty piece", "abcd\r\n", {3, 1}, "1\r\n", smColumn, "ab1cd\r\n"},
        {"line paste", "ab\r\ncd", {2, 2}, "x\r\n", smLine, "ab\r\nx\r\ncd"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Editor e(c.Text);
        e.Core.SetCaretXY(c.Caret);
        e.Host.Text = c.Clip;
        e.Host.Mode = c.Mode;
        e.Run(ecPaste);
        EXPECT_EQ(e.Core.GetText(), c.After);
        e.UndoAll();
        EXPECT_EQ(e.Core.GetText(), c.Text);
        e.RedoAll();
        EXPECT_EQ(e.Core.GetText(), c.After);
    }
}

TEST(NoteEditTextOps, DropBeyondALineEndUndoesItsBlanks) {
    Editor e("abc\r\nx");
    e.Core.SetCaretAndSelection({2, 1}, {1, 1}, {2, 1});  // "a"
    e.Core.DropFrom(e.Core, {4, 2}, false);
    EXPECT_EQ(e.Core.GetText(), "abc\r\nx  a");
    e.UndoAll();
    EXPECT_EQ(e.Core.GetText(), "abc\r\nx");
}

TEST(NoteEditTextOps, DeleteFromBeyondTheEndUndoesItsBlanks) {
    Editor e("ab\r\ncd");  // trailing blanks of the kept text must come back too
    e.Core.SetOptions(e.Core.Options() & ~NoteOption(eoTrimTrailingSpaces));
    e.Core.SetTextBytes("ab  \r\ncd");
    e.Core.SetCaretXY({7, 1});
    e.Run(ecDeleteChar);  // joins the next line at the caret
    EXPECT_EQ(e.Core.GetText(), "ab    cd");
    e.UndoAll();
    EXPECT_EQ(e.Core.GetText(), "ab  \r\ncd");
}

TEST(NoteEditTextOps, MovedLineAndColumnBlocksLandWhereDropped) {
    struct Case {
        const char* Name;
        std::string Text;
        TNoteSelectionMode Mode;
        TBufferCoord Anchor, Caret, Drop;
        std::string After;
    } cases[] = {
        {"lines moved down", "l1\r\nl2\r\nl3\r\nl4", smLine, {1, 1}, {1, 2}, {2, 4}, "l3\r\nl1\r\nl2\r\nl4"},
        {"lines moved up (the last line stays, emptied)", "l1\r\nl2\r\nl3\r\nl4", smLine, {1, 3}, {2, 4}, {1, 1},
         "l3\r\nl4\r\nl1\r\nl2\r\n"},
        {"column moved right on its lines", "ab" + Zhong + "cd\r\nab" + Wen + "cd", smColumn, {3, 1}, {5, 2}, {6, 1},
         "abc" + Zhong + "d\r\nabc" + Wen + "d"},
        {"column moved below", "a" + Zhong + "\r\nb" + Wen + "\r\nxyz\r\nxyz", smColumn, {2, 1}, {4, 2}, {2, 3},
         "a\r\nb\r\nx" + Zhong + "yz\r\nx" + Wen + "yz"},
        {"text joined to a lone lead byte", "\xD6 b\r\nxab", smNormal, {2, 2}, {4, 2}, {2, 1}, "\xD6" "ab b\r\nx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Editor e(c.Text);
        e.Core.SetSelectionMode(c.Mode);
        e.Core.SetCaretAndSelection(c.Caret, c.Anchor, c.Caret);
        e.Core.DropFrom(e.Core, c.Drop, true);
        EXPECT_EQ(e.Core.GetText(), c.After);
        EXPECT_NE(NoteByteType(e.Core.LineText(), e.Core.CaretX()), mbTrailByte);
        const TBufferCoord begin = e.Core.BlockBegin();
        if (c.Mode != smColumn) {
            EXPECT_NE(NoteByteType(e.Core.Lines().Get(begin.Line - 1), begin.Char), mbTrailByte);
        }
        e.UndoAll();
        EXPECT_EQ(e.Core.GetText(), c.Text);
    }
}

TEST(NoteEditTextOps, PastedLinesComeInOneStep) {
    Editor e("first\r\nlast");
    e.Core.WordWrap().SetStyle(wwsSpecified);
    e.Core.WordWrap().SetPosition(4);
    e.Core.WordWrap().SetEnabled(true);
    int events = 0, lines = 0;
    const TNoteLinesEvent inner = e.Core.Lines().OnLinesInserted;
    e.Core.Lines().OnLinesInserted = [&](void* sender, int index, int count) {
        ++events;
        lines += count;
        inner(sender, index, count);
    };
    e.Core.SetCaretXY({3, 1});
    e.Host.Text = "one two\r\nthree\r\n\r\nfour five six";
    e.Run(ecPaste);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(lines, 3);
    // The wrap map built in one step equals one built afresh.
    const TNoteWordWrapPlugin& wrap = *e.Core.WrapPlugin();
    std::vector<int> rows;
    for (int r = 1; r <= wrap.RowCount(); ++r) rows.push_back(wrap.RowLength(r));
    e.Core.WordWrap().SetPosition(5);
    e.Core.WordWrap().SetPosition(4);
    std::vector<int> fresh;
    for (int r = 1; r <= e.Core.WrapPlugin()->RowCount(); ++r) fresh.push_back(e.Core.WrapPlugin()->RowLength(r));
    EXPECT_EQ(rows, fresh);
}

TEST(NoteEditStringList, InsertLinesFiresOnce) {
    TNoteEditStringList list;
    list.SetText("a\r\nd");
    std::vector<std::pair<int, int>> events;
    list.OnLinesInserted = [&](void*, int index, int count) { events.emplace_back(index, count); };
    list.InsertLines(1, {"b", "c"});
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST(NoteEditMiscProcs, ByteTypeFromTheNearestCharacterEndMatchesAWalk) {
    // Bytes of every kind: ASCII, lead-range bytes that pair with each other, trail bytes
    // below the lead range, 0x7F, 0x80 and 0xFF.
    const unsigned char bytes[] = {'a', ' ', 0x41, 0x7F, 0x80, 0x81, 0xA1, 0xB0, 0xD6, 0xFE, 0xFF, 0x40, 0x61};
    std::mt19937 rng(7);
    for (int n = 0; n < 400; ++n) {
        std::string s;
        const int len = 1 + n % 40;
        for (int i = 0; i < len; ++i) s += static_cast<char>(bytes[rng() % std::size(bytes)]);
        for (int index = 1; index <= len; ++index) ASSERT_EQ(NoteByteType(s, index), WalkedType(s, index)) << n << ":" << index;
    }
}

TEST(NoteEditTextOps, ColumnsFollowATabAddedToALine) {
    Editor e("abcdef");
    EXPECT_EQ(e.Core.BufferToDisplayPos({4, 1}).Column, 4);
    e.Core.Lines().Put(0, "a\tbcdef");
    EXPECT_EQ(e.Core.BufferToDisplayPos({4, 1}).Column, 10);
    EXPECT_EQ(e.Core.DisplayToBufferPos({10, 1}).Char, 4);
}

TEST(NoteEditTextOps, ColumnCaseChangeOverShortLinesUndoesExactly) {
    Editor e("abc\r\n\r\nabc");
    e.Core.SetOptions(e.Core.Options() & ~NoteOption(eoTrimTrailingSpaces));
    e.Core.SetSelectionMode(smColumn);
    e.Core.SetCaretAndSelection({3, 3}, {2, 1}, {3, 3});
    e.Run(ecUpperCaseBlock);
    EXPECT_EQ(e.Core.GetText(), "aBc\r\n  \r\naBc");
    e.UndoAll();
    EXPECT_EQ(e.Core.GetText(), "abc\r\n\r\nabc");
    e.RedoAll();
    EXPECT_EQ(e.Core.GetText(), "aBc\r\n  \r\naBc");
}
