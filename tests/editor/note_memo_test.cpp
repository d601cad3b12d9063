// The memo in a window: keys of the key table on GBK text, the clipboard with other
// programs' blocks, text and edit-control messages, dropped files and note files.
#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <shlobj.h>

#include <cstring>
#include <filesystem>

#include "editor/core/NoteEditFileWriter.h"
#include "editor/win/NoteEdit.h"
#include "framework/base/Timer.h"
#include "framework/rtl/Encoding.h"
#include "framework/win/Bitmap.h"
#include "framework/win/WinUtil.h"
#include "tests/framework/CtrlsTestUtil.h"
#include "tests/framework/RealInput.h"

namespace {
class NoteMemoWindow : public TTestFormFixture {
protected:
    void SetUp() override {
        TTestFormFixture::SetUp();
        memo = Put<TNoteMemo>(form, 10, 10, 380, 240);
        form->Show();
        memo->SetFocus();
        Pump();
    }
    static void Pump() { PumpUntil([] { return false; }, 20); }
    // A key as the message loop delivers it, with Shift and Ctrl held as asked.
    void Key(WORD key, bool ctrl = false, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(memo->Handle(), WM_KEYDOWN, key, 0);
        Pump();
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    std::string Text() const { return memo->TextUtf8(); }
    // Puts blocks on the clipboard as another program would.
    static void PutClipboard(const std::vector<std::pair<UINT, std::string>>& blocks) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        for (const auto& [format, bytes] : blocks) {
            HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
            GlobalUnlock(h);
            SetClipboardData(format, h);
        }
        CloseClipboard();
    }
    static std::string Wide16(const std::u16string& s) {
        return std::string(reinterpret_cast<const char*>(s.c_str()), (s.size() + 1) * 2);
    }
    TNoteMemo* memo = nullptr;
};
}  // namespace

TEST_F(NoteMemoWindow, KeysEditGbkTextThroughTheMessageLoop) {
    memo->SetWantTabs(true);
    memo->SetTextUtf8("中文ab");
    Key(VK_END);
    Key(VK_BACK);
    Key(VK_HOME);
    Key(VK_DELETE);
    Key(VK_RIGHT);
    Key(VK_RETURN);
    Key(VK_TAB);
    EXPECT_EQ(Text(), "文\r\n        a");
    Key('A', true);
    Key('C', true);
    Key(VK_END, true);
    Key('V', true);
    EXPECT_EQ(Text(), "文\r\n        a文\r\n        a");
    Key('A', true);
    Key('X', true);
    EXPECT_EQ(Text(), "");
    Key('V', true);
    Key(VK_INSERT);  // overwrite: a letter over 文 leaves the letter and a blank (trimmed here)
    Key(VK_HOME, true);
    SendMessageW(memo->Handle(), WM_CHAR, L'x', 0);
    EXPECT_EQ(Text(), "x\r\n        a文\r\n        a");
}

