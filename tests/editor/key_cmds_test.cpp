#include <gtest/gtest.h>

#include <set>

#include "editor/core/NoteEditKbdHandler.h"
#include "editor/core/NoteEditKeyCmds.h"
#include "editor/core/NoteEditKeyStream.h"

namespace {
constexpr std::uint16_t VkBack = 0x08, VkReturn = 0x0D, VkInsert = 0x2D, VkUp = 0x26, VkEnd = 0x23;
using namespace NoteShift;

TNoteEditorCommand CommandOf(const TNoteEditKeyStrokes& keys, std::uint16_t key, TNoteShiftState shift) {
    const int i = keys.FindKey(key, shift);
    return i < 0 ? ecNone : keys.Items(i).Command();
}
}  // namespace

TEST(NoteEditKeyCmds, CommandNamesBothWays) {
    std::string name;
    ASSERT_TRUE(EditorCommandToIdent(1001, name));
    EXPECT_EQ(name, "ecUserFirst");
    EXPECT_FALSE(EditorCommandToIdent(1002, name));
    EXPECT_EQ(EditorCommandToCodeString(1002), "1002");
    EXPECT_EQ(EditorCommandToCodeString(ecCopy), "ecCopy");
    EXPECT_EQ(EditorCommandToCodeString(ecSetMarker9), "ecSetMarker9");
    int value = 0;
    ASSERT_TRUE(IdentToEditorCommand("ECPASTE", value));
    EXPECT_EQ(value, 604);
    EXPECT_EQ(CodeStringToEditorCommand("ecGotoMarker3"), 304);
    EXPECT_EQ(CodeStringToEditorCommand("1002"), 1002);
    EXPECT_THROW(CodeStringToEditorCommand("ecBogus"), EConvertError);
    EXPECT_THROW(CodeStringToEditorCommand("70000"), EConvertError);
    EXPECT_THROW(CodeStringToEditorCommand(""), EConvertError);

    // Every movement command has its selecting twin 100 higher.
    for (int command = ecLeft; command <= ecGotoXY; ++command) {
        std::string plain, selecting;
        ASSERT_TRUE(EditorCommandToIdent(command, plain));
        ASSERT_TRUE(EditorCommandToIdent(command + 100, selecting));
        EXPECT_EQ("ecSel" + plain.substr(2), selecting);
    }
}

TEST(NoteEditKeyCmds, ShortCuts) {
    const TNoteShortCut ctrlShiftZ = NoteShortCut('Z', Shift | Ctrl);
    EXPECT_EQ(ctrlShiftZ, 'Z' | 0x2000 | 0x4000);
    std::uint16_t key;
    TNoteShiftState shift;
    NoteShortCutToKey(ctrlShiftZ | 0x8000, key, shift);
    EXPECT_EQ(key, 'Z');
    EXPECT_EQ(shift, Shift | Ctrl | Alt);
    EXPECT_EQ(NoteShortCutToText(ctrlShiftZ), "Shift+Ctrl+Z");
    EXPECT_EQ(NoteShortCutToText(NoteShortCut(VkBack, Alt)), "Alt+BkSp");
    EXPECT_EQ(NoteShortCutToText(0), "");
    EXPECT_EQ(NoteShortCut(0, Ctrl), 0);
}

TEST(NoteEditKeyCmds, DefaultTable) {
    TNoteEditKeyStrokes keys;
    keys.ResetDefaults();
    ASSERT_EQ(keys.Count(), 82);
    EXPECT_EQ(keys.Items(0).Command(), ecUp);
    EXPECT_EQ(keys.Items(1).Command(), ecSelUp);
    EXPECT_EQ(keys.Items(2).Command(), ecScrollUp);
    EXPECT_EQ(keys.Items(3).Command(), ecDown);
    EXPECT_EQ(keys.Items(29).Command(), ecSelEditorBottom);
    EXPECT_EQ(keys.Items(30).Command(), ecToggleMode);
    EXPECT_EQ(keys.Items(81).Command(), ecMatchBracket);
    EXPECT_EQ(CommandOf(keys, VkUp, Shift | Ctrl), ecNone);
    EXPECT_EQ(CommandOf(keys, VkEnd, Shift | Ctrl), ecSelEditorBottom);
    EXPECT_EQ(CommandOf(keys, VkBack, 0), ecDeleteLastChar);
    EXPECT_EQ(CommandOf(keys, VkBack, Shift | Alt), ecRedo);
    EXPECT_EQ(CommandOf(keys, VkReturn, 0), ecLineBreak);
    EXPECT_EQ(CommandOf(keys, VkReturn, Shift), ecLineBreak);
    EXPECT_EQ(CommandOf(keys, 'C', Ctrl), ecCopy);
    EXPECT_EQ(CommandOf(keys, VkInsert, Ctrl), ecCopy);
    EXPECT_EQ(CommandOf(keys, '7', Ctrl), ecGotoMarker7);
    EXPECT_EQ(CommandOf(keys, '0', Shift | Ctrl), ecSetMarker0);
    EXPECT_EQ(CommandOf(keys, 'C', Shift | Ctrl), ecColumnSelect);
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < keys.Count(); ++i) {
        const TNoteEditKeyStroke& item = keys.Items(i);
        EXPECT_EQ(item.Key2(), 0);
        EXPECT_TRUE(seen.insert({item.ShortCut(), item.ShortCut2()}).second) << "duplicate at " << i;
        EXPECT_EQ(keys.FindShortCutPair(item.ShortCut(), item.ShortCut2()), i);
    }
    EXPECT_EQ(keys.Items(keys.FindKey('C', Ctrl)).DisplayName(), "ecCopy - Ctrl+C");
}

