#pragma once
// TDrawGrid: a grid of owner-drawn cells painted by the control itself: column widths and
// row heights, fixed rows and columns, grid lines, the current cell (Col, Row) moved by a
// click or the arrow keys and vetoed through OnSelectCell, OnDrawCell for each cell, and
// MouseToCell/CellRect. Every cell is drawn from the top-left corner: the grid has no
// scrolling and no scroll bars (its users size it to show all cells).

#include <functional>
#include <vector>

#include "framework/win/Controls.h"

enum TGridOption { goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect, goDrawFocusSelected };
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

class TDrawGrid : public TCustomControl {
public:
    explicit TDrawGrid(TComponent* AOwner);

    int ColCount() const { return static_cast<int>(FColWidths.size()); }
    void SetColCount(int value);
    int RowCount() const { return static_cast<int>(FRowHeights.size()); }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);     // resets every column's width
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);    // resets every row's height
    int ColWidths(int index) const { return FColWidths.at(index); }
    void SetColWidths(int index, int value);
    int RowHeights(int index) const { return FRowHeights.at(index); }
    void SetRowHeights(int index, int value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);

    int Col() const { return FCol; }
    void SetCol(int value) { FocusCell(value, FRow); }
    int Row() const { return FRow; }
    void SetRow(int value) { FocusCell(FCol, value); }
    // Makes (ACol, ARow) current when SelectCell allows it; false when refused.
    bool FocusCell(int ACol, int ARow);

    TRect CellRect(int ACol, int ARow) const;        // empty for a cell outside the grid
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;   // -1, -1 outside every cell
    void InvalidateCell(int ACol, int ARow);

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

protected:
    virtual void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    virtual bool SelectCell(int ACol, int ARow);
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    int Offset(const std::vector<int>& sizes, int index) const;

    std::vector<int> FColWidths, FRowHeights;
    int FFixedCols = 1, FFixedRows = 1;
    int FDefaultColWidth = 64, FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    int FCol = 1, FRow = 1;
};
