#pragma once
// The festival timer's work on sz_jrb apart from its windows: which festivals not yet
// confirmed fall today, tomorrow or the day after, and the pop-up text for each.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"

class Tdbhouse;

// One unconfirmed row of sz_jrb; Realrq is this year's solar date.
struct TFestivalRow {
    int32_t Iid = 0;
    std::string Jrmc;
    TDateTime Realrq = 0;
};

// One pop-up to raise: "今天:", "明天:" or "后天:", the name, ";" and the iid.
struct TFestivalReminder {
    int32_t Iid = 0;
    std::string Text;
};

// The reminders due on `today`, in the order of the rows.
std::vector<TFestivalReminder> PlanFestivalPass(const std::vector<TFestivalRow>& rows, TDateTime today);

// The rows whose qrbz is "0", in iid order (qjrts). A row whose realrq does not read as a
// date is passed over, so it never keeps the rows after it from their reminders.
std::vector<TFestivalRow> ReadUnconfirmedFestivals(Tdbhouse& db);
