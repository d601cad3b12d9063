#include "editor/win/NoteEdit.h"

#include <imm.h>
#include <shellapi.h>

#include <algorithm>
#include <windowsx.h>

#include "framework/rtl/Encoding.h"
#include "framework/win/Application.h"
#include "framework/win/ImgList.h"
#include "framework/win/WinUtil.h"

namespace {
TNoteShiftState NoteShiftOf(TShiftState s) {
    TNoteShiftState r = 0;
    if (s.Contains(ssShift)) r |= NoteShift::Shift;
    if (s.Contains(ssAlt)) r |= NoteShift::Alt;
    if (s.Contains(ssCtrl)) r |= NoteShift::Ctrl;
    if (s.Contains(ssLeft)) r |= NoteShift::Left;
    if (s.Contains(ssRight)) r |= NoteShift::Right;
    if (s.Contains(ssMiddle)) r |= NoteShift::Middle;
    if (s.Contains(ssDouble)) r |= NoteShift::Double;
    return r;
}

std::uint8_t StyleBitsOf(const TFont& font) {
    std::uint8_t s = 0;
    if (font.Style().Contains(fsBold)) s |= NoteFontStyle::Bold;
    if (font.Style().Contains(fsItalic)) s |= NoteFontStyle::Italic;
    return s;
}

}  // namespace

TCustomNoteEdit::TCustomNoteEdit(TComponent* AOwner) : TCustomControl(AOwner), TNoteEditCore(static_cast<INoteEditHost&>(*this)) {
    static const bool handlerSet = [] {
        SetNoteExceptionHandler([] { Application->HandleException(nullptr); });
        return true;
    }();
    (void)handlerSet;
    FMeasuring = true;
    Font().SetName("Courier New");
    Font().SetSize(10);
    Font().SetCharset(DEFAULT_CHARSET);
    FMeasuring = false;
    SetColor(clWindow);
    SetCursor(crIBeam);
    SetTabStop(true);
    SetBounds(0, 0, 200, 150);
    FTextDrawer = std::make_unique<TTextDrawer>(NoteFontStyle::Bold, &Font());
    FScrollTimer = new TTimer(this);
    FScrollTimer->SetEnabled(false);
    FScrollTimer->SetInterval(100);
    FScrollTimer->OnTimer = [this](TObject* sender) { AutoScrollTimer(sender); };
    FIdleTimer = new TTimer(this);
    FIdleTimer->SetEnabled(false);
    FIdleTimer->SetInterval(1000);
    FIdleTimer->OnTimer = [this](TObject*) {
        FIdleTimer->SetEnabled(false);
        if (!FTextDrawer->Drawing()) FTextDrawer->FreeTemporaries();
    };
    FActiveLineGlyph = std::make_unique<TNoteGlyphPainter>(ActiveLine().Indicator(), GetModuleHandleW(nullptr));
    FWrapGlyph = std::make_unique<TNoteGlyphPainter>(WordWrap().Indicator(), GetModuleHandleW(nullptr));
    MeasureFont();
}

TCustomNoteEdit::~TCustomNoteEdit() {
    if (FHandle) DestroyWnd();
}

void TCustomNoteEdit::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    SetBorderNone(value == bsNone);
    RecreateWnd();
}

void TCustomNoteEdit::ColorChanged() {
    TCustomControl::ColorChanged();
    SetBackColor(Color());
}

void TCustomNoteEdit::Ctl3DChanged() {
    if (FBorderStyle == bsSingle) RecreateWnd();
}

std::string TCustomNoteEdit::TextUtf8() const { return GbkToUtf8(GetText()); }

void TCustomNoteEdit::SetTextUtf8(const std::string& text) { SetTextBytes(Utf8ToGbk(text)); }

void TCustomNoteEdit::InsertImeResult(std::u16string_view text) {
    std::string gbk = NoteUtf16ToGbk(text);
    if (!gbk.empty()) CommandProcessor(ecImeStr, 0, gbk.data());
}

void TCustomNoteEdit::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.WinClassName = L"VorpenNoteEdit";
    p.ClassStyle = CS_DBLCLKS;
    p.Style |= WS_CLIPCHILDREN;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
        else p.Style |= WS_BORDER;
    }
}

