// The clock window's start-up and close on a private program folder (data file and
// images), and the single-instance start of two real vorpen.exe processes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "../db/DataFileCopy.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "app/win/Main.h"
#include "app/win/SingleInstance.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Dialogs.h"
#include "framework/win/Menus.h"
#include "framework/win/WinUtil.h"
#include "tests/smoke/ProcessWindows.h"

namespace fs = std::filesystem;

namespace {

class Startup : public testing::Test {
protected:
    void SetUp() override
    {
        fs::copy(fs::path(VORPEN_DIST_DIR) / "Images", Utf8Path(file.Folder()) / "Images");
        SetExeFolder(file.Folder());
        SetClockSource([] { return EncodeDateTime(2026, 5, 10, 12, 0, 0, 0); });
        dbhouse = new Tdbhouse(nullptr);
        form = NewForm<TFmMain>(nullptr);
        form->OnTerminate = [this] { ++terminations; };
        form->tmrDrawClock->SetEnabled(false);
    }
    void TearDown() override
    {
        delete form;
        delete dbhouse;
        dbhouse = nullptr;
        SetClockSource(nullptr);
        SetExeFolder("");
    }
    TADOQuery& Run(const std::string& sql)
    {
        TADOConnection& cnn = *dbhouse->democnn;
        if (!cnn.Connected()) {
            cnn.SetConnectionString(DataConnectionString(file.Folder()));
            cnn.Open();
        }
        TADOQuery& q = *dbhouse->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        return q;
    }
    void Exec(const std::string& sql) { Run(sql).ExecSQL(); }
    std::string Value(const std::string& sql)
    {
        TADOQuery& q = Run(sql);
        q.Open();
        std::string value = q.IsEmpty() ? "<none>" : q.Fields(0).AsString();
        q.Close();
        return value;
    }
    std::vector<bool> RunningTimers()
    {
        std::vector<bool> running;
        for (TTimer* t : {form->tszxsf, form->Timer1, form->tbwl, form->trq, form->tbs, form->tcsh, form->tmsn,
                          form->twzc, form->tqxbs, form->tjq})
            running.push_back(t->Enabled());
        return running;
    }

    DataFileCopy file;
    TFmMain* form = nullptr;
    int terminations = 0;
    MessageBoxRecorder boxes;
};

const std::vector<bool> kBeforeStartup = {true, false, false, false, false, false, true, true, false, false};
const std::vector<bool> kAfterStartup = {false, true, true, true, true, true, true, true, false, false};

}  // namespace

TEST_F(Startup, RunsEveryStepAndStartsTheTimersDespiteBadRows)
{
    Exec("update sz_jrb set realrq='1999-01-01'");
    Exec("insert into sz_jrb (jrmc, rqlx, realyr, qrbz) values ('坏', '阳历', 'xx', '0')");
    Exec("insert into sz_jrb (jrmc, rqlx, realyr, qrbz) values ('闰日', '阳历', '02-29', '0')");
    Exec("insert into sz_jrb (jrmc, rqlx, realyr, qrbz) values ('劳动节', '阳历', '05-01', '0')");
    Exec("insert into sz_bwlb (nr, ylsj, gqzdsc, qrbz) values ('a', '2026-05-06 08:00', '3天', '1')");
    Exec("insert into sz_bwlb (nr, ylsj, gqzdsc, qrbz) values ('b', '2026-05-07 08:00', '3天', '1')");
    Exec("insert into sz_bwlb (nr, ylsj, gqzdsc, qrbz) values ('c', '2026-01-01', '三天', '1')");
    Exec("insert into sz_bwlb (nr, ylsj, gqzdsc, qrbz) values ('d', '2026-01-01', '0天', '1')");
    Exec("delete from sz_fzb where bz='倒计时2位置'");
    dbhouse->democnn->Close();
    Countdown2PosX = 321;
    EXPECT_EQ(RunningTimers(), kBeforeStartup);

    form->tszxsfTimer(form->tszxsf);

    EXPECT_EQ(RunningTimers(), kAfterStartup);
    EXPECT_EQ(terminations, 0);
    EXPECT_TRUE(boxes.Calls.empty());
    EXPECT_TRUE(dbhouse->democnn->Connected());
    EXPECT_EQ(form->Alpha(), 100);   // the clock settings were loaded
    EXPECT_EQ(Value("select realrq from sz_jrb where jrmc='春节'"), "2026-02-17");
    EXPECT_EQ(Value("select realrq from sz_jrb where jrmc='闰日'"), "2026-02-28");
    EXPECT_EQ(Value("select realrq from sz_jrb where jrmc='劳动节'"), "2026-05-01");
    EXPECT_EQ(Value("select group_concat(nr, '') from (select nr from sz_bwlb order by iid)"), "bcd");
    EXPECT_EQ(CalendarPosX, 232);
    EXPECT_EQ(Countdown1PosY, 161);
    EXPECT_EQ(Countdown2PosX, 321);
    EXPECT_EQ(ChimeFrequency, "1");
    EXPECT_EQ(AltsWavPath, file.Folder() + "Sounds\\Clock\\alts.wav");
}

