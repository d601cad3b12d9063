// The sticky notes and their records manager on a private data file under Wine: typing
// saves the note's GBK file and row, a reopened note finds its text, a failing save keeps
// the old file and is reported once, clearing touches only the note's own file, a chosen
// file lands in the note's file, a never-used note shows today, and a slot the manager
// marks free is closed by the clock window's timer. With VORPEN_SHOT_DIR set, two notes
// side by side and the manager are saved as BMPs.
#include <gtest/gtest.h>

#include "../app/DataModule.h"
#include "WinShot.h"
#include "app/core/dbware.h"
#include "app/win/Main.h"
#include "framework/base/FakeTimerService.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/FileDialogs.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/bqcx.h"
#include "organizer/win/bqr.h"

namespace {

const TDateTime kNow = EncodeDateTime(2026, 3, 10, 9, 30, 0, 0);   // a Tuesday

// Keys as the keyboard sends them: Enter and Backspace come as a key press and a character.
void Type(TNoteForm& note, const std::u16string& text)
{
    HWND h = note.NoteMemo1Control->Handle();
    for (char16_t c : text) {
        if (c == u'\r')
            SendMessageW(h, WM_KEYDOWN, VK_RETURN, 0);
        else if (c == u'\b')
            SendMessageW(h, WM_KEYDOWN, VK_BACK, 0);
        SendMessageW(h, WM_CHAR, c, 0);
    }
}

class StickyNotes : public testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        oldTimers = &CurrentTimerService();
        SetTimerService(&timers);
        SetExeFolder(data.File.Folder());
        SetClockSource([] { return kNow; });
    }
    void TearDown() override
    {
        for (TForm* f : forms)
            delete f;
        Application->ProcessMessages();
        SetClockSource(nullptr);
        SetExeFolder("");
        SetTimerService(oldTimers);
    }
    template <class T>
    T* Make()
    {
        T* f = NewForm<T>(nullptr);
        forms.push_back(f);
        return f;
    }
    void Drop(TForm* f)
    {
        std::erase(forms, f);
        delete f;
    }
    std::string FileOf(int iid) const { return NoteFilePath(data.File.Folder(), iid); }
    std::string Row(const std::string& field, int slot)
    {
        return data.Value("select " + field + " from sz_bqb where bz='便签" + std::to_string(slot) + "位置'");
    }

    FakeTimerService timers;
    TimerService* oldTimers = nullptr;
    DataModule data;
    MessageBoxRecorder boxes;
    std::vector<TForm*> forms;
};

TEST_F(StickyNotes, TypingSavesTheGbkFileAndRowAndAReopenedNoteFindsItsText)
{
    TFormbqr3* note = Make<TFormbqr3>();
    note->Show();
    EXPECT_EQ(NoteForms[2], note);
    EXPECT_EQ(note->N5->Caption(), "清除此便签内容");
    Type(*note, u"记事a");
    const std::string path = FileOf(3);
    EXPECT_EQ(ReadFileBytes(path), Utf8ToGbk("记事a"));
    Type(*note, u"\rb");
    EXPECT_EQ(ReadFileBytes(path), Utf8ToGbk("记事a\r\nb"));
    EXPECT_EQ(Row("qyzt", 3), "1");
    EXPECT_EQ(Row("strpath", 3), path);
    EXPECT_EQ(Row("rq", 3), "2026-01-01");

    // Emptying the note leaves the file with its last text.
    SendMessageW(note->NoteMemo1Control->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Type(*note, u"\b");
    EXPECT_EQ(ReadFileBytes(path), Utf8ToGbk("记事a\r\nb"));

    note->Close();
    Drop(note);
    note = Make<TFormbqr3>();
    note->Show();
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), Utf8ToGbk("记事a\r\nb"));
    EXPECT_EQ(note->Edit1->Text(), "2026-01-01");
    EXPECT_EQ(note->Label1->Caption(), "周四");
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(StickyNotes, AFailingSaveKeepsTheOldFileAndIsReportedOncePerRun)
{
    TFormbqr3* note = Make<TFormbqr3>();
    note->Show();
    Type(*note, u"old");
    const std::string path = FileOf(3);
    // A folder where the save writes its temporary file makes every save fail.
    const std::wstring blocker = Wide(path + ".tmp");
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    Type(*note, u"xyz");
    EXPECT_EQ(ReadFileBytes(path), "old");
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_NE(boxes.Calls[0].Text.find("便签3"), std::string::npos);

    note->N2->Click();   // asked for: reported again
    EXPECT_EQ(boxes.Calls.size(), 2u);
    RemoveDirectoryW(blocker.c_str());
    Type(*note, u"!");
    EXPECT_EQ(ReadFileBytes(path), "oldxyz!");
}

