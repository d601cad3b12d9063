// The editing commands of the editor core: deletion, line breaks, typing, tabs and block
// indents, case changes, the clipboard exchange through the host, bookmarks, character
// offsets and the mouse wheel. Every command leaves the caret off trail bytes and records
// what it changed on the undo list.
#include <algorithm>
#include <climits>

#include "editor/core/NoteEditCore.h"
#include "editor/core/NoteEditCoreInternal.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool AllBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return IsBlank(c); });
}

// Keeps an update of the editor paired.
struct EditUpdate {
    TNoteEditCore& core;
    explicit EditUpdate(TNoteEditCore& c) : core(c) { core.BeginUpdate(); }
    ~EditUpdate() {
        try {
            core.EndUpdate();
        } catch (...) {
            NoteHandleException();
        }
    }
};

// Keeps an undo group paired.
struct UndoGroup {
    TNoteEditUndoList& list;
    explicit UndoGroup(TNoteEditUndoList& l) : list(l) { list.BeginGroup(); }
    ~UndoGroup() {
        try {
            list.EndGroup();
        } catch (...) {
            NoteHandleException();
        }
    }
};

std::vector<std::string> SplitPieces(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += text[i];
        }
    }
    return pieces;
}
}  // namespace

std::string NoteMapCase(std::string_view text, TNoteCaseMap map) {
    std::string result(text);
    bool first = true;
    for (size_t i = 0; i < result.size();) {
        const int n = GbkCharLength(result, i);
        if (n == 1) {
            char& c = result[i];
            const bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z';
            const bool toUpper = map == cmUpper || (map == cmToggle && lower) || (map == cmTitle && first);
            if (toUpper && lower) c = static_cast<char>(c - 32);
            else if (!toUpper && upper && map != cmUpper) c = static_cast<char>(c + 32);
        }
        first = false;
        i += n;
    }
    return result;
}

//--- Helpers

std::string TNoteEditCore::TextBetween(const TBufferCoord& from, const TBufferCoord& to) const {
    const auto slice = [](const std::string& s, int a, int b) {  // bytes a..b-1, 1-based
        a = std::max(a, 1);
        if (a > static_cast<int>(s.size())) return std::string();
        return s.substr(a - 1, std::max(0, b - a));
    };
    if (from.Line == to.Line) return slice(FLines->Get(from.Line - 1), from.Char, to.Char);
    std::string result = slice(FLines->Get(from.Line - 1), from.Char, INT_MAX / 2);
    for (int l = from.Line + 1; l < to.Line; ++l) result += "\r\n" + FLines->Get(l - 1);
    return result + "\r\n" + slice(FLines->Get(to.Line - 1), 1, to.Char);
}

void TNoteEditCore::TrimLine(int line, TNoteChangeReason reason) {
    if (!HasOption(eoTrimTrailingSpaces) || line < 1 || line > FLines->Count()) return;
    const std::string& s = FLines->Get(line - 1);
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    if (n == s.size()) return;
    std::string blanks = s.substr(n);
    const int from = static_cast<int>(n) + 1, to = static_cast<int>(s.size()) + 1;
    FLines->Put(line - 1, s.substr(0, n));
    FUndoList.RecordChange(reason, {from, line}, {to, line}, std::move(blanks), smNormal);
}

int TNoteEditCore::LineIndent(int line) const {
    const std::string& s = FLines->Get(line - 1);
    size_t n = 0;
    while (n < s.size() && IsBlank(s[n])) ++n;
    return CharToTabColumn(static_cast<int>(n) + 1, FLines->TabWidth(), s) - 1;
}

