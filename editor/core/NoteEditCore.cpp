#include "editor/core/NoteEditCore.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "editor/core/NoteEditHighlighter.h"
#include "framework/rtl/Encoding.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Identifier bytes of the word rules when no highlighter is set.
const TNoteByteSet& WordChars() {
    static const TNoteByteSet set = [] {
        TNoteByteSet s;
        for (int b = '0'; b <= '9'; ++b) s.set(b);
        for (int b = 'A'; b <= 'Z'; ++b) s.set(b);
        for (int b = 'a'; b <= 'z'; ++b) s.set(b);
        s.set('_');
        for (int b = 0xC0; b <= 0xFF; ++b)
            if (b != 0xD7 && b != 0xF7) s.set(b);
        return s;
    }();
    return set;
}

bool IsWordByte(std::string_view line, int index) {
    return index >= 1 && index <= static_cast<int>(line.size()) && WordChars()[static_cast<unsigned char>(line[index - 1])];
}

bool IsDoubleByteAt(std::string_view line, int index) {
    return index >= 1 && index <= static_cast<int>(line.size()) && GbkCharLength(line, index - 1) == 2 &&
           NoteByteType(line, index) == mbLeadByte;
}

// Splits inserted text at CR LF, CR or LF.
std::vector<std::string> SplitText(std::string_view text) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            pieces.emplace_back();
        } else {
            pieces.back() += text[i];
        }
    }
    return pieces;
}

std::string TrimTrailing(std::string s) {
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    return s;
}

// Keeps a buffer update paired.
struct LinesUpdate {
    TNoteEditStringList& lines;
    explicit LinesUpdate(TNoteEditStringList& l) : lines(l) { lines.BeginUpdate(); }
    ~LinesUpdate() {
        try {
            lines.EndUpdate();
        } catch (...) {
            NoteHandleException();
        }
    }
};
}  // namespace

int NoteLineSpacingExtra(TLineSpacingRule rule, int charHeight, int lineSpacing) {
    switch (rule) {
    case lsSingle: return 2;
    case lsOneAndHalf: return static_cast<int>(std::nearbyint(charHeight * 0.5)) + 2;
    case lsDouble: return charHeight + 2;
    default: return lineSpacing;
    }
}

std::string NoteUtf16ToGbk(std::u16string_view text) {
    std::string result;
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            n = 2;
        const std::u16string_view unit = text.substr(i, n);
        i += n;
        if (unit.size() == 1 && unit[0] < 0x80) {
            result += static_cast<char>(unit[0]);
            continue;
        }
        const std::string gbk = Utf8ToGbk(Utf16ToUtf8(unit));
        if (gbk.empty() || gbk.find('?') != std::string::npos) continue;  // no GBK form
        result += gbk;
    }
    return result;
}

void NoteGbkToCells(std::string_view gbk, int cellWidth, std::u16string& units, std::vector<int>& advances) {
    units = Utf8ToUtf16(GbkToUtf8(gbk));
    advances.clear();
    std::vector<int> lengths;
    for (size_t i = 0; i < gbk.size();) {
        const int n = GbkCharLength(gbk, i);
        lengths.push_back(n);
        i += n;
    }
    if (lengths.size() == units.size()) {
        for (int n : lengths) advances.push_back(n * cellWidth);
        return;
    }
    // Some byte did not convert one to one: convert character by character.
    units.clear();
    for (size_t i = 0, k = 0; i < gbk.size(); ++k) {
        const int n = lengths[k];
        std::u16string u = Utf8ToUtf16(GbkToUtf8(gbk.substr(i, n)));
        if (u.empty()) u = u"\uFFFD";
        for (size_t j = 0; j < u.size(); ++j) advances.push_back(j == 0 ? n * cellWidth : 0);
        units += u;
        i += n;
    }
}

//--- Construction and hooks

// OnPaintTransient before and after a caret move, when the window exists.
class TNoteEditCore::TNoteTransient {
public:
    explicit TNoteTransient(TNoteEditCore& core) : FCore(core), FActive(core.FHost.HostHasWindow()) {
        if (FActive) FCore.FHost.HostPaintTransient(ttBefore);
    }
    ~TNoteTransient() {
        if (!FActive) return;
        try {
            FCore.FHost.HostPaintTransient(ttAfter);
        } catch (...) {
            NoteHandleException();
        }
    }

private:
    TNoteEditCore& FCore;
    bool FActive;
};

class TNoteEditCore::TUpdate {
public:
    explicit TUpdate(TNoteEditCore& core) : FCore(core) { FCore.BeginUpdate(); }
    ~TUpdate() {
        try {
            FCore.EndUpdate();
        } catch (...) {
            NoteHandleException();
        }
    }

private:
    TNoteEditCore& FCore;
};

TNoteEditCore::TNoteEditCore(INoteEditHost& host)
    : FHost(host), FLines(std::make_unique<TNoteEditStringList>()), FWordWrap(), FKeystrokes(this) {
    FRightEdge.OnChange = [this](void*) { RightEdgeChanged(); };
    FLineDivider.OnChange = [this](void*) { FontChangedRoutine(); };
    FActiveLine.OnChange = [this](void*) { InvalidateLines(FCaretY, FCaretY); };
    FWordWrap.OnChange = [this](void*) { WordWrapChanged(); };
    FGutter.OnChange = [this](void*) {
        const int width = FGutter.GutterPixelWidth(FCharWidth);
        if (width == FGutterWidth) return InvalidateRect(Rect(0, 0, FGutterWidth, FClientHeight));
        FGutterWidth = width;
        FTextOffset = FGutterWidth + 2 - (FLeftChar - 1) * FCharWidth;
        SizeOrFontChanged(false);
        InvalidateAll();
    };
    FSelectedColor.OnChange = [this](void*) { InvalidateAll(); };
    HookLines();
    FUndoList.OnAddedUndo = [this](void*) { UndoAdded(FUndoList); };
    FRedoList.OnAddedUndo = [this](void*) { UndoAdded(FRedoList); };
    FKeystrokes.ResetDefaults();
}

TNoteEditCore::~TNoteEditCore() {
    FLines->OnUpdateBegin = nullptr;
    FLines->OnUpdateEnd = nullptr;
    FLines->OnLinesCleared = nullptr;
    FLines->OnLinesDeleted = nullptr;
    FLines->OnLinesInserted = nullptr;
    FLines->OnLineReplaced = nullptr;
    FLines->OnLinePut = nullptr;
    FUndoList.OnAddedUndo = nullptr;
    FRedoList.OnAddedUndo = nullptr;
}

void TNoteEditCore::HookLines() {
    FLines->OnUpdateBegin = [this](void*) { LinesChanging(); };
    FLines->OnUpdateEnd = [this](void*) { LinesChanged(); };
    FLines->OnLinesCleared = [this](void*) { LinesCleared(); };
    FLines->OnLinesInserted = [this](void*, int index, int count) { LinesInserted(index, count); };
    FLines->OnLinesDeleted = [this](void*, int index, int count) { LinesDeleted(index, count); };
    FLines->OnLinePut = [this](void*, int index, const std::string& oldText) {
        if (FMarks.Count() > 0) FMarks.LineRewritten(index + 1, oldText, FLines->Get(index));
    };
    FLines->OnLineReplaced = [this](void*, int index, int count) { LineReplaced(index, count); };
}

TNoteByteSet TNoteEditCore::IdentChars() const { return NoteDefaultIdentChars(); }

void TNoteEditCore::SetTextBytes(std::string_view text) {
    TUpdate update(*this);
    FLines->SetText(text);
}

void TNoteEditCore::LinesChanging() { FLinesChanging = true; }

void TNoteEditCore::LinesChanged() {
    FLinesChanging = false;
    UpdateScrollBars();
    SetBlockBegin(CaretXY());
    if (FHasPendingRect) {
        FHasPendingRect = false;
        if (FHost.HostHasWindow()) FHost.HostInvalidate(FPendingRect);
    }
    if (FGutter.ShowLineNumbers()) FGutter.FitDigitCount(FLines->Count());
    if (!HasOption(eoScrollPastEof)) SetTopLine(FTopLine);
    MarksFollowLines();
}

