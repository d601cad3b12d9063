// Opening the data file and the start-up reads (settings, shown flags, this year's festival
// dates, the fourteen positions, the memo passes) on a file with 200 festivals and 2 000
// memos. Each statement commits by itself, as in the program.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

TADOQuery& Use(TADOQuery* q, const char* sql) {
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(sql);
    return *q;
}

std::string PrepareFolder() {
    auto dir = std::filesystem::temp_directory_path() / "vorpen-db-bench";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(VORPEN_PRISTINE_DATA_FILE, dir / "qmkDemo.mdb");
    std::string folder = dir.string() + "/";

    TComponent app(nullptr);
    auto* house = new Tdbhouse(&app);
    house->democnn->SetConnectionString(DataConnectionString(folder));
    for (int i = 0; i < 194; ++i) {
        TADOQuery& q = Use(house->qins, "insert into sz_jrb(jrmc,jrlx,rqlx,jryf,jrrq,qsnf,yypath,jrhyfrq,realyr,zdyf )");
        q.SQL.Add("values(:jrmc,:jrlx,:rqlx,:jryf,:jrrq,:qsnf,:yypath,:jrhyfrq,:realyr,:zdyf)");
        for (const char* n : {"jrlx", "jryf", "jrrq", "qsnf", "yypath", "jrhyfrq"})
            q.Parameters.ParamByName(n).Value = "";
        q.Parameters.ParamByName("jrmc").Value = "纪念日" + IntToStr(i);
        q.Parameters.ParamByName("rqlx").Value = i % 2 ? "阳历" : "阴历";
        q.Parameters.ParamByName("realyr").Value = Format("%.2d-%.2d", {int64_t(i % 12 + 1), int64_t(i % 28 + 1)});
        q.Parameters.ParamByName("zdyf").Value = "1";
        q.ExecSQL();
    }
    for (int i = 0; i < 2000; ++i) {
        TADOQuery& q = Use(house->qbw, "insert into sz_bwlb(yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz)");
        q.SQL.Add(" values(:yybz,:ylsj,:yinlsj,:nr,:tqtsts,:gqzdsc,:chts,:yypath,:xssj,:fzbz,:qrbz)");
        std::string due = Format("2099-%.2d-%.2d", {int64_t(i % 12 + 1), int64_t(i % 28 + 1)});
        for (const char* n : {"yypath", "xssj"})
            q.Parameters.ParamByName(n).Value = "";
        q.Parameters.ParamByName("yybz").Value = "1";
        q.Parameters.ParamByName("ylsj").Value = due + " 08:30:00";
        q.Parameters.ParamByName("yinlsj").Value = due;
        q.Parameters.ParamByName("nr").Value = "备忘内容 " + IntToStr(i);
        q.Parameters.ParamByName("tqtsts").Value = "3天";
        q.Parameters.ParamByName("gqzdsc").Value = "15天";
        q.Parameters.ParamByName("chts").Value = "每0天";
        q.Parameters.ParamByName("fzbz").Value = "1";
        q.Parameters.ParamByName("qrbz").Value = i % 4 ? "0" : "1";   // a quarter reminded, none expired
        q.ExecSQL();
    }
    return folder;
}

void StartupReads(benchmark::State& state) {
    std::string folder = PrepareFolder();
    int year = YearOf(Date());
    for (auto _ : state) {
        TComponent app(nullptr);
        auto* d = new Tdbhouse(&app);
        d->democnn->SetConnectionString(DataConnectionString(folder));
        d->democnn->Open();

        TADOQuery& qcx = Use(d->qcx, "select * from sz_qtcsb ");
        qcx.Open();
        ChimeFrequency = qcx.FieldByName("bspl").AsString();
        ChimeMode = qcx.FieldByName("bsfs").AsString();
        ReminderPlayCount = qcx.FieldByName("bwjrbfcs").AsInteger();
        qcx.Close();

        TADOQuery& qxsf = Use(d->qxsf, "select * from sz_sfxsb ");
        qxsf.Open();
        for (const char* f : {"szxsf", "rlxsf", "bwlxsf", "bqxsf", "djsxsf"})
            benchmark::DoNotOptimize(qxsf.FieldByName(f).AsString() == "1");
        qxsf.Close();

        Use(d->qcx, "select * from sz_jrb order by iid ").Open();
        for (qcx.First(); !qcx.Eof(); qcx.Next()) {
            std::string md = qcx.FieldByName("realyr").AsString();
            TADOQuery& up = Use(d->qup, "update sz_jrb set realrq= :realrq where iid= :iid ");
            up.Parameters.ParamByName("realrq").Value = StrToDateTime(IntToStr(year) + "-" + md);
            up.Parameters.ParamByName("iid").Value = qcx.FieldByName("iid").AsInteger();
            up.ExecSQL();
        }
        qcx.Close();

        for (const auto& entry : PositionKeys) {
            TADOQuery& q = Use(d->qsz, "select * from sz_fzb where bz= :bz ");
            q.Parameters.ParamByName("bz").Value = entry.Key;
            q.Open();
            *entry.X = q.FieldByName("xz").AsInteger();
            *entry.Y = q.FieldByName("yz").AsInteger();
        }

        TADOQuery& qbw1 = Use(d->qbw1, "select * from sz_bwlb  where qrbz= :qrbz order by ylsj ");
        qbw1.Parameters.ParamByName("qrbz").Value = "1";
        qbw1.Open();
        for (qbw1.First(); !qbw1.Eof(); qbw1.Next())
            benchmark::DoNotOptimize(qbw1.FieldByName("chts").AsString());
        qbw1.Close();

        Use(d->qcx, "select * from sz_bwlb where qrbz= :qrbz order by iid ").Parameters.ParamByName("qrbz").Value = "1";
        qcx.Open();
        TDateTime today = Date();
        for (qcx.First(); !qcx.Eof(); qcx.Next()) {
            TDateTime due = DateOf(StrToDateTime(qcx.FieldByName("ylsj").AsString()));
            std::string keep = qcx.FieldByName("gqzdsc").AsString();
            benchmark::DoNotOptimize(today - due > StrToInt(keep.substr(0, keep.size() - 3)));
        }
        qcx.Close();
    }
}

}  // namespace

BENCHMARK(StartupReads)->Unit(benchmark::kMillisecond);
