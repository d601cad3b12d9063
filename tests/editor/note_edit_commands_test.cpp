// The editor's commands on a buffer without a window: deletion, line breaks, typing, tabs,
// indents and case over GBK text, undo across groups, the clipboard through the host, the
// dispatcher's events, offsets and the wheel.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditMiscProcs.h"
#include "tests/editor/NoteEditHosts.h"

namespace {
struct Editor {
    TClipboardNoteHost Host;
    TNoteEditCore Core{Host};
    explicit Editor(int rows = 10) {
        Core.Gutter().SetVisible(false);
        Core.CharMetricsChanged(6, 12);
        Core.ViewSizeChanged(40 * 6 + 2, rows * Core.LineHeight());
    }
    void Run(TNoteEditorCommand command, char c = 0) { Core.CommandProcessor(command, c, nullptr); }
};

const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4";  // 中 文
}  // namespace

TEST(NoteEditCommands, EditingCommandsOnGbkText) {
    struct Case {
        const char* Name;
        std::string Text;
        TBufferCoord Caret;
        TNoteEditorCommand Command;
        std::string After;
        TBufferCoord CaretAfter;
    } cases[] = {
        {"backspace after GBK", "a" + Zhong + "b", {4, 1}, ecDeleteLastChar, "ab", {2, 1}},
        {"backspace at the start", "ab", {1, 1}, ecDeleteLastChar, "ab", {1, 1}},
        {"backspace joins", "ab\r\ncd", {1, 2}, ecDeleteLastChar, "abcd", {3, 1}},
        {"backspace lone lead byte", "x\xD6", {3, 1}, ecDeleteLastChar, "x", {2, 1}},
        {"backspace smart indent", "    x\r\n        y", {9, 2}, ecDeleteLastChar, "    x\r\n    y", {5, 2}},
        {"backspace beyond the end", "ab", {7, 1}, ecDeleteLastChar, "ab", {3, 1}},
        {"delete GBK", "a" + Zhong + "b", {2, 1}, ecDeleteChar, "ab", {2, 1}},
        {"delete at the very end", "ab", {3, 1}, ecDeleteChar, "ab", {3, 1}},
        {"delete joins padded", "ab\r\ncd", {4, 1}, ecDeleteChar, "ab cd", {4, 1}},
        {"delete word", "foo bar baz", {5, 1}, ecDeleteWord, "foo baz", {5, 1}},
        {"delete word at the end", "foo\r\n  bar", {4, 1}, ecDeleteWord, "foobar", {4, 1}},
        {"delete last word", "foo " + Zhong + "bar", {10, 1}, ecDeleteLastWord, "foo " + Zhong, {7, 1}},
        {"delete to line start", "abc" + Zhong + "d", {6, 1}, ecDeleteBOL, "d", {1, 1}},
        {"delete to line end", "abc" + Zhong + "d", {3, 1}, ecDeleteEOL, "ab", {3, 1}},
        {"delete line", "a\r\nb\r\nc", {1, 2}, ecDeleteLine, "a\r\nc", {1, 2}},
        {"delete last line", "a\r\nb", {2, 2}, ecDeleteLine, "a\r\n", {1, 2}},
        {"enter keeps the indent", "  ab", {4, 1}, ecLineBreak, "  a\r\n  b", {3, 2}},
        {"enter at the end", "  ab", {5, 1}, ecLineBreak, "  ab\r\n", {3, 2}},
        {"enter at column 1", "ab", {1, 1}, ecLineBreak, "\r\nab", {1, 2}},
        {"enter on an empty line", "  x\r\n", {1, 2}, ecLineBreak, "  x\r\n\r\n", {3, 3}},
        {"insert line", "abcd", {3, 1}, ecInsertLine, "ab\r\ncd", {3, 1}},
        {"tab to the next tab stop", "ab", {1, 1}, ecTab, "        ab", {9, 1}},
        {"smart tab", "foo bar\r\nx", {1, 2}, ecTab, "foo bar\r\n    x", {5, 2}},
        {"shift tab", "        ab", {9, 1}, ecShiftTab, "ab", {1, 1}},
        {"indent", "a\r\nb", {2, 1}, ecBlockIndent, "  a\r\nb", {4, 1}},
        {"unindent", " a\r\nb", {3, 1}, ecBlockUnindent, "a\r\nb", {2, 1}},
        {"upper case word", "say hello" + Zhong, {6, 1}, ecUpperCase, "say HELLO" + Zhong, {6, 1}},
        {"toggle case char", "aB", {1, 1}, ecToggleCaseBlock, "AB", {2, 1}},
        {"case after a letter-like trail byte", "x\x81" "ab", {4, 1}, ecUpperCase, "x\x81" "aB", {4, 1}},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Core.SetTextBytes(c.Text);
        e.Core.SetCaretXY(c.Caret);
        std::string changed = c.Text;  // what a handler of OnChange finds (the notes save it)
        e.Core.OnChange = [&](void*) { changed = e.Core.GetText(); };
        e.Run(c.Command);
        EXPECT_EQ(e.Core.GetText(), c.After) << c.Name;
        EXPECT_EQ(changed, c.After) << c.Name;
        EXPECT_EQ(e.Core.CaretXY(), c.CaretAfter) << c.Name;
        // Undo restores the text, redo the change.
        e.Run(ecUndo);
        EXPECT_EQ(e.Core.GetText(), c.Text) << c.Name;
        e.Run(ecRedo);
        EXPECT_EQ(e.Core.GetText(), c.After) << c.Name;
    }
}