void TCustomNoteEdit::CreateWnd() {
    FHorzBar = FVertBar = {};
    TCustomControl::CreateWnd();
    DragAcceptFiles(FHandle, TRUE);
    const TRect r = ClientRect();
    ViewSizeChanged(r.Width(), r.Height());
    MeasureFont();
    HostUpdateScrollBars();
}

void TCustomNoteEdit::DestroyWnd() {
    if (FHandle) DragAcceptFiles(FHandle, FALSE);
    TCustomControl::DestroyWnd();
}

// The cell of the font: a proportional font (or one whose wide glyphs are wider) is taken
// with its pitch forced to fixed, then measured in the styles in use.
void TCustomNoteEdit::MeasureFont() {
    if (FMeasuring || !FTextDrawer) return;
    FMeasuring = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FMeasuring};
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, Font().Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        if (tm.tmAveCharWidth != tm.tmMaxCharWidth && Font().Pitch() != fpFixed) Font().SetPitch(fpFixed);
    }
    FTextDrawer->SetBaseFont(&Font());
    // The cell: the largest of the styles in use (the highlighter's, else the font's own).
    const std::uint8_t style = StyleBitsOf(Font());
    int width = 0, height = 0;
    for (std::uint8_t s : StylesInUse(style)) {
        FTextDrawer->SetMeasuringStyle(s);
        width = std::max(width, FTextDrawer->CellWidth());
        height = std::max(height, FTextDrawer->CellHeight());
    }
    FTextDrawer->SetMeasuringStyle(style);
    FTextDrawer->SelectStyle(style);
    SetTextColor(Font().Color());
    CharMetricsChanged(std::max(width, FTextDrawer->CellWidth()), std::max(height, FTextDrawer->CellHeight()));
}

void TCustomNoteEdit::FontChanged() {
    MeasureFont();
    TCustomControl::FontChanged();
}

//--- Host

void TCustomNoteEdit::HostPaintTransient(TNoteTransientType type) {
    // Nested changes fire once: the outermost pair.
    if (type == ttBefore && FPaintTransientLock++ > 0) return;
    if (type == ttAfter && (FPaintTransientLock == 0 || --FPaintTransientLock > 0)) return;
    if (TNotePaintTransientEvent h = OnPaintTransient; h && FHandle) h(this, Canvas(), type);
}

void TCustomNoteEdit::PaintTransientAfterPaint() {
    // Only when no change is open: its own ttAfter follows.
    if (FPaintTransientLock != 0) return;
    if (TNotePaintTransientEvent h = OnPaintTransient; h && FHandle) h(this, Canvas(), ttAfter);
}

// The bookmark image list is linked for its free notification while the options hold it.
void TCustomNoteEdit::BookMarkOptionsChanged() {
    TImageList* images = BookMarkOptions().BookmarkImages();
    if (images != FLinkedBookmarkImages) {
        if (FLinkedBookmarkImages) RemoveFreeNotification(FLinkedBookmarkImages);
        FLinkedBookmarkImages = images;
        if (images) FreeNotification(images);
    }
    TNoteEditCore::BookMarkOptionsChanged();
}

void TCustomNoteEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent && AComponent == FLinkedBookmarkImages) {
        FLinkedBookmarkImages = nullptr;  // the list's destruction ends the link
        BookMarkOptions().SetBookmarkImages(nullptr);
    }
}

void TCustomNoteEdit::AddFocusControl(TWinControl* control) {
    if (control) FFocusControls.push_back(control);
}

void TCustomNoteEdit::RemoveFocusControl(TWinControl* control) { std::erase(FFocusControls, control); }

void TCustomNoteEdit::SetFocus() {
    if (!FFocusControls.empty()) FFocusControls.back()->SetFocus();
    else TCustomControl::SetFocus();
}

void TCustomNoteEdit::HostInvalidate(const TRect& rect) {
    if (!FHandle || !Visible()) return;
    RECT r = rect.ToRECT();
    ::InvalidateRect(FHandle, &r, FALSE);
}

