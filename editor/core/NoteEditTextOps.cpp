// The text primitives of the editor core (insert and delete in the three selection modes),
// undo and redo replay, and dropping dragged text.
#include <algorithm>
#include <climits>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditCoreInternal.h"

using namespace NoteEditDetail;

void TNoteEditCore::DeleteRange(const TBufferCoord& from, const TBufferCoord& to) {
    LinesUpdate update(*FLines);
    std::string first = FLines->Get(from.Line - 1);
    if (static_cast<int>(first.size()) < from.Char - 1) first.resize(from.Char - 1, ' ');
    first.resize(from.Char - 1);
    const std::string& last = FLines->Get(to.Line - 1);
    if (to.Char - 1 < static_cast<int>(last.size())) first += last.substr(to.Char - 1);
    if (to.Line > from.Line) FLines->RemoveLines(from.Line, std::min(to.Line, FLines->Count()) - from.Line);
    if (from.Line <= FLines->Count())
        FLines->Put(from.Line - 1, std::move(first));
    else
        FLines->Add(std::move(first));
}

TBufferCoord TNoteEditCore::InsertAt(const TBufferCoord& at, const std::string& text) {
    LinesUpdate update(*FLines);
    while (FLines->Count() < at.Line) FLines->Add({});
    std::string line = FLines->Get(at.Line - 1);
    if (static_cast<int>(line.size()) < at.Char - 1) line.resize(at.Char - 1, ' ');
    const std::string right = line.substr(at.Char - 1);
    line.resize(at.Char - 1);
    const std::vector<std::string> pieces = SplitText(text);
    if (pieces.size() == 1) {
        FLines->Put(at.Line - 1, line + pieces[0] + right);
        return {at.Char + static_cast<int>(pieces[0].size()), at.Line};
    }
    FLines->Put(at.Line - 1, line + pieces[0]);
    for (size_t i = 1; i < pieces.size(); ++i)
        FLines->Insert(at.Line - 1 + static_cast<int>(i), i + 1 < pieces.size() ? pieces[i] : pieces[i] + right);
    return {static_cast<int>(pieces.back().size()) + 1, at.Line + static_cast<int>(pieces.size()) - 1};
}

void TNoteEditCore::DeleteSelection(bool backwardsReason) {
    if (FLines->Count() == 0) {  // nothing to delete, whatever the mode claims
        SetBlockBegin(CaretXY());
        return;
    }
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    const bool backwards = FSelectionMode == smNormal && FBlockEnd == b && FBlockBegin != b;
    const TNoteSelectionMode mode = FSelectionMode;
    const std::string deleted = SelText();
    const int endLine = FBlockEnd.Line;
    LinesUpdate update(*FLines);
    TBufferCoord caret = b;
    if (mode == smNormal) {
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
            if (left > static_cast<int>(text.size())) continue;
            text.erase(left - 1, std::max(0, right - left));
            FLines->Put(l - 1, std::move(text));
        }
        caret.Line = endLine;
        if (CaretOnTrailByte(caret)) ++caret.Char;
    }
    // A line-mode deletion is restored in front of column 1 of its first line.
    FUndoList.RecordChange(backwardsReason && backwards ? NoteChange::DeleteBackwardSel : NoteChange::DeleteSel,
                           mode == smLine ? TBufferCoord{1, b.Line} : b, e, deleted, mode);
    SetCaretXYEx(false, caret);
    SetBlockBegin(caret);
}

// Puts each line of the text into successive lines at the byte column of `at` (a line too
// short is padded with blanks; a column on a trail byte moves one byte right).
TBufferCoord TNoteEditCore::InsertColumn(const TBufferCoord& at, const std::string& text) {
    LinesUpdate update(*FLines);
    const std::vector<std::string> pieces = SplitText(text);
    int line = at.Line, column = at.Char;
    for (const std::string& piece : pieces) {
        while (FLines->Count() < line) FLines->Add({});
        std::string s = FLines->Get(line - 1);
        column = at.Char;
        if (static_cast<int>(s.size()) < column - 1) s.resize(column - 1, ' ');
        else if (NoteByteType(s, column) == mbTrailByte) ++column;
        s.insert(column - 1, piece);
        FLines->Put(line - 1, std::move(s));
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
        if (at.Char + n <= len && NoteByteType(line, at.Char + n) == mbTrailByte) ++n;
        const std::string removed = line.substr(at.Char - 1, n);
        const TBufferCoord end{at.Char + n, at.Line};
        DeleteRange(at, end);
        FUndoList.RecordChange(NoteChange::DeleteAfter, at, end, removed, smNormal);
    }
    if (at.Char > len + 1) {
        const TBufferCoord padStart{len + 1, at.Line};
        InsertAt(padStart, std::string(at.Char - len - 1, ' '));
        FUndoList.RecordChange(NoteChange::BlanksAdded, padStart, at, std::string(at.Char - len - 1, ' '), smNormal);
    }
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
        lines.Put(index, TrimTrailing(std::move(s)));
    }
}
}  // namespace

