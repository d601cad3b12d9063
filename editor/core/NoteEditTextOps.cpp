// The text primitives of the editor core (insert and delete in the three selection modes),
// undo and redo replay, and dropping dragged text.
#include <algorithm>
#include <climits>
#include <iterator>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditCoreInternal.h"

using namespace NoteEditDetail;

void TNoteEditCore::DeleteRange(const TBufferCoord& from, const TBufferCoord& to) {
    LinesUpdate update(*FLines);
    const int fromLength = static_cast<int>(FLines->Get(from.Line - 1).size());
    if (from.Line == to.Line && from.Line <= FLines->Count() && from.Char <= fromLength + 1) {
        // Within one line: in place, without a copy of the line.
        const int count = std::min(to.Char, fromLength + 1) - from.Char;
        if (count > 0) FLines->DeleteBytes(from.Line - 1, from.Char - 1, count);
        return;
    }
    std::string first = FLines->Get(from.Line - 1);
    if (static_cast<int>(first.size()) < from.Char - 1) first.resize(from.Char - 1, ' ');
    first.resize(from.Char - 1);
    const std::string& last = FLines->Get(to.Line - 1);
    if (to.Char - 1 < static_cast<int>(last.size())) first.append(last, to.Char - 1);
    if (to.Line > from.Line) FLines->RemoveLines(from.Line, std::min(to.Line, FLines->Count()) - from.Line);
    if (from.Line <= FLines->Count())
        FLines->Put(from.Line - 1, std::move(first));
    else
        FLines->Add(std::move(first));
}

TBufferCoord TNoteEditCore::InsertAt(const TBufferCoord& at, const std::string& text) {
    LinesUpdate update(*FLines);
    while (FLines->Count() < at.Line) FLines->Add({});
    if (text.find_first_of("\r\n") == std::string::npos) {
        // Within one line: in place, without a copy of the line.
        const int length = static_cast<int>(FLines->Get(at.Line - 1).size());
        if (length < at.Char - 1) FLines->InsertBytes(at.Line - 1, length, std::string(at.Char - 1 - length, ' ') + text);
        else FLines->InsertBytes(at.Line - 1, at.Char - 1, text);
        return {at.Char + static_cast<int>(text.size()), at.Line};
    }
    std::string line = FLines->Get(at.Line - 1);
    if (static_cast<int>(line.size()) < at.Char - 1) line.resize(at.Char - 1, ' ');
    const std::string right = line.substr(at.Char - 1);
    line.resize(at.Char - 1);
    std::vector<std::string> pieces = SplitText(text);
    const int lastLength = static_cast<int>(pieces.back().size());
    const int added = static_cast<int>(pieces.size()) - 1;
    FLines->Put(at.Line - 1, line + pieces[0]);
    std::vector<std::string> rest(std::make_move_iterator(pieces.begin() + 1), std::make_move_iterator(pieces.end()));
    rest.back() += right;
    FLines->InsertLines(at.Line, std::move(rest));
    return {lastLength + 1, at.Line + added};
}

std::vector<int> TNoteEditCore::DeleteSelection(bool backwardsReason) {
    if (FLines->Count() == 0) {  // nothing to delete, whatever the mode claims
        SetBlockBegin(CaretXY());
        return {};
    }
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    const bool backwards = FSelectionMode == smNormal && FBlockEnd == b && FBlockBegin != b;
    const TNoteSelectionMode mode = FSelectionMode;
    std::string deleted = mode == smColumn ? std::string() : SelText();
    std::vector<int> columns;  // where each line's piece of a column block was cut
    const int endLine = FBlockEnd.Line;
    LinesUpdate update(*FLines);
    TBufferCoord caret = b;
    if (mode == smNormal) {
        PadLineTo(b);  // a selection from beyond a line's end joins there
        DeleteRange(b, e);
    } else if (mode == smLine) {
        const int last = std::min(e.Line, FLines->Count());
        if (last == FLines->Count()) {
            FLines->Put(last - 1, {});
            if (last > b.Line) FLines->RemoveLines(b.Line - 1, last - b.Line);
        } else {
            FLines->RemoveLines(b.Line - 1, last - b.Line + 1);
        }
        caret = {1, b.Line};
    } else {
        for (int l = b.Line; l <= std::min(e.Line, FLines->Count()); ++l) {
            std::string text = FLines->Get(l - 1);
            const int left = b.Char + (NoteByteType(text, b.Char) == mbTrailByte);
            const int right = e.Char + (NoteByteType(text, e.Char) == mbTrailByte);
            if (l == endLine) caret.Char = left;  // the caret stays off a trail byte
            if (l > b.Line) deleted += "\r\n";  // what was there, no blanks for missing text
            columns.push_back(left);
            if (left > static_cast<int>(text.size())) continue;
            deleted += text.substr(left - 1, std::max(0, right - left));
            text.erase(left - 1, std::max(0, right - left));
            FLines->Put(l - 1, std::move(text));
        }
        caret.Line = endLine;
        if (CaretOnTrailByte(caret)) ++caret.Char;
    }
    // A line-mode deletion is restored in front of column 1 of its first line.
    FUndoList.RecordChange(backwardsReason && backwards ? NoteChange::DeleteBackwardSel : NoteChange::DeleteSel,
                           mode == smLine ? TBufferCoord{1, b.Line} : b, e, deleted, mode, columns);
    SetCaretXYEx(false, caret);
    SetBlockBegin(caret);
    return columns;
}

