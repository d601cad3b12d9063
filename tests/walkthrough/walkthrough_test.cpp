// Walks the shipped program as a user would, from a copy of the shipped folder: opens every
// window of the tray menu and of the clock's own menu (keys posted to the open menu),
// toggles the calendar, the sticky notes and the countdowns, changes the clock face, writes
// a sticky note, sets a countdown, frees a countdown slot in its records window, adds a memo
// that fires, quits from the menu, starts again and finds everything kept. The program's
// clock starts at a fixed moment (VORPEN_START_TIME), so no step hangs on the wall clock.
// Every window opened is saved as a BMP under walkthrough-shots beside the test.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/smoke/ProcessWindows.h"

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

// A control's text as it holds it now (GetWindowText on another process's window reads
// only the caption it was made with).
std::wstring TextOf(HWND h)
{
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, 512, LPARAM(text), SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

std::string Narrow(const std::wstring& w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
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
    // Paints still due on the window and its controls are done first (sent to its thread).
    RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    RedrawWindow(h, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
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

// Polls `done` every 50 ms for up to `ms`; true as soon as it holds.
bool WaitFor(const std::function<bool()>& done, int ms)
{
    for (int waited = 0;; waited += 50) {
        if (done())
            return true;
        if (waited >= ms)
            return false;
        Sleep(50);
    }
}

HWND Titled(const std::set<HWND>& windows, const std::wstring& title)
{
    for (HWND h : windows)
        if (TitleOf(h) == title)
            return h;
    return nullptr;
}

struct ChildSearch {
    std::function<bool(HWND)> match;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND h, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (search->match(h))
        search->found.push_back(h);
    return TRUE;
}

// The window's descendants that match, in creation order.
std::vector<HWND> Children(HWND parent, std::function<bool(HWND)> match)
{
    ChildSearch search{std::move(match), {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsClass(HWND h, const wchar_t* name) { return _wcsicmp(ClassOf(h).c_str(), name) == 0; }

HWND ChildTitled(HWND parent, const std::wstring& text)
{
    const std::vector<HWND> found = Children(parent, [&](HWND h) { return IsWindowVisible(h) && TitleOf(h) == text; });
    return found.empty() ? nullptr : found.front();
}

// A left click in the middle of a control, by its own mouse messages: a system button
// and a skinned (owner-painted) one take it alike.
bool Click(HWND control)
{
    if (!control)
        return false;
    RECT r{};
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_MOUSEMOVE, 0, at);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    return true;
}

// Waits until the window has stood still for half a second.
bool Still(HWND h)
{
    RECT last{};
    GetWindowRect(h, &last);
    int same = 0;
    return WaitFor([&] {
        RECT now{};
        GetWindowRect(h, &now);
        same = EqualRect(&now, &last) ? same + 1 : 0;
        last = now;
        return same >= 10;
    }, 20000);
}

std::string Gbk(const std::wstring& w)
{
    int n = WideCharToMultiByte(936, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(936, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

// Read with every sharing right: a plain stream would deny delete, and the program's save,
// which replaces the file, fails while the test polls it ("没有保存" boxes).
std::string FileText(const fs::path& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(h);
    return text;
}

// The first column of the first row of a query on the data file, or "(none)".
std::string Query(const fs::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string out = "(none)";
    if (sqlite3_open_v2(Narrow(file.wstring()).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 5000);   // the program may be writing
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
            if (const unsigned char* text = sqlite3_column_text(st, 0))
                out = reinterpret_cast<const char*>(text);
        }
        sqlite3_finalize(st);
    } else {
        out = "(cannot open)";
    }
    sqlite3_close(db);
    return out;
}

// The query's answer once it is `expected` (waiting up to 15 s for the program's write), else its last one.
std::string Awaited(const fs::path& file, const std::string& sql, const std::string& expected)
{
    std::string answer;
    WaitFor([&] { return (answer = Query(file, sql)) == expected; }, 15000);
    return answer;
}

class Program {
public:
    explicit Program(const fs::path& folder)
    {
        std::wstring dir = folder.wstring(), exe = dir + L"\\vorpen.exe";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, dir.c_str(),
                                 &si, &pi);
        if (!started)
            return;
        // The program ends with this test, even when the test is killed (a time-out) or crashes.
        job = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (job)
            SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        if (job)
            AssignProcessToJobObject(job, pi.hProcess);
        ResumeThread(pi.hThread);
    }
    ~Program()
    {
        if (!started)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (job)
            CloseHandle(job);
    }

    // The visible top-level windows, open menus left out.
    std::set<HWND> Windows() const
    {
        std::set<HWND> windows = VisibleWindowsOf(pi.dwProcessId);
        std::erase_if(windows, [](HWND h) { return ClassOf(h) == L"#32768"; });
        return windows;
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

    // The open popup menu (the last one opened when submenus show), or null.
    HWND OpenMenu() const
    {
        for (HWND h : VisibleWindowsOf(pi.dwProcessId))
            if (ClassOf(h) == L"#32768")
                return h;
        return nullptr;
    }

    // Waits for a popup menu, clicking again every eight seconds. A menu left open (by a
    // late answer to an earlier retry) is closed first, so that the keys reach the new one.
    HWND WaitForMenu(const std::function<void()>& click) const
    {
        WaitFor([this] {
            HWND stray = OpenMenu();
            if (stray) {
                PostMessageW(stray, WM_KEYDOWN, VK_ESCAPE, 1);
                PostMessageW(stray, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            }
            return !stray;
        }, 5000);
        for (int i = 0; i < 480; ++i) {
            if (i % 160 == 0)
                click();
            if (HWND h = OpenMenu())
                return h;
            Sleep(50);
        }
        return nullptr;
    }

    HWND OpenTrayMenu() const { return WaitForMenu([this] { RightClickTray(); }); }

    // The clock: the layered window that is not the calendar (called before any other shows).
    HWND Clock() const
    {
        for (HWND h : Windows())
            if (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED && TitleOf(h) != L"日历")
                return h;
        return nullptr;
    }

    // The countdown windows: untitled, 214 by 59.
    std::set<HWND> Countdowns() const
    {
        std::set<HWND> out;
        for (HWND h : Windows()) {
            RECT r{};
            GetClientRect(h, &r);
            if (TitleOf(h).empty() && r.right == 214 && r.bottom == 59)
                out.insert(h);
        }
        return out;
    }

    // Right-clicks the clock face: the clock opens its menu on the button's release.
    HWND OpenClockMenu() const
    {
        return WaitForMenu([this] {
            if (HWND clock = clockWindow) {
                RECT r{};
                GetClientRect(clock, &r);
                const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
                PostMessageW(clock, WM_RBUTTONDOWN, MK_RBUTTON, at);
                PostMessageW(clock, WM_RBUTTONUP, 0, at);
            }
        });
    }

    // Opens a window's own popup menu (WM_CONTEXTMENU at its middle).
    HWND OpenContextMenu(HWND window) const
    {
        return WaitForMenu([window] {
            RECT r{};
            GetWindowRect(window, &r);
            PostMessageW(window, WM_CONTEXTMENU, WPARAM(window),
                         MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        });
    }

    // A visible window of the program with that title, waiting up to `ms` for it.
    HWND WaitTitled(const std::wstring& title, int ms) const
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = Titled(Windows(), title)) != nullptr; }, ms);
        return found;
    }

    // Answers a message box of the program (a system dialog) with `button`; its picture is saved first.
    bool Answer(const std::string& shot, int button, int ms = 15000) const
    {
        HWND box = nullptr;
        WaitFor([&] {
            for (HWND h : Windows())
                if (ClassOf(h) == L"#32770")
                    return (box = h) != nullptr;
            return false;
        }, ms);
        if (!box)
            return false;
        Sleep(300);   // painted before the picture
        SaveShot(box, shot);
        PostMessageW(box, WM_COMMAND, WPARAM(button), 0);
        return WaitFor([&] { return !IsWindowVisible(box); }, ms);
    }

    // The program's hidden message-only windows (the tray icon's manager among them). Under
    // Wine, FindWindowEx over HWND_MESSAGE now and then lists none of another process's
    // while they exist (seen in CI with the icon shown in the tray): then every window
    // handle is tried, by its low word, for class and process.
    std::vector<HWND> UtilityWindows() const
    {
        std::vector<HWND> found;
        auto ours = [this](HWND h) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            return pid == pi.dwProcessId;
        };
        for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, L"VorpenUtilWindow", nullptr));)
            if (ours(h))
                found.push_back(h);
        if (found.empty())
            for (uintptr_t low = 0x20; low <= 0xFFFF; low += 2) {
                HWND h = reinterpret_cast<HWND>(low);
                if (IsWindow(h) && ours(h) && ClassOf(h) == L"VorpenUtilWindow")
                    found.push_back(h);
            }
        return found;
    }

    // Right-clicks the tray icon: its callback message goes to the icon manager.
    int RightClickTray() const
    {
        int posted = 0;
        for (HWND h : UtilityWindows())
            if (PostMessageW(h, RegisterWindowMessageW(L"DOV.TrayNotifyIconMsg"), 1, WM_RBUTTONDOWN))
                ++posted;
        return posted;
    }

    // What the program shows now, for a failure message.
    std::string Describe() const
    {
        if (Exited(0))
            return "vorpen.exe has ended, exit code " + std::to_string(ExitCode());
        const std::set<HWND> windows = VisibleWindowsOf(pi.dwProcessId);
        DWORD_PTR answer = 0;
        const bool responding = !windows.empty() &&
                                SendMessageTimeoutW(*windows.begin(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(pi.dwThreadId, &gui);
        std::string out = "hidden windows that took the tray message: " + std::to_string(RightClickTray()) +
                          (responding ? "; responding" : "; not responding") + "; gui flags " + std::to_string(gui.flags) +
                          (gui.hwndCapture ? ", capture " + Narrow(ClassOf(gui.hwndCapture)) : "") +
                          (gui.hwndMenuOwner ? ", menu owner " + Narrow(ClassOf(gui.hwndMenuOwner)) : "") +
                          (gui.hwndMoveSize ? ", moving " + Narrow(ClassOf(gui.hwndMoveSize)) : "") + "; visible windows:";
        for (HWND h : windows) {
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
    HANDLE job = nullptr;
    HWND clockWindow = nullptr;
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

// Keys for a menu item, the caption of the top item they pass through and the title of the
// window the item opens (empty: none, or an untitled one, which `untitled` marks).
struct Pick {
    std::string keys;
    std::string item;
    std::string window;
    bool untitled = false;
};

std::set<HWND> Minus(const std::set<HWND>& a, const std::set<HWND>& b)
{
    std::set<HWND> out;
    for (HWND h : a)
        if (!b.count(h))
            out.insert(h);
    return out;
}

HWND One(const std::set<HWND>& windows) { return windows.size() == 1 ? *windows.begin() : nullptr; }

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
        std::error_code ec;
        for (const fs::directory_entry& shot : fs::directory_iterator(ShotFolder(), ec))   // no stale pictures
            fs::remove(shot.path(), ec);
        fs::remove_all(copy);
        fs::copy(Widen(VORPEN_DIST_DIR), copy, fs::copy_options::recursive);
        fs::copy_file(Widen(VORPEN_PRISTINE_DATA_FILE), copy / L"qmkDemo.mdb", fs::copy_options::overwrite_existing);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(copy, ec);
    }

    // Opens a menu (tray or clock), walks it by `pick.keys`, saves each window that shows and
    // closes them. The top item reached is checked against its caption where the menu reads.
    std::set<HWND> FromMenu(const Program& p, bool clock, const Pick& pick, const std::string& shot, bool close = true)
    {
        const std::set<HWND> before = p.Settled();
        HWND menu = clock ? p.OpenClockMenu() : p.OpenTrayMenu();
        const char* which = clock ? "clock" : "tray";
        if (!menu) {
            SaveShot(GetDesktopWindow(), "no-menu-" + shot);
            ADD_FAILURE() << "no " << which << " menu for " << shot << "; " << p.Describe();
            broken = true;
            return {};
        }
        bool& shotTaken = clock ? clockShot : trayShot;
        if (!shotTaken) {
            Sleep(300);   // painted before the picture
            SaveShot(menu, std::string(which) + "-menu");
        }
        shotTaken = true;
        Keys(menu, pick.keys);
        // The menu closes once the keys are taken; the window they open shows after that,
        // however long a busy machine takes.
        WaitFor([&] { return !p.OpenMenu(); }, 30000);
        if (!pick.window.empty())
            WaitFor([&] { return AnyTitled(Minus(p.Windows(), before), Widen(pick.window.c_str())); }, 30000);
        else if (pick.untitled)
            WaitFor([&] { return !Minus(p.Windows(), before).empty(); }, 30000);
        const std::set<HWND> opened = Minus(p.Settled(), before);
        // The key counts are checked by what they open.
        if (!pick.window.empty() && !AnyTitled(opened, Widen(pick.window.c_str()))) {
            std::string titles;
            for (HWND h : opened)
                titles += " \"" + Narrow(TitleOf(h)) + "\"";
            ADD_FAILURE() << which << " menu keys " << pick.keys << " (" << pick.item << ") opened [" << titles
                          << " ] instead of " << pick.window;
        }
        int n = 0;
        for (HWND h : opened)
            SaveShot(h, shot + (opened.size() > 1 ? "-" + std::to_string(++n) : ""));
        if (close) {
            for (HWND h : opened)
                PostMessageW(h, WM_CLOSE, 0, 0);
            WaitFor([&] { return Minus(p.Windows(), before).empty(); }, 15000);
            EXPECT_TRUE(Minus(p.Windows(), before).empty()) << shot << " stayed open";
        }
        return opened;
    }
    std::set<HWND> FromTray(const Program& p, const Pick& pick, const std::string& shot, bool close = true)
    {
        return FromMenu(p, false, pick, shot, close);
    }

    // Presses a button of an open window (by its own mouse messages), pictures the window
    // that opens and closes it again.
    void FromButton(const Program& p, HWND form, const std::wstring& caption, const std::string& shot)
    {
        const std::set<HWND> before = p.Settled();
        ASSERT_TRUE(Click(ChildTitled(form, caption))) << "no button " << Narrow(caption) << " for " << shot;
        WaitFor([&] { return !Minus(p.Windows(), before).empty(); }, 30000);
        HWND opened = One(Minus(p.Settled(), before));
        ASSERT_TRUE(opened) << Narrow(caption) << " opened no single window; " << p.Describe();
        SaveShot(opened, shot);
        PostMessageW(opened, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(opened); }, 15000)) << shot << " stayed open";
    }

    fs::path Data() const { return copy / L"qmkDemo.mdb"; }

    const fs::path copy = UniqueTempPath("vorpen walkthrough");
    bool trayShot = false, clockShot = false;
    bool broken = false;   // a step failed in a way that makes the next ones meaningless
};

// The tray menu's items as shown: 功能显示 (sub: 时钟显示, 日历显示, 备忘录列表, 便签, 倒计时),
// a separator, 黄历查询(黄道吉日), 快速提醒, 备忘录管理(事件提醒), 节日编辑, 便签管理 (sub:
// 新增便签, 便签记录查询), 倒计时管理 (sub: 新增倒计时, 倒计时记录查询), 其它参数设置, 在线帮助,
// 帮助, 退出. VK_DOWN from no selection picks the first item and skips separators.
const Pick Almanac{Down(2) + "E", "黄历查询(黄道吉日)", "黄历查询"}, QuickReminder{Down(3) + "E", "快速提醒", "快速提醒"},
    MemoManager{Down(4) + "E", "备忘录管理(事件提醒)", "备忘录查询"}, Festivals{Down(5) + "E", "节日编辑", "节日编辑"},
    NewNote{Down(6) + "RE", "便签管理", "便签1"}, NoteRecords{Down(6) + "RDE", "便签管理", "备忘录信息管理"},
    NewCountdown{Down(7) + "RE", "倒计时管理", "", true}, CountdownRecords{Down(7) + "RDE", "倒计时管理", "倒计时查询"},
    OtherSettings{Down(8) + "E", "其它参数设置", "其它参数设置"}, Support{Down(9) + "E", "在线帮助", "在线技术支持"},
    Quit{Down(11) + "E", "退出", ""}, CalendarToggle{Down(1) + "R" + Down(1) + "E", "功能显示", ""},
    NotesToggle{Down(1) + "R" + Down(3) + "E", "功能显示", ""}, CountdownsToggle{Down(1) + "R" + Down(4) + "E", "功能显示", ""};

// The clock menu's items as shown (its other items are hidden): 功能显示 (sub, as the tray's),
// 时钟皮肤 (sub: 蓝, 黑), 黄历查询(黄道吉日), 快速提醒, 备忘录管理, 节日编辑, 便签管理 (sub),
// 倒计时管理 (sub), 其它参数设置, 在线帮助, 帮助, 退出; no separators.
const Pick ClockAlmanac{Down(3) + "E", "黄历查询(黄道吉日)", "黄历查询"},
    ClockQuickReminder{Down(4) + "E", "快速提醒", "快速提醒"}, ClockMemoManager{Down(5) + "E", "备忘录管理", "备忘录查询"},
    ClockFestivals{Down(6) + "E", "节日编辑", "节日编辑"}, ClockNoteRecords{Down(7) + "RDE", "便签管理", "备忘录信息管理"},
    ClockCountdownRecords{Down(8) + "RDE", "倒计时管理", "倒计时查询"},
    ClockOtherSettings{Down(9) + "E", "其它参数设置", "其它参数设置"}, ClockSupport{Down(10) + "E", "在线帮助", "在线技术支持"},
    BlackFace{Down(2) + "RDE", "时钟皮肤", ""};

// The program's clock starts here: mid-morning, so that a memo due this minute stays due
// today however slow the walk.
const wchar_t StartTime[] = L"2026-03-05 10:00:00";
const std::wstring NoteText = L"走查便签：买菜 3 斤", CountdownTitle = L"走查考试", MemoText = L"走查备忘：开会";

}  // namespace

TEST_F(Walkthrough, UserWalksTheProgramQuitsAndFindsEverythingKept)
{
    SetEnvironmentVariableW(L"VORPEN_START_TIME", StartTime);
    // Transparency has no visible menu item; the user's Set.ini carries it and must keep it.
    std::ofstream(copy / L"Set.ini", std::ios::binary) << "[ZuzuvOdada]\r\nAlpha=60\r\n";

    std::wstring calendarTitle;
    bool calendarShown = false;
    {
        Program p(copy);
        ASSERT_TRUE(p.started) << "cannot start vorpen.exe, error " << GetLastError();
        ASSERT_TRUE(WaitFor([&] { return p.Clock() != nullptr || p.Exited(0); }, 60000)) << "no clock; " << p.Describe();
        // The shipped data shows the desktop calendar a second after start.
        ASSERT_TRUE(p.WaitTitled(L"日历", 60000)) << "no desktop calendar; " << p.Describe();
        const std::set<HWND> first = p.Settled();
        ASSERT_FALSE(first.empty()) << "vorpen.exe showed no window";
        int n = 0;
        for (HWND h : first) {
            SaveShot(h, "start-" + std::to_string(++n));
            std::printf("start window %d: %s \"%s\"\n", n, Narrow(ClassOf(h)).c_str(), Narrow(TitleOf(h)).c_str());
        }
        p.clockWindow = p.Clock();
        ASSERT_TRUE(p.clockWindow) << "no clock window; " << p.Describe();

        const std::pair<Pick, std::string> windows[] = {
            {Almanac, "almanac"},       {QuickReminder, "quick-reminder"},       {MemoManager, "memo-manager"},
            {Festivals, "festivals"},   {NoteRecords, "note-records"},           {CountdownRecords, "countdown-records"},
            {OtherSettings, "other-settings"}, {Support, "support"}};
        for (const auto& [pick, shot] : windows) {
            FromTray(p, pick, shot);
            ASSERT_FALSE(broken);
        }
        // The festival list's editors, for their pictures.
        HWND festivals = One(FromTray(p, Festivals, "festivals-2", false));
        ASSERT_TRUE(festivals && TitleOf(festivals) == L"节日编辑") << p.Describe();
        FromButton(p, festivals, L"新增", "festival-add");
        FromButton(p, festivals, L"编辑", "festival-edit");
        PostMessageW(festivals, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(festivals); }, 15000)) << "节日编辑 stayed open";

        // The clock menu's twins open the same windows.
        const std::pair<Pick, std::string> clockWindows[] = {
            {ClockAlmanac, "clock-almanac"},         {ClockQuickReminder, "clock-quick-reminder"},
            {ClockMemoManager, "clock-memo-manager"}, {ClockFestivals, "clock-festivals"},
            {ClockNoteRecords, "clock-note-records"}, {ClockCountdownRecords, "clock-countdown-records"},
            {ClockOtherSettings, "clock-other-settings"}, {ClockSupport, "clock-support"}};
        for (const auto& [pick, shot] : clockWindows) {
            EXPECT_EQ(FromMenu(p, true, pick, shot).size(), 1u) << shot << " showed no single window";
            ASSERT_FALSE(broken);
        }

        // The black face, chosen from the clock menu, is stored at quit.
        FromMenu(p, true, BlackFace, "clock-black", false);
        ASSERT_FALSE(broken);
        WaitFor([&] { return false; }, 500);   // the next frame is drawn within 200 ms
        SaveShot(p.clockWindow, "clock-black");

        // The calendar's mark flips its window; the change is stored at once.
        const std::set<HWND> before = p.Settled();
        FromTray(p, CalendarToggle, "calendar", false);
        ASSERT_FALSE(broken);
        WaitFor([&] { return p.Windows() != before; }, 30000);
        const std::set<HWND> after = p.Settled();
        const std::set<HWND> shown = Minus(after, before), hidden = Minus(before, after);
        ASSERT_EQ(shown.size() + hidden.size(), 1u) << "the calendar toggle changed no single window";
        calendarShown = !shown.empty();
        calendarTitle = TitleOf(calendarShown ? *shown.begin() : *hidden.begin());
        ASSERT_NE(calendarShown ? *shown.begin() : *hidden.begin(), p.clockWindow) << "the toggle hit the clock";
        EXPECT_FALSE(calendarTitle.empty()) << "calendar shown: " << calendarShown;
        if (calendarShown) {
            SaveShot(*shown.begin(), "calendar");
        } else {
            // Shown once more for its picture, then hidden again.
            Pick show = CalendarToggle;
            show.window = Narrow(calendarTitle);
            EXPECT_EQ(FromTray(p, show, "calendar", false).size(), 1u);
            FromTray(p, CalendarToggle, "calendar-hidden", false);
            WaitFor([&] { return !AnyTitled(p.Windows(), calendarTitle); }, 30000);
            EXPECT_FALSE(AnyTitled(p.Settled(), calendarTitle));
        }

        // Sticky notes and countdowns shown: their windows follow their slots from now on.
        FromTray(p, NotesToggle, "notes-on", false);
        FromTray(p, CountdownsToggle, "countdowns-on", false);
        ASSERT_FALSE(broken);
        ASSERT_EQ(Awaited(Data(), "select bqxsf || djsxsf from sz_sfxsb", "11"), "11");

        // A sticky note: claimed from the menu, typed into, saved as GBK text at once.
        FromTray(p, NewNote, "note-new", false);
        ASSERT_FALSE(broken);
        HWND note = p.WaitTitled(L"便签1", 15000);
        ASSERT_TRUE(note) << "新增便签 showed no 便签1; " << p.Describe();
        const std::vector<HWND> editors = Children(note, [](HWND h) { return IsClass(h, L"VorpenNoteEdit"); });
        ASSERT_EQ(editors.size(), 1u) << "the note has no single editor";
        for (wchar_t c : NoteText)
            PostMessageW(editors.front(), WM_CHAR, c, 1);
        const fs::path noteFile = copy / L"bq" / L"1.txt";
        EXPECT_TRUE(WaitFor([&] { return FileText(noteFile) == Gbk(NoteText); }, 15000))
            << "note file holds \"" << FileText(noteFile) << "\"";
        SaveShot(note, "note");
        HWND noteRecords = One(FromTray(p, NoteRecords, "note-records-2", false));
        ASSERT_TRUE(noteRecords && TitleOf(noteRecords) == L"备忘录信息管理") << p.Describe();
        ASSERT_TRUE(Click(ChildTitled(noteRecords, L"显示内容"))) << "no 显示内容 button";
        ASSERT_TRUE(p.Answer("note-view-question", IDYES)) << "no question to show the note; " << p.Describe();
        HWND viewer = p.WaitTitled(L"显示便签内容", 15000);
        ASSERT_TRUE(viewer) << "显示内容 showed no note; " << p.Describe();
        SaveShot(viewer, "note-view");
        PostMessageW(viewer, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(viewer); }, 15000)) << "显示便签内容 stayed open";
        PostMessageW(noteRecords, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(noteRecords); }, 15000));

        // Two countdowns claimed; the second one set to three days in its settings dialog.
        HWND countdown1 = One(FromTray(p, NewCountdown, "countdown-new-1", false));
        HWND countdown2 = One(FromTray(p, NewCountdown, "countdown-new-2", false));
        ASSERT_FALSE(broken);
        const char* const inUse = "select group_concat(qyzt, '') from (select qyzt from sz_djsb order by bz)";
        ASSERT_EQ(Awaited(Data(), inUse, "11000"), "11000");
        ASSERT_TRUE(countdown1 && countdown2) << "新增倒计时 showed no single window; " << p.Describe();
        ASSERT_EQ(p.Countdowns(), (std::set<HWND>{countdown1, countdown2}));
        HWND menu = p.OpenContextMenu(countdown2);
        ASSERT_TRUE(menu) << "the countdown has no menu; " << p.Describe();
        Keys(menu, "DE");   // 倒计时参数设置, 标记为不显示
        HWND settings = p.WaitTitled(L"倒计时设置", 15000);
        ASSERT_TRUE(settings) << "倒计时参数设置 showed no dialog; " << p.Describe();
        const std::vector<HWND> edits = Children(settings, [](HWND h) { return IsClass(h, L"Edit") && !IsClass(GetParent(h), L"ComboBox"); });
        const std::vector<HWND> combos = Children(settings, [](HWND h) { return IsClass(h, L"ComboBox"); });
        ASSERT_FALSE(edits.empty());
        ASSERT_EQ(combos.size(), 2u);
        SendMessageW(edits.front(), WM_SETTEXT, 0, LPARAM(CountdownTitle.c_str()));
        SendMessageW(ChildTitled(settings, L"相对时间"), BM_CLICK, 0, 0);
        SendMessageW(combos[0], WM_SETTEXT, 0, LPARAM(L"3"));
        const LRESULT days = SendMessageW(combos[1], CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"天"));
        ASSERT_GE(days, 0) << "no unit 天";
        SendMessageW(combos[1], CB_SETCURSEL, WPARAM(days), 0);
        WaitFor([] { return false; }, 300);   // painted before the picture
        SaveShot(settings, "countdown-settings");
        PostMessageW(ChildTitled(settings, L"确定"), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }, 15000)) << "确定 left the dialog open";
        SaveShot(countdown2, "countdown");
        const std::string countdownRow = Narrow(CountdownTitle) + "|1";
        EXPECT_EQ(Awaited(Data(), "select zt || '|' || qyzt from sz_djsb where bz = '倒计时2'", countdownRow), countdownRow);

        // The first countdown's slot freed in the records window (its first row).
        HWND records = One(FromTray(p, CountdownRecords, "countdown-records-2", false));
        ASSERT_TRUE(records && TitleOf(records) == L"倒计时查询") << p.Describe();
        ASSERT_TRUE(Click(ChildTitled(records, L"标记不显示"))) << "no 标记不显示 button";
        ASSERT_TRUE(p.Answer("countdown-free-question", IDYES)) << "no question to free the slot; " << p.Describe();
        EXPECT_EQ(Awaited(Data(), "select qyzt from sz_djsb where bz = '倒计时1'", "0"), "0") << "the slot was not freed";
        PostMessageW(records, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(countdown1); }, 20000)) << "the freed countdown stayed shown";

        // A memo due this minute, added from the memo list; it fires at the next pass.
        HWND memos = One(FromTray(p, MemoManager, "memo-manager-2", false));
        ASSERT_TRUE(memos && TitleOf(memos) == L"备忘录查询") << p.Describe();
        ASSERT_TRUE(Click(ChildTitled(memos, L"新增"))) << "no 新增 button";
        HWND add = p.WaitTitled(L"备忘录新增", 15000);
        ASSERT_TRUE(add) << "新增 showed no memo dialog; " << p.Describe();
        SendMessageW(ChildTitled(add, L"精确到分钟"), BM_CLICK, 0, 0);
        const std::vector<HWND> texts = Children(add, [](HWND h) { return IsClass(h, L"Edit") && GetWindowLongPtrW(h, GWL_STYLE) & ES_MULTILINE; });
        ASSERT_EQ(texts.size(), 1u);
        for (wchar_t c : MemoText)   // typed: a multi-line edit reports no change for WM_SETTEXT
            PostMessageW(texts.front(), WM_CHAR, c, 1);
        ASSERT_TRUE(WaitFor([&] { return TextOf(texts.front()) == MemoText; }, 15000)) << "the memo text was not typed";
        for (HWND combo : Children(add, [](HWND h) { return IsClass(h, L"ComboBox") && IsWindowEnabled(h); }))
            SendMessageW(combo, CB_SETCURSEL, 0, 0);
        WaitFor([] { return false; }, 300);
        SaveShot(add, "memo-add");
        const std::set<HWND> beforeMemo = p.Windows();
        PostMessageW(ChildTitled(add, L"备忘录新增"), BM_CLICK, 0, 0);
        EXPECT_EQ(Awaited(Data(), "select count(*) from sz_bwlb", "1"), "1") << "备忘录新增 stored no memo; " << p.Describe();
        PostMessageW(add, WM_CLOSE, 0, 0);
        PostMessageW(memos, WM_CLOSE, 0, 0);
        HWND fired = p.WaitTitled(L"日历消息提示窗体", 30000);
        ASSERT_TRUE(fired) << "the memo did not fire; " << p.Describe();
        EXPECT_TRUE(Still(fired)) << "the memo's notice kept moving";   // it slides in
        SaveShot(fired, "memo-fired");
        const std::string memoRow = Narrow(MemoText) + "|1";
        EXPECT_EQ(Awaited(Data(), "select nr || '|' || qrbz from sz_bwlb", memoRow), memoRow);
        PostMessageW(fired, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(fired); }, 15000)) << "the memo's notice stayed open";
        memos = One(FromTray(p, MemoManager, "memo-manager-3", false));
        ASSERT_TRUE(memos) << p.Describe();
        FromButton(p, memos, L"编辑", "memo-edit");
        PostMessageW(memos, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(memos); }, 15000));

        menu = p.OpenTrayMenu();
        ASSERT_TRUE(menu) << p.Describe();
        Keys(menu, Quit.keys);
        ASSERT_TRUE(p.Exited(20000)) << "退出 did not end the program";
        EXPECT_EQ(p.ExitCode(), 0u);
    }
    const std::string ini = FileText(copy / L"Set.ini");
    EXPECT_NE(ini.find("SkinType=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Alpha=60"), std::string::npos) << ini;
    {
        Program p(copy);
        ASSERT_TRUE(p.started);
        ASSERT_TRUE(WaitFor([&] { return p.Clock() != nullptr || p.Exited(0); }, 60000)) << "no clock; " << p.Describe();
        // The note and the countdown come back with the memo timer's first pass.
        HWND note = p.WaitTitled(L"便签1", 30000);
        WaitFor([&] { return !p.Countdowns().empty(); }, 30000);
        // The calendar, if kept shown, comes a second after start.
        WaitFor([&] { return AnyTitled(p.Windows(), calendarTitle) == calendarShown; }, calendarShown ? 30000 : 0);
        const std::set<HWND> windows = p.Settled();
        int n = 0;
        for (HWND h : windows)
            SaveShot(h, "restart-" + std::to_string(++n));
        EXPECT_EQ(AnyTitled(windows, calendarTitle), calendarShown) << Narrow(calendarTitle);
        EXPECT_TRUE(note) << "the note is not shown again";
        EXPECT_EQ(p.Countdowns().size(), 1u) << "the countdown is not shown again, or the freed one came back";
        EXPECT_EQ(FileText(copy / L"bq" / L"1.txt"), Gbk(NoteText));
        HWND menu = p.OpenTrayMenu();
        ASSERT_TRUE(menu) << p.Describe();
        Keys(menu, Quit.keys);
        ASSERT_TRUE(p.Exited(20000));
        EXPECT_EQ(p.ExitCode(), 0u);
    }
    EXPECT_EQ(Query(Data(), "select nr || '|' || qrbz from sz_bwlb"), Narrow(MemoText) + "|1");
    EXPECT_EQ(Query(Data(), "select zt from sz_djsb where bz = '倒计时2'"), Narrow(CountdownTitle));
    EXPECT_EQ(Query(Data(), "select rlxsf from sz_sfxsb"), calendarShown ? "1" : "0");
}
