// Positions, the caret, the selection, words and the mouse of the editor core.
#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditCoreInternal.h"

using namespace NoteEditDetail;

//--- Positions

TDisplayCoord TNoteEditCore::BufferToDisplayPos(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int column = FLines->LineHasTabs(p.Line - 1) ? CharToTabColumn(p.Char, FLines->TabWidth(), line) : p.Char;
    if (!FWrapPlugin) return {column, p.Line};
    return FWrapPlugin->BufferToRow({column, p.Line});
}

namespace {
// The byte column whose tab-expanded column reaches `column`, without trail adjustment.
int ExpandedToByteColumn(std::string_view line, int column, int tabWidth) {
    int col = 1;
    const int len = static_cast<int>(line.size());
    for (int i = 1; i <= len; ++i) {
        const int w = line[i - 1] == '\t' && tabWidth > 1 ? tabWidth - (col - 1) % tabWidth : 1;
        if (column < col + w) return i;
        col += w;
    }
    return len + 1 + std::max(column - col, 0);
}
}  // namespace

TBufferCoord TNoteEditCore::DisplayToBufferPos(const TDisplayCoord& p) const {
    TBufferCoord b = FWrapPlugin ? FWrapPlugin->RowToBuffer(p) : TBufferCoord{p.Column, p.Row};
    const std::string& line = FLines->Get(b.Line - 1);
    if (FLines->LineHasTabs(b.Line - 1)) b.Char = ExpandedToByteColumn(line, b.Char, FLines->TabWidth());
    if (FLines->ByteType(b.Line - 1, b.Char) == mbTrailByte) ++b.Char;
    return b;
}

TDisplayCoord TNoteEditCore::PixelsToRowColumn(int x, int y) const {
    if (FCharWidth <= 0 || FLineHeight <= 0) return {1, 1};
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {std::max(1, FLeftChar + floorDiv(x - FGutterWidth - 2, FCharWidth)),
            std::max(1, FTopLine + floorDiv(y, FLineHeight))};
}

TDisplayCoord TNoteEditCore::PixelsToNearestRowColumn(int x, int y) const {
    if (FCharWidth <= 0 || FLineHeight <= 0) return {1, 1};
    y = std::max(std::min(y, FLinesInWindow * FLineHeight - 1), 0);
    const double f = static_cast<double>(x - FGutterWidth - 2) / FCharWidth;
    return {std::max(1, FLeftChar + static_cast<int>(std::nearbyint(f))), std::max(1, FTopLine + y / FLineHeight)};
}

TPoint TNoteEditCore::RowColumnToPixels(const TDisplayCoord& p) const {
    return {(p.Column - 1) * FCharWidth + FTextOffset, (p.Row - FTopLine) * FLineHeight};
}

TDisplayCoord TNoteEditCore::DisplayXY() const {
    const TDisplayCoord d = BufferToDisplayPos(CaretXY());
    if (FCaretAtEndOfRow && FWrapPlugin && d.Column == 1 && d.Row > 1 && d.Row - 1 <= FWrapPlugin->RowCount())
        return {FWrapPlugin->RowLength(d.Row - 1) + 1, d.Row - 1};
    return d;
}

bool TNoteEditCore::CaretPixelPos(TPoint& p) const {
    const TNoteCaretShape shape = CaretShape();
    p = RowColumnToPixels(DisplayXY());
    p.X += shape.OffsetX;
    p.Y += shape.OffsetY + 1;
    return !HasOption(eoNoCaret) && p.X >= FGutterWidth && p.X < FClientWidth && p.Y >= 0 && p.Y < FClientHeight;
}

//--- Caret

bool TNoteEditCore::CaretOnTrailByte(const TBufferCoord& p) const {
    return FLines->ByteType(p.Line - 1, p.Char) == mbTrailByte;
}

