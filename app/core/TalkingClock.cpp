#include "app/core/TalkingClock.h"

#include "framework/rtl/SysUtils.h"

TSpeechWord PartOfDayWord(int hour24)
{
    if (hour24 >= 0 && hour24 <= 6)
        return swSmallHours;
    if (hour24 >= 7 && hour24 <= 12)
        return swMorning;
    if (hour24 >= 13 && hour24 <= 16)
        return swAfternoon;
    return swEvening;
}

std::vector<int> SpokenWords(const std::string& hourText, int hour24, bool halfHour)
{
    std::vector<int> words{swOpening};
    if (hour24 >= 0)
        words.push_back(PartOfDayWord(hour24));
    const bool digits = !hourText.empty() && hourText.size() <= 2 &&
                        hourText.find_first_not_of("0123456789") == std::string::npos &&
                        (hourText.size() == 1 || hourText[0] == '1' || hourText[0] == '2');
    if (!digits)
        return words;
    if (hourText.size() == 1) {
        words.push_back(hourText[0] - '0');
    } else {
        words.push_back(hourText[0] == '1' ? swTen : swTwenty);
        if (hourText[1] != '0')
            words.push_back(hourText[1] - '0');
    }
    words.push_back(swHour);
    if (halfHour) {
        words.push_back(swThirty);
        words.push_back(swMinute);
    }
    return words;
}

TChimeDue ChimeDueAt(TDateTime now, const std::string& frequency, const std::string& mode, bool fullHourAnnounced,
                     bool halfHourAnnounced)
{
    TChimeDue due;
    if (mode != "0" && mode != "1")
        return due;
    int h, m, s, ms;
    DecodeTime(now, h, m, s, ms);
    const bool full = (frequency == "1" || frequency == "2") && h > 0 && m == 0 && !fullHourAnnounced;
    const bool half = (frequency == "0" || frequency == "2") && m == 30 && !halfHourAnnounced;
    if (!full && !half)
        return due;
    due.Kind = full ? TChimeKind::FullHour : TChimeKind::HalfHour;
    due.TwelveHour = mode == "0";
    due.Hour24 = h;
    due.HourText = IntToStr(due.TwelveHour && h >= 13 ? h - 12 : h);
    return due;
}
