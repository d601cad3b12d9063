// Cost of painting the desktop calendar's month view under Wine: one paint of the grid (63
// cells, 42 of them with lunar texts and the festival lookup of each day), with the user's
// festivals read from the data file once per paint, set against a BitBlt of the grid's size
// in the same run. Run by hand with a copy of qmkDemo.mdb beside the program (the bench adds
// festival rows and removes them again):
//   wine month_view_paint_bench.exe [repeats]
#include <chrono>
#include <cstdio>

#include "app/core/dbhouse.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/Application.h"
#include "framework/win/Bitmap.h"
#include "organizer/win/Unit1.h"

namespace {
double MsPer(int n, auto&& step)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        step(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / n;
}

void Exec(const char* sql)
{
    TADOQuery& q = *dbhouse->qok;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add(sql);
    q.ExecSQL();
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int repeats = argc > 1 ? _wtoi(argv[1]) : 200;
    Application->Initialize();
    dbhouse = new Tdbhouse(nullptr);
    dbhouse->democnn->SetConnectionString(DataConnectionString(ExeFolder()));
    dbhouse->democnn->Open();
    Exec("delete from sz_jrb where jrmc like 'bench%'");
    for (int day = 1; day <= 28; day += 3) {
        const std::string sql = "insert into sz_jrb (jrmc, zdyf, realrq) values ('bench" + std::to_string(day) +
                                "', '1', '" + FormatDateTime("yyyy-mm-", Date()) + (day < 10 ? "0" : "") +
                                std::to_string(day) + "')";
        Exec(sql.c_str());
    }
    TForm1* form = NewForm<TForm1>(nullptr);
    form->Show();
    Application->ProcessMessages();

    TDrawGrid* grid = form->ChnCalendar1->Grid();
    TBitmap target(grid->Width(), grid->Height());
    const int queries = form->MarkQueries();
    const double paint = MsPer(repeats, [&](int) {
        SendMessageW(grid->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.Canvas().Handle()), PRF_CLIENT);
        GdiFlush();
    });
    const int perPaint = (form->MarkQueries() - queries) / repeats;
    TBitmap source(grid->Width(), grid->Height());
    const double blit = MsPer(repeats * 20, [&](int) {
        BitBlt(target.Canvas().Handle(), 0, 0, target.Width(), target.Height(), source.Canvas().Handle(), 0, 0,
               SRCCOPY);
        GdiFlush();
    });
    std::printf("month view paint %.3f ms (%.0f BitBlts), festival queries per paint %d, BitBlt %.4f ms\n", paint,
                paint / blit, perPaint, blit);
    Exec("delete from sz_jrb where jrmc like 'bench%'");
    delete form;
    delete dbhouse;
    return 0;
}