void TNoteEditCore::UndoItem(const TNoteEditUndoItem& item) {
    TUpdate update(*this);
    if (NoteChange::IsBeginMarker(item.Reason) || NoteChange::IsEndMarker(item.Reason)) {
        FRedoList.RecordChange(item.Reason, item.Start, item.End, {}, item.SelMode);
        return;
    }
    switch (item.Reason) {
    case NoteChange::Indent: case NoteChange::Unindent:
        ApplyIndent(item.Reason, item.Start, item.End, item.Text, true);
        FRedoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
        break;
    case NoteChange::Insert: case NoteChange::Paste: case NoteChange::DragDropInsert:
        if (item.SelMode == smColumn) {
            RemoveColumn(*FLines, item.Start, item.Text);
            FRedoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
            SetCaretXYEx(true, item.Start);
            SetBlockBegin(item.Start);
            break;
        }
        [[fallthrough]];
    case NoteChange::BlanksAdded: case NoteChange::LineBreak:
        DeleteRange(item.Start, item.End);
        FRedoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
        SetCaretXYEx(true, item.Start);
        SetBlockBegin(item.Start);
        break;
    case NoteChange::DeleteBackwardSel: case NoteChange::DeleteSel: case NoteChange::DeleteBefore:
    case NoteChange::DeleteAfter: case NoteChange::DeleteAll: {
        const TBufferCoord end =
            item.SelMode == smColumn ? InsertColumn(item.Start, item.Text) : InsertAt(item.Start, item.Text);
        const bool blanksOnly = !item.Text.empty() && item.Text.find_first_not_of(" \t") == std::string::npos;
        if (item.SelMode == smNormal && HasOption(eoTrimTrailingSpaces) && !blanksOnly) {
            // Blanks that padded the line up to a deletion beyond its end go again; cut
            // trailing blanks come back.
            for (int l : {item.Start.Line, end.Line}) {
                const std::string& s = FLines->Get(l - 1);
                if (!s.empty() && IsBlank(s.back())) FLines->Put(l - 1, TrimTrailing(s));
            }
        }
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
    if (NoteChange::IsBeginMarker(item.Reason) || NoteChange::IsEndMarker(item.Reason)) {
        FUndoList.RecordChange(item.Reason, item.Start, item.End, {}, item.SelMode);
        return;
    }
    switch (item.Reason) {
    case NoteChange::Indent: case NoteChange::Unindent:
        ApplyIndent(item.Reason, item.Start, item.End, item.Text, false);
        FUndoList.RecordChange(item.Reason, item.Start, item.End, item.Text, item.SelMode);
        break;
    case NoteChange::Insert: case NoteChange::Paste: case NoteChange::DragDropInsert: case NoteChange::BlanksAdded:
    case NoteChange::LineBreak: {
        const TBufferCoord end =
            item.SelMode == smColumn ? InsertColumn(item.Start, item.Text) : InsertAt(item.Start, item.Text);
        FUndoList.RecordChange(item.Reason, item.Start, end, item.Text, item.SelMode);
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

void TNoteEditCore::Undo() {
    TUpdate update(*this);
    FInReplay = true;
    struct ReplayEnd {
        bool& flag;
        ~ReplayEnd() { flag = false; }
    } end{FInReplay};
    NoteUndoStep(FUndoList, FRedoList, HasOption(eoGroupUndo), [this](const TNoteEditUndoItem& item) { UndoItem(item); });
}

void TNoteEditCore::Redo() {
    TUpdate update(*this);
    FInReplay = true;
    struct ReplayEnd {
        bool& flag;
        ~ReplayEnd() { flag = false; }
    } end{FInReplay};
    NoteRedoStep(FUndoList, FRedoList, HasOption(eoGroupUndo), [this](const TNoteEditUndoItem& item) { RedoItem(item); });
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
    const std::string text = source.SelText();
    if (move) {
        source.DeleteSelection();
        if (same && EarlierPos(e, point) == e) {
            // The removed text stood before the drop point.
            if (point.Line == e.Line) point = {b.Char + point.Char - e.Char, b.Line};
            else point.Line -= e.Line - b.Line;
        }
    }
    if (FLines->Count() == 0) FLines->Add({});
    const TBufferCoord end = InsertAt(point, text);
    FUndoList.RecordChange(same ? NoteChange::DragDropInsert : NoteChange::Insert, point, end, text, smNormal);
    SetCaretXYEx(true, end);
    SetBlockBegin(point);
    SetBlockEnd(end);
}
