#include "editor/core/NoteEditTextBuffer.h"

#include <istream>
#include <iterator>
#include <ostream>
#include <utility>

#include "editor/core/NoteEditFileWriter.h"

namespace {
const std::string EmptyLine;

// Splits at CR LF, CR or LF; data ending in a break gets an empty last line unless
// trailingBreak. Reports which break bytes were seen.
template <class AddLine>
void SplitLines(std::string_view data, bool trailingBreak, bool& sawCr, bool& sawLf, AddLine add) {
    sawCr = sawLf = false;
    size_t start = 0;
    for (size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n') continue;
        add(data.substr(start, i - start));
        if (c == '\r') {
            sawCr = true;
            if (i + 1 < data.size() && data[i + 1] == '\n') {
                sawLf = true;
                ++i;
            }
        } else {
            sawLf = true;
        }
        start = i + 1;
    }
    if (start < data.size())
        add(data.substr(start));
    else if (!data.empty() && !trailingBreak)
        add(std::string_view());
}
}  // namespace

std::string_view NoteLineBreakBytes(TNoteLineBreakFormat format) {
    return format == lbfLf ? "\n" : format == lbfCr ? "\r" : "\r\n";
}

// Keeps BeginUpdate/EndUpdate paired when a step fails; a handler raising at the end goes
// to the application's handler, since a destructor lets nothing out.
class TNoteEditStringList::TUpdate {
public:
    explicit TUpdate(TNoteEditStringList& list) : FList(list) {
        FList.BeginUpdate();
        ++FList.FChanges;  // after the update's event: what it read is stale once the change follows
    }
    ~TUpdate() {
        try {
            FList.EndUpdate();
        } catch (...) {
            NoteHandleException();
        }
    }

private:
    TNoteEditStringList& FList;
};

TNoteEditStringList::TNoteEditStringList() : FExpandTabs(PickTabExpander(8)) {}

TNoteEditStringList::~TNoteEditStringList() {
    OnUpdateEnd = nullptr;
    OnUpdateBegin = nullptr;
}

void TNoteEditStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit) throw ENoteEditStringList("Invalid stringlist index " + std::to_string(index));
}

void TNoteEditStringList::SetCapacity(int capacity) {
    if (capacity < Count()) throw EListError("Stringlist capacity cannot be smaller than count");
    if (capacity < FCapacity) {
        FList.shrink_to_fit();
    }
    FList.reserve(capacity);
    FCapacity = capacity;
}

void TNoteEditStringList::Grow() {
    SetCapacity(FCapacity + (FCapacity > 64 ? FCapacity / 4 : 16));
}

const std::string& TNoteEditStringList::Get(int index) const {
    return index >= 0 && index < Count() ? FList[index].Text : EmptyLine;
}

void* TNoteEditStringList::GetObject(int index) const {
    return index >= 0 && index < Count() ? FList[index].Object : nullptr;
}

int TNoteEditStringList::LineState(int index) const {
    return index >= 0 && index < Count() ? FList[index].Range : 0;
}

void TNoteEditStringList::Put(int index, std::string s) {
    if (index == Count()) {
        Add(std::move(s));
        return;
    }
    CheckIndex(index, Count() - 1);
    TUpdate update(*this);
    FIndexOfLongestLine = -1;
    TNoteEditStringRec& rec = FList[index];
    rec.Flags = NoteLineFlags::LengthUnknown;
    const std::string old = std::exchange(rec.Text, std::move(s));
    if (OnLinePut) OnLinePut(this, index, old);
    Fire(OnLineReplaced, index, 1);
}

void TNoteEditStringList::InsertBytes(int index, int offset, std::string_view bytes) {
    CheckIndex(index, Count() - 1);
    TNoteEditStringRec& rec = FList[index];
    if (offset < 0 || offset > static_cast<int>(rec.Text.size()))
        throw ENoteEditStringList("Invalid line offset " + std::to_string(offset));
    TUpdate update(*this);
    FIndexOfLongestLine = -1;
    // A tab-free line stays so unless a tab comes in: no rescan of a long line.
    const bool tabFree = rec.Flags == NoteLineFlags::NoTabsFound && bytes.find('\t') == std::string_view::npos;
    rec.Text.insert(offset, bytes);
    KeepCharStartsBefore(index, offset);
    if (tabFree) rec.ExpandedLength = static_cast<int>(rec.Text.size());
    else rec.Flags = NoteLineFlags::LengthUnknown;
    if (OnLineSpliced) OnLineSpliced(this, index, offset, 0, static_cast<int>(bytes.size()));
    Fire(OnLineReplaced, index, 1);
}