TBufferCoord TNoteEditCore::PadLineTo(const TBufferCoord& at) {
    const int len = static_cast<int>(FLines->Get(at.Line - 1).size());
    if (at.Char <= len + 1) return at;
    const TBufferCoord padStart{len + 1, at.Line};
    const std::string blanks(at.Char - len - 1, ' ');
    InsertAt(padStart, blanks);
    FUndoList.RecordChange(NoteChange::BlanksAdded, padStart, at, blanks, smNormal);
    return at;
}

// Puts each line of the text into successive lines at the byte column of `at` (a line too
// short is padded with blanks; a column on a trail byte moves one byte right), or exactly at
// the column given for a line that reaches it. A line whose piece is empty stays as it is.
// With recordPadding the added lines and blanks go on the undo list first, so that undoing
// the insertion leaves the lines as they were.
TBufferCoord TNoteEditCore::InsertColumn(const TBufferCoord& at, const std::string& text, bool recordPadding,
                                         const std::vector<int>& columns) {
    LinesUpdate update(*FLines);
    const std::vector<std::string> pieces = SplitText(text);
    const int lastLine = at.Line + static_cast<int>(pieces.size()) - 1;
    if (FLines->Count() == 0) FLines->Add({});
    if (recordPadding && FLines->Count() < lastLine) {
        const int count = FLines->Count();
        const TBufferCoord start{static_cast<int>(FLines->Get(count - 1).size()) + 1, count};
        std::string breaks;
        for (int l = count; l < lastLine; ++l) breaks += "\r\n";
        const TBufferCoord end = InsertAt(start, breaks);
        FUndoList.RecordChange(NoteChange::BlanksAdded, start, end, breaks, smNormal);
    }
    int line = at.Line, column = at.Char;
    for (const std::string& piece : pieces) {
        while (FLines->Count() < line) FLines->Add({});
        const size_t index = static_cast<size_t>(line - at.Line);
        column = at.Char;
        if (index < columns.size() && columns[index] >= 1 &&
            columns[index] <= static_cast<int>(FLines->Get(line - 1).size()) + 1) {
            column = columns[index];
            if (!piece.empty()) FLines->InsertBytes(line - 1, column - 1, piece);
        } else if (!piece.empty()) {
            if (recordPadding) PadLineTo({column, line});
            std::string s = FLines->Get(line - 1);
            if (static_cast<int>(s.size()) < column - 1) s.resize(column - 1, ' ');
            else if (NoteByteType(s, column) == mbTrailByte) ++column;
            s.insert(column - 1, piece);
            FLines->Put(line - 1, std::move(s));
        } else if (FLines->ByteType(line - 1, column) == mbTrailByte) {
            ++column;
        }
        ++line;
    }
    return {column + static_cast<int>(pieces.back().size()), line - 1};
}

