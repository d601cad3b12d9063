#include "framework/rtl/BmpImage.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint64_t kCoreHeaderSize = 12;   // the old 16-bit header, 3-byte palette entries
constexpr uint64_t kInfoHeaderSize = 40;
constexpr uint32_t kRgb = 0, kBitFields = 3;

[[noreturn]] void Fail(const std::string& what)
{
    throw EBmpError(what);
}

// Callers check the bounds first.
uint32_t U32(std::string_view b, uint64_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t U16(std::string_view b, uint64_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// The 8 bits of a channel: the masked value moved down to the mask's lowest bit.
uint32_t Channel(uint32_t value, uint32_t mask)
{
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    return ((value & mask) >> shift) & 255u;
}

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
void Put16(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 255));
    out.push_back(static_cast<char>(v >> 8));
}

}  // namespace

size_t BmpFileSize(std::string_view b)
{
    if (b.size() < kFileHeaderSize)
        Fail("the data ends inside the file header");
    if (b[0] != 'B' || b[1] != 'M')
        Fail("no \"BM\" signature");
    const uint64_t size = U32(b, 2);
    if (size > b.size())
        Fail("its size field (" + std::to_string(size) + ") exceeds the " + std::to_string(b.size()) + " bytes left");
    return static_cast<size_t>(size);
}

TBmpImage DecodeBmp(std::string_view b, int64_t maxPixels)
{
    if (b.size() < kFileHeaderSize + 4)
        Fail("the data ends inside the bitmap headers");
    if (b[0] != 'B' || b[1] != 'M')
        Fail("no \"BM\" signature");
    const uint64_t total = b.size();
    const uint64_t offBits = U32(b, 10);
    const uint64_t infoSize = U32(b, 14);
    const bool core = infoSize == kCoreHeaderSize;
    if ((!core && infoSize < kInfoHeaderSize) || kFileHeaderSize + infoSize > total)
        Fail("bad header size " + std::to_string(infoSize));
    const int64_t width = core ? U16(b, 18) : static_cast<int32_t>(U32(b, 18));
    const int64_t rawHeight = core ? static_cast<int16_t>(U16(b, 20)) : static_cast<int32_t>(U32(b, 22));
    const uint16_t planes = U16(b, core ? 22 : 26);
    const uint16_t bits = U16(b, core ? 24 : 28);
    const uint32_t compression = core ? kRgb : U32(b, 30);
    const uint64_t colorsUsed = core ? 0 : U32(b, 46);
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -rawHeight : rawHeight;
    if (planes != 1)
        Fail("planes must be 1");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        Fail("unsupported bit depth " + std::to_string(bits));
    const bool bitfields = compression == kBitFields && bits == 32;
    if (compression != kRgb && !bitfields)
        Fail("compressed bitmaps are not supported");
    if (width < 0 || width > kMaxBmpSide || height > kMaxBmpSide || width * height > maxPixels)
        Fail("bad size " + std::to_string(width) + "x" + std::to_string(height));

    // Colour masks of a bit-field bitmap sit in a long header or right after a short one.
    uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    uint64_t paletteAt = kFileHeaderSize + infoSize;
    if (bitfields) {
        const uint64_t maskAt = infoSize >= 52 ? kFileHeaderSize + kInfoHeaderSize : paletteAt;
        if (infoSize < 52)
            paletteAt += 12;
        if (paletteAt > total)
            Fail("the colour masks lie outside the bitmap");
        for (int i = 0; i < 3; ++i)
            if ((masks[i] = U32(b, maskAt + 4 * static_cast<uint64_t>(i))) == 0)
                Fail("a colour mask is 0");
    }
    const uint64_t entrySize = core ? 3 : 4;
    uint64_t paletteCount = 0;
    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        paletteCount = colorsUsed != 0 ? colorsUsed : most;
        if (paletteCount > most)
            Fail("palette of " + std::to_string(paletteCount) + " colours for " + std::to_string(bits) + " bits");
    }
    if (offBits < paletteAt + paletteCount * entrySize || offBits > total)
        Fail("pixel offset " + std::to_string(offBits) + " outside the bitmap");
    const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(height) > total - offBits)
        Fail("the pixel rows need more bytes than the bitmap holds");

    uint32_t palette[256] = {};
    for (uint64_t i = 0; i < paletteCount; ++i)
        palette[i] = 0xFF000000u | (U32(b, paletteAt + i * entrySize) & 0x00FFFFFFu);

    TBmpImage image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.BitCount = bits;
    image.Pixels.resize(static_cast<size_t>(width * height));
    for (int64_t row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const unsigned char*>(b.data() + offBits + stride * static_cast<uint64_t>(row));
        uint32_t* dst = image.Pixels.data() + (topDown ? row : height - 1 - row) * width;
        for (int64_t x = 0; x < width; ++x) {
            switch (bits) {
            case 32: {
                const uint32_t v = uint32_t{src[x * 4]} | uint32_t{src[x * 4 + 1]} << 8 |
                                   uint32_t{src[x * 4 + 2]} << 16 | uint32_t{src[x * 4 + 3]} << 24;
                dst[x] = bitfields ? 0xFF000000u | Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 |
                                         Channel(v, masks[2])
                                   : v;
                break;
            }
            case 24:
                dst[x] = 0xFF000000u | uint32_t{src[x * 3 + 2]} << 16 | uint32_t{src[x * 3 + 1]} << 8 | src[x * 3];
                break;
            default: {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (1 + static_cast<int>(x % perByte));
                const unsigned index = (src[x / perByte] >> shift) & ((1u << bits) - 1);
                dst[x] = index < paletteCount ? palette[index] : 0xFF000000u;
            }
            }
        }
    }
    return image;
}

