// The editor window's own work per keystroke: scroll bars touched only when their values
// change, the character of a consumed key dropped and no other, and the text length.
#include <gtest/gtest.h>

#include "editor/win/NoteEdit.h"
#include "framework/rtl/Encoding.h"
#include "tests/framework/CtrlsTestUtil.h"

namespace {
class NoteEditShell : public TTestFormFixture {
protected:
    void SetUp() override {
        TTestFormFixture::SetUp();
        edit = Put<TNoteEdit>(form, 10, 10, 300, 200);
        edit->WordWrap().SetStyle(wwsRightEdge);  // a note: wrapped at 80, both bars on
        edit->WordWrap().SetEnabled(true);
        form->Show();
        edit->SetFocus();
        Pump();
    }
    void Pump() { PumpUntil([] { return false; }, 30); }
    static LPARAM Scan(int code) { return static_cast<LPARAM>(code) << 16 | 1; }
    TNoteEdit* edit = nullptr;
};
}  // namespace

TEST_F(NoteEditShell, KeystrokesLeaveUnchangedScrollBarsAlone) {
    edit->SetTextUtf8("one\ntwo\nthree");
    Pump();
    const int before = edit->ScrollBarCalls();
    EXPECT_GT(before, 0);
    for (wchar_t c : std::wstring(L"typed 中文")) SendMessageW(edit->Handle(), WM_CHAR, c, 0);
    for (WORD key : {VK_LEFT, VK_LEFT, VK_DOWN, VK_END}) SendMessageW(edit->Handle(), WM_KEYDOWN, key, 0);
    Pump();
    EXPECT_EQ(edit->ScrollBarCalls(), before);
    std::string many;
    for (int i = 0; i < 40; ++i) many += "line\n";
    edit->SetTextUtf8(many);  // the vertical range changes: the bar is given it
    Pump();
    EXPECT_GT(edit->ScrollBarCalls(), before);
}

// The character queued before a consumed key belongs to another key and is typed; the one
// its own key made is dropped.
TEST_F(NoteEditShell, ConsumedKeyDropsOnlyItsOwnCharacter) {
    struct Case {
        const char* Name;
        wchar_t Queued;
        int QueuedScan;
        WORD Key;
        int KeyScan;
        const char* After;
    } cases[] = {
        {"another key's character stays", L'x', 0x2D, VK_LEFT, 0x4B, "axb"},  // typed after the move
        {"the key's own character goes", L'\r', 0x1C, VK_RETURN, 0x1C, "ab\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        edit->SetTextUtf8("ab");
        SendMessageW(edit->Handle(), WM_KEYDOWN, VK_END, Scan(0x4F));
        Pump();
        PostMessageW(edit->Handle(), WM_CHAR, c.Queued, Scan(c.QueuedScan));
        SendMessageW(edit->Handle(), WM_KEYDOWN, c.Key, Scan(c.KeyScan));
        Pump();
        EXPECT_EQ(edit->GetText(), c.After);
    }
}

TEST_F(NoteEditShell, TextLengthCountsUtf16UnitsAndFollowsEdits) {
    const std::string texts[] = {"", "abc", "\xD6\xD0\xCE\xC4", "a\r\n\r\nb", "\x81", "x\x80y\xFFz", "\xD6\xD0\r\n\x81\x41"};
    for (const std::string& text : texts) {
        edit->SetTextBytes(text);
        wchar_t buffer[64];
        const LRESULT copied = SendMessageW(edit->Handle(), WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), copied) << GbkToUtf8(text);
    }
    edit->SetTextUtf8("ab");
    EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 2);
    SendMessageW(edit->Handle(), WM_CHAR, L'中', 0);
    EXPECT_EQ(SendMessageW(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
}

// The editor keeps its own font and colour (ParentFont, ParentColor off) and follows the
// parent's Ctl3D: a sunken edge with it, a flat line without.
TEST_F(NoteEditShell, KeepsItsFontAndColourAndFollowsTheParentsCtl3D) {
    EXPECT_FALSE(edit->ParentFont());
    EXPECT_FALSE(edit->ParentColor());
    EXPECT_TRUE(edit->ParentCtl3D());
    EXPECT_EQ(edit->Cursor(), crIBeam);
    form->Font().SetName("Arial");
    form->SetColor(clRed);
    EXPECT_EQ(edit->Font().Name(), "Courier New");
    EXPECT_EQ(edit->Color(), clWindow);
    auto styles = [&] {
        const LONG_PTR style = GetWindowLongPtrW(edit->Handle(), GWL_STYLE);
        const LONG_PTR ex = GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE);
        return std::pair<bool, bool>{(ex & WS_EX_CLIENTEDGE) != 0, (style & WS_BORDER) != 0};
    };
    EXPECT_EQ(styles(), (std::pair<bool, bool>{true, false}));
    form->SetCtl3D(false);
    EXPECT_FALSE(edit->Ctl3D());
    EXPECT_EQ(styles(), (std::pair<bool, bool>{false, true}));
    edit->SetParentColor(true);
    EXPECT_EQ(edit->Color(), clRed);
    EXPECT_EQ(edit->BackColor(), TNoteColor(clRed));   // what it paints with
}
