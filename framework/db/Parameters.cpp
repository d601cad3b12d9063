#include "framework/db/Parameters.h"

#include "framework/db/DatabaseError.h"

namespace {

bool IsNameByte(unsigned char c, bool first) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80 ||
           (!first && c >= '0' && c <= '9');
}

}  // namespace

std::string JoinSQL(const TStringList& sql) {
    std::string text;
    for (int i = 0; i < sql.Count(); ++i) {
        if (i > 0)
            text += '\n';
        text += sql[i];
    }
    return text;
}

std::vector<std::string> ParseParamNames(std::string_view text) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\'' || c == '"' || c == '`' || c == '[') {   // quoted literal or name
            char close = c == '[' ? ']' : c;
            size_t end = text.find(close, i + 1);
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            size_t end = text.find('\n', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else if (c == ':' && i + 1 < text.size() && IsNameByte(static_cast<unsigned char>(text[i + 1]), true)) {
            size_t start = ++i;
            while (i < text.size() && IsNameByte(static_cast<unsigned char>(text[i]), false))
                ++i;
            std::string name(text.substr(start, i - start));
            bool seen = false;
            for (const auto& n : names)
                seen = seen || SameText(n, name);
            if (!seen)
                names.push_back(std::move(name));
        } else {
            ++i;
        }
    }
    return names;
}

const std::string& TParameters::Refresh() {
    std::string text = JoinSQL(FSQL);
    if (!FParsed || text != FText) {
        FItems.clear();
        for (auto& name : ParseParamNames(text))
            FItems.emplace_back(std::move(name));
        FText = std::move(text);
        FParsed = true;
    }
    return FText;
}

TParameter* TParameters::FindParam(std::string_view name) {
    Refresh();
    for (auto& p : FItems)
        if (SameText(p.Name(), name))
            return &p;
    return nullptr;
}

TParameter& TParameters::ParamByName(std::string_view name) {
    if (TParameter* p = FindParam(name))
        return *p;
    throw EDatabaseError("Parameter '" + std::string(name) + "' not found");
}

int TParameters::Count() {
    Refresh();
    return static_cast<int>(FItems.size());
}

TParameter& TParameters::Items(int index) {
    Refresh();
    if (index < 0 || index >= static_cast<int>(FItems.size()))
        throw EDatabaseError("Parameter index out of range (" + IntToStr(index) + ")");
    return FItems[static_cast<size_t>(index)];
}
