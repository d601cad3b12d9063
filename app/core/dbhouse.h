#pragma once
// The data module Tdbhouse (global instance dbhouse): the one connection democnn to the
// data file qmkDemo.mdb, the named query slots that every window reuses, and the four
// data sources behind the list windows' grids. Components are owned by the module and
// found by name; the module is created third at start-up and lives until exit.

#include <array>
#include <string>

#include "framework/base/Component.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADOQuery.h"
#include "framework/db/DataSource.h"

class Tdbhouse : public TComponent {
public:
    explicit Tdbhouse(TComponent* AOwner);

    TADOConnection* democnn;
    TADOQuery *qsz, *qcx, *qdc, *qup, *qbw, *qbwcx, *qbw1, *qgx, *qjrcx, *qins, *qjrts, *qjr, *qrqcx, *qdcbw,
        *qxsf, *qrbq, *qy, *qbqcx, *qxzbq, *qsum, *qdjs, *qzdy, *qgq, *qok;
    TDataSource *qbwcx_s, *qjrcx_s, *qbqcx_s, *qdjs_s;
};

extern Tdbhouse* dbhouse;

// The eight tables the data file must hold.
extern const std::array<const char*, 8> DataFileTables;

// The indexes the memo timers read through, as the shipped schema creates them; opening
// democnn adds any an older data file lacks.
extern const std::array<const char*, 4> DataFileIndexes;
void AddDataFileIndexes(TADOConnection& connection);

// A due text (ylsj) that matches this GLOB starts with a zero-padded date, so its text
// sorts as its date does.
constexpr const char* PaddedDateGlob = "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*";

// The data file's name beside the executable.
constexpr const char* DataFileName = "qmkDemo.mdb";

// The connection string start-up gives democnn: the data file in `exeFolder` (which ends
// with a path delimiter), with the blanks before the semicolons that the text carries; a
// path holding ';' is given in double quotes so that it reaches the connection whole.
std::string DataConnectionString(const std::string& exeFolder);
