#pragma once
// The editor control's rules that need no window: geometry (row height with the notebook
// line spacing, columns and rows in the window, the first visible column and row), the
// conversions between buffer, display and pixel positions (tab expansion and word wrap),
// the caret and selection rules over GBK bytes, update nesting and status reports, the
// scroll bar values, the mouse and key handling, text input with its undo records, and
// the paint plan: what one paint pass draws for a given state. The window shell measures
// the font, gives the client size and carries out what the host interface asks.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/NoteEditKbdHandler.h"
#include "editor/core/NoteEditKeyCmds.h"
#include "editor/core/NoteEditMarks.h"
#include "editor/core/NoteEditMiscClasses.h"
#include "editor/core/NoteEditTextBuffer.h"
#include "editor/core/NoteEditUndoList.h"
#include "editor/core/NoteEditWordWrap.h"
#include "framework/rtl/Types.h"

enum TNoteEditorOption : std::uint8_t {
    eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxScrollWidth, eoDisableScrollArrows, eoDragDropEditing,
    eoDropFiles, eoEnhanceHomeKey, eoGroupUndo, eoHalfPageScroll, eoHideShowScrollbars, eoKeepCaretX, eoNoCaret,
    eoNoSelection, eoRightMouseMovesCursor, eoScrollByOneLess, eoScrollHintFollows, eoScrollPastEof,
    eoScrollPastEol, eoShowScrollHint, eoShowSpecialChars, eoSmartTabDelete, eoSmartTabs, eoSpecialLineDefaultFg,
    eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces
};
using TNoteEditorOptions = std::uint32_t;
constexpr TNoteEditorOptions NoteDefaultOptions = 0x3360092;
constexpr TNoteEditorOptions NoteOption(TNoteEditorOption o) { return TNoteEditorOptions(1) << o; }

using TNoteStatusChanges = std::uint16_t;
namespace NoteStatus {
constexpr TNoteStatusChanges All = 1, CaretX = 2, CaretY = 4, LeftChar = 8, TopLine = 16, InsertMode = 32,
                             Modified = 64, Selection = 128, ReadOnly = 256;
}

// Failures of the editor control (the clipboard exchange).
class ENoteEditError : public Exception {
public:
    using Exception::Exception;
};

enum TLineSpacingRule : std::uint8_t { lsSingle, lsOneAndHalf, lsDouble, lsSpecified };
enum TNoteScrollBars : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TNoteCaretType : std::uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

// Pixels added to the tallest character height for a spacing rule.
int NoteLineSpacingExtra(TLineSpacingRule rule, int charHeight, int lineSpacing);

// Typed UTF-16 text as GBK bytes; characters without a GBK form are left out.
std::string NoteUtf16ToGbk(std::u16string_view text);
// GBK bytes as UTF-16 units with one advance per unit: a double-byte character takes two
// cells, any other byte one.
void NoteGbkToCells(std::string_view gbk, int cellWidth, std::u16string& units, std::vector<int>& advances);

// One scroll bar as the window should show it.
struct TNoteScrollBarInfo {
    bool Visible = false;
    int Max = 1, Page = 1, Pos = 1;  // scaled to 32767 at most; Min is 1
    bool HideWhenFull = false;       // eoHideShowScrollbars: no disable-when-no-scroll flag
    bool EnableUp = true, EnableDown = true;
};

// The caret as the window should show it.
struct TNoteCaretShape {
    int Width = 2, Height = 0, OffsetX = -1, OffsetY = 0;
};