void TNoteEditCore::InsertText(const std::string& text) {
    if (text.empty()) return;
    TUpdate update(*this);
    FUndoList.BeginGroup();
    struct GroupEnd {
        TNoteEditUndoList& list;
        ~GroupEnd() {
            try {
                list.EndGroup();
            } catch (...) {
                NoteHandleException();
            }
        }
    } groupEnd{FUndoList};
    if (FLines->Count() == 0) FLines->Add({});
    // Text replacing a selection never overwrites what follows it.
    const bool replacing = SelAvail();
    if (replacing) DeleteSelection();
    TBufferCoord at = CaretXY();
    const std::string& line = FLines->Get(at.Line - 1);
    const int len = static_cast<int>(line.size());
    const bool trim = HasOption(eoTrimTrailingSpaces);
    // A blank typed at the end of a line only moves the caret: the stored line is trimmed.
    if (trim && text.find_first_not_of(" \t") == std::string::npos && at.Char > len) {
        int column = BufferToDisplayPos(at).Column;
        for (char c : text) column += c == '\t' ? TabWidth() - (column - 1) % TabWidth() : 1;
        SetCaretXY(DisplayToBufferPos({column, BufferToDisplayPos(at).Row}));
        SetBlockBegin(CaretXY());
        return;
    }
    if (!FInsertMode && !replacing && at.Char <= len) {
        // Overwrite: remove as many bytes as come in, never half a double-byte character.
        int n = std::min(static_cast<int>(text.size()), len - at.Char + 1);
        if (at.Char + n <= len && FLines->ByteType(at.Line - 1, at.Char + n) == mbTrailByte) ++n;
        const std::string removed = line.substr(at.Char - 1, n);
        const TBufferCoord end{at.Char + n, at.Line};
        DeleteRange(at, end);
        FUndoList.RecordChange(NoteChange::DeleteAfter, at, end, removed, smNormal);
    }
    PadLineTo(at);
    const TBufferCoord end = InsertAt(at, text);
    FUndoList.RecordChange(NoteChange::Insert, at, end, text, smNormal);
    TrimLine(end.Line);
    SetCaretXY(end);
    SetBlockBegin(end);
}

namespace {
// Removes what InsertColumn put in: each piece at the start column of its line.
void RemoveColumn(TNoteEditStringList& lines, const TBufferCoord& at, const std::string& text) {
    LinesUpdate update(lines);
    const std::vector<std::string> pieces = SplitText(text);
    for (size_t i = 0; i < pieces.size(); ++i) {
        const int index = at.Line - 1 + static_cast<int>(i);
        if (index >= lines.Count() || pieces[i].empty()) continue;
        std::string s = lines.Get(index);
        size_t column = static_cast<size_t>(at.Char - 1);
        if (column >= s.size()) continue;
        if (s.compare(column, pieces[i].size(), pieces[i]) != 0) {
            if (column + 1 < s.size() && s.compare(column + 1, pieces[i].size(), pieces[i]) == 0)
                ++column;  // inserted one byte further, after a trail byte
            else
                continue;  // trimmed away since: never cut other bytes
        }
        s.erase(column, pieces[i].size());
        lines.Put(index, std::move(s));  // blanks and lines added for it have records of their own
    }
}
}  // namespace

// What undo and redo do alike: the markers of a compound change and the indents go over to
// the other list as they are (an indent applied the other way). False for other items.
bool TNoteEditCore::ReplayMirrored(const TNoteEditUndoItem& item, bool undo) {
    const bool marker = NoteChange::IsBeginMarker(item.Reason) || NoteChange::IsEndMarker(item.Reason);
    if (!marker && item.Reason != NoteChange::Indent && item.Reason != NoteChange::Unindent) return false;
    if (!marker) ApplyIndent(item.Reason, item.Start, item.End, item.Text, undo);
    (undo ? FRedoList : FUndoList).RecordChange(item.Reason, item.Start, item.End, marker ? std::string() : item.Text,
                                                item.SelMode);
    return true;
}

// Puts an item's text in at its start, in its mode; answers the end.
TBufferCoord TNoteEditCore::InsertItemText(const TNoteEditUndoItem& item) {
    return item.SelMode == smColumn ? InsertColumn(item.Start, item.Text, false, item.Columns)
                                    : InsertAt(item.Start, item.Text);
}

