#pragma once
// TADOConnection: the connection to the data file, an SQLite database named by the
// "Data Source=" entry of an ADO-style connection string (other entries are accepted and
// ignored). Open never creates a file: a missing file, a file that is not a database, a
// database lacking one of the required tables, or one that cannot be written (a
// write-protected file or folder) fails with EDatabaseError. Statements commit one by one
// in SQLite's default rollback-journal mode, unless a group of them runs between
// BeginTrans and CommitTrans (TTransactionScope).

#include <string>
#include <string_view>
#include <vector>

#include "framework/base/Component.h"

struct sqlite3;
class TADOQuery;

class TADOConnection : public TComponent {
public:
    explicit TADOConnection(TComponent* AOwner);
    ~TADOConnection() override;

    const std::string& ConnectionString() const { return FConnectionString; }
    void SetConnectionString(std::string value);   // closes an open connection first
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool value) { FLoginPrompt = value; }
    // Tables the data file must hold for Open to succeed.
    const std::vector<std::string>& RequiredTables() const { return FRequiredTables; }
    void SetRequiredTables(std::vector<std::string> tables) { FRequiredTables = std::move(tables); }

    // Does nothing when already open. Runs AfterConnect once the file is accepted; when that
    // raises, the connection closes again.
    void Open();
    void Close();   // closes the queries on this connection too
    bool Connected() const { return FHandle != nullptr; }
    void SetConnected(bool value) { value ? Open() : Close(); }
    const std::string& FileName() const { return FFileName; }   // the file opened, "" when closed

    sqlite3* Handle() const { return FHandle; }   // nullptr when closed

    // One transaction at a time; BeginTrans takes the write lock at once (waiting like any
    // statement for another program's), so the writes after it cannot fail for a lock.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();   // does nothing outside a transaction
    bool InTransaction() const;

    TNotifyEvent AfterConnect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TADOQuery;
    // Each also adds or removes the free-notification link that goes with the entry.
    void RegisterDataSet(TADOQuery* query);
    void UnregisterDataSet(TADOQuery* query);
    void CheckDataFile();
    void CheckWritable();
    void ThrowIfHeld(int rc, const std::string& reason) const;

    std::string FConnectionString;
    bool FLoginPrompt = true;
    std::vector<std::string> FRequiredTables;
    std::string FFileName;
    sqlite3* FHandle = nullptr;
    std::vector<TADOQuery*> FDataSets;
};

// Writes as one transaction: begun by the constructor, committed by Commit, rolled back when
// the scope is left without it (an exception on the way).
class TTransactionScope {
public:
    explicit TTransactionScope(TADOConnection& connection) : FConnection(connection) { FConnection.BeginTrans(); }
    TTransactionScope(const TTransactionScope&) = delete;
    TTransactionScope& operator=(const TTransactionScope&) = delete;
    ~TTransactionScope();
    void Commit();

private:
    TADOConnection& FConnection;
    bool FDone = false;
};

// The value of a "key=value" entry of a connection string (key case-insensitive, blanks
// around key and value trimmed); "" when absent. A value in double or single quotes may
// hold ';' (a doubled quote inside stands for one) and is taken as it stands.
std::string ConnectionStringValue(std::string_view connectionString, std::string_view key);