// What one paint pass draws, in client pixels, in order: gutter fill, margin strip, the rows
// (fills, text runs, right edge segment, divider), the area below the text.
struct TNotePaintRun {
    int X = 0;
    std::string Text;  // GBK bytes, tabs and NULs as blanks
    TNoteColor Foreground = 0, Background = 0;
    // eoShowSpecialChars: Text holds 0xB7 (a blank) or 0xB6 (the line's end) as Latin-1
    // signs, one cell each.
    bool Special = false;
};
struct TNotePaintFill {
    TRect Rect;
    TNoteColor Color = 0;
};
struct TNotePaintRow {
    int Row = 0, Line = 0;
    TRect Rect;
    int TextY = 0;
    std::vector<TNotePaintFill> Fills;  // the row's background behind and after the text
    std::vector<TNotePaintRun> Runs;
    bool Divider = false;
    int DividerY = 0, DividerLeft = 0, DividerRight = 0;
};
struct TNoteGutterNumber {
    TRect Rect;  // the row's number field: right-aligned, vertically centred text
    std::string Text;
};
// A glyph in the gutter: a mark's image (bookmark glyphs from the editor's own strip when
// Internal), the active-line indicator or the wrapped-row indicator, placed in its row.
enum TNoteGutterGlyphKind : std::uint8_t { ggMark, ggActiveLine, ggWrapped };
struct TNoteGutterGlyph {
    TNoteGutterGlyphKind Kind = ggMark;
    int X = 0, Top = 0;  // the row's top; the glyph is centred in the row height
    int Image = 0;
    bool Internal = false;
};
struct TNoteGutterRow {  // OnGutterPaint is called for each
    int Line = 0, X = 0, Y = 0;
};
struct TNotePaintPlan {
    int FirstRow = 0, LastRow = 0, FirstColumn = 0, LastColumn = 0;
    bool Gutter = false;
    TRect GutterRect;
    TNoteColor GutterColor = 0;
    std::vector<TNoteGutterNumber> GutterNumbers;
    std::vector<TNoteGutterGlyph> GutterGlyphs;
    std::vector<TNoteGutterRow> GutterRows;
    TNoteGutterBorderStyle GutterBorder = gbsNone;
    bool Margin = false;
    TNotePaintFill MarginFill;
    std::vector<TNotePaintRow> Rows;
    bool Below = false;
    TNotePaintFill BelowFill;
    bool RightEdge = false;
    int RightEdgeX = 0;
};

enum TNoteTransientType : std::uint8_t { ttBefore, ttAfter };

// What the window shell does for the core.
class INoteEditHost {
public:
    virtual bool HostHasWindow() const = 0;
    virtual bool HostFocused() const = 0;
    virtual void HostInvalidate(const TRect& rect) = 0;
    virtual void HostScroll(int dx, int dy, const TRect& area) = 0;
    virtual void HostUpdateScrollBars() = 0;
    virtual void HostUpdateCaret() = 0;
    virtual void HostRecreateCaret() = 0;
    // The clipboard: the text with its selection mode. Paste answers false when the
    // clipboard holds no text; withMode tells whether the mode came with it.
    virtual void HostCopyToClipboard(const std::string&, TNoteSelectionMode) {}
    virtual bool HostPasteFromClipboard(std::string&, TNoteSelectionMode&, bool&) { return false; }
    virtual void HostDropFilesChanged(bool) {}
    // The highlighter's styles changed the cell: measure the font again.
    virtual void HostRemeasure() {}
    // OnPaintTransient around a change of what is shown (nested calls fire once).
    virtual void HostPaintTransient(TNoteTransientType) {}

protected:
    ~INoteEditHost() = default;
};

using TNoteStatusEvent = std::function<void(void* Sender, TNoteStatusChanges Changes)>;
using TNoteSpecialLineColorsEvent =
    std::function<void(void* Sender, int Line, bool& Special, TNoteColor& Foreground, TNoteColor& Background)>;
using TNoteProcessCommandEvent =
    std::function<void(void* Sender, TNoteEditorCommand& Command, char& AChar, void* Data)>;
// A command hook runs before (AfterProcessing false; Handled swallows the command) and
// after the editor's own handling.
using TNoteHookedCommandEvent = std::function<void(void* Sender, bool AfterProcessing, bool& Handled,
                                                   TNoteEditorCommand& Command, char& AChar, void* Data,
                                                   void* HandlerData)>;