TEST(NoteEditCommands, ReadOnlyKeepsTheText) {
    Editor e;
    e.Core.SetTextBytes("x b");
    e.Core.SetCaretXY({2, 1});
    e.Core.SetReadOnly(true);
    for (TNoteEditorCommand c : {ecDeleteLastChar, ecDeleteChar, ecLineBreak, ecTab, ecUndo, ecDeleteLine})
        e.Run(c);
    e.Run(ecChar, 'y');
    EXPECT_EQ(e.Core.GetText(), "x b");
}

TEST(NoteEditCommands, UndoAfterACaretMoveUndoesTheLastEditOnly) {
    Editor e;
    e.Core.SetTextBytes("");
    for (char c : std::string("abc")) e.Run(ecChar, c);
    e.Run(ecLeft);
    e.Run(ecChar, 'X');
    e.Run(ecEditorBottom);
    e.Run(ecDeleteLastChar);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.Core.GetText(), "ab");
    e.Run(ecUndo);  // both backspaces: one group of one reason
    EXPECT_EQ(e.Core.GetText(), "abXc");
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), "abc");
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), "");
    EXPECT_FALSE(e.Core.Modified());
    e.Run(ecRedo);
    e.Run(ecRedo);
    EXPECT_EQ(e.Core.GetText(), "abXc");
    // A new edit after an undo drops what could have been redone.
    e.Run(ecUndo);
    e.Run(ecChar, 'Z');  // where the undone X stood
    e.Run(ecRedo);
    EXPECT_EQ(e.Core.GetText(), "abZc");
}

TEST(NoteEditCommands, ClipboardKeepsTheSelectionMode) {
    Editor source;
    source.Core.SetTextBytes("ab" + Zhong + "cd\r\n1234567\r\nxyz");
    source.Core.SetSelectionMode(smColumn);
    source.Core.SetBlockBegin({2, 1});
    source.Core.SetBlockEnd({4, 2});
    source.Run(ecCopy);
    EXPECT_EQ(source.Host.Text, "b" + Zhong + "\r\n23");  // the bound on 中's trail byte moves right
    Editor target;
    target.Host = source.Host;
    target.Core.SetTextBytes("0000\r\n1111\r\n");
    target.Core.SetCaretXY({2, 1});
    target.Run(ecPaste);  // a column block, although the target is in normal mode
    EXPECT_EQ(target.Core.GetText(), "0b" + Zhong + "000\r\n123111\r\n");
    target.Run(ecUndo);
    EXPECT_EQ(target.Core.GetText(), "0000\r\n1111\r\n");
    // Text from another program takes the target's mode; the selection is replaced.
    target.Host.WithMode = false;
    target.Host.Text = "p\r\nq";
    target.Core.SetTextBytes("hello");
    target.Core.SetBlockBegin({2, 1});
    target.Core.SetBlockEnd({4, 1});
    target.Run(ecPaste);
    EXPECT_EQ(target.Core.GetText(), "hp\r\nqlo");
    EXPECT_EQ(target.Core.CaretXY(), (TBufferCoord{2, 2}));
    target.Run(ecUndo);  // the paste with its deleted selection, down to the begin marker
    EXPECT_EQ(target.Core.GetText(), "hello");
    // A line block goes in as whole lines in front of the caret's line.
    target.Host.Mode = smLine;
    target.Host.WithMode = true;
    target.Host.Text = "L1\r\n";
    target.Core.SetCaretXY({3, 1});
    target.Core.SetBlockBegin({3, 1});
    target.Run(ecPaste);
    EXPECT_EQ(target.Core.GetText(), "L1\r\nhello");
    // A lead byte cut off from its trail is not pasted to pair with the text after it.
    target.Host.Mode = smNormal;
    target.Host.Text = "a\xD6\r\n\xD6";
    target.Core.SetTextBytes("xy");
    target.Run(ecPaste);
    EXPECT_EQ(target.Core.GetText(), "a\r\nxy");
}

