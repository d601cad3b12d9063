// The editor's exchange with other windows: the clipboard (the private block with its
// selection mode beside CF_TEXT and CF_UNICODETEXT), dropped files, the text messages and
// the memo's EM_* messages. The window is a Unicode window, so text messages carry UTF-16;
// clipboard blocks from other programs are read only within their size.
#include "editor/win/NoteEdit.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "framework/rtl/Encoding.h"
#include "framework/win/WinUtil.h"

namespace {
std::u16string GbkToUtf16(std::string_view gbk) { return Utf8ToUtf16(GbkToUtf8(gbk)); }

// Puts one block on the open clipboard; a block the clipboard did not take is freed.
bool PutClipboardBlock(UINT format, const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!block) return false;
    void* p = GlobalLock(block);
    if (!p) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(p, data, size);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

// The bytes of a clipboard block after its first `skip` bytes, up to the first NUL unit or
// the block's end; false when there is no block or it is shorter than `minSize`. The
// skipped bytes go to `head`. A block that cannot be locked raises.
bool ReadClipboardBlock(UINT format, size_t unit, size_t skip, size_t minSize, std::string& head, std::string& bytes) {
    HANDLE block = GetClipboardData(format);
    if (!block) return false;
    const size_t size = GlobalSize(block);
    if (size < minSize) return false;
    const char* p = static_cast<const char*>(GlobalLock(block));
    if (!p) throw ENoteEditError("Clipboard paste operation failed.");
    head.assign(p, std::min(skip, size));
    size_t n = skip;
    while (n + unit <= size && !std::all_of(p + n, p + n + unit, [](char c) { return c == 0; })) n += unit;
    bytes.assign(p + std::min(skip, size), n > skip ? n - skip : 0);
    GlobalUnlock(block);
    return true;
}

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

// Copies UTF-16 text into a caller's buffer of `capacity` units: at most capacity - 1
// units and a NUL. Answers the units copied.
LRESULT CopyOut(const std::u16string& text, wchar_t* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return 0;
    const size_t n = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
    buffer[n] = 0;
    return static_cast<LRESULT>(n);
}

std::string GbkFromWide(LPARAM text) {
    if (!text) return {};
    const auto* p = reinterpret_cast<const char16_t*>(text);
    return NoteUtf16ToGbk(std::u16string_view(p));
}
}  // namespace

UINT NoteEditClipboardFormat() {
    static const UINT format = RegisterClipboardFormatW(L"NoteEdit Control Block Type");
    return format;
}

//--- Clipboard

void TCustomNoteEdit::HostCopyToClipboard(const std::string& text, TNoteSelectionMode mode) {
    if (!OpenClipboard(FHandle)) throw ENoteEditError("Clipboard copy operation failed");
    bool ok;
    {
        ClipboardCloser closer;
        EmptyClipboard();
        std::string block(1, static_cast<char>(mode));
        block += text;
        const std::u16string wide = GbkToUtf16(text);
        ok = PutClipboardBlock(CF_TEXT, text.c_str(), text.size() + 1) &&
             PutClipboardBlock(NoteEditClipboardFormat(), block.c_str(), block.size() + 1) &&
             PutClipboardBlock(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
    }
    if (!ok) throw ENoteEditError("Clipboard copy operation failed");
}

bool TCustomNoteEdit::HostPasteFromClipboard(std::string& text, TNoteSelectionMode& mode, bool& withMode) {
    if (!OpenClipboard(FHandle)) return false;
    ClipboardCloser closer;
    std::string head, bytes;
    // The private block counts only with its mode byte, a known mode and room for a NUL.
    if (IsClipboardFormatAvailable(NoteEditClipboardFormat()) &&
        ReadClipboardBlock(NoteEditClipboardFormat(), 1, 1, 2, head, bytes) &&
        static_cast<unsigned char>(head[0]) <= smColumn) {
        mode = static_cast<TNoteSelectionMode>(head[0]);
        withMode = true;
        text = bytes;
        return true;
    }
    withMode = false;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && ReadClipboardBlock(CF_UNICODETEXT, 2, 0, 0, head, bytes)) {
        text = NoteUtf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
        return true;
    }
    if (IsClipboardFormatAvailable(CF_TEXT) && ReadClipboardBlock(CF_TEXT, 1, 0, 0, head, bytes)) {
        if (GetACP() == 936) {
            text = bytes;
        } else {
            const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
            std::u16string wide(n, u'\0');
            MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                reinterpret_cast<wchar_t*>(wide.data()), n);
            text = NoteUtf16ToGbk(wide);
        }
        return true;
    }
    return false;
}

bool TCustomNoteEdit::CanPaste() const {
    return !ReadOnly() && (IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT) ||
                           IsClipboardFormatAvailable(NoteEditClipboardFormat()));
}

//--- Dropped files

void TCustomNoteEdit::HostDropFilesChanged(bool accept) {
    if (FHandle) DragAcceptFiles(FHandle, accept);
}

void TCustomNoteEdit::DropFiles(WPARAM wParam) {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    struct Finish {
        HDROP drop;
        ~Finish() { DragFinish(drop); }
    } finish{drop};
    TNoteDropFilesEvent handler = OnDropFiles;
    if (!handler) return;
    POINT p{};
    DragQueryPoint(drop, &p);
    std::vector<std::string> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.push_back(Narrow(name));
    }
    handler(this, p.x, p.y, files);
}

