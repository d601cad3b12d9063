// The query layer against a real data file built from the shipped script.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>
#include <sqlite3.h>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "DataFileCopy.h"
#include "app/core/dbhouse.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADOQuery.h"
#include "framework/db/DataSource.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/DbDates.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FileUtils.h"

namespace {

struct Db {
    DataFileCopy File;
    TComponent Owner{nullptr};
    TADOConnection* Cnn = new TADOConnection(&Owner);
    TADOQuery* Q = new TADOQuery(&Owner);
    Db() {
        Cnn->SetRequiredTables({DataFileTables.begin(), DataFileTables.end()});
        Cnn->SetConnectionString(File.ConnectionString());
        Cnn->Open();
        Q->SetName("q");
        Q->SetConnection(Cnn);
    }
    TADOQuery& Run(std::initializer_list<std::string> lines) {
        Q->Close();
        Q->SQL.Clear();
        for (const auto& line : lines)
            Q->SQL.Add(line);
        return *Q;
    }
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no exception)";
}

// The statements file: "text" lines, "+text" lines continuing the statement above.
std::vector<std::vector<std::string>> ReadStatements() {
    std::ifstream in(Utf8Path(std::string(VORPEN_TEST_DATA_DIR) + "/db/statements.txt"), std::ios::binary);
    std::vector<std::vector<std::string>> statements;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        bool more = line[0] == '+';
        std::string text = line.substr(more ? 2 : 1, line.size() - (more ? 3 : 2));
        if (more)
            statements.back().push_back(text);
        else
            statements.push_back({text});
    }
    return statements;
}

}  // namespace

TEST(DataFile, OpenRefusesMissingFileWithoutCreatingIt) {
    DataFileCopy file;
    TADOConnection cnn(nullptr);
    std::string missing = file.PathOf("不存在.mdb");
    cnn.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + missing + " ;Persist Security Info=true");
    std::string message = MessageOf([&] { cnn.Open(); });
    EXPECT_NE(message.find("Cannot open the data file"), std::string::npos) << message;
    EXPECT_NE(message.find(missing), std::string::npos) << message;
    EXPECT_FALSE(cnn.Connected());
    EXPECT_FALSE(FileExists(missing));
}