void TNoteEditCore::DeleteRangeRecorded(TNoteChangeReason reason, const TBufferCoord& from, const TBufferCoord& to,
                                        const TBufferCoord& caret) {
    if (EarlierPos(from, to) == to) return;
    EditUpdate update(*this);
    UndoGroup group(FUndoList);  // OnChange comes once the line is trimmed
    PadLineTo(from);             // a deletion from beyond the end joins at the caret
    const std::string text = TextBetween(from, to);
    DeleteRange(from, to);
    FUndoList.RecordChange(reason, from, to, text, smNormal);
    TrimLine(from.Line, reason);
    SetCaretXYEx(true, caret);
    SetBlockBegin(CaretXY());
}

//--- Deletion

void TNoteEditCore::DeleteLastChar() {
    if (SelAvail()) {
        EditUpdate update(*this);
        DeleteSelection(true);
        return;
    }
    const std::string& line = FLines->Get(FCaretY - 1);  // read before any change only
    const int len = static_cast<int>(line.size()), x = FCaretX, y = FCaretY;
    const int tabWidth = FLines->TabWidth();
    if (x > len + 1) {
        // Beyond the end nothing is deleted: the caret moves back.
        int target = x - 1;
        if (HasOption(eoSmartTabDelete)) {
            target = len + 1;
            if (len == 0) {
                target = 1;
                for (int l = y - 1; l >= 1; --l) {
                    if (AllBlank(FLines->Get(l - 1))) continue;
                    const int indent = LineIndent(l);
                    if (indent + 1 < x) {
                        target = indent + 1;
                        break;
                    }
                }
            }
        }
        EditUpdate update(*this);
        SetCaretXY({target, y});
        SetBlockBegin(CaretXY());
        return;
    }
    if (x == 1) {
        if (y == 1) return;
        const TBufferCoord joint{static_cast<int>(FLines->Get(y - 2).size()) + 1, y - 1};
        DeleteRangeRecorded(NoteChange::DeleteBefore, joint, {1, y}, joint);
        return;
    }
    if (AllBlank(std::string_view(line).substr(0, x - 1))) {
        // Inside the indent: back to a smaller indent above, or to the previous tab stop.
        const int column = CharToTabColumn(x, tabWidth, line);
        int target = std::max(1, ((column - 2) / tabWidth) * tabWidth + 1);
        if (HasOption(eoSmartTabDelete)) {
            target = 1;
            for (int l = y - 1; l >= 1; --l) {
                if (AllBlank(FLines->Get(l - 1))) continue;
                const int indent = LineIndent(l);
                if (indent + 1 < column) {
                    target = indent + 1;
                    break;
                }
            }
        }
        int newX = x;
        while (newX > 1 && CharToTabColumn(newX - 1, tabWidth, line) >= target) {
            --newX;
            if (line[newX - 1] == '\t') break;
        }
        if (newX == x) newX = x - 1;
        DeleteRangeRecorded(NoteChange::DeleteBefore, {newX, y}, {x, y}, {newX, y});
        return;
    }
    const int n = x > 2 && FLines->ByteType(y - 1, x - 1) == mbTrailByte ? 2 : 1;
    DeleteRangeRecorded(NoteChange::DeleteBefore, {x - n, y}, {x, y}, {x - n, y});
}

void TNoteEditCore::DeleteChar() {
    if (SelAvail()) {
        EditUpdate update(*this);
        DeleteSelection(true);
        return;
    }
    const std::string& line = FLines->Get(FCaretY - 1);
    const int len = static_cast<int>(line.size()), x = FCaretX, y = FCaretY;
    if (x > len) {
        // At or beyond the end the next line joins, the line padded up to the caret.
        if (y >= FLines->Count()) return;
        DeleteRangeRecorded(NoteChange::DeleteAfter, {x, y}, {1, y + 1}, {x, y});
        return;
    }
    DeleteRangeRecorded(NoteChange::DeleteAfter, {x, y}, {x + GbkCharLength(line, x - 1), y}, {x, y});
}