TEST(NoteEditKeyCmds, DuplicateShortCutsAreRefused) {
    TNoteEditKeyStrokes keys;
    keys.ResetDefaults();
    TNoteEditKeyStroke& item = keys.Add();
    item.SetCommand(ecUserFirst);
    try {
        item.SetShortCut(NoteShortCut('Z', Ctrl));
        FAIL();
    } catch (const ENoteKeyError& e) {
        EXPECT_EQ(e.Message(), "Shortcut already exists");
    }
    EXPECT_EQ(item.ShortCut(), 0);
    item.SetShortCut(0);
    item.SetShortCut(NoteShortCut('Q', Ctrl));
    item.SetShortCut(NoteShortCut('Q', Ctrl));  // its own pair is no duplicate
    EXPECT_EQ(item.Key(), 'Q');
    EXPECT_EQ(item.Shift(), Ctrl);

    // A two-key binding: Ctrl+Z then K differs from Ctrl+Z alone.
    TNoteEditKeyStroke& chord = keys.Add();
    chord.SetShortCut2(NoteShortCut('K', 0));
    chord.SetShortCut(NoteShortCut('Z', Ctrl));
    EXPECT_EQ(keys.FindKeyPair('Z', Ctrl, 'K', 0), keys.Count() - 1);
    EXPECT_EQ(keys.FindKey('Z', Ctrl), keys.FindShortCutPair(NoteShortCut('Z', Ctrl), 0));  // ignores the chord
    TNoteEditKeyStroke& other = keys.Add();
    other.SetShortCut2(NoteShortCut('K', 0));
    EXPECT_THROW(other.SetShortCut(NoteShortCut('Z', Ctrl)), ENoteKeyError);
    EXPECT_EQ(chord.DisplayName(), "ecNone - Ctrl+Z K");

    // The test compares whole second shortcuts, modifiers included: Ctrl+K Ctrl+B twice is a
    // duplicate, while Ctrl+K B and Ctrl+K Ctrl+B are different bindings.
    TNoteEditKeyStroke& plainB = keys.Add();
    plainB.SetShortCut2(NoteShortCut('B', 0));
    plainB.SetShortCut(NoteShortCut('K', Ctrl));
    TNoteEditKeyStroke& ctrlB = keys.Add();
    ctrlB.SetShortCut2(NoteShortCut('B', Ctrl));
    EXPECT_NO_THROW(ctrlB.SetShortCut(NoteShortCut('K', Ctrl)));
    TNoteEditKeyStroke& again = keys.Add();
    again.SetShortCut(NoteShortCut('K', Ctrl));
    EXPECT_THROW(again.SetShortCut2(NoteShortCut('B', Ctrl)), ENoteKeyError);
    EXPECT_EQ(again.Key2(), 0);
    keys.Delete(keys.Count() - 1);
    keys.Delete(keys.Count() - 1);
    keys.Delete(keys.Count() - 1);

    TNoteEditKeyStrokes copy;
    copy.Assign(keys);
    ASSERT_EQ(copy.Count(), keys.Count());
    EXPECT_EQ(copy.Items(82).Command(), ecUserFirst);
    EXPECT_EQ(copy.Items(83).Key2(), 'K');
    EXPECT_EQ(copy.Items(83).Index(), 83);
}