void TNoteEditCore::SetCaretXYEx(bool forceToVisible, TBufferCoord p) {
    const bool pastEol = HasOption(eoScrollPastEol);
    FCaretAtEndOfRow = false;
    TNoteTransient transient(*this);
    int limit = FWrapPlugin ? INT_MAX : FMaxScrollWidth + 1;
    if (p.Line > FLines->Count()) p.Line = FLines->Count();
    if (p.Line < 1) {
        p.Line = 1;
        if (!pastEol) limit = 1;
    } else if (!pastEol) {
        limit = static_cast<int>(FLines->Get(p.Line - 1).size()) + 1;
    }
    if (p.Char > limit && !(pastEol && HasOption(eoAutoSizeMaxScrollWidth))) {
        p.Char = limit;
        if (p.Char > 1 && CaretOnTrailByte(p)) --p.Char;  // the scroll width may cut a character
    }
    if (p.Char < 1) p.Char = 1;
    if (p.Char == FCaretX && p.Line == FCaretY) {
        FLastCaretX = DisplayXY().Column;
        if (forceToVisible) EnsureCursorPosVisible();
        return;
    }
    TUpdate update(*this);
    if (p.Char != FCaretX) {
        FCaretX = p.Char;
        StatusChanged(NoteStatus::CaretX);
    }
    if (p.Line != FCaretY) {
        FCaretY = p.Line;
        StatusChanged(NoteStatus::CaretY);
    }
    FLastCaretX = DisplayXY().Column;
    if (forceToVisible) EnsureCursorPosVisible();
    FCaretUpdatePending = true;
    FScrollUpdatePending = true;
}

void TNoteEditCore::SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& blockBegin,
                                         const TBufferCoord& blockEnd) {
    TUpdate update(*this);
    SetCaretXY(caret);
    SetBlockBegin(blockBegin);
    SetBlockEnd(blockEnd);
}

void TNoteEditCore::MoveCaretAndSelection(const TBufferCoord& from, const TBufferCoord& to, bool selecting) {
    if (HasOption(eoGroupUndo) && FUndoList.HasItems()) FUndoList.AddGroupBreak();
    TUpdate update(*this);
    if (selecting) {
        if (!SelAvail()) SetBlockBegin(from);
        SetBlockEnd(to);
    } else {
        SetBlockBegin(to);
    }
    SetCaretXY(to);
}

void TNoteEditCore::MoveCaretHorz(int dx, bool selecting) {
    const TBufferCoord from = CaretXY();
    const std::string& line = FLines->Get(FCaretY - 1);
    const int len = static_cast<int>(line.size());
    if (FWrapPlugin) {
        const TDisplayCoord d = BufferToDisplayPos(from);
        if (dx > 0 && FCaretAtEndOfRow) {
            FCaretAtEndOfRow = false;
            UpdateCaret();
            return;
        }
        if (dx < 0 && d.Column == 1 && !FCaretAtEndOfRow && from.Char > 1 && !selecting) {
            FCaretAtEndOfRow = true;
            UpdateCaret();
            return;
        }
    }
    const bool changeY = !HasOption(eoScrollPastEol);
    TBufferCoord to = from;
    if (changeY && dx == -1 && from.Char == 1 && from.Line > 1) {
        to = {static_cast<int>(FLines->Get(from.Line - 2).size()) + 1, from.Line - 1};
    } else if (changeY && dx == 1 && from.Char > len && from.Line < FLines->Count()) {
        to = {1, from.Line + 1};
    } else {
        to.Char = std::max(1, from.Char + dx);
        if (dx > 0 && changeY) to.Char = std::min(to.Char, len + 1);
        if (to.Char > 1 && to.Char <= len && FLines->ByteType(to.Line - 1, to.Char) == mbTrailByte) to.Char += dx < 0 ? -1 : 1;
    }
    MoveCaretAndSelection(from, to, selecting);
}