void TNoteEditCore::ClearAll() {
    EditUpdate update(*this);
    FLines->Clear();
    FUndoList.Clear();
    FRedoList.Clear();
    ClearMarks();
    FUndoList.MarkSavedState(true);
    if (FModified) {
        FModified = false;
        StatusChanged(NoteStatus::Modified);
    }
}

//--- Line breaks and typing

void TNoteEditCore::LineBreak(bool moveCaret) {
    EditUpdate update(*this);
    UndoGroup group(FUndoList);
    if (FLines->Count() == 0) FLines->Add({});
    if (SelAvail()) DeleteSelection();
    const std::string line = LineText();
    const int len = static_cast<int>(line.size()), x = FCaretX, y = FCaretY;
    const bool autoIndent = HasOption(eoAutoIndent);
    // Leading blank columns of the nearest non-blank line at or above `from`.
    const auto indentAbove = [&](int from) {
        for (int l = from; l >= 1; --l)
            if (!AllBlank(FLines->Get(l - 1))) return LineIndent(l);
        return 0;
    };
    std::string text = "\r\n";
    TBufferCoord at{1, y}, caret{x, y};
    if (len == 0) {
        // An empty line above; the caret goes down to the indent of the text above.
        if (moveCaret) caret = {(autoIndent ? indentAbove(y - 1) : 0) + 1, y + 1};
    } else if (x > len) {
        at = {len + 1, y};
        if (moveCaret) caret = {(autoIndent ? indentAbove(y) : 0) + 1, y + 1};
    } else if (x == 1) {
        if (moveCaret) caret = {1, y + 1};
    } else {
        // The right part goes down behind the left part's leading blanks.
        size_t n = 0;
        while (n < static_cast<size_t>(x - 1) && IsBlank(line[n])) ++n;
        std::string indent = line.substr(0, n);
        if (HasOption(eoTabsToSpaces))
            indent.assign(CharToTabColumn(static_cast<int>(n) + 1, FLines->TabWidth(), line) - 1, ' ');
        text += indent;
        at = {x, y};
        if (moveCaret) caret = {static_cast<int>(indent.size()) + 1, y + 1};
    }
    const TBufferCoord end = InsertAt(at, text);
    FUndoList.RecordChange(NoteChange::LineBreak, at, end, text, smNormal);
    TrimLine(y);
    TrimLine(y + 1);
    SetCaretXYEx(true, caret);
    SetBlockBegin(CaretXY());
    InvalidateLines(y, -1);
}

void TNoteEditCore::TypeChar(char aChar) {
    const auto c = static_cast<unsigned char>(aChar);
    if (c < 32 || c == 127) return;
    if (!SelAvail()) {
        if (FInsertMode && !FWrapPlugin && !HasOption(eoAutoSizeMaxScrollWidth) && FCaretX > FMaxScrollWidth) return;
        const std::string& line = FLines->Get(FCaretY - 1);
        if (!FInsertMode && FCaretX <= static_cast<int>(line.size()) && GbkCharLength(line, FCaretX - 1) == 2) {
            // Over a double-byte character: the character and a blank take its two bytes.
            EditUpdate update(*this);
            const TBufferCoord at = CaretXY();
            InsertText(std::string{aChar, ' '});
            SetCaretXY({at.Char + 1, at.Line});
            SetBlockBegin(CaretXY());
            return;
        }
    }
    InsertText(std::string(1, aChar));
}

//--- Tabs and block indents

