#pragma once
// TDataSource: links a query to the controls that show it (the list windows' grids). The
// query tells its sources when it opens or closes (StateChanged) and when its current
// record moves (DataChanged); a control listens through OnStateChange and OnDataChange
// or through a TDataLink of its own.

#include <vector>

#include "framework/base/Component.h"

class TADOQuery;
class TDataSource;

// A listener on one data source; a grid holds one and repaints from its callbacks.
class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* value);
    TADOQuery* DataSet() const;   // nullptr when unlinked
    bool Active() const;          // the linked query is open

    virtual void ActiveChanged() {}   // the query opened or closed
    virtual void DataChanged() {}     // the current record moved

private:
    TDataSource* FDataSource = nullptr;
};

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;

    TADOQuery* DataSet() const { return FDataSet; }
    void SetDataSet(TADOQuery* value);

    TNotifyEvent OnStateChange;
    TNotifyEvent OnDataChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TDataLink;
    friend class TADOQuery;
    void StateChanged();   // the query opened or closed
    void DataChanged();    // the query's current record moved
    TADOQuery* FDataSet = nullptr;
    std::vector<TDataLink*> FLinks;
};
