#include "editor/core/NoteEditMarks.h"

#include <algorithm>
#include <climits>

#include "editor/core/NoteEditCore.h"

//--- Mark

TNoteEditCore* TNoteEditMark::Editor() {
    if (FEditor && !FEditor->Marks().Contains(this)) FEditor = nullptr;
    return FEditor;
}

void TNoteEditMark::Repaint(int line) {
    if (FVisible && line >= 1)
        if (TNoteEditCore* editor = Editor()) editor->InvalidateGutterLines(line, line);
}

void TNoteEditMark::SetLine(int value) {
    if (value == FLine) return;
    Repaint(FLine);
    FLine = value;
    Repaint(FLine);
}

void TNoteEditMark::SetImageIndex(int value) {
    if (value == FImage) return;
    FImage = value;
    Repaint(FLine);
}

void TNoteEditMark::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = true;  // repaint the row it leaves or enters
    Repaint(FLine);
    FVisible = value;
}

void TNoteEditMark::SetInternalImage(bool value) {
    if (value == FInternalImage) return;
    FInternalImage = value;
    Repaint(FLine);
}

//--- Mark list

namespace {
// A position moved by delta, kept within 1..INT_MAX (a mark may stand far past the text).
int Moved(int position, int delta) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(position) + delta, 1, INT_MAX));
}
}  // namespace

bool TNoteEditMarkList::Contains(const TNoteEditMark* mark) const {
    return std::any_of(FItems.begin(), FItems.end(), [&](const auto& m) { return m.get() == mark; });
}

void TNoteEditMarkList::Add(std::unique_ptr<TNoteEditMark> mark) {
    if (!mark) return;
    FItems.push_back(std::move(mark));
    Changed();
}

void TNoteEditMarkList::Remove(TNoteEditMark* mark) {
    const auto it = std::find_if(FItems.begin(), FItems.end(), [&](const auto& m) { return m.get() == mark; });
    if (it == FItems.end()) return;
    FItems.erase(it);
    Changed();
}

void TNoteEditMarkList::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

std::vector<TNoteEditMark*> TNoteEditMarkList::MarksOfLine(int line) const {
    std::vector<TNoteEditMark*> result;
    for (const auto& m : FItems)
        if (m->Line() == line && result.size() < MaxMarksPerLine) result.push_back(m.get());
    return result;
}

void TNoteEditMarkList::LinesInserted(int index, int count) {
    for (const auto& m : FItems)
        if (m->Line() > index) m->SetLine(Moved(m->Line(), count));
}

void TNoteEditMarkList::LinesDeleted(int index, int count) {
    for (const auto& m : FItems) {
        if (m->Line() - count > index) m->SetLine(Moved(m->Line(), -count));
        else if (m->Line() > index) m->SetLine(index + 1);
    }
}

