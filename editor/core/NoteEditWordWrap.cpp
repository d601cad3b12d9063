#include "editor/core/NoteEditWordWrap.h"

#include <algorithm>
#include <utility>
#include <string>

namespace {
void WrapAssert(bool condition) {
    if (!condition) throw Exception("Assertion failed (NoteEditWordWrap)");
}

INoteWrapHost& CheckedHost(INoteWrapHost* host) {
    if (!host) throw Exception("TNoteWordWrapPlugin must be owned by TCustomNoteEdit");
    return *host;
}

// The maximum row length: 0 (no wrap yet) for no width, else 1..255.
int ClampRowLength(int width) { return width <= 0 ? 0 : std::min(width, 255); }
}  // namespace

TNoteWordWrapPlugin::TNoteWordWrapPlugin(INoteWrapHost* host) : FHost(CheckedHost(host)) { WrapAll(); }

int TNoteWordWrapPlugin::WrapWidth() const {
    switch (FHost.WordWrap().Style()) {
    case wwsClientWidth: return FHost.CharsInWindow();
    case wwsRightEdge: return FHost.RightEdge().Position();
    default: return FHost.WordWrap().Position();
    }
}

void TNoteWordWrapPlugin::WrapAll() {
    FSplice = {};
    FMaxRowLength = ClampRowLength(WrapWidth());
    FMinRowLength = std::max(FMaxRowLength - FMaxRowLength / 3, 1);
    FBreakChars = ~FHost.IdentChars();
    FLineOffsets.clear();
    FRowLengths.clear();
    FRowStarts.clear();
    TNoteEditStringList& lines = FHost.WrapLines();
    if (lines.Count() == 0 || FMaxRowLength == 0) {
        FLineOffsets.shrink_to_fit();
        FRowLengths.shrink_to_fit();
        FRowStarts.shrink_to_fit();
        return;
    }
    FLineOffsets.reserve(lines.Count());
    FRowLengths.reserve(lines.Count());
    for (int i = 0; i < lines.Count(); ++i) {
        ComputeRows(i, FScratch);
        FRowLengths.insert(FRowLengths.end(), FScratch.begin(), FScratch.end());
        FLineOffsets.push_back(static_cast<int>(FRowLengths.size()));
    }
    FRowStarts.resize(FRowLengths.size());
    for (int i = 0; i < lines.Count(); ++i) SetRowStarts(LineFirstRow(i) - 1, LineRowCount(i), 0);
}

void TNoteWordWrapPlugin::WidthChanged() {
    if (ClampRowLength(WrapWidth()) != FMaxRowLength) WrapAll();
}

// Offsets of `count` rows from `firstRow` (0-based), the first starting at `start`.
void TNoteWordWrapPlugin::SetRowStarts(int firstRow, int count, int start) {
    for (int r = firstRow; r < firstRow + count; ++r) {
        FRowStarts[r] = start;
        start += FRowLengths[r];
    }
}

namespace {
// Rows of a text from offset s on, appended to rows. A row starting at s reads no byte
// after s + 256, nor the text's length unless it ends within that reach. Before each row
// stop(s) may end the walk: true is returned then, false at the text's end.
template <class Stop>
bool WrapRows(std::string_view text, int s, int maxRow, int minRow, int tabWidth, const TNoteByteSet& breakChars,
              std::vector<std::uint8_t>& rows, Stop stop) {
    const int len = static_cast<int>(text.size());
    const int tabStop = 255 - 255 % std::max(tabWidth, 1);
    const auto blank = [&](int i) { return text[i] == ' ' || text[i] == '\t'; };
    while (s + maxRow < len) {
        if (stop(s)) return true;
        const int q = s + maxRow;
        int p = q;
        if (blank(q)) {
            do ++p;
            while (p < len && blank(p));
        } else {
            for (int r = q - 1; r > s + minRow; --r)
                if (breakChars[static_cast<unsigned char>(text[r])]) {
                    p = r + 1;
                    break;
                }
        }
        if (p - s > 255) {
            p = s + 255;
            int back = p;  // back to a tab stop, unless that leaves nothing
            while (back > s + tabStop && text[back] == '\t') --back;
            if (back > s) p = back;
        }
        if (NoteByteTypeFrom(text, s + 1, p + 1) == mbTrailByte) --p;
        if (p <= s) p = s + GbkCharLength(text, s);
        rows.push_back(static_cast<std::uint8_t>(p - s));
        s = p;
    }
    if (stop(s)) return true;
    // The rest is the last row, never longer than the maximum; it is empty when the text ends
    // at a break (a blank run, or a character wider than the maximum), so that the caret after
    // the line's last byte has a row of its own.
    rows.push_back(static_cast<std::uint8_t>(len - s));
    return false;
}
}  // namespace

