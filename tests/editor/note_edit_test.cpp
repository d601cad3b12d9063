// The editor control in a window: typing through window messages, keys and mouse, and a
// picture of a ruled note.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/win/NoteEdit.h"
#include "framework/rtl/Encoding.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ImgList.h"
#include "tests/editor/NoteEditLook.h"
#include "tests/framework/CtrlsTestUtil.h"
#include "tests/framework/RealInput.h"

#include <imm.h>

namespace {
class NoteEditWindow : public TTestFormFixture {
protected:
    void SetUp() override {
        TTestFormFixture::SetUp();
        edit = Put<TNoteEdit>(form, 10, 10, 380, 240);
        form->Show();
        edit->SetFocus();
        Pump();
    }
    void Pump() { PumpUntil([] { return false; }, 30); }
    void Char(wchar_t c) {
        PostMessageW(edit->Handle(), WM_CHAR, c, 0);
        Pump();
    }
    void Key(WORD key, bool shift = false) {
        if (shift) SetShiftKey(true);
        PostMessageW(edit->Handle(), WM_KEYDOWN, key, 0);
        Pump();
        if (shift) SetShiftKey(false);
    }
    static void SetShiftKey(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void Click(int x, int y, WPARAM keys = 0) {
        SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
        SendMessageW(edit->Handle(), WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    }
    TNoteEdit* edit = nullptr;
};
}  // namespace

// The suite runs a second time under another ANSI code page (see CMakeLists.txt); the
// control converts and draws by its own code page 936 rule either way.
TEST_F(NoteEditWindow, RunsUnderTheExpectedAnsiCodePage) {
    if (std::getenv("VORPEN_EXPECT_OTHER_ACP")) EXPECT_NE(GetACP(), 936u);
    else EXPECT_EQ(GetACP(), 936u);
}

TEST_F(NoteEditWindow, TypedAsciiAndChineseBecomeGbk) {
    for (wchar_t c : std::wstring(L"ab")) Char(c);
    Char(L'中');                 // one UTF-16 unit: its two GBK bytes
    Char(0x0E01);                // Thai: no GBK form, nothing inserted
    SendMessageW(edit->Handle(), WM_IME_CHAR, L'文', 0);
    edit->InsertImeResult(u"输入");
    Char(L'c');                  // no keystroke is swallowed after input-method text
    EXPECT_EQ(edit->TextUtf8(), "ab中文输入c");
    EXPECT_EQ(edit->Lines().Get(0).size(), 2u + 2 * 4 + 1);
    EXPECT_EQ(edit->CaretX(), 12);
}

// A composition completed through the input context arrives as WM_IME_COMPOSITION with a
// result string; the text goes in once, whatever characters the system sends after it.
TEST_F(NoteEditWindow, CompletedCompositionIsInsertedOnce) {
    HIMC imc = ImmGetContext(edit->Handle());
    ASSERT_NE(imc, nullptr);
    ImmSetOpenStatus(imc, TRUE);
    const wchar_t text[] = L"中文";
    ImmSetCompositionStringW(imc, SCS_SETSTR, const_cast<wchar_t*>(text), sizeof text - sizeof(wchar_t), nullptr, 0);
    ImmNotifyIME(imc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    ImmReleaseContext(edit->Handle(), imc);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(edit->TextUtf8(), "中文");
    Char(L'c');  // and no keystroke after it is swallowed
    EXPECT_EQ(edit->TextUtf8(), "中文c");
}

TEST_F(NoteEditWindow, KeysMoveOverWholeCharactersAndSelect) {
    edit->SetTextUtf8("中文ab");
    Key(VK_END);
    EXPECT_EQ(edit->CaretX(), 7);
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(edit->CaretX(), 3);  // one step over 文
    Key(VK_LEFT, true);
    EXPECT_EQ(GbkToUtf8(edit->SelText()), "中");
    Char(L'x');
    EXPECT_EQ(edit->TextUtf8(), "x文ab");
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(edit->Handle(), WM_KEYDOWN, 'Z', 0);
    PostMessageW(edit->Handle(), WM_CHAR, 0x1A, 0);  // the ^Z TranslateMessage would make
    Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(edit->TextUtf8(), "中文ab");
    EXPECT_EQ(GbkToUtf8(edit->SelText()), "中");  // the deleted selection is selected again
    Char(L'y');
    EXPECT_EQ(edit->TextUtf8(), "y文ab");
}

TEST_F(NoteEditWindow, MouseClicksAndDragsByHalfCharacters) {
    edit->SetTextUtf8("中文ab\nsecond");
    const int cw = edit->CharWidth(), lh = edit->LineHeight(), x0 = edit->TextOffset();
    Click(x0 + cw / 4, lh / 2);  // the left of 中: before it
    EXPECT_EQ(edit->CaretX(), 1);
    Click(x0 + cw + cw / 2 + 1, lh / 2);  // its right half: after it
    EXPECT_EQ(edit->CaretX(), 3);
    Click(x0 + 3 * cw + cw / 2 - 1, lh / 2);  // left half of 文's second cell: after 文
    EXPECT_EQ(edit->CaretX(), 5);
    Click(x0 + 2, lh + lh / 2);
    EXPECT_EQ(edit->CaretY(), 2);
    SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0 + 2, lh / 2));
    SendMessageW(edit->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 + 4 * cw + 2, lh / 2));
    SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x0 + 4 * cw + 2, lh / 2));
    EXPECT_EQ(GbkToUtf8(edit->SelText()), "中文");
    EXPECT_EQ(GetCapture(), nullptr);
    // A double click selects the word first; OnDblClick then finds it selected. The click
    // point comes from the message's cursor position, so the pointer goes there first.
    std::string selectedAtEvent = "none";
    edit->OnDblClick = [&](TObject*) { selectedAtEvent = GbkToUtf8(edit->SelText()); };
    const TPoint at{x0 + 2 * cw, lh + lh / 2};
    TRealInput input;
    ASSERT_TRUE(input.MoveTo(edit->ClientToScreen(at)));
    Click(at.X, at.Y);
    PostMessageW(edit->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.X, at.Y));
    ASSERT_TRUE(PumpUntil([&] { return selectedAtEvent != "none"; }));
    EXPECT_EQ(selectedAtEvent, "second");
    SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.X, at.Y));
    EXPECT_EQ(GbkToUtf8(edit->SelText()), "second");
}