void TNoteEditStringList::DeleteBytes(int index, int offset, int count) {
    CheckIndex(index, Count() - 1);
    TNoteEditStringRec& rec = FList[index];
    if (offset < 0 || count < 0 || offset + count > static_cast<int>(rec.Text.size()))
        throw ENoteEditStringList("Invalid line offset " + std::to_string(offset));
    TUpdate update(*this);
    FIndexOfLongestLine = -1;
    rec.Text.erase(offset, count);
    KeepCharStartsBefore(index, offset);
    if (rec.Flags == NoteLineFlags::NoTabsFound) rec.ExpandedLength = static_cast<int>(rec.Text.size());
    else rec.Flags = NoteLineFlags::LengthUnknown;
    if (OnLineSpliced) OnLineSpliced(this, index, offset, count, 0);
    Fire(OnLineReplaced, index, 1);
}

void TNoteEditStringList::PutObject(int index, void* object) {
    CheckIndex(index, Count() - 1);
    TUpdate update(*this);
    FList[index].Object = object;
}

void TNoteEditStringList::SetLineState(int index, int value) {
    CheckIndex(index, Count() - 1);
    TUpdate update(*this);
    FList[index].Range = value;
}

void TNoteEditStringList::InsertRecords(int index, int count, const TNoteEditStringRec& proto) {
    while (Count() + count > FCapacity) Grow();
    FList.insert(FList.begin() + index, count, proto);
    FIndexOfLongestLine = -1;
}

int TNoteEditStringList::Add(std::string s) { return AddObject(std::move(s), nullptr); }

int TNoteEditStringList::AddObject(std::string s, void* object) {
    const int index = Count();
    TUpdate update(*this);
    InsertRecords(index, 1, TNoteEditStringRec{});
    FList[index].Text = std::move(s);
    FList[index].Object = object;
    Fire(OnLinesInserted, index, 1);
    return index;
}

void TNoteEditStringList::Insert(int index, std::string s) {
    CheckIndex(index, Count());
    TUpdate update(*this);
    InsertRecords(index, 1, TNoteEditStringRec{});
    FList[index].Text = std::move(s);
    Fire(OnLinesInserted, index, 1);
}

void TNoteEditStringList::AddStrings(const TNoteEditStringList& source) {
    if (source.Count() == 0) return;
    if (&source == this) {
        std::vector<TNoteEditStringRec> copy = FList;
        TUpdate update(*this);
        for (const auto& rec : copy) AddObject(rec.Text, rec.Object);
        return;
    }
    const int first = Count(), n = source.Count();
    FIndexOfLongestLine = -1;
    TUpdate update(*this);
    if (FCapacity < first + n) SetCapacity((first + n + 15) / 16 * 16);
    for (const auto& rec : source.FList) FList.push_back({rec.Text, rec.Object});
    Fire(OnLinesInserted, first, n);
}

void TNoteEditStringList::AddStrings(const std::vector<std::string>& source) {
    if (source.empty()) return;
    const int first = Count(), n = static_cast<int>(source.size());
    FIndexOfLongestLine = -1;
    TUpdate update(*this);
    if (FCapacity < first + n) SetCapacity((first + n + 15) / 16 * 16);
    for (const auto& s : source) FList.push_back({s});
    Fire(OnLinesInserted, first, n);
}

void TNoteEditStringList::Delete(int index) {
    CheckIndex(index, Count() - 1);
    TUpdate update(*this);
    FList.erase(FList.begin() + index);
    FIndexOfLongestLine = -1;
    Fire(OnLinesDeleted, index, 1);
}

void TNoteEditStringList::Exchange(int i, int j) {
    CheckIndex(i, Count() - 1);
    CheckIndex(j, Count() - 1);
    TUpdate update(*this);
    std::swap(FList[i], FList[j]);
    if (FIndexOfLongestLine == i)
        FIndexOfLongestLine = j;
    else if (FIndexOfLongestLine == j)
        FIndexOfLongestLine = i;
}