void TNoteEditCore::MoveCaretVert(int dy, bool selecting) {
    const TDisplayCoord from = DisplayXY();
    TDisplayCoord to = from;
    to.Row += dy;
    const int rows = std::max(DisplayLineCount(), 1);
    to.Row = std::max(1, std::min(to.Row, rows));
    if (to.Row != from.Row && HasOption(eoKeepCaretX)) to.Column = FLastCaretX;
    TBufferCoord dest = FWrapPlugin ? FWrapPlugin->RowToBuffer(to) : TBufferCoord{to.Column, to.Row};
    const std::string& line = FLines->Get(dest.Line - 1);
    if (FLines->LineHasTabs(dest.Line - 1)) dest.Char = ExpandedToByteColumn(line, dest.Char, FLines->TabWidth());
    if (to.Row != from.Row && FVertAdjusted && !HasOption(eoKeepCaretX)) ++dest.Char;
    FVertAdjusted = FLines->ByteType(dest.Line - 1, dest.Char) == mbTrailByte;
    if (FVertAdjusted) --dest.Char;
    const int lastCaretX = FLastCaretX;
    MoveCaretAndSelection(CaretXY(), dest, selecting);
    FLastCaretX = lastCaretX;
    if (FWrapPlugin) {
        const TDisplayCoord now = BufferToDisplayPos(CaretXY());
        if (now.Column == 1 && now.Row != to.Row) {
            FCaretAtEndOfRow = true;
            UpdateCaret();
        }
    }
}

void TNoteEditCore::EnsureCursorPosVisible(bool center) {
    if (FCharsInWindow <= 0) return;
    TUpdate update(*this);
    const TDisplayCoord d = DisplayXY();
    if (d.Column < FLeftChar)
        SetLeftChar(d.Column);
    else if (d.Column >= FLeftChar + FCharsInWindow)
        SetLeftChar(d.Column - FCharsInWindow + std::min(24, FCharsInWindow));
    else
        SetLeftChar(FLeftChar);
    if (FWrapPlugin && d.Column > WrapWidth() + 1) SetLeftChar(1);
    if (!center) {
        if (d.Row < FTopLine)
            SetTopLine(d.Row);
        else if (d.Row > FTopLine + std::max(1, FLinesInWindow) - 1)
            SetTopLine(d.Row - FLinesInWindow + 1);
        else
            SetTopLine(FTopLine);
    } else if (d.Row < FTopLine - 1) {
        SetTopLine(std::max(1, d.Row - FLinesInWindow / 2));
    } else if (d.Row > FTopLine + FLinesInWindow - 2) {
        SetTopLine(d.Row - FLinesInWindow + FLinesInWindow / 2 + 1);
    }
}

//--- Selection

TBufferCoord TNoteEditCore::BlockBegin() const {
    if (FSelectionMode == smColumn)
        return {std::min(FBlockBegin.Char, FBlockEnd.Char), std::min(FBlockBegin.Line, FBlockEnd.Line)};
    return EarlierPos(FBlockBegin, FBlockEnd);
}

TBufferCoord TNoteEditCore::BlockEnd() const {
    if (FSelectionMode == smColumn)
        return {std::max(FBlockBegin.Char, FBlockEnd.Char), std::max(FBlockBegin.Line, FBlockEnd.Line)};
    return EarlierPos(FBlockBegin, FBlockEnd) == FBlockBegin ? FBlockEnd : FBlockBegin;
}

TBufferCoord TNoteEditCore::ClampBlockPos(TBufferCoord p) const {
    p.Char = std::max(p.Char, 1);
    if (HasOption(eoScrollPastEol) && !FWrapPlugin) p.Char = std::min(p.Char, FMaxScrollWidth + 1);
    p.Line = std::max(std::min(p.Line, FLines->Count()), 1);
    if (FSelectionMode == smNormal) p.Char = std::min(p.Char, static_cast<int>(FLines->Get(p.Line - 1).size()) + 1);
    return p;
}