TEST_F(StickyNotes, ClearingEmptiesOnlyTheNotesOwnFileAndAChosenFileLandsInIt)
{
    TFormbqr3* three = Make<TFormbqr3>();
    TFormbqr5* five = Make<TFormbqr5>();
    three->Show();
    five->Show();
    Type(*three, u"three");
    Type(*five, u"five");

    boxes.Answer = IDNO;
    five->N5->Click();
    EXPECT_EQ(ReadFileBytes(FileOf(5)), "five");
    boxes.Answer = IDYES;
    five->N5->Click();
    EXPECT_EQ(ReadFileBytes(FileOf(5)), "");
    EXPECT_EQ(ReadFileBytes(FileOf(3)), "three");
    EXPECT_EQ(boxes.Calls.back().Text, "您确定清空此便签内容吗？");

    const std::string chosen = data.File.PathOf("选择.txt");
    WriteFileBytes(chosen, Utf8ToGbk("甲\r\n乙"));
    FileDialogRecorder dialogs;
    dialogs.Answer = chosen;
    five->N1->Click();
    EXPECT_EQ(dialogs.Calls.at(0).Filter, "文本文件|*.txt|所有文件|*.*");
    EXPECT_EQ(ReadFileBytes(FileOf(5)), Utf8ToGbk("甲\r\n乙"));
    EXPECT_EQ(ReadFileBytes(chosen), Utf8ToGbk("甲\r\n乙"));
    EXPECT_EQ(Row("qyzt", 5), "1");
}

TEST_F(StickyNotes, ANeverUsedNoteShowsTodayAndAnEmptyEditor)
{
    data.Exec("update sz_bqb set rq=NULL where bz='便签7位置'");
    TFormbqr7* note = Make<TFormbqr7>();
    note->Show();
    EXPECT_EQ(note->Edit1->Text(), "2026-03-10");
    EXPECT_EQ(note->Label1->Caption(), "周二");
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "");
    note->Edit1->SetText("2024-06-01");
    EXPECT_EQ(note->Label1->Caption(), "周六");

    // A date with a time shows whole in the narrowest note, up to the weekday; while it is
    // edited the "..." button sits between the two.
    note->Edit1->SetText("2026-12-28 23:58:58");
    EXPECT_EQ(note->Label1->Caption(), "周一");
    const auto shownWidth = [&] {
        HWND edit = note->Edit1->Handle();
        RECT r{};
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        HDC dc = GetDC(edit);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc, L"2026-12-28 23:58:58", 19, &text);
        SelectObject(dc, old);
        ReleaseDC(edit, dc);
        return int(r.right - r.left) - int(text.cx);
    };
    EXPECT_GE(shownWidth(), 0);
    EXPECT_LE(note->Edit1->Left() + note->Edit1->Width(), note->Label1->Left());
    note->Edit1->SetFocus();
    ASSERT_TRUE(note->BitBtn1->Visible());
    EXPECT_LE(note->Edit1->Left() + note->Edit1->Width(), note->BitBtn1->Left());
    EXPECT_LE(note->BitBtn1->Left() + note->BitBtn1->Width(), note->Label1->Left());
    note->NoteMemo1Control->SetFocus();
    EXPECT_FALSE(note->BitBtn1->Visible());
    EXPECT_GE(shownWidth(), 0);
    SaveShot(*note, "note-date-with-time");
    note->Edit1->SetText("");
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(boxes.Calls[0].Text, "日期不能为空！");
    Type(*note, u"x");   // an empty date line becomes today on save
    EXPECT_EQ(note->Edit1->Text(), "2026-03-10");
    EXPECT_EQ(Row("rq", 7), "2026-03-10");
}

TEST_F(StickyNotes, ANoteWhoseRowIsMissingStillShowsEmptyAndSaysWhyOnce)
{
    data.Exec("delete from sz_bqb where bz='便签2位置'");
    TFormbqr2* note = Make<TFormbqr2>();
    note->Show();
    EXPECT_TRUE(note->Visible());
    EXPECT_TRUE(IsWindowVisible(note->Handle()));
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "");
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_NE(boxes.Calls[0].Text.find("便签2"), std::string::npos);
    note->Show();
    EXPECT_EQ(boxes.Calls.size(), 1u);
}

