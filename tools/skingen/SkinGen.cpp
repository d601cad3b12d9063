// Draws the program's own skin: SKIN.INI (code page 936, CR LF) and its bitmaps, then
// packs them with PackSkinFromIni into the stored skin the executable embeds.
//   skingen <output folder>
//
// A calm frame in the blue of the clock face: a caption band with a soft vertical
// gradient, thin borders, rounded top corners cut by the frame mask, white glyphs on the
// caption buttons; light menus and hints with a blue accent.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "framework/rtl/BmpImage.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "skin/core/SkBmp.h"
#include "skin/core/SkCanvas.h"
#include "skin/core/SkCompressedStoredSkin.h"

namespace {

constexpr TSkPixel kCaptionTop = SkRgb(0x4A, 0x7D, 0xB5);
constexpr TSkPixel kCaptionBottom = SkRgb(0x2E, 0x5C, 0x8E);
// The inactive frame's caption band: the same blue, greyed and lighter.
constexpr TSkPixel kInactiveCaptionTop = SkRgb(0x9A, 0xA7, 0xB5);
constexpr TSkPixel kInactiveCaptionBottom = SkRgb(0x7E, 0x8B, 0x99);
constexpr TSkPixel kInactiveGlyph = SkRgb(0xE4, 0xE8, 0xEC);
constexpr TSkPixel kBorder = SkRgb(0x2E, 0x5C, 0x8E);
constexpr TSkPixel kBorderDark = SkRgb(0x24, 0x48, 0x70);
constexpr TSkPixel kClient = SkRgb(0xF4, 0xF6, 0xF8);
constexpr TSkPixel kWhite = SkRgb(0xFF, 0xFF, 0xFF);
constexpr TSkPixel kLine = SkRgb(0xC9, 0xD2, 0xDC);
constexpr TSkPixel kBlack = SkRgb(0, 0, 0);

TSkPixel Mix(TSkPixel a, TSkPixel b, double t)
{
    auto ch = [&](int shift) {
        const double x = (a >> shift) & 255, y = (b >> shift) & 255;
        return static_cast<int>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
    };
    return SkRgb(ch(16), ch(8), ch(0));
}

void Fill(TSkBitmap& b, const TRect& r, TSkPixel c)
{
    TSkCanvas canvas(b);
    canvas.BrushColor = c;
    canvas.FillRect(r);
}

void Frame(TSkBitmap& b, const TRect& r, TSkPixel c)
{
    TSkCanvas canvas(b);
    canvas.PenColor = c;
    canvas.FrameRect(r);
}

void VGradient(TSkBitmap& b, const TRect& r, TSkPixel top, TSkPixel bottom)
{
    for (int y = r.Top; y < r.Bottom; ++y)
        Fill(b, {r.Left, y, r.Right, y + 1}, Mix(top, bottom, (y - r.Top) / std::max(1.0, r.Height() - 1.0)));
}

// A rounded box: fill, outline, corners of one pixel cut to the background.
void RoundBox(TSkBitmap& b, const TRect& r, TSkPixel fill, TSkPixel outline, TSkPixel background)
{
    Fill(b, r, fill);
    Frame(b, r, outline);
    for (const TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top}, TPoint{r.Left, r.Bottom - 1},
                           TPoint{r.Right - 1, r.Bottom - 1}})
        b.SetPixel(p.X, p.Y, background);
}

void GradientBox(TSkBitmap& b, const TRect& r, TSkPixel top, TSkPixel bottom, TSkPixel outline, TSkPixel background)
{
    VGradient(b, r, top, bottom);
    Frame(b, r, outline);
    for (const TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right - 1, r.Top}, TPoint{r.Left, r.Bottom - 1},
                           TPoint{r.Right - 1, r.Bottom - 1}})
        b.SetPixel(p.X, p.Y, background);
}

enum class TGlyph { SysMenu, RollUp, Minimize, Maximize, Restore, Close };

