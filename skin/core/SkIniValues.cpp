#include "skin/core/SkIniValues.h"

#include <algorithm>
#include <array>

#include "framework/rtl/Classes.h"
#include "framework/rtl/IniFiles.h"
#include "framework/rtl/SysUtils.h"

namespace {

template <size_t N>
std::array<int, N> ParseFields(std::string_view text)
{
    std::array<bool, N> seen{};
    std::array<int, N> values{};
    size_t field = 0;
    for (char c : text) {
        if (c == ',') {
            ++field;
        } else if (c >= '0' && c <= '9' && field < N) {
            seen[field] = true;
            values[field] = std::min(kMaxSkinCoord, values[field] * 10 + (c - '0'));
        }
    }
    for (size_t i = 0; i < N; ++i)
        if (!seen[i])
            StrToInt("");   // a field without a digit fails as the strict conversion does
    return values;
}

const char* const kMorphKinds[] = {"mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient",
                                   "mkleftslide", "mkrightslide", "mkpush"};
const char* const kImageEffects[] = {"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};

std::string Key(std::string_view key, std::string_view suffix)
{
    return std::string(key) + std::string(suffix);
}

}  // namespace

TRect ParseSkinRect(std::string_view text)
{
    const auto v = ParseFields<4>(text);
    return {v[0], v[1], v[2], v[3]};
}

TPoint ParseSkinPoint(std::string_view text)
{
    const auto v = ParseFields<2>(text);
    return {v[0], v[1]};
}

TRect ReadSkinRect(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    return ParseSkinRect(ini.ReadString(section, key, "0,0,0,0"));
}

TPoint ReadSkinPoint(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    return ParseSkinPoint(ini.ReadString(section, key, "0,0"));
}

bool ReadSkinBool(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    return ini.ReadInteger(section, key, 0) == 1;
}

TSkFontStyles ReadSkinFontStyles(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    const std::string text = ini.ReadString(section, key, "");
    auto has = [&](const char* word) { return text.find(word) != std::string::npos; };
    return {has("fsbold"), has("fsitalic"), has("fsunderline"), has("fsstrikeout")};
}

TSkAlignment ReadSkinAlignment(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    const std::string text = ini.ReadString(section, key, "tacenter");
    if (text == "tacenter")
        return TSkAlignment::taCenter;
    if (text == "taleftjustify")
        return TSkAlignment::taLeftJustify;
    return TSkAlignment::taRightJustify;
}

TMorphKind ReadMorphKind(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    const std::string text = ini.ReadString(section, key, "mkdefault");
    const auto it = std::find_if(std::begin(kMorphKinds), std::end(kMorphKinds), [&](const char* s) { return text == s; });
    return it == std::end(kMorphKinds) ? TMorphKind::mkDefault : static_cast<TMorphKind>(it - std::begin(kMorphKinds));
}

TImageEffect ReadImageEffect(const TMemIniFile& ini, std::string_view section, std::string_view key)
{
    const std::string text = ini.ReadString(section, key, "iebrightness");
    const auto it = std::find_if(std::begin(kImageEffects), std::end(kImageEffects), [&](const char* s) { return text == s; });
    return it == std::end(kImageEffects) ? TImageEffect::ieGrayScale
                                         : static_cast<TImageEffect>(it - std::begin(kImageEffects));
}

namespace {

// A count read from the INI, bounded by the keys its section really has.
int BoundedCount(const TMemIniFile& ini, std::string_view section, const std::string& countKey)
{
    const int count = ini.ReadInteger(section, countKey, 0);
    if (count <= 0)
        return 0;
    TStringList keys;
    ini.ReadSection(section, keys);
    return std::min(count, keys.Count());
}

}  // namespace

void ReadSkinStrings(const TMemIniFile& ini, std::string_view section, std::string_view key, TStringList& lines)
{
    const int count = BoundedCount(ini, section, Key(key, "linecount"));
    for (int i = 0; i < count; ++i)
        lines.Add(ini.ReadString(section, Key(key, "line" + std::to_string(i)), ""));
}

void ReadSkinList(const TMemIniFile& ini, std::string_view section, std::string_view key, TStringList& list)
{
    const int count = BoundedCount(ini, section, Key(key, "count"));
    for (int i = 0; i < count; ++i)
        if (ini.ValueExists(section, std::to_string(i)))
            list.Add(ini.ReadString(section, std::to_string(i), ""));
}

void WriteSkinRect(TMemIniFile& ini, std::string_view section, std::string_view key, const TRect& value)
{
    ini.WriteString(section, key,
                    std::to_string(value.Left) + "," + std::to_string(value.Top) + "," + std::to_string(value.Right) +
                        "," + std::to_string(value.Bottom));
}

void WriteSkinPoint(TMemIniFile& ini, std::string_view section, std::string_view key, const TPoint& value)
{
    ini.WriteString(section, key, std::to_string(value.X) + "," + std::to_string(value.Y));
}

void WriteSkinBool(TMemIniFile& ini, std::string_view section, std::string_view key, bool value)
{
    ini.WriteString(section, key, value ? "1" : "0");
}

void WriteSkinFontStyles(TMemIniFile& ini, std::string_view section, std::string_view key, const TSkFontStyles& value)
{
    std::string text;
    auto add = [&](bool on, const char* word) {
        if (on)
            text += (text.empty() ? "" : ",") + std::string(word);
    };
    add(value.Bold, "fsbold");
    add(value.Italic, "fsitalic");
    add(value.Underline, "fsunderline");
    add(value.StrikeOut, "fsstrikeout");
    ini.WriteString(section, key, text);
}

void WriteSkinStrings(TMemIniFile& ini, std::string_view section, std::string_view key, const TStringList& lines)
{
    ini.WriteInteger(section, Key(key, "linecount"), lines.Count());
    for (int i = 0; i < lines.Count(); ++i)
        ini.WriteString(section, Key(key, "line" + std::to_string(i)), lines[i]);
}

void WriteSkinAlignment(TMemIniFile& ini, std::string_view section, std::string_view key, TSkAlignment value)
{
    const char* text = value == TSkAlignment::taCenter       ? "tacenter"
                       : value == TSkAlignment::taRightJustify ? "tarightjustify"
                                                               : "taleftjustify";
    ini.WriteString(section, key, text);
}

void WriteMorphKind(TMemIniFile& ini, std::string_view section, std::string_view key, TMorphKind value)
{
    ini.WriteString(section, key, kMorphKinds[static_cast<int>(value)]);
}