void TCustomNoteEdit::HostScroll(int dx, int dy, const TRect& area) {
    RECT r = area.ToRECT();
    ScrollWindowEx(FHandle, dx, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
    HostUpdateCaret();
}

void TCustomNoteEdit::HostUpdateScrollBars() {
    // Showing a bar resizes the client, which updates the bars again.
    if (!FHandle || FUpdatingBars) return;
    FUpdatingBars = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FUpdatingBars};
    // Each call recomputes and repaints the window frame: only what changed is given.
    const auto apply = [&](int bar, const TNoteScrollBarInfo& info, bool wanted) {
        TAppliedBar& last = bar == SB_HORZ ? FHorzBar : FVertBar;
        const bool visible = wanted && info.Visible;
        if (!last.Known || last.Shown != visible) {
            last.Known = true;
            last.Shown = visible;
            last.InfoKnown = false;  // a bar shown again takes its values anew
            ++FScrollBarCalls;
            ShowScrollBar(FHandle, bar, visible);
        }
        if (!visible) return;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (info.HideWhenFull ? 0 : SIF_DISABLENOSCROLL);
        si.nMin = 1;
        si.nMax = info.Max;
        si.nPage = static_cast<UINT>(std::max(info.Page, 0));
        si.nPos = info.Pos;
        UINT arrows = ESB_ENABLE_BOTH;
        if (!info.EnableUp && !info.EnableDown) arrows = ESB_DISABLE_BOTH;
        else if (!info.EnableUp) arrows = ESB_DISABLE_LTUP;
        else if (!info.EnableDown) arrows = ESB_DISABLE_RTDN;
        if (last.InfoKnown && last.Mask == si.fMask && last.Max == si.nMax && last.Page == si.nPage &&
            last.Pos == si.nPos && last.Arrows == arrows)
            return;
        if (!last.InfoKnown || last.Mask != si.fMask || last.Max != si.nMax || last.Page != si.nPage ||
            last.Pos != si.nPos) {
            ++FScrollBarCalls;
            SetScrollInfo(FHandle, bar, &si, TRUE);
        }
        ++FScrollBarCalls;
        EnableScrollBar(FHandle, bar, arrows);
        last.InfoKnown = true;
        last.Mask = si.fMask;
        last.Max = si.nMax;
        last.Page = si.nPage;
        last.Pos = si.nPos;
        last.Arrows = arrows;
    };
    apply(SB_HORZ, HorzScrollBar(), ScrollBars() == ssHorizontal || ScrollBars() == ssBoth);
    apply(SB_VERT, VertScrollBar(), ScrollBars() == ssVertical || ScrollBars() == ssBoth);
}

void TCustomNoteEdit::HostRecreateCaret() {
    if (!HostFocused()) return;
    DestroyCaret();
    const TNoteCaretShape shape = CaretShape();
    FCaretMade = CreateCaret(FHandle, nullptr, std::max(shape.Width, 1), std::max(shape.Height, 1));
    FCaretShown = false;
    HostUpdateCaret();
}

void TCustomNoteEdit::HostUpdateCaret() {
    if (!FCaretMade || !FHandle) return;
    TPoint p;
    const bool visible = CaretPixelPos(p);
    SetCaretPos(p.X, p.Y);
    if (visible && !FCaretShown) FCaretShown = ShowCaret(FHandle);
    else if (!visible && FCaretShown) FCaretShown = !HideCaret(FHandle);
    if (HIMC imc = ImmGetContext(FHandle)) {
        COMPOSITIONFORM cf{};
        cf.dwStyle = CFS_POINT;
        cf.ptCurrentPos = {p.X, p.Y};
        ImmSetCompositionWindow(imc, &cf);
        ImmReleaseContext(FHandle, imc);
    }
}

//--- Messages

