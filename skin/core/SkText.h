#pragma once
// FitTextToWidth: shortens a UTF-8 text to a width by whole characters (a Chinese
// character is never split) and appends "..."; the width of a text comes from the caller
// (a canvas's TextWidth on Windows).

#include <functional>
#include <string>
#include <string_view>

using TTextWidthFunc = std::function<int(std::string_view text)>;

std::string FitTextToWidth(std::string_view text, int width, const TTextWidthFunc& textWidth);
