#include "framework/db/Field.h"

#include <limits>

#include "framework/db/ADOQuery.h"
#include "framework/db/DbDates.h"
#include "framework/rtl/SysUtils.h"

namespace {

const TDbCell NullCell;

// A date column's text in the stored form, or any text the date reader accepts.
TDateTime TextToDate(const std::string& text) {
    TDateTime value;
    if (TryStorageToDate(text, value))
        return value;
    return StrToDateTime(text);
}

}  // namespace

const TDbCell& TField::Cell() const {
    const TDbCell* cell = FDataSet.CurrentCell(FIndex);
    return cell ? *cell : NullCell;
}

bool TField::IsNull() const {
    return std::holds_alternative<std::monostate>(Cell());
}

std::string TField::AsString() const {
    const TDbCell& cell = Cell();
    if (auto i = std::get_if<int64_t>(&cell))
        return FDataType == TFieldType::ftDateTime ? DateTimeToStr(static_cast<double>(*i)) : IntToStr(*i);
    if (auto d = std::get_if<double>(&cell))
        return FDataType == TFieldType::ftDateTime ? DateTimeToStr(*d) : FloatToStr(*d);
    if (auto s = std::get_if<std::string>(&cell)) {
        TDateTime value;
        if (FDataType == TFieldType::ftDateTime && TryStorageToDate(*s, value))
            return DateTimeToStr(value);
        return *s;
    }
    return "";
}

int TField::AsInteger() const {
    const TDbCell& cell = Cell();
    int64_t value = 0;
    if (auto i = std::get_if<int64_t>(&cell))
        value = *i;
    else if (auto d = std::get_if<double>(&cell))
        value = Round(*d);
    else if (auto s = std::get_if<std::string>(&cell))
        return StrToInt(*s);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EConvertError("'" + IntToStr(value) + "' is not a valid integer value");
    return static_cast<int>(value);
}

TDateTime TField::AsDateTime() const {
    const TDbCell& cell = Cell();
    if (auto i = std::get_if<int64_t>(&cell))
        return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&cell))
        return *d;
    if (auto s = std::get_if<std::string>(&cell))
        return TextToDate(*s);
    return 0.0;
}