// A note whose load failed shows empty and read-only: what is typed, chosen or cleared there
// never overwrites the text its file still holds.
TEST_F(StickyNotes, ANoteWhoseLoadFailedKeepsTheTextOfItsFile)
{
    CreateDir(NoteFolder(data.File.Folder()));
    WriteFileBytes(FileOf(6), "kept");
    data.Exec("update sz_bqb set rq='不是日期' where bz='便签6位置'");
    TFormbqr6* note = Make<TFormbqr6>();
    note->Show();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "");
    Type(*note, u"new");
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "");   // nothing taken that could be lost
    EXPECT_EQ(ReadFileBytes(FileOf(6)), "kept");
    EXPECT_EQ(boxes.Calls.size(), 1u);
    boxes.Answer = IDYES;
    EXPECT_ANY_THROW(note->N5->Click());
    EXPECT_EQ(ReadFileBytes(FileOf(6)), "kept");
}

// Once the note reads again, the next key loads it before it is typed: the key lands in
// the note's own text and is saved with it.
TEST_F(StickyNotes, ANoteWhoseLoadFailedLoadsAtTheNextKeyAndKeepsWhatIsTypedThen)
{
    CreateDir(NoteFolder(data.File.Folder()));
    WriteFileBytes(FileOf(5), "kept");
    data.Exec("update sz_bqb set rq='不是日期' where bz='便签5位置'");
    TFormbqr5* note = Make<TFormbqr5>();
    note->Show();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    Type(*note, u"lost?");
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "");
    data.Exec("update sz_bqb set rq='2026-03-09' where bz='便签5位置'");
    Type(*note, u"A");
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "Akept");
    EXPECT_EQ(ReadFileBytes(FileOf(5)), "Akept");
    EXPECT_EQ(note->Edit1->Text(), "2026-03-09");
    EXPECT_EQ(boxes.Calls.size(), 1u);
}

// The key that loads the note was pressed at an empty page: a Delete takes nothing from the
// text that appears; the next one acts on it as usual.
TEST_F(StickyNotes, TheKeyThatLoadsANoteTakesNothingFromItsText)
{
    CreateDir(NoteFolder(data.File.Folder()));
    WriteFileBytes(FileOf(4), "kept");
    data.Exec("update sz_bqb set rq='不是日期' where bz='便签4位置'");
    TFormbqr4* note = Make<TFormbqr4>();
    note->Show();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    data.Exec("update sz_bqb set rq='2026-03-09' where bz='便签4位置'");
    const HWND h = note->NoteMemo1Control->Handle();
    SendMessageW(h, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "kept");
    EXPECT_EQ(ReadFileBytes(FileOf(4)), "kept");
    SendMessageW(h, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "ept");
    EXPECT_EQ(ReadFileBytes(FileOf(4)), "ept");
    EXPECT_EQ(boxes.Calls.size(), 1u);
}

TEST_F(StickyNotes, AMovedProgramFolderFindsTheNoteInItsOwnFolder)
{
    CreateDir(NoteFolder(data.File.Folder()));
    WriteFileBytes(FileOf(6), "kept");
    data.Exec("update sz_bqb set strpath='C:\\gone\\bq\\6.txt' where bz='便签6位置'");
    TFormbqr6* note = Make<TFormbqr6>();
    note->Show();
    EXPECT_EQ(NoteMemoText(note->NoteMemo1), "kept");
}

// Resting the mouse on the title strip (its picture, date or weekday) or on the text shows
// the note's hint about the desktop edge.
TEST_F(StickyNotes, RestingOnTheStripOrTheTextShowsTheEdgeHint)
{
    TFormbqr1* note = Make<TFormbqr1>();
    note->Show();
    std::vector<std::string> shown;
    Application->OnShowHint = [&](std::string& hint, bool& canShow, THintInfo&) {
        shown.push_back(hint);
        canShow = false;
    };
    Application->SetShowHint(true);
    const std::pair<HWND, TPoint> rests[] = {
        {note->Panel2->Handle(), {note->Image1->Left() + 5, 10}}, {note->Panel2->Handle(), {note->Label1->Left() + 5, 15}},
        {note->Panel2->Handle(), {70, 3}}, {note->Edit1->Handle(), {5, 5}}, {note->NoteMemo1Control->Handle(), {60, 80}}};
    for (const auto& [window, at] : rests) {
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.X, at.Y));
        Application->ProcessMessages();
        timers.Advance(Application->HintPause + 10);
        PostMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(at.X, at.Y));   // hides it for the next rest
        Application->ProcessMessages();
    }
    Application->OnShowHint = nullptr;
    if (const char* dir = std::getenv("VORPEN_SHOT_DIR"); dir && *dir) {   // the hint as it shows, below the note
        note->SetBounds(100, 100, note->Width(), note->Height());
        SetCursorPos(160, 200);
        PostMessageW(note->NoteMemo1Control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 65));
        Application->ProcessMessages();
        timers.Advance(Application->HintPause + 10);
        PumpUntil([] { return false; }, 1000);
        SaveScreenArea({90, 90, 610, 430}, std::string(dir) + "\\note_hint.bmp");
        Application->CancelHint();
    }
    Application->SetShowHint(false);
    ASSERT_EQ(shown.size(), std::size(rests));
    for (const std::string& hint : shown)
        EXPECT_EQ(hint, "便签放在桌面的上边缘或右边缘会自动缩回，鼠标移到那里便签又会出来");
}