void TNoteEditCore::InsertTab() {
    if (HasOption(eoTabIndent) && SelAvail()) {
        const TBufferCoord b = BlockBegin(), e = BlockEnd();
        const bool wholeLine = b.Char == 1 && (e.Line > b.Line ? e.Char == 1 : e.Char > static_cast<int>(FLines->Get(b.Line - 1).size()));
        if (b.Line != e.Line || wholeLine) {
            BlockIndent(true);
            return;
        }
    }
    EditUpdate update(*this);
    UndoGroup group(FUndoList);
    if (SelAvail()) DeleteSelection();
    const int tabWidth = FLines->TabWidth();
    const int column = CharToTabColumn(FCaretX, tabWidth, LineText());
    int width = 0;
    if (HasOption(eoSmartTabs)) {
        // To the next word start of the nearest line above that reaches the caret's column.
        for (int l = FCaretY - 1; l >= 1 && width == 0; --l) {
            const std::string above = FLines->ExpandedLine(l - 1);
            if (static_cast<int>(above.size()) < column) continue;
            int i = column;
            while (i <= static_cast<int>(above.size()) && !IsBlank(above[i - 1])) ++i;
            while (i <= static_cast<int>(above.size()) && IsBlank(above[i - 1])) ++i;
            if (i <= static_cast<int>(above.size())) width = i - column;
            break;
        }
    }
    if (width == 0) width = tabWidth - (column - 1) % tabWidth;
    InsertText(HasOption(eoTabsToSpaces) ? std::string(width, ' ') : std::string("\t"));
}

void TNoteEditCore::ShiftTab() {
    if (HasOption(eoTabIndent) && SelAvail()) {
        BlockIndent(false);
        return;
    }
    const std::string line = LineText();
    const int x = FCaretX, y = FCaretY, tabWidth = FLines->TabWidth();
    if (x <= 1) return;
    int target = tabWidth * ((x - 2) / tabWidth) + 1;
    if (HasOption(eoSmartTabs))
        for (int l = y - 1; l >= 1; --l) {
            const std::string& above = FLines->Get(l - 1);
            if (static_cast<int>(above.size()) < x - 1) continue;
            int c = x - 1;
            while (c > 1 && IsBlank(above[c - 1])) --c;
            while (c > 1 && !IsBlank(above[c - 2])) --c;
            target = c;
            break;
        }
    if (target <= static_cast<int>(line.size()) && NoteByteType(line, target) == mbTrailByte) --target;
    if (static_cast<int>(line.size()) < x - 1) {
        EditUpdate update(*this);
        SetCaretXY({target, y});
        SetBlockBegin(CaretXY());
        return;
    }
    int newX = x;
    if (line[x - 2] == '\t') newX = x - 1;
    else
        while (newX > target && line[newX - 2] == ' ') --newX;
    DeleteRangeRecorded(NoteChange::DeleteBackwardSel, {newX, y}, {x, y}, {newX, y});
}

namespace {
// The lines an indent covers: from the earlier to the later position, less a last line
// the selection only touches at column 1.
void IndentLines(const TBufferCoord& a, const TBufferCoord& b, int& first, int& last) {
    first = std::min(a.Line, b.Line);
    last = std::max(a.Line, b.Line);
    const TBufferCoord& later = a.Line > b.Line ? a : b;
    if (last > first && later.Char == 1) --last;
}
}  // namespace

void TNoteEditCore::BlockIndent(bool indent) {
    TBufferCoord anchor = FBlockBegin, caret = FBlockEnd;
    if (!SelAvail()) anchor = caret = CaretXY();
    int first = 0, last = 0;
    IndentLines(anchor, caret, first, last);
    std::string pieces;
    bool any = false;
    for (int l = first; l <= last && l <= FLines->Count(); ++l) {
        const std::string& s = FLines->Get(l - 1);
        std::string piece;
        if (indent) {
            if (!s.empty()) piece.assign(std::max(FBlockWidth, 1), ' ');
        } else {
            size_t n = 0;
            while (n < s.size() && n < static_cast<size_t>(std::max(FBlockWidth, 1)) && IsBlank(s[n])) ++n;
            piece = s.substr(0, n);
        }
        any = any || !piece.empty();
        if (l > first) pieces += "\r\n";
        pieces += piece;
    }
    if (!any) return;
    EditUpdate update(*this);
    const TNoteChangeReason reason = indent ? NoteChange::Indent : NoteChange::Unindent;
    ApplyIndent(reason, anchor, caret, pieces, false);
    FUndoList.RecordChange(reason, anchor, caret, pieces, FSelectionMode);
}

