#include "framework/rtl/Classes.h"

#include "framework/rtl/SysUtils.h"

namespace {

[[noreturn]] void IndexError(int index)
{
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

const std::string& TStringList::operator[](int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FItems[index];
}

std::string& TStringList::operator[](int index)
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return FItems[index];
}

int TStringList::Add(std::string s)
{
    FItems.push_back(std::move(s));
    return Count() - 1;
}

void TStringList::Insert(int index, std::string s)
{
    if (index < 0 || index > Count())
        IndexError(index);
    FItems.insert(FItems.begin() + index, std::move(s));
}

void TStringList::Delete(int index)
{
    if (index < 0 || index >= Count())
        IndexError(index);
    FItems.erase(FItems.begin() + index);
}

int TStringList::IndexOf(std::string_view s) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[i], s))
            return i;
    return -1;
}

std::string TStringList::Text() const
{
    std::string out;
    for (const std::string& s : FItems) {
        out += s;
        out += "\r\n";
    }
    return out;
}

// A line break at the very end does not start another (empty) line.
void TStringList::SetText(std::string_view text)
{
    FItems.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            FItems.emplace_back(text.substr(start));
            break;
        }
        FItems.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

std::string TStringList::DelimitedText(char delimiter) const
{
    std::string out;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (i > 0)
            out += delimiter;
        out += FItems[i];
    }
    return out;
}

// An empty text gives no items; "a//b" gives three, the middle one empty.
void TStringList::SetDelimitedText(std::string_view text, char delimiter)
{
    FItems.clear();
    if (text.empty())
        return;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(delimiter, start);
        if (end == std::string_view::npos) {
            FItems.emplace_back(text.substr(start));
            break;
        }
        FItems.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}
