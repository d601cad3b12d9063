#include "framework/db/DataSource.h"

#include <algorithm>

#include "framework/db/ADOQuery.h"

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* value) {
    if (FDataSource) {
        auto& links = FDataSource->FLinks;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    FDataSource = value;
    if (FDataSource)
        FDataSource->FLinks.push_back(this);
}

TADOQuery* TDataLink::DataSet() const {
    return FDataSource ? FDataSource->DataSet() : nullptr;
}

bool TDataLink::Active() const {
    TADOQuery* dataSet = DataSet();
    return dataSet && dataSet->Active();
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TADOQuery* value) {
    if (value == FDataSet)
        return;
    if (FDataSet) {
        FDataSet->DetachDataSource(this);
    }
    FDataSet = value;
    if (FDataSet)
        FDataSet->AttachDataSource(this);
    StateChanged();
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == static_cast<TComponent*>(FDataSet)) {
        FDataSet = nullptr;
        StateChanged();
    }
}

void TDataSource::StateChanged() {
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        link->ActiveChanged();
    if (OnStateChange)
        OnStateChange(this);
    DataChanged();
}

void TDataSource::DataChanged() {
    for (TDataLink* link : std::vector<TDataLink*>(FLinks))
        link->DataChanged();
    if (OnDataChange)
        OnDataChange(this);
}