// Puts the pieces in front of the lines (an indent) or takes them away (an unindent), or the
// reverse; the selection ends on the same text it covered.
void TNoteEditCore::ApplyIndent(TNoteChangeReason reason, const TBufferCoord& anchor, const TBufferCoord& caret,
                                const std::string& pieces, bool reverse) {
    int first = 0, last = 0;
    IndentLines(anchor, caret, first, last);
    const std::vector<std::string> list = SplitPieces(pieces);
    const bool insert = (reason == NoteChange::Indent) != reverse;
    {
        struct LinesGuard {
            TNoteEditStringList& lines;
            ~LinesGuard() {
                try {
                    lines.EndUpdate();
                } catch (...) {
                    NoteHandleException();
                }
            }
        } guard{*FLines};
        FLines->BeginUpdate();
        for (int l = first; l <= last && l <= FLines->Count(); ++l) {
            const std::string& piece = list[std::min<size_t>(l - first, list.size() - 1)];
            if (piece.empty()) continue;
            std::string s = FLines->Get(l - 1);
            if (insert) s.insert(0, piece);
            else if (s.compare(0, piece.size(), piece) == 0) s.erase(0, piece.size());
            FLines->Put(l - 1, std::move(s));
        }
    }
    const auto shifted = [&](TBufferCoord p) {
        if (reverse) return p;  // the stored positions are those before the change
        if (p.Line < first || p.Line > last || p.Char == 1) return p;
        const int n = static_cast<int>(list[std::min<size_t>(p.Line - first, list.size() - 1)].size());
        p.Char = insert ? p.Char + n : std::max(1, p.Char - n);
        return p;
    };
    SetCaretXYEx(true, shifted(caret));
    SetBlockBegin(shifted(anchor));
    SetBlockEnd(shifted(caret));
}

//--- Case changes

void TNoteEditCore::ChangeCase(TNoteEditorCommand command) {
    static const TNoteCaseMap maps[] = {cmUpper, cmLower, cmToggle, cmTitle, cmUpper, cmUpper, cmLower, cmToggle};
    const TNoteCaseMap map = maps[command - ecUpperCase];
    const bool block = command >= ecUpperCaseBlock;
    const TBufferCoord oldAnchor = FBlockBegin, oldEnd = FBlockEnd, oldCaret = CaretXY();
    const TNoteSelectionMode oldMode = FSelectionMode;
    EditUpdate update(*this);
    TBufferCoord after{0, 0};
    if (!block) {
        // The word at the caret, else the word before it (twice at most).
        TBufferCoord p = oldCaret, b, e;
        for (int tries = 0; tries < 3; ++tries) {
            b = WordStartAt(p);
            // A byte scan may stop on a trail byte that looks like a letter: not part of the word.
            if (NoteByteType(FLines->Get(b.Line - 1), b.Char) == mbTrailByte) ++b.Char;
            e = WordEndAt(b);
            if (e.Char > b.Char) break;
            p = PrevWordPos(p);
        }
        if (e.Char <= b.Char) return;
        SetSelectionMode(smNormal);
        SetBlockBegin(b);
        SetBlockEnd(e);
    } else if (!SelAvail()) {
        const std::string& line = LineText();
        if (FCaretX > static_cast<int>(line.size())) return;
        after = {FCaretX + GbkCharLength(line, FCaretX - 1), FCaretY};
        SetBlockBegin(oldCaret);
        SetBlockEnd(after);
    }
    const std::string text = SelText();
    const std::string changed = NoteMapCase(text, map);
    if (changed != text) {
        UndoGroup group(FUndoList);
        if (FSelectionMode == smColumn) {
            const TBufferCoord at = BlockBegin();
            const std::vector<int> columns = DeleteSelection();
            const TBufferCoord end = InsertColumn(at, changed, true, columns);
            FUndoList.RecordChange(NoteChange::Insert, at, end, changed, smColumn, columns);
        } else {
            InsertText(changed);
        }
    }
    SetSelectionMode(oldMode);
    if (after.Line > 0) {
        SetCaretXY(after);
        SetBlockBegin(after);
    } else {
        SetCaretXY(oldCaret);
        SetBlockBegin(oldAnchor);
        SetBlockEnd(oldEnd);
    }
}

