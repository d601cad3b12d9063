#include "editor/core/NoteEditWordWrap.h"

#include <algorithm>
#include <numeric>
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
    FMaxRowLength = ClampRowLength(WrapWidth());
    FMinRowLength = std::max(FMaxRowLength - FMaxRowLength / 3, 1);
    FBreakChars = ~FHost.IdentChars();
    FLineOffsets.clear();
    FRowLengths.clear();
    TNoteEditStringList& lines = FHost.WrapLines();
    if (lines.Count() == 0 || FMaxRowLength == 0) {
        FLineOffsets.shrink_to_fit();
        FRowLengths.shrink_to_fit();
        return;
    }
    FLineOffsets.reserve(lines.Count());
    FRowLengths.reserve(lines.Count());
    for (int i = 0; i < lines.Count(); ++i) {
        ComputeRows(i, FScratch);
        FRowLengths.insert(FRowLengths.end(), FScratch.begin(), FScratch.end());
        FLineOffsets.push_back(static_cast<int>(FRowLengths.size()));
    }
}

void TNoteWordWrapPlugin::WidthChanged() {
    if (ClampRowLength(WrapWidth()) != FMaxRowLength) WrapAll();
}

void TNoteWordWrapPlugin::ComputeRows(int index, std::vector<std::uint8_t>& rows) {
    TNoteEditStringList& lines = FHost.WrapLines();
    std::string expanded;  // only a line with tabs is copied
    if (lines.LineHasTabs(index)) expanded = lines.ExpandedLine(index);
    const std::string_view text = expanded.empty() ? std::string_view(lines.Get(index)) : std::string_view(expanded);
    const int len = static_cast<int>(text.size());
    const int tabStop = 255 - 255 % std::max(lines.TabWidth(), 1);
    const auto blank = [&](int i) { return text[i] == ' ' || text[i] == '\t'; };
    rows.clear();
    int s = 0;
    while (s + FMaxRowLength < len) {
        const int q = s + FMaxRowLength;
        int p = q;
        if (blank(q)) {
            do ++p;
            while (p < len && blank(p));
        } else {
            for (int r = q - 1; r > s + FMinRowLength; --r)
                if (FBreakChars[static_cast<unsigned char>(text[r])]) {
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
    // The rest is the last row, never longer than the maximum; it is empty when the text ends
    // at a break (a blank run, or a character wider than the maximum), so that the caret after
    // the line's last byte has a row of its own.
    rows.push_back(static_cast<std::uint8_t>(len - s));
}

int TNoteWordWrapPlugin::WrapLine(int index) {
    ComputeRows(index, FScratch);
    const int first = LineFirstRow(index) - 1;
    const int oldCount = FLineOffsets[index] - first;
    const int newCount = static_cast<int>(FScratch.size());
    const int delta = newCount - oldCount;
    if (delta < 0)
        FRowLengths.erase(FRowLengths.begin() + first + newCount, FRowLengths.begin() + first + oldCount);
    else if (delta > 0)
        FRowLengths.insert(FRowLengths.begin() + first + oldCount, delta, 0);
    std::copy(FScratch.begin(), FScratch.end(), FRowLengths.begin() + first);
    if (delta != 0)
        for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] += delta;
    return delta;
}

int TNoteWordWrapPlugin::LineFirstRow(int index) const { return (index > 0 ? FLineOffsets[index - 1] : 0) + 1; }

int TNoteWordWrapPlugin::LineRowCount(int index) const { return FLineOffsets[index] - LineFirstRow(index) + 1; }

int TNoteWordWrapPlugin::AfterInsert(int index, int count) {
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
    for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] += added;
    FLineOffsets.insert(FLineOffsets.begin() + index, offsets.begin(), offsets.end());
    return added;
}

int TNoteWordWrapPlugin::AfterDelete(int index, int count) {
    if (FMaxRowLength == 0) return 0;
    WrapAssert(count >= 1 && index >= 0 && index + count <= LineCount());
    const int first = LineFirstRow(index) - 1;
    const int removed = FLineOffsets[index + count - 1] - first;
    FRowLengths.erase(FRowLengths.begin() + first, FRowLengths.begin() + first + removed);
    FLineOffsets.erase(FLineOffsets.begin() + index, FLineOffsets.begin() + index + count);
    for (size_t j = index; j < FLineOffsets.size(); ++j) FLineOffsets[j] -= removed;
    return removed;
}

int TNoteWordWrapPlugin::AfterReplace(int index, int count) {
    if (FMaxRowLength == 0) return 0;
    WrapAssert(count >= 1 && index >= 0 && index + count <= LineCount());
    int change = 0;
    for (int i = index; i < index + count; ++i) change += WrapLine(i);
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
    int sum = 0;
    for (int row = first; row <= last; ++row) {
        sum += FRowLengths[row];
        if (sum >= pos.Char) return {FRowLengths[row] + pos.Char - sum, row + 1};
    }
    return {FRowLengths[last] + pos.Char - sum, last + 1};
}

TBufferCoord TNoteWordWrapPlugin::RowToBuffer(const TDisplayCoord& pos) const {
    if (pos.Row < 1) return {pos.Column, pos.Row};
    if (pos.Row > RowCount()) return {pos.Column, pos.Row + LineCount() - RowCount()};
    const int line = static_cast<int>(std::upper_bound(FLineOffsets.begin(), FLineOffsets.end(), pos.Row - 1) -
                                      FLineOffsets.begin());
    const int first = LineFirstRow(line) - 1;
    const int row = pos.Row - 1;
    const int length = FRowLengths[row];
    const int limit = row == FLineOffsets[line] - 1 ? FMaxRowLength + 1 : length + 1;
    const int earlier = std::accumulate(FRowLengths.begin() + first, FRowLengths.begin() + row, 0);
    return {std::min(pos.Column, limit) + earlier, line + 1};
}