void TCustomNoteEdit::WndProc(TMessage& m) {
    if (TextMessage(m)) return;
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) FKeyScanCode = static_cast<UINT>((m.LParam >> 16) & 0x1FF);
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        m.Handled = true;
        return;
    case WM_SIZE: {
        TCustomControl::WndProc(m);
        const TRect r = ClientRect();
        ViewSizeChanged(r.Width(), r.Height());
        return;
    }
    case WM_SETFOCUS: {
        TFreeWatch watch;   // OnEnter, the editor's or a container's, may free the editor
        watch.Watch(this);
        TCustomControl::WndProc(m);
        if (watch.Gone(this)) return;
        CommandProcessor(ecGotFocus, 0, nullptr);
        HostRecreateCaret();
        if (HideSelection() && SelAvail()) InvalidateLines(BlockBegin().Line, BlockEnd().Line);
        return;
    }
    case WM_KILLFOCUS: {
        TFreeWatch watch;   // likewise OnExit
        watch.Watch(this);
        TCustomControl::WndProc(m);
        if (watch.Gone(this)) return;
        CommandProcessor(ecLostFocus, 0, nullptr);
        if (HostFocused()) return;
        if (FCaretMade) DestroyCaret();
        FCaretMade = FCaretShown = false;
        if (HideSelection() && SelAvail()) InvalidateLines(BlockBegin().Line, BlockEnd().Line);
        return;
    }
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (WantTabs() ? DLGC_WANTTAB : 0) |
                   (WantReturns() ? DLGC_WANTALLKEYS : 0);
        m.Handled = true;
        return;
    case WM_IME_COMPOSITION:
        // The result string is taken once here; leaving it to the default handling would
        // deliver it again as characters.
        if (m.LParam & GCS_RESULTSTR) {
            if (HIMC imc = ImmGetContext(FHandle)) {
                const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
                std::u16string text(bytes > 0 ? bytes / 2 : 0, u'\0');
                if (bytes > 0) ImmGetCompositionStringW(imc, GCS_RESULTSTR, text.data(), bytes);
                ImmReleaseContext(FHandle, imc);
                InsertImeResult(text);
            }
            m.Handled = true;
            return;
        }
        TCustomControl::WndProc(m);
        return;
    case WM_IME_CHAR: {
        const char16_t unit = static_cast<char16_t>(m.WParam);
        ClearLastKeyConsumed();
        TypeUtf16(std::u16string_view(&unit, 1));
        m.Handled = true;
        return;
    }
    case WM_IME_NOTIFY:
        if (m.WParam == IMN_SETOPENSTATUS)
            if (HIMC imc = ImmGetContext(FHandle)) {
                LOGFONTW lf = Font().LogFont();
                ImmSetCompositionFontW(imc, &lf);
                ImmReleaseContext(FHandle, imc);
            }
        TCustomControl::WndProc(m);
        return;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(FHandle, &p);
            const int cursor = MouseCursorAt(p.x, p.y, Cursor(), GetCapture() == FHandle);
            ::SetCursor(CursorHandle(cursor));
            m.Result = TRUE;
            m.Handled = true;
            return;
        }
        TCustomControl::WndProc(m);
        return;
    case WM_VSCROLL: case WM_HSCROLL:
        ScrollMessage(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(m.WParam));
        m.Handled = true;
        return;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        MouseWheel(GET_WHEEL_DELTA_WPARAM(m.WParam), (GET_KEYSTATE_WPARAM(m.WParam) & MK_CONTROL) != 0,
                   lines == WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines));
        if (FHandle) UpdateWindow(FHandle);
        if (TNoteScrollEvent h = OnScroll) h(this, sbVertical);
        m.Handled = true;
        return;
    }
    case WM_CAPTURECHANGED:
        FScrollTimer->SetEnabled(false);
        TCustomControl::WndProc(m);
        return;
    case WM_CANCELMODE:
        m.Handled = true;
        return;
    case WM_DROPFILES:
        DropFiles(m.WParam);
        m.Result = 0;
        m.Handled = true;
        return;
    case WM_SYSCHAR:
        // Alt+Backspace is the undo key: its character goes nowhere (no beep).
        if (m.WParam == VK_BACK && (m.LParam & (1 << 29))) {
            m.Handled = true;
            return;
        }
        TCustomControl::WndProc(m);
        return;
    default:
        TCustomControl::WndProc(m);
    }
}

