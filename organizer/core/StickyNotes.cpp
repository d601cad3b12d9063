#include "organizer/core/StickyNotes.h"

#include "app/core/dbware.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/OrganizerLists.h"

namespace {

const TNoteTraits Traits[kNoteSlots] = {
    {1, "便签1", "便签1位置", &Note1PosX, &Note1PosY, "清空便签内容", 196, 221},
    {2, "便签2", "便签2位置", &Note2PosX, &Note2PosY, "清空此便签内容", 194, 220},
    {3, "便签3", "便签3位置", &Note3PosX, &Note3PosY, "清除此便签内容", 192, 222},
    {4, "便签4", "便签4位置", &Note4PosX, &Note4PosY, "清除此便签内容", 196, 220},
    {5, "便签5", "便签5位置", &Note5PosX, &Note5PosY, "清除此便签内容", 194, 221},
    {6, "便签6", "便签6位置", &Note6PosX, &Note6PosY, "清除此便签内容", 196, 222},
    {7, "便签7", "便签7位置", &Note7PosX, &Note7PosY, "清除此便签内容", 192, 221},
};

}  // namespace

const TNoteTraits& NoteTraits(int slot)
{
    if (slot < 1 || slot > kNoteSlots)
        throw EListError("note slot " + std::to_string(slot) + " does not exist");
    return Traits[slot - 1];
}

std::string NoteFolder(std::string_view programFolder) { return std::string(programFolder) + "bq" + PathDelim; }

std::string NoteFilePath(std::string_view programFolder, int iid)
{
    return NoteFolder(programFolder) + std::to_string(iid) + ".txt";
}

std::string NoteTextFile(const std::string& storedPath, std::string_view programFolder, int iid)
{
    if (!storedPath.empty() && FileExists(storedPath))
        return storedPath;
    return NoteFilePath(programFolder, iid);
}

std::string NoteDateText(bool dateIsNull, TDateTime rq, TDateTime today)
{
    return DateTimeToStr(dateIsNull ? DateOf(today) : rq);
}

TDateTime NoteLineDate(std::string_view dateText, TDateTime today)
{
    TDateTime value = 0;
    return TryStrToDateTime(dateText, value) ? value : today;
}

std::string NoteWeekday(std::string_view dateText, TDateTime today)
{
    return WeekdayName(DayOfWeek(NoteLineDate(dateText, today)));
}

std::string NoteShowQuestion(std::string_view name) { return "您确定显示便签名称为：" + std::string(name) + "内容吗？"; }

std::string NoteMarkQuestion(std::string_view name, bool shown)
{
    return "您确定标记便签名称为：" + std::string(name) + (shown ? "为显示吗？" : "为不显示吗？");
}