void TNoteEditCore::SetBlockBegin(TBufferCoord p) {
    p = ClampBlockPos(p);
    const bool hadSelection = SelAvail();
    const TBufferCoord oldBegin = BlockBegin(), oldEnd = BlockEnd();
    if (p == FBlockBegin && p == FBlockEnd) return;
    FBlockBegin = FBlockEnd = p;
    if (hadSelection) InvalidateLines(std::min(oldBegin.Line, p.Line), std::max(oldEnd.Line, p.Line));
    StatusChanged(NoteStatus::Selection);
}

void TNoteEditCore::SetBlockEnd(TBufferCoord p) { SetBlockEndEx(p, false); }

void TNoteEditCore::SetBlockEndEx(TBufferCoord p, bool) {
    if (HasOption(eoNoSelection)) return;
    p = ClampBlockPos(p);
    if (p == FBlockEnd) return;
    if (CaretOnTrailByte(p)) --p.Char;
    if (p == FBlockEnd) return;
    const TBufferCoord old = FBlockEnd;
    FBlockEnd = p;
    if (FSelectionMode == smColumn && old.Char != p.Char)
        InvalidateLines(std::min({FBlockBegin.Line, old.Line, p.Line}), std::max({FBlockBegin.Line, old.Line, p.Line}));
    else
        InvalidateLines(std::min(old.Line, p.Line), std::max(old.Line, p.Line));
    StatusChanged(NoteStatus::Selection);
}

bool TNoteEditCore::SelAvail() const {
    return FBlockBegin.Char != FBlockEnd.Char || (FBlockBegin.Line != FBlockEnd.Line && FSelectionMode != smColumn);
}

void TNoteEditCore::SetSelectionMode(TNoteSelectionMode value) {
    if (value == FSelectionMode) return;
    FSelectionMode = value;
    if (SelAvail()) InvalidateLines(BlockBegin().Line, BlockEnd().Line);
    StatusChanged(NoteStatus::Selection);
}

std::string TNoteEditCore::SelText() const {
    if (!SelAvail()) return {};
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    std::string result;
    const auto slice = [](const std::string& s, int from, int to) {  // bytes from..to-1, 1-based
        from = std::max(from, 1);
        if (from > static_cast<int>(s.size())) return std::string();
        return s.substr(from - 1, std::max(0, to - from));
    };
    switch (FSelectionMode) {
    case smNormal:
        if (b.Line == e.Line) return slice(FLines->Get(b.Line - 1), b.Char, e.Char);
        result = slice(FLines->Get(b.Line - 1), b.Char, INT_MAX / 2);
        for (int l = b.Line + 1; l < e.Line; ++l) result += "\r\n" + FLines->Get(l - 1);
        result += "\r\n" + slice(FLines->Get(e.Line - 1), 1, e.Char);
        return result;
    case smLine:
        for (int l = b.Line; l <= e.Line; ++l) {
            result += FLines->Get(l - 1);
            if (l < FLines->Count()) result += "\r\n";
        }
        return result;
    default:
        for (int l = b.Line; l <= e.Line; ++l) {
            // A bound on a trail byte moves right: no half character is taken.
            const std::string& text = FLines->Get(l - 1);
            const int left = b.Char + (NoteByteType(text, b.Char) == mbTrailByte);
            const int right = e.Char + (NoteByteType(text, e.Char) == mbTrailByte);
            std::string piece = slice(text, left, right);
            if (!HasOption(eoTrimTrailingSpaces)) piece.resize(std::max(right - left, 0), ' ');
            if (l > b.Line) result += "\r\n";
            result += piece;
        }
        return result;
    }
}

