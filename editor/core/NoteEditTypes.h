#pragma once
// Small types shared by every editor unit: buffer and display positions, the selection
// mode, byte sets, the colour and pen values of the option objects, and the notify event.
// Colours are 0x00BBGGRR, or a system colour index with the top bit set; pen styles follow
// the Win32 PS_* order, so the window shell converts both without tables.

#include <bitset>
#include <cstdint>
#include <functional>

// A byte position in the line buffer: (Char, Line), both 1-based.
struct TBufferCoord {
    int Char = 0;
    int Line = 0;
    friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

// A display position: (Column, Row), both 1-based.
struct TDisplayCoord {
    int Column = 0;
    int Row = 0;
    friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

inline TBufferCoord BufferCoord(int aChar, int aLine) { return {aChar, aLine}; }
inline TDisplayCoord DisplayCoord(int aColumn, int aRow) { return {aColumn, aRow}; }

enum TNoteSelectionMode : std::uint8_t { smNormal, smLine, smColumn };

// A set of byte values.
using TNoteByteSet = std::bitset<256>;

// Notification with the sending object (the option object, list or chain that changed).
using TNoteNotifyEvent = std::function<void(void* Sender)>;

using TNoteColor = std::int32_t;
enum class TNotePenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };

// The colour values the editor's defaults use.
namespace NoteColor {
constexpr TNoteColor None = 0x1FFFFFFF;
constexpr TNoteColor SysBase = static_cast<TNoteColor>(0x80000000u);
constexpr TNoteColor Window = SysBase | 5;
constexpr TNoteColor WindowText = SysBase | 8;
constexpr TNoteColor Highlight = SysBase | 13;
constexpr TNoteColor HighlightText = SysBase | 14;
constexpr TNoteColor BtnFace = SysBase | 15;
constexpr TNoteColor InfoBk = SysBase | 24;
constexpr TNoteColor Yellow = 0x00FFFF;
constexpr TNoteColor Navy = 0x800000;
constexpr TNoteColor Red = 0x0000FF;
constexpr TNoteColor Lime = 0x00FF00;
constexpr TNoteColor Green = 0x008000;
constexpr TNoteColor Silver = 0xC0C0C0;
}  // namespace NoteColor

// Font style bits of the editor's fonts.
namespace NoteFontStyle {
constexpr std::uint8_t Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8;
}
