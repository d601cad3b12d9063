#include "skin/core/SkText.h"

#include "framework/rtl/Encoding.h"

std::string FitTextToWidth(std::string_view text, int width, const TTextWidthFunc& textWidth)
{
    std::string s(text);
    if (textWidth(s) <= width)
        return s;
    while (!s.empty() && textWidth(s + "...") > width) {
        std::string shorter = Utf8DropLast(s);
        if (shorter.size() >= s.size())   // never loop on text that is not UTF-8
            shorter = s.substr(0, s.size() - 1);
        s = std::move(shorter);
    }
    return s + "...";
}