TEST(DataFile, OpenRefusesTextFileAndDatabaseWithoutTables) {
    DataFileCopy file;
    TADOConnection cnn(nullptr);
    cnn.SetRequiredTables({DataFileTables.begin(), DataFileTables.end()});

    std::string text = file.PathOf("notes.mdb");
    WriteFileBytes(text, "这不是数据库 just some text\r\n");
    cnn.SetConnectionString("Data Source=" + text);
    std::string message = MessageOf([&] { cnn.Open(); });
    EXPECT_NE(message.find("is not a valid data file"), std::string::npos) << message;
    EXPECT_FALSE(cnn.Connected());
    EXPECT_EQ(ReadFileBytes(text), "这不是数据库 just some text\r\n");

    std::string bare = file.PathOf("bare.mdb");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(bare.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table sz_bwlb(iid integer)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    cnn.SetConnectionString("Data Source=" + bare);
    message = MessageOf([&] { cnn.Open(); });
    EXPECT_NE(message.find("table sz_jrb is missing"), std::string::npos) << message;
    EXPECT_FALSE(cnn.Connected());
}

#ifndef _WIN32
// A data file the program could read but not write would fail every later write in
// silence: Open refuses a write-protected file, and a file in a write-protected folder
// (where no journal can be made), and leaves it as it was. The super-user writes despite
// the mode, so for it the file or folder is made immutable where the file system allows.
TEST(DataFile, OpenRefusesADataFileItCannotWrite) {
    struct Protect {
        std::string Path;
        mode_t Mode;
        bool Immutable = false;
        Protect(std::string path, mode_t mode) : Path(std::move(path)), Mode(mode) {
            chmod(Path.c_str(), mode & 0555);
            if (access(Path.c_str(), W_OK) == 0)
                Immutable = SetImmutable(true);
        }
        ~Protect() {
            if (Immutable)
                SetImmutable(false);
            chmod(Path.c_str(), Mode);
        }
        bool SetImmutable(bool on) const {
            int fd = open(Path.c_str(), O_RDONLY);
            int flags = 0;
            bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
            if (fd >= 0)
                close(fd);
            return done;
        }
        bool Works() const { return access(Path.c_str(), W_OK) != 0 || Immutable; }
    };
    for (bool folder : {false, true}) {
        DataFileCopy file;
        const std::string before = ReadFileBytes(file.FileName());
        std::string path = folder ? file.Folder().substr(0, file.Folder().size() - 1) : file.FileName();
        {
            Protect protect(path, folder ? 0755 : 0644);
            if (!protect.Works())
                GTEST_SKIP() << "no way to write-protect " << path << " here";
            TADOConnection cnn(nullptr);
            cnn.SetConnectionString(file.ConnectionString());
            std::string message = MessageOf([&] { cnn.Open(); });
            EXPECT_NE(message.find("cannot be written"), std::string::npos) << message;
            EXPECT_FALSE(cnn.Connected());
        }
        TADOConnection cnn(nullptr);
        cnn.SetConnectionString(file.ConnectionString());
        cnn.Open();
        EXPECT_TRUE(cnn.Connected());
        cnn.Close();
        EXPECT_EQ(ReadFileBytes(file.FileName()), before);   // the check itself changes nothing
    }
}
#endif

// Another program holding the data file (after the busy wait) is told apart from a
// write-protected one, and the file is left as it was.
TEST(DataFile, OpenSaysWhenAnotherProgramHoldsTheFile) {
    DataFileCopy file;
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.FileName().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    TADOConnection cnn(nullptr);
    cnn.SetConnectionString(file.ConnectionString());
    const std::string message = MessageOf([&] { cnn.Open(); });
    EXPECT_NE(message.find("in use by another program"), std::string::npos) << message;
    EXPECT_FALSE(cnn.Connected());
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    cnn.Open();
    EXPECT_TRUE(cnn.Connected());
}

TEST(DataFile, ConnectionStringEntries) {
    EXPECT_EQ(ConnectionStringValue("Provider=X;User ID=Admin; Data Source=  C:\\a b\\q.mdb  ;Persist=true",
                                     "data source"),
              "C:\\a b\\q.mdb");
    EXPECT_EQ(ConnectionStringValue("Provider=X", "Data Source"), "");
    // Quoted values keep their ';' and blanks; a doubled quote stands for one.
    EXPECT_EQ(ConnectionStringValue("Data Source=\"C:\\a;b \\q.mdb\" ;Persist=true", "Data Source"), "C:\\a;b \\q.mdb");
    EXPECT_EQ(ConnectionStringValue("Data Source=\"C:\\a;b\\q.mdb\" ;Persist=true", "Persist"), "true");
    EXPECT_EQ(ConnectionStringValue("Password='it''s;x';Data Source=q.mdb", "Password"), "it's;x");
    EXPECT_EQ(ConnectionStringValue("Password='it''s;x';Data Source=q.mdb", "Data Source"), "q.mdb");
    EXPECT_EQ(ConnectionStringValue("junk;Extended Properties=a=b; Data Source=C:\\Bob's\\q.mdb", "Data Source"),
              "C:\\Bob's\\q.mdb");
    TADOConnection cnn(nullptr);
    cnn.SetConnectionString("Provider=MSDASQL.1;Persist Security Info=False");
    EXPECT_NE(MessageOf([&] { cnn.Open(); }).find("no data file"), std::string::npos);
}

TEST(DataFile, OpensThroughTheProgramsConnectionString) {
    DataFileCopy file;
    TADOConnection cnn(nullptr);
    cnn.SetConnectionString(DataConnectionString(file.Folder()));
    cnn.Open();
    EXPECT_TRUE(cnn.Connected());
    EXPECT_EQ(cnn.FileName(), file.FileName());
}

TEST(Statements, EveryStatementOfTheProgramRunsAgainstTheSchema) {
    Db db;
    auto statements = ReadStatements();
    ASSERT_EQ(statements.size(), 60u);
    for (const auto& lines : statements) {
        std::string first = lines[0];
        SCOPED_TRACE(first);
        TADOQuery& q = *db.Q;
        q.Close();
        q.SQL.Clear();
        for (const auto& line : lines)
            q.SQL.Add(line);
        bool djsb = first.find("sz_djsb") != std::string::npos;
        for (int i = 0; i < q.Parameters.Count(); ++i) {
            TParameter& p = q.Parameters.Items(i);
            const std::string& n = p.Name();
            if (n == "iid" || n == "xz" || n == "yz" || n == "xdsj")
                p.Value = 1;
            else if (n == "realrq" || n == "rq" || (n == "zdsj" && djsb))
                p.Value = EncodeDateTime(2025, 3, 4, 5, 6, 7, 0);
            else
                p.Value = "1";
        }
        try {
            if (first.rfind("select", 0) == 0)
                q.Open();
            else
                q.ExecSQL();
        } catch (const Exception& e) {
            ADD_FAILURE() << e.Message();
        }
    }
}

TEST(Statements, FailingStatementCarriesSQLiteMessage) {
    Db db;
    db.Run({"select * from sz_jrb where jrmcx= :jrmc "}).Parameters.ParamByName("jrmc").Value = "x";
    EXPECT_EQ(MessageOf([&] { db.Q->Open(); }), "no such column: jrmcx");
    db.Run({"update sz_nosuch set a= :a "}).Parameters.ParamByName("a").Value = 1;
    EXPECT_EQ(MessageOf([&] { db.Q->ExecSQL(); }), "no such table: sz_nosuch");
    EXPECT_FALSE(db.Q->Active());
}

TEST(Statements, ParametersFollowTheText) {
    Db db;
    TADOQuery& q = db.Run({"select * from sz_fzb where bz= :bz "});
    EXPECT_NE(MessageOf([&] { q.Parameters.ParamByName("xz"); }).find("Parameter 'xz' not found"), std::string::npos);
    EXPECT_NE(MessageOf([&] { q.Open(); }).find("no value for parameter 'bz'"), std::string::npos);
    q.Parameters.ParamByName("BZ").Value = "日历位置";
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
    // A new text drops the old values: nothing set for one statement reaches the next.
    db.Run({"select * from sz_bqb where bz= :bz "});
    EXPECT_EQ(q.Parameters.ParamByName("bz").Value.Kind(), TDbValueKind::Unassigned);
    // Marks inside literals are text, not parameters.
    EXPECT_EQ(ParseParamNames("select ':a' as x, :b from t where c= :b -- :d\n and e= :E"),
              (std::vector<std::string>{"b", "E"}));
}

TEST(Statements, ValuesAreBoundNeverSpliced) {
    Db db;
    const std::string nasty = "它's \"引号\" '); delete from sz_bwlb; --";
    TADOQuery& q = db.Run({"insert into sz_bwlb(yybz,ylsj,yinlsj,nr,tqtsts,gqzdsc,chts,yypath,xssj,fzbz,qrbz)",
                           " values(:yybz,:ylsj,:yinlsj,:nr,:tqtsts,:gqzdsc,:chts,:yypath,:xssj,:fzbz,:qrbz)"});
    for (const char* n : {"yybz", "ylsj", "yinlsj", "tqtsts", "gqzdsc", "chts", "yypath", "xssj", "fzbz", "qrbz"})
        q.Parameters.ParamByName(n).Value = "0";
    q.Parameters.ParamByName("nr").Value = nasty;
    EXPECT_EQ(q.ExecSQL(), 1);
    EXPECT_EQ(q.ExecSQL(), 1);
    db.Run({"select * from sz_bwlb order by iid "}).Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldByName("nr").AsString(), nasty);
    // Two statements in one text are refused rather than run.
    db.Run({"delete from sz_bwlb; delete from sz_jrb"});
    EXPECT_NE(MessageOf([&] { q.ExecSQL(); }).find("more than one statement"), std::string::npos);
    db.Run({"select count(*) as expr1001 from sz_jrb "}).Open();
    EXPECT_EQ(q.FieldByName("expr1001").AsInteger(), 6);
}