void TNoteEditCore::LinesCleared() {
    if (FWrapPlugin) FWrapPlugin->WrapAll();
    FUndoList.Clear();
    FRedoList.Clear();
    FHasPendingRect = false;
    FLinesChanging = false;
    InvalidateAll();
    FLinesChanging = true;
    FCaretX = FCaretY = FLastCaretX = 1;
    FBlockBegin = FBlockEnd = {1, 1};
    FCaretAtEndOfRow = false;
    FTopLine = FLeftChar = 1;
    FTextOffset = FGutterWidth + 2;
    ClearMarks();
    StatusChanged(NoteStatus::All);
}

void TNoteEditCore::LinesInserted(int index, int count) {
    FMarks.LinesInserted(index, count);
    for (const auto& plugin : FPlugins) plugin->LinesInserted(index + 1, count);
    if (FWrapPlugin) FWrapPlugin->AfterInsert(index, count);
    InvalidateLines(index + 1, -1);
    if (HasOption(eoAutoSizeMaxScrollWidth))
        for (int i = index; i < index + count; ++i)
            FMaxScrollWidth = std::max(FMaxScrollWidth, FLines->ExpandedLineLength(i));
}

void TNoteEditCore::LinesDeleted(int index, int count) {
    FMarks.LinesDeleted(index, count);
    for (const auto& plugin : FPlugins) plugin->LinesDeleted(index + 1, count);
    if (FWrapPlugin) FWrapPlugin->AfterDelete(index, count);
    InvalidateLines(index + 1, -1);
}

void TNoteEditCore::LineReplaced(int index, int count) {
    if (FWrapPlugin && FWrapPlugin->AfterReplace(index, count) != 0)
        InvalidateLines(index + 1, -1);
    else
        InvalidateLines(index + 1, index + count);
    if (HasOption(eoAutoSizeMaxScrollWidth))
        FMaxScrollWidth = std::max(FMaxScrollWidth, FLines->ExpandedLineLength(index));
}

void TNoteEditCore::UndoAdded(TNoteEditUndoList& list) {
    const bool modified = !FUndoList.IsAtSavedState();
    if (modified != FModified) {
        FModified = modified;
        StatusChanged(NoteStatus::Modified);
    }
    if (&list == &FUndoList && !FInReplay && FUndoList.LastReason() != NoteChange::GroupBreak) FRedoList.Clear();
    if (list.BlockCount() == 0) DoChange();
}

void TNoteEditCore::DoChange() {
    if (OnChange) OnChange(this);
}

void TNoteEditCore::WordWrapChanged() {
    const bool enabled = FWordWrap.Enabled();
    if (enabled != static_cast<bool>(FWrapPlugin)) {
        TUpdate update(*this);
        if (enabled) {
            FWrapPlugin = std::make_unique<TNoteWordWrapPlugin>(this);
            SetLeftChar(1);
        } else {
            FWrapPlugin.reset();
        }
        InvalidateAll();
        UpdateScrollBars();
        if (HasOption(eoScrollPastEol)) {
            SetCaretXYEx(false, CaretXY());
            SetBlockBegin(FBlockBegin);
        }
        EnsureCursorPosVisible();
    } else if (FWrapPlugin) {
        FWrapPlugin->WrapAll();
        InvalidateAll();
        UpdateScrollBars();
    }
}

void TNoteEditCore::RightEdgeChanged() {
    if (FWrapPlugin && FWordWrap.Style() == wwsRightEdge) {
        FWrapPlugin->WrapAll();
        UpdateScrollBars();
    }
    InvalidateAll();
}

//--- Properties

void TNoteEditCore::SetOptions(TNoteEditorOptions value) {
    if (value == FOptions) return;
    if (!HasOption(eoScrollPastEol)) SetLeftChar(FLeftChar);
    if (!HasOption(eoScrollPastEof)) SetTopLine(FTopLine);
    const TNoteEditorOptions changed = value ^ FOptions;
    FOptions = value;
    SetCaretXYEx(false, CaretXY());
    if (HasOption(eoScrollPastEol)) SetBlockBegin(FBlockBegin);
    if (changed & NoteOption(eoShowSpecialChars)) InvalidateAll();
    if (changed & NoteOption(eoDropFiles)) FHost.HostDropFilesChanged(HasOption(eoDropFiles));
    if (changed & (NoteOption(eoDisableScrollArrows) | NoteOption(eoHideShowScrollbars) | NoteOption(eoScrollPastEof) |
                   NoteOption(eoScrollPastEol)))
        UpdateScrollBars();
}

void TNoteEditCore::SetTabWidth(int value) {
    value = ClampInt(value, 1, 256);
    if (value == FLines->TabWidth()) return;
    FLines->SetTabWidth(value);
    if (FWrapPlugin) FWrapPlugin->WrapAll();
    InvalidateAll();
}

void TNoteEditCore::SetMaxScrollWidth(int value) {
    value = ClampInt(value, 1, INT_MAX - 1);
    if (value == FMaxScrollWidth) return;
    FMaxScrollWidth = value;
    if (HasOption(eoScrollPastEol)) UpdateScrollBars();
}

void TNoteEditCore::SetMaxUndo(int value) {
    if (value < 0) return;
    FUndoList.SetMaxItems(value);
    FRedoList.SetMaxItems(value);
}

void TNoteEditCore::SetInsertMode(bool value) {
    if (value == FInsertMode) return;
    FInsertMode = value;
    FHost.HostRecreateCaret();
    StatusChanged(NoteStatus::InsertMode);
}

void TNoteEditCore::SetReadOnly(bool value) {
    if (value == FReadOnly) return;
    FReadOnly = value;
    StatusChanged(NoteStatus::ReadOnly);
}

void TNoteEditCore::SetHideSelection(bool value) {
    if (value == FHideSelection) return;
    FHideSelection = value;
    if (SelAvail()) InvalidateLines(BlockBegin().Line, BlockEnd().Line);
}

void TNoteEditCore::SetScrollBars(TNoteScrollBars value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    UpdateScrollBars();
    InvalidateAll();
}

void TNoteEditCore::SetInsertCaret(TNoteCaretType value) {
    if (value == FInsertCaret) return;
    FInsertCaret = value;
    FHost.HostRecreateCaret();
}

void TNoteEditCore::SetOverwriteCaret(TNoteCaretType value) {
    if (value == FOverwriteCaret) return;
    FOverwriteCaret = value;
    FHost.HostRecreateCaret();
}

void TNoteEditCore::SetLineSpacing(int value) {
    if (value == FLineSpacing) return;
    FLineSpacing = value;
    FontChangedRoutine();
}

void TNoteEditCore::SetLineSpacingRule(TLineSpacingRule value) {
    if (value == FLineSpacingRule) return;
    FLineSpacingRule = value;
    FontChangedRoutine();
}

void TNoteEditCore::SetModified(bool value) {
    if (value == FModified) return;
    FModified = value;
    if (!value && HasOption(eoGroupUndo) && FUndoList.HasItems()) FUndoList.AddGroupBreak();
    FUndoList.MarkSavedState(!value);
    StatusChanged(NoteStatus::Modified);
}

void TNoteEditCore::SetBackColor(TNoteColor value) {
    if (value == FBackColor) return;
    FBackColor = value;
    InvalidateAll();
}

void TNoteEditCore::SetTextColor(TNoteColor value) {
    if (value == FTextColor) return;
    FTextColor = value;
    InvalidateAll();
}

//--- Geometry

void TNoteEditCore::CharMetricsChanged(int charWidth, int charHeight) {
    FCharWidth = charWidth;
    FCharHeight = charHeight;
    FontChangedRoutine();
}

void TNoteEditCore::RecalcLineHeight() {
    FLineHeight = FCharHeight + NoteLineSpacingExtra(FLineSpacingRule, FCharHeight, FLineSpacing);
    if (FLineHeight < 1 && FCharHeight > 0) FLineHeight = 1;
}

void TNoteEditCore::FontChangedRoutine() {
    RecalcLineHeight();
    SizeOrFontChanged(true);
}

void TNoteEditCore::ViewSizeChanged(int width, int height) {
    if (width == FClientWidth && height == FClientHeight) return;
    FClientWidth = width;
    FClientHeight = height;
    SizeOrFontChanged(false);
}