// The program makes its hidden windows once the clock's first frame is up and before the
// data file opens, once only.
TEST_F(Startup, TheHiddenWindowsComeAfterTheClocksFirstFrame)
{
    dbhouse->democnn->Close();
    std::vector<std::pair<int, bool>> calls;   // frames pushed, data file open
    form->OnClockShown = [&] { calls.emplace_back(form->FramesComposed(), dbhouse->democnn->Connected()); };
    form->tszxsfTimer(form->tszxsf);
    form->tszxsfTimer(form->tszxsf);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_GE(calls[0].first, 1);
    EXPECT_FALSE(calls[0].second);
    EXPECT_TRUE(dbhouse->democnn->Connected());
}

// The first frame, made before the window shows, carries Set.ini's look and the hands of
// now; start-up then neither loads nor draws it again, and still makes the hidden windows.
TEST_F(Startup, TheFirstFrameBeforeStartupIsNotDrawnAgain)
{
    SetClockSource([] { return EncodeDateTime(2026, 5, 10, 3, 0, 0, 0); });
    dbhouse->democnn->Close();
    int shown = 0;
    form->OnClockShown = [&] { ++shown; };
    std::ofstream(Utf8Path(file.PathOf("Set.ini")), std::ios::binary) << "[ZuzuvOdada]\r\nAlpha=60\r\n";
    form->ShowFirstFrame();
    EXPECT_EQ(form->FramesComposed(), 1);
    EXPECT_EQ(form->Alpha(), 60);
    EXPECT_EQ(form->pngHour->Rotate(), 90);
    EXPECT_EQ(form->pngMinute->Rotate(), 0);
    std::ofstream(Utf8Path(file.PathOf("Set.ini")), std::ios::binary) << "[ZuzuvOdada]\r\nAlpha=20\r\n";
    form->tszxsfTimer(form->tszxsf);
    EXPECT_EQ(form->Alpha(), 60);
    EXPECT_EQ(form->FramesComposed(), 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(RunningTimers(), kAfterStartup);
}

TEST_F(Startup, AStepThatFailsIsPassedOver)
{
    Exec("drop table sz_sfxsb");
    Exec("create table sz_sfxsb (other text)");
    Exec("insert into sz_sfxsb values ('1')");
    Exec("update sz_jrb set realrq='1999-01-01'");
    dbhouse->democnn->Close();
    form->tszxsfTimer(form->tszxsf);
    EXPECT_EQ(RunningTimers(), kAfterStartup);
    EXPECT_EQ(Value("select realrq from sz_jrb where jrmc='元旦'"), "2026-01-01");
    EXPECT_TRUE(boxes.Calls.empty());
}

TEST_F(Startup, ShownFlagsHideTheClockAndCheckTheTwinItems)
{
    Exec("update sz_sfxsb set szxsf='0', rlxsf='1', bwlxsf='0', bqxsf='1', djsxsf='0'");
    dbhouse->democnn->Close();
    std::vector<TMenuItem*> items;
    for (TMenuItem** item : {&form->N2, &form->N22, &form->N5, &form->N23, &form->N13, &form->N24, &form->N6,
                             &form->N25, &form->N14, &form->N26}) {
        *item = new TMenuItem(form);
        (*item)->SetChecked(true);
        items.push_back(*item);
    }
    form->SetVisible(true);
    form->tszxsfTimer(form->tszxsf);
    EXPECT_FALSE(form->Visible());
    std::vector<bool> checked;
    for (TMenuItem* item : items)
        checked.push_back(item->Checked());
    EXPECT_EQ(checked, (std::vector<bool>{false, false, true, true, false, false, true, true, false, false}));

    Exec("update sz_sfxsb set szxsf='1'");
    dbhouse->democnn->Close();
    form->tszxsfTimer(form->tszxsf);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->N2->Checked());
    EXPECT_TRUE(form->N22->Checked());
}

