#pragma once
// The global data module on a private copy of the shipped data file, for window tests,
// with one-statement helpers.

#include "../db/DataFileCopy.h"
#include "app/core/dbhouse.h"

struct DataModule {
    DataFileCopy File;
    DataModule()
    {
        dbhouse = new Tdbhouse(nullptr);
        dbhouse->democnn->SetConnectionString(DataConnectionString(File.Folder()));
        dbhouse->democnn->Open();
    }
    ~DataModule()
    {
        delete dbhouse;
        dbhouse = nullptr;
    }
    TADOQuery& Sql(const std::string& sql)
    {
        TADOQuery& q = *dbhouse->qok;
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(sql);
        return q;
    }
    void Exec(const std::string& sql) { Sql(sql).ExecSQL(); }
    std::string Value(const std::string& sql)
    {
        TADOQuery& q = Sql(sql);
        q.Open();
        std::string v = q.IsEmpty() ? "<none>" : q.Fields(0).AsString();
        q.Close();
        return v;
    }
};