void TNoteEditCore::SizeOrFontChanged(bool fontChanged) {
    if (!FHost.HostHasWindow() || FCharWidth <= 0 || FLineHeight <= 0) return;
    FGutterWidth = FGutter.GutterPixelWidth(FCharWidth);
    FTextOffset = FGutterWidth + 2 - (FLeftChar - 1) * FCharWidth;
    FCharsInWindow = std::max(FClientWidth - FGutterWidth - 2, 0) / FCharWidth;
    FLinesInWindow = FClientHeight / FLineHeight;
    if (FWrapPlugin) {
        FWrapPlugin->WrapAll();
        InvalidateAll();
    }
    if (fontChanged) {
        UpdateScrollBars();
        FHost.HostRecreateCaret();
        FCaretUpdatePending = false;
        InvalidateAll();
    } else {
        UpdateScrollBars();
    }
    if (!HasOption(eoScrollPastEol)) SetLeftChar(FLeftChar);
    if (!HasOption(eoScrollPastEof)) SetTopLine(FTopLine);
}

int TNoteEditCore::DisplayLineCount() const {
    if (!FWrapPlugin) return FLines->Count();
    return FWrapPlugin->RowCount() + FLines->Count() - FWrapPlugin->LineCount();
}

int TNoteEditCore::WrapWidth() const {
    switch (FWordWrap.Style()) {
    case wwsClientWidth: return FCharsInWindow;
    case wwsRightEdge: return FRightEdge.Position();
    default: return FWordWrap.Position();
    }
}

void TNoteEditCore::SetTopLine(int value) {
    const int count = DisplayLineCount();
    const int bound = HasOption(eoScrollPastEof) ? count : count - FLinesInWindow + 1;
    value = std::max(std::min(value, bound), 1);
    if (value == FTopLine) return;
    const int delta = FTopLine - value;
    FTopLine = value;
    if (std::abs(delta) < FLinesInWindow && FHost.HostHasWindow() && !FLinesChanging && FPaintLock == 0)
        FHost.HostScroll(0, delta * FLineHeight, Rect(0, 0, FClientWidth, FClientHeight));
    else
        InvalidateAll();
    UpdateScrollBars();
    StatusChanged(NoteStatus::TopLine);
}

void TNoteEditCore::SetLeftChar(int value) {
    if (FWrapPlugin && WrapWidth() < FCharsInWindow) value = 1;
    int bound;
    if (HasOption(eoScrollPastEol)) {
        bound = HasOption(eoAutoSizeMaxScrollWidth) ? INT_MAX - FCharsInWindow : FMaxScrollWidth - FCharsInWindow + 1;
    } else {
        const int n = FWrapPlugin ? WrapWidth() : FLines->LongestLineLength();
        bound = FCharsInWindow < n ? n - FCharsInWindow + 1 : 1;
    }
    value = std::max(std::min(value, std::max(bound, 1)), 1);
    if (value == FLeftChar) return;
    const int delta = FLeftChar - value;
    FLeftChar = value;
    FTextOffset = FGutterWidth + 2 - (FLeftChar - 1) * FCharWidth;
    if (std::abs(delta) < FCharsInWindow && FHost.HostHasWindow() && !FLinesChanging && FPaintLock == 0)
        FHost.HostScroll(delta * FCharWidth, 0, Rect(FGutterWidth + 2, 0, FClientWidth, FClientHeight));
    else
        InvalidateRect(Rect(FGutterWidth + 2, 0, FClientWidth, FClientHeight));
    if (HasOption(eoScrollPastEol) && HasOption(eoAutoSizeMaxScrollWidth) && FLeftChar + FCharsInWindow > FMaxScrollWidth)
        SetMaxScrollWidth(FLeftChar + FCharsInWindow);
    else
        UpdateScrollBars();
    StatusChanged(NoteStatus::LeftChar);
}

TNoteCaretShape TNoteEditCore::CaretShape() const {
    TNoteCaretShape s;
    switch (FInsertMode ? FInsertCaret : FOverwriteCaret) {
    case ctHorizontalLine: s = {FCharWidth, 2, 0, FLineHeight - 2}; break;
    case ctHalfBlock: s = {FCharWidth, (FLineHeight - 2) / 2, 0, (FLineHeight - 2) / 2}; break;
    case ctBlock: s = {FCharWidth, FLineHeight - 2, 0, 0}; break;
    default: s = {2, FLineHeight - 2, -1, 0}; break;
    }
    return s;
}

//--- Positions

TDisplayCoord TNoteEditCore::BufferToDisplayPos(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int column = CharToTabColumn(p.Char, FLines->TabWidth(), line);
    if (!FWrapPlugin) return {column, p.Line};
    return FWrapPlugin->BufferToRow({column, p.Line});
}

namespace {
// The byte column whose tab-expanded column reaches `column`, without trail adjustment.
int ExpandedToByteColumn(std::string_view line, int column, int tabWidth) {
    int col = 1;
    const int len = static_cast<int>(line.size());
    for (int i = 1; i <= len; ++i) {
        const int w = line[i - 1] == '\t' && tabWidth > 1 ? tabWidth - (col - 1) % tabWidth : 1;
        if (column < col + w) return i;
        col += w;
    }
    return len + 1 + std::max(column - col, 0);
}
}  // namespace

TBufferCoord TNoteEditCore::DisplayToBufferPos(const TDisplayCoord& p) const {
    TBufferCoord b = FWrapPlugin ? FWrapPlugin->RowToBuffer(p) : TBufferCoord{p.Column, p.Row};
    const std::string& line = FLines->Get(b.Line - 1);
    b.Char = ExpandedToByteColumn(line, b.Char, FLines->TabWidth());
    if (NoteByteType(line, b.Char) == mbTrailByte) ++b.Char;
    return b;
}

TDisplayCoord TNoteEditCore::PixelsToRowColumn(int x, int y) const {
    if (FCharWidth <= 0 || FLineHeight <= 0) return {1, 1};
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return {std::max(1, FLeftChar + floorDiv(x - FGutterWidth - 2, FCharWidth)),
            std::max(1, FTopLine + floorDiv(y, FLineHeight))};
}

TDisplayCoord TNoteEditCore::PixelsToNearestRowColumn(int x, int y) const {
    if (FCharWidth <= 0 || FLineHeight <= 0) return {1, 1};
    y = std::max(std::min(y, FLinesInWindow * FLineHeight - 1), 0);
    const double f = static_cast<double>(x - FGutterWidth - 2) / FCharWidth;
    return {std::max(1, FLeftChar + static_cast<int>(std::nearbyint(f))), std::max(1, FTopLine + y / FLineHeight)};
}

TPoint TNoteEditCore::RowColumnToPixels(const TDisplayCoord& p) const {
    return {(p.Column - 1) * FCharWidth + FTextOffset, (p.Row - FTopLine) * FLineHeight};
}

TDisplayCoord TNoteEditCore::DisplayXY() const {
    const TDisplayCoord d = BufferToDisplayPos(CaretXY());
    if (FCaretAtEndOfRow && FWrapPlugin && d.Column == 1 && d.Row > 1 && d.Row - 1 <= FWrapPlugin->RowCount())
        return {FWrapPlugin->RowLength(d.Row - 1) + 1, d.Row - 1};
    return d;
}

bool TNoteEditCore::CaretPixelPos(TPoint& p) const {
    const TNoteCaretShape shape = CaretShape();
    p = RowColumnToPixels(DisplayXY());
    p.X += shape.OffsetX;
    p.Y += shape.OffsetY + 1;
    return !HasOption(eoNoCaret) && p.X >= FGutterWidth && p.X < FClientWidth && p.Y >= 0 && p.Y < FClientHeight;
}

//--- Caret

bool TNoteEditCore::CaretOnTrailByte(const TBufferCoord& p) const {
    return NoteByteType(FLines->Get(p.Line - 1), p.Char) == mbTrailByte;
}