void TNoteWordWrapPlugin::ComputeRows(int index, std::vector<std::uint8_t>& rows) {
    TNoteEditStringList& lines = FHost.WrapLines();
    std::string expanded;  // only a line with tabs is copied
    if (lines.LineHasTabs(index)) expanded = lines.ExpandedLine(index);
    const std::string_view text = expanded.empty() ? std::string_view(lines.Get(index)) : std::string_view(expanded);
    rows.clear();
    WrapRows(text, 0, FMaxRowLength, FMinRowLength, lines.TabWidth(), FBreakChars, rows, [](int) { return false; });
}

void TNoteWordWrapPlugin::LineSpliced(int index, int offset, int removed, int inserted) {
    FSplice = {index, offset, removed, inserted};
}

// Re-wraps a tab-free line after the splice told for it: the rows that end before the
// splice's reach stay, and the walk stops at the first row start after the inserted bytes
// that an old row start matches (the text from there on being the old text moved by the
// splice). False when the splice does not fit the line's old rows.
bool TNoteWordWrapPlugin::RewrapSplice(int index, int& delta) {
    const TSplice sp = std::exchange(FSplice, TSplice{});
    TNoteEditStringList& lines = FHost.WrapLines();
    if (sp.Index != index || lines.LineHasTabs(index)) return false;
    const std::string_view text = lines.Get(index);
    const int len = static_cast<int>(text.size()), shift = sp.Inserted - sp.Removed;
    const int first = LineFirstRow(index) - 1, oldEnd = FLineOffsets[index];
    if (sp.Offset < 0 || sp.Offset + sp.Inserted > len || FRowStarts[oldEnd - 1] + FRowLengths[oldEnd - 1] != len - shift)
        return false;
    // Rows whose reach (start + 256) lies before the splice stay; the last row never does.
    const int keep = static_cast<int>(std::partition_point(FRowStarts.begin() + first, FRowStarts.begin() + oldEnd,
                                                           [&](int start) { return start + 256 < sp.Offset; }) -
                                      FRowStarts.begin());
    const int from = FRowStarts[keep];
    int old = keep;  // the first old row not yet passed
    FScratch.clear();
    const bool met = WrapRows(text, from, FMaxRowLength, FMinRowLength, lines.TabWidth(), FBreakChars, FScratch,
                              [&](int s) {
                                  if (s < sp.Offset + sp.Inserted) return false;
                                  while (old < oldEnd && FRowStarts[old] < s - shift) ++old;
                                  return old < oldEnd && FRowStarts[old] == s - shift;
                              });
    const int replaced = (met ? old : oldEnd) - keep;
    const int added = static_cast<int>(FScratch.size());
    delta = added - replaced;
    PutScratchRows(keep, replaced, from);
    for (int r = keep + added; r < oldEnd + delta; ++r) FRowStarts[r] += shift;
    return true;
}

// The rows in FScratch take the place of the count rows from row at; the first starts at
// offset from of its line.
void TNoteWordWrapPlugin::PutScratchRows(int at, int count, int from) {
    const int added = static_cast<int>(FScratch.size());
    if (added < count) {
        FRowLengths.erase(FRowLengths.begin() + at + added, FRowLengths.begin() + at + count);
        FRowStarts.erase(FRowStarts.begin() + at + added, FRowStarts.begin() + at + count);
    } else if (added > count) {
        FRowLengths.insert(FRowLengths.begin() + at + count, added - count, 0);
        FRowStarts.insert(FRowStarts.begin() + at + count, added - count, 0);
    }
    std::copy(FScratch.begin(), FScratch.end(), FRowLengths.begin() + at);
    SetRowStarts(at, added, from);
}

int TNoteWordWrapPlugin::WrapLine(int index) {
    const int first = LineFirstRow(index) - 1;
    const int oldCount = FLineOffsets[index] - first;
    int delta = 0;
    if (!RewrapSplice(index, delta)) {
        ComputeRows(index, FScratch);
        delta = static_cast<int>(FScratch.size()) - oldCount;
        PutScratchRows(first, oldCount, 0);
    }
    if (delta != 0)
        for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] += delta;
    return delta;
}

