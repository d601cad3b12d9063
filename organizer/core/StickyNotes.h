#pragma once
// The sticky notes' rules that need no window: the traits of the seven slots, the note
// text file's name, the date line and its weekday, the manager's questions, and the latch
// that reports a failing save once rather than at every keystroke.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

constexpr int kNoteSlots = 7;

// What differs between the seven note windows.
struct TNoteTraits {
    int Slot;
    const char* Caption;        // "便签N"
    const char* Key;            // "便签N位置": the row in sz_bqb and in sz_fzb
    int32_t *PosX, *PosY;       // NoteNPosX, NoteNPosY
    const char* ClearCaption;   // the clear item's caption
    int ClientWidth, ClientHeight;
};

// Slot 1..7; raises EListError for any other.
const TNoteTraits& NoteTraits(int slot);

// The folder of the note files, programFolder + "bq" + delimiter; programFolder ends in one.
std::string NoteFolder(std::string_view programFolder);
// programFolder + "bq\" + iid + ".txt".
std::string NoteFilePath(std::string_view programFolder, int iid);

// The file a note's text is read from: the row's stored path, or, when that is empty or
// gone (the program folder moved), the note's own file in programFolder.
std::string NoteTextFile(const std::string& storedPath, std::string_view programFolder, int iid);

// The date line of a note read from its row: the stored date-time as text (date only when
// the time is zero); a never-used row (no date) shows today.
std::string NoteDateText(bool dateIsNull, TDateTime rq, TDateTime today);
// The date the weekday is taken from: the date line read as a date-time, else today.
TDateTime NoteLineDate(std::string_view dateText, TDateTime today);
// "周日".."周六" of that date.
std::string NoteWeekday(std::string_view dateText, TDateTime today);

// The manager's questions, with the note's name (xsbz).
std::string NoteShowQuestion(std::string_view name);
std::string NoteMarkQuestion(std::string_view name, bool shown);

// Reports a run of failing saves once: Failed answers true only for the first failure
// after a success (or the start).
class TSaveFailureLatch {
public:
    bool Failed()
    {
        const bool first = !FFailing;
        FFailing = true;
        return first;
    }
    void Succeeded() { FFailing = false; }
    bool Failing() const { return FFailing; }

private:
    bool FFailing = false;
};
