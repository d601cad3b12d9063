// The data module, the shipped data file and the shared variables of dbware.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sqlite3.h>

#include "DataFileCopy.h"
#include "app/core/MemoReminder.h"
#include "app/core/MemoRepeat.h"
#include "app/core/Startup.h"
#include "app/core/dbhouse.h"
#include "app/core/dbware.h"
#include "framework/db/DatabaseError.h"
#include "framework/rtl/FileUtils.h"

namespace {

// The module as start-up makes it, opened on a private copy of the data file.
struct Module {
    DataFileCopy File;
    TComponent Application{nullptr};
    Tdbhouse* House = new Tdbhouse(&Application);
    Module() {
        House->democnn->Close();
        House->democnn->SetConnectionString("");
        House->democnn->SetLoginPrompt(false);
        House->democnn->SetConnectionString(DataConnectionString(File.Folder()));
        House->democnn->Open();
    }
    TADOQuery& Use(TADOQuery* q, const std::string& sql) {
        q->Close();
        q->SQL.Clear();
        q->SQL.Add(sql);
        return *q;
    }
};

std::vector<std::string> Column(TADOQuery& q, const char* name) {
    std::vector<std::string> values;
    for (q.First(); !q.Eof(); q.Next())
        values.push_back(q.FieldByName(name).AsString());
    return values;
}

}  // namespace

TEST(DataModule, CreatesItsComponentsByName) {
    TComponent application(nullptr);
    dbhouse = new Tdbhouse(&application);
    EXPECT_EQ(application.FindComponent("dbhouse"), dbhouse);
    EXPECT_EQ(dbhouse->FindComponent("democnn"), dbhouse->democnn);
    EXPECT_FALSE(dbhouse->democnn->LoginPrompt());
    EXPECT_FALSE(dbhouse->democnn->Connected());
    const char* queries[] = {"qsz",  "qcx",  "qdc",  "qup",  "qbw",   "qbwcx", "qbw1",  "qgx",
                             "qjrcx", "qins", "qjrts", "qjr",  "qrqcx", "qdcbw", "qxsf",  "qrbq",
                             "qy",   "qbqcx", "qxzbq", "qsum", "qdjs",  "qzdy",  "qgq",   "qok"};
    for (const char* name : queries) {
        auto* q = dynamic_cast<TADOQuery*>(dbhouse->FindComponent(name));
        ASSERT_NE(q, nullptr) << name;
        EXPECT_EQ(q->Connection(), dbhouse->democnn) << name;
        EXPECT_EQ(q->SQL.Count(), 0) << name;
    }
    EXPECT_EQ(dbhouse->ComponentCount(), 1 + 24 + 4);
    std::pair<const char*, TADOQuery*> sources[] = {
        {"qbwcx_s", dbhouse->qbwcx}, {"qjrcx_s", dbhouse->qjrcx}, {"qbqcx_s", dbhouse->qbqcx}, {"qdjs_s", dbhouse->qdjs}};
    for (auto [name, query] : sources) {
        auto* s = dynamic_cast<TDataSource*>(dbhouse->FindComponent(name));
        ASSERT_NE(s, nullptr) << name;
        EXPECT_EQ(s->DataSet(), query) << name;
    }
}

TEST(DataModule, ConnectionStringOfTheProgram) {
    EXPECT_EQ(DataConnectionString("C:\\时钟\\"),
              "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Jet OLEDB:Database Password=m3n7q2s8v4x6 ; "
              "Data Source=C:\\时钟\\qmkDemo.mdb ;Persist Security Info=true");
}

TEST(DataModule, AProgramFolderHoldingASemicolonOpens) {
    DataFileCopy file;
    const std::string folder = file.Folder() + "时钟;v1" + PathDelim;
    std::filesystem::create_directory(Utf8Path(folder));
    std::filesystem::copy_file(Utf8Path(file.FileName()), Utf8Path(folder + DataFileName));
    TComponent application(nullptr);
    auto* house = new Tdbhouse(&application);
    house->democnn->SetConnectionString(DataConnectionString(folder));
    house->democnn->Open();
    EXPECT_EQ(house->democnn->FileName(), folder + DataFileName);
}