std::string EncodeBmp(const uint32_t* pixels, int width, int height, int bits)
{
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        Fail("unsupported bit depth " + std::to_string(bits));
    const size_t w = static_cast<size_t>(std::max(width, 0)), h = static_cast<size_t>(std::max(height, 0));
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint32_t> indexOf;
    if (bits <= 8) {
        for (size_t i = 0; i < w * h; ++i)
            if (indexOf.emplace(pixels[i] & 0xFFFFFFu, static_cast<uint32_t>(palette.size())).second)
                palette.push_back(pixels[i] & 0xFFFFFFu);
        if (palette.size() > (size_t{1} << bits))
            Fail("Bitmap has " + std::to_string(palette.size()) + " colours, more than " +
                 std::to_string(1u << bits) + " fit in " + std::to_string(bits) + " bits");
        palette.resize(size_t{1} << bits, 0);
    }
    const size_t stride = ((w * static_cast<size_t>(bits) + 31) / 32) * 4;
    const auto offBits = static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + palette.size() * 4);
    std::string out;
    out.reserve(offBits + stride * h);
    out += "BM";
    Put32(out, offBits + static_cast<uint32_t>(stride * h));
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, static_cast<uint32_t>(kInfoHeaderSize));
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));   // bottom-up, as every reader expects
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bits));
    Put32(out, kRgb);
    Put32(out, static_cast<uint32_t>(stride * h));
    Put32(out, 2835);   // 72 dpi
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    for (uint32_t c : palette)
        Put32(out, c);
    for (size_t y = h; y-- > 0;) {
        std::string row(stride, '\0');
        const uint32_t* in = pixels + y * w;
        for (size_t x = 0; x < w; ++x) {
            if (bits >= 24) {
                for (int c = 0; c < bits / 8; ++c)
                    row[x * static_cast<size_t>(bits / 8) + static_cast<size_t>(c)] = static_cast<char>((in[x] >> (8 * c)) & 255);
            } else {
                const size_t perByte = static_cast<size_t>(8 / bits);
                const int shift = 8 - bits * static_cast<int>(x % perByte + 1);
                row[x / perByte] = static_cast<char>(static_cast<unsigned char>(row[x / perByte]) |
                                                     indexOf[in[x] & 0xFFFFFFu] << shift);
            }
        }
        out += row;
    }
    return out;
}