TEST(NoteEditCommands, CaseMapsAsciiOnlyAndKeepsDoubleByteCharacters) {
    const std::string odd = "\x81\x61";  // a GBK character whose trail byte is 'a'
    const std::string text = "ab" + odd + "Cd" + Zhong;
    EXPECT_EQ(NoteMapCase(text, cmUpper), "AB" + odd + "CD" + Zhong);
    EXPECT_EQ(NoteMapCase(text, cmLower), "ab" + odd + "cd" + Zhong);
    EXPECT_EQ(NoteMapCase(text, cmToggle), "AB" + odd + "cD" + Zhong);
    EXPECT_EQ(NoteMapCase("hELLO", cmTitle), "Hello");
}

TEST(NoteEditCommands, DispatcherEvents) {
    Editor e;
    e.Core.SetTextBytes("abc");
    std::vector<int> seen;
    e.Core.OnProcessCommand = [&](void*, TNoteEditorCommand& c, char&, void*) {
        if (c == ecRight) c = ecNone;
    };
    e.Core.OnProcessUserCommand = [&](void*, TNoteEditorCommand& c, char&, void*) { seen.push_back(-c); };
    e.Core.OnCommandProcessed = [&](void*, TNoteEditorCommand& c, char&, void*) { seen.push_back(c); };
    std::vector<int> hooked;
    const int hook = e.Core.AddCommandHook(
        [&](void*, bool after, bool& handled, TNoteEditorCommand& c, char& ch, void*, void*) {
            hooked.push_back(after ? c + 10000 : c);
            handled = !after && c == ecChar && ch == 'x';
        },
        nullptr);
    e.Run(ecRight);
    EXPECT_EQ(e.Core.CaretX(), 1);
    e.Run(1234);
    e.Run(ecEditorBottom);
    e.Run(ecChar, 'x');  // swallowed by the hook
    EXPECT_EQ(e.Core.GetText(), "abc");
    EXPECT_EQ(seen, (std::vector<int>{0, -1234, 1234, ecEditorBottom, 0}));
    EXPECT_EQ(hooked, (std::vector<int>{1234, 11234, ecEditorBottom, 10000 + ecEditorBottom, ecChar}));
    e.Core.RemoveCommandHook(hook);
    e.Run(ecChar, 'x');
    EXPECT_EQ(e.Core.GetText(), "abcx");
}

TEST(NoteEditCommands, PagesScrollsAndTheWheel) {
    Editor e(9);
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\r\n";
    e.Core.SetTextBytes(text);
    e.Core.SetOptions(e.Core.Options() | NoteOption(eoScrollByOneLess) | NoteOption(eoHalfPageScroll));
    e.Run(ecPageDown);
    EXPECT_EQ(e.Core.TopLine(), 4);
    EXPECT_EQ(e.Core.CaretY(), 4);
    e.Run(ecScrollDown);  // the caret falls out at the top: pulled down to the first row
    EXPECT_EQ(e.Core.TopLine(), 5);
    EXPECT_EQ(e.Core.CaretY(), 5);
    e.Core.MouseWheel(-60, false, 3);
    EXPECT_EQ(e.Core.TopLine(), 5);
    e.Core.MouseWheel(-60, false, 3);
    EXPECT_EQ(e.Core.TopLine(), 8);
    e.Core.MouseWheel(120, true, 3);  // Ctrl: half a page with eoHalfPageScroll
    EXPECT_EQ(e.Core.TopLine(), 4);
}