TEST_F(NoteEditWindow, NotePictureShowsRuledRowsAndWrappedChinese) {
    SetNoteLook(edit);
    form->SetBounds(40, 40, 640, 300);
    edit->SetBounds(10, 10, 600, 240);
    std::string text = "便签：今天下午三点开会，记得带上季度报告和预算表。";
    text += "会后整理会议纪要并发给大家，周五之前完成项目进度更新。";
    text += "\nShopping list: milk, eggs, bread\n\n中英混排 mixed 文本 line";
    edit->SetTextUtf8(text);
    edit->SetCaretXY({7, 4});
    edit->SetBlockBegin({3, 4});
    edit->SetBlockEnd({9, 4});
    edit->SetFocus();
    form->Repaint();
    PumpUntil([] { return false; }, 300);
    ASSERT_GT(edit->DisplayLineCount(), edit->Lines().Count());  // the long line wraps
    EXPECT_EQ(edit->LineHeight(), edit->CharHeight() + NoteLineSpacingExtra(lsOneAndHalf, edit->CharHeight(), 0));

    // The form and the editor window (frame, scroll bars and client) as they print.
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    TBitmap shot(wr.right - wr.left, wr.bottom - wr.top);
    PrintWindow(form->Handle(), shot.Canvas().Handle(), 0);
    RECT er;
    GetWindowRect(edit->Handle(), &er);
    TBitmap part(er.right - er.left, er.bottom - er.top);
    PrintWindow(edit->Handle(), part.Canvas().Handle(), 0);
    BitBlt(shot.Canvas().Handle(), er.left - wr.left, er.top - wr.top, part.Width(), part.Height(), part.Canvas().Handle(),
           0, 0, SRCCOPY);
    const auto dir = std::filesystem::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path() / "build" / "shots";
    std::filesystem::create_directories(dir);
    shot.SaveToFile((dir / "note_edit.bmp").string());
    {
        // The control's own defaults, with line numbers in the gutter.
        auto* plain = Put<TNoteEdit>(form, 10, 10, 300, 120);
        plain->Gutter().SetShowLineNumbers(true);
        plain->SetTextUtf8(text);
        plain->SetFocus();
        PumpUntil([] { return false; }, 100);
        TBitmap part(plain->Width(), plain->Height());
        PrintWindow(plain->Handle(), part.Canvas().Handle(), 0);
        part.SaveToFile((dir / "note_edit_plain.bmp").string());
        delete plain;
    }

    // The rule lies on the last pixel row of each text row, from x = 2 to the client width,
    // also on the empty third line; rows below the text have none.
    HDC dc = GetDC(edit->Handle());
    const int lh = edit->LineHeight();
    const int rows = edit->DisplayLineCount();
    int ruled = 0;
    for (int row = 0; row < rows; ++row)
        for (int x = 2; x < 12; ++x)
            if (GetPixel(dc, x, row * lh + lh - 1) == RGB(255, 0, 0)) {
                ++ruled;
                break;
            }
    int below = 0;
    for (int x = 2; x < 40; ++x)
        if (GetPixel(dc, x, rows * lh + lh - 1) == RGB(255, 0, 0)) ++below;
    ReleaseDC(edit->Handle(), dc);
    EXPECT_EQ(ruled, rows);
    EXPECT_EQ(below, 0);
}