using TNoteContextHelpEvent = std::function<void(void* Sender, const std::string& Word)>;
// A bookmark about to be placed or cleared; setting Mark to nil refuses the placing.
using TNotePlaceMarkEvent = std::function<void(void* Sender, TNoteEditMark*& Mark)>;
// Button: 0 left, 1 right, 2 middle. Mark: the mark whose glyph lies under X, or nil.
using TNoteGutterClickEvent = std::function<void(void* Sender, int Button, int X, int Y, int Line, TNoteEditMark* Mark)>;
using TNoteGutterGetTextEvent = std::function<void(void* Sender, int Line, std::string& Text)>;
using TNoteGutterPaintEvent = std::function<void(void* Sender, int Line, int X, int Y)>;
using TNoteMouseCursorEvent = std::function<void(void* Sender, const TBufferCoord& LineCharPos, int& Cursor)>;
enum TNoteReplaceAction : std::uint8_t { raCancel, raSkip, raReplace, raReplaceAll };
using TNoteReplaceTextEvent = std::function<void(void* Sender, const std::string& Search, const std::string& Replace,
                                                 int Line, int Column, TNoteReplaceAction& Action)>;

class TNoteCustomHighlighter;
// The search engine slot: no engine exists here; an engine tells the editors that hold it
// when it goes, so that none keeps a dangling reference.
class TNoteEditSearchCustom {
public:
    TNoteEditSearchCustom() = default;
    TNoteEditSearchCustom(const TNoteEditSearchCustom&) = delete;
    TNoteEditSearchCustom& operator=(const TNoteEditSearchCustom&) = delete;
    virtual ~TNoteEditSearchCustom();
    void AddFreeNotification(void* id, std::function<void()> handler);
    void RemoveFreeNotification(void* id);
    int FreeNotificationCount() const { return static_cast<int>(FFreeNotifies.size()); }

private:
    std::vector<std::pair<void*, std::function<void()>>> FFreeNotifies;
};

// A paint plug-in: told of inserted and deleted lines, and called after each paint with
// the canvas (the shell's), the clip and the first and last painted line.
class TNoteEditPlugin {
public:
    virtual ~TNoteEditPlugin() = default;
    virtual void AfterPaint(void* Canvas, const TRect& Clip, int FirstLine, int LastLine) = 0;
    virtual void LinesInserted(int FirstLine, int Count) = 0;
    virtual void LinesDeleted(int FirstLine, int Count) = 0;
};

// The dispatcher hears of focus changes (no executor case).
constexpr TNoteEditorCommand ecGotFocus = 480, ecLostFocus = 481;

// Case mapping of ASCII letters; double-byte characters stay whole.
enum TNoteCaseMap : std::uint8_t { cmUpper, cmLower, cmToggle, cmTitle };
std::string NoteMapCase(std::string_view text, TNoteCaseMap map);

class TNoteEditCore : public INoteWrapHost {
public:
    TNoteNotifyEvent OnChange;
    TNoteStatusEvent OnStatusChange;
    TNoteSpecialLineColorsEvent OnSpecialLineColors;
    TNoteProcessCommandEvent OnProcessCommand, OnProcessUserCommand, OnCommandProcessed;
    TNoteContextHelpEvent OnContextHelp;
    TNotePlaceMarkEvent OnPlaceBookmark, OnClearBookmark;
    TNoteGutterClickEvent OnGutterClick;
    TNoteGutterGetTextEvent OnGutterGetText;
    TNoteGutterPaintEvent OnGutterPaint;
    TNoteMouseCursorEvent OnMouseCursor;
    TNoteReplaceTextEvent OnReplaceText;

    explicit TNoteEditCore(INoteEditHost& host);
    TNoteEditCore(const TNoteEditCore&) = delete;
    TNoteEditCore& operator=(const TNoteEditCore&) = delete;
    virtual ~TNoteEditCore();