// A 14 x 14 (16 x 16 for the system menu) caption glyph at x, y.
void Glyph(TSkBitmap& b, int x, int y, TGlyph g, TSkPixel c)
{
    TSkCanvas k(b);
    k.PenColor = c;
    auto line = [&](int x0, int y0, int x1, int y1) {
        k.MoveTo(x + x0, y + y0);
        k.LineTo(x + x1, y + y1);
        k.Plot(x + x1, y + y1, c);
    };
    switch (g) {
    case TGlyph::SysMenu:   // a small clock: ring, two hands
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i) {
                const double d = std::hypot(i + 0.5 - 8, j + 0.5 - 8);
                if (d >= 4.9 && d <= 6.4)
                    k.Plot(x + i, y + j, c);
            }
        line(7, 7, 7, 4);
        line(7, 7, 10, 7);
        break;
    case TGlyph::RollUp:
        for (int i = 0; i < 4; ++i)
            line(7 - i, 5 + i, 6 + i, 5 + i);
        break;
    case TGlyph::Minimize:
        line(3, 9, 10, 9);
        line(3, 10, 10, 10);
        break;
    case TGlyph::Maximize:
        k.FrameRect({x + 3, y + 3, x + 11, y + 11});
        line(3, 4, 10, 4);
        break;
    case TGlyph::Restore:   // a window behind another
        line(5, 2, 11, 2);
        line(5, 3, 11, 3);
        line(11, 2, 11, 8);
        line(10, 8, 11, 8);
        line(5, 2, 5, 4);
        k.FrameRect({x + 2, y + 5, x + 9, y + 12});
        line(2, 6, 8, 6);
        break;
    case TGlyph::Close:
        line(3, 3, 10, 10);
        line(4, 3, 10, 9);
        line(3, 4, 9, 10);
        line(10, 3, 3, 10);
        line(9, 3, 3, 9);
        line(10, 4, 4, 10);
        break;
    }
}

// Black inside, white outside: a rectangle whose top corners are rounded by radius r.
TSkBitmap RoundedMask(int w, int h, int top, int bottom)
{
    TSkBitmap m(w, h, kBlack);
    auto cut = [&](int radius, bool atTop) {
        for (int j = 0; j < radius; ++j)
            for (int i = 0; i < radius; ++i) {
                const double dx = radius - i - 0.5, dy = radius - j - 0.5;
                if (dx * dx + dy * dy > radius * radius) {
                    const int y = atTop ? j : h - 1 - j;
                    m.SetPixel(i, y, kWhite);
                    m.SetPixel(w - 1 - i, y, kWhite);
                }
            }
    };
    cut(top, true);
    cut(bottom, false);
    return m;
}

// The frame of an active window, or of an inactive one with a duller caption band.
TSkBitmap FramePicture(bool active)
{
    const TSkPixel top = active ? kCaptionTop : kInactiveCaptionTop;
    const TSkPixel bottom = active ? kCaptionBottom : kInactiveCaptionBottom;
    const TSkPixel glyph = active ? kWhite : kInactiveGlyph;
    TSkBitmap f(152, 125, kBorder);
    VGradient(f, {0, 0, 152, 29}, top, bottom);
    Fill(f, {0, 0, 152, 1}, Mix(top, kWhite, 0.35));   // top highlight
    Fill(f, {0, 28, 152, 29}, kBorderDark);            // caption's lower edge
    Frame(f, {0, 0, 152, 125}, kBorderDark);
    Fill(f, {5, 29, 147, 120}, kClient);
    Frame(f, {4, 28, 148, 121}, kBorderDark);
    Glyph(f, 6, 7, TGlyph::SysMenu, glyph);
    Glyph(f, 76, 7, TGlyph::RollUp, glyph);
    Glyph(f, 92, 7, TGlyph::Minimize, glyph);
    Glyph(f, 110, 7, TGlyph::Maximize, glyph);
    Glyph(f, 130, 7, TGlyph::Close, glyph);
    return f;
}

