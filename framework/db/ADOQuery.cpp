#include "framework/db/ADOQuery.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

#include "framework/db/ADOConnection.h"
#include "framework/db/DataSource.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/DbDates.h"

// A prepared statement, finalised when it goes out of scope.
struct TADOQuery::Statement {
    sqlite3* Db = nullptr;
    sqlite3_stmt* Stmt = nullptr;
    Statement(sqlite3* db, sqlite3_stmt* stmt) : Db(db), Stmt(stmt) {}
    Statement(Statement&& other) noexcept : Db(other.Db), Stmt(other.Stmt) { other.Stmt = nullptr; }
    Statement& operator=(Statement&&) = delete;
    ~Statement() { sqlite3_finalize(Stmt); }
    [[noreturn]] void Fail() const { throw EDatabaseError(sqlite3_errmsg(Db)); }
};

namespace {

TFieldType TypeOfDeclared(const char* declared) {
    std::string type = UpperCase(declared ? declared : "");
    if (type.find("INT") != std::string::npos)
        return TFieldType::ftInteger;
    if (type.find("DATE") != std::string::npos || type.find("TIME") != std::string::npos)
        return TFieldType::ftDateTime;
    if (type.find("REAL") != std::string::npos || type.find("FLOA") != std::string::npos ||
        type.find("DOUB") != std::string::npos)
        return TFieldType::ftFloat;
    return TFieldType::ftString;
}

constexpr uint32_t KindShift = 30;
constexpr uint32_t SizeMask = (1u << KindShift) - 1;

}  // namespace

// Appends the value of one column of the current step to the packed rows.
void TADOQuery::AppendCell(sqlite3_stmt* stmt, int column) {
    TDbCellKind kind;
    const void* bytes = nullptr;
    size_t size = 0;
    int64_t integer;
    double real;
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        kind = TDbCellKind::Integer;
        integer = sqlite3_column_int64(stmt, column);
        bytes = &integer;
        size = sizeof integer;
        break;
    case SQLITE_FLOAT:
        kind = TDbCellKind::Float;
        real = sqlite3_column_double(stmt, column);
        bytes = &real;
        size = sizeof real;
        break;
    case SQLITE_NULL:
        kind = TDbCellKind::Null;
        break;
    default:
        kind = TDbCellKind::Text;
        bytes = sqlite3_column_text(stmt, column);
        size = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
        break;
    }
    if (size > SizeMask || FValues.size() + size > UINT32_MAX)
        throw EDatabaseError(Prefix() + "the result is too large to hold");
    const auto offset = static_cast<uint32_t>(FValues.size());
    FValues.insert(FValues.end(), static_cast<const char*>(bytes), static_cast<const char*>(bytes) + size);
    FCells.push_back({offset, static_cast<uint32_t>(size) | (static_cast<uint32_t>(kind) << KindShift)});
}

TDbCell TADOQuery::CellAt(int row, int column) const {
    TDbCell cell;
    if (row < 0 || row >= FRowCount || column < 0 || column >= FColumnCount)
        return cell;
    const TCellSlot slot = FCells[static_cast<size_t>(row) * static_cast<size_t>(FColumnCount) + static_cast<size_t>(column)];
    const char* bytes = FValues.data() + slot.Offset;
    cell.Kind = static_cast<TDbCellKind>(slot.Size >> KindShift);
    switch (cell.Kind) {
    case TDbCellKind::Integer:
        std::memcpy(&cell.Integer, bytes, sizeof cell.Integer);
        break;
    case TDbCellKind::Float:
        std::memcpy(&cell.Float, bytes, sizeof cell.Float);
        break;
    case TDbCellKind::Text:
        cell.Text = std::string_view(bytes, slot.Size & SizeMask);
        break;
    case TDbCellKind::Null:
        break;
    }
    return cell;
}

namespace {
}  // namespace

TADOQuery::TADOQuery(TComponent* AOwner) : TComponent(AOwner) {}

TADOQuery::~TADOQuery() {
    for (TDataSource* source : std::vector<TDataSource*>(FSources))
        source->SetDataSet(nullptr);
    SetConnection(nullptr);
}

