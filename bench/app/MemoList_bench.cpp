// The memo list ("备忘录查询") opened, filled and painted under Wine, beside SQLite stepping
// through the list's bare query in the same run, with the growth of the working set while
// the list is open. Run by hand on folders each holding a data file qmkDemo.mdb made by
// tools/memodata/make-memo-data.py:
//   wine memo_list_bench.exe <folder> [<folder> ...]
#include "framework/win/WinApi.h"

#include <psapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/core/dbhouse.h"
#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"
#include "organizer/win/bwlcx.h"

namespace {

double Ms(auto&& work)
{
    auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double WorkingSetMB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.WorkingSetSize) / (1024 * 1024);
}

// Shows what is queued, painting included.
void Settle()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    Application->Initialize();
    for (int a = 1; a < argc; ++a) {
        const std::string folder = Narrow(argv[a]) + "\\";
        dbhouse = new Tdbhouse(nullptr);
        dbhouse->democnn->SetConnectionString(DataConnectionString(folder));
        dbhouse->democnn->Open();
        double bare = 1e300, open = 1e300, growth = 0;
        int rows = 0;
        for (int run = 0; run < 3; ++run) {
            bare = std::min(bare, Ms([&] {
                sqlite3_stmt* stmt = nullptr;
                sqlite3_prepare_v2(dbhouse->democnn->Handle(), "select * from sz_bwlb order by iid ", -1, &stmt, nullptr);
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                        sqlite3_column_text(stmt, c);
                sqlite3_finalize(stmt);
            }));
            auto* form = NewForm<TFormbwlcx>(nullptr);
            Settle();
            const double before = WorkingSetMB();
            open = std::min(open, Ms([&] {
                form->Show();
                UpdateWindow(form->Handle());
                Settle();
            }));
            growth = std::max(growth, WorkingSetMB() - before);
            rows = form->DBGrid1->RowCount();
            form->Close();
            Settle();
            delete form;
        }
        std::printf("%s: %d memos, list shown and painted %.1f ms, SQLite's bare query %.1f ms (%.1fx), "
                    "working set +%.1f MB while open\n",
                    Narrow(argv[a]).c_str(), rows, open, bare, open / bare, growth);
        delete dbhouse;
        dbhouse = nullptr;
    }
    return 0;
}
