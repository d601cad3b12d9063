#pragma once
// The editor's line buffer: the text as GBK byte lines with per-line caches (tab-expanded
// length, highlighter range, attached object), change notifications for the editor, and
// the note text file format: the lines' bytes joined by the buffer's one line break (CR LF,
// LF or CR, as loaded; a file with mixed breaks is written back with CR LF), no header, no
// conversion, no break after the last line. Saving goes through a temporary file that
// replaces the note file only once it is complete.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/NoteEditMiscProcs.h"
#include "framework/rtl/SysUtils.h"

enum TNoteLineBreakFormat : std::uint8_t { lbfCrLf, lbfLf, lbfCr };
std::string_view NoteLineBreakBytes(TNoteLineBreakFormat format);

// Flag bits of a line record.
namespace NoteLineFlags {
constexpr std::uint8_t TabsFound = 1, NoTabsFound = 2, LengthUnknown = 4;
}

struct TNoteEditStringRec {
    std::string Text;
    void* Object = nullptr;
    std::int32_t Range = -1;
    std::int32_t ExpandedLength = -1;
    std::uint8_t Flags = NoteLineFlags::LengthUnknown;
};

class ENoteEditStringList : public EListError {
public:
    using EListError::EListError;
};

using TNoteLinesEvent = std::function<void(void* Sender, int index, int count)>;
// A line's text was replaced; the line holds the new text already.
using TNoteLinePutEvent = std::function<void(void* Sender, int index, const std::string& oldText)>;
// Bytes of a line removed and inserted in place at offset (0-based); the line holds the new text.
using TNoteLineSpliceEvent = std::function<void(void* Sender, int index, int offset, int removed, int inserted)>;

class TNoteEditStringList {
public:
    TNoteNotifyEvent OnUpdateBegin, OnUpdateEnd, OnLinesCleared;
    TNoteLinesEvent OnLinesDeleted, OnLinesInserted, OnLineReplaced;
    TNoteLinePutEvent OnLinePut;        // before OnLineReplaced
    TNoteLineSpliceEvent OnLineSpliced;  // InsertBytes and DeleteBytes, before OnLineReplaced

    TNoteEditStringList();
    TNoteEditStringList(const TNoteEditStringList&) = delete;
    TNoteEditStringList& operator=(const TNoteEditStringList&) = delete;
    ~TNoteEditStringList();

    int Count() const { return static_cast<int>(FList.size()); }
    int Capacity() const { return FCapacity; }
    void SetCapacity(int capacity);

    // Reads never raise: outside 0..Count-1 they answer empty, nil or 0.
    const std::string& Get(int index) const;
    void* GetObject(int index) const;
    int LineState(int index) const;
    // Writes check the index and raise ENoteEditStringList.
    void Put(int index, std::string s);
    // Inserts or removes bytes of one line in place, without copying the line; the change
    // is reported as a replacement of the line. Offsets are 0-based and within the line.
    void InsertBytes(int index, int offset, std::string_view bytes);
    void DeleteBytes(int index, int offset, int count);
    void PutObject(int index, void* object);
    void SetLineState(int index, int value);

    int Add(std::string s);
    int AddObject(std::string s, void* object);
    void AddStrings(const TNoteEditStringList& source);
    void AddStrings(const std::vector<std::string>& source);
    void Insert(int index, std::string s);
    void Delete(int index);
    void Exchange(int i, int j);
    void Clear();
    void InsertEmptyLines(int index, int count);
    // Inserts all the lines at index in one step, with one lines-inserted event.
    void InsertLines(int index, std::vector<std::string> lines);
    void RemoveLines(int index, int count);

    // All lines joined by CR LF, whatever the buffer's format; no break after the last.
    std::string Text() const;
    // Clears and splits the text at CR LF, CR or LF; the format stays as it is.
    void SetText(std::string_view text);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Grows with every change of the lines (every update begun), so a cache of something
    // computed from the text knows when it is stale.
    std::uint64_t ChangeStamp() const { return FChangeStamp; }

    // Tab-expanded lines (TAB runs up to the next tab stop; blanks with tab width 1).
    std::string ExpandedLine(int index);
    int ExpandedLineLength(int index);
    // Whether the line holds a TAB (kept until the line changes).
    bool LineHasTabs(int index);
    // NoteByteType of a line's byte. On a long line without a byte below the lead range near
    // the column, the walk starts at a known character start: starts kept every few hundred
    // bytes for one line, dropped by any change but those before the change's offset in that
    // line's in-place edits.
    TNoteByteType ByteType(int index, int column);
    int LongestLineLength();
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int width);

    TNoteLineBreakFormat LineBreakFormat() const { return FLineBreakFormat; }
    void SetLineBreakFormat(TNoteLineBreakFormat format) { FLineBreakFormat = format; }
    bool TrailingLineBreak() const { return FTrailingLineBreak; }
    void SetTrailingLineBreak(bool value) { FTrailingLineBreak = value; }

    // File names are UTF-8. Load errors leave the buffer untouched; save errors leave the
    // old file untouched. Both raise EInOutError.
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(std::istream& stream);
    void LoadFromBytes(std::string_view data);
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(std::ostream& stream) const;
    std::string SaveToBytes() const;

private:
    class TUpdate;
    void CheckIndex(int index, int limit) const;
    void Grow();
    void InsertRecords(int index, int count, const TNoteEditStringRec& proto);
    void Fire(const TNoteNotifyEvent& event) { if (event) event(this); }
    void Fire(const TNoteLinesEvent& event, int index, int count) { if (event) event(this, index, count); }

    std::vector<TNoteEditStringRec> FList;
    int FCapacity = 0;
    TNoteLineBreakFormat FLineBreakFormat = lbfCrLf;
    bool FTrailingLineBreak = false;
    TNoteExpandTabsFunc FExpandTabs;
    int FIndexOfLongestLine = -1;
    int FTabWidth = 8;
    int FUpdateCount = 0;
    std::uint64_t FChangeStamp = 0;
    std::uint64_t FChanges = 0;  // changes made, counted before each one
    struct TCharStarts {
        int Index = -1;
        std::uint64_t Changes = 0;
        std::vector<int> Starts;  // ascending 0-based character starts, the first 0
    } FCharStarts;
    void KeepCharStartsBefore(int index, int offset);
};
