#pragma once
// TStringList: an ordered list of UTF-8 strings with the operations the program uses.

#include <string>
#include <string_view>
#include <vector>

class TStringList {
public:
    TStringList() = default;

    int Count() const { return static_cast<int>(FItems.size()); }
    const std::string& operator[](int index) const;     // raises EListError when out of range
    std::string& operator[](int index);
    int Add(std::string s);
    void Insert(int index, std::string s);
    void Delete(int index);
    void Clear() { FItems.clear(); }
    int IndexOf(std::string_view s) const;               // case-insensitive (ASCII), -1 if absent

    // Lines joined with CR LF, each ending in CR LF; SetText splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);
    // Items joined with / split at a delimiter (no quoting).
    std::string DelimitedText(char delimiter) const;
    void SetDelimitedText(std::string_view text, char delimiter);

    std::vector<std::string>::const_iterator begin() const { return FItems.begin(); }
    std::vector<std::string>::const_iterator end() const { return FItems.end(); }

private:
    std::vector<std::string> FItems;
};
