#include "framework/rtl/Encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one character at s[i] and advances i. A malformed sequence yields U+FFFD and
// consumes its maximal valid prefix (at least one byte), so that the next character
// survives: the usual replacement practice.
char32_t NextChar(std::string_view s, size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80)
        return b;
    int more;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;   // valid range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2;
        cp = b & 0x0F;
        if (b == 0xE0)
            lo = 0xA0;          // no overlong forms
        else if (b == 0xED)
            hi = 0x9F;          // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3;
        cp = b & 0x07;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;          // nothing above U+10FFFF
    } else {
        return Replacement;
    }
    for (int k = 0; k < more; ++k) {
        if (i >= s.size())
            return Replacement;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < lo || c > hi)
            return Replacement;
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (c & 0x3F);
        ++i;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Byte offset of the character with the given index (or s.size()).
size_t CharOffset(std::string_view s, size_t index)
{
    size_t i = 0;
    for (size_t n = 0; n < index && i < s.size(); ++n)
        NextChar(s, i);
    return i;
}

//--- GBK: one character through the platform converter

#ifdef _WIN32

constexpr UINT Gbk = 936;

// Character of one or two GBK bytes, U+FFFD when code page 936 does not define it.
char32_t GbkCharToUnicode(const char* bytes, int len)
{
    wchar_t w[2];
    const int n = MultiByteToWideChar(Gbk, MB_ERR_INVALID_CHARS, bytes, len, w, 2);
    return n == 1 ? static_cast<char32_t>(w[0]) : Replacement;
}

// GBK bytes of one character, "?" when code page 936 has none.
void AppendGbk(std::string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        out += '?';
        return;
    }
    const wchar_t w = static_cast<wchar_t>(cp);
    char buf[4];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(Gbk, WC_NO_BEST_FIT_CHARS, &w, 1, buf, sizeof buf, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        out += '?';
    else
        out.append(buf, n);
}

#else