// An editor made here with a gutter: line numbers, bookmark glyphs and the signs of
// eoShowSpecialChars; the picture stays the same after the drawer gave its fonts back.
TEST_F(NoteEditWindow, GutterShowsBookmarksAndSpecialChars) {
    form->SetBounds(40, 40, 460, 240);
    edit->SetBounds(10, 10, 420, 180);
    edit->Gutter().SetShowLineNumbers(true);
    edit->Gutter().SetWidth(40);
    edit->SetTextUtf8("第一行 with blanks\n\tTabbed line\n书签 bookmark three\nfour");
    edit->SetOptions(edit->Options() | NoteOption(eoShowSpecialChars));
    edit->SetBookMark(0, 1, 1);
    edit->SetBookMark(3, 2, 3);
    edit->SetBookMark(7, 1, 3);
    int gutterRows = 0, transients = 0;
    edit->OnGutterPaint = [&](void*, int, int, int) { ++gutterRows; };
    edit->OnPaintTransient = [&](TObject*, TCanvas&, TNoteTransientType) { ++transients; };
    edit->SetFocus();
    form->Repaint();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(gutterRows, 4);
    EXPECT_GT(transients, 0);
    const auto shoot = [&](TBitmap& part) { PrintWindow(edit->Handle(), part.Canvas().Handle(), 0); };
    TBitmap before(edit->Width(), edit->Height()), after(edit->Width(), edit->Height());
    shoot(before);
    const auto dir = std::filesystem::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path() / "build" / "shots";
    std::filesystem::create_directories(dir);
    // A window picture has no alpha: GDI leaves the fourth byte 0 while a BitBlt glyph brings its
    // strip's 0xFF along, and a 32-bit file with such mixed bytes shows only the glyphs.
    before.SetPixelFormat(pf24bit);
    const std::string file = (dir / "note_edit_marks.bmp").string();
    before.SaveToFile(file);
    TBitmap saved;
    saved.LoadFromFile(file);
    ASSERT_EQ(saved.Width(), before.Width());
    ASSERT_EQ(saved.Height(), before.Height());
    const COLORREF gutter = ColorToRGB(edit->Gutter().Color());
    const uint32_t gutterPixel = GetRValue(gutter) << 16 | GetGValue(gutter) << 8 | GetBValue(gutter);
    int seeThrough = 0, changed = 0, gutterFill = 0, textInk = 0;
    for (int y = 0; y < saved.Height(); ++y) {
        const uint32_t* line = saved.ScanLine(y);
        const uint32_t* shot = before.ScanLine(y);
        for (int x = 0; x < saved.Width(); ++x) {
            const uint32_t p = line[x];
            seeThrough += p >> 24 != 0xFF;
            changed += (p & 0xFFFFFF) != (shot[x] & 0xFFFFFF);
            if (y >= 4 * edit->LineHeight()) continue;
            if (x < 36) gutterFill += (p & 0xFFFFFF) == gutterPixel;
            else if (x >= 50 && (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) < 3 * 96) ++textInk;
        }
    }
    EXPECT_EQ(seeThrough, 0);
    EXPECT_EQ(changed, 0);
    // Beside the glyphs: the gutter fill and the dark pixels of the text.
    EXPECT_GT(gutterFill, 36 * 4 * edit->LineHeight() / 3);
    EXPECT_GT(textInk, 100);
    // The bookmark glyph's black frame at the left margin of rows 1 and 3, none on row 2.
    HDC dc = GetDC(edit->Handle());
    const int lh = edit->LineHeight();
    const auto darkIn = [&](int row) {
        int dark = 0;
        for (int y = row * lh; y < row * lh + lh; ++y)
            for (int x = 2; x < 14; ++x) dark += GetPixel(dc, x, y) == RGB(0, 0, 0);
        return dark;
    };
    EXPECT_GT(darkIn(0), 10);
    EXPECT_EQ(darkIn(1), 0);
    EXPECT_GT(darkIn(2), 20);  // two glyphs
    ReleaseDC(edit->Handle(), dc);
    // After FreeTemporaries the editor paints in its own font again.
    edit->FreeTemporaries();
    edit->Invalidate();
    PumpUntil([] { return false; }, 300);
    shoot(after);
    int differing = 0;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x) differing += before.ScanLine(y)[x] != after.ScanLine(y)[x];
    EXPECT_EQ(differing, 0);
}