void TNoteEditMarkList::LineRewritten(int line, std::string_view oldText, std::string_view newText) {
    const size_t shorter = std::min(oldText.size(), newText.size());
    size_t prefix = 0;
    while (prefix < shorter && oldText[prefix] == newText[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix && oldText[oldText.size() - 1 - suffix] == newText[newText.size() - 1 - suffix])
        ++suffix;
    const int changeStart = static_cast<int>(prefix) + 1;           // first changed column
    const int oldEnd = static_cast<int>(oldText.size() - suffix) + 1;  // first unchanged column behind it
    const int delta = static_cast<int>(newText.size()) - static_cast<int>(oldText.size());
    MoveChars(line, changeStart, oldEnd, delta);
}

void TNoteEditMarkList::LineSpliced(int line, int column, int removed, int inserted) {
    MoveChars(line, column, column + removed, inserted - removed);
}

void TNoteEditMarkList::MoveChars(int line, int changeStart, int oldEnd, int delta) {
    for (const auto& m : FItems) {
        if (m->Line() != line) continue;
        if (m->Char() >= oldEnd) m->SetChar(Moved(m->Char(), delta));
        else if (m->Char() > changeStart) m->SetChar(changeStart);
    }
}

void TNoteEditMarkList::Settle(int lineCount, const std::function<std::string_view(int)>& lineText) {
    for (const auto& m : FItems) {
        m->SetLine(std::clamp(m->Line(), 1, std::max(lineCount, 1)));
        if (m->Char() < 1) m->SetChar(1);
        if (m->Line() > lineCount) continue;
        const std::string_view text = lineText(m->Line());
        if (m->Char() > 1 && m->Char() <= static_cast<int>(text.size()) && NoteByteType(text, m->Char()) == mbTrailByte)
            m->SetChar(m->Char() - 1);
    }
}

//--- Bookmarks of the editor

void TNoteEditCore::SetBookMark(int number, int column, int line) {
    if (number < 0 || number > 9 || line < 1 || line > std::max(FLines->Count(), 1)) return;
    auto mark = std::make_unique<TNoteEditMark>(this);
    TNoteEditMark* placed = mark.get();
    if (line <= FLines->Count() && column > 1 && NoteByteType(FLines->Get(line - 1), column) == mbTrailByte) --column;
    mark->SetLine(line);
    mark->SetChar(std::max(column, 1));
    mark->SetImageIndex(number);
    mark->SetBookmarkNumber(number);
    mark->SetVisible(true);
    mark->SetInternalImage(FBookMarkOptions.BookmarkImages() == nullptr);
    if (OnPlaceBookmark) OnPlaceBookmark(this, placed);
    if (!placed) return;
    ClearBookMark(number);
    FMarks.Add(std::move(mark));
    InvalidateGutterLines(line, line);
}

TNoteEditMark* TNoteEditCore::BookMarkMark(int number) const {
    if (number < 0 || number > 9) return nullptr;
    for (int i = 0; i < FMarks.Count(); ++i)
        if (FMarks.Items(i)->BookmarkNumber() == number) return FMarks.Items(i);
    return nullptr;
}

bool TNoteEditCore::GetBookMark(int number, int& column, int& line) const {
    const TNoteEditMark* mark = BookMarkMark(number);
    if (!mark) return false;
    column = mark->Char();
    line = mark->Line();
    return true;
}

void TNoteEditCore::ClearBookMark(int number) {
    TNoteEditMark* mark = BookMarkMark(number);
    if (!mark) return;
    if (OnClearBookmark) {
        OnClearBookmark(this, mark);
        mark = BookMarkMark(number);  // the handler may have taken it out already
        if (!mark) return;
    }
    const int line = mark->Line();
    FMarks.Remove(mark);
    InvalidateGutterLines(line, line);
}

void TNoteEditCore::GotoBookMark(int number) {
    int column = 0, line = 0;
    if (!GetBookMark(number, column, line) || line > FLines->Count()) return;
    // Never onto the trail byte of a double-byte character, as ecGotoXY.
    if (column > 1 && NoteByteType(FLines->Get(line - 1), column) == mbTrailByte) --column;
    BeginUpdate();
    struct End {
        TNoteEditCore& core;
        ~End() {
            try {
                core.EndUpdate();
            } catch (...) {
                NoteHandleException();
            }
        }
    } end{*this};
    SetCaretXYEx(false, {column, line});
    EnsureCursorPosVisible(true);
    SetBlockBegin(CaretXY());
}

void TNoteEditCore::ClearMarks() {
    FMarks.Clear();
}

void TNoteEditCore::MarksFollowLines() {
    if (FMarks.Count() == 0) return;
    FMarks.Settle(FLines->Count(), [this](int line) -> std::string_view { return FLines->Get(line - 1); });
}

void TNoteEditCore::InvalidateGutterLines(int firstLine, int) {
    if (FGutterWidth <= 0 || FLineHeight <= 0) return;
    // Rows of a line move with word wrap: everything from its first row down.
    const int top = std::max(BufferToDisplayPos({1, firstLine}).Row - FTopLine, 0) * FLineHeight;
    if (top < FClientHeight) InvalidateRect(Rect(0, top, FGutterWidth, FClientHeight));
}
