#pragma once
// Run-time basics in the shape the program's units expect: the exception family,
// integer and float conversions, Format for the %d/%s forms, trimming and ASCII
// case-insensitive comparison. Strings are UTF-8 std::string throughout.

#include <concepts>
#include <cstdint>
#include <initializer_list>
#if __has_include(<source_location>)
#include <source_location>
#endif
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// Base of every exception the program raises or reports; Message() is shown to the user.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A conversion (text to number or date) failed.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Silent exception: ends the current operation without any message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

[[noreturn]] void Abort();

// A checked assumption of the program itself did not hold.
class EAssertionFailed : public Exception {
public:
    using Exception::Exception;
};

// Raises EAssertionFailed when `condition` is false, with the message ("Assertion failed"
// when empty) followed by " (file, line N)" of the caller.
// Where a call was made; std::source_location where the compiler has it (clang 14's
// library does not).
#if defined(__cpp_lib_source_location)
using TSourcePlace = std::source_location;
#else
struct TSourcePlace {
    static constexpr TSourcePlace current(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE())
    {
        return TSourcePlace{file, line};
    }
    constexpr const char* file_name() const { return File; }
    constexpr unsigned line() const { return Line; }
    const char* File = "";
    unsigned Line = 0;
};
#endif
void Assert(bool condition, std::string_view message = {}, TSourcePlace where = TSourcePlace::current());

// A list index or list operation was invalid.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Raised by file operations (open, read, write, replace).
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

std::string IntToStr(int64_t value);
int StrToInt(std::string_view text);                    // raises EConvertError
int StrToIntDef(std::string_view text, int defaultValue);
bool TryStrToInt(std::string_view text, int& value);    // decimal, optional sign, blanks trimmed; "$FF" hex
std::string FloatToStr(double value);                   // up to 15 significant digits ("1.5", "3", "-0.25", "0.3")

// Format with the %d and %s forms (also %%, %5d, %-5s, %.2d, %.3s): arguments are integers
// (any integral type) or strings; a mismatch raises EConvertError. Widths count characters.
struct FormatArg {
    template <std::integral T>
    FormatArg(T value) : Value(static_cast<int64_t>(value)) {}
    FormatArg(const char* value) : Value(std::string(value)) {}
    FormatArg(std::string_view value) : Value(std::string(value)) {}
    FormatArg(std::string value) : Value(std::move(value)) {}
    std::variant<int64_t, std::string> Value;
};
std::string Format(std::string_view format, std::initializer_list<FormatArg> args);

std::string Trim(std::string_view s);       // drops bytes <= ' ' at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
bool SameText(std::string_view a, std::string_view b);   // ASCII case-insensitive equality
std::string UpperCase(std::string_view s);               // ASCII only
std::string LowerCase(std::string_view s);               // ASCII only
int CompareText(std::string_view a, std::string_view b); // ASCII case-insensitive, <0, 0, >0

// Round half to even, as the program's arithmetic expects; NaN or a value beyond 64 bits
// raises EConvertError.
int64_t Round(double value);
