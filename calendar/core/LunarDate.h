#pragma once
// Lunar date helpers of the organizer: lunar month and day names to their two-digit
// numbers, and solar <-> lunar conversion of one date for the memo, festival and almanac
// code. Built on the calendar engine, so they cover the years -849 .. 2100. Failures are
// reported by the empty text or false, never by an exception.

#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

// "正月" .. "十二月" (also "冬月", "腊月" and leap names such as "闰四" or "闰四月")
// -> "01" .. "12"; any other name gives the empty text.
std::string LunarMonthToNumber(std::string_view name);
// "初一" .. "三十" -> "01" .. "30"; any other name gives the empty text.
std::string LunarDayToNumber(std::string_view name);

// Lunar date of a solar date; false outside -849 .. 2100 or for an invalid date.
bool SolarToLunar(int year, int month, int day, bool& leap, int& lunarDay, int& lunarMonth, int& lunarYear);
// Solar date of lunar month and day of the lunar year `year`, searched from the solar date
// year-month-day over 101 days. False when that start date does not exist (Feb 29 of a
// common year, day 30 of February), when the lunar date does not exist (day 30 of a
// 29-day month) or when the year is out of range. Outputs are written only on success.
bool LunarToSolar(int year, int month, int day, bool leap, int& solarDay, int& solarMonth, int& solarYear);

// The first solar date from `from` on that falls on lunar `day` (1..30) of the ordinary
// (not leap) lunar `month` (1..12); a 30th that the month lacks is its 29th, and
// `shortMonth` tells so. False out of the calendar's range or for a day out of 1..30.
bool NextLunarDate(int month, int day, TDateTime from, TDateTime& date, bool& shortMonth);
// The first solar date from `from` on that falls on lunar `day` of any month, a leap
// month included, with the same rule for a 30th.
bool NextLunarDayDate(int day, TDateTime from, TDateTime& date, bool& shortMonth);