void TNoteEditCore::SetCaretXYEx(bool forceToVisible, TBufferCoord p) {
    const bool pastEol = HasOption(eoScrollPastEol);
    FCaretAtEndOfRow = false;
    TNoteTransient transient(*this);
    int limit = FWrapPlugin ? INT_MAX : FMaxScrollWidth + 1;
    if (p.Line > FLines->Count()) p.Line = FLines->Count();
    if (p.Line < 1) {
        p.Line = 1;
        if (!pastEol) limit = 1;
    } else if (!pastEol) {
        limit = static_cast<int>(FLines->Get(p.Line - 1).size()) + 1;
    }
    if (p.Char > limit && !(pastEol && HasOption(eoAutoSizeMaxScrollWidth))) p.Char = limit;
    if (p.Char < 1) p.Char = 1;
    if (p.Char == FCaretX && p.Line == FCaretY) {
        FLastCaretX = DisplayXY().Column;
        if (forceToVisible) EnsureCursorPosVisible();
        return;
    }
    TUpdate update(*this);
    if (p.Char != FCaretX) {
        FCaretX = p.Char;
        StatusChanged(NoteStatus::CaretX);
    }
    if (p.Line != FCaretY) {
        FCaretY = p.Line;
        StatusChanged(NoteStatus::CaretY);
    }
    FLastCaretX = DisplayXY().Column;
    if (forceToVisible) EnsureCursorPosVisible();
    FCaretUpdatePending = true;
    FScrollUpdatePending = true;
}

void TNoteEditCore::SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& blockBegin,
                                         const TBufferCoord& blockEnd) {
    TUpdate update(*this);
    SetCaretXY(caret);
    SetBlockBegin(blockBegin);
    SetBlockEnd(blockEnd);
}

void TNoteEditCore::MoveCaretAndSelection(const TBufferCoord& from, const TBufferCoord& to, bool selecting) {
    if (HasOption(eoGroupUndo) && FUndoList.HasItems()) FUndoList.AddGroupBreak();
    TUpdate update(*this);
    if (selecting) {
        if (!SelAvail()) SetBlockBegin(from);
        SetBlockEnd(to);
    } else {
        SetBlockBegin(to);
    }
    SetCaretXY(to);
}

void TNoteEditCore::MoveCaretHorz(int dx, bool selecting) {
    const TBufferCoord from = CaretXY();
    const std::string& line = FLines->Get(FCaretY - 1);
    const int len = static_cast<int>(line.size());
    if (FWrapPlugin) {
        const TDisplayCoord d = BufferToDisplayPos(from);
        if (dx > 0 && FCaretAtEndOfRow) {
            FCaretAtEndOfRow = false;
            UpdateCaret();
            return;
        }
        if (dx < 0 && d.Column == 1 && !FCaretAtEndOfRow && from.Char > 1 && !selecting) {
            FCaretAtEndOfRow = true;
            UpdateCaret();
            return;
        }
    }
    const bool changeY = !HasOption(eoScrollPastEol);
    TBufferCoord to = from;
    if (changeY && dx == -1 && from.Char == 1 && from.Line > 1) {
        to = {static_cast<int>(FLines->Get(from.Line - 2).size()) + 1, from.Line - 1};
    } else if (changeY && dx == 1 && from.Char > len && from.Line < FLines->Count()) {
        to = {1, from.Line + 1};
    } else {
        to.Char = std::max(1, from.Char + dx);
        if (dx > 0 && changeY) to.Char = std::min(to.Char, len + 1);
        if (to.Char > 1 && to.Char <= len && NoteByteType(line, to.Char) == mbTrailByte) to.Char += dx < 0 ? -1 : 1;
    }
    MoveCaretAndSelection(from, to, selecting);
}

void TNoteEditCore::MoveCaretVert(int dy, bool selecting) {
    const TDisplayCoord from = DisplayXY();
    TDisplayCoord to = from;
    to.Row += dy;
    const int rows = std::max(DisplayLineCount(), 1);
    to.Row = std::max(1, std::min(to.Row, rows));
    if (to.Row != from.Row && HasOption(eoKeepCaretX)) to.Column = FLastCaretX;
    TBufferCoord dest = FWrapPlugin ? FWrapPlugin->RowToBuffer(to) : TBufferCoord{to.Column, to.Row};
    const std::string& line = FLines->Get(dest.Line - 1);
    dest.Char = ExpandedToByteColumn(line, dest.Char, FLines->TabWidth());
    if (to.Row != from.Row && FVertAdjusted && !HasOption(eoKeepCaretX)) ++dest.Char;
    FVertAdjusted = NoteByteType(line, dest.Char) == mbTrailByte;
    if (FVertAdjusted) --dest.Char;
    const int lastCaretX = FLastCaretX;
    MoveCaretAndSelection(CaretXY(), dest, selecting);
    FLastCaretX = lastCaretX;
    if (FWrapPlugin) {
        const TDisplayCoord now = BufferToDisplayPos(CaretXY());
        if (now.Column == 1 && now.Row != to.Row) {
            FCaretAtEndOfRow = true;
            UpdateCaret();
        }
    }
}

void TNoteEditCore::EnsureCursorPosVisible(bool center) {
    if (FCharsInWindow <= 0) return;
    TUpdate update(*this);
    const TDisplayCoord d = DisplayXY();
    if (d.Column < FLeftChar)
        SetLeftChar(d.Column);
    else if (d.Column >= FLeftChar + FCharsInWindow)
        SetLeftChar(d.Column - FCharsInWindow + std::min(24, FCharsInWindow));
    else
        SetLeftChar(FLeftChar);
    if (FWrapPlugin && d.Column > WrapWidth() + 1) SetLeftChar(1);
    if (!center) {
        if (d.Row < FTopLine)
            SetTopLine(d.Row);
        else if (d.Row > FTopLine + std::max(1, FLinesInWindow) - 1)
            SetTopLine(d.Row - FLinesInWindow + 1);
        else
            SetTopLine(FTopLine);
    } else if (d.Row < FTopLine - 1) {
        SetTopLine(std::max(1, d.Row - FLinesInWindow / 2));
    } else if (d.Row > FTopLine + FLinesInWindow - 2) {
        SetTopLine(d.Row - FLinesInWindow + FLinesInWindow / 2 + 1);
    }
}

//--- Selection

TBufferCoord TNoteEditCore::BlockBegin() const {
    if (FSelectionMode == smColumn)
        return {std::min(FBlockBegin.Char, FBlockEnd.Char), std::min(FBlockBegin.Line, FBlockEnd.Line)};
    return EarlierPos(FBlockBegin, FBlockEnd);
}

TBufferCoord TNoteEditCore::BlockEnd() const {
    if (FSelectionMode == smColumn)
        return {std::max(FBlockBegin.Char, FBlockEnd.Char), std::max(FBlockBegin.Line, FBlockEnd.Line)};
    return EarlierPos(FBlockBegin, FBlockEnd) == FBlockBegin ? FBlockEnd : FBlockBegin;
}

TBufferCoord TNoteEditCore::ClampBlockPos(TBufferCoord p) const {
    p.Char = std::max(p.Char, 1);
    if (HasOption(eoScrollPastEol) && !FWrapPlugin) p.Char = std::min(p.Char, FMaxScrollWidth + 1);
    p.Line = std::max(std::min(p.Line, FLines->Count()), 1);
    if (FSelectionMode == smNormal) p.Char = std::min(p.Char, static_cast<int>(FLines->Get(p.Line - 1).size()) + 1);
    return p;
}

void TNoteEditCore::SetBlockBegin(TBufferCoord p) {
    p = ClampBlockPos(p);
    const bool hadSelection = SelAvail();
    const TBufferCoord oldBegin = BlockBegin(), oldEnd = BlockEnd();
    if (p == FBlockBegin && p == FBlockEnd) return;
    FBlockBegin = FBlockEnd = p;
    if (hadSelection) InvalidateLines(std::min(oldBegin.Line, p.Line), std::max(oldEnd.Line, p.Line));
    StatusChanged(NoteStatus::Selection);
}

void TNoteEditCore::SetBlockEnd(TBufferCoord p) { SetBlockEndEx(p, false); }

void TNoteEditCore::SetBlockEndEx(TBufferCoord p, bool) {
    if (HasOption(eoNoSelection)) return;
    p = ClampBlockPos(p);
    if (p == FBlockEnd) return;
    if (CaretOnTrailByte(p)) --p.Char;
    if (p == FBlockEnd) return;
    const TBufferCoord old = FBlockEnd;
    FBlockEnd = p;
    if (FSelectionMode == smColumn && old.Char != p.Char)
        InvalidateLines(std::min({FBlockBegin.Line, old.Line, p.Line}), std::max({FBlockBegin.Line, old.Line, p.Line}));
    else
        InvalidateLines(std::min(old.Line, p.Line), std::max(old.Line, p.Line));
    StatusChanged(NoteStatus::Selection);
}

