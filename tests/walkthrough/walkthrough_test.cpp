// Walks the shipped program as a user would, from a copy of the shipped folder: opens the
// windows from the tray and clock menus (keys posted to the open menu), toggles the
// calendar, claims a countdown, quits from the menu, starts again and finds the calendar kept.
// Every window opened is saved as a BMP under walkthrough-shots beside the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::wstring Widen(const char* s)
{
    std::wstring w;
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    w.resize(n > 0 ? n - 1 : 0);
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    return w;
}

std::wstring ClassOf(HWND h)
{
    wchar_t name[128] = {};
    GetClassNameW(h, name, 128);
    return name;
}

std::wstring TitleOf(HWND h)
{
    wchar_t text[256] = {};
    GetWindowTextW(h, text, 256);
    return text;
}

std::string Narrow(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

struct Search {
    DWORD pid;
    std::set<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd))
        search->windows.insert(hwnd);
    return TRUE;
}

fs::path ShotFolder()
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    fs::path folder = fs::path(exe).parent_path() / L"walkthrough-shots";
    fs::create_directories(folder);
    return folder;
}

// Screen read-back through GDI, so layered windows come out composed.
void SaveShot(HWND h, const std::string& name)
{
    RECT r{};
    GetWindowRect(h, &r);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    if (w <= 0 || ht <= 0)
        return;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, ht, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const DWORD size = DWORD(((w * 3 + 3) / 4) * 4 * ht);
    BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    std::ofstream out(ShotFolder() / (name + ".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

class Program {
public:
    explicit Program(const fs::path& folder)
    {
        std::wstring dir = folder.wstring(), exe = dir + L"\\vorpen.exe";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
    }
    ~Program()
    {
        if (!started)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }

    // The visible top-level windows, open menus left out.
    std::set<HWND> Windows() const
    {
        Search search{pi.dwProcessId, {}};
        EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
        std::erase_if(search.windows, [](HWND h) { return ClassOf(h) == L"#32768"; });
        return search.windows;
    }

    // Waits until the set of visible windows has stayed the same for a second.
    std::set<HWND> Settled() const
    {
        std::set<HWND> last = Windows();
        for (int i = 0, same = 0; i < 300 && same < 20; ++i) {
            Sleep(50);
            std::set<HWND> now = Windows();
            same = now == last ? same + 1 : 0;
            last = std::move(now);
        }
        return last;
    }

    // Waits for the tray menu, right-clicking the icon again every five seconds.
    // Waits for the first window and for the tray icon's manager, then until the windows settle.
    std::set<HWND> Started() const
    {
        for (int i = 0; i < 600 && (Windows().empty() || !HasTrayManager()) && !Exited(0); ++i)
            Sleep(50);
        return Settled();
    }

    bool HasTrayManager() const
    {
        for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, L"VorpenUtilWindow", nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == pi.dwProcessId)
                return true;
        }
        return false;
    }

    HWND OpenTrayMenu() const
    {
        for (int i = 0; i < 300; ++i) {
            if (i % 100 == 0)
                RightClickTray();
            Search search{pi.dwProcessId, {}};
            EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
            for (HWND h : search.windows)
                if (ClassOf(h) == L"#32768")
                    return h;
            Sleep(50);
        }
        return nullptr;
    }

    // Right-clicks the tray icon: its callback message goes to the icon manager, one of
    // the program's hidden message-only windows.
    int RightClickTray() const
    {
        int posted = 0;
        for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, L"VorpenUtilWindow", nullptr));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == pi.dwProcessId && PostMessageW(h, RegisterWindowMessageW(L"DOV.TrayNotifyIconMsg"), 1, WM_RBUTTONDOWN))
                ++posted;
        }
        return posted;
    }

    // What the program shows now, for a failure message.
    std::string Describe() const
    {
        if (Exited(0))
            return "vorpen.exe has ended, exit code " + std::to_string(ExitCode());
        Search search{pi.dwProcessId, {}};
        EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR answer = 0;
        const bool responding = !search.windows.empty() &&
                                SendMessageTimeoutW(*search.windows.begin(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
        std::string out = "hidden windows that took the tray message: " + std::to_string(RightClickTray()) +
                          (responding ? "; responding" : "; not responding") + "; visible windows:";
        for (HWND h : search.windows) {
            RECT r{};
            GetWindowRect(h, &r);
            out += "\n  " + Narrow(ClassOf(h)) + " \"" + Narrow(TitleOf(h)) + "\" " + std::to_string(r.left) + "," +
                   std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
        }
        return out;
    }

    bool Exited(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    bool started = false;
    PROCESS_INFORMATION pi{};
};

// Walks an open menu: VK_DOWN from no selection picks the first item, separators are
// skipped; "R" opens a submenu (its first item selected), "E" chooses.
void Keys(HWND menu, const std::string& keys)
{
    for (char k : keys) {
        const WPARAM vk = k == 'D' ? VK_DOWN : k == 'R' ? VK_RIGHT : VK_RETURN;
        PostMessageW(menu, WM_KEYDOWN, vk, 1);
        PostMessageW(menu, WM_KEYUP, vk, 0xC0000001);
    }
}

std::string Down(int n) { return std::string(size_t(n), 'D'); }

std::set<HWND> Minus(const std::set<HWND>& a, const std::set<HWND>& b)
{
    std::set<HWND> out;
    for (HWND h : a)
        if (!b.count(h))
            out.insert(h);
    return out;
}

bool AnyTitled(const std::set<HWND>& windows, const std::wstring& title)
{
    for (HWND h : windows)
        if (TitleOf(h) == title)
            return true;
    return false;
}

class Walkthrough : public testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(copy);
        fs::copy(Widen(VORPEN_DIST_DIR), copy, fs::copy_options::recursive);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(copy, ec);
    }

    // Opens a tray menu item by its keys, saves each window it shows, and closes them.
    std::set<HWND> FromTray(const Program& p, const std::string& keys, const std::string& shot, bool close = true)
    {
        const std::set<HWND> before = p.Settled();
        HWND menu = p.OpenTrayMenu();
        if (!menu) {
            SaveShot(GetDesktopWindow(), "no-menu-" + shot);
            ADD_FAILURE() << "no tray menu for " << shot << "; " << p.Describe();
            broken = true;
            return {};
        }
        if (!trayShot) {
            SaveShot(menu, "tray-menu");
            trayShot = true;
        }
        Keys(menu, keys);
        const std::set<HWND> opened = Minus(p.Settled(), before);
        int n = 0;
        for (HWND h : opened)
            SaveShot(h, shot + (opened.size() > 1 ? "-" + std::to_string(++n) : ""));
        if (close) {
            for (HWND h : opened)
                PostMessageW(h, WM_CLOSE, 0, 0);
            for (int i = 0; i < 300 && !Minus(p.Windows(), before).empty(); ++i)
                Sleep(50);
            EXPECT_TRUE(Minus(p.Windows(), before).empty()) << shot << " stayed open";
        }
        return opened;
    }

    const fs::path copy = fs::temp_directory_path() / L"vorpen walkthrough";
    bool trayShot = false;
    bool broken = false;   // a step failed in a way that makes the next ones meaningless
};

