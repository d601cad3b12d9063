#include "editor/core/NoteEditCore.h"

#include <algorithm>
#include <climits>

//--- Paint plan

bool TNoteEditCore::RowSelection(int row, int line, int rowLength, int& first, int& last, bool& toEnd) const {
    toEnd = false;
    if (!SelAvail()) return false;
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    if (line < b.Line || line > e.Line) return false;
    if (FSelectionMode == smLine) {
        first = 1;
        last = rowLength + 1;
        toEnd = true;
        return true;
    }
    if (FSelectionMode == smColumn) {
        first = BufferToDisplayPos({b.Char, line}).Column;
        last = BufferToDisplayPos({e.Char, line}).Column;
        if (first > last) std::swap(first, last);
        // Display columns of this row (no wrap in column mode beyond the row's own columns).
        return first < last;
    }
    const TDisplayCoord db = BufferToDisplayPos(b), de = BufferToDisplayPos(e);
    if (row < db.Row || row > de.Row) return false;
    first = row == db.Row ? db.Column : 1;
    if (row == de.Row) {
        last = de.Column;
    } else {
        last = rowLength + 1;
        toEnd = true;
    }
    return first < last || toEnd;
}

TNotePaintPlan TNoteEditCore::PlanPaint(const TRect& clip, bool focused) const {
    TNotePaintPlan plan;
    if (FCharWidth <= 0 || FLineHeight <= 0) return plan;
    const int textLeft = FGutterWidth + 2;
    plan.FirstColumn = clip.Left > textLeft ? FLeftChar + (clip.Left - textLeft) / FCharWidth : FLeftChar;
    plan.LastColumn = FLeftChar + (clip.Right - FGutterWidth - 3 + FCharWidth) / FCharWidth;
    const int rows = DisplayLineCount();
    plan.FirstRow = std::max(FTopLine + clip.Top / FLineHeight, FTopLine);
    plan.LastRow = ClampInt(FTopLine + (clip.Bottom + FLineHeight - 1) / FLineHeight, 1, std::max(rows, 1));
    if (clip.Left < FGutterWidth) PlanGutter(plan, clip);
    if (clip.Right <= FGutterWidth) return plan;
    TRect r = Rect(std::max(clip.Left, FGutterWidth), clip.Top, clip.Right, clip.Bottom);
    if (FRightEdge.Visible() && FRightEdge.Position() > 0) {
        const int x = FRightEdge.Position() * FCharWidth + FTextOffset;
        if (x >= r.Left && x < r.Right) {
            plan.RightEdge = true;
            plan.RightEdgeX = x;
        }
    }
    if (r.Left < textLeft) {
        plan.Margin = true;
        plan.MarginFill = {Rect(r.Left, r.Top, textLeft, r.Bottom), FBackColor};
        r.Left = textLeft;
    }
    const bool showSelection = !FHideSelection || focused;
    int lastPainted = plan.FirstRow - 1;
    const int caretRow = DisplayXY().Row;
    TNoteTabCursor tabs;
    for (int row = plan.FirstRow; row <= plan.LastRow && row <= rows; ++row) {
        const size_t before = plan.Rows.size();
        PaintTextRow(plan, r, row, caretRow, showSelection, tabs);
        if (plan.Rows.size() == before) break;
        lastPainted = row;
    }
    const int belowTop = (lastPainted - FTopLine + 1) * FLineHeight;
    if (belowTop < r.Bottom) {
        plan.Below = true;
        plan.BelowFill = {Rect(r.Left, std::max(belowTop, r.Top), r.Right, r.Bottom), FBackColor};
    }
    return plan;
}

namespace {
// Spaces become middle dots, drawn in runs of their own (a lone 0xB7 is no GBK character).
void SplitSpecialRuns(std::vector<TNotePaintRun>& runs, size_t first, int cellWidth) {
    std::vector<TNotePaintRun> out;
    for (size_t i = first; i < runs.size(); ++i) {
        const TNotePaintRun& run = runs[i];
        size_t k = 0;
        while (k < run.Text.size()) {
            const bool blank = run.Text[k] == ' ';
            size_t e = k;
            while (e < run.Text.size() && (run.Text[e] == ' ') == blank) e += blank ? 1 : GbkCharLength(run.Text, e);
            e = std::min(e, run.Text.size());
            TNotePaintRun piece{run.X + static_cast<int>(k) * cellWidth, run.Text.substr(k, e - k), run.Foreground,
                                run.Background, blank};
            if (blank) std::fill(piece.Text.begin(), piece.Text.end(), '\xB7');
            out.push_back(std::move(piece));
            k = e;
        }
    }
    runs.resize(first);
    for (TNotePaintRun& run : out) runs.push_back(std::move(run));
}
}  // namespace