bool TNoteEditCore::SelAvail() const {
    return FBlockBegin.Char != FBlockEnd.Char || (FBlockBegin.Line != FBlockEnd.Line && FSelectionMode != smColumn);
}

void TNoteEditCore::SetSelectionMode(TNoteSelectionMode value) {
    if (value == FSelectionMode) return;
    FSelectionMode = value;
    if (SelAvail()) InvalidateLines(BlockBegin().Line, BlockEnd().Line);
    StatusChanged(NoteStatus::Selection);
}

std::string TNoteEditCore::SelText() const {
    if (!SelAvail()) return {};
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    std::string result;
    const auto slice = [](const std::string& s, int from, int to) {  // bytes from..to-1, 1-based
        from = std::max(from, 1);
        if (from > static_cast<int>(s.size())) return std::string();
        return s.substr(from - 1, std::max(0, to - from));
    };
    switch (FSelectionMode) {
    case smNormal:
        if (b.Line == e.Line) return slice(FLines->Get(b.Line - 1), b.Char, e.Char);
        result = slice(FLines->Get(b.Line - 1), b.Char, INT_MAX / 2);
        for (int l = b.Line + 1; l < e.Line; ++l) result += "\r\n" + FLines->Get(l - 1);
        result += "\r\n" + slice(FLines->Get(e.Line - 1), 1, e.Char);
        return result;
    case smLine:
        for (int l = b.Line; l <= e.Line; ++l) {
            result += FLines->Get(l - 1);
            if (l < FLines->Count()) result += "\r\n";
        }
        return result;
    default:
        for (int l = b.Line; l <= e.Line; ++l) {
            // A bound on a trail byte moves right: no half character is taken.
            const std::string& text = FLines->Get(l - 1);
            const int left = b.Char + (NoteByteType(text, b.Char) == mbTrailByte);
            const int right = e.Char + (NoteByteType(text, e.Char) == mbTrailByte);
            std::string piece = slice(text, left, right);
            if (!HasOption(eoTrimTrailingSpaces)) piece.resize(std::max(right - left, 0), ' ');
            if (l > b.Line) result += "\r\n";
            result += piece;
        }
        return result;
    }
}

bool TNoteEditCore::IsPointInSelection(const TBufferCoord& p) const {
    if (!SelAvail()) return false;
    const TBufferCoord b = BlockBegin(), e = BlockEnd();
    if (p.Line < b.Line || p.Line > e.Line) return false;
    switch (FSelectionMode) {
    case smLine: return true;
    case smColumn: return p.Char >= b.Char && p.Char < e.Char;
    default:
        return (p.Line > b.Line || p.Char >= b.Char) && (p.Line < e.Line || p.Char < e.Char);
    }
}

void TNoteEditCore::SelectAll() {
    const int last = std::max(FLines->Count(), 1);
    const TBufferCoord end{static_cast<int>(FLines->Get(last - 1).size()) + 1, last};
    TUpdate update(*this);
    SetCaretXY(end);
    SetBlockBegin({1, 1});
    SetBlockEnd(end);
}

//--- Words

void TNoteEditCore::SetWordBlock(TBufferCoord p) {
    p.Line = ClampInt(p.Line, 1, std::max(FLines->Count(), 1));
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    TUpdate update(*this);
    if (p.Char > len) {
        SetCaretAndSelection({len + 1, p.Line}, {len + 1, p.Line}, {len + 1, p.Line});
        return;
    }
    // The line as characters: start column, length, type flags.
    struct Ch {
        int Start, Length;
        std::uint16_t Flags;
    };
    std::vector<Ch> chars;
    int clicked = 0;
    for (int i = 0; i < len;) {
        const int n = GbkCharLength(line, i);
        if (i < p.Char && p.Char <= i + n) clicked = static_cast<int>(chars.size());
        chars.push_back({i + 1, n, GbkCharType3(std::string_view(line).substr(i, n))});
        i += n;
    }
    int ref = clicked;
    if (CharTypeClass(chars[ref].Flags) == 9 && ref > 0) ref = ref - 1;
    const std::uint16_t refFlags = chars[ref].Flags;
    const int refCategory = CharTypeClass(refFlags);
    const auto ends = [&](const Ch& c) {
        const int category = CharTypeClass(c.Flags);
        // Half-width letters, digits and '_' make one word, which a run of another kind
        // (ideographs, full-width text) does not take in.
        if (category == 1 || category == 2)
            return !WordChars()[static_cast<unsigned char>(line[c.Start - 1])] || (refCategory != 1 && refCategory != 2);
        if (category == 5 || category == 9) return true;
        return c.Flags != refFlags;
    };
    int first = ref, last = ref;
    if (ends(chars[ref])) {
        last = ref - 1;
    } else {
        while (first > 0 && !ends(chars[first - 1])) --first;
        while (last + 1 < static_cast<int>(chars.size()) && !ends(chars[last + 1])) ++last;
    }
    const TBufferCoord b{chars[first].Start, p.Line};
    const TBufferCoord e{last >= first ? chars[last].Start + chars[last].Length : chars[first].Start, p.Line};
    SetCaretAndSelection(e, b, e);
    InvalidateLines(p.Line, p.Line);
    StatusChanged(NoteStatus::Selection);
}

TBufferCoord TNoteEditCore::WordStartAt(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    int c = std::min(p.Char, static_cast<int>(line.size()) + 1);
    if (c > 1 && IsWordByte(line, c - 1)) {
        while (c > 1 && IsWordByte(line, c - 1)) --c;
    }
    return {c, p.Line};
}

TBufferCoord TNoteEditCore::WordEndAt(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    int c = std::max(p.Char, 1);
    while (c <= len && IsWordByte(line, c)) c += GbkCharLength(line, c - 1);
    return {std::min(c, len + 1), p.Line};
}

TBufferCoord TNoteEditCore::NextWordPos(const TBufferCoord& p) const {
    const std::string& line = FLines->Get(p.Line - 1);
    const int len = static_cast<int>(line.size());
    if (p.Char > len) {
        if (p.Line >= FLines->Count()) return {len + 1, p.Line};
        const std::string& next = FLines->Get(p.Line);
        int c = 1;
        while (c <= static_cast<int>(next.size()) && !IsWordByte(next, c) && !IsDoubleByteAt(next, c))
            c += GbkCharLength(next, c - 1);
        return {c <= static_cast<int>(next.size()) ? c : 1, p.Line + 1};
    }
    int c = p.Char;
    const bool onDouble = IsDoubleByteAt(line, c);
    if (!onDouble && IsWordByte(line, c))
        while (c <= len && IsWordByte(line, c) && !IsDoubleByteAt(line, c)) ++c;
    else if (onDouble)
        c += 2;
    while (c <= len && !IsWordByte(line, c) && !IsDoubleByteAt(line, c)) c += GbkCharLength(line, c - 1);
    return {std::min(c, len + 1), p.Line};
}

TBufferCoord TNoteEditCore::PrevWordPos(const TBufferCoord& p) const {
    if (p.Char <= 1) {
        if (p.Line <= 1) return {1, 1};
        return {static_cast<int>(FLines->Get(p.Line - 2).size()) + 1, p.Line - 1};
    }
    const std::string& line = FLines->Get(p.Line - 1);
    // Character starts before p.
    std::vector<int> starts;
    for (int i = 0; i < static_cast<int>(line.size()) && i + 1 < p.Char;) {
        starts.push_back(i + 1);
        i += GbkCharLength(line, i);
    }
    int k = static_cast<int>(starts.size()) - 1;
    while (k >= 0 && !IsWordByte(line, starts[k]) && !IsDoubleByteAt(line, starts[k])) --k;
    if (k < 0) return {1, p.Line};
    if (IsDoubleByteAt(line, starts[k])) return {starts[k], p.Line};
    while (k > 0 && IsWordByte(line, starts[k - 1]) && !IsDoubleByteAt(line, starts[k - 1])) --k;
    return {starts[k], p.Line};
}

//--- Update nesting

void TNoteEditCore::BeginUpdate() {
    if (FPaintLock++ == 0) FLockedCaretRow = DisplayXY().Row;
}