void TADOQuery::SetConnection(TADOConnection* value) {
    if (value == FConnection)
        return;
    Close();
    if (FConnection) {
        FConnection->UnregisterDataSet(this);
    }
    FConnection = value;
    if (FConnection)
        FConnection->RegisterDataSet(this);
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == static_cast<TComponent*>(FConnection)) {
        FConnection = nullptr;
        Close();
    }
    FSources.erase(std::remove_if(FSources.begin(), FSources.end(),
                                  [&](TDataSource* s) { return static_cast<TComponent*>(s) == AComponent; }),
                   FSources.end());
}

TADOQuery::Statement TADOQuery::Prepare() {
    const std::string& text = Parameters.Refresh();
    if (!FConnection)
        throw EDatabaseError(Prefix() + "no connection");
    FConnection->Open();
    sqlite3* db = FConnection->Handle();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &stmt, &tail) != SQLITE_OK)
        throw EDatabaseError(sqlite3_errmsg(db));
    Statement statement(db, stmt);
    if (!stmt)
        throw EDatabaseError(Prefix() + "the SQL text is empty");
    // One statement per use: anything after the first is refused, not silently run or dropped.
    if (!Trim(std::string_view(tail, static_cast<size_t>(text.c_str() + text.size() - tail))).empty())
        throw EDatabaseError(Prefix() + "the SQL text holds more than one statement");
    for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
        const char* mark = sqlite3_bind_parameter_name(stmt, i);
        if (!mark || mark[0] != ':')
            throw EDatabaseError(Prefix() + "only named parameters (:name) are supported");
        TParameter* param = Parameters.FindParam(mark + 1);
        TDbValueKind kind = param ? param->Value.Kind() : TDbValueKind::Unassigned;
        int rc = SQLITE_OK;
        switch (kind) {
        case TDbValueKind::Unassigned:
            throw EDatabaseError(Prefix() + "no value for parameter '" + std::string(mark + 1) + "'");
        case TDbValueKind::Null:
            rc = sqlite3_bind_null(stmt, i);
            break;
        case TDbValueKind::Text:
            rc = sqlite3_bind_text(stmt, i, param->Value.Text().data(), static_cast<int>(param->Value.Text().size()),
                                   SQLITE_TRANSIENT);
            break;
        case TDbValueKind::Integer:
            rc = sqlite3_bind_int64(stmt, i, param->Value.Integer());
            break;
        case TDbValueKind::Date: {
            std::string stored = DateToStorage(param->Value.Date());
            rc = sqlite3_bind_text(stmt, i, stored.data(), static_cast<int>(stored.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            statement.Fail();
    }
    return statement;
}

void TADOQuery::Open() {
    Close();
    Statement statement = Prepare();
    sqlite3_stmt* stmt = statement.Stmt;
    int columns = sqlite3_column_count(stmt);
    if (columns == 0)
        throw EDatabaseError(Prefix() + "the statement returns no rows; run it with ExecSQL");
    FColumnCount = columns;
    int rc;
    try {
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                AppendCell(stmt, c);
            ++FRowCount;
        }
        if (rc != SQLITE_DONE)
            statement.Fail();
    } catch (...) {
        FCells = {};
        FValues = {};
        FRowCount = FColumnCount = 0;
        throw;
    }
    // A computed column (count(*) and the like) takes its type from its first value.
    for (int c = 0; c < columns; ++c) {
        const char* declared = sqlite3_column_decltype(stmt, c);
        TFieldType type = TFieldType::ftString;
        if (declared)
            type = TypeOfDeclared(declared);
        else
            for (int r = 0; r < FRowCount; ++r) {
                TDbCellKind kind = CellAt(r, c).Kind;
                if (kind == TDbCellKind::Null)
                    continue;
                type = kind == TDbCellKind::Integer ? TFieldType::ftInteger
                       : kind == TDbCellKind::Float ? TFieldType::ftFloat
                                                    : TFieldType::ftString;
                break;
            }
        FFields.push_back(std::make_unique<TField>(*this, c, sqlite3_column_name(stmt, c), type));
        FFieldIndex.emplace_back(FFields.back()->FieldName(), c);
    }
    std::sort(FFieldIndex.begin(), FFieldIndex.end(), [](const auto& a, const auto& b) {
        const int order = CompareText(a.first, b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    FActive = true;
    FRecNo = FRowCount == 0 ? -1 : 0;
    FBof = true;
    FEof = FRowCount == 0;
    NotifySources(true);
}

void TADOQuery::Close() {
    if (!FActive)
        return;
    FActive = false;
    FCells = {};
    FValues = {};
    FRowCount = FColumnCount = 0;
    FFields.clear();
    FFieldIndex.clear();
    FRecNo = -1;
    FBof = FEof = true;
    NotifySources(true);
}

int TADOQuery::ExecSQL() {
    Statement statement = Prepare();
    int rc;
    while ((rc = sqlite3_step(statement.Stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        statement.Fail();
    return sqlite3_column_count(statement.Stmt) == 0 ? sqlite3_changes(statement.Db) : 0;
}

std::string TADOQuery::Prefix() const {
    return Name().empty() ? std::string() : Name() + ": ";
}

void TADOQuery::CheckActive() const {
    if (!FActive)
        throw EDatabaseError(Prefix() + "cannot perform this operation on a closed dataset");
}

void TADOQuery::MoveTo(int recNo) {
    CheckActive();
    int count = FRowCount;
    FBof = recNo < 0 || count == 0;
    FEof = recNo >= count || count == 0;
    FRecNo = count == 0 ? -1 : std::clamp(recNo, 0, count - 1);
    NotifySources(false);
}

void TADOQuery::First() {
    MoveTo(0);
    FBof = true;
}

void TADOQuery::Next() {
    MoveTo(FRecNo + 1);
}

void TADOQuery::Prior() {
    MoveTo(FRecNo - 1);
}

void TADOQuery::Last() {
    MoveTo(FRowCount - 1);
    FEof = true;
}

int TADOQuery::RecordCount() const {
    CheckActive();
    return FRowCount;
}

int TADOQuery::RecNo() const {
    return FActive ? FRecNo + 1 : 0;
}

void TADOQuery::SetRecNo(int value) {
    MoveTo(value - 1);
    FBof = FRecNo <= 0;
    FEof = FRowCount == 0;
}

// The first field of that name (a result may repeat a name): the index is sorted by name,
// then by position.
TField* TADOQuery::FindField(std::string_view name) {
    auto it = std::lower_bound(FFieldIndex.begin(), FFieldIndex.end(), name, [](const auto& entry, std::string_view key) {
        return CompareText(entry.first, key) < 0;
    });
    if (it == FFieldIndex.end() || !SameText(it->first, name))
        return nullptr;
    return FFields[static_cast<size_t>(it->second)].get();
}

TField& TADOQuery::FieldByName(std::string_view name) {
    CheckActive();
    if (TField* field = FindField(name))
        return *field;
    throw EDatabaseError(Prefix() + "field '" + std::string(name) + "' not found");
}

TField& TADOQuery::Fields(int index) {
    CheckActive();
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError(Prefix() + "field index out of range (" + IntToStr(index) + ")");
    return *FFields[static_cast<size_t>(index)];
}

void TADOQuery::AttachDataSource(TDataSource* source) {
    if (std::find(FSources.begin(), FSources.end(), source) == FSources.end()) {
        FSources.push_back(source);
        FreeNotification(source);
    }
}

void TADOQuery::DetachDataSource(TDataSource* source) {
    auto it = std::find(FSources.begin(), FSources.end(), source);
    if (it == FSources.end())
        return;
    FSources.erase(it);
    RemoveFreeNotification(source);
}

void TADOQuery::NotifySources(bool activeChanged) {
    for (TDataSource* source : std::vector<TDataSource*>(FSources))
        activeChanged ? source->StateChanged() : source->DataChanged();
}