// A caption button's hover or down look: the caption background with a soft box.
void CaptionButton(TSkBitmap& o, const TSkBitmap& frame, const TRect& at, const TRect& from, TGlyph g, TSkPixel box)
{
    TSkCanvas(o).CopyRect(at, frame, from);
    for (int y = at.Top; y < at.Bottom; ++y)
        for (int x = at.Left; x < at.Right; ++x) {
            const bool corner = (x == at.Left || x == at.Right - 1) && (y == at.Top || y == at.Bottom - 1);
            if (!corner)
                o.SetPixel(x, y, Mix(o.Pixel(x, y), box, 0.55));
        }
    Glyph(o, at.Left, at.Top, g, kWhite);
}

TSkBitmap ObjectsPicture(const TSkBitmap& frame)
{
    TSkBitmap o(128, 264, kWhite);
    const TSkPixel hover = SkRgb(0x8F, 0xB6, 0xE0), down = SkRgb(0x1C, 0x3D, 0x63), red = SkRgb(0xD8, 0x4A, 0x45);
    TSkCanvas(o).CopyRect({0, 0, 46, 22}, frame, {24, 5, 70, 27});   // active caption
    CaptionButton(o, frame, {0, 24, 16, 40}, {6, 7, 22, 23}, TGlyph::SysMenu, hover);
    CaptionButton(o, frame, {18, 24, 34, 40}, {6, 7, 22, 23}, TGlyph::SysMenu, down);
    CaptionButton(o, frame, {36, 24, 50, 38}, {76, 7, 90, 21}, TGlyph::RollUp, hover);
    CaptionButton(o, frame, {52, 24, 66, 38}, {76, 7, 90, 21}, TGlyph::RollUp, down);
    CaptionButton(o, frame, {0, 42, 14, 56}, {92, 7, 106, 21}, TGlyph::Minimize, hover);
    CaptionButton(o, frame, {16, 42, 30, 56}, {92, 7, 106, 21}, TGlyph::Minimize, down);
    CaptionButton(o, frame, {32, 42, 46, 56}, {110, 7, 124, 21}, TGlyph::Maximize, hover);
    CaptionButton(o, frame, {48, 42, 62, 56}, {110, 7, 124, 21}, TGlyph::Maximize, down);
    TSkCanvas(o).CopyRect({0, 58, 14, 72}, frame, {40, 7, 54, 21});   // a bare piece of the caption
    Glyph(o, 0, 58, TGlyph::Restore, kWhite);
    CaptionButton(o, frame, {16, 58, 30, 72}, {40, 7, 54, 21}, TGlyph::Restore, hover);
    CaptionButton(o, frame, {32, 58, 46, 72}, {40, 7, 54, 21}, TGlyph::Restore, down);
    CaptionButton(o, frame, {48, 58, 62, 72}, {130, 7, 144, 21}, TGlyph::Close, red);
    CaptionButton(o, frame, {64, 58, 78, 72}, {130, 7, 144, 21}, TGlyph::Close, Mix(red, kBlack, 0.3));

    // Menu item: normal, highlighted, divider.
    Fill(o, {0, 80, 63, 100}, kWhite);
    RoundBox(o, {0, 102, 63, 122}, SkRgb(0xDD, 0xE9, 0xF7), SkRgb(0x9D, 0xB9, 0xDA), kWhite);
    Fill(o, {0, 124, 63, 131}, kWhite);
    Fill(o, {0, 127, 63, 128}, SkRgb(0xD5, 0xDC, 0xE3));

    // Resize button: normal, hover, down, disabled; then the panel.
    GradientBox(o, {3, 240, 27, 261}, SkRgb(0xFB, 0xFC, 0xFD), SkRgb(0xE2, 0xE7, 0xED), SkRgb(0xA7, 0xB4, 0xC2), kWhite);
    GradientBox(o, {30, 240, 54, 261}, SkRgb(0xF3, 0xF8, 0xFE), SkRgb(0xD6, 0xE6, 0xF7), SkRgb(0x4A, 0x7D, 0xB5), kWhite);
    GradientBox(o, {57, 240, 81, 261}, SkRgb(0xC9, 0xDA, 0xEC), SkRgb(0xDC, 0xE7, 0xF3), SkRgb(0x2E, 0x5C, 0x8E), kWhite);
    GradientBox(o, {84, 240, 108, 261}, SkRgb(0xF0, 0xF0, 0xF0), SkRgb(0xE8, 0xE8, 0xE8), SkRgb(0xC4, 0xC4, 0xC4), kWhite);
    RoundBox(o, {64, 0, 124, 52}, kClient, kLine, kWhite);
    return o;
}

