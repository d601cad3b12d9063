#include "app/core/dbware.h"

int32_t CalendarPosX, CalendarPosY;
int32_t MemoBoardPosX, MemoBoardPosY;
int32_t Note1PosX, Note1PosY, Note2PosX, Note2PosY, Note3PosX, Note3PosY, Note4PosX, Note4PosY;
int32_t Note5PosX, Note5PosY, Note6PosX, Note6PosY, Note7PosX, Note7PosY;
int32_t Countdown1PosX, Countdown1PosY, Countdown2PosX, Countdown2PosY, Countdown3PosX, Countdown3PosY;
int32_t Countdown4PosX, Countdown4PosY, Countdown5PosX, Countdown5PosY;

TDateTime CountdownTarget1, CountdownTarget2, CountdownTarget3, CountdownTarget4, CountdownTarget5;

std::string ChimeFrequency;
std::string ChimeMode;
int32_t ReminderPlayCount = 2;

std::string CWavPath, AltsWavPath, AlldayWavPath, DoorbellWavPath;
std::array<std::string, 24> SpeechWavPaths;

const std::array<TPositionKey, 14> PositionKeys = {{
    {"日历位置", &CalendarPosX, &CalendarPosY},
    {"备忘录位置", &MemoBoardPosX, &MemoBoardPosY},
    {"便签1位置", &Note1PosX, &Note1PosY},
    {"便签2位置", &Note2PosX, &Note2PosY},
    {"便签3位置", &Note3PosX, &Note3PosY},
    {"便签4位置", &Note4PosX, &Note4PosY},
    {"便签5位置", &Note5PosX, &Note5PosY},
    {"便签6位置", &Note6PosX, &Note6PosY},
    {"便签7位置", &Note7PosX, &Note7PosY},
    {"倒计时1位置", &Countdown1PosX, &Countdown1PosY},
    {"倒计时2位置", &Countdown2PosX, &Countdown2PosY},
    {"倒计时3位置", &Countdown3PosX, &Countdown3PosY},
    {"倒计时4位置", &Countdown4PosX, &Countdown4PosY},
    {"倒计时5位置", &Countdown5PosX, &Countdown5PosY},
}};
