#pragma once
// The ruled plain-text editor control: the Win32 window over the editor core. It measures
// the font through the text drawer, paints the core's paint plan, keeps the caret, the
// scroll bars and the input-method window in step, and turns window messages into the
// core's input: typed UTF-16 becomes GBK bytes by the fixed code page 936 rule, so the
// control behaves the same whatever the host's ANSI code page.

#include <memory>
#include <string>
#include <vector>

#include "editor/core/NoteEditCore.h"
#include "editor/win/NoteEditGlyph.h"
#include "editor/win/NoteEditInternalImage.h"
#include "editor/win/NoteTextDrawer.h"
#include "framework/base/Timer.h"
#include "framework/win/Application.h"
#include "framework/win/Controls.h"
#include "framework/win/Forms.h"

using TNotePaintEvent = std::function<void(TObject* Sender, TCanvas& ACanvas)>;
using TNotePaintTransientEvent = std::function<void(TObject* Sender, TCanvas& Canvas, TNoteTransientType TransientType)>;
// Files dropped on the editor: the drop point in client pixels and the names (UTF-8).
using TNoteDropFilesEvent =
    std::function<void(TObject* Sender, int X, int Y, const std::vector<std::string>& AFiles)>;

enum TNoteScrollBarKind { sbHorizontal, sbVertical };
using TNoteScrollEvent = std::function<void(TObject* Sender, TNoteScrollBarKind ScrollBar)>;
// The scroll hint's text: the top line, or the first and last visible lines.
enum TNoteScrollHintFormat { shfTopLineOnly, shfTopToBottom };

// The private clipboard format: a mode byte (0 normal, 1 line, 2 column), the GBK text and
// a NUL. Copies put it beside CF_TEXT (GBK) and CF_UNICODETEXT.
UINT NoteEditClipboardFormat();

class TCustomNoteEdit : public TCustomControl, protected INoteEditHost, public TNoteEditCore {
public:
    TNotePaintEvent OnPaint;  // after the editor painted, on its canvas
    TNoteDropFilesEvent OnDropFiles;
    TNoteScrollEvent OnScroll;
    // Before and after a change of what is shown, and after each paint.
    TNotePaintTransientEvent OnPaintTransient;

    explicit TCustomNoteEdit(TComponent* AOwner);
    ~TCustomNoteEdit() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TTextDrawer& TextDrawer() { return *FTextDrawer; }
    // The whole text as UTF-8 (the buffer holds GBK).
    std::string TextUtf8() const;
    void SetTextUtf8(const std::string& text);
    // An input-method result string, inserted once as GBK.
    void InsertImeResult(std::u16string_view text);
    TColor ScrollHintColor() const { return FScrollHintColor; }
    void SetScrollHintColor(TColor value) { FScrollHintColor = value; }
    TNoteScrollHintFormat ScrollHintFormat() const { return FScrollHintFormat; }
    void SetScrollHintFormat(TNoteScrollHintFormat value) { FScrollHintFormat = value; }
    // Not read-only and the clipboard holds text.
    bool CanPaste() const;
    // Controls that take the focus in the editor's place: SetFocus gives it to the last one.
    void AddFocusControl(TWinControl* control);
    void RemoveFocusControl(TWinControl* control);
    void SetFocus();
    // The glyph painters of the active-line and wrapped-row indicators.
    TNoteGlyphPainter& ActiveLineGlyph() { return *FActiveLineGlyph; }
    TNoteGlyphPainter& WrapGlyph() { return *FWrapGlyph; }
    // Gives the drawer's font handles back (done a while after the last paint).
    void FreeTemporaries() { FTextDrawer->FreeTemporaries(); }
    // Calls made on the window's scroll bars so far (shown, values, arrows).
    int ScrollBarCalls() const { return FScrollBarCalls; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void FontChanged() override;
    void ColorChanged() override;
    void Ctl3DChanged() override;   // the single border: sunken with Ctl3D, else a flat line
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BookMarkOptionsChanged() override;
    // Text dragged between and within editors, through the framework's drag manager.
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;

    bool HostHasWindow() const override { return FHandle != nullptr; }
    bool HostFocused() const override { return FHandle && GetFocus() == FHandle; }
    void HostInvalidate(const TRect& rect) override;
    void HostScroll(int dx, int dy, const TRect& area) override;
    void HostUpdateScrollBars() override;
    void HostUpdateCaret() override;
    void HostRecreateCaret() override;
    void HostCopyToClipboard(const std::string& text, TNoteSelectionMode mode) override;
    bool HostPasteFromClipboard(std::string& text, TNoteSelectionMode& mode, bool& withMode) override;
    void HostDropFilesChanged(bool accept) override;
    void HostRemeasure() override { MeasureFont(); }
    void HostPaintTransient(TNoteTransientType type) override;

private:
    void MeasureFont();
    void PaintTransientAfterPaint();
    void PaintGutter(HDC dc, const TNotePaintPlan& plan);
    void PaintRow(HDC dc, const TNotePaintPlan& plan, const TNotePaintRow& row);
    void ScrollMessage(int bar, int code);
    void AutoScrollTimer(TObject* Sender);
    void UpdateAutoScroll();
    void DropFiles(WPARAM drop);  // an HDROP
    void ShowScrollHint(const SCROLLINFO& si);
    bool TextMessage(TMessage& m);
    size_t TextLengthUtf16();

    std::unique_ptr<TTextDrawer> FTextDrawer;
    std::unique_ptr<TNoteInternalImage> FBookmarkImage;  // made on first use
    TImageList* FLinkedBookmarkImages = nullptr;  // BookMarkOptions' list, free-notified
    std::unique_ptr<TNoteGlyphPainter> FActiveLineGlyph, FWrapGlyph;
    TTimer* FIdleTimer = nullptr;  // gives the font handles back when no paint came for a while
    int FPaintTransientLock = 0;
    std::vector<TWinControl*> FFocusControls;
    TTimer* FScrollTimer = nullptr;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCaretMade = false, FCaretShown = false;
    wchar_t FHighSurrogate = 0;
    bool FMeasuring = false, FUpdatingBars = false;
    // What the window's scroll bars were last given.
    struct TAppliedBar {
        bool Known = false, Shown = false, InfoKnown = false;
        UINT Mask = 0, Page = 0, Arrows = 0;
        int Max = 0, Pos = 0;
    };
    TAppliedBar FHorzBar, FVertBar;
    int FScrollBarCalls = 0;
    UINT FKeyScanCode = 0;  // scan code and extended bit of the key being handled
    bool FTextLengthKnown = false;
    std::uint64_t FTextLengthStamp = 0;
    size_t FTextLength = 0;
    POINT FMouseDownPoint{};
    THintWindow* FScrollHint = nullptr;  // made on first use
    TColor FScrollHintColor = clInfoBk;
    TNoteScrollHintFormat FScrollHintFormat = shfTopLineOnly;
};

class TNoteEdit : public TCustomNoteEdit {
public:
    using TCustomNoteEdit::TCustomNoteEdit;
};

// The editor the note windows place: it answers the multi-line edit control's EM_*
// messages too. Offsets count bytes, each line break as two.
class TNoteMemo : public TNoteEdit {
public:
    using TNoteEdit::TNoteEdit;

protected:
    void WndProc(TMessage& Message) override;
};