void TCustomNoteEdit::ScrollMessage(int bar, int code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(FHandle, bar, &si);
    const bool vert = bar == SB_VERT;
    int page = vert ? LinesInWindow() : CharsInWindow();
    if (HasOption(eoScrollByOneLess)) --page;
    const int pos = vert ? TopLine() : LeftChar();
    int last = vert ? DisplayLineCount() : HorzScrollBar().Max;
    if (!vert && !HasOption(eoScrollPastEol)) last = Lines().LongestLineLength();
    else if (!vert) last = MaxScrollWidth() - CharsInWindow() + 1;
    int target = pos;
    switch (code) {
    case SB_LINEUP: target = pos - 1; break;
    case SB_LINEDOWN: target = pos + 1; break;
    case SB_PAGEUP: target = pos - page; break;
    case SB_PAGEDOWN: target = pos + page; break;
    case SB_TOP: target = 1; break;
    case SB_BOTTOM: target = last; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: {
        const int range = vert ? DisplayLineCount() + LinesInWindow() - 1 : HorzScrollBar().Max;
        const int full = vert ? range : (HasOption(eoScrollPastEol) ? MaxScrollWidth() : range);
        target = si.nTrackPos;
        if (full >= 32768) target = MulDiv(full, si.nTrackPos, 32767);
        break;
    }
    case SB_ENDSCROLL:
        if (vert && FScrollHint) FScrollHint->ReleaseHandle();
        return;
    default: return;
    }
    if (vert) SetTopLine(target);
    else SetLeftChar(target);
    if (vert && (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) && HasOption(eoShowScrollHint)) ShowScrollHint(si);
    if (FHandle) UpdateWindow(FHandle);
    if (TNoteScrollEvent h = OnScroll) h(this, vert ? sbVertical : sbHorizontal);
}

// The hint beside the client area's right edge (or beside the thumb) while the thumb moves.
void TCustomNoteEdit::ShowScrollHint(const SCROLLINFO& si) {
    if (!FScrollHint) {
        const THintWindowClass& factory = Application->HintWindowClass();
        FScrollHint = factory ? factory(this) : new THintWindow(this);
    }
    FScrollHint->SetColor(FScrollHintColor);
    const std::string text = FScrollHintFormat == shfTopLineOnly
                                 ? "Top Line: " + std::to_string(TopLine())
                                 : std::to_string(TopLine()) + " - " + std::to_string(TopLine() + LinesInWindow() - 1);
    TRect r = FScrollHint->CalcHintRect(200, text);
    POINT at{ClientWidth() - r.Width() - 4, 10};
    if (HasOption(eoScrollHintFollows)) {
        const int arrow = GetSystemMetrics(SM_CYVSCROLL);
        const int track = std::max(ClientHeight() - 2 * arrow, 1);
        const int span = std::max(si.nMax - si.nMin + 1, 1);
        at.y = arrow + MulDiv(track, si.nTrackPos - si.nMin, span) + MulDiv(track, static_cast<int>(si.nPage), span) / 2 -
               r.Height() / 2;
    }
    ::ClientToScreen(FHandle, &at);
    FScrollHint->ActivateHint(Bounds(at.x, at.y, r.Width(), r.Height()), text);
}

//--- Keyboard and mouse

void TCustomNoteEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    if (ProcessKeyDown(Key, NoteShiftOf(Shift))) {
        Key = 0;
        // The character this key made (Ctrl+A's ^A, Enter's CR) is already queued: drop it
        // here, so that no later keystroke is taken for it. A queued character of another
        // key (its scan code differs) stays.
        MSG msg;
        if (PeekMessageW(&msg, FHandle, WM_CHAR, WM_CHAR, PM_NOREMOVE | PM_NOYIELD) &&
            ((msg.lParam >> 16) & 0x1FF) == FKeyScanCode)
            PeekMessageW(&msg, FHandle, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
        ClearLastKeyConsumed();
    }
}

void TCustomNoteEdit::KeyPress(wchar_t& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == 0) return;
    const char16_t unit = static_cast<char16_t>(Key);
    if (unit >= 0xD800 && unit < 0xDC00) {
        FHighSurrogate = Key;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
        const char16_t pair[2] = {static_cast<char16_t>(std::exchange(FHighSurrogate, 0)), unit};
        TypeUtf16(std::u16string_view(pair, 2));
        return;
    }
    TypeUtf16(std::u16string_view(&unit, 1));
}

void TCustomNoteEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FHandle && GetFocus() != FHandle) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int button = Button == mbLeft ? 0 : Button == mbRight ? 1 : 2;
    FMouseDownPoint = {X, Y};
    if (HandleMouseDown(button, NoteShiftOf(Shift), X, Y) && FHandle) SetCapture(FHandle);
}

