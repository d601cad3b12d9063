#pragma once
// The seven-segment model behind TNumLED: the segments each character lights, the six
// points of every segment polygon in a digit cell, the rules the size properties follow
// and the size AutoSize gives. Segments: 0 top, 1 upper right, 2 lower right, 3 bottom,
// 4 lower left, 5 upper left, 6 middle.

#include <array>
#include <cstddef>

#include "framework/rtl/Types.h"

// The segments a character lights ("012345" for '0' .. "650123" for '9', "6" for '-');
// nullptr for any other character, a blank included.
const char* LedLitSegments(char c);
// Every segment of a cell, lit or not.
constexpr const char* kLedAllSegments = "0123456";

using TLedSegment = std::array<TPoint, 6>;
// The seven polygons of the cell whose top-left corner is (x0, y0).
std::array<TLedSegment, 7> LedCellSegments(int x0, int y0, int wordWidth, int wordHeight, int thick);

struct TLedMetrics {
    int OffsetX = 4, OffsetY = 4;
    int WordWidth = 17, WordHeight = 29;
    int Thick = 3, Space = 4;

    // Each returns false and keeps the old value when the new one breaks the cell's shape.
    bool SetWordWidth(int value);    // more than 2 x Thick
    bool SetWordHeight(int value);   // at least 4 x Thick; an even margin is made odd (30 -> 31)
    bool SetThick(int value);        // 2 x value < WordWidth, 4 x value <= WordHeight, odd margin

    int CellLeft(int index) const { return OffsetX + index * (WordWidth + Space); }
    // The size AutoSize gives for a text of `length` characters.
    TPoint AutoSize(std::size_t length) const;
};
