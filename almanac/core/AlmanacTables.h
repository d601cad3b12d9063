#pragma once
// The fixed tables of the traditional almanac: the twelve day officers (建除十二神) with
// what each favours and forbids, the twelve day guardians (黄道/黑道), the thirty
// sound-element (纳音) names of the stem-branch pairs, the Pengzu taboos of the stems and
// branches, and the directions of the joy, fortune and wealth gods by the day's stem.
// Texts are UTF-8.

#include <array>
#include <string_view>

extern const std::array<std::string_view, 12> OfficerNames;      // 建 除 满 平 定 执 破 危 成 收 开 闭
extern const std::array<std::string_view, 12> OfficerFavours;    // 宜, blank-separated
extern const std::array<std::string_view, 12> OfficerForbids;    // 忌, blank-separated
extern const std::array<std::string_view, 12> GuardianNames;     // 青龙 .. 勾陈
extern const std::array<bool, 12> GuardianAuspicious;            // the six of the yellow path
extern const std::array<std::string_view, 30> NayinNames;        // 海中金 .. 大海水, one per pair
extern const std::array<std::string_view, 10> PengzuStemTaboos;  // 甲不开仓 ..
extern const std::array<std::string_view, 12> PengzuBranchTaboos;  // 子不问卜 ..
extern const std::array<std::string_view, 10> JoyGodDirections;      // 喜神 by day stem
extern const std::array<std::string_view, 10> FortuneGodDirections;  // 福神 by day stem
extern const std::array<std::string_view, 10> WealthGodDirections;   // 财神 by day stem
extern const std::array<std::string_view, 7> WeekdayNames;       // 星期日 .. 星期六
