#include "app/core/dbhouse.h"

Tdbhouse* dbhouse = nullptr;

const std::array<const char*, 8> DataFileTables = {"sz_bwlb", "sz_jrb",   "sz_bqb",   "sz_djsb",
                                                   "sz_ksb",  "sz_fzb",   "sz_sfxsb", "sz_qtcsb"};

const std::array<const char*, 4> DataFileIndexes = {
    "CREATE INDEX IF NOT EXISTS sz_bwlb_qrbz_ylsj ON sz_bwlb (qrbz, ylsj, tqtsts)",
    "CREATE INDEX IF NOT EXISTS sz_bwlb_repeat ON sz_bwlb (ylsj) WHERE chts <> '每0天'",
    "CREATE INDEX IF NOT EXISTS sz_bwlb_irregular ON sz_bwlb (qrbz)\n"
    "  WHERE ylsj NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*'",
    "CREATE INDEX IF NOT EXISTS sz_bwlb_kept ON sz_bwlb (qrbz) WHERE gqzdsc <> '0天'",
};

void AddDataFileIndexes(TADOConnection& connection) {
    TADOQuery q(nullptr);
    q.SetConnection(&connection);
    for (const char* sql : DataFileIndexes) {
        q.SQL.Clear();
        q.SQL.Add(sql);
        q.ExecSQL();
    }
}

std::string DataConnectionString(const std::string& exeFolder) {
    std::string path = exeFolder + DataFileName;
    if (path.find(';') != std::string::npos)   // a file path never holds '"'
        path = '"' + path + '"';
    return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Jet OLEDB:Database Password=m3n7q2s8v4x6 ; Data Source=" +
           path + " ;Persist Security Info=true";
}

namespace {

template <class T>
T* Make(TComponent* owner, const char* name) {
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

}  // namespace

Tdbhouse::Tdbhouse(TComponent* AOwner) : TComponent(AOwner) {
    SetName("dbhouse");
    democnn = Make<TADOConnection>(this, "democnn");
    democnn->SetLoginPrompt(false);
    democnn->SetConnectionString("Provider=MSDASQL.1;Persist Security Info=False;Data Source=test");
    democnn->SetRequiredTables({DataFileTables.begin(), DataFileTables.end()});
    democnn->AfterConnect = [this](TObject*) { AddDataFileIndexes(*democnn); };

    TADOQuery** queries[] = {&qsz,   &qcx,   &qdc,  &qup,   &qbw, &qbwcx, &qbw1,  &qgx,   &qjrcx, &qins,  &qjrts, &qjr,
                             &qrqcx, &qdcbw, &qxsf, &qrbq,  &qy,  &qbqcx, &qxzbq, &qsum,  &qdjs,  &qzdy,  &qgq,   &qok};
    const char* names[] = {"qsz",   "qcx",   "qdc",  "qup",  "qbw", "qbwcx", "qbw1",  "qgx",  "qjrcx", "qins",
                           "qjrts", "qjr",   "qrqcx", "qdcbw", "qxsf", "qrbq", "qy",   "qbqcx", "qxzbq", "qsum",
                           "qdjs",  "qzdy",  "qgq",  "qok"};
    static_assert(std::size(queries) == std::size(names));
    for (size_t i = 0; i < std::size(queries); ++i) {
        *queries[i] = Make<TADOQuery>(this, names[i]);
        (*queries[i])->SetConnection(democnn);
    }

    auto source = [this](const char* name, TADOQuery* query) {
        TDataSource* s = Make<TDataSource>(this, name);
        s->SetDataSet(query);
        return s;
    };
    qbwcx_s = source("qbwcx_s", qbwcx);
    qjrcx_s = source("qjrcx_s", qjrcx);
    qbqcx_s = source("qbqcx_s", qbqcx);
    qdjs_s = source("qdjs_s", qdjs);
}
