#pragma once
// TField: one column of an open query, read at the query's current record. Reads follow
// the framework the program was written for: NULL (or no current record) gives "", 0 and
// 0.0; a date column read AsString gives DateTimeToStr ("yyyy-mm-dd", plus " H:mm:ss"
// when the time is not zero); a text read AsInteger or AsDateTime is converted and
// raises EConvertError when it does not convert.

#include <cstdint>
#include <string>
#include <variant>

#include "framework/rtl/DateUtils.h"

// A value as fetched from the data file.
using TDbCell = std::variant<std::monostate, int64_t, double, std::string>;

enum class TFieldType { ftString, ftInteger, ftFloat, ftDateTime };

class TADOQuery;

class TField {
public:
    TField(TADOQuery& dataSet, int index, std::string name, TFieldType type)
        : FDataSet(dataSet), FIndex(index), FFieldName(std::move(name)), FDataType(type) {}
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    int Index() const { return FIndex; }

    bool IsNull() const;
    std::string AsString() const;
    int AsInteger() const;
    TDateTime AsDateTime() const;

private:
    const TDbCell& Cell() const;

    TADOQuery& FDataSet;
    int FIndex;
    std::string FFieldName;
    TFieldType FDataType;
};