//--- Scrolling and brackets

void TNoteEditCore::ScrollByLine(int delta) {
    const int row = DisplayXY().Row;
    if (row < FTopLine || row >= FTopLine + FLinesInWindow) {
        EnsureCursorPosVisible();
        return;
    }
    EditUpdate update(*this);
    SetTopLine(FTopLine + delta);
    if (row < FTopLine) MoveCaretVert(FTopLine - row, false);
    else if (row > FTopLine + FLinesInWindow - 1) MoveCaretVert(FTopLine + FLinesInWindow - 1 - row, false);
}

TBufferCoord TNoteEditCore::MatchingBracket(const TBufferCoord& p) const {
    static const std::string pairs = "()[]{}<>";
    const std::string& line = FLines->Get(p.Line - 1);
    if (p.Char < 1 || p.Char > static_cast<int>(line.size()) || NoteByteType(line, p.Char) != mbSingleByte) return {};
    const size_t k = pairs.find(line[p.Char - 1]);
    if (k == std::string::npos) return {};
    const char open = pairs[k & ~size_t(1)], close = pairs[k | 1];
    const bool forward = k % 2 == 0;
    int depth = 0;
    for (int l = p.Line; l >= 1 && l <= FLines->Count(); l += forward ? 1 : -1) {
        const std::string& s = FLines->Get(l - 1);
        // Character starts of the part of the line to search, in search order.
        std::vector<int> starts;
        for (int i = 0; i < static_cast<int>(s.size());) {
            const int start = i + 1;
            i += GbkCharLength(s, i);
            if (l == p.Line && (forward ? start <= p.Char : start >= p.Char)) continue;
            if (i - start + 1 == 1) starts.push_back(start);
        }
        if (!forward) std::reverse(starts.begin(), starts.end());
        for (int c : starts) {
            const char b = s[c - 1];
            if (b == line[p.Char - 1]) ++depth;
            else if (b == (forward ? close : open)) {
                if (depth == 0) return {c, l};
                --depth;
            }
        }
    }
    return {};
}

//--- Clipboard

void TNoteEditCore::CopyToClipboard() {
    if (!SelAvail()) return;
    std::string text;
    if (FSelectionMode == smColumn && HasOption(eoTrimTrailingSpaces)) {
        // The copied block keeps its trailing blanks.
        const TNoteEditorOptions saved = FOptions;
        FOptions &= ~NoteOption(eoTrimTrailingSpaces);
        try {
            text = SelText();
        } catch (...) {
            FOptions = saved;
            throw;
        }
        FOptions = saved;
    } else {
        text = SelText();
    }
    FHost.HostCopyToClipboard(text, FSelectionMode);
}

void TNoteEditCore::CutToClipboard() {
    if (FReadOnly || !SelAvail()) return;
    CopyToClipboard();
    EditUpdate update(*this);
    DeleteSelection();
}