void TNoteEditStringList::Clear() {
    if (Count() > 0) {
        TUpdate update(*this);
        FList.clear();
        FList.shrink_to_fit();
        FCapacity = 0;
        Fire(OnLinesCleared);
    }
    FIndexOfLongestLine = -1;
}

void TNoteEditStringList::InsertEmptyLines(int index, int count) {
    if (count <= 0) return;
    CheckIndex(index, Count());
    TUpdate update(*this);
    if (FCapacity < Count() + count) SetCapacity(Count() + count);
    InsertRecords(index, count, TNoteEditStringRec{{}, nullptr, 0, 0, 0});
    Fire(OnLinesInserted, index, count);
}

void TNoteEditStringList::InsertLines(int index, std::vector<std::string> lines) {
    if (lines.empty()) return;
    CheckIndex(index, Count());
    TUpdate update(*this);
    const int n = static_cast<int>(lines.size());
    if (FCapacity < Count() + n) SetCapacity(Count() + n);
    InsertRecords(index, n, TNoteEditStringRec{});
    for (int i = 0; i < n; ++i) FList[index + i].Text = std::move(lines[i]);
    Fire(OnLinesInserted, index, n);
}

void TNoteEditStringList::RemoveLines(int index, int count) {
    if (count <= 0) return;
    CheckIndex(index, Count() - 1);
    count = std::min(count, Count() - index);
    TUpdate update(*this);
    FList.erase(FList.begin() + index, FList.begin() + index + count);
    FIndexOfLongestLine = -1;
    Fire(OnLinesDeleted, index, count);
}

std::string TNoteEditStringList::Text() const {
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0) result += "\r\n";
        result += FList[i].Text;
    }
    return result;
}

void TNoteEditStringList::SetText(std::string_view view) {
    const std::string text(view);  // the view may point into one of our lines
    Clear();
    TUpdate update(*this);
    bool sawCr, sawLf;
    SplitLines(text, FTrailingLineBreak, sawCr, sawLf, [this](std::string_view line) { Add(std::string(line)); });
}

void TNoteEditStringList::BeginUpdate() {
    ++FChangeStamp;
    if (FUpdateCount++ == 0) Fire(OnUpdateBegin);
}

void TNoteEditStringList::EndUpdate() {
    if (--FUpdateCount == 0) Fire(OnUpdateEnd);
}

std::string TNoteEditStringList::ExpandedLine(int index) {
    if (index < 0 || index >= Count()) return {};
    TNoteEditStringRec& rec = FList[index];
    if (rec.Flags & NoteLineFlags::NoTabsFound) return rec.Text;
    bool hasTabs;
    std::string expanded = FExpandTabs(rec.Text, FTabWidth, hasTabs);
    rec.ExpandedLength = static_cast<int>(expanded.size());
    rec.Flags = hasTabs ? NoteLineFlags::TabsFound : NoteLineFlags::NoTabsFound;
    return expanded;
}

int TNoteEditStringList::ExpandedLineLength(int index) {
    if (index < 0 || index >= Count()) return 0;
    TNoteEditStringRec& rec = FList[index];
    if (rec.Flags & NoteLineFlags::LengthUnknown) {
        const bool hasTabs = rec.Text.find('\t') != std::string::npos;
        rec.ExpandedLength = hasTabs ? ExpandedTextLength(rec.Text, FTabWidth) : static_cast<int>(rec.Text.size());
        rec.Flags = hasTabs ? NoteLineFlags::TabsFound : NoteLineFlags::NoTabsFound;
    }
    return rec.ExpandedLength;
}

bool TNoteEditStringList::LineHasTabs(int index) {
    if (index < 0 || index >= Count()) return false;
    ExpandedLineLength(index);
    return (FList[index].Flags & NoteLineFlags::TabsFound) != 0;
}

// A start depends on the bytes up to and including it (a lead byte pairs with the next):
// those before an in-place edit's offset stay.
void TNoteEditStringList::KeepCharStartsBefore(int index, int offset) {
    TCharStarts& c = FCharStarts;
    if (c.Index != index || c.Changes + 1 != FChanges) {
        c.Index = -1;
        return;
    }
    c.Starts.erase(std::lower_bound(c.Starts.begin(), c.Starts.end(), offset), c.Starts.end());
    if (c.Starts.empty()) c.Starts.push_back(0);
    c.Changes = FChanges;
}

