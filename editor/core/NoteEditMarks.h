#pragma once
// Marks of the editor: a glyph in the gutter at a line and column (the ten bookmarks are
// marks too). The list owns its marks and moves them with the text: with inserted and
// deleted lines, and with the columns a rewritten line gained or lost in front of them.

#include <memory>
#include <string>
#include <vector>

#include "editor/core/NoteEditTypes.h"

class TNoteEditCore;

class TNoteEditMark {
public:
    explicit TNoteEditMark(TNoteEditCore* editor = nullptr) : FEditor(editor) {}
    TNoteEditMark(const TNoteEditMark&) = delete;
    TNoteEditMark& operator=(const TNoteEditMark&) = delete;

    int Line() const { return FLine; }
    int Char() const { return FChar; }
    int ImageIndex() const { return FImage; }
    bool Visible() const { return FVisible; }
    bool InternalImage() const { return FInternalImage; }
    int BookmarkNumber() const { return FBookmarkNumber; }
    bool IsBookmark() const { return FBookmarkNumber >= 0; }
    // Line, image, visibility and the internal-image flag repaint the mark's gutter rows.
    void SetLine(int value);
    void SetChar(int value) { FChar = value; }
    void SetImageIndex(int value);
    void SetVisible(bool value);
    void SetInternalImage(bool value);
    void SetBookmarkNumber(int value) { FBookmarkNumber = value; }
    // The owning editor while it still lists the mark; a mark it dropped forgets it.
    TNoteEditCore* Editor();

private:
    void Repaint(int line);

    TNoteEditCore* FEditor;
    int FLine = 0, FChar = 0, FImage = 0;
    bool FVisible = false, FInternalImage = false;
    int FBookmarkNumber = -1;
};

class TNoteEditMarkList {
public:
    static constexpr int MaxMarksPerLine = 16;
    TNoteNotifyEvent OnChange;  // a mark added or removed

    int Count() const { return static_cast<int>(FItems.size()); }
    TNoteEditMark* Items(int index) const { return FItems[static_cast<size_t>(index)].get(); }
    bool Contains(const TNoteEditMark* mark) const;
    void Add(std::unique_ptr<TNoteEditMark> mark);
    // Takes the mark out of the list and frees it.
    void Remove(TNoteEditMark* mark);
    void Clear();
    // Up to 16 marks of a line, in list order.
    std::vector<TNoteEditMark*> MarksOfLine(int line) const;

    // Following the text (lines 1-based; index and count as the line buffer reports them).
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    // A line rewritten from oldText to newText: marks behind the changed bytes move by the
    // length difference, marks inside them to where the change starts.
    void LineRewritten(int line, std::string_view oldText, std::string_view newText);
    // Bytes of a line removed and inserted in place from column on, the same way.
    void LineSpliced(int line, int column, int removed, int inserted);
    // Keeps every mark on an existing line and off trail bytes.
    void Settle(int lineCount, const std::function<std::string_view(int)>& lineText);

private:
    // Marks of the line at or behind oldEnd move by delta, those after changeStart to it.
    void MoveChars(int line, int changeStart, int oldEnd, int delta);
    void Changed() {
        if (OnChange) OnChange(this);
    }
    std::vector<std::unique_ptr<TNoteEditMark>> FItems;
};