TEST(NoteEditKbdHandler, ChainsRunLastAddedFirst) {
    TNoteEditKbdHandler handler;
    std::string calls;
    int sender = 0;
    handler.KeyDownHandlers.Add({&calls, 1}, [&](void* s, std::uint16_t& key, TNoteShiftState) {
        EXPECT_EQ(s, &sender);
        calls += "1";
        key = 0;
    });
    handler.KeyDownHandlers.Add({&calls, 2}, [&](void*, std::uint16_t& key, TNoteShiftState) {
        calls += "2";
        if (key == 'S') key = 0;
    });
    std::uint16_t key = 'A';
    handler.ExecuteKeyDown(&sender, key, 0);
    EXPECT_EQ(calls, "21");
    key = 'S';
    calls.clear();
    handler.ExecuteKeyDown(&sender, key, 0);
    EXPECT_EQ(calls, "2");  // the walk stops once the key is consumed

    // A handler that raises the same event again is not re-entered.
    int nested = 0;
    handler.KeyPressHandlers.Add({&nested, 0}, [&](void* s, char& c) {
        ++nested;
        char again = c;
        handler.ExecuteKeyPress(s, again);
    });
    char c = 'x';
    handler.ExecuteKeyPress(nullptr, c);
    EXPECT_EQ(nested, 1);

    // The running flag is cleared when a handler fails.
    handler.MouseDownHandlers.Add({&nested, 0}, [](void*, int, TNoteShiftState, int, int) { throw Exception("x"); });
    EXPECT_THROW(handler.ExecuteMouseDown(nullptr, 0, Left, 1, 2), Exception);
    EXPECT_THROW(handler.ExecuteMouseDown(nullptr, 0, Left, 1, 2), Exception);

    std::string cursors;
    handler.MouseCursorHandlers.Add({&cursors, 1}, [&](void*, const TBufferCoord&, int& cursor) { cursors += "1"; cursor = 5; });
    handler.MouseCursorHandlers.Add({&cursors, 2}, [&](void*, const TBufferCoord& pos, int&) {
        cursors += "2";
        EXPECT_EQ(pos, (TBufferCoord{3, 4}));
    });
    int cursor = 0;
    handler.ExecuteMouseCursor(nullptr, {3, 4}, cursor);
    EXPECT_EQ(cursors, "21");
    EXPECT_EQ(cursor, 5);
    handler.KeyDownHandlers.Remove({&calls, 1});
    handler.KeyDownHandlers.Remove({&calls, 2});
    EXPECT_EQ(handler.KeyDownHandlers.Count(), 0);
}

// A changed key table streams as the removed and added strokes and reads back to itself;
// an unchanged one writes nothing; bad streams are refused without a change.
TEST(NoteEditKeyStream, ChangedTablesRoundTrip) {
    TNoteEditKeyStrokes strokes;
    strokes.ResetDefaults();
    EXPECT_EQ(NoteWriteKeystrokes(strokes), "");
    strokes.Delete(strokes.FindKey('Z', NoteShift::Ctrl));  // Ctrl+Z undo gone
    strokes.AddKey(1001, 'Q', NoteShift::Ctrl);              // a user command
    strokes.AddKey(1002, 0x71, 0);                 // a command without a name
    const std::string text = NoteWriteKeystrokes(strokes);
    EXPECT_NE(text.find("RemovedKeystrokes = <\n  item\n    Command = ecUndo\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Command = ecUserFirst"), std::string::npos) << text;
    EXPECT_NE(text.find("Command = 1002"), std::string::npos) << text;

    TNoteEditKeyStrokes read;
    read.ResetDefaults();
    NoteReadKeystrokes(read, text);
    ASSERT_EQ(read.Count(), strokes.Count());
    EXPECT_EQ(NoteWriteKeystrokes(read), text);
    EXPECT_EQ(read.FindKey('Z', NoteShift::Ctrl), -1);
    EXPECT_EQ(read.Items(read.FindKey('Q', NoteShift::Ctrl)).Command(), 1001);
    // Equal to the ancestor: nothing written.
    EXPECT_EQ(NoteWriteKeystrokes(read, &strokes), "");

    const char* bad[] = {"AddedKeystrokes = <\n  item\n    Command = ecNoSuchThing\n    ShortCut = 5\n  end>\n",
                         "AddedKeystrokes = <\n  item\n    Command = ecUndo\n", "Other = <>\n",
                         "AddedKeystrokes = <\n  item\n    ShortCut = 99999\n  end>\n",
                         "AddedKeystrokes = <\n  item\n    Command = ecCopy\n    ShortCut = 16451\n  end>\n"};
    for (const char* b : bad) {
        EXPECT_THROW(NoteReadKeystrokes(read, b), ENoteKeyError) << b;
        EXPECT_EQ(read.Count(), strokes.Count()) << b;
    }
}

// A two-key stroke whose first key alone is bound too streams back (only the pair must be new).
TEST(NoteEditKeyStream, TwoKeyStrokeSharingAFirstKeyRoundTrips) {
    TNoteEditKeyStrokes strokes;
    strokes.ResetDefaults();
    const TNoteShortCut ctrlA = strokes.Items(strokes.FindKey('A', NoteShift::Ctrl)).ShortCut();
    TNoteEditKeyStroke& chord = strokes.Add();
    chord.SetCommand(ecLowerCaseBlock);
    chord.SetShortCut2('B');
    chord.SetShortCut(ctrlA);
    const std::string text = NoteWriteKeystrokes(strokes);
    TNoteEditKeyStrokes read;
    read.ResetDefaults();
    NoteReadKeystrokes(read, text);
    EXPECT_EQ(read.Count(), strokes.Count());
    EXPECT_EQ(NoteWriteKeystrokes(read), text);
}