TEST(Dates, BindOrderAndReadBack) {
    Db db;
    const TDateTime times[] = {EncodeDateTime(2025, 12, 31, 23, 59, 59, 0), EncodeDate(2025, 2, 1),
                               EncodeDateTime(2025, 2, 1, 9, 5, 0, 0), EncodeDateTime(2024, 11, 3, 10, 0, 0, 250),
                               EncodeDate(2025, 10, 10), EncodeDate(1999, 1, 9)};
    int iid = 1;
    for (TDateTime t : times) {
        TADOQuery& q = db.Run({"update sz_jrb set realrq= :realrq where iid= :iid "});
        q.Parameters.ParamByName("realrq").Value = t;
        q.Parameters.ParamByName("iid").Value = iid++;
        EXPECT_EQ(q.ExecSQL(), 1);
    }
    TADOQuery& q = db.Run({"select * from sz_jrb order by realrq "});
    q.Open();
    std::vector<std::string> texts;
    std::vector<TDateTime> values;
    for (q.First(); !q.Eof(); q.Next()) {
        texts.push_back(q.FieldByName("realrq").AsString());
        values.push_back(q.FieldByName("realrq").AsDateTime());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"1999-01-09", "2024-11-03 10:00:00", "2025-02-01", "2025-02-01 9:05:00",
                                               "2025-10-10", "2025-12-31 23:59:59"}));
    EXPECT_EQ(values, (std::vector<TDateTime>{times[5], times[3], times[1], times[2], times[4], times[0]}));
}

