#pragma once
// Small procedures used throughout the editor: integer helpers, tab expansion and
// tab-aware columns, the GBK byte-type rule and double-byte-aware scans, and the character
// classes used for word boundaries. Text is bytes in code page 936; positions are 1-based
// byte indexes and 0 means "none". A lead byte counts as a lead only when a valid trail
// byte follows it, so a lead byte at a line's end is a single byte.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/core/NoteEditTypes.h"

int ClampInt(int x, int lo, int hi);
void SwapInts(int& a, int& b);
TBufferCoord EarlierPos(const TBufferCoord& p1, const TBufferCoord& p2);

// GBK byte types: a lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE other than 0x7F.
enum TNoteByteType : std::uint8_t { mbSingleByte, mbLeadByte, mbTrailByte };
inline bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
inline bool IsGbkTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
// Bytes of the character starting at 0-based offset i: 2 for a lead/trail pair, else 1.
inline int GbkCharLength(std::string_view s, size_t i) {
    return i + 1 < s.size() && IsGbkLeadByte(s[i]) && IsGbkTrailByte(s[i + 1]) ? 2 : 1;
}
// Type of the byte at 1-based Index, walking characters from 1-based Start, which must be a
// character boundary at or before Index. Positions outside the text are single bytes.
TNoteByteType NoteByteTypeFrom(std::string_view text, int start, int index);
inline TNoteByteType NoteByteType(std::string_view text, int index) { return NoteByteTypeFrom(text, 1, index); }

// Tab expansion: each TAB becomes 1..width TAB bytes reaching the next multiple of width
// (width 1: each TAB becomes a blank). A text without TAB comes back unchanged.
using TNoteExpandTabsFunc = std::string (*)(std::string_view text, int width, bool& hasTabs);
bool FindFirstTab(std::string_view text, int& count);
std::string ExpandTabsWidth1(std::string_view text, int width, bool& hasTabs);
std::string ExpandTabsPow2(std::string_view text, int width, bool& hasTabs);
std::string ExpandTabsAny(std::string_view text, int width, bool& hasTabs);
TNoteExpandTabsFunc PickTabExpander(int width);
int ExpandedTextLength(std::string_view text, int width);
int CharToTabColumn(int index, int width, std::string_view line);
// A walk along a line's tab expansion, kept between calls so that rows read in order cost
// only the bytes between them.
struct TNoteTabCursor {
    const char* Text = nullptr;
    size_t Byte = 0;
    int Column = 0;  // 0-based expanded offset of Byte
};
// Bytes from..from+count-1 (0-based) of the line's tab expansion, as the expanders give them.
std::string ExpandedSlice(std::string_view text, int width, int from, int count, TNoteTabCursor& cursor);

// Double-byte-aware scans over 1-based positions; 0 when nothing is found.
int ScanSetForward(std::string_view text, int start, const TNoteByteSet& set);
int ScanSetBackward(std::string_view text, int start, const TNoteByteSet& set);
int FindNextLeadByte(std::string_view text, int start);
int FindLastLeadByte(std::string_view text, int len);
// Offset (0-based) of the first NUL, CR or LF; the text's size when there is none.
size_t FindLineEnd(std::string_view text);

// Character-type-3 flags (the Win32 CT_CTYPE3 bits) and the word class they give.
namespace NoteCType3 {
constexpr std::uint16_t Symbol = 0x8, Katakana = 0x10, Hiragana = 0x20, HalfWidth = 0x40, FullWidth = 0x80,
                        Ideograph = 0x100, Lexical = 0x400, Alpha = 0x8000;
}
int CharTypeClass(std::uint16_t flags);
// Flags of one GBK character (one byte, or a lead/trail pair) from the editor's own table,
// the same on every machine and locale.
std::uint16_t GbkCharType3(std::string_view character);
inline int GbkCharClass(std::string_view character) { return CharTypeClass(GbkCharType3(character)); }

// Exceptions that may not leave their frame (destructors, painting) go to the application's
// handler: the window shell installs it; until then they are dropped. Call only inside a
// catch block.
using TNoteExceptionHandler = std::function<void()>;
void SetNoteExceptionHandler(TNoteExceptionHandler handler);
void NoteHandleException() noexcept;