//--- Text messages

// Every GBK character (a pair, or any single byte) is one UTF-16 unit and each line break
// two, so the length is counted without converting; it is kept until the lines change.
size_t TCustomNoteEdit::TextLengthUtf16() {
    const TNoteEditStringList& lines = Lines();
    if (FTextLengthKnown && FTextLengthStamp == lines.ChangeStamp()) return FTextLength;
    size_t n = lines.Count() > 1 ? 2 * static_cast<size_t>(lines.Count() - 1) : 0;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines.Get(i);
        for (size_t k = 0; k < line.size(); k += GbkCharLength(line, k)) ++n;
    }
    FTextLength = n;
    FTextLengthStamp = lines.ChangeStamp();
    FTextLengthKnown = true;
    return n;
}

// The messages of an edit window that carry text; true when handled.
bool TCustomNoteEdit::TextMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_GETTEXT:
        m.Result = CopyOut(GbkToUtf16(GetText()), reinterpret_cast<wchar_t*>(m.LParam), m.WParam);
        break;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(TextLengthUtf16()); break;
    case WM_SETTEXT: {
        // The whole text is replaced as one undoable change.
        m.Result = -1;
        struct Replace {
            TCustomNoteEdit& edit;
            Replace(TCustomNoteEdit& e) : edit(e) {
                edit.BeginUpdate();
                edit.UndoList().BeginGroup();
            }
            ~Replace() {
                try {
                    edit.UndoList().EndGroup();
                    edit.EndUpdate();
                } catch (...) {
                    NoteHandleException();
                }
            }
        };
        try {
            Replace replace(*this);
            SelectAll();
            const std::string text = GbkFromWide(m.LParam);
            if (text.empty()) {
                if (SelAvail()) DeleteSelection();
            } else {
                InsertText(text);
            }
        } catch (...) {
            m.Result = 0;
            throw;
        }
        break;
    }
    case WM_CUT: CutToClipboard(); m.Result = 1; break;
    case WM_COPY: CopyToClipboard(); m.Result = 1; break;
    case WM_PASTE: PasteFromClipboard(); m.Result = 1; break;
    case WM_CLEAR:
        if (!ReadOnly() && SelAvail()) ReplaceSelText({}, true);
        break;
    case WM_UNDO: CommandProcessor(ecUndo, 0, nullptr); break;
    default: return false;
    }
    m.Handled = true;
    return true;
}

//--- The memo's edit-control messages

void TNoteMemo::WndProc(TMessage& m) {
    const auto offsetOf = [this](const TBufferCoord& p) { return static_cast<DWORD>(RowColToCharIndex(p)); };
    switch (m.Msg) {
    case EM_GETSEL: {
        const DWORD start = offsetOf(SelAvail() ? BlockBegin() : CaretXY());
        const DWORD end = offsetOf(SelAvail() ? BlockEnd() : CaretXY());
        if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = start;
        if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = end;
        m.Result = MAKELRESULT(start, end);
        break;
    }
    case EM_SETSEL: {
        // An offset inside a double-byte character stands for the character's start.
        const auto pointOf = [this](WPARAM offset) {
            TBufferCoord p = CharIndexToRowCol(static_cast<int>(offset));
            if (p.Line <= Lines().Count() && NoteByteType(Lines().Get(p.Line - 1), p.Char) == mbTrailByte) --p.Char;
            return p;
        };
        const TBufferCoord start = pointOf(m.WParam), end = pointOf(static_cast<WPARAM>(m.LParam));
        SetCaretAndSelection(start, start, end);
        break;
    }
    case EM_GETMODIFY: m.Result = Modified(); break;
    case EM_SETMODIFY: SetModified(m.WParam != 0); break;
    case EM_GETLINECOUNT: m.Result = Lines().Count(); break;
    case EM_GETFIRSTVISIBLELINE: m.Result = TopLine(); break;
    case EM_GETLINE: {
        m.Result = 0;
        auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
        if (!buffer || static_cast<int>(m.WParam) < 0 || static_cast<int>(m.WParam) >= Lines().Count()) break;
        const size_t capacity = *reinterpret_cast<const WORD*>(buffer);
        const std::u16string line = GbkToUtf16(Lines().Get(static_cast<int>(m.WParam)));
        const size_t n = std::min(line.size(), capacity);
        std::memcpy(buffer, line.data(), n * sizeof(wchar_t));
        m.Result = static_cast<LRESULT>(n);
        break;
    }
    case WM_USER + 62: {  // EM_GETSELTEXT
        const std::u16string text = GbkToUtf16(SelText());
        if (m.LParam) {
            auto* buffer = reinterpret_cast<wchar_t*>(m.LParam);
            std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        }
        m.Result = static_cast<LRESULT>(text.size());
        break;
    }
    case EM_REPLACESEL: ReplaceSelText(GbkFromWide(m.LParam), m.WParam != 0); break;
    case EM_CANUNDO: m.Result = CanUndo(); break;
    case EM_UNDO:
        m.Result = CanUndo();
        CommandProcessor(ecUndo, 0, nullptr);
        break;
    case EM_CHARFROMPOS: {
        const TBufferCoord p = CharFromPos(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
        m.Result = MAKELRESULT(offsetOf(p) + 1, p.Line - 1);
        break;
    }
    default: TNoteEdit::WndProc(m); return;
    }
    m.Handled = true;
}