    // Owned objects.
    TNoteEditStringList& Lines() { return *FLines; }
    const TNoteEditStringList& Lines() const { return *FLines; }
    TNoteEditUndoList& UndoList() { return FUndoList; }
    TNoteEditUndoList& RedoList() { return FRedoList; }
    TNoteRightEdge& RightEdge() { return FRightEdge; }
    const TNoteRightEdge& RightEdge() const override { return FRightEdge; }
    TNoteLineDivider& LineDivider() { return FLineDivider; }
    TNoteActiveLine& ActiveLine() { return FActiveLine; }
    TNoteWordWrap& WordWrap() { return FWordWrap; }
    const TNoteWordWrap& WordWrap() const override { return FWordWrap; }
    TNoteSelectedColor& SelectedColor() { return FSelectedColor; }
    TNoteGutter& Gutter() { return FGutter; }
    TNoteEditKeyStrokes& Keystrokes() { return FKeystrokes; }
    TNoteEditKbdHandler& KbdHandler() { return FKbdHandler; }
    const TNoteWordWrapPlugin* WrapPlugin() const { return FWrapPlugin.get(); }

    // Text.
    std::string GetText() const { return FLines->Text(); }
    void SetTextBytes(std::string_view text);
    std::string LineText() const { return FLines->Get(FCaretY - 1); }

