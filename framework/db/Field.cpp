#include "framework/db/Field.h"

#include <limits>

#include "framework/db/ADOQuery.h"
#include "framework/db/DbDates.h"
#include "framework/rtl/SysUtils.h"

namespace {

// A date column's text in the stored form, or any text the date reader accepts.
TDateTime TextToDate(std::string_view text) {
    TDateTime value;
    if (TryStorageToDate(text, value))
        return value;
    return StrToDateTime(text);
}

}  // namespace

TDbCell TField::Cell() const {
    return FDataSet.CellAt(FDataSet.FActive ? FDataSet.FRecNo : -1, FIndex);
}

bool TField::IsNull() const {
    return Cell().Kind == TDbCellKind::Null;
}

std::string TField::TextOf(const TDbCell& cell) const {
    switch (cell.Kind) {
    case TDbCellKind::Integer:
        return FDataType == TFieldType::ftDateTime ? DateTimeToStr(static_cast<double>(cell.Integer)) : IntToStr(cell.Integer);
    case TDbCellKind::Float:
        return FDataType == TFieldType::ftDateTime ? DateTimeToStr(cell.Float) : FloatToStr(cell.Float);
    case TDbCellKind::Text: {
        TDateTime value;
        if (FDataType == TFieldType::ftDateTime && TryStorageToDate(cell.Text, value))
            return DateTimeToStr(value);
        return std::string(cell.Text);
    }
    case TDbCellKind::Null:
        break;
    }
    return "";
}

std::string TField::AsString() const {
    return TextOf(Cell());
}

std::string TField::AsStringAt(int recNo) const {
    return TextOf(FDataSet.FActive ? FDataSet.CellAt(recNo - 1, FIndex) : TDbCell{});
}

int TField::AsInteger() const {
    const TDbCell cell = Cell();
    int64_t value = 0;
    if (cell.Kind == TDbCellKind::Integer)
        value = cell.Integer;
    else if (cell.Kind == TDbCellKind::Float)
        value = Round(cell.Float);
    else if (cell.Kind == TDbCellKind::Text)
        return StrToInt(cell.Text);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError("'" + IntToStr(value) + "' is not a valid integer value");
    return static_cast<int>(value);
}

TDateTime TField::AsDateTime() const {
    const TDbCell cell = Cell();
    switch (cell.Kind) {
    case TDbCellKind::Integer:
        return static_cast<double>(cell.Integer);
    case TDbCellKind::Float:
        return cell.Float;
    case TDbCellKind::Text:
        return TextToDate(cell.Text);
    case TDbCellKind::Null:
        break;
    }
    return 0.0;
}
