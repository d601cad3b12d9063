// Starts vorpen.exe in a copy of the shipped folder (the program writes its data file and
// Set.ini beside itself), waits for its first visible window, asks it to close and
// expects a clean exit that left the shipped folder as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

#include <filesystem>
#include <set>
#include <string>

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

}  // namespace

TEST(Smoke, ProgramShowsAWindowAndExitsCleanlyWhenClosed)
{
    const fs::path dist = Widen(VORPEN_DIST_DIR), copy = UniqueTempPath("vorpen smoke");
    fs::remove_all(copy);
    fs::copy(dist, copy, fs::copy_options::recursive);
    fs::copy_file(Widen(VORPEN_PRISTINE_DATA_FILE), copy / L"qmkDemo.mdb", fs::copy_options::overwrite_existing);
    const auto shippedData = fs::last_write_time(dist / L"qmkDemo.mdb");
    const bool shippedSettings = fs::exists(dist / L"Set.ini");
    std::wstring folder = copy.wstring();
    std::wstring exe = folder + L"\\vorpen.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        << "cannot start " << VORPEN_DIST_DIR << "/vorpen.exe, error " << GetLastError();

    std::set<HWND> windows;
    for (int i = 0; i < 200 && windows.empty(); ++i) {
        if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0)
            break;
        windows = VisibleWindowsOf(pi.dwProcessId);
    }
    EXPECT_FALSE(windows.empty()) << "vorpen.exe showed no window within 10 s";

    for (HWND hwnd : windows)
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    DWORD wait = WaitForSingleObject(pi.hProcess, 15000);
    if (wait != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    EXPECT_EQ(wait, WAIT_OBJECT_0) << "vorpen.exe did not exit after WM_CLOSE";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(fs::exists(dist / L"Set.ini"), shippedSettings);
    EXPECT_TRUE(fs::last_write_time(dist / L"qmkDemo.mdb") == shippedData);
    std::error_code ec;
    fs::remove_all(copy, ec);
}
