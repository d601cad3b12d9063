#pragma once
// The named parameters of a query: the ":name" marks of its SQL text, each with the
// value the caller gives through Parameters.ParamByName(name).Value. The list follows
// the text: once the text changes, the names are read anew and every value is reset to
// unassigned, so nothing set for an earlier statement leaks into the next one.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "framework/db/DbValue.h"
#include "framework/rtl/Classes.h"

class TParameter {
public:
    explicit TParameter(std::string name) : FName(std::move(name)) {}
    const std::string& Name() const { return FName; }

    TDbValue Value;

private:
    std::string FName;
};

class TParameters {
public:
    explicit TParameters(const TStringList& sql) : FSQL(sql) {}
    TParameters(const TParameters&) = delete;
    TParameters& operator=(const TParameters&) = delete;

    TParameter& ParamByName(std::string_view name);   // case-insensitive; raises EDatabaseError
    TParameter* FindParam(std::string_view name);      // nullptr when the text has no such mark
    int Count();
    TParameter& Items(int index);                      // raises EDatabaseError when out of range

    // Brings the list in line with the current SQL text; returns that text.
    const std::string& Refresh();

private:
    const TStringList& FSQL;
    std::string FText;
    bool FParsed = false;
    std::deque<TParameter> FItems;   // deque: references stay valid
};

// The SQL text of a query: its lines joined with a line break.
std::string JoinSQL(const TStringList& sql);
// The parameter names (":name" without the colon) of a statement, first use first, each
// once; marks inside quoted literals and comments are not parameters.
std::vector<std::string> ParseParamNames(std::string_view text);