TEST(NoteEditCommands, OffsetsBracketsAndBookmarks) {
    Editor e;
    e.Core.SetTextBytes("abcde\r\nf(" + Zhong + "[x])\r\n)");
    EXPECT_EQ(e.Core.RowColToCharIndex({1, 2}), 7);
    for (int i = 0; i <= 18; ++i)  // an offset between CR and LF goes to the line's end
        EXPECT_EQ(e.Core.RowColToCharIndex(e.Core.CharIndexToRowCol(i)), i == 6 || i == 16 ? i - 1 : i) << i;
    EXPECT_EQ(e.Core.CharIndexToRowCol(20), (TBufferCoord{1, 4}));
    const TBufferCoord p = e.Core.CharFromPos(2 + 1, e.Core.LineHeight() + 1);  // line 2, column 1
    EXPECT_EQ(e.Core.RowColToCharIndex(p) + 1, 8);
    EXPECT_EQ(p.Line - 1, 1);
    EXPECT_EQ(e.Core.CharFromPos(2 + 100 * 6, 1), (TBufferCoord{6, 1}));
    EXPECT_EQ(e.Core.MatchingBracket({2, 2}), (TBufferCoord{8, 2}));
    EXPECT_EQ(e.Core.MatchingBracket({8, 2}), (TBufferCoord{2, 2}));
    EXPECT_EQ(e.Core.MatchingBracket({5, 2}), (TBufferCoord{7, 2}));
    EXPECT_EQ(e.Core.MatchingBracket({1, 3}), (TBufferCoord{0, 0}));
    e.Core.SetCaretXY({3, 2});
    e.Run(ecSetMarker0 + 4);
    e.Core.SetCaretXY({1, 1});
    e.Run(ecLineBreak);
    e.Run(ecGotoMarker0 + 4);
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{3, 3}));  // the mark moved down with its line
    e.Run(ecClearAll);
    EXPECT_EQ(e.Core.Lines().Count(), 0);
    EXPECT_FALSE(e.Core.UndoList().HasItems());
    EXPECT_FALSE(e.Core.Modified());
}

TEST(NoteEditCommands, DroppedTextMovesWithinAndCopiesBetweenEditors) {
    Editor e;
    const std::string text = "one " + Zhong + " two three";
    const auto select = [&](Editor& ed, int from, int to) {
        ed.Core.SetTextBytes(text);
        ed.Core.SetBlockBegin({from, 1});
        ed.Core.SetBlockEnd({to, 1});
    };
    select(e, 5, 7);                        // 中
    e.Core.DropFrom(e.Core, {6, 1}, true);  // inside its own selection: nothing
    EXPECT_EQ(e.Core.GetText(), text);
    e.Core.DropFrom(e.Core, {7, 1}, true);  // at its end, moving: nothing
    EXPECT_EQ(e.Core.GetText(), text);
    e.Core.DropFrom(e.Core, {7, 1}, false);  // at its end with Ctrl: copied there
    EXPECT_EQ(e.Core.GetText(), "one " + Zhong + Zhong + " two three");
    EXPECT_EQ(e.Core.SelText(), Zhong);
    select(e, 5, 7);
    e.Core.DropFrom(e.Core, {12, 1}, true);  // after the selection: the point shifts left
    EXPECT_EQ(e.Core.GetText(), "one  two " + Zhong + "three");
    EXPECT_EQ(e.Core.SelText(), Zhong);
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), text);
    Editor other;
    other.Core.SetTextBytes("xy");
    select(e, 1, 4);
    other.Core.DropFrom(e.Core, {2, 1}, false);
    EXPECT_EQ(other.Core.GetText(), "xoney");
    EXPECT_EQ(e.Core.GetText(), text);
    other.Core.DropFrom(e.Core, {1, 1}, true);  // Shift: moved out of the source
    EXPECT_EQ(e.Core.GetText(), " " + Zhong + " two three");
    EXPECT_EQ(other.Core.GetText(), "onexoney");
    // A press inside the selection that never drags is a plain click.
    select(e, 5, 9);
    const int y = 3;
    EXPECT_TRUE(e.Core.HandleMouseDown(0, NoteShift::Left, 2 + 5 * 6 + 1, y));
    EXPECT_TRUE(e.Core.DragPending());
    EXPECT_TRUE(e.Core.SelAvail());
    e.Core.HandleMouseUp(0, 0, 2 + 5 * 6 + 1, y);
    EXPECT_FALSE(e.Core.SelAvail());
    EXPECT_EQ(e.Core.CaretX(), 7);  // the right half of 中: after it
}

