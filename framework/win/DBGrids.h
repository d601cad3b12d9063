#pragma once
// TDBGrid: a read-only list of a query's rows over the system list view (report view):
// a title row, whole-row selection and columns the user can resize. Columns name the
// fields shown, with title, title alignment, width and visibility; without columns every
// field is shown. The grid follows its TDataSource: opening the query fills the rows and
// selects its current record, moving the record moves the selection, and choosing a row
// moves the query to that record. A column whose field the query lacks stays empty; a
// column's OnGetText may change how its texts show. The rows are read from the query only
// when the list view shows them.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/db/DataSource.h"
#include "framework/win/StdCtrls.h"

class TDBGrid;
class TField;

class TColumnTitle {
public:
    explicit TColumnTitle(TDBGrid& grid) : FGrid(grid) {}
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

private:
    TDBGrid& FGrid;
    std::string FCaption;
    TAlignment FAlignment = taLeftJustify;
};

class TColumn {
public:
    explicit TColumn(TDBGrid& grid) : FGrid(grid), FTitle(grid) {}
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    TColumnTitle& Title() { return FTitle; }
    int Width() const;   // as the user left it
    void SetWidth(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Turns the field's text into the text the column shows; unset, the text shows as it is.
    std::function<void(std::string& Text)> OnGetText;

private:
    friend class TDBGrid;
    TDBGrid& FGrid;
    std::string FFieldName;
    TColumnTitle FTitle;
    int FWidth = 64;
    bool FVisible = true;
    int FShownIndex = -1;   // list view column, -1 when hidden
};

class TDBGridColumns {
public:
    explicit TDBGridColumns(TDBGrid& grid) : FGrid(grid) {}
    TColumn* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    TColumn* Items(int index) const { return FItems.at(index).get(); }
    void Clear();

private:
    TDBGrid& FGrid;
    std::vector<std::unique_ptr<TColumn>> FItems;
};

class TDBGrid : public TSystemControl {
public:
    explicit TDBGrid(TComponent* AOwner);

    TDataSource* DataSource() const { return FDataLink.DataSource(); }
    void SetDataSource(TDataSource* value);
    TDBGridColumns& Columns() { return FColumns; }
    int RowCount() const;                     // rows shown
    int SelectedRow() const;                  // 0-based, -1 when none
    std::string Cells(int column, int row) const;   // text of a shown column

protected:
    friend class TColumn;
    friend class TColumnTitle;
    friend class TDBGridColumns;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void LayoutChanged();   // columns changed: rebuild them and the rows
    void DataSetChanged();  // the query opened or closed
    void Refill();          // reads the rows again
    void SyncSelection();   // the query's record moved
    void GetDispInfo(NMLVDISPINFOW& info) const;

private:
    class TGridDataLink : public TDataLink {
    public:
        explicit TGridDataLink(TDBGrid& grid) : FGrid(grid) {}
        void ActiveChanged() override { FGrid.DataSetChanged(); }
        void DataChanged() override { FGrid.SyncSelection(); }

    private:
        TDBGrid& FGrid;
    };

    TGridDataLink FDataLink{*this};
    TDBGridColumns FColumns{*this};
    std::vector<TField*> FShownFields;   // per list view column; nullptr for a field the query lacks
    bool FFilling = false;
    bool FSelecting = false;
};