TEST_F(StickyNotes, TheManagerAndItsViewerOpenCentredOnTheScreen)
{
    for (TForm* f : {static_cast<TForm*>(Make<TFormbqcx>()), static_cast<TForm*>(Make<TFormxsbq>())}) {
        f->Show();
        EXPECT_NEAR(f->Left() + f->Width() / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << f->Name();
        EXPECT_NEAR(f->Top() + f->Height() / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1) << f->Name();
        f->Close();
    }
}

// The manager's "填写日期" shows a note's date and time in the program's formats, whole in
// its column inside the list view's padding of 5 px on either side of a label.
TEST_F(StickyNotes, TheManagerShowsADateAndTimeWhole)
{
    data.Exec("update sz_bqb set rq='2026-12-28 23:58:58' where bz='便签1位置'");
    data.Exec("update sz_bqb set rq='2026-03-09 08:05:00' where bz='便签2位置'");
    TFormbqcx* manager = Make<TFormbqcx>();
    manager->Show();
    SaveShot(*manager, "note-manager");
    ASSERT_EQ(manager->DBGrid1->Cells(1, 0), "2026-12-28 23:58:58");
    ASSERT_EQ(manager->DBGrid1->Cells(1, 1), "2026-03-09 8:05:00");
    const HWND grid = manager->DBGrid1->Handle();
    for (int row = 0; row < 2; ++row) {
        RECT cell{LVIR_LABEL, 1, 0, 0};
        SendMessageW(grid, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        const std::wstring shown = Wide(manager->DBGrid1->Cells(1, row));
        const int text = int(SendMessageW(grid, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(shown.c_str())));
        ASSERT_GT(text, 0);
        EXPECT_LE(text + 2 * 5, cell.right - cell.left) << "text " << text << ", label " << cell.right - cell.left;
    }
}

// The manager's "显示内容" finds a moved note's file where the note window does.
TEST_F(StickyNotes, TheManagerShowsAMovedNoteFromItsOwnFolder)
{
    CreateDir(NoteFolder(data.File.Folder()));
    WriteFileBytes(FileOf(6), Utf8ToGbk("搬家后"));
    data.Exec("update sz_bqb set strpath='C:\\gone\\bq\\6.txt' where bz='便签6位置'");
    TFormxsbq* viewer = Make<TFormxsbq>();
    Formxsbq = viewer;
    TFormbqcx* manager = Make<TFormbqcx>();
    manager->Show();
    TADOQuery& list = *dbhouse->qbqcx;
    while (!list.Eof() && list.FieldByName("xsbz").AsString() != "便签6")
        list.Next();
    ASSERT_FALSE(list.Eof());
    boxes.Answer = IDYES;
    PostMessageW(viewer->Handle(), WM_CLOSE, 0, 0);
    manager->skSkinButton3->ButtonClick();
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_EQ(NoteMemoText(viewer->Memo1), Utf8ToGbk("搬家后"));
    manager->Close();
    Formxsbq = nullptr;
}

TEST_F(StickyNotes, ASlotTheManagerMarksFreeIsClosedByTheClocksTimer)
{
    TFmMain* clock = Make<TFmMain>();
    TFormbqr4* note = Make<TFormbqr4>();
    TFormxsbq* viewer = Make<TFormxsbq>();
    Formxsbq = viewer;
    TFormbqcx* manager = Make<TFormbqcx>();
    clock->NoteForms[3] = note;
    data.Exec("update sz_sfxsb set bqxsf='1'");
    data.Exec("update sz_bqb set qyzt='1' where bz='便签4位置'");
    clock->tbwlTimer(clock);
    EXPECT_TRUE(note->Visible());

    manager->Show();
    TADOQuery& list = *dbhouse->qbqcx;
    ASSERT_TRUE(list.Active());
    while (!list.Eof() && list.FieldByName("xsbz").AsString() != "便签4")
        list.Next();
    boxes.Answer = IDYES;
    manager->skSkinButton3->ButtonClick();   // no file yet: nothing is asked
    EXPECT_TRUE(boxes.Calls.empty());
    manager->skSkinButton1->ButtonClick();
    EXPECT_EQ(boxes.Calls.at(0).Text, "您确定标记便签名称为：便签4为不显示吗？");
    EXPECT_EQ(Row("qyzt", 4), "0");
    EXPECT_TRUE(list.Active());
    clock->tbwlTimer(clock);
    EXPECT_FALSE(note->Visible());
    SaveShot(*manager, "note_manager");

    // With a file the viewer shows it (closed here by a posted close).
    WriteFileBytes(FileOf(4), Utf8ToGbk("第四张便签\r\n第二行"));
    data.Exec("update sz_bqb set strpath='" + FileOf(4) + "' where bz='便签4位置'");
    manager->FormShow(manager);
    while (!list.Eof() && list.FieldByName("xsbz").AsString() != "便签4")
        list.Next();
    PostMessageW(viewer->Handle(), WM_CLOSE, 0, 0);
    manager->skSkinButton3->ButtonClick();
    EXPECT_EQ(boxes.Calls.back().Text, "您确定显示便签名称为：便签4内容吗？");
    EXPECT_EQ(NoteMemoText(viewer->Memo1), Utf8ToGbk("第四张便签\r\n第二行"));
    EXPECT_FALSE(viewer->Visible());
    viewer->Show();
    SaveShot(*viewer, "note_viewer");
    viewer->Close();
    manager->Close();
    EXPECT_FALSE(list.Active());
    Formxsbq = nullptr;
}

TEST_F(StickyNotes, TwoNotesSideBySide)
{
    Note1PosX = 40, Note1PosY = 60;
    Note2PosX = 260, Note2PosY = 60;
    TFormbqr1* one = Make<TFormbqr1>();
    TFormbqr2* two = Make<TFormbqr2>();
    one->Show();
    two->Show();
    one->SetBounds(40, 60, one->Width(), one->Height());
    two->SetBounds(260, 60, two->Width(), two->Height());
    Type(*one, u"买牛奶\r周五交房租\r给妈妈打电话");
    Type(*two, u"会议纪要：下午三点\r带上笔记本");
    EXPECT_EQ(NoteMemoText(one->NoteMemo1), Utf8ToGbk("买牛奶\r\n周五交房租\r\n给妈妈打电话"));
    EXPECT_EQ(ReadFileBytes(FileOf(2)), Utf8ToGbk("会议纪要：下午三点\r\n带上笔记本"));
    EXPECT_LE(one->Left() + one->Width(), two->Left());   // side by side, not over each other
    // The strip and the text's background are in the tooltip colour.
    for (TNoteForm* note : {static_cast<TNoteForm*>(one), static_cast<TNoteForm*>(two)}) {
        TBitmap image(note->ClientWidth(), note->ClientHeight());
        note->PaintTo(image.Canvas().Handle(), 0, 0);
        GdiFlush();
        const uint32_t infoBk = ColorToRGB(clInfoBk);
        const uint32_t rgb = ((infoBk & 0xFF) << 16) | (infoBk & 0xFF00) | ((infoBk >> 16) & 0xFF);
        EXPECT_EQ(image.PixelARGB(note->ClientWidth() / 2, 2) & 0xFFFFFF, rgb) << note->Name();
        EXPECT_EQ(image.PixelARGB(note->ClientWidth() - 40, 32) & 0xFFFFFF, rgb) << note->Name();
        int body = 0, area = 0;   // the text's background, between its ruled lines
        for (int y = 40; y < note->ClientHeight(); y += 3)
            for (int x = 0; x < note->ClientWidth(); x += 3, ++area)
                body += (image.PixelARGB(x, y) & 0xFFFFFF) == rgb;
        EXPECT_GT(body, area / 2) << note->Name();
    }
    const char* dir = std::getenv("VORPEN_SHOT_DIR");
    if (!dir || !*dir)
        return;
    PumpUntil([] { return false; }, 1500);
    SaveScreenArea({30, 50, 490, 290}, std::string(dir) + "\\two_notes.bmp");
}

}  // namespace