// The target's change handler raises (a note that cannot be saved): the source editor's
// group still ends, so its later edits are announced and undo alone.
TEST(NoteEditCommands, ADropWhoseTargetHandlerRaisesEndsTheSourceGroup) {
    int handled = 0;
    SetNoteExceptionHandler([&] { ++handled; });
    Editor source, target;
    source.Core.SetTextBytes("move me");
    source.Core.SetBlockBegin({1, 1});
    source.Core.SetBlockEnd({6, 1});
    target.Core.SetTextBytes("x");
    target.Core.OnChange = [](void*) { throw std::runtime_error("disk full"); };
    target.Core.DropFrom(source.Core, {2, 1}, true);
    SetNoteExceptionHandler(nullptr);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(source.Core.GetText(), "me");
    EXPECT_EQ(source.Core.UndoList().BlockCount(), 0);
    int changes = 0;
    source.Core.OnChange = [&](void*) { ++changes; };
    source.Core.SetCaretXY({3, 1});
    source.Run(ecChar, '!');
    EXPECT_EQ(changes, 1);
    source.Run(ecUndo);
    EXPECT_EQ(source.Core.GetText(), "me");
}

// A replacement that cannot be undone clears the undo list: undoing what follows it
// never reports the text saved before it as unmodified.
TEST(NoteEditCommands, UndoingAfterAReplacementWithoutUndoStaysModified) {
    Editor e;
    e.Core.SetTextBytes("abc");
    e.Core.SetModified(false);
    e.Core.SelectAll();
    e.Core.ReplaceSelText("xyz", false);
    e.Run(ecChar, 'q');
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), "xyz");
    EXPECT_TRUE(e.Core.Modified());
    e.Core.SetModified(false);  // saved as "xyz"
    e.Core.SelectAll();
    e.Core.ReplaceSelText("", false);
    e.Core.SetModified(false);  // and saved empty
    e.Run(ecChar, 'q');
    e.Run(ecUndo);
    EXPECT_FALSE(e.Core.Modified());
}

TEST(NoteEditCommands, EditsKeepDoubleByteCharactersAndUndoExactly) {
    // Trailing blanks cut by an edit come back with undo and go again with redo.
    for (const auto& [text, caret, command] : {std::tuple{std::string("\t\x81\x61"), TBufferCoord{4, 1}, ecDeleteLastChar},
                                               std::tuple{"\t" + Zhong, TBufferCoord{2, 1}, ecInsertLine},
                                               std::tuple{std::string("Zq  b"), TBufferCoord{11, 1}, ecDeleteLastWord}}) {
        Editor e;
        e.Core.SetTextBytes(text);
        e.Core.SetCaretXY(caret);
        e.Run(command);
        const std::string after = e.Core.GetText();
        e.Run(ecUndo);
        EXPECT_EQ(e.Core.GetText(), text);
        e.Run(ecRedo);
        EXPECT_EQ(e.Core.GetText(), after);
    }
    // A case change in overwrite mode replaces the word only.
    Editor e;
    e.Core.SetTextBytes("x \t" + Wen);
    e.Core.SetInsertMode(false);
    e.Run(ecUpperCase);
    EXPECT_EQ(e.Core.GetText(), "X \t" + Wen);
    // A position on a trail byte moves to its character's start.
    e.Core.SetInsertMode(true);
    e.Core.SetTextBytes("a" + Zhong);
    TBufferCoord p{3, 1};
    e.Core.CommandProcessor(ecGotoXY, 0, &p);
    e.Run(ecChar, 'y');
    EXPECT_EQ(e.Core.GetText(), "ay" + Zhong);
    // A column block whose left edge cuts a character on the caret's line.
    e.Core.SetTextBytes("abc\r\n" + Zhong + "x");
    e.Core.SetSelectionMode(smColumn);
    e.Core.SetCaretAndSelection({3, 2}, {2, 1}, {3, 2});
    e.Run(ecDeleteChar);
    e.Run(ecChar, 'y');
    EXPECT_EQ(e.Core.GetText(), "ac\r\n" + Zhong + "yx");
    e.Run(ecUndo);
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), "abc\r\n" + Zhong + "x");
    EXPECT_EQ(e.Core.CaretXY(), (TBufferCoord{3, 2}));
}

