#pragma once
// Readers and writers of skin INI values: rectangles ("l,t,r,b") and points ("x,y") of
// which only digits and commas count (so "-5" reads as 5), 0/1 booleans, font style,
// alignment and enumeration texts compared exactly, and counted lists of values.

#include <string>
#include <string_view>

#include "skin/core/SkGeometry.h"

class TMemIniFile;
class TStringList;

struct TSkFontStyles {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    friend bool operator==(const TSkFontStyles&, const TSkFontStyles&) = default;
};

enum class TSkAlignment { taLeftJustify, taRightJustify, taCenter };

enum class TMorphKind { mkDefault, mkGradient, mkLeftGradient, mkRightGradient, mkLeftSlide, mkRightSlide, mkPush };

enum class TImageEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };

// Fields in order, each clamped to 0..kMaxSkinCoord; a field without a digit raises
// EConvertError. Fields past the fourth (second) are ignored.
TRect ParseSkinRect(std::string_view text);
TPoint ParseSkinPoint(std::string_view text);

TRect ReadSkinRect(const TMemIniFile& ini, std::string_view section, std::string_view key);
TPoint ReadSkinPoint(const TMemIniFile& ini, std::string_view section, std::string_view key);
bool ReadSkinBool(const TMemIniFile& ini, std::string_view section, std::string_view key);
TSkFontStyles ReadSkinFontStyles(const TMemIniFile& ini, std::string_view section, std::string_view key);
TSkAlignment ReadSkinAlignment(const TMemIniFile& ini, std::string_view section, std::string_view key);
TMorphKind ReadMorphKind(const TMemIniFile& ini, std::string_view section, std::string_view key);
TImageEffect ReadImageEffect(const TMemIniFile& ini, std::string_view section, std::string_view key);
// key + "linecount" lines under key + "line" + index; appended to lines.
void ReadSkinStrings(const TMemIniFile& ini, std::string_view section, std::string_view key, TStringList& lines);
// key + "count" values under "0", "1", ...; appended to list. A count above the number
// of keys in the section reads no more than that many values; a missing key adds nothing.
void ReadSkinList(const TMemIniFile& ini, std::string_view section, std::string_view key, TStringList& list);

void WriteSkinRect(TMemIniFile& ini, std::string_view section, std::string_view key, const TRect& value);
void WriteSkinPoint(TMemIniFile& ini, std::string_view section, std::string_view key, const TPoint& value);
void WriteSkinBool(TMemIniFile& ini, std::string_view section, std::string_view key, bool value);
void WriteSkinFontStyles(TMemIniFile& ini, std::string_view section, std::string_view key, const TSkFontStyles& value);
void WriteSkinStrings(TMemIniFile& ini, std::string_view section, std::string_view key, const TStringList& lines);
void WriteSkinAlignment(TMemIniFile& ini, std::string_view section, std::string_view key, TSkAlignment value);
void WriteMorphKind(TMemIniFile& ini, std::string_view section, std::string_view key, TMorphKind value);
