#include "editor/core/NoteEditCore.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "editor/core/NoteEditHighlighter.h"
#include "editor/core/NoteEditCoreInternal.h"
#include "framework/rtl/Encoding.h"

using namespace NoteEditDetail;

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
TNoteEditCore::TNoteEditCore(INoteEditHost& host)
    : FHost(host), FLines(std::make_unique<TNoteEditStringList>()), FWordWrap(), FKeystrokes(this),
      FBookMarkOptions(this) {
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
    FBookMarkOptions.OnChange = [this](void*) { BookMarkOptionsChanged(); };
    FMarks.OnChange = [this](void*) { InvalidateGutter(); };
    HookLines();
    FUndoList.OnAddedUndo = [this](void*) { UndoAdded(FUndoList); };
    FRedoList.OnAddedUndo = [this](void*) { UndoAdded(FRedoList); };
    FKeystrokes.ResetDefaults();
}

TNoteEditCore::~TNoteEditCore() {
    // The highlighter and the search engine may outlive the editor: they must not call back.
    if (FHighlighter) {
        FHighlighter->UnhookAttrChangeEvent({this, 1});
        FHighlighter->RemoveFreeNotification(this);
    }
    if (FSearchEngine) FSearchEngine->RemoveFreeNotification(this);
    FBookMarkOptions.OnChange = nullptr;
    FMarks.OnChange = nullptr;
    FLines->OnUpdateBegin = nullptr;
    FLines->OnUpdateEnd = nullptr;
    FLines->OnLinesCleared = nullptr;
    FLines->OnLinesDeleted = nullptr;
    FLines->OnLinesInserted = nullptr;
    FLines->OnLineReplaced = nullptr;
    FLines->OnLinePut = nullptr;
    FLines->OnLineSpliced = nullptr;
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
    FLines->OnLineSpliced = [this](void*, int index, int offset, int removed, int inserted) {
        if (FMarks.Count() > 0) FMarks.LineSpliced(index + 1, offset + 1, removed, inserted);
        if (FWrapPlugin) FWrapPlugin->LineSpliced(index, offset, removed, inserted);
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

//--- Update nesting

void TNoteEditCore::BeginUpdate() {
    if (FPaintLock++ == 0) FLockedCaretRow = DisplayXY().Row;
}

void TNoteEditCore::EndUpdate() {
    if (FPaintLock == 0) return;
    if (FPaintLock == 1) {
        try {
            KeepCaretWhole();
        } catch (...) {
            NoteHandleException();  // the update still ends
        }
    }
    if (--FPaintLock > 0) return;
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

// A change of the text can join the caret's byte to a lone lead byte in front of it: the
// caret then goes after the character so formed, where a click on it would put it.
void TNoteEditCore::KeepCaretWhole() {
    if (FCaretY > FLines->Count() || !CaretOnTrailByte(CaretXY())) return;
    const bool collapsed = FBlockBegin == FBlockEnd && FBlockEnd == CaretXY();
    SetCaretXYEx(false, {FCaretX + 1, FCaretY});
    if (collapsed) SetBlockBegin(CaretXY());
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

void TNoteEditCore::InvalidateGutter() {
    if (FGutterWidth > 0) InvalidateRect(Rect(0, 0, FGutterWidth, FClientHeight));
}

void TNoteEditCore::BookMarkOptionsChanged() { InvalidateGutter(); }

void TNoteEditCore::InvalidateAll() { InvalidateRect(Rect(0, 0, std::max(FClientWidth, 1), std::max(FClientHeight, 1))); }

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
