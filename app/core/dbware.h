#pragma once
// Unit dbware: the process-wide variables that the clock window and the organizer
// windows share (window positions, countdown targets, chime settings, the reminder play
// count and the sound paths), and the table of the fourteen window position keys with
// their variable pairs, walked by start-up (load) and by the clock window's close (save).

#include <array>
#include <cstdint>
#include <string>

#include "framework/rtl/DateUtils.h"

extern int32_t CalendarPosX, CalendarPosY;
extern int32_t MemoBoardPosX, MemoBoardPosY;
extern int32_t Note1PosX, Note1PosY, Note2PosX, Note2PosY, Note3PosX, Note3PosY, Note4PosX, Note4PosY;
extern int32_t Note5PosX, Note5PosY, Note6PosX, Note6PosY, Note7PosX, Note7PosY;
extern int32_t Countdown1PosX, Countdown1PosY, Countdown2PosX, Countdown2PosY, Countdown3PosX, Countdown3PosY;
extern int32_t Countdown4PosX, Countdown4PosY, Countdown5PosX, Countdown5PosY;

extern TDateTime CountdownTarget1, CountdownTarget2, CountdownTarget3, CountdownTarget4, CountdownTarget5;

extern std::string ChimeFrequency;   // sz_qtcsb.bspl
extern std::string ChimeMode;        // sz_qtcsb.bsfs
extern int32_t ReminderPlayCount;    // sz_qtcsb.bwjrbfcs; 2 until loaded

extern std::string CWavPath, AltsWavPath, AlldayWavPath, DoorbellWavPath;
extern std::array<std::string, 24> SpeechWavPaths;

// One floating window's row key in sz_fzb and its position pair.
struct TPositionKey {
    const char* Key;
    int32_t* X;
    int32_t* Y;
};

// The fourteen keys in load and save order: calendar, memo board, notes 1-7, countdowns 1-5.
extern const std::array<TPositionKey, 14> PositionKeys;
