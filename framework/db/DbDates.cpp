#include "framework/db/DbDates.h"

#include <cmath>
#include <cstdio>

namespace {

bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
    if (pos + count > text.size())
        return false;
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string DateToStorage(TDateTime value) {
    // The time of day is the fraction's distance from the whole day, also before 1899.
    double day = std::trunc(value);
    int64_t ms = std::llround(std::fabs(value - day) * MSecsPerDay);
    if (ms >= static_cast<int64_t>(MSecsPerDay)) {
        ms -= static_cast<int64_t>(MSecsPerDay);
        day += value < 0 ? -1 : 1;
    }
    int year, month, dayOfMonth;
    DecodeDate(day, year, month, dayOfMonth);
    char buf[40];
    if (ms == 0) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, dayOfMonth);
    } else {
        int hour = static_cast<int>(ms / 3600000), min = static_cast<int>(ms / 60000 % 60);
        int sec = static_cast<int>(ms / 1000 % 60), msec = static_cast<int>(ms % 1000);
        if (msec == 0)
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, dayOfMonth, hour, min, sec);
        else
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", year, month, dayOfMonth, hour, min,
                          sec, msec);
    }
    return buf;
}

bool TryStorageToDate(std::string_view text, TDateTime& value) {
    int year, month, day, hour = 0, min = 0, sec = 0, msec = 0;
    if (!ReadDigits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || !ReadDigits(text, 5, 2, month) ||
        text[7] != '-' || !ReadDigits(text, 8, 2, day))
        return false;
    if (text.size() > 10) {
        if (text.size() < 19 || text[10] != ' ' || !ReadDigits(text, 11, 2, hour) || text[13] != ':' ||
            !ReadDigits(text, 14, 2, min) || text[16] != ':' || !ReadDigits(text, 17, 2, sec))
            return false;
        if (text.size() > 19 && (text.size() != 23 || text[19] != '.' || !ReadDigits(text, 20, 3, msec)))
            return false;
    }
    TDateTime date, time;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time))
        return false;
    value = date < 0 ? date - time : date + time;
    return true;
}
