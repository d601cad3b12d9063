#include "framework/rtl/IniFiles.h"

#include "framework/rtl/Classes.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

#include <algorithm>

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

// Names and values are single lines of the file; a line break would split them.
void CheckLine(std::string_view text)
{
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw Exception("INI names and values cannot contain line breaks: \"" + std::string(text) + "\"");
}

} // namespace

//--- TMemIniFile

void TMemIniFile::SetText(std::string_view text)
{
    if (text.substr(0, Bom.size()) == Bom)
        text.remove_prefix(Bom.size());
    TStringList lines;
    lines.SetText(text);
    FSections.clear();
    FSections.push_back(Section{});   // lines before the first section header
    Section* current = &FSections.back();
    for (const std::string& line : lines) {
        const std::string t = Trim(line);
        const size_t close = t.find(']');
        if (!t.empty() && t[0] == '[' && close != std::string::npos) {
            // A repeated section header continues the earlier section.
            const std::string name = Trim(std::string_view(t).substr(1, close - 1));
            if (const Section* found = FindSection(name)) {
                current = const_cast<Section*>(found);
            } else {
                FSections.push_back(Section{name, {}});
                current = &FSections.back();
            }
            continue;
        }
        const size_t eq = t.find('=');
        if (t.empty() || t[0] == ';' || eq == std::string::npos || eq == 0) {
            current->entries.push_back(Entry{"", line});
            continue;
        }
        Entry e{TrimRight(std::string_view(t).substr(0, eq)), TrimLeft(std::string_view(t).substr(eq + 1))};
        const bool duplicate = std::any_of(current->entries.begin(), current->entries.end(),
                                           [&](const Entry& x) { return !x.key.empty() && SameText(x.key, e.key); });
        if (duplicate)
            current->entries.push_back(Entry{"", line});   // kept, but the first one counts
        else
            current->entries.push_back(std::move(e));
    }
}

std::string TMemIniFile::Text() const
{
    std::string out;
    for (const Section& s : FSections) {
        if (!s.name.empty())
            out += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries)
            out += (e.key.empty() ? e.value : e.key + "=" + e.value) + "\r\n";
    }
    return out;
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (const Section& s : FSections)
        if (SameText(s.name, name))
            return &s;
    return nullptr;
}

// A new section goes at the end, after a blank line.
TMemIniFile::Section& TMemIniFile::EnsureSection(std::string_view name)
{
    if (const Section* s = FindSection(name))
        return const_cast<Section&>(*s);
    if (!FSections.empty()) {
        Section& last = FSections.back();
        if (!last.entries.empty() && !(last.entries.back().key.empty() && Trim(last.entries.back().value).empty()))
            last.entries.push_back(Entry{"", ""});
    }
    FSections.push_back(Section{std::string(name), {}});
    return FSections.back();
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.empty() && SameText(e.key, key))
                return e.value;
    return std::string(def);
}

int TMemIniFile::ReadInteger(std::string_view section, std::string_view key, int def) const
{
    return StrToIntDef(ReadString(section, key, ""), def);
}

bool TMemIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

// A new key goes after the section's last line that is not blank.
void TMemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    CheckLine(section);
    CheckLine(key);
    CheckLine(value);
    if (Trim(section).empty() || Trim(key).empty() || key.find('=') != std::string_view::npos)
        throw Exception("Invalid INI section or key name: [" + std::string(section) + "] " + std::string(key));
    Section& s = EnsureSection(Trim(section));
    for (Entry& e : s.entries) {
        if (!e.key.empty() && SameText(e.key, key)) {
            e.value = Trim(value);
            return;
        }
    }
    auto pos = s.entries.end();
    while (pos != s.entries.begin() && (pos - 1)->key.empty() && Trim((pos - 1)->value).empty())
        --pos;
    s.entries.insert(pos, Entry{Trim(key), Trim(value)});
}

void TMemIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    WriteString(section, key, IntToStr(value));
}

void TMemIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TMemIniFile::SectionExists(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.empty() && SameText(e.key, key))
                return true;
    return false;
}

void TMemIniFile::ReadSections(TStringList& out) const
{
    out.Clear();
    for (const Section& s : FSections)
        if (!s.name.empty())
            out.Add(s.name);
}

void TMemIniFile::ReadSection(std::string_view section, TStringList& keys) const
{
    keys.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (!e.key.empty())
                keys.Add(e.key);
}

void TMemIniFile::EraseSection(std::string_view section)
{
    if (const Section* s = FindSection(section))
        FSections.erase(FSections.begin() + (s - FSections.data()));
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    if (const Section* found = FindSection(section)) {
        auto& entries = const_cast<Section*>(found)->entries;
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& e) { return !e.key.empty() && SameText(e.key, key); });
        if (it != entries.end())
            entries.erase(it);
    }
}

//--- TIniFile

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName))
{
    Reload();
}

// The file may be UTF-8 (with or without a BOM) or, from older versions, GBK.
void TIniFile::Reload()
{
    if (!FileExists(FFileName)) {
        FSections.clear();
        return;
    }
    std::string bytes = ReadFileBytes(FFileName);
    if (std::string_view(bytes).substr(0, Bom.size()) != Bom && !IsValidUtf8(bytes))
        bytes = GbkToUtf8(bytes);
    SetText(bytes);
}

template <class Change>
void TIniFile::Apply(Change change)
{
    Reload();
    const std::vector<Section> before = FSections;
    change();
    try {
        UpdateFile();
    } catch (...) {
        FSections = before;
        throw;
    }
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Apply([&] { TMemIniFile::WriteString(section, key, value); });
}

void TIniFile::EraseSection(std::string_view section)
{
    Apply([&] { TMemIniFile::EraseSection(section); });
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key)
{
    Apply([&] { TMemIniFile::DeleteKey(section, key); });
}

void TIniFile::UpdateFile()
{
    WriteFileBytes(FFileName, Text());
}
