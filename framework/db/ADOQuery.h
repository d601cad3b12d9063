#pragma once
// TADOQuery: a reusable query slot on a TADOConnection. The caller closes it, replaces
// the SQL lines, sets the named parameters and runs it: Open for a statement that returns
// rows (all rows are fetched at once, then walked with First/Next/Eof or read by record
// number), ExecSQL for the others. Rows are held packed (one byte buffer for the values,
// eight bytes of index per cell); fields are found by name through a sorted index. Every value is bound, never spliced into the text; a
// failing statement raises EDatabaseError with SQLite's message.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/base/Component.h"
#include "framework/db/Field.h"
#include "framework/db/Parameters.h"
#include "framework/rtl/Classes.h"

class TADOConnection;
class TDataSource;
struct sqlite3_stmt;

class TADOQuery : public TComponent {
public:
    explicit TADOQuery(TComponent* AOwner);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return FConnection; }
    void SetConnection(TADOConnection* value);

    TStringList SQL;
    TParameters Parameters{SQL};

    // Runs the statement and fetches its rows (opening the connection when it is closed);
    // an open query is closed first. Raises when the statement returns no rows.
    void Open();
    void Close();
    // Runs a statement that returns no rows; returns the number of rows it changed.
    int ExecSQL();
    bool Active() const { return FActive; }
    void SetActive(bool value) { value ? Open() : Close(); }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FRowCount == 0; }
    int RecordCount() const;
    int RecNo() const;              // 1-based; 0 when there is no record
    void SetRecNo(int value);       // moves to that record (clamped into range)

    TField& FieldByName(std::string_view name);   // case-insensitive; raises EDatabaseError
    TField* FindField(std::string_view name);
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField& Fields(int index);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TField;
    friend class TDataSource;
    struct Statement;
    // The value of a column at 0-based record `row`; a NULL cell when there is none.
    TDbCell CellAt(int row, int column) const;
    void AppendCell(sqlite3_stmt* stmt, int column);
    // Each also adds or removes the free-notification link that goes with the entry.
    void AttachDataSource(TDataSource* source);
    void DetachDataSource(TDataSource* source);
    std::string Prefix() const;
    void CheckActive() const;
    Statement Prepare();
    void MoveTo(int recNo);
    void NotifySources(bool activeChanged);

    TADOConnection* FConnection = nullptr;
    bool FActive = false;
    bool FEof = true;
    bool FBof = true;
    int FRecNo = -1;   // 0-based current record
    // Cell r * columns + c: its kind in the top two bits of Size, its bytes at Offset in FValues.
    struct TCellSlot {
        uint32_t Offset;
        uint32_t Size;
    };
    int FRowCount = 0;
    int FColumnCount = 0;
    std::vector<TCellSlot> FCells;
    std::vector<char> FValues;
    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<std::pair<std::string, int>> FFieldIndex;   // name, index; sorted by CompareText, then index
    std::vector<TDataSource*> FSources;
};