void TNoteEditCore::UndoItem(const TNoteEditUndoItem& item) {
    TUpdate update(*this);
    if (ReplayMirrored(item, true)) return;
    switch (item.Reason) {
    case NoteChange::Insert: case NoteChange::Paste: case NoteChange::DragDropInsert:
    case NoteChange::BlanksAdded: case NoteChange::LineBreak:
        if (item.SelMode == smColumn) RemoveColumn(*FLines, item.Start, item.Text);
        else DeleteRange(item.Start, item.End);
        FRedoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode, item.Columns);
        SetCaretXYEx(true, item.Start);
        SetBlockBegin(item.Start);
        break;
    case NoteChange::DeleteBackwardSel: case NoteChange::DeleteSel: case NoteChange::DeleteBefore:
    case NoteChange::DeleteAfter: case NoteChange::DeleteAll: {
        const TBufferCoord end = InsertItemText(item);
        FRedoList.RecordChange(item.Reason, item.Start, item.SelMode == smNormal ? end : item.End, item.Text, item.SelMode);
        const bool atStart = item.Reason == NoteChange::DeleteBackwardSel || item.Reason == NoteChange::DeleteAfter;
        SetCaretXYEx(true, atStart ? item.Start : end);
        if (item.Reason == NoteChange::DeleteSel || item.Reason == NoteChange::DeleteBackwardSel) {
            SetSelectionMode(item.SelMode);
            SetBlockBegin(item.Start);
            SetBlockEnd(item.SelMode == smColumn ? item.End : end);
        } else {
            SetBlockBegin(CaretXY());
        }
        break;
    }
    default: break;
    }
}

void TNoteEditCore::RedoItem(const TNoteEditUndoItem& item) {
    TUpdate update(*this);
    if (ReplayMirrored(item, false)) return;
    switch (item.Reason) {
    case NoteChange::Insert: case NoteChange::Paste: case NoteChange::DragDropInsert: case NoteChange::BlanksAdded:
    case NoteChange::LineBreak: {
        const TBufferCoord end = InsertItemText(item);
        FUndoList.RecordChange(item.Reason, item.Start, end, item.Text, item.SelMode, item.Columns);
        SetCaretXYEx(true, end);
        SetBlockBegin(end);
        break;
    }
    case NoteChange::DeleteBackwardSel: case NoteChange::DeleteSel: case NoteChange::DeleteBefore:
    case NoteChange::DeleteAfter: case NoteChange::DeleteAll:
        if (item.SelMode != smNormal) {
            const TNoteSelectionMode saved = FSelectionMode;
            FSelectionMode = item.SelMode;
            FBlockBegin = item.Start;
            FBlockEnd = item.End;
            DeleteSelection();  // records on the undo list
            FSelectionMode = saved;
            break;
        }
        DeleteRange(item.Start, item.End);
        FUndoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
        SetCaretXYEx(true, item.Start);
        SetBlockBegin(item.Start);
        break;
    default: break;
    }
}

void TNoteEditCore::Undo() { Replay(true); }
void TNoteEditCore::Redo() { Replay(false); }

// One undo or redo step; the changes it makes leave the redo list alone.
void TNoteEditCore::Replay(bool undo) {
    TUpdate update(*this);
    FInReplay = true;
    struct ReplayEnd {
        bool& flag;
        ~ReplayEnd() { flag = false; }
    } end{FInReplay};
    const bool group = HasOption(eoGroupUndo);
    if (undo)
        NoteUndoStep(FUndoList, FRedoList, group, [this](const TNoteEditUndoItem& item) { UndoItem(item); });
    else
        NoteRedoStep(FUndoList, FRedoList, group, [this](const TNoteEditUndoItem& item) { RedoItem(item); });
}


//--- Drag and drop

TBufferCoord TNoteEditCore::DropPointAt(int x, int y) const {
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    d.Row = std::min(d.Row, std::max(DisplayLineCount(), 1));
    d.Column = std::min(d.Column, FLeftChar + std::max(FCharsInWindow, 1));
    return DisplayToBufferPos(d);
}

void TNoteEditCore::DragOverPoint(int x, int y) {
    TUpdate update(*this);
    SetCaretXYEx(false, DropPointAt(x, y));
}