bool TNoteEditCore::IsPointInSelection(const TBufferCoord& p) const {
    if (!SelAvail()) return false;
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    if (p.Line < b.Line || p.Line > e.Line) return false;
    switch (FSelectionMode) {
    case smLine: return true;
    case smColumn: return p.Char >= b.Char && p.Char < e.Char;
    default:
        return (p.Line > b.Line || p.Char >= b.Char) && (p.Line < e.Line || p.Char < e.Char);
    }
}

void TNoteEditCore::SelectAll() {
    const int last = std::max(FLines->Count(), 1);
    const TBufferCoord end{static_cast<int>(FLines->Get(last - 1).size()) + 1, last};
    TUpdate update(*this);
    SetCaretXY(end);
    SetBlockBegin({1, 1});
    SetBlockEnd(end);
}

//--- Words

void TNoteEditCore::SetWordBlock(TBufferCoord p) {
    p.Line = ClampInt(p.Line, 1, std::max(FLines->Count(), 1));
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    TUpdate update(*this);
    if (p.Char > len) {
        SetCaretAndSelection({len + 1, p.Line}, {len + 1, p.Line}, {len + 1, p.Line});
        return;
    }
    // The line as characters: start column, length, type flags.
    struct Ch {
        int Start, Length;
        std::uint16_t Flags;
    };
    std::vector<Ch> chars;
    int clicked = 0;
    for (int i = 0; i < len;) {
        const int n = GbkCharLength(line, i);
        if (i < p.Char && p.Char <= i + n) clicked = static_cast<int>(chars.size());
        chars.push_back({i + 1, n, GbkCharType3(std::string_view(line).substr(i, n))});
        i += n;
    }
    int ref = clicked;
    if (CharTypeClass(chars[ref].Flags) == 9 && ref > 0) ref = ref - 1;
    const std::uint16_t refFlags = chars[ref].Flags;
    const int refCategory = CharTypeClass(refFlags);
    const auto ends = [&](const Ch& c) {
        const int category = CharTypeClass(c.Flags);
        // Half-width letters, digits and '_' make one word, which a run of another kind
        // (ideographs, full-width text) does not take in.
        if (category == 1 || category == 2)
            return !WordChars()[static_cast<unsigned char>(line[c.Start - 1])] || (refCategory != 1 && refCategory != 2);
        if (category == 5 || category == 9) return true;
        return c.Flags != refFlags;
    };
    int first = ref, last = ref;
    if (ends(chars[ref])) {
        last = ref - 1;
    } else {
        while (first > 0 && !ends(chars[first - 1])) --first;
        while (last + 1 < static_cast<int>(chars.size()) && !ends(chars[last + 1])) ++last;
    }
    const TBufferCoord b{chars[first].Start, p.Line};
    const TBufferCoord e{last >= first ? chars[last].Start + chars[last].Length : chars[first].Start, p.Line};
    SetCaretAndSelection(e, b, e);
    InvalidateLines(p.Line, p.Line);
    StatusChanged(NoteStatus::Selection);
}

TBufferCoord TNoteEditCore::WordStartAt(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    int c = std::min(p.Char, static_cast<int>(line.size()) + 1);
    if (c > 1 && IsWordByte(line, c - 1)) {
        while (c > 1 && IsWordByte(line, c - 1)) --c;
    }
    return {c, p.Line};
}

TBufferCoord TNoteEditCore::WordEndAt(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    int c = std::max(p.Char, 1);
    while (c <= len && IsWordByte(line, c)) c += GbkCharLength(line, c - 1);
    return {std::min(c, len + 1), p.Line};
}

TBufferCoord TNoteEditCore::NextWordPos(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    if (p.Char > len) {
        if (p.Line >= FLines->Count()) return {len + 1, p.Line};
        const std::string& next = FLines->Get(p.Line);
        int c = 1;
        while (c <= static_cast<int>(next.size()) && !IsWordByte(next, c) && !IsDoubleByteAt(next, c))
            c += GbkCharLength(next, c - 1);
        return {c <= static_cast<int>(next.size()) ? c : 1, p.Line + 1};
    }
    int c = p.Char;
    const bool onDouble = IsDoubleByteAt(line, c);
    if (!onDouble && IsWordByte(line, c))
        while (c <= len && IsWordByte(line, c) && !IsDoubleByteAt(line, c)) ++c;
    else if (onDouble)
        c += 2;
    while (c <= len && !IsWordByte(line, c) && !IsDoubleByteAt(line, c)) c += GbkCharLength(line, c - 1);
    return {std::min(c, len + 1), p.Line};
}

