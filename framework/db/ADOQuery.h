#pragma once
// TADOQuery: a reusable query slot on a TADOConnection. The caller closes it, replaces
// the SQL lines, sets the named parameters and runs it: Open for a statement that returns
// rows (all rows are fetched at once, then walked with First/Next/Eof or read by record
// number), ExecSQL for the others. Every value is bound, never spliced into the text; a
// failing statement raises EDatabaseError with SQLite's message.

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
    bool IsEmpty() const { return FRows.empty(); }
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
    // The value of a column at the current record (the last one once Eof is reached),
    // nullptr when there is none.
    const TDbCell* CurrentCell(int index) const;
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
    std::vector<std::vector<TDbCell>> FRows;
    std::vector<std::unique_ptr<TField>> FFields;
    std::vector<TDataSource*> FSources;
};