TEST_F(NoteMemoWindow, ClipboardRoundTripsAndDistrustsForeignBlocks) {
    auto* other = Put<TNoteMemo>(form, 10, 260, 380, 40);
    memo->SetTextUtf8("ab中cd\n1234567\nxyz");
    memo->SetSelectionMode(smColumn);
    memo->SetBlockBegin({2, 1});
    memo->SetBlockEnd({5, 2});
    SendMessageW(memo->Handle(), WM_COPY, 0, 0);
    ASSERT_TRUE(IsClipboardFormatAvailable(NoteEditClipboardFormat()));
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* wide = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    EXPECT_EQ(Narrow(wide), "b中\r\n234");  // the right characters on any locale
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    other->SetTextUtf8("0000\n1111");
    other->SetCaretXY({2, 1});
    SendMessageW(other->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(other->TextUtf8(), "0b中000\r\n1234111");  // the column mode travelled

    struct Case {
        const char* Name;
        std::vector<std::pair<UINT, std::string>> Blocks;
        std::string Pasted;
    } cases[] = {
        {"too short", {{NoteEditClipboardFormat(), std::string(1, '\0')}, {CF_UNICODETEXT, Wide16(u"uni")}}, "uni"},
        {"unknown mode", {{NoteEditClipboardFormat(), "\x07xyz"}, {CF_UNICODETEXT, Wide16(u"\u6587")}}, "文"},
        {"unterminated", {{NoteEditClipboardFormat(), std::string("\0raw", 4)}}, "raw"},
        {"stops at NUL", {{NoteEditClipboardFormat(), std::string("\0ok\0junk", 8)}}, "ok"},
        {"unicode only", {{CF_UNICODETEXT, Wide16(u"\u4E2D\u0E01!")}}, "中!"},
        {"ansi only", {{CF_TEXT, std::string("plain\0", 6)}}, "plain"},
        {"nothing", {}, ""},
    };
    for (const Case& c : cases) {
        PutClipboard(c.Blocks);
        other->ClearAll();
        SendMessageW(other->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(other->TextUtf8(), c.Pasted) << c.Name;
    }
    delete other;
}

TEST_F(NoteMemoWindow, TextMessagesStayInsideTheCallersBuffer) {
    memo->SetTextUtf8("第一行\nsecond line");
    wchar_t buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(SendMessageW(memo->Handle(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(SendMessageW(memo->Handle(), WM_GETTEXT, 10, 0), 0);
    EXPECT_EQ(SendMessageW(memo->Handle(), WM_GETTEXT, 10, reinterpret_cast<LPARAM>(buffer)), 9);
    EXPECT_EQ(std::wstring(buffer), L"第一行\r\nseco");
    EXPECT_EQ(buffer[10], L'#');
    EXPECT_EQ(SendMessageW(memo->Handle(), WM_GETTEXTLENGTH, 0, 0), 16);
    buffer[0] = 0;  // a size word of 0
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 0);
    buffer[0] = 4;
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_EQ(std::wstring(buffer, 4), L"seco");
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINE, 5, reinterpret_cast<LPARAM>(buffer)), 0);

    SetWindowTextW(memo->Handle(), L"新的 text");
    EXPECT_EQ(Text(), "新的 text");
    EXPECT_TRUE(SendMessageW(memo->Handle(), EM_CANUNDO, 0, 0));
    SendMessageW(memo->Handle(), WM_UNDO, 0, 0);
    EXPECT_EQ(Text(), "第一行\r\nsecond line");

    // Offsets count bytes and two for each break.
    SendMessageW(memo->Handle(), EM_SETSEL, 8, 11);
    EXPECT_EQ(GbkToUtf8(memo->SelText()), "sec");
    DWORD start = 0, end = 0;
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)),
              MAKELRESULT(8, 11));
    EXPECT_EQ(start, 8u);
    SendMessageW(memo->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"SEC"));
    EXPECT_EQ(Text(), "第一行\r\nSECond line");
    const int lh = memo->LineHeight();
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(memo->TextOffset() + 1, lh + 1)),
              MAKELRESULT(9, 1));
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_TRUE(SendMessageW(memo->Handle(), EM_GETMODIFY, 0, 0));
    SendMessageW(memo->Handle(), EM_SETMODIFY, 0, 0);
    EXPECT_FALSE(memo->Modified());
    // An offset inside a double-byte character goes to the character's start.
    SendMessageW(memo->Handle(), EM_SETSEL, 1, 3);
    SendMessageW(memo->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    EXPECT_EQ(Text(), "x一行\r\nSECond line");
}

TEST_F(NoteMemoWindow, DroppedFilesReachTheHandlerAndTheDropIsFinished) {
    int x = 0, y = 0;
    std::vector<std::string> got;
    memo->OnDropFiles = [&](TObject*, int X, int Y, const std::vector<std::string>& files) {
        x = X;
        y = Y;
        got = files;
    };
    const std::wstring names = std::wstring(L"C:\\便签\\一.txt") + L'\0' + L"C:\\b.txt" + L'\0' + L'\0';
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {25, 40};
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(h);
    EXPECT_EQ(SendMessageW(memo->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0), 0);
    EXPECT_EQ(x, 25);
    EXPECT_EQ(y, 40);
    EXPECT_EQ(got, (std::vector<std::string>{"C:\\便签\\一.txt", "C:\\b.txt"}));
}