TBufferCoord TNoteEditCore::PrevWordPos(const TBufferCoord& p) const {
    if (p.Char <= 1) {
        if (p.Line <= 1) return {1, 1};
        return {static_cast<int>(FLines->Get(p.Line - 2).size()) + 1, p.Line - 1};
    }
    const std::string& line = FLines->Get(p.Line - 1);
    // Character starts before p.
    std::vector<int> starts;
    for (int i = 0; i < static_cast<int>(line.size()) && i + 1 < p.Char;) {
        starts.push_back(i + 1);
        i += GbkCharLength(line, i);
    }
    int k = static_cast<int>(starts.size()) - 1;
    while (k >= 0 && !IsWordByte(line, starts[k]) && !IsDoubleByteAt(line, starts[k])) --k;
    if (k < 0) return {1, p.Line};
    if (IsDoubleByteAt(line, starts[k])) return {starts[k], p.Line};
    while (k > 0 && IsWordByte(line, starts[k - 1]) && !IsDoubleByteAt(line, starts[k - 1])) --k;
    return {starts[k], p.Line};
}

//--- Mouse

bool TNoteEditCore::HandleMouseDown(int button, TNoteShiftState shift, int x, int y) {
    if ((shift & NoteShift::Double) && button == 0) return false;
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    FGutterClickPossible = x < FGutterWidth;
    if (FGutterClickPossible && button == 1) DoGutterClick(button, x, y);
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    d.Row = std::min(d.Row, std::max(DisplayLineCount(), 1));
    const TBufferCoord pos = DisplayToBufferPos(d);
    if (button == 1) {
        if (HasOption(eoRightMouseMovesCursor) && !IsPointInSelection(pos)) {
            TUpdate update(*this);
            SetCaretXYEx(true, pos);
            SetBlockBegin(CaretXY());
        }
        return false;
    }
    if (button != 0) return false;
    TUpdate update(*this);
    FWordSelected = false;
    FDragPending = SelAvail() && HasOption(eoDragDropEditing) && x > FGutterWidth + 2 && FSelectionMode == smNormal &&
                   IsPointInSelection(pos);
    if (FDragPending) {
        // The selection stays for the drag; the caret shows where the press was.
        const TBufferCoord anchor = FBlockBegin, end = FBlockEnd;
        SetCaretXYEx(true, pos);
        FBlockBegin = anchor;
        FBlockEnd = end;
        return true;
    }
    SetCaretXYEx(true, pos);
    if (shift & NoteShift::Shift) {
        SetBlockEnd(CaretXY());
    } else {
        if (HasOption(eoAltSetsColumnMode) && FSelectionMode != smLine)
            SetSelectionMode(shift & NoteShift::Alt ? smColumn : smNormal);
        SetBlockBegin(CaretXY());
    }
    FMouseSelecting = true;
    return true;
}

void TNoteEditCore::HandleMouseMove(TNoteShiftState shift, int x, int y, bool captured) {
    if (FDragPending) return;
    if (!captured || !(shift & NoteShift::Left) || !FMouseSelecting || FWordSelected) {
        FScrollDeltaX = FScrollDeltaY = 0;
        return;
    }
    ComputeScroll(x, y, FScrollDeltaX, FScrollDeltaY);
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    d.Row = std::min(d.Row, std::max(DisplayLineCount(), 1));
    const TDisplayCoord caret = DisplayXY();
    if (FScrollDeltaX != 0) d.Column = caret.Column;
    if (FScrollDeltaY != 0) d.Row = caret.Row;
    TUpdate update(*this);
    SetCaretXYEx(false, DisplayToBufferPos(d));
    SetBlockEnd(CaretXY());
}