// One iconv descriptor per direction and thread; CP936 is stateless, so no reset is needed
// between characters.
class Converter {
public:
    Converter(const char* to, const char* from) : FCd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (FCd != reinterpret_cast<iconv_t>(-1))
            iconv_close(FCd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input or returns 0 (nothing written).
    size_t Convert(const char* in, size_t inLen, char* out, size_t outSize)
    {
        if (FCd == reinterpret_cast<iconv_t>(-1))
            return 0;
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t srcLeft = inLen, dstLeft = outSize;
        iconv(FCd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(FCd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0)
            return 0;
        return outSize - dstLeft;
    }

private:
    iconv_t FCd;
};

// glibc's CP936 leaves out what code page 936 maps to the Private Use Area: the
// user-defined rows and a few hundred unassigned cells (and 0xFF = U+F8F5). These runs
// complete it: {first GBK code, first code point, length}, counted over valid trail bytes.
struct PuaRun {
    uint16_t gbk, unicode, count;
};
constexpr PuaRun PuaRuns[] = {
    {0xA140, 0xE4C6, 96}, {0xA240, 0xE526, 96}, {0xA2AB, 0xE766, 6}, {0xA2E3, 0xE76C, 2}, {0xA2EF, 0xE76E, 2},
    {0xA2FD, 0xE770, 2}, {0xA340, 0xE586, 96}, {0xA440, 0xE5E6, 96}, {0xA4F4, 0xE772, 11}, {0xA540, 0xE646, 96},
    {0xA5F7, 0xE77D, 8}, {0xA640, 0xE6A6, 96}, {0xA6B9, 0xE785, 8}, {0xA6D9, 0xE78D, 7}, {0xA6EC, 0xE794, 2},
    {0xA6F3, 0xE796, 1}, {0xA6F6, 0xE797, 9}, {0xA740, 0xE706, 96}, {0xA7C2, 0xE7A0, 15}, {0xA7F2, 0xE7AF, 13},
    {0xA896, 0xE7BC, 11}, {0xA8BC, 0xE7C7, 1}, {0xA8BF, 0xE7C8, 1}, {0xA8C1, 0xE7C9, 4}, {0xA8EA, 0xE7CD, 21},
    {0xA958, 0xE7E2, 1}, {0xA95B, 0xE7E3, 1}, {0xA95D, 0xE7E4, 3}, {0xA989, 0xE7E7, 13}, {0xA997, 0xE7F4, 13},
    {0xA9F0, 0xE801, 15}, {0xAAA1, 0xE000, 94}, {0xABA1, 0xE05E, 94}, {0xACA1, 0xE0BC, 94}, {0xADA1, 0xE11A, 94},
    {0xAEA1, 0xE178, 94}, {0xAFA1, 0xE1D6, 94}, {0xD7FA, 0xE810, 5}, {0xF8A1, 0xE234, 94}, {0xF9A1, 0xE292, 94},
    {0xFAA1, 0xE2F0, 94}, {0xFBA1, 0xE34E, 94}, {0xFCA1, 0xE3AC, 94}, {0xFDA1, 0xE40A, 94}, {0xFE50, 0xE815, 80},
    {0xFEA1, 0xE468, 94},
};

int GbkIndex(unsigned lead, unsigned trail) { return (lead - 0x81) * 190 + trail - 0x40 - (trail > 0x7F); }

char32_t PuaFromGbk(const unsigned char* b, int len)
{
    if (len == 1)
        return Replacement;
    const int index = GbkIndex(b[0], b[1]);
    for (const PuaRun& r : PuaRuns) {
        const int first = GbkIndex(r.gbk >> 8, r.gbk & 0xFF);
        if (index >= first && index < first + r.count)
            return r.unicode + (index - first);
    }
    return Replacement;
}

bool PuaToGbk(std::string& out, char32_t cp)
{
    if (cp == 0xF8F5) {
        out += '\xFF';
        return true;
    }
    for (const PuaRun& r : PuaRuns) {
        if (cp >= r.unicode && cp < char32_t(r.unicode) + r.count) {
            const int index = GbkIndex(r.gbk >> 8, r.gbk & 0xFF) + static_cast<int>(cp - r.unicode);
            const int trail = index % 190 + 0x40;
            out += static_cast<char>(index / 190 + 0x81);
            out += static_cast<char>(trail >= 0x7F ? trail + 1 : trail);
            return true;
        }
    }
    return false;
}

char32_t GbkCharToUnicode(const char* bytes, int len)
{
    thread_local Converter conv("UTF-32LE", "CP936");
    unsigned char out[8];
    if (conv.Convert(bytes, len, reinterpret_cast<char*>(out), sizeof out) != 4)
        return PuaFromGbk(reinterpret_cast<const unsigned char*>(bytes), len);
    return out[0] | (out[1] << 8) | (out[2] << 16) | (char32_t(out[3]) << 24);
}

void AppendGbk(std::string& out, char32_t cp)
{
    if (cp >= 0xE000 && cp <= 0xF8FF && PuaToGbk(out, cp))
        return;
    thread_local Converter conv("CP936", "UTF-32LE");
    const unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                                 static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
    char buf[8];
    const size_t n = cp == Replacement ? 0 : conv.Convert(reinterpret_cast<const char*>(in), 4, buf, sizeof buf);
    if (n == 0)
        out += '?';
    else
        out.append(buf, n);
}

#endif

bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextChar(utf8, i);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;   // unpaired surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextChar(utf8, i);
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else
            AppendGbk(out, cp);
    }
    return out;
}

// A lead byte without a valid trail byte becomes U+FFFD on its own, so the byte after it
// (often ASCII) is kept.
std::string GbkToUtf8(std::string_view gbk)
{
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if (IsGbkLead(b) && i + 1 < gbk.size() && IsGbkTrail(static_cast<unsigned char>(gbk[i + 1]))) {
            AppendUtf8(out, GbkCharToUnicode(gbk.data() + i, 2));
            ++i;
        } else if (b == 0x80) {
            AppendUtf8(out, GbkCharToUnicode(gbk.data() + i, 1));
        } else if (b == 0xFF) {
            AppendUtf8(out, 0xF8F5);   // as code page 936 writes U+F8F5
        } else {
            AppendUtf8(out, Replacement);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const size_t start = i;
        if (NextChar(s, i) == Replacement && s.substr(start, i - start) != "\xEF\xBF\xBD")
            return false;
    }
    return true;
}

size_t Utf8Length(std::string_view s)
{
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++n)
        NextChar(s, i);
    return n;
}

std::string Utf8Copy(std::string_view s, size_t first, size_t count)
{
    const size_t b = CharOffset(s, first);
    const std::string_view rest = s.substr(b);
    return std::string(rest.substr(0, CharOffset(rest, count)));
}

std::string Utf8DropLast(std::string_view s, size_t count)
{
    const size_t n = Utf8Length(s);
    return Utf8Copy(s, 0, n > count ? n - count : 0);
}