TEST(Dates, DateIntoTextColumnIsDayText) {
    Db db;
    TADOQuery& q = db.Run({"update sz_ksb set zdsj= :zdsj where bz= :bz "});
    q.Parameters.ParamByName("zdsj").Value = EncodeDate(2025, 3, 9);
    q.Parameters.ParamByName("bz").Value = "1";
    q.ExecSQL();
    db.Run({"select * from sz_ksb where bz= :bz  "}).Parameters.ParamByName("bz").Value = "1";
    q.Open();
    EXPECT_EQ(q.FieldByName("zdsj").AsString(), "2025-03-09");
    EXPECT_EQ(q.FieldByName("zdsj").AsDateTime(), EncodeDate(2025, 3, 9));
}

TEST(Dates, StorageForm) {
    EXPECT_EQ(DateToStorage(EncodeDate(2025, 1, 2)), "2025-01-02");
    EXPECT_EQ(DateToStorage(EncodeDateTime(2025, 1, 2, 3, 4, 5, 0)), "2025-01-02 03:04:05");
    EXPECT_EQ(DateToStorage(EncodeDateTime(2025, 1, 2, 23, 59, 59, 999)), "2025-01-02 23:59:59.999");
    TDateTime v = 0;
    EXPECT_TRUE(TryStorageToDate("2025-01-02 23:59:59.999", v));
    EXPECT_EQ(DateToStorage(v), "2025-01-02 23:59:59.999");
    EXPECT_FALSE(TryStorageToDate("2025-1-2", v));
    EXPECT_FALSE(TryStorageToDate("2025-02-30", v));
    EXPECT_FALSE(TryStorageToDate("2025-01-02 24:00:00", v));
}

TEST(Fields, NullAndMissingRecordReadAsEmpty) {
    Db db;
    db.Run({"update sz_bqb set rq=NULL"}).ExecSQL();
    TADOQuery& q = db.Run({"select * from sz_bqb where bz= :bz "});
    q.Parameters.ParamByName("bz").Value = "便签1位置";
    q.Open();
    TField& rq = q.FieldByName("rq");
    EXPECT_TRUE(rq.IsNull());
    EXPECT_EQ(rq.AsString(), "");
    EXPECT_EQ(rq.AsInteger(), 0);
    EXPECT_EQ(rq.AsDateTime(), 0.0);
    q.Close();
    q.Parameters.ParamByName("bz").Value = "没有这一行";
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
    EXPECT_EQ(q.FieldByName("xsbz").AsString(), "");
    EXPECT_EQ(q.FieldByName("iid").AsInteger(), 0);
    EXPECT_NE(MessageOf([&] { q.FieldByName("nosuch"); }).find("field 'nosuch' not found"), std::string::npos);
}