// The tray menu's items as shown: 功能显示 (sub), 黄历查询, 快速提醒, 备忘录管理, 节日编辑,
// 便签管理 (sub), 倒计时管理 (sub), 其它参数设置, 在线帮助, 帮助, 退出.
const std::string Almanac = Down(2) + "E", QuickReminder = Down(3) + "E", MemoManager = Down(4) + "E",
                  Festivals = Down(5) + "E", NewCountdown = Down(7) + "RE", CountdownRecords = Down(7) + "RDE",
                  OtherSettings = Down(8) + "E", Support = Down(9) + "E", Quit = Down(11) + "E",
                  CalendarToggle = Down(1) + "RDE";

}  // namespace

TEST_F(Walkthrough, UserOpensTheWindowsTogglesQuitsAndFindsItKept)
{
    std::wstring calendarTitle;
    bool calendarShown = false;
    {
        Program p(copy);
        ASSERT_TRUE(p.started) << "cannot start vorpen.exe, error " << GetLastError();
        const std::set<HWND> first = p.Started();
        ASSERT_FALSE(first.empty()) << "vorpen.exe showed no window; " << p.Describe();
        int n = 0;
        for (HWND h : first)
            SaveShot(h, "start-" + std::to_string(++n));

        const std::pair<std::string, std::string> windows[] = {
            {Almanac, "almanac"},   {QuickReminder, "quick-reminder"},       {MemoManager, "memo-manager"},
            {Festivals, "festivals"}, {CountdownRecords, "countdown-records"}, {OtherSettings, "other-settings"},
            {Support, "support"}};
        for (const auto& [keys, shot] : windows) {
            FromTray(p, keys, shot);
            ASSERT_FALSE(broken);
        }

        // The calendar's mark flips its window; the change is stored at once.
        const std::set<HWND> before = p.Settled();
        FromTray(p, CalendarToggle, "calendar", false);
        ASSERT_FALSE(broken);
        const std::set<HWND> after = p.Settled();
        const std::set<HWND> shown = Minus(after, before), hidden = Minus(before, after);
        ASSERT_EQ(shown.size() + hidden.size(), 1u) << "the calendar toggle changed no single window";
        calendarShown = !shown.empty();
        calendarTitle = TitleOf(calendarShown ? *shown.begin() : *hidden.begin());
        EXPECT_FALSE(first.count(calendarShown ? *shown.begin() : *hidden.begin())) << "the toggle hit the clock";
        EXPECT_FALSE(calendarTitle.empty()) << "calendar shown: " << calendarShown;
        if (calendarShown) {
            SaveShot(*shown.begin(), "calendar");
        } else {
            // Shown once more for its picture, then hidden again.
            EXPECT_EQ(FromTray(p, CalendarToggle, "calendar", false).size(), 1u);
            FromTray(p, CalendarToggle, "calendar-hidden", false);
            EXPECT_FALSE(AnyTitled(p.Settled(), calendarTitle));
        }

        const std::set<HWND> countdown = FromTray(p, NewCountdown, "new-countdown", false);
        EXPECT_EQ(countdown.size(), 1u) << "a new countdown showed no single window";

        HWND menu = p.OpenTrayMenu();
        ASSERT_TRUE(menu) << p.Describe();
        Keys(menu, Quit);
        ASSERT_TRUE(p.Exited(20000)) << "退出 did not end the program";
        EXPECT_EQ(p.ExitCode(), 0u);
    }
    {
        Program p(copy);
        ASSERT_TRUE(p.started);
        const std::set<HWND> windows = p.Started();
        int n = 0;
        for (HWND h : windows)
            SaveShot(h, "restart-" + std::to_string(++n));
        EXPECT_EQ(AnyTitled(windows, calendarTitle), calendarShown) << Narrow(calendarTitle);
        HWND menu = p.OpenTrayMenu();
        ASSERT_TRUE(menu) << p.Describe();
        Keys(menu, Quit);
        ASSERT_TRUE(p.Exited(20000));
        EXPECT_EQ(p.ExitCode(), 0u);
    }
}