    // Plain properties.
    TNoteEditorOptions Options() const { return FOptions; }
    void SetOptions(TNoteEditorOptions value);
    bool HasOption(TNoteEditorOption o) const { return (FOptions & NoteOption(o)) != 0; }
    int TabWidth() const { return FLines->TabWidth(); }
    void SetTabWidth(int value);
    int MaxScrollWidth() const { return FMaxScrollWidth; }
    void SetMaxScrollWidth(int value);
    int MaxUndo() const { return FUndoList.MaxItems(); }
    void SetMaxUndo(int value);
    bool InsertMode() const { return FInsertMode; }
    void SetInsertMode(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    TNoteScrollBars ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TNoteScrollBars value);
    TNoteCaretType InsertCaret() const { return FInsertCaret; }
    void SetInsertCaret(TNoteCaretType value);
    TNoteCaretType OverwriteCaret() const { return FOverwriteCaret; }
    void SetOverwriteCaret(TNoteCaretType value);
    int LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int value);
    TLineSpacingRule LineSpacingRule() const { return FLineSpacingRule; }
    void SetLineSpacingRule(TLineSpacingRule value);
    int BlockWidth() const { return FBlockWidth; }
    void SetBlockWidth(int value) { FBlockWidth = value; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool value) { FWantReturns = value; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }
    bool BorderNone() const { return FBorderNone; }
    void SetBorderNone(bool value) { FBorderNone = value; }
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    // Colours of the text area (the control's Color and Font.Color).
    TNoteColor BackColor() const { return FBackColor; }
    void SetBackColor(TNoteColor value);
    TNoteColor TextColor() const { return FTextColor; }
    void SetTextColor(TNoteColor value);

    // Geometry. The shell gives the measured cell (CharMetricsChanged) and the client size.
    int CharWidth() const { return FCharWidth; }
    int CharHeight() const { return FCharHeight; }
    int LineHeight() const { return FLineHeight; }
    int ViewWidth() const { return FClientWidth; }
    int ViewHeight() const { return FClientHeight; }
    int CharsInWindow() const override { return FCharsInWindow; }
    int LinesInWindow() const { return FLinesInWindow; }
    int GutterWidth() const { return FGutterWidth; }
    int TextOffset() const { return FTextOffset; }
    int LeftChar() const { return FLeftChar; }
    void SetLeftChar(int value);
    int TopLine() const { return FTopLine; }
    void SetTopLine(int value);
    void CharMetricsChanged(int charWidth, int charHeight);
    void ViewSizeChanged(int width, int height);
    void SizeOrFontChanged(bool fontChanged);
    int DisplayLineCount() const;
    int WrapWidth() const;
    TNoteCaretShape CaretShape() const;

    // Positions.
    TDisplayCoord BufferToDisplayPos(const TBufferCoord& p) const;
    TBufferCoord DisplayToBufferPos(const TDisplayCoord& p) const;
    TDisplayCoord PixelsToRowColumn(int x, int y) const;
    TDisplayCoord PixelsToNearestRowColumn(int x, int y) const;
    TPoint RowColumnToPixels(const TDisplayCoord& p) const;
    // The caret's pixel position with the shape offset; false when it lies outside the text area.
    bool CaretPixelPos(TPoint& p) const;

    // Caret and selection.
    int CaretX() const { return FCaretX; }
    int CaretY() const { return FCaretY; }
    TBufferCoord CaretXY() const { return {FCaretX, FCaretY}; }
    TDisplayCoord DisplayXY() const;  // at the end of the upper row when the caret is shown there
    void SetCaretXY(const TBufferCoord& p) { SetCaretXYEx(true, p); }
    void SetCaretXYEx(bool forceToVisible, TBufferCoord p);
    void SetCaretAndSelection(const TBufferCoord& caret, const TBufferCoord& blockBegin, const TBufferCoord& blockEnd);
    void MoveCaretAndSelection(const TBufferCoord& from, const TBufferCoord& to, bool selecting);
    void MoveCaretHorz(int dx, bool selecting);
    void MoveCaretVert(int dy, bool selecting);
    void EnsureCursorPosVisible(bool center = false);
    TBufferCoord BlockBegin() const;  // the earlier anchor
    TBufferCoord BlockEnd() const;    // the later anchor
    TBufferCoord BlockAnchor() const { return FBlockBegin; }
    TBufferCoord BlockCaret() const { return FBlockEnd; }
    void SetBlockBegin(TBufferCoord p);
    void SetBlockEnd(TBufferCoord p);
    bool SelAvail() const;
    TNoteSelectionMode SelectionMode() const { return FSelectionMode; }
    void SetSelectionMode(TNoteSelectionMode value);
    std::string SelText() const;
    bool IsPointInSelection(const TBufferCoord& p) const;
    void SelectAll();
    // Double-click word: the run of characters of one class around p.
    void SetWordBlock(TBufferCoord p);
    TBufferCoord WordStartAt(const TBufferCoord& p) const;
    TBufferCoord WordEndAt(const TBufferCoord& p) const;
    TBufferCoord NextWordPos(const TBufferCoord& p) const;
    TBufferCoord PrevWordPos(const TBufferCoord& p) const;

    // Update nesting and status reports.
    void BeginUpdate();
    void EndUpdate();
    int PaintLock() const { return FPaintLock; }
    void StatusChanged(TNoteStatusChanges changes);

    // Commands and input.
    TNoteEditorCommand TranslateKey(std::uint16_t key, TNoteShiftState shift);
    virtual void CommandProcessor(TNoteEditorCommand command, char aChar, void* data);
    // Hooks in the order added; the answer identifies the hook for its removal.
    int AddCommandHook(TNoteHookedCommandEvent handler, void* handlerData);
    void RemoveCommandHook(int id);
    // Typed UTF-16 units (WM_CHAR, an input-method result): ASCII goes as ecChar, other
    // characters as their GBK bytes through ecImeStr.
    void TypeUtf16(std::u16string_view text);
    bool ProcessKeyDown(std::uint16_t key, TNoteShiftState shift);  // true when consumed
    // The character of a consumed key was taken away already: no character to drop.
    void ClearLastKeyConsumed() { FLastKeyConsumed = false; }
    void ProcessKeyPress(char key);
    // Empties the buffer, the marks and both undo lists; not modified.
    void ClearAll();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const { return !FReadOnly && FUndoList.HasItems(); }
    // Replaces the selection by text as one undo group; without undo the lists are
    // cleared, so no recorded item refers to text that changed under it.
    void ReplaceSelText(const std::string& text, bool canUndo);
    // The bracket matching the one at p, or {0, 0}.
    TBufferCoord MatchingBracket(const TBufferCoord& p) const;
    // The text between two positions in reading order, lines joined by CR LF.
    std::string TextBetween(const TBufferCoord& from, const TBufferCoord& to) const;

    // Character offsets counting each line break as two.
    int RowColToCharIndex(const TBufferCoord& p) const;
    TBufferCoord CharIndexToRowCol(int index) const;
    // The buffer position under a client point: column 1 beyond the last line, the line's
    // length + 1 beyond its end.
    TBufferCoord CharFromPos(int x, int y) const;
    // One wheel message: the delta is added to the carried remainder and whole notches
    // scroll by the lines per notch.
    void MouseWheel(int delta, bool ctrl, int systemLines);

    // Bookmarks 0..9, kept as marks: they follow inserted and deleted lines and columns.
    void SetBookMark(int number, int column, int line);
    void GotoBookMark(int number);
    void ClearBookMark(int number);
    bool GetBookMark(int number, int& column, int& line) const;
    TNoteBookMarkOpt& BookMarkOptions() { return FBookMarkOptions; }
    TNoteEditMarkList& Marks() { return FMarks; }
    const TNoteEditMarkList& Marks() const { return FMarks; }
    // Removes every mark, the bookmarks with them.
    void ClearMarks();
    void InvalidateGutterLines(int firstLine, int lastLine);
    // The mark whose gutter glyph spans x on a line, or nil; a click fires OnGutterClick.
    TNoteEditMark* GutterMarkAt(int line, int x) const;
    virtual void DoGutterClick(int button, int x, int y);
    // OnReplaceText for a found text; raReplace when no handler is set.
    virtual TNoteReplaceAction DoOnReplaceText(const std::string& search, const std::string& replace, int line,
                                               int column);

    // The highlighter and the search engine: references, cleared when the object goes.
    TNoteCustomHighlighter* Highlighter() const { return FHighlighter; }
    void SetHighlighter(TNoteCustomHighlighter* value);
    TNoteEditSearchCustom* SearchEngine() const { return FSearchEngine; }
    void SetSearchEngine(TNoteEditSearchCustom* value);
    // The font styles (NoteFontStyle bold and italic bits) whose cells set the grid: the
    // highlighter's attributes', or Font.Style's alone.
    std::vector<std::uint8_t> StylesInUse(std::uint8_t fontStyle) const;

    // Paint plug-ins, owned by the editor.
    void AddPlugin(std::unique_ptr<TNoteEditPlugin> plugin);
    int PluginCount() const { return static_cast<int>(FPlugins.size()); }
    TNoteEditPlugin* Plugin(int index) const { return FPlugins[static_cast<size_t>(index)].get(); }

    // Mouse (shift carries the button bits); MouseDown answers whether to capture.
    bool HandleMouseDown(int button, TNoteShiftState shift, int x, int y);
    void HandleMouseMove(TNoteShiftState shift, int x, int y, bool captured);
    void HandleMouseUp(int button, TNoteShiftState shift, int x, int y);
    void HandleDblClick(int x, int y);
    // Text drag and drop: a press inside the selection leaves a drag pending until the
    // mouse moves the drag distance (the shell then drags) or comes up (a plain click).
    bool DragPending() const { return FDragPending; }
    void StartDrag() { FDragPending = false; }
    // While text is dragged over this editor the caret follows the mouse.
    void DragOverPoint(int x, int y);
    // While this editor's own text is dragged over it: the caret follows the mouse within
    // the visible rows and columns, and the auto-scroll deltas follow the mouse.
    void DragWithinPoint(int x, int y);
    TBufferCoord DropPointAt(int x, int y) const;
    // Drops the source's selection at a point: moved or copied, as one undo group on each
    // list; the dropped text ends up selected. Nothing when the drop point lies inside the
    // selection (at its start or end too, when moving within one editor).
    void DropFrom(TNoteEditCore& source, TBufferCoord point, bool move);
    // Auto-scroll while selecting: the deltas for a mouse position, and one timer step.
    void ComputeScroll(int x, int y, int& dx, int& dy) const;
    int ScrollDeltaX() const { return FScrollDeltaX; }
    int ScrollDeltaY() const { return FScrollDeltaY; }
    void AutoScrollStep(int x, int y, bool shiftHeld, bool captured);
    // The mouse cursor over a point (framework cursor numbers): the gutter's in the gutter,
    // the arrow over a selection that can be dragged, else the control's.
    int MouseCursorAt(int x, int y, int controlCursor, bool captured);

    // Scroll bars and painting.
    TNoteScrollBarInfo HorzScrollBar() const;
    TNoteScrollBarInfo VertScrollBar() const;
    TNotePaintPlan PlanPaint(const TRect& clip, bool focused) const;
    // The gutter part of a plan and one text row of it.
    void PlanGutter(TNotePaintPlan& plan, const TRect& clip) const;
    void PaintTextRow(TNotePaintPlan& plan, const TRect& r, int row, int caretRow, bool showSelection,
                      TNoteTabCursor& tabs) const;

    // Repaint requests in display rows and buffer lines.
    void InvalidateRect(const TRect& r);
    void InvalidateRows(int firstRow, int lastRow);
    void InvalidateLines(int firstLine, int lastLine);
    void InvalidateGutter();
    void InvalidateAll();

    // INoteWrapHost.
    TNoteEditStringList& WrapLines() override { return *FLines; }
    TNoteByteSet IdentChars() const override;