TEST_F(NoteMemoWindow, LoadsAndSavesNoteFiles) {
    const auto dir = UniqueTempPath("vorpen_memo_test");
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "7.txt").string();
    const std::string gbk = Utf8ToGbk("今天\r\n记得买菜");
    {
        TNoteEditFileWriter writer(file);
        writer.WriteLine(gbk, false);
        writer.Commit();
    }
    memo->Lines().LoadFromFile(file);
    EXPECT_EQ(Text(), "今天\r\n记得买菜");
    EXPECT_FALSE(memo->Modified());
    memo->SetCaretXY({5, 1});
    SendMessageW(memo->Handle(), WM_CHAR, L'晚', 0);
    EXPECT_TRUE(memo->Modified());
    memo->Lines().SaveToFile(file);
    EXPECT_EQ(NoteReadFileBytes(file), Utf8ToGbk("今天晚\r\n记得买菜"));
    std::filesystem::remove_all(dir);
}

TEST_F(NoteMemoWindow, SelectedTextDragsIntoAnotherMemo) {
    auto* other = Put<TNoteMemo>(form, 10, 260, 380, 40);
    Pump();
    other->SetTextUtf8("xy");
    memo->SetTextUtf8("ab中文cd");
    memo->SetBlockBegin({3, 1});
    memo->SetBlockEnd({7, 1});
    const int cw = memo->CharWidth(), lh = memo->LineHeight(), x0 = memo->TextOffset();
    const LPARAM press = MAKELPARAM(x0 + 4 * cw, lh / 2);
    SendMessageW(memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, press);
    // Into the other memo, between x and y (its window lies 250 pixels lower).
    POINT target{x0 + cw, lh / 2};
    MapWindowPoints(other->Handle(), memo->Handle(), &target, 1);
    SendMessageW(memo->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 + 4 * cw, lh * 2));
    SendMessageW(memo->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(target.x, target.y));
    EXPECT_EQ(other->CaretX(), 2);  // the caret over there shows where the text would go
    SendMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(target.x, target.y));
    EXPECT_EQ(other->TextUtf8(), "x中文y");  // copied between editors
    EXPECT_EQ(Text(), "ab中文cd");
    EXPECT_EQ(GbkToUtf8(other->SelText()), "中文");
    EXPECT_EQ(GetCapture(), nullptr);
    delete other;
}

// Text dragged with the real mouse: the editors hear the framework's drag events in order,
// whatever their own handlers say; a read-only editor refuses the text (the no-drop cursor).
TEST_F(NoteMemoWindow, MouseDraggedTextFiresTheDragEventsInOrder) {
    auto* other = Put<TNoteMemo>(form, 10, 256, 380, 30);
    memo->SetName("memo");
    other->SetName("other");
    std::vector<std::string> log;
    auto name = [](TObject* o) { return o ? static_cast<TComponent*>(o)->Name() : std::string("none"); };
    for (TNoteMemo* m : {memo, other}) {
        m->OnStartDrag = [&](TObject* s) { log.push_back("start " + name(s)); };
        m->OnDragOver = [&](TObject* s, TObject* src, int, int, TDragState state, bool&) {
            if (state != dsDragMove) log.push_back((state == dsDragEnter ? "enter " : "leave ") + name(s) + " " + name(src));
        };
        m->OnDragDrop = [&](TObject* s, TObject* src, int, int) { log.push_back("drop " + name(s) + " " + name(src)); };
        m->OnEndDrag = [&](TObject* s, TObject* t, int, int) { log.push_back("end " + name(s) + " " + name(t)); };
    }
    struct Row {
        bool readOnly;
        TCursor cursor;
        std::string otherText;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {false, crDrag, "x中文y",
         {"start memo", "enter memo memo", "leave memo memo", "enter other memo", "leave other memo", "drop other memo",
          "end memo other"}},
        {true, crNoDrop, "xy",
         {"start memo", "enter memo memo", "leave memo memo", "enter other memo", "leave other memo", "end memo none"}},
    };
    TRealInput input;
    int press = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.readOnly);
        log.clear();
        other->SetReadOnly(row.readOnly);
        other->SetTextUtf8("xy");
        memo->SetTextUtf8("ab中文cd");
        memo->SetBlockBegin({3, 1});
        memo->SetBlockEnd({7, 1});
        const int cw = memo->CharWidth(), lh = memo->LineHeight(), x0 = memo->TextOffset();
        // Between 中 and 文, never twice at one point (that would be a double click).
        const TPoint at = memo->ClientToScreen({x0 + 4 * cw, press++ == 0 ? 2 : lh - 3});
        ASSERT_TRUE(input.MoveTo(at));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
        ASSERT_TRUE(input.MoveTo({at.X, at.Y + 2 * lh}));
        ASSERT_TRUE(input.MoveTo(other->ClientToScreen({x0 + cw, lh / 2})));   // between x and y
        EXPECT_EQ(GetCursor(), CursorHandle(row.cursor));
        ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
        EXPECT_EQ(log, row.expected);
        EXPECT_EQ(other->TextUtf8(), row.otherText);
        EXPECT_EQ(Text(), "ab中文cd");
        EXPECT_EQ(GetCapture(), nullptr);
    }
    delete other;
}

