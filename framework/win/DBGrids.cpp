#include "framework/win/DBGrids.h"

#include <algorithm>

#include "framework/db/ADOQuery.h"
#include "framework/win/WinUtil.h"

//--- Columns

void TColumnTitle::SetCaption(const std::string& value) {
    FCaption = value;
    FGrid.LayoutChanged();
}

void TColumnTitle::SetAlignment(TAlignment value) {
    FAlignment = value;
    FGrid.LayoutChanged();
}

void TColumn::SetFieldName(const std::string& value) {
    FFieldName = value;
    FGrid.LayoutChanged();
}

int TColumn::Width() const {
    if (FShownIndex >= 0 && FGrid.HandleAllocated())
        return static_cast<int>(SendMessageW(FGrid.FHandle, LVM_GETCOLUMNWIDTH, FShownIndex, 0));
    return FWidth;
}

void TColumn::SetWidth(int value) {
    FWidth = value;
    if (FShownIndex >= 0 && FGrid.HandleAllocated()) SendMessageW(FGrid.FHandle, LVM_SETCOLUMNWIDTH, FShownIndex, value);
}

void TColumn::SetVisible(bool value) {
    if (value == FVisible) return;
    FWidth = Width();
    FVisible = value;
    FGrid.LayoutChanged();
}

TColumn* TDBGridColumns::Add() {
    FItems.push_back(std::make_unique<TColumn>(FGrid));
    FGrid.LayoutChanged();
    return FItems.back().get();
}

void TDBGridColumns::Clear() {
    FItems.clear();
    FGrid.LayoutChanged();
}

//--- TDBGrid

TDBGrid::TDBGrid(TComponent* AOwner) : TSystemControl(AOwner) {
    FColor = clWindow;
    FTabStop = true;
    TControl::SetBounds(0, 0, 320, 120);
}

void TDBGrid::SetDataSource(TDataSource* value) {
    FDataLink.SetDataSource(value);
    DataSetChanged();
}

// Without columns of its own the grid shows the fields of whatever the query opened.
void TDBGrid::DataSetChanged() {
    if (FColumns.Count() == 0) LayoutChanged();
    else Refill();
}

void TDBGrid::CreateParams(TCreateParams& p) {
    TSystemControl::CreateParams(p);
    p.SubclassOf = WC_LISTVIEWW;
    p.Style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDBGrid::CreateWnd() {
    TSystemControl::CreateWnd();
    SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LayoutChanged();
}

// Rebuilds the list view's columns: the shown ones in order, each title aligned on its
// header item alone (the cells stay left-aligned). Then the rows are read again.
void TDBGrid::LayoutChanged() {
    if (!HandleAllocated()) return;
    FShownFields.clear();
    SendMessageW(FHandle, LVM_SETITEMCOUNT, 0, 0);
    while (SendMessageW(FHandle, LVM_DELETECOLUMN, 0, 0)) {
    }
    struct Shown {
        std::string title;
        TAlignment alignment;
        int width;
    };
    std::vector<Shown> shown;
    if (FColumns.Count() == 0) {
        if (TADOQuery* q = FDataLink.DataSet(); q && q->Active())
            for (int i = 0; i < q->FieldCount(); ++i) shown.push_back({q->Fields(i).FieldName(), taLeftJustify, 64});
    } else {
        for (int i = 0; i < FColumns.Count(); ++i) {
            TColumn* c = FColumns.Items(i);
            c->FShownIndex = c->FVisible ? static_cast<int>(shown.size()) : -1;
            if (c->FVisible) shown.push_back({c->FTitle.Caption().empty() ? c->FFieldName : c->FTitle.Caption(),
                                              c->FTitle.Alignment(), c->FWidth});
        }
    }
    HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        std::wstring title = Wide(shown[i].title);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.fmt = LVCFMT_LEFT;
        col.cx = shown[i].width;
        col.pszText = title.data();
        SendMessageW(FHandle, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        item.fmt = HDF_STRING | (shown[i].alignment == taCenter ? HDF_CENTER : shown[i].alignment == taRightJustify ? HDF_RIGHT : HDF_LEFT);
        if (header) SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    Refill();
}

// The list view holds no rows of its own (owner data): it is told how many there are and
// asks for the text of the rows it shows, so filling costs the same at any size.
void TDBGrid::Refill() {
    if (!HandleAllocated() || FFilling) return;
    FShownFields.clear();
    TADOQuery* q = FDataLink.DataSet();
    int count = 0;
    if (q && q->Active()) {
        if (FColumns.Count() == 0) {
            for (int i = 0; i < q->FieldCount(); ++i) FShownFields.push_back(&q->Fields(i));
        } else {
            for (int i = 0; i < FColumns.Count(); ++i)
                if (TColumn* c = FColumns.Items(i); c->Visible()) FShownFields.push_back(q->FindField(c->FieldName()));
        }
        count = q->RecordCount();
    }
    FFilling = true;
    SendMessageW(FHandle, LVM_SETITEMCOUNT, count, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
    FFilling = false;
    SyncSelection();
}

void TDBGrid::SyncSelection() {
    if (!HandleAllocated() || FFilling || FSelecting) return;
    TADOQuery* q = FDataLink.DataSet();
    const int row = q && q->Active() ? q->RecNo() - 1 : -1;
    FSelecting = true;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageW(FHandle, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    if (row >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(FHandle, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        SendMessageW(FHandle, LVM_ENSUREVISIBLE, row, FALSE);
    }
    FSelecting = false;
}

int TDBGrid::RowCount() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(FHandle, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int TDBGrid::SelectedRow() const {
    return HandleAllocated() ? static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)) : -1;
}

std::string TDBGrid::Cells(int column, int row) const {
    if (!HandleAllocated() || row < 0 || row >= RowCount() || column < 0 ||
        column >= static_cast<int>(FShownFields.size()))
        return "";
    TField* field = FShownFields[static_cast<size_t>(column)];
    if (!field) return "";
    std::string text = field->AsStringAt(row + 1);
    for (int i = 0; i < FColumns.Count(); ++i)
        if (const TColumn* c = FColumns.Items(i); c->FShownIndex == column && c->OnGetText) c->OnGetText(text);
    return text;
}

// The text the list view asks for, cut to its buffer.
void TDBGrid::GetDispInfo(NMLVDISPINFOW& info) const {
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    const std::wstring text = Wide(Cells(info.item.iSubItem, info.item.iItem));
    const size_t n = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
    text.copy(info.item.pszText, n);
    info.item.pszText[n] = L'\0';
}

// A row the user selects becomes the query's current record.
void TDBGrid::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header->code == LVN_ITEMCHANGED && !FFilling && !FSelecting) {
            auto* change = reinterpret_cast<NMLISTVIEW*>(m.LParam);
            TADOQuery* q = FDataLink.DataSet();
            if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED) && change->iItem >= 0 && q &&
                q->Active()) {
                FSelecting = true;
                try {
                    q->SetRecNo(change->iItem + 1);
                } catch (...) {
                    FSelecting = false;
                    throw;
                }
                FSelecting = false;
            }
        } else if (header->code == LVN_GETDISPINFOW) {
            GetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(m.LParam));
        } else if (header->code == NM_DBLCLK) {
            DblClick();
        }
        m.Handled = true;
        return;
    }
    TSystemControl::WndProc(m);
}