TEST(DataModule, MissingDataFileFailsTheOpen) {
    DataFileCopy file;
    TComponent application(nullptr);
    auto* house = new Tdbhouse(&application);
    house->democnn->SetConnectionString(DataConnectionString(file.Folder() + "nowhere" + "/"));
    EXPECT_THROW(house->democnn->Open(), EDatabaseError);
    EXPECT_FALSE(house->democnn->Connected());
}

TEST(ShippedData, FixedRowsAndSettings) {
    Module m;
    TADOQuery& q = m.Use(m.House->qxzbq, "select * from sz_bqb order by bz ");
    q.Open();
    EXPECT_EQ(Column(q, "bz"), (std::vector<std::string>{"便签1位置", "便签2位置", "便签3位置", "便签4位置",
                                                         "便签5位置", "便签6位置", "便签7位置"}));
    EXPECT_EQ(Column(q, "iid"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(Column(q, "qyzt"), std::vector<std::string>(7, "0"));
    for (q.First(); !q.Eof(); q.Next())   // a real date, never day zero (1899-12-30)
        EXPECT_GT(q.FieldByName("rq").AsDateTime(), EncodeDate(2000, 1, 1)) << q.FieldByName("bz").AsString();
    m.Use(m.House->qxzbq, "select * from sz_djsb order by bz ").Open();
    EXPECT_EQ(Column(q, "bz"), (std::vector<std::string>{"倒计时1", "倒计时2", "倒计时3", "倒计时4", "倒计时5"}));
    EXPECT_EQ(Column(q, "qyzt"), std::vector<std::string>(5, "0"));
    for (q.First(); !q.Eof(); q.Next())
        EXPECT_GT(q.FieldByName("zdsj").AsDateTime(), EncodeDate(2000, 1, 1)) << q.FieldByName("bz").AsString();

    TADOQuery& s = m.Use(m.House->qxsf, "select * from sz_sfxsb ");
    s.Open();
    ASSERT_EQ(s.RecordCount(), 1);
    EXPECT_EQ(s.FieldByName("szxsf").AsString(), "1");
    EXPECT_EQ(s.FieldByName("rlxsf").AsString(), "1");

    TADOQuery& o = m.Use(m.House->qcx, "select * from sz_qtcsb ");
    o.Open();
    ASSERT_EQ(o.RecordCount(), 1);
    EXPECT_EQ(o.FieldByName("bspl").AsString(), "1");
    EXPECT_EQ(o.FieldByName("bsfs").AsString(), "1");
    EXPECT_EQ(o.FieldByName("bwjrbfcs").AsInteger(), 2);
    EXPECT_NE(o.FieldByName("bwlqzypath").AsString(), "");
    EXPECT_NE(o.FieldByName("jrqzypath").AsString(), "");

    TADOQuery& k = m.Use(m.House->qdc, "select * from sz_ksb where bz= :bz  ");
    k.Parameters.ParamByName("bz").Value = "1";
    k.Open();
    EXPECT_EQ(k.RecordCount(), 1);
    EXPECT_EQ(k.FieldByName("zdsj").AsString(), "");

    TADOQuery& j = m.Use(m.House->qzdy, "select * from sz_jrb where zdyf= :zdyf   ");
    j.Parameters.ParamByName("zdyf").Value = "1";
    j.Open();
    std::set<std::string> names;
    for (j.First(); !j.Eof(); j.Next()) {
        names.insert(j.FieldByName("jrmc").AsString());
        EXPECT_EQ(j.FieldByName("qrbz").AsString(), "0");
        EXPECT_EQ(j.FieldByName("rqlx").AsString() == "阳历",
                  j.FieldByName("jrmc").AsString() == "元旦" || j.FieldByName("jrmc").AsString() == "国庆节");
    }
    EXPECT_EQ(names, (std::set<std::string>{"春节", "元宵节", "端午节", "中秋节", "元旦", "国庆节"}));
}

TEST(ShippedData, SettingsUpdatesWithoutWhereChangeTheOneRow) {
    Module m;
    for (const char* value : {"0", "1"}) {
        TADOQuery& u = m.Use(m.House->qup, "update sz_sfxsb set bqxsf= :bqxsf ");
        u.Parameters.ParamByName("bqxsf").Value = value;
        EXPECT_EQ(u.ExecSQL(), 1);
        TADOQuery& r = m.Use(m.House->qy, "select bqxsf from sz_sfxsb ");
        r.Open();
        EXPECT_EQ(r.FieldByName("bqxsf").AsString(), value);
    }
    TADOQuery& u = m.Use(m.House->qup, "update sz_qtcsb set bwjrbfcs= :bwjrbfcs ");
    u.Parameters.ParamByName("bwjrbfcs").Value = "3";
    EXPECT_EQ(u.ExecSQL(), 1);
}

TEST(ShippedData, NewFestivalGetsItsIdAndIsReminded) {
    Module m;
    std::vector<int> ids;
    for (int i = 0; i < 2; ++i) {
        TADOQuery& q = m.Use(m.House->qins, "insert into sz_jrb(jrmc,jrlx,rqlx,jryf,jrrq,qsnf,yypath,jrhyfrq,realyr,zdyf )");
        q.SQL.Add("values(:jrmc,:jrlx,:rqlx,:jryf,:jrrq,:qsnf,:yypath,:jrhyfrq,:realyr,:zdyf)");
        for (const char* n : {"jrlx", "jryf", "jrrq", "qsnf", "yypath", "jrhyfrq"})
            q.Parameters.ParamByName(n).Value = "";
        q.Parameters.ParamByName("jrmc").Value = "妈妈生日";
        q.Parameters.ParamByName("rqlx").Value = "阴历";
        q.Parameters.ParamByName("realyr").Value = "03-08";
        q.Parameters.ParamByName("zdyf").Value = "1";
        q.ExecSQL();
        TADOQuery& r = m.Use(m.House->qjrcx, "select * from sz_jrb order by iid ");
        r.Open();
        r.Last();
        ids.push_back(r.FieldByName("iid").AsInteger());
        EXPECT_EQ(r.FieldByName("qrbz").AsString(), "0");
    }
    EXPECT_EQ(ids, (std::vector<int>{7, 8}));
    // Deleting the newest row does not hand its id out again.
    TADOQuery& d = m.Use(m.House->qup, "delete from sz_jrb where iid= :iid ");
    d.Parameters.ParamByName("iid").Value = 8;
    EXPECT_EQ(d.ExecSQL(), 1);
    EXPECT_EQ(d.ExecSQL(), 0);   // a missing key row changes nothing
}

TEST(SharedVariables, InitialValuesAndPositionKeys) {
    EXPECT_EQ(ReminderPlayCount, 2);
    EXPECT_EQ(SpeechWavPaths.size(), 24u);
    EXPECT_STREQ(PositionKeys[0].Key, "日历位置");
    EXPECT_STREQ(PositionKeys[1].Key, "备忘录位置");
    EXPECT_STREQ(PositionKeys[8].Key, "便签7位置");
    EXPECT_STREQ(PositionKeys[13].Key, "倒计时5位置");
    EXPECT_EQ(PositionKeys[0].X, &CalendarPosX);
    EXPECT_EQ(PositionKeys[13].Y, &Countdown5PosY);
    std::set<int32_t*> vars;
    std::set<std::string> keys;
    for (const auto& entry : PositionKeys) {
        vars.insert(entry.X);
        vars.insert(entry.Y);
        keys.insert(entry.Key);
    }
    EXPECT_EQ(vars.size(), 28u);
    EXPECT_EQ(keys.size(), 14u);
}

TEST(SharedVariables, PositionsLoadAndSaveThroughTheKeyTable) {
    Module m;
    const TPositionsRead read = LoadWindowPositions(*m.House);
    EXPECT_EQ(std::count(read.begin(), read.end(), true), 14);
    EXPECT_EQ(CalendarPosX, 232);
    EXPECT_EQ(Countdown5PosY, 437);
    for (const auto& entry : PositionKeys) {   // on a 1280 x 800 screen, clear of the docking edges
        EXPECT_GT(*entry.X, 20) << entry.Key;
        EXPECT_GT(*entry.Y, 20) << entry.Key;
        EXPECT_LT(*entry.X, 1280 - 196 - 20) << entry.Key;
        EXPECT_LT(*entry.Y, 800 - 59) << entry.Key;
    }
    int i = 0;
    for (const auto& entry : PositionKeys) {
        *entry.X = -100 - i;
        *entry.Y = 2000 + i++;
    }
    SaveWindowPositions(*m.House, read);
    for (const auto& entry : PositionKeys)
        *entry.X = *entry.Y = 0;
    LoadWindowPositions(*m.House);
    EXPECT_EQ(CalendarPosX, -100);
    EXPECT_EQ(MemoBoardPosY, 2001);
    EXPECT_EQ(Countdown5PosX, -113);
}

namespace {

std::vector<std::string> IndexNames(sqlite3* db) {
    std::vector<std::string> names;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "select name from sqlite_master where type='index' and sql is not null order by name", -1, &stmt,
                       nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return names;
}

}  // namespace

// The shipped file has the memo indexes; an older file without them gets them on open, and
// the memo timers' reads go through them, never through a scan of every memo.
TEST(DataModule, MemoIndexesAreShippedAndAddedToAnOlderFile) {
    const std::vector<std::string> expected = {"sz_bwlb_irregular", "sz_bwlb_kept", "sz_bwlb_qrbz_ylsj", "sz_bwlb_repeat"};
    DataFileCopy file;
    sqlite3* raw = nullptr;
    sqlite3_open(file.FileName().c_str(), &raw);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(raw, sqlite3_close);
    EXPECT_EQ(IndexNames(raw), expected);
    for (const std::string& name : expected)
        sqlite3_exec(raw, ("drop index " + name).c_str(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(IndexNames(raw).empty());

    TComponent owner(nullptr);
    auto* house = new Tdbhouse(&owner);
    house->democnn->SetConnectionString(DataConnectionString(file.Folder()));
    house->democnn->Open();
    EXPECT_EQ(IndexNames(raw), expected);

    // The memo timers' reads and start-up's purge, as the program words them.
    std::set<std::string> reads;
    sqlite3_trace_v2(
        house->democnn->Handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* context, void* statement, void*) {
            const std::string sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
            if (sql.starts_with("select") && sql.find(" from sz_bwlb ") != std::string::npos)
                static_cast<std::set<std::string>*>(context)->insert(sql);
            return 0;
        },
        &reads);
    const TDateTime today = EncodeDate(2026, 5, 10);
    ReadPendingMemos(*house, today);
    RepeatMemos(*house, today, nullptr);
    PurgeRemindedMemos(*house, today);
    sqlite3_trace_v2(house->democnn->Handle(), 0, nullptr, nullptr);
    EXPECT_GE(reads.size(), 6u);   // pending from today, past and irregular; repeating dated and not; reminded
    for (const std::string& sql : reads) {
        sqlite3_stmt* stmt = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(raw, ("explain query plan " + sql).c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql;
        std::string plan;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            plan += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
        sqlite3_finalize(stmt);
        EXPECT_NE(plan.find("INDEX sz_bwlb_"), std::string::npos) << sql << ": " << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << sql << ": " << plan;
    }
}
