// The timer passes and the memo list's query on data files of 1,000 to 100,000 memos and
// 1,006 festivals, made by tools/memodata/make-memo-data.py. Each figure carries its
// baseline from the same run (counters baseline_ms and ratio):
//   MemoPass, RepeatPass   the old read of every row (the pending query, every memo) and sort
//   RepeatFirstPass        the same moves, one committed update each
//   FestivalPass           the same updates in one transaction on bare SQLite
//   MemoListOpen           SQLite stepping through the list's bare query
// MemoListOpen also reports the bytes the open query holds (held_MB).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "app/core/MemoReminder.h"
#include "app/core/MemoRepeat.h"
#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

namespace fs = std::filesystem;

namespace {

const TDateTime Today = EncodeDate(2026, 12, 9);
const TDateTime Noon = Today + 0.5;

fs::path Folder() { return fs::temp_directory_path() / "vorpen-memo-bench"; }

// The generated file for `memos` memos, made once per run.
fs::path DataFile(int memos) {
    static std::map<int, fs::path> made;
    if (auto it = made.find(memos); it != made.end())
        return it->second;
    fs::create_directories(Folder());
    fs::path file = Folder() / ("memos-" + std::to_string(memos) + ".mdb");
    std::string command = std::string("python3 ") + VORPEN_SOURCE_DIR + "/tools/memodata/make-memo-data.py " +
                          VORPEN_SOURCE_DIR + "/resources/data/qmkDemo.sql " + file.string() + " " +
                          std::to_string(memos) + " --today 2026-12-09";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot make " + file.string());
    return made[memos] = file;
}

// A fresh copy of the generated file, opened through the data module.
struct TOpenFile {
    TComponent Owner{nullptr};
    Tdbhouse* House;
    explicit TOpenFile(int memos) {
        fs::path dir = Folder() / "work";
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(DataFile(memos), dir / DataFileName);
        House = new Tdbhouse(&Owner);
        House->democnn->SetConnectionString(DataConnectionString(dir.string() + "/"));
        House->democnn->Open();
    }
};

double Milliseconds(const std::function<void()>& work, int runs = 5) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void SetBaseline(benchmark::State& state, double baselineMs, double ms) {
    state.counters["ms"] = ms;
    state.counters["baseline_ms"] = baselineMs;
    state.counters["ratio"] = ms / baselineMs;
}

TADOQuery& Use(TADOQuery* q, const std::string& sql) {
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(sql);
    return *q;
}

// The pass as it was: every pending row, read, then weighed.
TMemoPlan OldMemoPass(Tdbhouse& db) {
    std::vector<TPendingMemo> rows;
    TADOQuery& q = Use(db.qbw1, "select * from sz_bwlb  where qrbz= :qrbz order by ylsj ");
    q.Parameters.ParamByName("qrbz").Value = "0";
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
        rows.push_back({q.FieldByName("iid").AsInteger(), q.FieldByName("ylsj").AsString(),
                        q.FieldByName("fzbz").AsString(), q.FieldByName("tqtsts").AsString(),
                        q.FieldByName("xssj").AsString(), q.FieldByName("nr").AsString()});
    q.Close();
    return PlanMemoPass(std::move(rows), Noon);
}

void MemoPass(benchmark::State& state) {
    TOpenFile file(int(state.range(0)));
    Tdbhouse& db = *file.House;
    for (auto _ : state)
        benchmark::DoNotOptimize(PlanMemoPass(ReadPendingMemos(db, Noon), Noon));
    SetBaseline(state, Milliseconds([&] { OldMemoPass(db); }),
                Milliseconds([&] { PlanMemoPass(ReadPendingMemos(db, Noon), Noon); }));
}
BENCHMARK(MemoPass)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Steady state: the memos due days back have been moved (as after the first passes).
void RepeatPass(benchmark::State& state) {
    TOpenFile file(int(state.range(0)));
    Tdbhouse& db = *file.House;
    while (RepeatMemos(db, Today, nullptr) > 0) {
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RepeatMemos(db, Today, nullptr));
    double old = Milliseconds([&] {
        TADOQuery& q = Use(db.qbw1, "select * from sz_bwlb   order by ylsj ");
        q.Open();
        for (q.First(); !q.Eof(); q.Next()) {
            TRepeatRow row{q.FieldByName("iid").AsInteger(), q.FieldByName("ylsj").AsString(),
                           q.FieldByName("fzbz").AsString(), q.FieldByName("chts").AsString(),
                           q.FieldByName("yybz").AsString(), q.FieldByName("xssj").AsString(),
                                 q.FieldByName("yinlsj").AsString()};
            try {
                benchmark::DoNotOptimize(NextRepeat(row, Today, nullptr));
            } catch (const EConvertError&) {
            }
        }
        q.Close();
    });
    SetBaseline(state, old, Milliseconds([&] { RepeatMemos(db, Today, nullptr); }));
}
BENCHMARK(RepeatPass)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first pass after some days away: about 3% of the memos move, in one transaction.
void RepeatFirstPass(benchmark::State& state) {
    int moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TOpenFile file(int(state.range(0)));
        state.ResumeTiming();
        moved = RepeatMemos(*file.House, Today, nullptr);
    }
    state.counters["moved"] = moved;
    // Baseline: the same number of updates, each committed alone.
    TOpenFile file(int(state.range(0)));
    sqlite3* db = file.House->democnn->Handle();
    double alone = Milliseconds(
        [&] {
            for (int i = 1; i <= moved; ++i)
                sqlite3_exec(db, ("update sz_bwlb set qrbz='0' where iid=" + std::to_string(i)).c_str(), nullptr, nullptr,
                             nullptr);
        },
        1);
    state.counters["baseline_ms"] = alone;
}
BENCHMARK(RepeatFirstPass)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Start-up's festival refresh on 1,006 festivals: every date moves (the first start of a
// year), then none does (every later start).
void FestivalPass(benchmark::State& state) {
    const bool moving = state.range(0) == 1;
    TOpenFile file(10);
    Tdbhouse& db = *file.House;
    for (auto _ : state) {
        if (moving) {
            state.PauseTiming();
            Use(db.qup, "update sz_jrb set realrq= '2025-01-01' ").ExecSQL();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(RefreshFestivalDates(db, 2026, Today));
    }
    sqlite3* handle = db.democnn->Handle();
    double bare = Milliseconds([&] {
        sqlite3_exec(handle, "begin immediate", nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(handle, "update sz_jrb set realrq= ?1 where iid= ?2", -1, &stmt, nullptr);
        for (int i = 1; i <= 1006; ++i) {
            sqlite3_bind_text(stmt, 1, "2026-01-01", -1, SQLITE_STATIC);
            sqlite3_bind_int(stmt, 2, i);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(handle, "commit", nullptr, nullptr, nullptr);
    });
    state.counters["baseline_ms"] = bare;
}
BENCHMARK(FestivalPass)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Start-up's steps on the data file, each timed once on a fresh copy (milliseconds).
void StartupSteps(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TOpenFile file(int(state.range(0)));
        Tdbhouse& db = *file.House;
        state.ResumeTiming();
        state.counters["festivals_ms"] = Milliseconds([&] { RefreshFestivalDates(db, 2026, Today); }, 1);
        state.counters["repeat_ms"] = Milliseconds([&] { RepeatMemos(db, Today, nullptr); }, 1);
        state.counters["purge_ms"] = Milliseconds([&] { PurgeRemindedMemos(db, Today); }, 1);
        state.counters["memo_pass_ms"] = Milliseconds([&] { PlanMemoPass(ReadPendingMemos(db, Noon), Noon); }, 1);
    }
}
BENCHMARK(StartupSteps)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The memo list's query opened as the list window opens it, against SQLite alone.
void MemoListOpen(benchmark::State& state) {
    TOpenFile file(int(state.range(0)));
    Tdbhouse& db = *file.House;
    const char* sql = "select * from sz_bwlb order by iid ";
    for (auto _ : state) {
        Use(db.qbwcx, sql).Open();
        benchmark::DoNotOptimize(db.qbwcx->RecordCount());
    }
    sqlite3* handle = db.democnn->Handle();
    double bare = Milliseconds([&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(handle, sql, -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
        sqlite3_finalize(stmt);
    });
    SetBaseline(state, bare, Milliseconds([&] { Use(db.qbwcx, sql).Open(); }));
}
BENCHMARK(MemoListOpen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
