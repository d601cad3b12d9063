#pragma once
// Text encodings: UTF-8 inside the program, UTF-16 at the Win32 boundary, GBK (code page
// 936) for the editor and its note files. The native build converts with iconv, the
// Windows build with MultiByteToWideChar/WideCharToMultiByte; both give identical bytes.
// Invalid input is replaced (U+FFFD in UTF-16/UTF-8, '?' in GBK), never dropped silently
// and never thrown. GBK follows Windows code page 936 exactly, its Private Use Area
// mappings (user-defined rows, 0xFF = U+F8F5) and 0x80 = euro included.

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

bool IsValidUtf8(std::string_view s);

// Character-based helpers for UTF-8 text (a character is one code point).
size_t Utf8Length(std::string_view s);                            // number of characters
std::string Utf8Copy(std::string_view s, size_t first, size_t count);  // 0-based, clamps
std::string Utf8DropLast(std::string_view s, size_t count = 1);   // "15天" -> "15"