TSkBitmap PopupPicture()
{
    TSkBitmap p(65, 69, kWhite);
    Frame(p, {0, 0, 65, 69}, SkRgb(0x8A, 0x9B, 0xAD));
    Fill(p, {1, 1, 64, 3}, kCaptionBottom);   // accent along the top
    return p;
}

TSkBitmap HintPicture()
{
    TSkBitmap h(42, 27, SkRgb(0xFF, 0xFD, 0xF4));
    Frame(h, {0, 0, 42, 27}, SkRgb(0x8A, 0x9B, 0xAD));
    Fill(h, {1, 1, 41, 3}, kCaptionTop);
    return h;
}

void Save(const std::string& path, const std::string& bytes)
{
    WriteFileBytes(path, bytes);
}

std::string MaskBytes(const TSkBitmap& m)
{
    return EncodeBmp(m.Pixels().data(), m.Width(), m.Height(), 1);
}

const char* const kIni = R"([VERSION]
ver=2
skinname=vorpen
skinauthor=vorpen
authoremail=
authorurl=
skincomments=The program's own skin

[PICTURES]
picture=frame.bmp
inactivepicture=frameinactive.bmp
mask=framemask.bmp
rolluppicture=
rollupmask=
activepicturescount=5
0=objects.bmp
1=popup.bmp
2=popupmask.bmp
3=hint.bmp
4=hintmask.bmp

[FORMINFO]
lefttoppoint=40,40
righttoppoint=53,40
leftbottompoint=40,100
rightbottompoint=53,100
clientrect=5,29,147,120
borderwidth=3
bgpictureindex=-1
leftstretch=0
rightstretch=0
topstretch=0
bottomstretch=0
autorenderinginactiveimage=0
inactiveeffect=iebrightness

[POPUPWINDOW]
windowpictureindex=1
maskpictureindex=2
lefttoppoint=8,8
righttoppoint=57,8
leftbottompoint=8,61
rightbottompoint=57,61
itemsrect=3,8,62,61
scrollmarkercolor=9342606
scrollmarkeractivecolor=9330734
leftstretch=0
rightstretch=0
topstretch=0
bottomstretch=0

[HINTWINDOW]
windowpictureindex=3
maskpictureindex=4
lefttoppoint=13,9
righttoppoint=37,10
leftbottompoint=3,17
rightbottompoint=26,18
clientrect=3,8,40,20
fontname=宋体
fontheight=12
fontstyle=
fontcolor=0
leftstretch=0
rightstretch=0
topstretch=0
bottomstretch=0

[SKINAREAS]
count=0

[SKINOBJECTS]
count=7
0=caption1:caption
1=closebutton:stdbutton
2=maximizebutton:stdbutton
3=minimizebutton:stdbutton
4=rollupbutton:stdbutton
5=sysmenubutton:stdbutton
6=menuitem:menuitem

[caption1]
skinrect=24,5,70,27
defaultcaption=1
textrect=2,2,44,20
fontname=宋体
fontheight=-12
fontstyle=fsbold
fontcolor=15263976
activefontcolor=16777215
alignment=taleftjustify
activepictureindex=0
activeskinrect=0,0,46,22
morphing=0