void TNoteEditCore::EndUpdate() {
    if (FPaintLock == 0 || --FPaintLock > 0) return;
    if (!FHost.HostHasWindow()) {
        if (FStatusChanges) StatusChanged(0);
        return;
    }
    if (FScrollUpdatePending) UpdateScrollBars();
    // A caret beyond the end of a wrapped line stays on its row: at most one past the width.
    if (FWrapPlugin && (FStatusChanges & (NoteStatus::CaretX | NoteStatus::CaretY))) {
        const int width = WrapWidth();
        const TDisplayCoord d = BufferToDisplayPos(CaretXY());
        if (width > 0 && d.Column > width + 1) {
            if (FCaretAtEndOfRow) {
                FCaretAtEndOfRow = false;
            } else {
                FCaretX = DisplayToBufferPos({width + 1, d.Row}).Char;
                FStatusChanges |= NoteStatus::CaretX;
            }
            FLastCaretX = DisplayXY().Column;
            FCaretUpdatePending = true;
        }
    }
    if (FCaretUpdatePending) UpdateCaret();
    const int row = DisplayXY().Row;
    if (row != FLockedCaretRow && FActiveLine.Visible()) {
        InvalidateRows(FLockedCaretRow, FLockedCaretRow);
        InvalidateRows(row, row);
    }
    if (FStatusChanges) StatusChanged(0);
}

void TNoteEditCore::StatusChanged(TNoteStatusChanges changes) {
    FStatusChanges |= changes;
    if (FPaintLock > 0 || FStatusChanges == 0) return;
    if (OnStatusChange) {
        const TNoteStatusChanges pending = FStatusChanges;
        FStatusChanges = 0;
        OnStatusChange(this, pending);
    }
}

void TNoteEditCore::UpdateScrollBars() {
    if (!FHost.HostHasWindow() || FPaintLock > 0) {
        FScrollUpdatePending = true;
        return;
    }
    FScrollUpdatePending = false;
    FHost.HostUpdateScrollBars();
}

void TNoteEditCore::UpdateCaret() {
    if (FPaintLock > 0 || !FHost.HostFocused()) {
        FCaretUpdatePending = true;
        return;
    }
    FCaretUpdatePending = false;
    FHost.HostUpdateCaret();
}

//--- Invalidation

void TNoteEditCore::InvalidateRect(const TRect& r) {
    if (!FHost.HostHasWindow() || r.Width() <= 0 || r.Height() <= 0) return;
    if (FLinesChanging) {
        if (!FHasPendingRect) {
            FPendingRect = r;
            FHasPendingRect = true;
        } else {
            FPendingRect = Rect(std::min(FPendingRect.Left, r.Left), std::min(FPendingRect.Top, r.Top),
                                std::max(FPendingRect.Right, r.Right), std::max(FPendingRect.Bottom, r.Bottom));
        }
        return;
    }
    FHost.HostInvalidate(r);
}

void TNoteEditCore::InvalidateRows(int firstRow, int lastRow) {
    if (FLineHeight <= 0) return;
    const int top = std::max((firstRow - FTopLine) * FLineHeight, 0);
    const int bottom = lastRow < 0 ? FClientHeight : std::min((lastRow - FTopLine + 1) * FLineHeight, FClientHeight);
    InvalidateRect(Rect(0, top, FClientWidth, bottom));
}

void TNoteEditCore::InvalidateLines(int firstLine, int lastLine) {
    if (firstLine < 1) firstLine = 1;
    const int firstRow = BufferToDisplayPos({1, firstLine}).Row;
    int lastRow = -1;
    if (lastLine >= 0) {
        lastRow = lastLine;
        if (FWrapPlugin && lastLine >= 1 && lastLine <= FWrapPlugin->LineCount())
            lastRow = FWrapPlugin->LineFirstRow(lastLine - 1) + FWrapPlugin->LineRowCount(lastLine - 1) - 1;
        else if (FWrapPlugin)
            lastRow = BufferToDisplayPos({1, lastLine}).Row;
    }
    InvalidateRows(firstRow, lastRow);
}

void TNoteEditCore::InvalidateAll() { InvalidateRect(Rect(0, 0, std::max(FClientWidth, 1), std::max(FClientHeight, 1))); }

//--- Commands and input

TNoteEditorCommand TNoteEditCore::TranslateKey(std::uint16_t key, TNoteShiftState shift) {
    int i = -1;
    if (FPendingKey != 0) i = FKeystrokes.FindKeyPair(FPendingKey, FPendingShift, key, shift);
    if (i < 0) i = FKeystrokes.FindKey(key, shift);
    if (i >= 0 || key < 30 || key > 145) {
        FPendingKey = 0;
    } else {
        FPendingKey = key;
        FPendingShift = shift;
    }
    return i >= 0 ? FKeystrokes.Items(i).Command() : ecNone;
}

void TNoteEditCore::CommandProcessor(TNoteEditorCommand command, char aChar, void* data) {
    if (command > 1000) {
        if (OnProcessUserCommand) OnProcessUserCommand(this, command, aChar, data);
    } else if (OnProcessCommand) {
        OnProcessCommand(this, command, aChar, data);
    }
    if (command != ecNone && !FHooks.empty()) {
        bool handled = false;
        const std::vector<THook> hooks = FHooks;  // a hook may remove itself
        for (const THook& h : hooks) h.Handler(this, false, handled, command, aChar, data, h.Data);
        if (handled) command = ecNone;
    }
    if (command != ecNone && command <= 1000) {
        // Editing commands change what is shown: OnPaintTransient around them.
        const bool transient = command >= ecDeleteLastChar && command != ecCopy;
        if (transient) FHost.HostPaintTransient(ttBefore);
        RunEditorCommand(command, aChar, data);
        if (transient) FHost.HostPaintTransient(ttAfter);
    }
    if (command != ecNone && !FHooks.empty()) {
        bool handled = false;
        const std::vector<THook> hooks = FHooks;
        for (const THook& h : hooks) h.Handler(this, true, handled, command, aChar, data, h.Data);
    }
    if (OnCommandProcessed) OnCommandProcessed(this, command, aChar, data);
}

int TNoteEditCore::AddCommandHook(TNoteHookedCommandEvent handler, void* handlerData) {
    FHooks.push_back({FNextHookId, std::move(handler), handlerData});
    return FNextHookId++;
}

void TNoteEditCore::RemoveCommandHook(int id) {
    std::erase_if(FHooks, [id](const THook& h) { return h.Id == id; });
}

bool TNoteEditCore::ProcessKeyDown(std::uint16_t key, TNoteShiftState shift) {
    FKbdHandler.ExecuteKeyDown(this, key, shift);
    if (key == 0) return true;
    const TNoteEditorCommand command = TranslateKey(key, shift);
    FLastKeyConsumed = command != ecNone;
    if (command != ecNone) CommandProcessor(command, 0, nullptr);
    return FLastKeyConsumed;
}

void TNoteEditCore::ProcessKeyPress(char key) {
    if (FLastKeyConsumed) {
        FLastKeyConsumed = false;
        return;
    }
    CommandProcessor(ecChar, key, nullptr);
}

void TNoteEditCore::TypeUtf16(std::u16string_view text) {
    if (FLastKeyConsumed) {
        FLastKeyConsumed = false;
        return;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x80) {
            char c = static_cast<char>(text[i]);
            FKbdHandler.ExecuteKeyPress(this, c);
            if (c != 0) CommandProcessor(ecChar, c, nullptr);
            continue;
        }
        size_t n = 1;
        while (i + n < text.size() && text[i + n] >= 0x80) ++n;
        const std::string gbk = NoteUtf16ToGbk(text.substr(i, n));
        i += n - 1;
        if (!gbk.empty()) CommandProcessor(ecImeStr, 0, const_cast<char*>(gbk.c_str()));
    }
}

