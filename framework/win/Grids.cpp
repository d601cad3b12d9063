#include "framework/win/Grids.h"

#include <algorithm>

TDrawGrid::TDrawGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clWindow);
    FTabStop = true;
    FColWidths.assign(5, FDefaultColWidth);
    FRowHeights.assign(5, FDefaultRowHeight);
    TControl::SetBounds(0, 0, 320, 120);
}

void TDrawGrid::SetColCount(int value) {
    if (value < 1) throw EInvalidOperation("A grid needs at least one column");
    FColWidths.resize(value, FDefaultColWidth);
    FFixedCols = std::min(FFixedCols, value - 1);
    FCol = std::clamp(FCol, FFixedCols, value - 1);
    Invalidate();
}

void TDrawGrid::SetRowCount(int value) {
    if (value < 1) throw EInvalidOperation("A grid needs at least one row");
    FRowHeights.resize(value, FDefaultRowHeight);
    FFixedRows = std::min(FFixedRows, value - 1);
    FRow = std::clamp(FRow, FFixedRows, value - 1);
    Invalidate();
}

void TDrawGrid::SetFixedCols(int value) {
    if (value < 0 || value >= ColCount()) throw EInvalidOperation("Fixed columns must leave a column to select");
    FFixedCols = value;
    FCol = std::max(FCol, value);
    Invalidate();
}

void TDrawGrid::SetFixedRows(int value) {
    if (value < 0 || value >= RowCount()) throw EInvalidOperation("Fixed rows must leave a row to select");
    FFixedRows = value;
    FRow = std::max(FRow, value);
    Invalidate();
}

void TDrawGrid::SetDefaultColWidth(int value) {
    FDefaultColWidth = value;
    std::fill(FColWidths.begin(), FColWidths.end(), value);
    Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int value) {
    FDefaultRowHeight = value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), value);
    Invalidate();
}

void TDrawGrid::SetColWidths(int index, int value) {
    FColWidths.at(index) = value;
    Invalidate();
}

void TDrawGrid::SetRowHeights(int index, int value) {
    FRowHeights.at(index) = value;
    Invalidate();
}

void TDrawGrid::SetGridLineWidth(int value) {
    FGridLineWidth = value;
    Invalidate();
}

void TDrawGrid::SetOptions(TGridOptions value) {
    FOptions = value;
    Invalidate();
}

void TDrawGrid::SetFixedColor(TColor value) {
    FFixedColor = value;
    Invalidate();
}

int TDrawGrid::Offset(const std::vector<int>& sizes, int index) const {
    int x = 0;
    for (int i = 0; i < index; ++i) x += sizes[i] + FGridLineWidth;
    return x;
}

TRect TDrawGrid::CellRect(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount()) return TRect{};
    const int x = Offset(FColWidths, ACol), y = Offset(FRowHeights, ARow);
    return Bounds(x, y, FColWidths[ACol], FRowHeights[ARow]);
}

void TDrawGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    auto find = [&](const std::vector<int>& sizes, int v) {
        int start = 0;
        for (int i = 0; i < int(sizes.size()); ++i) {
            if (v >= start && v < start + sizes[i] + FGridLineWidth) return i;
            start += sizes[i] + FGridLineWidth;
        }
        return -1;
    };
    ACol = X < 0 ? -1 : find(FColWidths, X);
    ARow = Y < 0 ? -1 : find(FRowHeights, Y);
    if (ACol < 0 || ARow < 0) ACol = ARow = -1;
}

void TDrawGrid::InvalidateCell(int ACol, int ARow) {
    if (!HandleAllocated()) return;
    RECT r = CellRect(ACol, ARow).ToRECT();
    InvalidateRect(FHandle, &r, FALSE);
}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
    bool canSelect = true;
    if (TSelectCellEvent h = OnSelectCell) h(this, ACol, ARow, canSelect);
    return canSelect;
}

bool TDrawGrid::FocusCell(int ACol, int ARow) {
    if (ACol < FFixedCols || ACol >= ColCount() || ARow < FFixedRows || ARow >= RowCount()) return false;
    if (ACol == FCol && ARow == FRow) return true;
    if (!SelectCell(ACol, ARow)) return false;
    FCol = ACol;
    FRow = ARow;
    Invalidate();
    return true;
}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    if (TDrawCellEvent h = OnDrawCell) h(this, ACol, ARow, Rect, State);
}

// Default drawing fills each cell (fixed colour, highlight for the current cell or row,
// the control's colour) before DrawCell; the lines between cells come last.
void TDrawGrid::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const bool focused = Focused();
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) {
            TGridDrawState state;
            const bool fixed = c < FFixedCols || r < FFixedRows;
            if (fixed) state.Include(gdFixed);
            else if (r == FRow && (c == FCol || FOptions.Contains(goRowSelect))) {
                state.Include(gdSelected);
                if (focused) state.Include(gdFocused);
            }
            TRect rect = CellRect(c, r);
            if (FDefaultDrawing) {
                canvas.Brush().SetColor(fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color());
                canvas.FillRect(rect);
                canvas.Font().SetColor(state.Contains(gdSelected) ? clHighlightText : Font().Color());
            }
            DrawCell(c, r, rect, state);
        }
    if (FGridLineWidth <= 0) return;
    canvas.Brush().SetColor(clBtnShadow);
    for (int c = 0; c < ColCount(); ++c) {
        const bool wanted = FOptions.Contains(c < FFixedCols ? goFixedVertLine : goVertLine);
        if (!wanted) continue;
        const int x = Offset(FColWidths, c + 1) - FGridLineWidth;
        canvas.FillRect(Rect(x, 0, x + FGridLineWidth, Offset(FRowHeights, RowCount())));
    }
    for (int r = 0; r < RowCount(); ++r) {
        const bool wanted = FOptions.Contains(r < FFixedRows ? goFixedHorzLine : goHorzLine);
        if (!wanted) continue;
        const int y = Offset(FRowHeights, r + 1) - FGridLineWidth;
        canvas.FillRect(Rect(0, y, Offset(FColWidths, ColCount()), y + FGridLineWidth));
    }
}

void TDrawGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && HandleAllocated()) SetFocus();
        int c, r;
        MouseToCell(X, Y, c, r);
        if (c >= 0) FocusCell(c, r);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDrawGrid::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    int c = FCol, r = FRow;
    switch (Key) {
    case VK_LEFT: --c; break;
    case VK_RIGHT: ++c; break;
    case VK_UP: --r; break;
    case VK_DOWN: ++r; break;
    default: return;
    }
    FocusCell(c, r);
    Key = 0;
}
