#pragma once
// The talking clock apart from its window: when an announcement is due (on the hour, the
// half hour or both, spoken in 12- or 24-hour form) and which recorded words it plays.
// Words are indexes into SpeechWavPaths (dbware), in the order start-up builds them.

#include <string>
#include <vector>

#include "framework/rtl/DateUtils.h"

enum TSpeechWord : int {
    swTen = 10,          // "10.wav"; digits 0 to 9 are their own indexes
    swHour = 13,         // "d.wav", after the hour number
    swMinute = 14,       // "m.wav", closes a half hour
    swOpening = 15,      // "T.wav", opens every announcement
    swMorning = 16,      // "TA.wav", hours 7 to 12
    swSmallHours = 17,   // "TAA.wav", hours 0 to 6
    swAfternoon = 18,    // "Tp.wav", hours 13 to 16
    swEvening = 19,      // "Tpp.wav", the other hours
    swThirty = 20,       // "30.wav"
    swTwenty = 21,       // "20.wav"
};

// The part-of-day word for an hour 0 to 23.
TSpeechWord PartOfDayWord(int hour24);
// The words of one announcement: the opening, the part of day when `hour24` is given
// (12-hour speech, hour24 >= 0), the hour number of `hourText` and "d", then "30" and "m"
// for a half hour. An hour text other than 0 to 29 says nothing after the part of day.
std::vector<int> SpokenWords(const std::string& hourText, int hour24, bool halfHour);

enum class TChimeKind { None, FullHour, HalfHour };

// What the second-by-second timer does at `now`.
struct TChimeDue {
    TChimeKind Kind = TChimeKind::None;
    bool TwelveHour = false;
    std::string HourText;   // h12 (0 to 12) or h24, decimal
    int Hour24 = 0;
};

// `frequency` "1" full hours, "0" half hours, "2" both; `mode` "0" 12-hour, "1" 24-hour
// speech, anything else silent. Midnight is never announced; an announcement already
// made (its flag set) is not repeated.
TChimeDue ChimeDueAt(TDateTime now, const std::string& frequency, const std::string& mode, bool fullHourAnnounced,
                     bool halfHourAnnounced);
