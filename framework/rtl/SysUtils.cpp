#include "framework/rtl/SysUtils.h"

#include "framework/rtl/Encoding.h"

#include <charconv>
#include <cmath>
#include <limits>

void Abort()
{
    throw EAbort();
}

void Assert(bool condition, std::string_view message, TSourcePlace where)
{
    if (condition)
        return;
    std::string file = where.file_name();
    if (const auto slash = file.find_last_of("/\\"); slash != std::string::npos)
        file.erase(0, slash + 1);
    throw EAssertionFailed((message.empty() ? std::string("Assertion failed") : std::string(message)) + " (" + file +
                           ", line " + std::to_string(where.line()) + ")");
}

std::string IntToStr(int64_t value)
{
    return std::to_string(value);
}

// Decimal with an optional sign, or hexadecimal after "$" or "0x"; blanks around are
// ignored. Hex values take the 32-bit pattern ("$FFFFFFFF" is -1), as colour constants need.
bool TryStrToInt(std::string_view text, int& value)
{
    std::string s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    uint64_t n = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        n = n * base + digit;
        if (n > 0xFFFFFFFFull)
            return false;
    }
    int64_t result;
    if (base == 16) {
        result = static_cast<int32_t>(static_cast<uint32_t>(n));
        if (negative)
            result = -result;
    } else {
        result = negative ? -static_cast<int64_t>(n) : static_cast<int64_t>(n);
    }
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(result);
    return true;
}

int StrToInt(std::string_view text)
{
    int value;
    if (!TryStrToInt(text, value))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

int StrToIntDef(std::string_view text, int defaultValue)
{
    int value;
    return TryStrToInt(text, value) ? value : defaultValue;
}

// Up to 15 significant digits, trailing zeros dropped: 0.1 + 0.2 gives "0.3".
std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, r.ptr);
    if (s == "-0")
        s = "0";
    return s;
}

namespace {

[[noreturn]] void FormatError(std::string_view format)
{
    throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

// Pads to `width` characters (UTF-8 code points), on the left unless `left` is set.
std::string Pad(std::string s, size_t width, bool left)
{
    const size_t len = Utf8Length(s);
    if (len >= width)
        return s;
    std::string fill(width - len, ' ');
    return left ? s + fill : fill + s;
}

} // namespace

std::string Format(std::string_view format, std::initializer_list<FormatArg> args)
{
    std::string out;
    auto arg = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (++i >= format.size())
            FormatError(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        bool left = false;
        if (format[i] == '-') {
            left = true;
            ++i;
        }
        size_t width = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            width = width * 10 + (format[i++] - '0');
        bool hasPrecision = false;
        size_t precision = 0;
        if (i < format.size() && format[i] == '.') {
            hasPrecision = true;
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                precision = precision * 10 + (format[i++] - '0');
        }
        if (i >= format.size() || arg == args.end())
            FormatError(format);
        const char conv = static_cast<char>(format[i] | 0x20);
        std::string text;
        if (conv == 'd') {
            const int64_t* n = std::get_if<int64_t>(&arg->Value);
            if (!n)
                FormatError(format);
            // Precision is the minimum number of digits.
            std::string digits = std::to_string(*n < 0 ? -(*n + 1) + uint64_t(1) : uint64_t(*n));
            if (hasPrecision && digits.size() < precision)
                digits.insert(0, precision - digits.size(), '0');
            text = (*n < 0 ? "-" : "") + digits;
        } else if (conv == 's') {
            const std::string* s = std::get_if<std::string>(&arg->Value);
            if (!s)
                FormatError(format);
            // Precision is the maximum number of characters.
            text = hasPrecision ? Utf8Copy(*s, 0, precision) : *s;
        } else {
            FormatError(format);
        }
        out += Pad(std::move(text), width, left);
        ++arg;
    }
    return out;
}

std::string TrimLeft(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s)
{
    return TrimLeft(TrimRight(s));
}

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
} // namespace

bool SameText(std::string_view a, std::string_view b)
{
    return CompareText(a, b) == 0;
}

std::string UpperCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = Upper(c);
    return r;
}

std::string LowerCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = Lower(c);
    return r;
}

int CompareText(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(Lower(a[i]));
        const auto cb = static_cast<unsigned char>(Lower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int64_t Round(double value)
{
    const double f = std::floor(value);
    const double diff = value - f;
    double r = f;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0))
        r = f + 1.0;
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))   // NaN, infinities, too large
        throw EConvertError("'" + FloatToStr(value) + "' is not a valid integer value");
    return static_cast<int64_t>(r);
}