TEST_F(Startup, AMissingShownRowLeavesTheClockShown)
{
    Exec("delete from sz_sfxsb");
    dbhouse->democnn->Close();
    form->N2 = new TMenuItem(form);
    form->N2->SetChecked(true);
    form->SetVisible(true);
    form->tszxsfTimer(form->tszxsf);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->N2->Checked());
    EXPECT_EQ(RunningTimers(), kAfterStartup);
}

TEST_F(Startup, AMissingDataFileEndsTheProgramWithDataError)
{
    fs::remove(Utf8Path(file.FileName()));
    form->tszxsfTimer(form->tszxsf);
    ASSERT_EQ(boxes.Calls.size(), 1u);
    EXPECT_TRUE(boxes.Calls[0].Text.starts_with("data error\n")) << boxes.Calls[0].Text;
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(form->Timer1->Enabled());
    EXPECT_FALSE(form->tcsh->Enabled());
    EXPECT_FALSE(form->tszxsf->Enabled());
}

TEST_F(Startup, CloseWritesTheFourteenPositionsBack)
{
    form->tszxsfTimer(form->tszxsf);
    int n = 0;
    for (const TPositionKey& key : PositionKeys) {
        *key.X = 2000 + n;
        *key.Y = 100 + n++;
    }
    form->Close();
    n = 0;
    for (const TPositionKey& key : PositionKeys) {
        std::string where = std::string(" from sz_fzb where bz='") + key.Key + "'";
        EXPECT_EQ(Value("select xz" + where), IntToStr(2000 + n)) << key.Key;
        EXPECT_EQ(Value("select yz" + where), IntToStr(100 + n++)) << key.Key;
    }
}

TEST_F(Startup, CloseBeforeStartupLeavesThePositionsAlone)
{
    for (const TPositionKey& key : PositionKeys)
        *key.X = *key.Y = 0;
    form->Close();
    EXPECT_EQ(Value("select xz from sz_fzb where bz='日历位置'"), "232");
    EXPECT_EQ(Value("select yz from sz_fzb where bz='倒计时5位置'"), "437");
    EXPECT_FALSE(FileExists(file.PathOf("Set.ini")));   // nor the clock's zero alpha and place
}

TEST_F(Startup, CreationSetsTheLocaleFormatsAndHidesTheApplicationWindow)
{
    // The user locale outlives the process: other values first, then the window made anew.
    delete form;
    form = nullptr;
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy/M/d"));
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, "HH:mm:ss"));
    form = NewForm<TFmMain>(nullptr);
    form->OnTerminate = [this] { ++terminations; };
    form->tmrDrawClock->SetEnabled(false);
    char text[64] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, text, sizeof text);
    EXPECT_STREQ(text, "yyyy-MM-dd");
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, text, sizeof text);
    EXPECT_STREQ(text, "H:mm:ss");
    EXPECT_EQ(HwndExStyle(Application->Handle()) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
    EXPECT_TRUE(Application->ShowHint());
    EXPECT_EQ(terminations, 0);
}