[sysmenubutton]
command=cmsysmenu
skinrect=6,7,22,23
activepictureindex=0
activeskinrect=0,24,16,40
downrect=18,24,34,40
morphing=0

[rollupbutton]
command=cmrollup
skinrect=76,7,90,21
activepictureindex=0
activeskinrect=36,24,50,38
downrect=52,24,66,38
morphing=0

[minimizebutton]
command=cmminimize
skinrect=92,7,106,21
activepictureindex=0
activeskinrect=0,42,14,56
downrect=16,42,30,56
morphing=0

[maximizebutton]
command=cmmaximize
skinrect=110,7,124,21
activepictureindex=0
activeskinrect=32,42,46,56
downrect=48,42,62,56
restorerect=0,58,14,72
restoreactiverect=16,58,30,72
restoredownrect=32,58,46,72
morphing=0

[closebutton]
command=cmclose
skinrect=130,7,144,21
activepictureindex=0
activeskinrect=48,58,62,72
downrect=64,58,78,72
morphing=0

[menuitem]
activepictureindex=0
skinrect=0,80,63,100
activeskinrect=0,102,63,122
dividerrect=0,124,63,131
itemleftoffset=2
itemrightoffset=2
dividerleftoffset=2
dividerrightoffset=2
textrect=2,2,60,18
fontname=宋体
fontheight=-12
fontstyle=
fontcolor=2105376
activefontcolor=5909008
unenabledfontcolor=10526880
morphing=0

[SKINCONTROLS]
count=2
0=resizebutton:button
1=panel:panel

[resizebutton]
pictureindex=0
maskpictureindex=-1
skinrect=3,240,27,261
lefttoppoint=6,5
righttoppoint=18,5
leftbottompoint=6,15
rightbottompoint=18,15
clientrect=3,3,21,18
fontname=宋体
fontheight=12
fontstyle=
fontcolor=0
activefontcolor=0
downfontcolor=0
disabledfontcolor=clGray
activeskinrect=30,240,54,261
downskinrect=57,240,81,261
disabledskinrect=84,240,108,261
morphing=0

[panel]
pictureindex=0
skinrect=64,0,124,52
lefttoppoint=6,6
righttoppoint=53,6
leftbottompoint=6,46
rightbottompoint=53,46
clientrect=3,3,57,49
bgpictureindex=-1
captionrect=0,0,0,0
fontname=宋体
fontheight=12
fontcolor=0
)";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <output folder>\n");
        return 2;
    }
    const std::string dir = IncludeTrailingPathDelimiter(argv[1]);
    const TSkBitmap frame = FramePicture(true);
    Save(dir + "frame.bmp", SaveBmpToBytes(frame));
    Save(dir + "frameinactive.bmp", SaveBmpToBytes(FramePicture(false)));
    Save(dir + "framemask.bmp", MaskBytes(RoundedMask(152, 125, 6, 2)));
    Save(dir + "objects.bmp", SaveBmpToBytes(ObjectsPicture(frame)));
    Save(dir + "popup.bmp", SaveBmpToBytes(PopupPicture()));
    Save(dir + "popupmask.bmp", MaskBytes(RoundedMask(65, 69, 2, 2)));
    Save(dir + "hint.bmp", SaveBmpToBytes(HintPicture()));
    Save(dir + "hintmask.bmp", MaskBytes(RoundedMask(42, 27, 3, 3)));
    Save(dir + "SKIN.INI", Utf8ToGbk(WithCrLf(kIni)));
    TskCompressedStoredSkin stored;
    stored.PackSkinFromIni(dir + "SKIN.INI");
    if (stored.IsEmpty()) {
        std::fprintf(stderr, "skingen: SKIN.INI did not pack\n");
        return 1;
    }
    Save(dir + "vorpen.skn", stored.CompressedData());
    return 0;
}