int TNoteWordWrapPlugin::LineFirstRow(int index) const { return (index > 0 ? FLineOffsets[index - 1] : 0) + 1; }

int TNoteWordWrapPlugin::LineRowCount(int index) const { return FLineOffsets[index] - LineFirstRow(index) + 1; }

int TNoteWordWrapPlugin::AfterInsert(int index, int count) {
    FSplice = {};
    if (FMaxRowLength == 0) return 0;
    WrapAssert(count >= 1 && index >= 0 && index <= LineCount());
    // The new lines' rows go in at once: one shift of the rows and offsets after them.
    const int first = LineFirstRow(index) - 1;
    std::vector<std::uint8_t> rows;
    std::vector<int> offsets;
    offsets.reserve(count);
    for (int i = index; i < index + count; ++i) {
        ComputeRows(i, FScratch);
        rows.insert(rows.end(), FScratch.begin(), FScratch.end());
        offsets.push_back(first + static_cast<int>(rows.size()));
    }
    const int added = static_cast<int>(rows.size());
    FRowLengths.insert(FRowLengths.begin() + first, rows.begin(), rows.end());
    FRowStarts.insert(FRowStarts.begin() + first, added, 0);
    for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] += added;
    FLineOffsets.insert(FLineOffsets.begin() + index, offsets.begin(), offsets.end());
    for (int i = index; i < index + count; ++i) SetRowStarts(LineFirstRow(i) - 1, LineRowCount(i), 0);
    return added;
}

int TNoteWordWrapPlugin::AfterDelete(int index, int count) {
    FSplice = {};
    if (FMaxRowLength == 0) return 0;
    WrapAssert(count >= 1 && index >= 0 && index + count <= LineCount());
    const int first = LineFirstRow(index) - 1;
    const int removed = FLineOffsets[index + count - 1] - first;
    FRowLengths.erase(FRowLengths.begin() + first, FRowLengths.begin() + first + removed);
    FRowStarts.erase(FRowStarts.begin() + first, FRowStarts.begin() + first + removed);
    FLineOffsets.erase(FLineOffsets.begin() + index, FLineOffsets.begin() + index + count);
    for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] -= removed;
    return removed;
}

int TNoteWordWrapPlugin::AfterReplace(int index, int count) {
    if (FMaxRowLength == 0) {
        FSplice = {};
        return 0;
    }
    WrapAssert(count >= 1 && index >= 0 && index + count <= LineCount());
    int change = 0;
    for (int i = index; i < index + count; ++i) change += WrapLine(i);
    FSplice = {};
    return change;
}

int TNoteWordWrapPlugin::RowLength(int row) const {
    if (row < 1 || row > RowCount()) throw EListError("List index out of bounds (" + std::to_string(row) + ")");
    return FRowLengths[row - 1];
}

TDisplayCoord TNoteWordWrapPlugin::BufferToRow(const TBufferCoord& pos) const {
    if (pos.Line < 1) return {pos.Char, pos.Line};
    if (pos.Line > LineCount()) return {pos.Char, RowCount() + pos.Line - LineCount()};
    const int first = LineFirstRow(pos.Line - 1) - 1;
    const int last = FLineOffsets[pos.Line - 1] - 1;
    // The first row ending at or after the position, else the last.
    int row = first;
    for (int count = last - first; count > 0;) {
        const int half = count / 2;
        if (FRowStarts[row + half] + FRowLengths[row + half] < pos.Char) {
            row += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return {pos.Char - FRowStarts[row], row + 1};
}

TBufferCoord TNoteWordWrapPlugin::RowToBuffer(const TDisplayCoord& pos) const {
    if (pos.Row < 1) return {pos.Column, pos.Row};
    if (pos.Row > RowCount()) return {pos.Column, pos.Row + LineCount() - RowCount()};
    const int line = static_cast<int>(std::upper_bound(FLineOffsets.begin(), FLineOffsets.end(), pos.Row - 1) -
                                      FLineOffsets.begin());
    const int row = pos.Row - 1;
    const int length = FRowLengths[row];
    const int limit = row == FLineOffsets[line] - 1 ? FMaxRowLength + 1 : length + 1;
    return {std::min(pos.Column, limit) + FRowStarts[row], line + 1};
}