TEST(Fields, TextAndIntegerConversions) {
    Db db;
    TADOQuery& q = db.Run({"select * from sz_qtcsb "});
    q.Open();
    EXPECT_EQ(q.FieldByName("bwjrbfcs").AsInteger(), 2);
    EXPECT_EQ(q.FieldByName("BSPL").AsString(), "1");
    EXPECT_THROW(q.FieldByName("bsqzypath").AsInteger(), EConvertError);
    db.Run({"select * from sz_fzb where bz= :bz "}).Parameters.ParamByName("bz").Value = "倒计时5位置";
    q.Open();
    EXPECT_EQ(q.FieldByName("yz").AsString(), "437");
    EXPECT_EQ(q.FieldByName("yz").DataType(), TFieldType::ftInteger);
}

TEST(Navigation, WalkCountAndClosedState) {
    Db db;
    TADOQuery& q = db.Run({"select * from sz_djsb order by bz "});
    EXPECT_THROW(q.RecordCount(), EDatabaseError);
    EXPECT_THROW(q.FieldByName("bz"), EDatabaseError);
    q.Open();
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(q.RecordCount(), 5);
    EXPECT_EQ(q.FieldCount(), 8);
    int n = 0;
    for (q.First(); !q.Eof(); q.Next())
        EXPECT_EQ(q.RecNo(), ++n);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(q.FieldByName("bz").AsString(), "倒计时5");   // Eof stays on the last record
    q.SetRecNo(2);
    EXPECT_EQ(q.Fields(1).AsString(), "倒计时2");
    q.Close();
    EXPECT_FALSE(q.Active());
    // An update run through Open is refused before it changes anything.
    db.Run({"update sz_djsb set qyzt= :qyzt where bz= :bz "});
    q.Parameters.ParamByName("qyzt").Value = "1";
    q.Parameters.ParamByName("bz").Value = "倒计时1";
    EXPECT_NE(MessageOf([&] { q.Open(); }).find("returns no rows"), std::string::npos);
    db.Run({"select count(*) as expr1001 from sz_djsb where qyzt= :qyzt "}).Parameters.ParamByName("qyzt").Value = "1";
    q.Open();
    EXPECT_EQ(q.FieldByName("expr1001").AsInteger(), 0);
}

TEST(Links, DataSourceHearsOpenCloseAndMoves) {
    Db db;
    TDataSource* source = new TDataSource(&db.Owner);
    source->SetDataSet(db.Q);
    int states = 0, moves = 0;
    source->OnStateChange = [&](TObject*) { ++states; };
    source->OnDataChange = [&](TObject*) { ++moves; };
    struct Link : TDataLink {
        int Changes = 0;
        void ActiveChanged() override { ++Changes; }
    } link;
    link.SetDataSource(source);
    db.Run({"select * from sz_bqb order by iid "}).Open();
    EXPECT_TRUE(link.Active());
    db.Q->Next();
    db.Q->Close();
    EXPECT_EQ(states, 2);
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(link.Changes, 2);
    // Freeing the query clears the source's link to it.
    delete db.Q;
    EXPECT_EQ(source->DataSet(), nullptr);
    EXPECT_EQ(link.DataSet(), nullptr);
}

TEST(Links, ClosingTheConnectionClosesItsQueries) {
    Db db;
    db.Run({"select * from sz_sfxsb "}).Open();
    db.Cnn->Close();
    EXPECT_FALSE(db.Q->Active());
    // A query on a closed connection opens it, as the start-up relies on the first open.
    db.Q->Open();
    EXPECT_TRUE(db.Cnn->Connected());
    delete db.Cnn;
    EXPECT_EQ(db.Q->Connection(), nullptr);
    EXPECT_NE(MessageOf([&] { db.Q->Open(); }).find("no connection"), std::string::npos);
}