void TNoteEditCore::RunEditorCommand(TNoteEditorCommand command, char aChar, void* data) {
    TUpdate update(*this);
    const bool selecting = command >= ecSelLeft && command <= ecSelGotoXY;
    const TNoteEditorCommand base = selecting ? command - 100 : command;
    switch (base) {
    case ecLeft: case ecRight: MoveCaretHorz(base == ecLeft ? -1 : 1, selecting); return;
    case ecUp: case ecDown: MoveCaretVert(base == ecUp ? -1 : 1, selecting); return;
    case ecPageLeft: case ecPageRight:
        MoveCaretHorz(base == ecPageLeft ? -FCharsInWindow : FCharsInWindow, selecting);
        return;
    case ecWordLeft: MoveCaretAndSelection(CaretXY(), PrevWordPos(CaretXY()), selecting); return;
    case ecWordRight: MoveCaretAndSelection(CaretXY(), NextWordPos(CaretXY()), selecting); return;
    case ecLineStart: {
        TBufferCoord to{1, FCaretY};
        if (FWrapPlugin) to = DisplayToBufferPos({1, DisplayXY().Row});
        if (HasOption(eoEnhanceHomeKey) && BufferToDisplayPos({1, FCaretY}).Row == DisplayXY().Row) {
            const std::string& line = FLines->Get(FCaretY - 1);
            int first = 1;
            while (first <= static_cast<int>(line.size()) && IsBlank(line[first - 1])) ++first;
            if (FCaretX > first || FCaretX == 1) to.Char = first;
        }
        MoveCaretAndSelection(CaretXY(), to, selecting);
        return;
    }
    case ecLineEnd: {
        TBufferCoord to{static_cast<int>(FLines->Get(FCaretY - 1).size()) + 1, FCaretY};
        if (FWrapPlugin) {
            const int row = DisplayXY().Row;
            if (row <= FWrapPlugin->RowCount()) {
                const int column = std::min(FWrapPlugin->RowLength(row), WrapWidth()) + 1;
                to = DisplayToBufferPos({column, row});
                MoveCaretAndSelection(CaretXY(), to, selecting);
                if (BufferToDisplayPos(to).Row != row) FCaretAtEndOfRow = true;
                UpdateCaret();
                return;
            }
        }
        MoveCaretAndSelection(CaretXY(), to, selecting);
        return;
    }
    case ecPageUp: case ecPageDown: {
        int page = FLinesInWindow;
        if (HasOption(eoHalfPageScroll)) page >>= 1;
        if (HasOption(eoScrollByOneLess)) --page;
        if (base == ecPageUp) page = -page;
        SetTopLine(FTopLine + page);
        MoveCaretVert(page, selecting);
        return;
    }
    case ecPageTop: case ecPageBottom: {
        const int row = base == ecPageTop ? FTopLine : FTopLine + FLinesInWindow - 1;
        const TDisplayCoord d{DisplayXY().Column, std::max(1, std::min(row, DisplayLineCount()))};
        MoveCaretAndSelection(CaretXY(), DisplayToBufferPos(d), selecting);
        return;
    }
    case ecEditorTop: MoveCaretAndSelection(CaretXY(), {1, 1}, selecting); return;
    case ecEditorBottom: {
        const int last = std::max(FLines->Count(), 1);
        MoveCaretAndSelection(CaretXY(), {static_cast<int>(FLines->Get(last - 1).size()) + 1, last}, selecting);
        return;
    }
    case ecGotoXY:
        if (data) {
            // Never onto the trail byte of a double-byte character.
            TBufferCoord p = *static_cast<const TBufferCoord*>(data);
            const int line = std::clamp(p.Line, 1, std::max(FLines->Count(), 1));
            if (line <= FLines->Count() && p.Char > 1 && NoteByteType(FLines->Get(line - 1), p.Char) == mbTrailByte)
                --p.Char;
            MoveCaretAndSelection(CaretXY(), p, selecting);
        }
        return;
    default: break;
    }
    if (command >= ecGotoMarker0 && command <= ecGotoMarker0 + 9) {
        if (FBookMarkOptions.EnableKeys()) GotoBookMark(command - ecGotoMarker0);
        return;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker0 + 9) {
        if (!FBookMarkOptions.EnableKeys()) return;
        const int n = command - ecSetMarker0;
        const TBufferCoord at = data ? *static_cast<const TBufferCoord*>(data) : CaretXY();
        int column = 0, line = 0;
        if (GetBookMark(n, column, line)) {
            ClearBookMark(n);
            if (line != at.Line) SetBookMark(n, at.Char, at.Line);
        } else {
            SetBookMark(n, at.Char, at.Line);
        }
        return;
    }
    if (command >= ecDeleteLastChar && FReadOnly) return;
    switch (command) {
    case ecSelectAll: SelectAll(); return;
    case ecCopy: CopyToClipboard(); return;
    case ecScrollUp: case ecScrollDown: ScrollByLine(command == ecScrollUp ? -1 : 1); return;
    case ecScrollLeft: case ecScrollRight: SetLeftChar(FLeftChar + (command == ecScrollLeft ? -1 : 1)); return;
    case ecInsertMode: SetInsertMode(true); return;
    case ecOverwriteMode: SetInsertMode(false); return;
    case ecToggleMode: SetInsertMode(!FInsertMode); return;
    case ecNormalSelect: SetSelectionMode(smNormal); return;
    case ecColumnSelect: SetSelectionMode(smColumn); return;
    case ecLineSelect: SetSelectionMode(smLine); return;
    case ecMatchBracket: {
        const TBufferCoord p = MatchingBracket(CaretXY());
        if (p.Line > 0) {
            SetCaretXY(p);
            SetBlockBegin(p);
        }
        return;
    }
    case ecContextHelp:
        if (OnContextHelp) OnContextHelp(this, TextBetween(WordStartAt(CaretXY()), WordEndAt(CaretXY())));
        return;
    case ecDeleteLastChar: DeleteLastChar(); return;
    case ecDeleteChar: DeleteChar(); return;
    case ecDeleteWord: case ecDeleteEOL: {
        const std::string& line = LineText();
        const int len = static_cast<int>(line.size());
        TBufferCoord to{len + 1, FCaretY};
        if (command == ecDeleteWord) {
            if (FCaretX > len) {
                if (FCaretY >= FLines->Count()) return;
                const std::string& next = FLines->Get(FCaretY);
                int c = 1;
                while (c <= static_cast<int>(next.size()) && IsBlank(next[c - 1])) ++c;
                to = {c, FCaretY + 1};
            } else {
                to = WordEndAt(CaretXY());
                while (to.Char <= len && IsBlank(line[to.Char - 1])) ++to.Char;
                if (to.Char == FCaretX && to.Char <= len) to.Char += GbkCharLength(line, to.Char - 1);
            }
        }
        if (FCaretX > len && command == ecDeleteEOL) return;
        DeleteRangeRecorded(NoteChange::DeleteAfter, CaretXY(), to, CaretXY());
        return;
    }
    case ecDeleteLastWord: case ecDeleteBOL: {
        const TBufferCoord from = command == ecDeleteBOL ? TBufferCoord{1, FCaretY} : PrevWordPos(CaretXY());
        const TBufferCoord to{std::min(FCaretX, static_cast<int>(LineText().size()) + 1), FCaretY};
        if (EarlierPos(from, to) == to) return;
        DeleteRangeRecorded(NoteChange::DeleteBefore, from, to, from);
        return;
    }
    case ecDeleteLine: {
        const int count = FLines->Count();
        if (count == 0 || (FCaretY == count && LineText().empty())) return;
        if (SelAvail()) SetBlockBegin(CaretXY());
        const TBufferCoord from{1, FCaretY};
        const TBufferCoord to =
            FCaretY == count ? TBufferCoord{static_cast<int>(LineText().size()) + 1, FCaretY} : TBufferCoord{1, FCaretY + 1};
        DeleteRangeRecorded(NoteChange::DeleteAfter, from, to, from);
        return;
    }
    case ecClearAll: ClearAll(); return;
    case ecLineBreak: case ecInsertLine: LineBreak(command == ecLineBreak); return;
    case ecChar: TypeChar(aChar); return;
    case ecImeStr:
        if (data) InsertText(static_cast<const char*>(data));
        return;
    case ecUndo: Undo(); return;
    case ecRedo: Redo(); return;
    case ecCut: CutToClipboard(); return;
    case ecPaste: PasteFromClipboard(); return;
    case ecBlockIndent: case ecBlockUnindent: BlockIndent(command == ecBlockIndent); return;
    case ecTab: InsertTab(); return;
    case ecShiftTab: ShiftTab(); return;
    case ecUpperCase: case ecLowerCase: case ecToggleCase: case ecTitleCase: case ecUpperCaseBlock:
    case ecLowerCaseBlock: case ecToggleCaseBlock:
        ChangeCase(command);
        return;
    default: return;
    }
}

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

//--- Mouse