void TNoteEditCore::PasteFromClipboard() {
    if (FReadOnly) return;
    TNoteTransient transient(*this);  // also for WM_PASTE, which comes without the executor
    std::string text;
    TNoteSelectionMode mode = FSelectionMode;
    bool withMode = false;
    if (!FHost.HostPasteFromClipboard(text, mode, withMode)) return;
    if (!withMode) mode = FSelectionMode;
    // A lead byte without its trail (a cut-off foreign block) would pair with the byte after it.
    std::string whole;
    size_t kept = 0;  // bytes before kept already go into whole
    for (size_t i = 0; i < text.size();) {
        const int n = GbkCharLength(text, i);
        if (n == 1 && IsGbkLeadByte(text[i])) {
            whole.append(text, kept, i - kept);
            kept = i + 1;
        }
        i += n;
    }
    if (kept > 0) text = whole.append(text, kept, std::string::npos);
    if (text.empty()) return;
    EditUpdate update(*this);
    UndoGroup group(FUndoList);
    FUndoList.RecordChange(NoteChange::PasteBegin, CaretXY(), CaretXY(), {}, smNormal);
    struct EndMarker {
        TNoteEditCore& core;
        ~EndMarker() {
            try {
                core.UndoList().RecordChange(NoteChange::PasteEnd, core.CaretXY(), core.CaretXY(), {}, smNormal);
            } catch (...) {
                NoteHandleException();
            }
        }
    } endMarker{*this};
    if (FLines->Count() == 0) FLines->Add({});
    if (SelAvail()) DeleteSelection();
    TBufferCoord at = CaretXY();
    if (mode == smLine) at.Char = 1;
    if (mode != smColumn) PadLineTo(at);
    const TBufferCoord end = mode == smColumn ? InsertColumn(at, text, true) : InsertAt(at, text);
    FUndoList.RecordChange(NoteChange::Paste, at, end, text, mode == smColumn ? smColumn : smNormal);
    if (mode != smColumn) TrimLine(end.Line);
    SetCaretXYEx(true, end);
    SetBlockBegin(CaretXY());
    StatusChanged(NoteStatus::Selection);
}

void TNoteEditCore::ReplaceSelText(const std::string& text, bool canUndo) {
    if (FReadOnly) return;
    EditUpdate update(*this);
    {
        UndoGroup group(FUndoList);
        if (text.empty()) {
            if (SelAvail()) DeleteSelection();
        } else {
            InsertText(text);
        }
    }
    if (!canUndo) {
        FUndoList.Clear();
        FRedoList.Clear();
    }
    EnsureCursorPosVisible();
    StatusChanged(NoteStatus::Selection);
}

//--- Offsets and wheel

int TNoteEditCore::RowColToCharIndex(const TBufferCoord& p) const {
    int result = 0;
    for (int l = 1; l < p.Line && l <= FLines->Count(); ++l) result += static_cast<int>(FLines->Get(l - 1).size()) + 2;
    return result + p.Char - 1;
}

TBufferCoord TNoteEditCore::CharIndexToRowCol(int index) const {
    int sum = 0;
    for (int l = 1; l <= FLines->Count(); ++l) {
        const int len = static_cast<int>(FLines->Get(l - 1).size());
        if (index < sum + len + 2) return {std::min(std::max(index - sum, 0) + 1, len + 1), l};
        sum += len + 2;
    }
    return {1, FLines->Count() + 1};
}

TBufferCoord TNoteEditCore::CharFromPos(int x, int y) const {
    const TDisplayCoord d = PixelsToRowColumn(x, y);
    if (d.Row > DisplayLineCount()) return {1, FLines->Count() + 1};
    TBufferCoord b = DisplayToBufferPos(d);
    b.Char = std::min(b.Char, static_cast<int>(FLines->Get(b.Line - 1).size()) + 1);
    return b;
}

void TNoteEditCore::MouseWheel(int delta, bool ctrl, int systemLines) {
    int perNotch = systemLines;
    if (ctrl) perNotch = HasOption(eoHalfPageScroll) ? FLinesInWindow >> 1 : FLinesInWindow;
    if (perNotch < 0 || perNotch > FLinesInWindow) perNotch = FLinesInWindow;
    FWheelAccumulator += delta;
    const int notches = FWheelAccumulator / 120;
    FWheelAccumulator %= 120;
    if (notches != 0) SetTopLine(FTopLine - notches * perNotch);
}
