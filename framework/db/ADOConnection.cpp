#include "framework/db/ADOConnection.h"

#include <algorithm>
#include <sqlite3.h>

#include "framework/db/ADOQuery.h"
#include "framework/db/DatabaseError.h"

namespace {
constexpr int kBusyTimeoutMs = 5000;
}

std::string ConnectionStringValue(std::string_view connectionString, std::string_view key) {
    size_t pos = 0;
    while (pos <= connectionString.size()) {
        size_t eq = connectionString.find('=', pos), semicolon = connectionString.find(';', pos);
        if (eq == std::string_view::npos)
            return "";
        if (semicolon < eq) {   // an entry without "="
            pos = semicolon + 1;
            continue;
        }
        const bool match = SameText(Trim(connectionString.substr(pos, eq - pos)), key);
        // The value: up to the next ';', or a quoted text (a doubled quote stands for one)
        // that may hold ';' itself.
        size_t start = connectionString.find_first_not_of(' ', eq + 1);
        std::string value;
        if (start != std::string_view::npos && (connectionString[start] == '"' || connectionString[start] == '\'')) {
            const char quote = connectionString[start];
            size_t i = start + 1;
            for (; i < connectionString.size(); ++i) {
                if (connectionString[i] != quote)
                    value += connectionString[i];
                else if (i + 1 < connectionString.size() && connectionString[i + 1] == quote)
                    value += connectionString[++i];
                else
                    break;
            }
            semicolon = connectionString.find(';', i);
        } else {
            value = Trim(connectionString.substr(eq + 1, semicolon == std::string_view::npos ? std::string_view::npos
                                                                                              : semicolon - eq - 1));
        }
        if (match)
            return value;
        if (semicolon == std::string_view::npos)
            return "";
        pos = semicolon + 1;
    }
    return "";
}

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection() {
    Close();
    for (TADOQuery* query : std::vector<TADOQuery*>(FDataSets))
        query->SetConnection(nullptr);
}

void TADOConnection::SetConnectionString(std::string value) {
    Close();
    FConnectionString = std::move(value);
}

void TADOConnection::Open() {
    if (Connected())
        return;
    std::string fileName = ConnectionStringValue(FConnectionString, "Data Source");
    if (fileName.empty())
        throw EDatabaseError("The connection string names no data file (Data Source)");
    // Read-write without create: a missing file must fail, not become an empty database.
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(fileName.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        std::string reason = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close(handle);
        throw EDatabaseError("Cannot open the data file \"" + fileName + "\": " + reason);
    }
    // Another process on the same file (a second tool, a test) holds its lock only for one
    // statement: wait for it rather than fail the step at once.
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    FHandle = handle;
    FFileName = fileName;
    try {
        CheckDataFile();
        if (AfterConnect)
            AfterConnect(this);
    } catch (...) {
        Close();
        throw;
    }
}

void TADOConnection::BeginTrans() {
    Open();
    if (InTransaction())
        throw EDatabaseError("A transaction is already running on \"" + FFileName + "\"");
    const int rc = sqlite3_exec(FHandle, "begin immediate", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = sqlite3_errmsg(FHandle);
        ThrowIfHeld(rc, reason);
        throw EDatabaseError(reason);
    }
}

void TADOConnection::CommitTrans() {
    if (!InTransaction())
        throw EDatabaseError("No transaction to commit");
    if (sqlite3_exec(FHandle, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string reason = sqlite3_errmsg(FHandle);
        RollbackTrans();
        throw EDatabaseError(reason);
    }
}

void TADOConnection::RollbackTrans() {
    if (InTransaction())
        sqlite3_exec(FHandle, "rollback", nullptr, nullptr, nullptr);
}

bool TADOConnection::InTransaction() const {
    return FHandle && !sqlite3_get_autocommit(FHandle);
}

TTransactionScope::~TTransactionScope() {
    if (!FDone)
        FConnection.RollbackTrans();
}

void TTransactionScope::Commit() {
    FDone = true;
    FConnection.CommitTrans();
}

void TADOConnection::CheckDataFile() {
    // SQLite reads the file only on first use: this read also rejects a non-database.
    sqlite3_stmt* stmt = nullptr;
    std::vector<std::string> tables;
    int rc = sqlite3_prepare_v2(FHandle, "select name from sqlite_master where type='table'", -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    std::string reason = rc == SQLITE_DONE ? "" : sqlite3_errmsg(FHandle);
    sqlite3_finalize(stmt);
    ThrowIfHeld(rc, reason);
    if (!reason.empty())
        throw EDatabaseError("\"" + FFileName + "\" is not a valid data file: " + reason);
    for (const auto& required : FRequiredTables) {
        bool found = std::any_of(tables.begin(), tables.end(), [&](const std::string& t) { return SameText(t, required); });
        if (!found)
            throw EDatabaseError("\"" + FFileName + "\" is not a valid data file: table " + required + " is missing");
    }
    CheckWritable();
}

// Still locked after the busy wait: another program holds the file.
void TADOConnection::ThrowIfHeld(int rc, const std::string& reason) const {
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        throw EDatabaseError("The data file \"" + FFileName + "\" is in use by another program: " + reason);
}

// A write-protected file opens read-only, and a file in a write-protected folder opens
// but fails at its first journal: either would fail every later write. One write is
// tried here and rolled back.
void TADOConnection::CheckWritable() {
    std::string reason;
    int rc = SQLITE_OK;
    if (sqlite3_db_readonly(FHandle, "main") == 1)
        reason = "the file is read-only";
    else if ((rc = sqlite3_exec(FHandle, "begin immediate; create table main.write_check_(x)", nullptr, nullptr, nullptr)) !=
             SQLITE_OK)
        reason = sqlite3_errmsg(FHandle);
    if (!sqlite3_get_autocommit(FHandle))
        sqlite3_exec(FHandle, "rollback", nullptr, nullptr, nullptr);
    ThrowIfHeld(rc, reason);
    if (!reason.empty())
        throw EDatabaseError("The data file \"" + FFileName + "\" cannot be written (is it or its folder write-protected?): " +
                             reason);
}

void TADOConnection::Close() {
    if (!FHandle)
        return;
    for (TADOQuery* query : FDataSets)
        query->Close();
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
    FFileName.clear();
}

void TADOConnection::RegisterDataSet(TADOQuery* query) {
    if (std::find(FDataSets.begin(), FDataSets.end(), query) == FDataSets.end()) {
        FDataSets.push_back(query);
        FreeNotification(query);
    }
}

void TADOConnection::UnregisterDataSet(TADOQuery* query) {
    auto it = std::find(FDataSets.begin(), FDataSets.end(), query);
    if (it == FDataSets.end())
        return;
    FDataSets.erase(it);
    RemoveFreeNotification(query);
}

void TADOConnection::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove)
        FDataSets.erase(std::remove_if(FDataSets.begin(), FDataSets.end(),
                                       [&](TADOQuery* q) { return static_cast<TComponent*>(q) == AComponent; }),
                        FDataSets.end());
}
