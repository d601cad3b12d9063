#include <gtest/gtest.h>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "organizer/core/StickyNotes.h"
#include "tests/rtl/TempDir.h"

namespace {

const TDateTime kToday = EncodeDateTime(2026, 3, 10, 9, 30, 0, 0);   // a Tuesday

TEST(StickyNotes, EachSlotCarriesItsOwnNumberInKeyCaptionAndPair)
{
    for (int slot = 1; slot <= kNoteSlots; ++slot) {
        const TNoteTraits& t = NoteTraits(slot);
        const std::string n = std::to_string(slot);
        EXPECT_EQ(t.Slot, slot);
        EXPECT_EQ(std::string(t.Caption), "便签" + n);
        EXPECT_EQ(std::string(t.Key), "便签" + n + "位置");
        EXPECT_EQ(std::string(t.ClearCaption),
                  slot == 1 ? "清空便签内容" : slot == 2 ? "清空此便签内容" : "清除此便签内容");
        EXPECT_TRUE(t.ClientWidth >= 192 && t.ClientWidth <= 196);
        EXPECT_TRUE(t.ClientHeight >= 220 && t.ClientHeight <= 222);
        for (int other = 1; other < slot; ++other)
            EXPECT_TRUE(NoteTraits(other).PosX != t.PosX && NoteTraits(other).PosY != t.PosY);
    }
    EXPECT_THROW(NoteTraits(0), EListError);
    EXPECT_THROW(NoteTraits(8), EListError);
}

TEST(StickyNotes, FileIsNamedAfterTheRowsIidInTheBqFolder)
{
    const std::string d(1, PathDelim);
    EXPECT_EQ(NoteFilePath("C:" + d + "vorpen" + d, 12), "C:" + d + "vorpen" + d + "bq" + d + "12.txt");
    EXPECT_EQ(NoteFolder("x" + d), "x" + d + "bq" + d);
}

// The note window and the manager read a note's text from the same file.
TEST(StickyNotes, TextIsReadFromTheStoredPathWhileItExistsElseFromTheNotesOwnFile)
{
    TempDir dir;
    const std::string own = NoteFilePath(dir.Path(), 4), elsewhere = dir.Path() + "kept.txt";
    WriteFileBytes(elsewhere, "x");
    const std::pair<std::string, std::string> cases[] = {
        {"", own}, {elsewhere, elsewhere}, {dir.Path() + "gone.txt", own}, {"C:\\old\\bq\\4.txt", own}};
    for (const auto& [stored, read] : cases)
        EXPECT_EQ(NoteTextFile(stored, dir.Path(), 4), read) << stored;
}

TEST(StickyNotes, DateLineShowsTheStoredDateOrTodayForANeverUsedNote)
{
    const TDateTime midnight = EncodeDate(2024, 6, 1);
    EXPECT_EQ(NoteDateText(false, midnight, kToday), "2024-06-01");
    EXPECT_EQ(NoteDateText(false, midnight + EncodeTime(8, 5, 0, 0), kToday), "2024-06-01 8:05:00");
    EXPECT_EQ(NoteDateText(true, 0, kToday), "2026-03-10");
}

TEST(StickyNotes, WeekdayFollowsTheDateLineAndFallsBackToToday)
{
    const struct {
        const char* Line;
        const char* Weekday;
    } cases[] = {
        {"2024-06-01", "周六"}, {"2024-6-2", "周日"}, {"2024-06-03 10:00", "周一"}, {"2026-03-12", "周四"},
        {"not a date", "周二"}, {"2024-02-30", "周二"}, {"", "周二"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoteWeekday(c.Line, kToday), c.Weekday) << c.Line;
}

TEST(StickyNotes, ARunOfFailedSavesIsReportedOnce)
{
    TSaveFailureLatch latch;
    EXPECT_TRUE(latch.Failed());
    EXPECT_FALSE(latch.Failed());
    EXPECT_FALSE(latch.Failed());
    latch.Succeeded();
    EXPECT_FALSE(latch.Failing());
    EXPECT_TRUE(latch.Failed());
}

}  // namespace
