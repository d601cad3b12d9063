#include "editor/core/NoteEditMiscProcs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
TNoteExceptionHandler& ExceptionHandler() {
    static TNoteExceptionHandler handler;
    return handler;
}
}  // namespace

void SetNoteExceptionHandler(TNoteExceptionHandler handler) { ExceptionHandler() = std::move(handler); }

void NoteHandleException() noexcept {
    try {
        if (ExceptionHandler()) ExceptionHandler()();
    } catch (...) {
    }
}

int ClampInt(int x, int lo, int hi) { return std::max(std::min(x, hi), lo); }

void SwapInts(int& a, int& b) { std::swap(a, b); }

TBufferCoord EarlierPos(const TBufferCoord& p1, const TBufferCoord& p2) {
    if (p1.Line < p2.Line || (p1.Line == p2.Line && p1.Char < p2.Char)) return p1;
    return p2;
}

// A byte outside the lead range ends a character, so a character starts right after the
// nearest such byte before the target (or at Start). From there every byte of the lead range
// pairs with the next, all of them being trail bytes too: only the parity of the run counts.
namespace {
// Whether all eight bytes are of the lead range: high bits set, none 0x80 or 0xFF.
bool AllLeadBytes(const char* p) {
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    const auto hasZero = [&](std::uint64_t v) { return ((v - ones) & ~v & highs) != 0; };
    return (w & highs) == highs && !hasZero(w ^ highs) && !hasZero(~w);
}
}  // namespace

TNoteByteType NoteByteTypeFrom(std::string_view text, int start, int index) {
    if (index < 1 || index > static_cast<int>(text.size()) || start < 1 || start > index) return mbSingleByte;
    const size_t target = index - 1, first = start - 1;
    size_t k = target;
    while (k >= first + 8 && AllLeadBytes(text.data() + k - 8)) k -= 8;
    while (k > first && IsGbkLeadByte(text[k - 1])) --k;
    if ((target - k) % 2 == 1 && IsGbkTrailByte(text[target])) return mbTrailByte;
    return GbkCharLength(text, target) == 2 ? mbLeadByte : mbSingleByte;
}

bool FindFirstTab(std::string_view text, int& count) {
    const size_t p = text.find('\t');
    count = static_cast<int>(p == std::string_view::npos ? text.size() : p);
    return p != std::string_view::npos;
}

std::string ExpandTabsWidth1(std::string_view text, int, bool& hasTabs) {
    std::string result(text);
    hasTabs = false;
    for (char& c : result)
        if (c == '\t') {
            c = ' ';
            hasTabs = true;
        }
    return result;
}

namespace {
template <class StopFill>
std::string ExpandTabsBy(std::string_view text, bool& hasTabs, StopFill fill) {
    int first;
    hasTabs = FindFirstTab(text, first);
    if (!hasTabs) return std::string(text);
    std::string result(text.substr(0, first));
    result.reserve(text.size() + 16);
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] == '\t')
            result.append(fill(result.size()), '\t');
        else
            result += text[i];
    }
    return result;
}
}  // namespace

std::string ExpandTabsPow2(std::string_view text, int width, bool& hasTabs) {
    const size_t mask = width - 1;
    return ExpandTabsBy(text, hasTabs, [=](size_t len) { return width - (len & mask); });
}

std::string ExpandTabsAny(std::string_view text, int width, bool& hasTabs) {
    return ExpandTabsBy(text, hasTabs, [=](size_t len) { return width - len % width; });
}

TNoteExpandTabsFunc PickTabExpander(int width) {
    if (width < 2) return ExpandTabsWidth1;
    if (width <= 65536 && (width & (width - 1)) == 0) return ExpandTabsPow2;
    return ExpandTabsAny;
}

int ExpandedTextLength(std::string_view text, int width) {
    if (width < 2 || text.find('\t') == std::string_view::npos) return static_cast<int>(text.size());
    int len = 0;
    for (char c : text) len += c == '\t' ? width - len % width : 1;
    return len;
}

int CharToTabColumn(int index, int width, std::string_view line) {
    if (index < 2) return 1;
    int first;
    if (width < 2 || !FindFirstTab(line, first)) return index;
    const int inLine = std::min<int>(index - 1, static_cast<int>(line.size()));
    const int column = ExpandedTextLength(line.substr(0, inLine), width) + 1;
    return column + (index - 1 - inLine);
}