TEST(DataFile, RollbackJournalWithFullSync) {
    Db db;
    db.Run({"pragma journal_mode"}).Open();
    EXPECT_EQ(db.Q->Fields(0).AsString(), "delete");
    db.Run({"pragma synchronous"}).Open();
    EXPECT_EQ(db.Q->Fields(0).AsInteger(), 2);   // FULL
}

TEST(DataFile, WaitsForAnotherConnectionsLockInsteadOfFailing) {
    Db db;
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.File.FileName().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
    // Its commit may meet the waiting connection's passing read lock: let it wait too.
    sqlite3_busy_timeout(other, 5000);
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
    });
    std::string error;
    try {
        db.Run({"update sz_ksb set bz='1'"}).ExecSQL();
    } catch (const Exception& e) {
        error = e.Message();
    }
    release.join();
    sqlite3_close(other);
    EXPECT_EQ(error, "");
}

TEST(Fields, FoundByNameAnyCaseFirstOfRepeatedNamesAndReadAtAnyRecord) {
    Db db;
    TADOQuery& q = db.Run({"select iid, bz as 名称, xsbz as BZ, rq, 2.5 as r, x'00ff' as b from sz_bqb order by iid "});
    q.Open();
    EXPECT_EQ(q.FindField("bz")->Index(), 2);
    EXPECT_EQ(q.FieldByName("名称").AsString(), "便签1位置");
    EXPECT_EQ(q.FindField("Bz"), q.FindField("BZ"));
    EXPECT_EQ(q.FindField("b")->Index(), 5);
    EXPECT_EQ(q.FindField("名"), nullptr);
    EXPECT_EQ(q.FieldByName("R").AsString(), "2.5");
    EXPECT_EQ(q.FieldByName("b").AsString(), std::string("\0\xff", 2));   // bytes kept whole
    // Any record, the query staying where it is.
    for (int recNo = 1; recNo <= q.RecordCount(); ++recNo)
        EXPECT_EQ(q.FieldByName("BZ").AsStringAt(recNo), "便签" + std::to_string(recNo));
    EXPECT_EQ(q.FieldByName("rq").AsStringAt(3), "2026-01-01");
    EXPECT_EQ(q.FieldByName("iid").AsStringAt(0), "");
    EXPECT_EQ(q.FieldByName("iid").AsStringAt(8), "");
    EXPECT_EQ(q.RecNo(), 1);
    // The names of a computed column and a repeated one outlive the next open.
    q.Close();
    db.Run({"select count(*) as n, count(*) as N from sz_bqb "}).Open();
    EXPECT_EQ(q.FieldByName("n").DataType(), TFieldType::ftInteger);
    EXPECT_EQ(q.FieldByName("N").Index(), 0);
}

TEST(Transactions, ScopeCommitsTheGroupOrLeavesNothing) {
    Db db;
    auto count = [&] {
        TADOQuery q(nullptr);
        q.SetConnection(db.Cnn);
        q.SQL.Add("select count(*) from sz_fzb where xz = 1 ");
        q.Open();
        return q.Fields(0).AsInteger();
    };
    try {
        TTransactionScope transaction(*db.Cnn);
        db.Run({"update sz_fzb set xz = 1 where bz like '便签%' "}).ExecSQL();
        EXPECT_TRUE(db.Cnn->InTransaction());
        EXPECT_THROW(TTransactionScope(*db.Cnn), EDatabaseError);   // one at a time
        db.Run({"update sz_fzb set nosuch = 1 "}).ExecSQL();
        transaction.Commit();
    } catch (const EDatabaseError&) {
    }
    EXPECT_FALSE(db.Cnn->InTransaction());
    EXPECT_EQ(count(), 0);
    {
        TTransactionScope transaction(*db.Cnn);
        db.Run({"update sz_fzb set xz = 1 where bz like '便签%' "}).ExecSQL();
        transaction.Commit();
    }
    EXPECT_EQ(count(), 7);
    EXPECT_THROW(db.Cnn->CommitTrans(), EDatabaseError);
    // The file stays as safe inside a transaction.
    TTransactionScope transaction(*db.Cnn);
    db.Run({"pragma journal_mode"}).Open();
    EXPECT_EQ(db.Q->Fields(0).AsString(), "delete");
}