TEST(NoteEditCommands, SelectionsOverNoTextRaiseNothing) {
    // A line selection on an empty buffer, then a deletion.
    Editor e;
    e.Core.SetTextBytes("");
    e.Run(ecLineSelect);
    e.Run(ecSelRight);
    EXPECT_NO_THROW(e.Run(ecDeleteLastChar));
    EXPECT_EQ(e.Core.GetText(), "");
    // Undoing column pastes of blanks beyond an empty last line.
    e.Core.SetTextBytes("ab\r\n");
    e.Run(ecColumnSelect);
    e.Core.SetCaretXY({1, 2});
    e.Run(ecSelRight);
    e.Run(ecCopy);
    e.Run(ecPaste);
    e.Run(ecPaste);
    EXPECT_NO_THROW(e.Run(ecUndo));
    EXPECT_NO_THROW(e.Run(ecUndo));
    EXPECT_EQ(e.Core.GetText(), "ab\r\n");
}

TEST(NoteEditCommands, ShiftTabAndColumnUndoKeepDoubleByteCharacters) {
    // Shift+Tab beyond a line's end to a word start above that falls inside a character.
    Editor e;
    e.Core.SetOptions(e.Core.Options() | NoteOption(eoSmartTabs));
    e.Core.SetTextBytes("abc efgh\r\nb" + Zhong + "\x81\x61");
    e.Core.SetCaretXY({9, 2});
    e.Run(ecShiftTab);
    e.Run(ecChar, 'y');
    EXPECT_EQ(e.Core.GetText(), "abc efgh\r\nb" + Zhong + "y\x81\x61");
    // A column paste whose tab was trimmed away later is undone without cutting 文.
    e.Core.SetTextBytes(Wen + "\r\nx");
    e.Host.Text = "\t";
    e.Host.Mode = smColumn;
    e.Host.Full = true;
    e.Core.SetCaretXY({2, 1});
    e.Run(ecPaste);
    e.Run(ecDeleteChar);
    e.Run(ecUndo);
    e.Run(ecUndo);
    EXPECT_EQ(e.Core.GetText(), Wen + "\r\nx");
}

// Bytes that are no GBK: a lone lead byte joins whatever trail-range byte an edit brings next
// to it. The caret then goes after the character so formed, a column deletion undoes to the
// exact bytes, and a column case change puts the pieces back where they were cut.
TEST(NoteEditCommands, LoneLeadBytesKeepTheCaretWholeAndUndoExact) {
    const std::string Lead = "\xD6";
    struct Case {
        const char* Name;
        std::string Text;
        TBufferCoord Anchor, Caret;  // a column block when they differ
        TNoteEditorCommand Command;
        char Char;
        std::string After;
        TBufferCoord CaretAfter;
    } cases[] = {
        {"lead typed before a letter", "ab", {2, 1}, {2, 1}, ecChar, '\xD6', "a" + Lead + "b", {4, 1}},
        {"backspace between a lead and a letter", Lead + "1a", {3, 1}, {3, 1}, ecDeleteLastChar, 0, Lead + "a", {3, 1}},
        {"delete between a lead and a letter", Lead + "1a", {2, 1}, {2, 1}, ecDeleteChar, 0, Lead + "a", {3, 1}},
        {"column block behind a lead", Lead + "1a", {2, 1}, {3, 1}, ecDeleteChar, 0, Lead + "a", {3, 1}},
        {"column block over a line ending in a lead", "a" + Lead + "\r\n" + Lead + " b", {2, 1}, {3, 2}, ecDeleteChar, 0,
         "a\r\n" + Lead + "b", {3, 2}},
        {"column block cut one byte further on one line only", Lead + "a a\r\n" + Lead + " bc", {2, 1}, {4, 2}, ecDeleteChar,
         0, Lead + "aa\r\n" + Lead + "c", {3, 2}},
        {"case of a column block behind a lead", Lead + " ab", {2, 1}, {4, 1}, ecUpperCaseBlock, 0, Lead + " Ab", {4, 1}},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Core.SetTextBytes(c.Text);
        e.Core.SetSelectionMode(c.Anchor == c.Caret ? smNormal : smColumn);
        e.Core.SetCaretAndSelection(c.Caret, c.Anchor, c.Caret);
        e.Run(c.Command, c.Char);
        EXPECT_EQ(e.Core.GetText(), c.After) << c.Name;
        EXPECT_EQ(e.Core.CaretXY(), c.CaretAfter) << c.Name;
        e.Run(ecUndo);
        EXPECT_EQ(e.Core.GetText(), c.Text) << c.Name;
        e.Run(ecRedo);
        EXPECT_EQ(e.Core.GetText(), c.After) << c.Name;
    }
}

