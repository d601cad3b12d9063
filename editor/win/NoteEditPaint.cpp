#include "editor/win/NoteEdit.h"

#include <algorithm>

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
        const int cell = CharWidth();
        for (const TNotePaintRow& row : plan.Rows) {
            for (const TNotePaintFill& f : row.Fills) Fill(dc, f.Rect, f.Color);
            for (const TNotePaintRun& run : row.Runs) {
                RECT r{std::max(run.X, row.Rect.Left), row.Rect.Top,
                       std::min(run.X + cell * static_cast<int>(run.Text.size()), row.Rect.Right), row.Rect.Bottom};
                if (r.right <= r.left) continue;
                FTextDrawer->SetTextColour(run.Foreground);
                FTextDrawer->SetBackColour(run.Background);
                FTextDrawer->CellTextOut(run.X, row.TextY, ETO_OPAQUE | ETO_CLIPPED, r, run.Text);
            }
            if (plan.RightEdge)
                DrawLine(dc, RightEdge().Color(), RightEdge().Style(), plan.RightEdgeX, row.Rect.Top, plan.RightEdgeX,
                         row.Rect.Bottom + 1);
            if (row.Divider)
                DrawLine(dc, LineDivider().Color(), LineDivider().Style(), row.DividerLeft, row.DividerY,
                         row.DividerRight, row.DividerY);
        }
    }
    if (plan.Below) {
        Fill(dc, plan.BelowFill.Rect, plan.BelowFill.Color);
        if (plan.RightEdge)
            DrawLine(dc, RightEdge().Color(), RightEdge().Style(), plan.RightEdgeX, plan.BelowFill.Rect.Top,
                     plan.RightEdgeX, plan.BelowFill.Rect.Bottom + 1);
    }
    if (TNotePaintEvent h = OnPaint) {
        Canvas().Font().Assign(Font());
        Canvas().Brush().SetColor(Color());
        h(this, Canvas());
    }
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
    const int x = GutterWidth();
    if (plan.GutterBorder == gbsMiddle) {
        DrawLine(dc, clBtnShadow, TNotePenStyle::Solid, x - 2, plan.GutterRect.Top, x - 2, plan.GutterRect.Bottom);
        DrawLine(dc, clBtnHighlight, TNotePenStyle::Solid, x - 1, plan.GutterRect.Top, x - 1, plan.GutterRect.Bottom);
    } else if (plan.GutterBorder == gbsRight) {
        DrawLine(dc, clBtnShadow, TNotePenStyle::Solid, x - 1, plan.GutterRect.Top, x - 1, plan.GutterRect.Bottom);
    }
}
