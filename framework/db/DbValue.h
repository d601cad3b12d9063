#pragma once
// TDbValue: one value as it travels between the program and the data file: unassigned
// (a parameter nobody set), NULL, text (UTF-8), a whole number or a date-time. A TDateTime
// (a double) assigned to it is taken as a date; the data file keeps dates in the text
// form of DbDates.h.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "framework/rtl/DateUtils.h"

enum class TDbValueKind { Unassigned, Null, Text, Integer, Date };

class TDbValue {
public:
    TDbValue() = default;   // unassigned
    static TDbValue Null() {
        TDbValue v;
        v.FValue = NullBox{};
        return v;
    }
    TDbValue(std::string value) : FValue(std::move(value)) {}
    TDbValue(std::string_view value) : FValue(std::string(value)) {}
    TDbValue(const char* value) : FValue(std::string(value)) {}
    TDbValue(int value) : FValue(static_cast<int64_t>(value)) {}
    TDbValue(int64_t value) : FValue(value) {}
    TDbValue(TDateTime value) : FValue(DateBox{value}) {}

    TDbValueKind Kind() const { return static_cast<TDbValueKind>(FValue.index()); }
    const std::string& Text() const { return std::get<std::string>(FValue); }
    int64_t Integer() const { return std::get<int64_t>(FValue); }
    TDateTime Date() const { return std::get<DateBox>(FValue).Value; }

private:
    struct NullBox {};
    struct DateBox {
        TDateTime Value;
    };
    std::variant<std::monostate, NullBox, std::string, int64_t, DateBox> FValue;
};