// A command that raises (a cut whose copy fails) still ends its OnPaintTransient pair.
TEST(NoteEditCommands, ARaisingCommandClosesItsTransientPair) {
    struct FailingCopyHost : TNullNoteHost {
        int Open = 0;
        void HostCopyToClipboard(const std::string&, TNoteSelectionMode) override {
            throw ENoteEditError("Clipboard copy operation failed");
        }
        void HostPaintTransient(TNoteTransientType t) override { Open += t == ttBefore ? 1 : -1; }
    } host;
    TNoteEditCore core(host);
    core.CharMetricsChanged(6, 12);
    core.ViewSizeChanged(40 * 6 + 2, 10 * core.LineHeight());
    core.SetTextBytes("cut me");
    core.SetBlockBegin({1, 1});
    core.SetBlockEnd({4, 1});
    EXPECT_THROW(core.CommandProcessor(ecCut, 0, nullptr), ENoteEditError);
    EXPECT_EQ(host.Open, 0);
    EXPECT_EQ(core.GetText(), "cut me");
}

// A ttBefore whose handler raises still gets its ttAfter, for a command as for a caret move;
// the raise ends the change and the next pair is whole again.
TEST(NoteEditCommands, ARaisingTransientBeforeIsClosedByItsAfter) {
    struct RaisingHost : TNullNoteHost {
        int Open = 0;
        bool Raise = true;
        void HostPaintTransient(TNoteTransientType t) override {
            Open += t == ttBefore ? 1 : -1;
            if (t == ttBefore && std::exchange(Raise, false)) throw ENoteEditError("handler");
        }
    } host;
    TNoteEditCore core(host);
    core.CharMetricsChanged(6, 12);
    core.ViewSizeChanged(40 * 6 + 2, 10 * core.LineHeight());
    core.SetTextBytes("abc");
    const std::function<void()> changes[] = {
        [&] { core.CommandProcessor(ecChar, 'x', nullptr); },
        [&] { core.SetCaretXY({3, 1}); },
    };
    for (const auto& change : changes) {
        host.Raise = true;
        EXPECT_THROW(change(), ENoteEditError);
        EXPECT_EQ(host.Open, 0);
        change();
        EXPECT_EQ(host.Open, 0);
    }
    EXPECT_EQ(core.GetText(), "xabc");
}

// A paste from outside the dispatcher (WM_PASTE) fires its OnPaintTransient ttBefore while
// the text is still unchanged, and its ttAfter last.
TEST(NoteEditCommands, APasteOpensItsTransientPairBeforeTheTextChanges) {
    struct TransientClipboardHost : TClipboardNoteHost {
        const TNoteEditCore* Core = nullptr;
        std::vector<std::pair<TNoteTransientType, std::string>> Seen;
        void HostPaintTransient(TNoteTransientType t) override { Seen.emplace_back(t, Core->GetText()); }
    } host;
    TNoteEditCore core(host);
    host.Core = &core;
    core.CharMetricsChanged(6, 12);
    core.ViewSizeChanged(40 * 6 + 2, 10 * core.LineHeight());
    core.SetTextBytes("ab");
    host.Text = "xy";
    host.Full = true;
    host.Seen.clear();
    core.PasteFromClipboard();
    ASSERT_FALSE(host.Seen.empty());
    EXPECT_EQ(host.Seen.front(), std::make_pair(ttBefore, std::string("ab")));
    EXPECT_EQ(host.Seen.back(), std::make_pair(ttAfter, std::string("xyab")));
}