// Controls in the focus list take the focus in the editor's place.
TEST_F(NoteEditWindow, FocusListTakesTheFocus) {
    auto* other = Put<TNoteEdit>(form, 10, 260, 100, 40);
    Pump();
    edit->AddFocusControl(other);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(GetFocus(), other->Handle());
    edit->RemoveFocusControl(other);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(GetFocus(), edit->Handle());
}

// Marks that do not use the built-in glyphs are drawn from BookMarkOptions' image list,
// centred in their row, one Xoffset apart; the list's destruction clears the reference.
TEST_F(NoteEditWindow, MarksAreDrawnFromTheBookmarkImageList) {
    const TColor colours[] = {clRed, clLime, clBlue};
    auto* images = new TImageList(form);
    images->SetSize(20, 20);
    TBitmap strip(60, 20);
    strip.Canvas().Brush().SetColor(clFuchsia);  // the transparent corner
    strip.Canvas().FillRect(Rect(0, 0, 60, 20));
    for (int i = 0; i < 3; ++i) {
        strip.Canvas().Brush().SetColor(colours[i]);
        strip.Canvas().FillRect(Rect(i * 20 + 2, 2, i * 20 + 18, 18));
    }
    images->Add(strip);
    form->SetBounds(40, 40, 460, 240);
    edit->SetBounds(10, 10, 420, 180);
    edit->SetLineSpacingRule(lsOneAndHalf);
    edit->Gutter().SetWidth(70);
    edit->BookMarkOptions().SetXoffset(22);
    edit->BookMarkOptions().SetBookmarkImages(images);
    edit->SetTextUtf8("第一行\nsecond line\n第三行 third\nfour");
    const auto addMark = [&](int line, int image) {
        auto mark = std::make_unique<TNoteEditMark>(edit);
        mark->SetLine(line);
        mark->SetImageIndex(image);
        mark->SetVisible(true);
        edit->Marks().Add(std::move(mark));
    };
    addMark(1, 0);
    addMark(2, 1);
    addMark(2, 2);
    edit->SetBookMark(2, 1, 4);  // a bookmark takes the list's image of its number
    PumpUntil([] { return false; }, 300);
    const int lh = edit->LineHeight();
    ASSERT_GE(lh, 20);
    HDC dc = GetDC(edit->Handle());
    const auto at = [&](int row, int slot) { return GetPixel(dc, 2 + slot * 22 + 10, row * lh + lh / 2); };
    EXPECT_EQ(at(0, 0), ColorToRGB(clRed));
    EXPECT_EQ(at(1, 0), ColorToRGB(clLime));
    EXPECT_EQ(at(1, 1), ColorToRGB(clBlue));
    EXPECT_EQ(at(2, 0), ColorToRGB(edit->Gutter().Color()));
    EXPECT_EQ(at(3, 0), ColorToRGB(clBlue));
    // The transparent frame shows the gutter.
    EXPECT_EQ(GetPixel(dc, 2 + 1, lh / 2), ColorToRGB(edit->Gutter().Color()));
    ReleaseDC(edit->Handle(), dc);

    TBitmap shot(edit->Width(), edit->Height());
    PrintWindow(edit->Handle(), shot.Canvas().Handle(), 0);
    shot.SetPixelFormat(pf24bit);
    const auto dir = std::filesystem::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path() / "build" / "shots";
    std::filesystem::create_directories(dir);
    shot.SaveToFile((dir / "note_edit_image_marks.bmp").string());

    delete images;
    EXPECT_EQ(edit->BookMarkOptions().BookmarkImages(), nullptr);
    PumpUntil([] { return false; }, 300);
    dc = GetDC(edit->Handle());
    EXPECT_EQ(at(0, 0), ColorToRGB(edit->Gutter().Color()));
    ReleaseDC(edit->Handle(), dc);
}