protected:
    // A change of BookMarkOptions: the gutter is repainted.
    virtual void BookMarkOptionsChanged();
    virtual void RunEditorCommand(TNoteEditorCommand command, char aChar, void* data);
    void InsertText(const std::string& text);  // replaces the selection, records undo
    // In the selection's mode, records undo: reason DeleteSel, or DeleteBackwardSel for a
    // selection made backwards when asked. Answers where each line's piece of a column block
    // was cut.
    std::vector<int> DeleteSelection(bool backwardsReason = false);
    // Inserts a column block (at the columns a deletion answered, on the lines that reach
    // them); records only the padding it adds, when asked.
    TBufferCoord InsertColumn(const TBufferCoord& at, const std::string& text, bool recordPadding = false,
                              const std::vector<int>& columns = {});
    // Pads the line with blanks up to the column of at, recorded as added blanks.
    TBufferCoord PadLineTo(const TBufferCoord& at);
    TBufferCoord PointAfterDeletion(TBufferCoord point) const;
    bool ReplayMirrored(const TNoteEditUndoItem& item, bool undo);
    TBufferCoord InsertItemText(const TNoteEditUndoItem& item);
    void UndoItem(const TNoteEditUndoItem& item);
    void RedoItem(const TNoteEditUndoItem& item);
    void Replay(bool undo);
    void Undo();
    void Redo();
    // The editing commands.
    void DeleteLastChar();
    void DeleteChar();
    void DeleteRangeRecorded(TNoteChangeReason reason, const TBufferCoord& from, const TBufferCoord& to,
                             const TBufferCoord& caret);
    void LineBreak(bool moveCaret);
    void TypeChar(char c);
    void InsertTab();
    void ShiftTab();
    void BlockIndent(bool indent);
    void ApplyIndent(TNoteChangeReason reason, const TBufferCoord& anchor, const TBufferCoord& caret,
                     const std::string& pieces, bool reverse);
    void ChangeCase(TNoteEditorCommand command);
    void ScrollByLine(int delta);
    // Cuts a line's trailing blanks, recorded under reason so that undo restores them.
    void TrimLine(int line, TNoteChangeReason reason = NoteChange::DeleteAfter);
    int LineIndent(int line) const;  // columns of leading blanks