std::string ExpandedSlice(std::string_view text, int width, int from, int count, TNoteTabCursor& cursor) {
    std::string out;
    if (count <= 0 || from < 0) return out;
    TNoteTabCursor& c = cursor;
    if (c.Text != text.data() || c.Column > from || c.Byte > text.size()) c = {text.data(), 0, 0};
    const auto cells = [&](size_t i, int column) { return text[i] == '\t' && width >= 2 ? width - column % width : 1; };
    while (c.Byte < text.size() && c.Column + cells(c.Byte, c.Column) <= from) c.Column += cells(c.Byte++, c.Column);
    out.reserve(count);
    int column = c.Column;
    for (size_t i = c.Byte; i < text.size() && static_cast<int>(out.size()) < count; ++i) {
        const int n = cells(i, column);
        const char b = text[i] == '\t' && width < 2 ? ' ' : text[i];
        for (int k = 0; k < n && static_cast<int>(out.size()) < count; ++k, ++column)
            if (column >= from) out += b;
    }
    return out;
}

int ScanSetForward(std::string_view text, int start, const TNoteByteSet& set) {
    const int len = static_cast<int>(text.size());
    if (start < 1 || start > len) return 0;
    if (NoteByteType(text, start) == mbTrailByte) ++start;
    for (size_t i = start - 1; i < text.size(); i += GbkCharLength(text, i))
        if (set[static_cast<unsigned char>(text[i])]) return static_cast<int>(i) + 1;
    return 0;
}

int ScanSetBackward(std::string_view text, int start, const TNoteByteSet& set) {
    const size_t end = std::min<size_t>(std::max(start, 0), text.size());
    int found = 0;
    for (size_t i = 0; i < end; i += GbkCharLength(text, i))
        if (set[static_cast<unsigned char>(text[i])]) found = static_cast<int>(i) + 1;
    return found;
}

int FindNextLeadByte(std::string_view text, int start) {
    const int len = static_cast<int>(text.size());
    if (start < 1 || start > len) return 0;
    if (NoteByteType(text, start) == mbTrailByte) ++start;
    for (size_t i = start - 1; i < text.size(); i += GbkCharLength(text, i))
        if (GbkCharLength(text, i) == 2) return static_cast<int>(i) + 1;
    return 0;
}

int FindLastLeadByte(std::string_view text, int len) {
    const size_t end = std::min<size_t>(std::max(len, 0), text.size());
    int found = 0;
    for (size_t i = 0; i < end; i += GbkCharLength(text, i))
        if (GbkCharLength(text, i) == 2) found = static_cast<int>(i) + 1;
    return found;
}

size_t FindLineEnd(std::string_view text) {
    const size_t p = text.find_first_of(std::string_view("\0\r\n", 3));
    return p == std::string_view::npos ? text.size() : p;
}

int CharTypeClass(std::uint16_t flags) {
    using namespace NoteCType3;
    if (flags == Symbol) return 9;
    if (flags & HalfWidth) {
        if (flags == HalfWidth || flags == (HalfWidth | Alpha)) return 1;
        if (flags & (Symbol | Lexical)) return 2;
        if (flags & Katakana) return 3;
        return 0;
    }
    if (flags == FullWidth || flags == (FullWidth | Alpha)) return 4;
    if (flags & (Symbol | Lexical)) return 5;
    if (flags & Katakana) return 6;
    if (flags & Hiragana) return 7;
    if (flags & Ideograph) return 8;
    return 0;
}

std::uint16_t GbkCharType3(std::string_view character) {
    using namespace NoteCType3;
    if (character.empty()) return 0;
    const unsigned char lead = character[0];
    if (GbkCharLength(character, 0) == 1) {
        if ((lead >= 'A' && lead <= 'Z') || (lead >= 'a' && lead <= 'z')) return HalfWidth | Alpha;
        if (lead >= '0' && lead <= '9') return HalfWidth;
        if (lead >= 0x20 && lead < 0x7F) return HalfWidth | Symbol;
        return 0;
    }
    const unsigned char trail = character[1];
    constexpr std::uint16_t Cjk = Ideograph | FullWidth | Alpha;
    if (lead <= 0xA0) return Cjk;                                  // GBK/3
    if (trail < 0xA1) {                                            // GBK/4, GBK/5, user-defined
        if (lead >= 0xAA) return Cjk;
        return lead == 0xA8 || lead == 0xA9 ? FullWidth | Symbol : 0;
    }
    switch (lead) {
    case 0xA1: case 0xA2: case 0xA9: return FullWidth | Symbol;
    case 0xA3:
        if (trail >= 0xB0 && trail <= 0xB9) return FullWidth;
        if ((trail >= 0xC1 && trail <= 0xDA) || (trail >= 0xE1 && trail <= 0xFA)) return FullWidth | Alpha;
        return FullWidth | Symbol;
    case 0xA4: return FullWidth | Hiragana | Alpha;
    case 0xA5: return FullWidth | Katakana | Alpha;
    case 0xA6: case 0xA7: case 0xA8: return FullWidth | Alpha;
    default: break;
    }
    if (lead >= 0xB0 && lead <= 0xF7) return Cjk;                 // GB2312 hanzi
    return 0;                                                      // user-defined areas
}