// A wheel notch from real input scrolls the view and fires OnScroll with sbVertical.
TEST_F(NoteEditWindow, WheelNotchFiresOnScroll) {
    std::string text;
    for (int i = 1; i <= 60; ++i) text += "line " + std::to_string(i) + "\n";
    edit->SetTextUtf8(text);
    std::vector<TNoteScrollBarKind> scrolls;
    edit->OnScroll = [&](TObject*, TNoteScrollBarKind kind) { scrolls.push_back(kind); };
    SetForegroundWindow(form->Handle());
    edit->SetFocus();
    POINT centre{edit->Width() / 2, edit->Height() / 2};
    ClientToScreen(edit->Handle(), &centre);
    SetCursorPos(centre.x, centre.y);
    Pump();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
    PumpUntil([&] { return !scrolls.empty(); }, 3000);
    EXPECT_EQ(scrolls, std::vector<TNoteScrollBarKind>{sbVertical});
    EXPECT_GT(edit->TopLine(), 1);
}

// A paint fires OnPaintTransient with ttAfter alone, and still does after a cut whose
// copy failed (the clipboard held open by another window).
TEST_F(NoteEditWindow, PaintFiresTransientAfterAlsoAfterAFailedCut) {
    edit->SetTextUtf8("cut me");
    std::vector<TNoteTransientType> types;
    edit->OnPaintTransient = [&](TObject*, TCanvas&, TNoteTransientType t) { types.push_back(t); };
    const auto repaint = [&] {
        types.clear();
        edit->Invalidate();
        UpdateWindow(edit->Handle());
        return types;
    };
    EXPECT_EQ(repaint(), std::vector<TNoteTransientType>{ttAfter});
    edit->SetBlockBegin({1, 1});
    edit->SetBlockEnd({4, 1});
    ASSERT_TRUE(OpenClipboard(form->Handle()));
    EXPECT_THROW(edit->CommandProcessor(ecCut, 0, nullptr), ENoteEditError);
    CloseClipboard();
    EXPECT_EQ(edit->TextUtf8(), "cut me");
    EXPECT_EQ(repaint(), std::vector<TNoteTransientType>{ttAfter});
}
