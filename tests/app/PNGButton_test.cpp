#include "app/win/GDIPlusCommon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/win/GDITools.h"
#include "framework/win/Bitmap.h"
#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "tests/framework/RealInput.h"

namespace {

std::string Image(const char* name) { return std::string(VORPEN_DIST_DIR) + "/Images/" + name; }

uint8_t AlphaAt(TBitmap& bmp, int x, int y) { return uint8_t(bmp.PixelARGB(x, y) >> 24); }

void Draw(TPNGButton& button, TBitmap& bmp)
{
    for (int y = 0; y < bmp.Height(); ++y)
        std::memset(bmp.ScanLine(y), 0, size_t(bmp.Width()) * 4);
    TGpGraphics g(bmp.Canvas().Handle());
    DrawPNGButton(g, button);
}

}  // namespace

TEST(PNGButton, RotatesAboutItsCentre)
{
    auto hand = std::make_unique<TPNGButton>(nullptr);
    hand->SetBounds(58, 1, 13, 129);
    hand->SetImageNormal(Image("Blue_h.png"));
    TBitmap bmp(136, 131);
    Draw(*hand, bmp);   // upright: towards twelve from the pivot (64, 65)
    EXPECT_GT(AlphaAt(bmp, 64, 45), 200);
    EXPECT_EQ(AlphaAt(bmp, 84, 65), 0);
    hand->SetRotate(90);   // turned to three o'clock
    Draw(*hand, bmp);
    EXPECT_GT(AlphaAt(bmp, 84, 65), 200);
    EXPECT_EQ(AlphaAt(bmp, 64, 45), 0);
}

// Whichever GDI+ call of a rotated drawing fails, the next layer is drawn untransformed.
TEST(PNGButton, AFailedRotationLeavesNoTransformBehind)
{
    TBitmap bmp(136, 131);
    TGpGraphics g(bmp.Canvas().Handle());
    TGpImage hand = TGpImage::Decoded(Image("Blue_h.png"));
    ASSERT_FALSE(hand.Empty());
    for (int failing = 0; failing < 4; ++failing) {
        FailGdiplusCallAfter(failing);
        EXPECT_THROW(DrawPNGImage(g, hand, 58, 1, 13, 129, 90), EGdiplusError) << failing;
        FailGdiplusCallAfter(-1);
        Gdiplus::GpMatrix* m = nullptr;
        Gdiplus::DllExports::GdipCreateMatrix(&m);
        Gdiplus::DllExports::GdipGetWorldTransform(g.Get(), m);
        BOOL identity = FALSE;
        Gdiplus::DllExports::GdipIsMatrixIdentity(m, &identity);
        Gdiplus::DllExports::GdipDeleteMatrix(m);
        EXPECT_TRUE(identity) << "failing call " << failing;
    }
}

TEST(PNGButton, EmptyOrMissingImageDrawsNothing)
{
    auto button = std::make_unique<TPNGButton>(nullptr);
    button->SetBounds(0, 0, 40, 40);
    TBitmap bmp(40, 40);
    Draw(*button, bmp);
    button->SetImageNormal(Image("NoSuch.png"));
    Draw(*button, bmp);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(bmp.PixelARGB(x, y), 0u);
}

TEST(PNGButton, AutoSizeTakesTheImageSize)
{
    auto button = std::make_unique<TPNGButton>(nullptr);
    EXPECT_EQ(button->Width(), 23);
    EXPECT_EQ(button->Height(), 23);
    button->SetAutoSize(true);
    button->SetImageNormal(Image("Blue_h.png"));
    EXPECT_EQ(button->Width(), 13);
    EXPECT_EQ(button->Height(), 129);
    button->SetImageNormal(Image("BLUE.PNG").substr(0, Image("").size()) + "Blue.png");
    EXPECT_EQ(button->Width(), 130);
}

TEST(PNGButton, ImagePathChangesIgnoreCase)
{
    auto button = std::make_unique<TPNGButton>(nullptr);
    button->SetImageNormal("C:\\Images\\Blue.png");
    button->SetImageNormal("c:\\images\\BLUE.PNG");
    EXPECT_EQ(button->ImageNormal(), "C:\\Images\\Blue.png");   // kept: same file
    EXPECT_EQ(button->CurrentImagePath(), "C:\\Images\\Blue.png");
}

TEST(PNGButton, FontStyleMapsToOneGdipStyle)
{
    EXPECT_EQ(FontStyleToGdip({}), 0);
    EXPECT_EQ(FontStyleToGdip({fsBold}), 1);
    EXPECT_EQ(FontStyleToGdip({fsItalic}), 2);
    EXPECT_EQ(FontStyleToGdip({fsBold, fsItalic}), 3);
    EXPECT_EQ(FontStyleToGdip({fsBold, fsUnderline}), 4);
    EXPECT_EQ(FontStyleToGdip({fsUnderline, fsStrikeOut}), 8);
}

// With DragMode dmAutomatic the control drags itself with the mouse, shows its DragCursor
// over a control that takes it and is dropped there; its press ends with the drag.
TEST(PNGButton, DragsItselfOntoAControlThatTakesIt)
{
    EnsureApplication();
    std::unique_ptr<TForm> form(NewForm<TForm>(nullptr));
    form->SetBorderStyle(bsDialog);
    form->SetBounds(80, 80, 300, 200);
    auto* button = new TPNGButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 40, 40);
    button->SetDragMode(dmAutomatic);
    button->SetDragCursor(crMultiDrag);
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(150, 10, 100, 100);
    TObject* dropped = nullptr;
    TObject* ended = nullptr;
    panel->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool&) {};   // takes anything
    panel->OnDragDrop = [&](TObject*, TObject* source, int, int) { dropped = source; };
    button->OnEndDrag = [&](TObject*, TObject* target, int, int) { ended = target; };
    form->Show();
    TRealInput input;
    ASSERT_TRUE(input.MoveTo(button->ClientToScreen({20, 20})));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTDOWN, WM_LBUTTONDOWN));
    EXPECT_EQ(button->PressState(), 1);
    ASSERT_TRUE(input.MoveTo(panel->ClientToScreen({30, 30})));
    EXPECT_EQ(GetCursor(), CursorHandle(crMultiDrag));
    ASSERT_TRUE(input.Button(MOUSEEVENTF_LEFTUP, WM_LBUTTONUP));
    EXPECT_EQ(dropped, button);
    EXPECT_EQ(ended, panel);
    EXPECT_EQ(button->PressState(), 0);
}
