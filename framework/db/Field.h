#pragma once
// TField: one column of an open query, read at the query's current record. Reads follow
// the framework the program was written for: NULL (or no current record) gives "", 0 and
// 0.0; a date column read AsString gives DateTimeToStr ("yyyy-mm-dd", plus " H:mm:ss"
// when the time is not zero); a text read AsInteger or AsDateTime is converted and
// raises EConvertError when it does not convert.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/rtl/DateUtils.h"

// A value as fetched from the data file, read in place: Text points into the query's rows.
enum class TDbCellKind : uint8_t { Null, Integer, Float, Text };
struct TDbCell {
    TDbCellKind Kind = TDbCellKind::Null;
    int64_t Integer = 0;
    double Float = 0;
    std::string_view Text;
};

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
    // AsString at record `recNo` (1-based) without moving the query: what a grid shows.
    std::string AsStringAt(int recNo) const;

private:
    TDbCell Cell() const;
    std::string TextOf(const TDbCell& cell) const;

    TADOQuery& FDataSet;
    int FIndex;
    std::string FFieldName;
    TFieldType FDataType;
};