// Within one editor Ctrl copies: pressed during the drag it shows the copy cursor at once.
TEST_F(NoteMemoWindow, CtrlDuringATextDragShowsTheCopyCursorAndCopies) {
    TRealInput input;
    memo->SetTextUtf8("ab中文cd");
    memo->SetBlockBegin({3, 1});
    memo->SetBlockEnd({7, 1});
    const int cw = memo->CharWidth(), lh = memo->LineHeight(), x0 = memo->TextOffset();
    ASSERT_TRUE(input.MoveTo(memo->ClientToScreen({x0 + 4 * cw, lh / 2})));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    ASSERT_TRUE(input.MoveTo(memo->ClientToScreen({x0 + 7 * cw + 1, lh / 2})));   // after c
    EXPECT_EQ(GetCursor(), CursorHandle(crDrag));
    ASSERT_TRUE(input.KeyAction(VK_CONTROL, true));
    EXPECT_EQ(GetCursor(), CursorHandle(crMultiDrag));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    ASSERT_TRUE(input.KeyAction(VK_CONTROL, false));
    EXPECT_EQ(Text(), "ab中文c中文d");
    EXPECT_EQ(GbkToUtf8(memo->SelText()), "中文");
}

// Dragging the thumb shows the top line in a hint at the client area's right edge; the
// picture goes to build/shots for a look.
TEST_F(NoteMemoWindow, ThumbTrackingShowsTheScrollHint) {
    std::string text;
    for (int i = 1; i <= 80; ++i) text += "第" + std::to_string(i) + "行\n";
    memo->SetTextUtf8(text);
    int scrolled = 0;
    memo->OnScroll = [&](TObject*, TNoteScrollBarKind kind) { scrolled += kind == sbVertical; };
    SendMessageW(memo->Handle(), WM_VSCROLL, SB_THUMBTRACK, 0);
    Pump();
    EXPECT_EQ(scrolled, 1);
    HWND hint = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM out) {
            wchar_t name[64];
            GetClassNameW(h, name, 64);
            if (std::wstring(name) == L"VorpenHintWindow" && IsWindowVisible(h)) *reinterpret_cast<HWND*>(out) = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&hint));
    ASSERT_NE(hint, nullptr);
    // The form, the memo and the hint over them, each as it prints.
    PumpUntil([] { return false; }, 200);
    RECT fr;
    GetWindowRect(form->Handle(), &fr);
    TBitmap shot(fr.right - fr.left, fr.bottom - fr.top);
    for (HWND h : {form->Handle(), memo->Handle(), hint}) {
        RECT r;
        GetWindowRect(h, &r);
        TBitmap part(r.right - r.left, r.bottom - r.top);
        PrintWindow(h, part.Canvas().Handle(), 0);
        BitBlt(shot.Canvas().Handle(), r.left - fr.left, r.top - fr.top, part.Width(), part.Height(), part.Canvas().Handle(),
               0, 0, SRCCOPY);
    }
    const auto dir = std::filesystem::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path() / "build" / "shots";
    std::filesystem::create_directories(dir);
    shot.SaveToFile((dir / "note_memo_scroll_hint.bmp").string());
    SendMessageW(memo->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_FALSE(IsWindowVisible(hint));
}

