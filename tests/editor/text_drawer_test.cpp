#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "editor/core/NoteEditMiscProcs.h"
#include "editor/core/NoteEditTypes.h"
#include "editor/win/NoteTextDrawer.h"
#include "framework/win/Bitmap.h"

namespace {
void MakeFont(TFont& f, const char* name, int height, TFontStyles style = {}) {
    f.SetName(name);
    f.SetHeight(height);
    f.SetStyle(style);
}
}  // namespace

TEST(NoteTextDrawer, FontsShareARecordUnlessTheirWeightDiffers) {
    const int before = GetFontsInfoManager().Count();
    TFont plain, italic, bold;
    MakeFont(plain, "Courier New", -13);
    MakeFont(italic, "Courier New", -13, TFontStyles{fsItalic});
    MakeFont(bold, "Courier New", -13, TFontStyles{fsBold});
    {
        TTextDrawer a(NoteFontStyle::Bold, &plain), b(NoteFontStyle::Bold, &italic);
        EXPECT_EQ(a.Stock().Info(), b.Stock().Info());
        EXPECT_EQ(a.Stock().Info()->RefCount, 2);
        TTextDrawer c(NoteFontStyle::Bold, &bold);
        EXPECT_NE(c.Stock().Info(), a.Stock().Info());
        EXPECT_EQ(GetFontsInfoManager().Count(), before + 2);
        b.FreeTemporaries();
        EXPECT_NE(a.Stock().FontHandle(), nullptr);  // the other drawer's handles stay
        EXPECT_NE(a.Stock().StyleEntry(a.Stock().Info() ? 1 : 0)->Handle, nullptr);
    }
    EXPECT_EQ(GetFontsInfoManager().Count(), before);
    EXPECT_THROW(TTextDrawer(0, nullptr), EFontStockException);
}

TEST(NoteTextDrawer, CellsOfGbkBytesAndTheWidthArray) {
    TFont font;
    MakeFont(font, "新宋体", -12);
    TTextDrawer drawer(NoteFontStyle::Bold, &font);
    EXPECT_EQ(drawer.Stock().WideAdvance(), INT_MAX);  // a GB2312 font: unknown
    const int cell = drawer.CellWidth();
    ASSERT_GT(cell, 0);
    TBitmap target(400, 40);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect(Rect(0, 0, 400, 40));
    drawer.SetBackColour(clWhite);
    drawer.SetTextColour(clBlack);
    drawer.BeginDraw(target.Canvas().Handle());
    // 中文 and two ASCII letters: 6 cells; the ink ends inside them.
    RECT r{0, 0, 400, 20};
    for (auto [count, size] : {std::pair{64, 128}, {65, 128}, {129, 192}}) {
        drawer.CellTextOut(0, 20, 0, r, std::string(count, 'x'));
        EXPECT_EQ(drawer.CellWidthCount(), size) << count;
    }
    drawer.CellTextOut(0, 0, 0, r, "\xD6\xD0\xCE\xC4" "ab");
    drawer.EndDraw();
    GdiFlush();
    int lastInk = -1;
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 18; ++y)
            if ((target.PixelARGB(x, y) & 0xFFFFFF) != 0xFFFFFF) lastInk = x;
    EXPECT_GT(lastInk, 4 * cell);
    EXPECT_LT(lastInk, 6 * cell);
    // A changed spacing drops the cached widths; a larger font widens every cell.
    drawer.SetCharExtra(2);
    EXPECT_EQ(drawer.CellWidthCount(), 0);
    EXPECT_EQ(drawer.CellWidth(), cell + 2);
    TFont large;
    MakeFont(large, "新宋体", -24);
    drawer.SetBaseFont(&large);
    EXPECT_GT(drawer.CellWidth(), cell + 2);
    EXPECT_THROW(drawer.SetBaseFont(nullptr), ETextDrawerException);
}

// A drawer whose record another drawer shares keeps its font after FreeTemporaries: the
// next draw selects it again, not the DC's default font.
TEST(NoteTextDrawer, SharedRecordKeepsItsFontAfterFreeTemporaries) {
    TFont font;
    MakeFont(font, "Courier New", -13);
    TTextDrawer a(NoteFontStyle::Bold, &font), b(NoteFontStyle::Bold, &font);
    a.SelectStyle(0);
    b.SelectStyle(0);
    const HFONT expected = b.Stock().FontHandle();
    EXPECT_THROW(GetFontsInfoManager().CheckAtProgramEnd(), Exception);  // shared by two
    for (int round = 0; round < 2; ++round) {
        b.FreeTemporaries();
        TBitmap bitmap;
        bitmap.SetSize(8, 8);
        HDC dc = bitmap.Canvas().Handle();
        b.BeginDraw(dc);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), expected) << round;
        b.EndDraw();
    }
}

// A font stock freed while it still holds its screen DC reports the broken pairing to the
// application's handler (a destructor cannot raise); a balanced one reports nothing.
TEST(NoteTextDrawer, FontStockFreedWithADcHeldIsAnAssertion) {
    std::vector<std::string> reports;
    SetNoteExceptionHandler([&] {
        try {
            throw;
        } catch (const EAssertionFailed& e) {
            reports.push_back(e.Message());
        } catch (...) {
            reports.push_back("?");
        }
    });
    TFont font;
    MakeFont(font, "Courier New", -13);
    {
        TFontStock stock(&font);
        stock.ReleaseDCRef(stock.AcquireDC());
    }
    EXPECT_TRUE(reports.empty());
    {
        TFontStock stock(&font);
        stock.AcquireDC();
        stock.AcquireDC();
    }
    SetNoteExceptionHandler(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("NoteTextDrawer"), std::string::npos);
}