bool TNoteEditCore::HandleMouseDown(int button, TNoteShiftState shift, int x, int y) {
    if ((shift & NoteShift::Double) && button == 0) return false;
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    FGutterClickPossible = x < FGutterWidth;
    if (FGutterClickPossible && button == 1) DoGutterClick(button, x, y);
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    d.Row = std::min(d.Row, std::max(DisplayLineCount(), 1));
    const TBufferCoord pos = DisplayToBufferPos(d);
    if (button == 1) {
        if (HasOption(eoRightMouseMovesCursor) && !IsPointInSelection(pos)) {
            TUpdate update(*this);
            SetCaretXYEx(true, pos);
            SetBlockBegin(CaretXY());
        }
        return false;
    }
    if (button != 0) return false;
    TUpdate update(*this);
    FWordSelected = false;
    FDragPending = SelAvail() && HasOption(eoDragDropEditing) && x > FGutterWidth + 2 && FSelectionMode == smNormal &&
                   IsPointInSelection(pos);
    if (FDragPending) {
        // The selection stays for the drag; the caret shows where the press was.
        const TBufferCoord anchor = FBlockBegin, end = FBlockEnd;
        SetCaretXYEx(true, pos);
        FBlockBegin = anchor;
        FBlockEnd = end;
        return true;
    }
    SetCaretXYEx(true, pos);
    if (shift & NoteShift::Shift) {
        SetBlockEnd(CaretXY());
    } else {
        if (HasOption(eoAltSetsColumnMode) && FSelectionMode != smLine)
            SetSelectionMode(shift & NoteShift::Alt ? smColumn : smNormal);
        SetBlockBegin(CaretXY());
    }
    FMouseSelecting = true;
    return true;
}

void TNoteEditCore::HandleMouseMove(TNoteShiftState shift, int x, int y, bool captured) {
    if (FDragPending) return;
    if (!captured || !(shift & NoteShift::Left) || !FMouseSelecting || FWordSelected) {
        FScrollDeltaX = FScrollDeltaY = 0;
        return;
    }
    ComputeScroll(x, y, FScrollDeltaX, FScrollDeltaY);
    TDisplayCoord d = PixelsToNearestRowColumn(x, y);
    d.Row = std::min(d.Row, std::max(DisplayLineCount(), 1));
    const TDisplayCoord caret = DisplayXY();
    if (FScrollDeltaX != 0) d.Column = caret.Column;
    if (FScrollDeltaY != 0) d.Row = caret.Row;
    TUpdate update(*this);
    SetCaretXYEx(false, DisplayToBufferPos(d));
    SetBlockEnd(CaretXY());
}

void TNoteEditCore::HandleMouseUp(int button, TNoteShiftState shift, int x, int y) {
    FKbdHandler.ExecuteMouseUp(this, button, shift, x, y);
    if (std::exchange(FGutterClickPossible, false) && x < FGutterWidth && button != 1) DoGutterClick(button, x, y);
    if (FDragPending && button == 0 && !FWordSelected) {
        // No drag came of the press: a plain click at the release point.
        TUpdate update(*this);
        SetCaretXYEx(true, DropPointAt(x, y));
        if (shift & NoteShift::Shift) SetBlockEnd(CaretXY());
        else SetBlockBegin(CaretXY());
    }
    FDragPending = false;
    FMouseSelecting = false;
    FScrollDeltaX = FScrollDeltaY = 0;
}

void TNoteEditCore::HandleDblClick(int x, int) {
    if (x < FGutterWidth + 2) return;
    if (!HasOption(eoNoSelection)) SetWordBlock(CaretXY());
    FWordSelected = true;
    FMouseSelecting = false;
}

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

int TNoteEditCore::MouseCursorAt(int x, int y, int controlCursor, bool captured) {
    TDisplayCoord d = PixelsToRowColumn(x, y);
    const TBufferCoord pos = DisplayToBufferPos(d);
    int cursor = controlCursor;
    if (x < FGutterWidth) cursor = FGutter.Cursor();
    else if (HasOption(eoDragDropEditing) && !captured && IsPointInSelection(pos)) cursor = 1;  // crArrow
    FKbdHandler.ExecuteMouseCursor(this, pos, cursor);
    if (OnMouseCursor) OnMouseCursor(this, pos, cursor);
    return cursor;
}

void TNoteEditCore::ComputeScroll(int x, int y, int& dx, int& dy) const {
    dx = dy = 0;
    if (FCharWidth <= 0 || FLineHeight <= 0) return;
    TRect r = Bounds(FGutterWidth, 0, FCharsInWindow * FCharWidth, FLinesInWindow * FLineHeight);
    if (FBorderNone) r = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    if (x < r.Left) dx = (x - r.Left) / FCharWidth - 1;
    else if (x >= r.Right) dx = (x - r.Right) / FCharWidth + 1;
    if (y < r.Top) dy = (y - r.Top) / FLineHeight - 1;
    else if (y >= r.Bottom) dy = (y - r.Bottom) / FLineHeight + 1;
}

void TNoteEditCore::AutoScrollStep(int x, int y, bool shiftHeld, bool captured) {
    TDisplayCoord d = PixelsToRowColumn(x, y);
    const int rows = std::max(DisplayLineCount(), 1);
    d.Row = ClampInt(d.Row, 1, rows);
    if (FScrollDeltaX != 0) {
        SetLeftChar(FLeftChar + FScrollDeltaX);
        d.Column = FLeftChar + (FScrollDeltaX > 0 ? FCharsInWindow : 0);
    }
    if (FScrollDeltaY != 0) {
        SetTopLine(FTopLine + (shiftHeld ? FScrollDeltaY * FLinesInWindow : FScrollDeltaY));
        d.Row = ClampInt(FTopLine + (FScrollDeltaY > 0 ? FLinesInWindow - 1 : 0), 1, rows);
    }
    const TBufferCoord pos = DisplayToBufferPos(d);
    if (pos != CaretXY()) {
        TUpdate update(*this);
        SetCaretXYEx(false, pos);
        if (captured) SetBlockEnd(CaretXY());
    }
    ComputeScroll(x, y, FScrollDeltaX, FScrollDeltaY);
}

//--- Scroll bars

namespace {
void ScaleAndArrows(TNoteScrollBarInfo& info, bool disableArrows) {
    const int realMax = info.Max;
    const bool full = info.Page >= realMax;
    if (realMax > 32767) {
        info.Page = static_cast<int>(static_cast<long long>(32767) * info.Page / realMax);
        info.Pos = static_cast<int>(static_cast<long long>(32767) * info.Pos / realMax);
        info.Max = 32767;
    }
    if (disableArrows || full) {
        info.EnableUp = info.Pos > 1;
        info.EnableDown = info.Pos + info.Page <= info.Max;
    }
}
}  // namespace

TNoteScrollBarInfo TNoteEditCore::HorzScrollBar() const {
    TNoteScrollBarInfo info;
    info.HideWhenFull = HasOption(eoHideShowScrollbars);
    if (FScrollBars != ssHorizontal && FScrollBars != ssBoth) return info;
    const int wrapWidth = FWrapPlugin ? WrapWidth() : INT_MAX;
    info.Visible = wrapWidth > FCharsInWindow;
    if (HasOption(eoScrollPastEol)) info.Max = FMaxScrollWidth;
    else if (FWrapPlugin) info.Max = wrapWidth;
    else info.Max = std::max(const_cast<TNoteEditStringList&>(*FLines).LongestLineLength(), 1);
    info.Page = FCharsInWindow;
    info.Pos = FLeftChar;
    if (info.HideWhenFull && info.Page >= info.Max) info.Visible = false;
    ScaleAndArrows(info, HasOption(eoDisableScrollArrows));
    return info;
}

TNoteScrollBarInfo TNoteEditCore::VertScrollBar() const {
    TNoteScrollBarInfo info;
    info.HideWhenFull = HasOption(eoHideShowScrollbars);
    if (FScrollBars != ssVertical && FScrollBars != ssBoth) return info;
    info.Visible = true;
    info.Max = DisplayLineCount();
    if (HasOption(eoScrollPastEof)) info.Max += FLinesInWindow - 1;
    info.Max = std::max(info.Max, 1);
    info.Page = FLinesInWindow;
    info.Pos = FTopLine;
    if (info.HideWhenFull && info.Page >= info.Max) info.Visible = false;
    ScaleAndArrows(info, HasOption(eoDisableScrollArrows));
    return info;
}