TNoteByteType TNoteEditStringList::ByteType(int index, int column) {
    constexpr int Near = 64, Spacing = 256;
    const std::string& text = Get(index);
    const int target = column - 1;
    if (target <= Near || target >= static_cast<int>(text.size())) return NoteByteType(text, column);
    int k = target;
    while (k > target - Near && IsGbkLeadByte(text[k - 1])) --k;
    if (!IsGbkLeadByte(text[k - 1])) return NoteByteType(text, column);
    TCharStarts& c = FCharStarts;
    if (c.Index != index || c.Changes != FChanges) c = {index, FChanges, {0}};
    // Walk on from the last known start while the next whole character ends before the target.
    size_t i = c.Starts.back();
    while (static_cast<int>(i) + Spacing <= target) {
        const size_t next = i + Spacing;
        while (i < next) i += GbkCharLength(text, i);
        if (static_cast<int>(i) > target) break;
        c.Starts.push_back(static_cast<int>(i));
    }
    const int start = *(std::upper_bound(c.Starts.begin(), c.Starts.end(), target) - 1);
    return NoteByteTypeFrom(text, start + 1, column);
}

int TNoteEditStringList::LongestLineLength() {
    if (Count() == 0) return 0;
    if (FIndexOfLongestLine < 0) {
        int longest = -1;
        for (int i = 0; i < Count(); ++i) {
            const int len = ExpandedLineLength(i);
            if (len > longest) {
                longest = len;
                FIndexOfLongestLine = i;
            }
        }
    }
    return ExpandedLineLength(FIndexOfLongestLine);
}

void TNoteEditStringList::SetTabWidth(int width) {
    if (width == FTabWidth) return;
    FTabWidth = width;
    FExpandTabs = PickTabExpander(width);
    FIndexOfLongestLine = -1;
    for (auto& rec : FList) {
        rec.ExpandedLength = -1;
        rec.Flags = (rec.Flags & ~NoteLineFlags::NoTabsFound) | NoteLineFlags::LengthUnknown;
    }
}

void TNoteEditStringList::LoadFromFile(const std::string& fileName) { LoadFromBytes(NoteReadFileBytes(fileName)); }

void TNoteEditStringList::LoadFromStream(std::istream& stream) {
    stream.seekg(0);
    std::string data{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    if (stream.bad()) throw EInOutError("Cannot read the note text");
    LoadFromBytes(data);
}

void TNoteEditStringList::LoadFromBytes(std::string_view view) {
    const std::string data(view);  // the view may point into one of our lines
    bool sawCr, sawLf;
    {
        TUpdate update(*this);
        Clear();
        SplitLines(data, FTrailingLineBreak, sawCr, sawLf, [this](std::string_view line) { Add(std::string(line)); });
    }
    FLineBreakFormat = sawCr && !sawLf ? lbfCr : sawLf && !sawCr ? lbfLf : lbfCrLf;
}

void TNoteEditStringList::SaveToFile(const std::string& fileName) const {
    TNoteEditFileWriter writer(fileName);
    writer.SetLineBreakFormat(FLineBreakFormat);
    for (int i = 0; i < Count(); ++i) writer.WriteLine(FList[i].Text, i < Count() - 1 || FTrailingLineBreak);
    writer.Commit();
}

std::string TNoteEditStringList::SaveToBytes() const {
    const std::string_view lineBreak = NoteLineBreakBytes(FLineBreakFormat);
    size_t size = 0;
    for (const auto& rec : FList) size += rec.Text.size() + lineBreak.size();
    if (!FTrailingLineBreak && size > 0) size -= lineBreak.size();
    std::string result;
    result.reserve(size);
    for (int i = 0; i < Count(); ++i) {
        result += FList[i].Text;
        if (i < Count() - 1 || FTrailingLineBreak) result += lineBreak;
    }
    return result;
}

void TNoteEditStringList::SaveToStream(std::ostream& stream) const {
    const std::string bytes = SaveToBytes();
    if (!stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw EInOutError("Cannot write the note text");
}
