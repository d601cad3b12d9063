#pragma once
// Name tables of the Chinese calendar: heavenly stems, earthly branches, zodiac animals,
// western signs, the 24 solar terms (from Start of Spring), numerals, the prefixes of the
// lunar day names, the lunar month names and the 60 stem-branch (sexagenary) names.
// Texts are UTF-8. NameAt is the lookup that answers an index outside a table with the
// empty text; the functions that build texts from the tables are in ChnCalendarUse.h.

#include <array>
#include <span>
#include <string>
#include <string_view>

extern const std::array<std::string_view, 10> StemNames;            // 甲 .. 癸
extern const std::array<std::string_view, 12> BranchNames;          // 子 .. 亥
extern const std::array<std::string_view, 12> AnimalNames;          // 鼠 .. 猪
extern const std::array<std::string_view, 12> ConstellationNames;   // 白羊 .. 双鱼
extern const std::array<std::string_view, 24> SolarTermNames;       // 立春 .. 大寒
extern const std::array<std::string_view, 10> NumeralNames;         // 一 .. 十
extern const std::array<std::string_view, 6> DayPrefixNames;        // 初 十 廿 卅 二 三
extern const std::array<std::string_view, 12> CnMonthNames;         // 正 .. 冬 腊
// name(i) = stem(i mod 10) + branch(i mod 12): 甲子, 乙丑 .. 癸亥.
extern const std::array<std::string, 60> StemBranchNames;

// The text at index, or the empty text when the index lies outside the table.
std::string NameAt(std::span<const std::string_view> table, int index);
std::string NameAt(std::span<const std::string> table, int index);
