#pragma once
// The user's own festivals, birthdays and anniversaries that the desktop calendar marks:
// the rows of sz_jrb whose zdyf is "1", by the month and day of their realrq (the year is
// not compared). A row without a realrq marks no day.

#include <string>
#include <vector>

class Tdbhouse;

struct TFestivalMark {
    int Month = 0, Day = 0;
    std::string Name;
};

// The marks, in the order of the rows (qzdy).
std::vector<TFestivalMark> ReadFestivalMarks(Tdbhouse& db);
// Names of the marks on `day` of `month`, in row order.
std::vector<std::string> MarksOnDay(const std::vector<TFestivalMark>& marks, int month, int day);