private:
    class TUpdate;
    class TNoteTransient;
    void HookLines();
    void LinesChanging();
    void LinesChanged();
    void LinesCleared();
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    void LineReplaced(int index, int count);
    void UndoAdded(TNoteEditUndoList& list);
    void MarksFollowLines();
    // The mark of bookmark number in the list (marks taken out of the list are gone).
    TNoteEditMark* BookMarkMark(int number) const;
    void HighlighterChanged();
    void WordWrapChanged();
    void RightEdgeChanged();
    void FontChangedRoutine();
    void RecalcLineHeight();
    void UpdateScrollBars();
    void UpdateCaret();
    void DoChange();
    void SetBlockEndEx(TBufferCoord p, bool collapse);
    TBufferCoord ClampBlockPos(TBufferCoord p) const;
    bool CaretOnTrailByte(const TBufferCoord& p) const;
    void KeepCaretWhole();
    // Selected display columns of a row: [first, last) or none; toEnd when the selection
    // runs past the row's end.
    bool RowSelection(int row, int line, int rowLength, int& first, int& last, bool& toEnd) const;
    void DeleteRange(const TBufferCoord& from, const TBufferCoord& to);  // normal mode, no undo
    TBufferCoord InsertAt(const TBufferCoord& at, const std::string& text);  // normal mode, no undo

    INoteEditHost& FHost;
    std::unique_ptr<TNoteEditStringList> FLines;
    TNoteEditUndoList FUndoList, FRedoList;
    TNoteRightEdge FRightEdge;
    TNoteLineDivider FLineDivider;
    TNoteActiveLine FActiveLine;
    TNoteWordWrap FWordWrap;
    TNoteSelectedColor FSelectedColor;
    TNoteGutter FGutter;
    TNoteEditKeyStrokes FKeystrokes;
    TNoteEditKbdHandler FKbdHandler;
    std::unique_ptr<TNoteWordWrapPlugin> FWrapPlugin;

    TNoteEditorOptions FOptions = NoteDefaultOptions;
    int FMaxScrollWidth = 1024;
    bool FInsertMode = true, FReadOnly = false, FHideSelection = false;
    TNoteScrollBars FScrollBars = ssBoth;
    TNoteCaretType FInsertCaret = ctVerticalLine, FOverwriteCaret = ctBlock;
    int FLineSpacing = 0;
    TLineSpacingRule FLineSpacingRule = lsSingle;
    int FBlockWidth = 2;
    bool FWantReturns = true, FWantTabs = false, FBorderNone = false;
    bool FModified = false;
    TNoteColor FBackColor = NoteColor::Window, FTextColor = NoteColor::WindowText;

    int FCharWidth = 0, FCharHeight = 0, FLineHeight = 0;
    int FClientWidth = 0, FClientHeight = 0;
    int FCharsInWindow = 0, FLinesInWindow = 0;
    int FGutterWidth = 0, FTextOffset = 2;
    int FLeftChar = 1, FTopLine = 1;

    int FCaretX = 1, FCaretY = 1, FLastCaretX = 1;
    bool FCaretAtEndOfRow = false, FVertAdjusted = false;
    TBufferCoord FBlockBegin{1, 1}, FBlockEnd{1, 1};
    TNoteSelectionMode FSelectionMode = smNormal;

    int FPaintLock = 0;
    int FLockedCaretRow = 0;
    TNoteStatusChanges FStatusChanges = 0;
    bool FCaretUpdatePending = false, FScrollUpdatePending = false, FLinesChanging = false;
    bool FInReplay = false;
    bool FHasPendingRect = false;
    TRect FPendingRect;

    std::uint16_t FPendingKey = 0;
    TNoteShiftState FPendingShift = 0;
    bool FLastKeyConsumed = false;
    bool FWordSelected = false, FMouseSelecting = false, FDragPending = false;
    int FScrollDeltaX = 0, FScrollDeltaY = 0;
    int FWheelAccumulator = 0;
    struct THook {
        int Id;
        TNoteHookedCommandEvent Handler;
        void* Data;
    };
    std::vector<THook> FHooks;
    int FNextHookId = 1;
    TNoteBookMarkOpt FBookMarkOptions;
    TNoteEditMarkList FMarks;
    TNoteCustomHighlighter* FHighlighter = nullptr;
    TNoteEditSearchCustom* FSearchEngine = nullptr;
    std::vector<std::unique_ptr<TNoteEditPlugin>> FPlugins;
    bool FGutterClickPossible = false;
};