// Every stroke of the default key table, pressed on GBK text through the message loop,
// runs its command and leaves the caret and the selection off trail bytes.
TEST_F(NoteMemoWindow, EveryKeyOfTheTableRunsItsCommand) {
    memo->SetWantTabs(true);
    std::vector<int> ran;
    memo->OnCommandProcessed = [&](void*, TNoteEditorCommand& c, char&, void*) { ran.push_back(c); };
    TNoteEditKeyStrokes& keys = memo->Keystrokes();
    for (int i = 0; i < keys.Count(); ++i) {
        const TNoteEditKeyStroke& k = keys.Items(i);
        memo->SetTextUtf8("  中文ab (x)\n第二行 words\n");
        memo->SetCaretXY({5, 1});
        memo->SetBlockBegin({3, 1});
        memo->SetBlockEnd({7, 1});
        ran.clear();
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = k.Shift() & NoteShift::Shift ? 0x80 : 0;
        state[VK_CONTROL] = k.Shift() & NoteShift::Ctrl ? 0x80 : 0;
        state[VK_MENU] = k.Shift() & NoteShift::Alt ? 0x80 : 0;
        SetKeyboardState(state);
        const bool alt = k.Shift() & NoteShift::Alt;
        PostMessageW(memo->Handle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, k.Key(), alt ? 1 << 29 : 0);
        PumpUntil([] { return false; }, 10);
        state[VK_SHIFT] = state[VK_CONTROL] = state[VK_MENU] = 0;
        SetKeyboardState(state);
        EXPECT_NE(std::find(ran.begin(), ran.end(), k.Command()), ran.end()) << k.DisplayName();
        const std::string& line = memo->Lines().Get(memo->CaretY() - 1);
        EXPECT_NE(NoteByteType(line, memo->CaretX()), mbTrailByte) << k.DisplayName();
        EXPECT_NE(NoteByteType(memo->Lines().Get(memo->BlockCaret().Line - 1), memo->BlockCaret().Char), mbTrailByte)
            << k.DisplayName();
    }
}