void TNoteEditCore::HandleMouseUp(int button, TNoteShiftState shift, int x, int y) {
    FKbdHandler.ExecuteMouseUp(this, button, shift, x, y);
    if (std::exchange(FGutterClickPossible, false) && x < FGutterWidth && button != 1) DoGutterClick(button, x, y);
    if (FDragPending && button == 0 && !FWordSelected) {
        // No drag came of the press: a plain click at the release point.
        TUpdate update(*this);
        SetCaretXYEx(true, DropPointAt(x, y));
        if (shift & NoteShift::Shift) SetBlockEnd(CaretXY());
        else SetBlockBegin(CaretXY());
    }
    FDragPending = false;
    FMouseSelecting = false;
    FScrollDeltaX = FScrollDeltaY = 0;
}

void TNoteEditCore::HandleDblClick(int x, int) {
    if (x < FGutterWidth + 2) return;
    if (!HasOption(eoNoSelection)) SetWordBlock(CaretXY());
    FWordSelected = true;
    FMouseSelecting = false;
}

int TNoteEditCore::MouseCursorAt(int x, int y, int controlCursor, bool captured) {
    TDisplayCoord d = PixelsToRowColumn(x, y);
    const TBufferCoord pos = DisplayToBufferPos(d);
    int cursor = controlCursor;
    if (x < FGutterWidth) cursor = FGutter.Cursor();
    else if (HasOption(eoDragDropEditing) && !captured && IsPointInSelection(pos)) cursor = -2;  // crArrow
    FKbdHandler.ExecuteMouseCursor(this, pos, cursor);
    if (OnMouseCursor) OnMouseCursor(this, pos, cursor);
    return cursor;
}

void TNoteEditCore::ComputeScroll(int x, int y, int& dx, int& dy) const {
    dx = dy = 0;
    if (FCharWidth <= 0 || FLineHeight <= 0) return;
    TRect r = Bounds(FGutterWidth, 0, FCharsInWindow * FCharWidth, FLinesInWindow * FLineHeight);
    if (FBorderNone) r = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    if (x < r.Left) dx = (x - r.Left) / FCharWidth - 1;
    else if (x >= r.Right) dx = (x - r.Right) / FCharWidth + 1;
    if (y < r.Top) dy = (y - r.Top) / FLineHeight - 1;
    else if (y >= r.Bottom) dy = (y - r.Bottom) / FLineHeight + 1;
}

void TNoteEditCore::AutoScrollStep(int x, int y, bool shiftHeld, bool captured) {
    TDisplayCoord d = PixelsToRowColumn(x, y);
    const int rows = std::max(DisplayLineCount(), 1);
    d.Row = ClampInt(d.Row, 1, rows);
    if (FScrollDeltaX != 0) {
        SetLeftChar(FLeftChar + FScrollDeltaX);
        d.Column = FLeftChar + (FScrollDeltaX > 0 ? FCharsInWindow : 0);
    }
    if (FScrollDeltaY != 0) {
        SetTopLine(FTopLine + (shiftHeld ? FScrollDeltaY * FLinesInWindow : FScrollDeltaY));
        d.Row = ClampInt(FTopLine + (FScrollDeltaY > 0 ? FLinesInWindow - 1 : 0), 1, rows);
    }
    const TBufferCoord pos = DisplayToBufferPos(d);
    if (pos != CaretXY()) {
        TUpdate update(*this);
        SetCaretXYEx(false, pos);
        if (captured) SetBlockEnd(CaretXY());
    }
    ComputeScroll(x, y, FScrollDeltaX, FScrollDeltaY);
}

