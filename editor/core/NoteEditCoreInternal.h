#pragma once
// Helpers shared by the source files of the editor core.

#include <string>
#include <string_view>
#include <vector>

#include "editor/core/NoteEditCore.h"

namespace NoteEditDetail {
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Identifier bytes of the word rules when no highlighter is set.
inline const TNoteByteSet& WordChars() {
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

inline bool IsWordByte(std::string_view line, int index) {
    return index >= 1 && index <= static_cast<int>(line.size()) && WordChars()[static_cast<unsigned char>(line[index - 1])];
}

inline bool IsDoubleByteAt(std::string_view line, int index) {
    return index >= 1 && index <= static_cast<int>(line.size()) && GbkCharLength(line, index - 1) == 2 &&
           NoteByteType(line, index) == mbLeadByte;
}

// Splits inserted text at CR LF, CR or LF.
inline std::vector<std::string> SplitText(std::string_view text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", start);
        pieces.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return pieces;
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
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
}  // namespace NoteEditDetail

// OnPaintTransient before and after a caret move or a command, when the window exists. The
// pair stays whole: a ttBefore that raises is closed by its ttAfter before the exception goes on.
class TNoteEditCore::TNoteTransient {
public:
    explicit TNoteTransient(TNoteEditCore& core) : FCore(core), FActive(core.FHost.HostHasWindow()) {
        if (!FActive) return;
        try {
            FCore.FHost.HostPaintTransient(ttBefore);
        } catch (...) {
            After();
            throw;
        }
    }
    ~TNoteTransient() {
        if (FActive) After();
    }

private:
    void After() noexcept {
        try {
            FCore.FHost.HostPaintTransient(ttAfter);
        } catch (...) {
            NoteHandleException();
        }
    }

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