void TNoteEditCore::PaintTextRow(TNotePaintPlan& plan, const TRect& r, int row, int caretRow, bool showSelection,
                                 TNoteTabCursor& tabs) const {
    const TBufferCoord start = FWrapPlugin ? FWrapPlugin->RowToBuffer({1, row}) : TBufferCoord{1, row};
    const int line = start.Line;
    if (line < 1 || line > FLines->Count()) return;
    // The row's slice of the line: the stored bytes when the line has no tab (no copy of a
    // long line), else that slice of its tab expansion alone.
    TNoteEditStringList& lines = const_cast<TNoteEditStringList&>(*FLines);
    const std::string& stored = lines.Get(line - 1);
    const int length = lines.ExpandedLineLength(line - 1);
    const int rowStart = std::min(start.Char - 1, length);
    int rowLength = length - rowStart;
    if (FWrapPlugin && row <= FWrapPlugin->RowCount()) rowLength = FWrapPlugin->RowLength(row);
    rowLength = std::max(0, std::min(rowLength, length - rowStart));
    std::string expanded;
    std::string_view rowText = std::string_view(stored).substr(std::min<size_t>(rowStart, stored.size()), rowLength);
    if (lines.LineHasTabs(line - 1)) {
        expanded = ExpandedSlice(stored, lines.TabWidth(), rowStart, rowLength, tabs);
        rowText = expanded;
    }
    const bool lastRowOfLine = rowStart + rowLength >= length;

    TNotePaintRow pr;
    pr.Row = row;
    pr.Line = line;
    const int top = (row - FTopLine) * FLineHeight;
    pr.Rect = Rect(r.Left, top, r.Right, top + FLineHeight);
    pr.TextY = top + (FLineHeight - FCharHeight) / 2;

    // Colours of the row.
    TNoteColor fg = FTextColor, bg = FBackColor;
    bool special = false;
    TNoteColor specialFg = NoteColor::None, specialBg = NoteColor::None;
    if (OnSpecialLineColors) OnSpecialLineColors(const_cast<TNoteEditCore*>(this), line, special, specialFg, specialBg);
    if (FActiveLine.Visible() && row == caretRow) {
        if (FActiveLine.Foreground() != NoteColor::None) fg = FActiveLine.Foreground();
        if (FActiveLine.Background() != NoteColor::None) bg = FActiveLine.Background();
    }
    if (special) {
        if (specialFg != NoteColor::None) fg = specialFg;
        if (specialBg != NoteColor::None) bg = specialBg;
    }
    const TNoteColor selFg = special ? bg : FSelectedColor.Foreground();
    const TNoteColor selBg = special ? fg : FSelectedColor.Background();

    // Columns of this row to draw: c1..c2 clipped to the row's text, double-byte characters whole.
    int c1 = plan.FirstColumn, c2 = std::min(plan.LastColumn, rowLength);
    if (c1 > 1 && c1 <= rowLength && NoteByteTypeFrom(rowText, 1, c1) == mbTrailByte) --c1;
    if (c2 >= 1 && c2 < rowLength && NoteByteTypeFrom(rowText, std::max(c1, 1), c2) == mbLeadByte) ++c2;
    int selFirst = 0, selLast = 0;
    bool selToEnd = false;
    const bool hasSel = showSelection && RowSelection(row, line, rowLength, selFirst, selLast, selToEnd);
    if (hasSel && FSelectionMode == smColumn) {
        if (selFirst > 1 && selFirst <= rowLength && NoteByteTypeFrom(rowText, 1, selFirst) == mbTrailByte) ++selFirst;
        if (selLast > 1 && selLast <= rowLength && NoteByteTypeFrom(rowText, 1, selLast) == mbTrailByte) ++selLast;
    }
    const auto columnX = [&](int column) { return (column - 1) * FCharWidth + FTextOffset; };
    const auto addRun = [&](int from, int to, TNoteColor f, TNoteColor b) {  // columns from..to-1
        from = std::max(from, c1);
        to = std::min(to, c2 + 1);
        if (from >= to) return;
        std::string piece(rowText.substr(from - 1, to - from));
        for (char& c : piece)
            if (c == '\t' || c == '\0') c = ' ';
        pr.Runs.push_back({columnX(from), std::move(piece), f, b});
    };
    if (c1 <= c2) {
        if (hasSel) {
            addRun(c1, selFirst, fg, bg);
            addRun(selFirst, selLast, selFg, selBg);
            addRun(selToEnd ? INT_MAX / 2 : selLast, c2 + 1, fg, bg);
        } else {
            addRun(c1, c2 + 1, fg, bg);
        }
    }
    // The rest of the row after the text.
    const int textEnd = std::max(columnX(std::max(c2, c1 - 1) + 1), r.Left);
    int fillFrom = c1 <= c2 ? textEnd : r.Left;
    if (HasOption(eoShowSpecialChars)) {
        SplitSpecialRuns(pr.Runs, 0, FCharWidth);
        // The pilcrow after the line's end, in the colours of that column.
        const int end = rowLength + 1;
        if (lastRowOfLine && end >= plan.FirstColumn && end <= plan.LastColumn) {
            const bool selected = hasSel && (selToEnd ? end >= selFirst : end >= selFirst && end < selLast);
            pr.Runs.push_back({columnX(end), "\xB6", selected ? selFg : fg, selected ? selBg : bg, true});
            fillFrom = std::max(fillFrom, columnX(end + 1));
        }
    }
    if (hasSel) {
        const int selEndX = selToEnd ? r.Right : columnX(selLast);
        const int selStartX = std::max(columnX(selFirst), fillFrom);
        if (selStartX > fillFrom) pr.Fills.push_back({Rect(fillFrom, top, std::min(selStartX, r.Right), top + FLineHeight), bg});
        if (selEndX > selStartX && selStartX < r.Right) {
            pr.Fills.push_back({Rect(selStartX, top, std::min(selEndX, r.Right), top + FLineHeight), selBg});
            fillFrom = std::max(selEndX, selStartX);
        } else {
            fillFrom = std::max(fillFrom, selStartX);
        }
    }
    if (fillFrom < r.Right) pr.Fills.push_back({Rect(fillFrom, top, r.Right, top + FLineHeight), bg});
    if (FLineDivider.Visible()) {
        pr.Divider = true;
        pr.DividerY = top + FLineHeight - 1;
        pr.DividerLeft = FGutterWidth + 2;
        pr.DividerRight = FClientWidth;
    }
    plan.Rows.push_back(std::move(pr));
}