void TNoteEditCore::DragWithinPoint(int x, int y) {
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    const int rows = std::max(DisplayLineCount(), 1);
    const int firstRow = std::min(FTopLine, rows);
    d.Row = ClampInt(d.Row, firstRow, std::max(std::min(rows, FTopLine + FLinesInWindow - 1), firstRow));
    d.Column = ClampInt(d.Column, FLeftChar, FLeftChar + std::max(FCharsInWindow, 1));
    TUpdate update(*this);
    SetCaretXYEx(false, DisplayToBufferPos(d));
    // Right of a wrapped row's end the caret stays at the end of that row, not on the next.
    if (FWrapPlugin) {
        const TDisplayCoord now = BufferToDisplayPos(CaretXY());
        if (now.Column == 1 && now.Row != d.Row) {
            FCaretAtEndOfRow = true;
            UpdateCaret();
        }
    }
    ComputeScroll(x, y, FScrollDeltaX, FScrollDeltaY);
}

void TNoteEditCore::DropFrom(TNoteEditCore& source, TBufferCoord point, bool move) {
    if (FReadOnly || !source.SelAvail()) return;
    const bool same = &source == this;
    const TBufferCoord b = source.BlockBegin(), e = source.BlockEnd();
    if (same && (IsPointInSelection(point) || (move && (point == b || point == e)))) return;
    if (move && source.FReadOnly) move = false;
    TUpdate update(*this);
    TUpdate sourceUpdate(source);
    FUndoList.BeginGroup();
    if (!same) source.FUndoList.BeginGroup();
    struct Groups {
        TNoteEditUndoList& target;
        TNoteEditUndoList* other;
        // Each group ends even when the other's listener raises.
        ~Groups() {
            for (TNoteEditUndoList* list : {&target, other}) {
                if (!list) continue;
                try {
                    list->EndGroup();
                } catch (...) {
                    NoteHandleException();
                }
            }
        }
    } groups{FUndoList, same ? nullptr : &source.FUndoList};
    // Within one editor the block keeps its mode: lines go in front of the drop point's line,
    // a column block goes in as a column.
    const TNoteSelectionMode mode = same ? FSelectionMode : smNormal;
    std::string text = source.SelText();
    if (mode == smLine && (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)) text += "\r\n";
    if (move) {
        if (same) point = PointAfterDeletion(point);
        source.DeleteSelection();
    }
    if (FLines->Count() == 0) FLines->Add({});
    point.Line = ClampInt(point.Line, 1, FLines->Count());
    if (mode == smLine) point.Char = 1;
    if (CaretOnTrailByte(point)) --point.Char;  // never between the bytes of a character
    TBufferCoord end;
    if (mode == smColumn) {
        end = InsertColumn(point, text, true);
    } else {
        PadLineTo(point);
        end = InsertAt(point, text);
    }
    FUndoList.RecordChange(same ? NoteChange::DragDropInsert : NoteChange::Insert, point, end, text,
                           mode == smColumn ? smColumn : smNormal);
    SetCaretXYEx(true, end);
    // A lone lead byte before the point joins the text's first byte: the selection starts after them.
    if (CaretOnTrailByte(point)) ++point.Char;
    SetBlockBegin(point);
    if (mode == smLine && end.Line > point.Line)
        SetBlockEnd({static_cast<int>(FLines->Get(end.Line - 2).size()) + 1, end.Line - 1});
    else
        SetBlockEnd(end);
}

// Where a point after the selection stands once the selection is deleted.
TBufferCoord TNoteEditCore::PointAfterDeletion(TBufferCoord point) const {
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    switch (FSelectionMode) {
    case smNormal:
        if (EarlierPos(e, point) == e) {
            if (point.Line == e.Line) point = {b.Char + point.Char - e.Char, b.Line};
            else point.Line -= e.Line - b.Line;
        }
        break;
    case smLine:
        if (point.Line > e.Line) point.Line -= e.Line - b.Line + 1;
        break;
    default:
        // Only the point's own line loses bytes: those of the column left of it.
        if (point.Line >= b.Line && point.Line <= e.Line) {
            const std::string& s = FLines->Get(point.Line - 1);
            const int len = static_cast<int>(s.size());
            const int left = b.Char + (NoteByteType(s, b.Char) == mbTrailByte);
            const int right = e.Char + (NoteByteType(s, e.Char) == mbTrailByte);
            if (left <= len && point.Char >= right) point.Char -= std::min(right, len + 1) - left;
        }
        break;
    }
    return point;
}