TEST(SingleInstance, TitleGuardFindsOnlyAnotherApplicationWindowWithTheTitle)
{
    const std::string title = "vorpen guard test";
    Application->SetTitle(title);
    EXPECT_EQ(FindRunningInstance(), nullptr);
    // A folder window showing the program's folder carries the title too, but is no copy.
    HWND folder = CreateWindowExW(0, L"STATIC", Wide(title).c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(FindRunningInstance(), nullptr);
    wchar_t appClass[256] = {};
    GetClassNameW(Application->Handle(), appClass, 256);
    HWND other = CreateWindowExW(0, appClass, Wide(title).c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(FindRunningInstance(), other);
    EXPECT_EQ(Application->Title(), title);
    EXPECT_EQ(HwndText(Application->Handle()), title);
    DestroyWindow(other);
    DestroyWindow(folder);
    Application->SetTitle("");
    EXPECT_EQ(FindRunningInstance(), nullptr);
}

TEST(SingleInstance, TheSecondMutexOfTheNameReportsTheFirst)
{
    bool running = true;
    UniqueHandle first = CreateInstanceMutex(running);
    ASSERT_TRUE(first);
    EXPECT_FALSE(running);
    UniqueHandle second = CreateInstanceMutex(running);
    EXPECT_TRUE(running);
}

//--- Two real processes

namespace {

struct Process {
    PROCESS_INFORMATION Info{};
    ~Process()
    {
        if (Info.hProcess) {
            if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(Info.hProcess, 99);
            CloseHandle(Info.hThread);
            CloseHandle(Info.hProcess);
        }
    }
    bool Start(const fs::path& folder)
    {
        std::wstring exe = (folder / "vorpen.exe").wstring();
        STARTUPINFOW si{};
        si.cb = sizeof si;
        return CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(),
                              &si, &Info);
    }
    bool Running() const { return WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD Wait(DWORD ms)
    {
        DWORD code = 99;
        if (WaitForSingleObject(Info.hProcess, ms) == WAIT_OBJECT_0)
            GetExitCodeProcess(Info.hProcess, &code);
        return code;
    }
    std::set<HWND> VisibleWindows() const { return VisibleWindowsOf(Info.dwProcessId); }
    // Polls up to 30 s (a busy machine starts a process slowly) for a visible window that
    // `match` accepts.
    template <class Match>
    HWND WaitForWindow(Match match) const
    {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20))
            for (HWND hwnd : VisibleWindows())
                if (match(hwnd))
                    return hwnd;
        return nullptr;
    }
};

std::string ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return Narrow(name);
}

}  // namespace

TEST(SingleInstanceProcesses, ASecondCopyShowsTheMessageAndLeavesTheFirstAlone)
{
    DataFileCopy file;
    const fs::path folder = Utf8Path(file.Folder());
    fs::copy_file(fs::path(VORPEN_DIST_DIR) / "vorpen.exe", folder / "vorpen.exe");
    fs::copy(fs::path(VORPEN_DIST_DIR) / "Images", folder / "Images");
    // The festival dates that the first copy's start-up rewrites; -1 while the file is busy.
    auto staleFestivals = [&](const char* sql) {
        try {
            TADOConnection cnn(nullptr);
            cnn.SetConnectionString(file.ConnectionString());
            TADOQuery q(nullptr);
            q.SetConnection(&cnn);
            q.SQL.Add(sql);
            if (std::string_view(sql).starts_with("update"))
                return q.ExecSQL();
            q.Open();
            return q.FieldByName("n").AsInteger();
        } catch (const Exception&) {
            return -1;
        }
    };
    ASSERT_EQ(staleFestivals("update sz_jrb set realrq='1999-01-01'"), 6);

    Process first;
    ASSERT_TRUE(first.Start(folder));
    HWND clock = first.WaitForWindow([](HWND) { return true; });
    ASSERT_NE(clock, nullptr) << "the first copy showed no window";

    Process second;
    ASSERT_TRUE(second.Start(folder));
    HWND box = second.WaitForWindow([](HWND h) { return ClassOf(h) == "#32770"; });
    ASSERT_NE(box, nullptr) << "the second copy showed no message box";
    EXPECT_EQ(HwndText(box), "Title");
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            *reinterpret_cast<std::string*>(param) += HwndText(child) + "|";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    EXPECT_NE(text.find(AlreadyRunningText), std::string::npos) << text;
    EXPECT_EQ(second.VisibleWindows().size(), 1u);   // the box alone: no clock of its own

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.Wait(30000), 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(clock));

    // Polls up to 30 s for the first copy's start-up to have rewritten the festival dates.
    const char* stale = "select count(*) as n from sz_jrb where realrq='1999-01-01'";
    int left = staleFestivals(stale);
    for (const DWORD start = GetTickCount(); left != 0 && GetTickCount() - start < 30000;) {
        Sleep(20);
        left = staleFestivals(stale);
    }
    EXPECT_EQ(left, 0) << "the first copy did not run its start-up";
    EXPECT_TRUE(first.Running());
    for (HWND hwnd : first.VisibleWindows())
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(30000), 0u);
}
