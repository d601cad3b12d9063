#pragma once
// Word wrap: the map from buffer lines to display rows and the position conversions both
// ways. Rows are byte counts (at most 255) of the tab-expanded line; a row ends after a
// blank run or a break character in its last third, else at the maximum, never inside a GBK
// character, and holds at least one whole character. A line's last row holds the rest: never
// above the maximum, empty for an empty line or one ending at a break. Edits re-wrap only
// the lines the editor reports.

#include <cstdint>
#include <vector>

#include "editor/core/NoteEditMiscClasses.h"
#include "editor/core/NoteEditTextBuffer.h"
#include "editor/core/NoteEditTypes.h"

// What the plug-in reads from its editor.
class INoteWrapHost {
public:
    virtual TNoteEditStringList& WrapLines() = 0;
    virtual int CharsInWindow() const = 0;
    virtual const TNoteRightEdge& RightEdge() const = 0;
    virtual const TNoteWordWrap& WordWrap() const = 0;
    virtual TNoteByteSet IdentChars() const = 0;  // the highlighter's, else NoteDefaultIdentChars()

protected:
    ~INoteWrapHost() = default;
};

class INoteWrapPlugin {
public:
    virtual ~INoteWrapPlugin() = default;
    virtual TDisplayCoord BufferToRow(const TBufferCoord& pos) const = 0;
    virtual TBufferCoord RowToBuffer(const TDisplayCoord& pos) const = 0;
    virtual int RowCount() const = 0;
    virtual int RowLength(int row) const = 0;
    virtual int AfterInsert(int index, int count) = 0;
    virtual int AfterDelete(int index, int count) = 0;
    virtual int AfterReplace(int index, int count) = 0;
    virtual void WidthChanged() = 0;
    virtual void WrapAll() = 0;
    // Bytes removed and inserted at a 0-based offset of a line, told before its AfterReplace:
    // a plug-in may re-wrap only the rows the splice reaches.
    virtual void LineSpliced(int /*index*/, int /*offset*/, int /*removed*/, int /*inserted*/) {}
};

class TNoteWordWrapPlugin : public INoteWrapPlugin {
public:
    explicit TNoteWordWrapPlugin(INoteWrapHost* host);  // nil raises Exception

    TDisplayCoord BufferToRow(const TBufferCoord& pos) const override;
    TBufferCoord RowToBuffer(const TDisplayCoord& pos) const override;
    int RowCount() const override { return FLineOffsets.empty() ? 0 : FLineOffsets.back(); }
    int RowLength(int row) const override;  // row 1..RowCount, else EListError
    int AfterInsert(int index, int count) override;
    int AfterDelete(int index, int count) override;
    int AfterReplace(int index, int count) override;
    void WidthChanged() override;
    void WrapAll() override;
    void LineSpliced(int index, int offset, int removed, int inserted) override;

    int LineCount() const { return static_cast<int>(FLineOffsets.size()); }
    int MaxRowLength() const { return FMaxRowLength; }
    int MinRowLength() const { return FMinRowLength; }
    const TNoteByteSet& BreakChars() const { return FBreakChars; }
    int LineFirstRow(int index) const;  // 1-based row of a 0-based line's first row
    int LineRowCount(int index) const;

private:
    struct TSplice {
        int Index = -1, Offset = 0, Removed = 0, Inserted = 0;
    };
    int WrapWidth() const;
    void ComputeRows(int index, std::vector<std::uint8_t>& rows);
    int WrapLine(int index);
    bool RewrapSplice(int index, int& delta);
    void SetRowStarts(int firstRow, int count, int start);
    void PutScratchRows(int at, int count, int from);

    INoteWrapHost& FHost;
    std::vector<int> FLineOffsets;          // rows up to and including each line
    std::vector<std::uint8_t> FRowLengths;  // bytes of each row
    std::vector<int> FRowStarts;            // 0-based offset of each row in its line
    TSplice FSplice;                        // the splice awaiting its line's re-wrap
    std::vector<std::uint8_t> FScratch;
    int FMinRowLength = 0, FMaxRowLength = 0;
    TNoteByteSet FBreakChars;
};
