#include "editor/win/NoteEdit.h"

#include <algorithm>
#include <climits>

#include "framework/rtl/Encoding.h"
#include "framework/win/ImgList.h"

#include "framework/win/WinUtil.h"

namespace {
std::uint8_t StyleBitsOf(const TFont& font) {
    std::uint8_t s = 0;
    if (font.Style().Contains(fsBold)) s |= NoteFontStyle::Bold;
    if (font.Style().Contains(fsItalic)) s |= NoteFontStyle::Italic;
    return s;
}

// Paints with a pen of the option objects' colour and style.
void DrawLine(HDC dc, TNoteColor color, TNotePenStyle style, int x1, int y1, int x2, int y2) {
    GdiObject<HPEN> pen(CreatePen(static_cast<int>(style), 1, ColorToRGB(color)));
    HGDIOBJ old = SelectObject(dc, pen.Get());
    const int oldBk = SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SetBkMode(dc, oldBk);
    SelectObject(dc, old);
}

void Fill(HDC dc, const TRect& r, TNoteColor color) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
    RECT rc = r.ToRECT();
    ::FillRect(dc, &rc, brush.Get());
}
}  // namespace

//--- Painting

void TCustomNoteEdit::Paint() {
    HDC dc = Canvas().Handle();
    RECT box{};
    if (GetClipBox(dc, &box) == NULLREGION) return;
    const TRect clip = TRect::FromRECT(box);
    if (FCaretShown) HideCaret(FHandle);
    struct ShowAgain {
        TCustomNoteEdit& edit;
        ~ShowAgain() {
            if (edit.FCaretShown) ShowCaret(edit.FHandle);
            edit.FIdleTimer->SetEnabled(false);
            edit.FIdleTimer->SetEnabled(true);
        }
    } showAgain{*this};
    const TNotePaintPlan plan = PlanPaint(clip, Focused());
    if (plan.Gutter) PaintGutter(dc, plan);
    if (plan.Margin) Fill(dc, plan.MarginFill.Rect, plan.MarginFill.Color);
    if (!plan.Rows.empty()) {
        FTextDrawer->SelectStyle(StyleBitsOf(Font()));
        FTextDrawer->BeginDraw(dc);
        struct End {
            TTextDrawer& drawer;
            ~End() { drawer.EndDraw(); }
        } end{*FTextDrawer};
        for (const TNotePaintRow& row : plan.Rows) PaintRow(dc, plan, row);
    }
    if (plan.Below) {
        Fill(dc, plan.BelowFill.Rect, plan.BelowFill.Color);
        if (plan.RightEdge)
            DrawLine(dc, RightEdge().Color(), RightEdge().Style(), plan.RightEdgeX, plan.BelowFill.Rect.Top,
                     plan.RightEdgeX, plan.BelowFill.Rect.Bottom + 1);
    }
    if (!plan.Rows.empty())
        for (int i = 0; i < PluginCount(); ++i) Plugin(i)->AfterPaint(&Canvas(), clip, plan.Rows.front().Line, plan.Rows.back().Line);
    if (TNotePaintEvent h = OnPaint) {
        Canvas().Font().Assign(Font());
        Canvas().Brush().SetColor(Color());
        h(this, Canvas());
    }
    PaintTransientAfterPaint();
}