void TCustomNoteEdit::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const bool captured = FHandle && GetCapture() == FHandle;
    if (captured && DragPending() &&
        (std::abs(X - FMouseDownPoint.x) >= GetSystemMetrics(SM_CXDRAG) ||
         std::abs(Y - FMouseDownPoint.y) >= GetSystemMetrics(SM_CYDRAG))) {
        StartDrag();
        BeginDragAt(ClientToScreen({X, Y}), true);   // the drag manager has the mouse from here
        return;
    }
    HandleMouseMove(NoteShiftOf(Shift), X, Y, captured);
    UpdateAutoScroll();
}

void TCustomNoteEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FScrollTimer->SetEnabled(false);
    HandleMouseUp(Button == mbLeft ? 0 : Button == mbRight ? 1 : 2, NoteShiftOf(Shift), X, Y);
    if (FHandle && GetCapture() == FHandle) ReleaseCapture();
}

// The word under the caret is selected before OnDblClick sees the double click.
void TCustomNoteEdit::DblClick() {
    const DWORD pos = GetMessagePos();
    POINT p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ::ScreenToClient(FHandle, &p);
    HandleDblClick(p.x, p.y);
    const HWND handle = FHandle;   // OnDblClick may free the editor
    TCustomControl::DblClick();
    if (GetCapture() == handle) ReleaseCapture();
}

// Only text from an editor is taken, and not by a read-only one. The caret shows where it
// would go; a drag that leaves its own editor puts the caret back at the press. Ctrl shows
// the copy cursor.
// Over itself the auto-scroll follows the mouse. What OnDragOver freed is not touched.
void TCustomNoteEdit::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    auto* source = dynamic_cast<TCustomNoteEdit*>(Source);
    TFreeWatch watch;
    watch.Watch(this);
    if (source) watch.Watch(source);
    TCustomControl::DragOver(Source, X, Y, State, Accept);
    if (watch.Gone(this)) return;
    Accept = source && !watch.Gone(source) && !ReadOnly();
    if (!Accept) return;
    source->SetDragCursor(GetKeyState(VK_CONTROL) < 0 ? crMultiDrag : crDrag);
    if (State == dsDragLeave) {
        if (source == this) {
            DragOverPoint(FMouseDownPoint.x, FMouseDownPoint.y);
            FScrollTimer->SetEnabled(false);
        }
    } else if (source == this) {
        DragWithinPoint(X, Y);
        UpdateAutoScroll();
    } else {
        DragOverPoint(X, Y);
    }
}

// Within one editor the text moves unless Ctrl is held; between editors it is copied
// unless Shift is held. OnDragDrop fires inside the same update.
void TCustomNoteEdit::DragDrop(TObject* Source, int X, int Y) {
    auto* source = dynamic_cast<TCustomNoteEdit*>(Source);
    if (!source || ReadOnly() || !source->SelAvail()) {
        TCustomControl::DragDrop(Source, X, Y);
        return;
    }
    const bool same = source == this;
    TFreeWatch watch;
    watch.Watch(this);
    watch.Watch(source);
    BeginUpdate();
    try {
        TCustomControl::DragDrop(Source, X, Y);
        if (watch.Gone(this)) return;   // freed by OnDragDrop
        DragOverPoint(X, Y);
        if (watch.Gone(source)) {
            EndUpdate();
            return;
        }
        const bool move = same ? GetKeyState(VK_CONTROL) >= 0 : GetKeyState(VK_SHIFT) < 0;
        DropFrom(*source, DropPointAt(X, Y), move);
    } catch (...) {
        if (!watch.Gone(this)) EndUpdate();
        throw;
    }
    EndUpdate();
    if (!same) SetFocus();
}

void TCustomNoteEdit::DoEndDrag(TObject* Target, int X, int Y) {
    FScrollTimer->SetEnabled(false);
    TCustomControl::DoEndDrag(Target, X, Y);
}

void TCustomNoteEdit::UpdateAutoScroll() { FScrollTimer->SetEnabled(ScrollDeltaX() != 0 || ScrollDeltaY() != 0); }

void TCustomNoteEdit::AutoScrollTimer(TObject*) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    // Dragging its text, the editor keeps the capture but selects nothing.
    AutoScrollStep(p.x, p.y, GetKeyState(VK_SHIFT) < 0, GetCapture() == FHandle && !Dragging());
    UpdateAutoScroll();
}