namespace {
// A drag with sent messages: a press at `down` of `from`, a move past the drag distance,
// then a move to `at` of `to`, released there when asked.
void SendTextDrag(TNoteMemo* from, POINT down, TWinControl* to, POINT at, bool release) {
    SendMessageW(from->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    SendMessageW(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(down.x, down.y + 3 * from->LineHeight()));
    MapWindowPoints(to->Handle(), from->Handle(), &at, 1);
    SendMessageW(from->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    if (release) SendMessageW(from->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}
TTimer* ScrollTimerOf(TNoteMemo* memo) {
    for (int i = 0; i < memo->ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TTimer*>(memo->Components(i))) return t;
    return nullptr;
}
}  // namespace

// Text dragged over its own editor's last, partly shown row: the caret stays on the last
// whole row, each tick scrolls a line and takes the caret along, the selection stays what
// is dragged; the drop moves it there.
TEST_F(NoteMemoWindow, OwnTextDraggedToTheEdgeScrollsTheEditorAndKeepsTheSelection) {
    std::string text = "abcdef";
    for (int i = 2; i <= 60; ++i) text += "\r\nline" + std::to_string(i);
    memo->SetTextUtf8(text);
    memo->SetBlockBegin({2, 1});
    memo->SetBlockEnd({4, 1});
    const int cw = memo->CharWidth(), lh = memo->LineHeight(), x0 = memo->TextOffset();
    const int rows = memo->LinesInWindow();
    const POINT edge{x0 + 2 * cw, memo->ClientHeight() - 1};
    ASSERT_GE(edge.y, rows * lh);   // below the last whole row
    SendTextDrag(memo, {x0 + 2 * cw, lh / 2}, memo, edge, false);
    ASSERT_TRUE(memo->Dragging());
    EXPECT_EQ(memo->CaretY(), rows);
    EXPECT_EQ(memo->ScrollDeltaY(), 1);
    TTimer* timer = ScrollTimerOf(memo);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled());
    const TPoint screen = memo->ClientToScreen({edge.x, edge.y});
    SetCursorPos(screen.X, screen.Y);
    for (int tick = 1; tick <= 2; ++tick) {
        timer->OnTimer(timer);
        EXPECT_EQ(memo->TopLine(), 1 + tick);
        EXPECT_EQ(memo->CaretY(), rows + tick);
        EXPECT_EQ(GbkToUtf8(memo->SelText()), "bc");
    }
    SendMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(edge.x, edge.y));
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(memo->Lines().Get(0), "adef");
    EXPECT_EQ(memo->Lines().Get(rows + 1), "libcne" + std::to_string(rows + 2));
    EXPECT_EQ(GbkToUtf8(memo->SelText()), "bc");
}

// A drag handler that frees the editor it runs for, or the one the text comes from, ends
// the drag without touching the freed one: the other keeps its text.
TEST_F(NoteMemoWindow, AnEditorFreedByADragHandlerIsNotTouchedAgain) {
    enum Handler { over, drop };
    struct Row {
        Handler handler;
        bool freeSource;
    };
    memo->SetBounds(10, 10, 380, 100);
    for (const Row row : {Row{over, false}, Row{over, true}, Row{drop, false}, Row{drop, true}}) {
        SCOPED_TRACE(std::to_string(row.handler) + (row.freeSource ? " source" : " target"));
        auto* source = Put<TNoteMemo>(form, 10, 120, 380, 30);
        auto* target = Put<TNoteMemo>(form, 10, 160, 380, 30);
        Pump();
        source->SetTextUtf8("abcdef");
        source->SetBlockBegin({2, 1});
        source->SetBlockEnd({4, 1});
        target->SetTextUtf8("xy");
        TNoteMemo* doomed = row.freeSource ? source : target;
        // The freed editor's memory is taken at once and scribbled over, so that touching it
        // shows.
        std::unique_ptr<char[]> scribble;
        bool freed = false;
        auto free = [&] {
            freed = true;
            if (!doomed) return;
            delete doomed;
            scribble.reset(new char[sizeof(TNoteMemo)]);
            std::memset(scribble.get(), 0xFF, sizeof(TNoteMemo));
            (row.freeSource ? source : target) = nullptr;
            doomed = nullptr;
        };
        if (row.handler == over) target->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool&) { free(); };
        else target->OnDragDrop = [&](TObject*, TObject*, int, int) { free(); };
        const int cw = source->CharWidth(), lh = source->LineHeight(), x0 = source->TextOffset();
        const HWND from = source->Handle();
        POINT at{x0 + cw, lh / 2};
        MapWindowPoints(target->Handle(), from, &at, 1);
        SendMessageW(from, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0 + 2 * cw, lh / 2));
        SendMessageW(from, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 + 2 * cw, -lh));
        SendMessageW(from, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        if (source) SendMessageW(from, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        if (source) {
            EXPECT_EQ(source->TextUtf8(), "abcdef");
            EXPECT_FALSE(source->Dragging());
        }
        if (target) {
            EXPECT_EQ(target->TextUtf8(), "xy");
        }
        EXPECT_TRUE(freed);
        EXPECT_EQ(GetCapture(), nullptr);
        delete source;
        delete target;
    }
}

// Keys typed while text is dragged go nowhere: the dragged selection stays whole and the
// drop moves it.
TEST_F(NoteMemoWindow, KeysTypedDuringATextDragTypeNothing) {
    memo->SetTextUtf8("abcdef");
    memo->SetBlockBegin({3, 1});
    memo->SetBlockEnd({5, 1});
    const int cw = memo->CharWidth(), lh = memo->LineHeight(), x0 = memo->TextOffset();
    SendTextDrag(memo, {x0 + 3 * cw, lh / 2}, memo, {x0 + 1, lh / 2}, false);
    ASSERT_TRUE(memo->Dragging());
    for (WORD key : {WORD('X'), WORD(VK_DELETE), WORD(VK_BACK), WORD(VK_RETURN)}) {
        PostMessageW(memo->Handle(), WM_KEYDOWN, key, 0);
        PostMessageW(memo->Handle(), WM_KEYUP, key, 0xC0000001);
    }
    Pump();
    EXPECT_TRUE(memo->Dragging());
    EXPECT_EQ(Text(), "abcdef");
    EXPECT_EQ(GbkToUtf8(memo->SelText()), "cd");
    SendMessageW(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x0 + 1, lh / 2));
    EXPECT_EQ(Text(), "cdabef");
}