// One text row: its runs in their colours, the fill behind the text (moved right by the
// overhang of a bold or italic last character), the right edge and the ruled line.
void TCustomNoteEdit::PaintRow(HDC dc, const TNotePaintPlan& plan, const TNotePaintRow& row) {
    const int cell = CharWidth();
    int overhang = 0;
    if (!row.Runs.empty() && (StyleBitsOf(Font()) & (NoteFontStyle::Bold | NoteFontStyle::Italic))) {
        const TNotePaintRun& last = row.Runs.back();
        const std::u16string units = last.Special ? std::u16string() : Utf8ToUtf16(GbkToUtf8(last.Text));
        ABC abc{};
        if (!units.empty() && GetCharABCWidthsW(dc, units.back(), units.back(), &abc)) {
            const int width = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
            size_t lastStart = 0;
            for (size_t i = 0; i < last.Text.size(); i += GbkCharLength(last.Text, i)) lastStart = i;
            const int cells = static_cast<int>(last.Text.size() - lastStart);
            overhang = std::max(width - cells * cell, 0);
        }
    }
    const int textEnd = row.Runs.empty() ? INT_MIN : row.Runs.back().X + cell * static_cast<int>(row.Runs.back().Text.size());
    for (const TNotePaintFill& f : row.Fills) {
        TRect r = f.Rect;
        if (overhang > 0 && r.Left == textEnd) r.Left = std::min(r.Left + overhang, r.Right);
        Fill(dc, r, f.Color);
    }
    for (const TNotePaintRun& run : row.Runs) {
        RECT r{std::max(run.X, row.Rect.Left), row.Rect.Top,
               std::min(run.X + cell * static_cast<int>(run.Text.size()), row.Rect.Right), row.Rect.Bottom};
        if (r.right <= r.left) continue;
        FTextDrawer->SetTextColour(run.Foreground);
        FTextDrawer->SetBackColour(run.Background);
        if (run.Special) {
            // Latin-1 signs, one cell each.
            std::wstring signs(run.Text.begin(), run.Text.end());
            for (wchar_t& c : signs) c = static_cast<unsigned char>(c);
            const std::vector<int> advances(signs.size(), cell);
            ExtTextOutW(dc, run.X, row.TextY, ETO_OPAQUE | ETO_CLIPPED, &r, signs.c_str(), static_cast<UINT>(signs.size()),
                        const_cast<int*>(advances.data()));
        } else {
            FTextDrawer->CellTextOut(run.X, row.TextY, ETO_OPAQUE | ETO_CLIPPED, r, run.Text);
        }
    }
    if (plan.RightEdge)
        DrawLine(dc, RightEdge().Color(), RightEdge().Style(), plan.RightEdgeX, row.Rect.Top, plan.RightEdgeX,
                 row.Rect.Bottom + 1);
    if (row.Divider)
        DrawLine(dc, LineDivider().Color(), LineDivider().Style(), row.DividerLeft, row.DividerY, row.DividerRight,
                 row.DividerY);
}

void TCustomNoteEdit::PaintGutter(HDC dc, const TNotePaintPlan& plan) {
    Fill(dc, plan.GutterRect, plan.GutterColor);
    if (!plan.GutterNumbers.empty()) {
        const TNoteFontSpec& spec = Gutter().Font();
        TFont font;
        font.SetName(spec.Name);
        if (spec.Height != 0) font.SetHeight(spec.Height);
        else font.SetSize(spec.Size);
        font.SetCharset(spec.Charset);
        const int saved = SaveDC(dc);
        SelectObject(dc, font.Handle());
        ::SetTextColor(dc, ColorToRGB(spec.Color));
        SetBkMode(dc, TRANSPARENT);
        for (const TNoteGutterNumber& n : plan.GutterNumbers) {
            RECT r = n.Rect.ToRECT();
            const std::wstring text = Wide(n.Text);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        RestoreDC(dc, saved);
    }
    const int lineHeight = LineHeight();
    for (const TNoteGutterGlyph& g : plan.GutterGlyphs) {
        switch (g.Kind) {
        case ggMark:
            if (!g.Internal) {
                if (TImageList* images = BookMarkOptions().BookmarkImages()) {
                    // Centred in the row; of a taller picture the middle band shows.
                    const int saved = SaveDC(dc);
                    IntersectClipRect(dc, g.X, g.Top, g.X + images->Width(), g.Top + lineHeight);
                    images->Draw(Canvas(), g.X, g.Top + (lineHeight - images->Height()) / 2, g.Image);
                    RestoreDC(dc, saved);
                }
                break;
            }
            if (!FBookmarkImage) FBookmarkImage = std::make_unique<TNoteInternalImage>(GetModuleHandleW(nullptr), "NoteEditBookmarks", 10);
            FBookmarkImage->DrawImage(Canvas(), g.Image, g.X, g.Top, lineHeight);
            break;
        case ggActiveLine: FActiveLineGlyph->DrawGlyph(Canvas(), g.X - FActiveLineGlyph->GlyphWidth(), g.Top, lineHeight); break;
        case ggWrapped: FWrapGlyph->DrawGlyph(Canvas(), g.X - FWrapGlyph->GlyphWidth(), g.Top, lineHeight); break;
        }
    }
    const int x = GutterWidth();
    if (plan.GutterBorder == gbsMiddle) {
        DrawLine(dc, clBtnShadow, TNotePenStyle::Solid, x - 2, plan.GutterRect.Top, x - 2, plan.GutterRect.Bottom);
        DrawLine(dc, clBtnHighlight, TNotePenStyle::Solid, x - 1, plan.GutterRect.Top, x - 1, plan.GutterRect.Bottom);
    } else if (plan.GutterBorder == gbsRight) {
        DrawLine(dc, clBtnShadow, TNotePenStyle::Solid, x - 1, plan.GutterRect.Top, x - 1, plan.GutterRect.Bottom);
    }
    if (TNoteGutterPaintEvent h = OnGutterPaint)
        for (const TNoteGutterRow& row : plan.GutterRows) h(this, row.Line, row.X, row.Y);
}
