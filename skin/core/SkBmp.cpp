#include "skin/core/SkBmp.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

uint32_t U32(std::string_view b, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t U16(std::string_view b, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

constexpr uint32_t kBitFields = 3;

// The 8 bits of a channel: the masked value moved down to the mask's lowest bit.
int Channel(uint32_t value, uint32_t mask)
{
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    return static_cast<int>(((value & mask) >> shift) & 255u);
}

[[noreturn]] void Fail(const std::string& what)
{
    throw ESkinFormatError("Invalid bitmap in the skin: " + what);
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

TSkBitmap LoadBmpFromBytes(std::string_view b, size_t& used, int64_t maxPixels)
{
    if (b.size() < kFileHeaderSize + kInfoHeaderSize)
        Fail("the data ends inside the bitmap headers");
    if (b[0] != 'B' || b[1] != 'M')
        Fail("no \"BM\" signature");
    const uint64_t fileSize = U32(b, 2);
    const uint64_t offBits = U32(b, 10);
    if (fileSize > b.size())
        Fail("its size field (" + std::to_string(fileSize) + ") exceeds the " + std::to_string(b.size()) +
             " bytes left");
    const uint64_t infoSize = U32(b, 14);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > fileSize)
        Fail("bad header size " + std::to_string(infoSize));
    const int64_t width = static_cast<int32_t>(U32(b, 18));
    const int64_t rawHeight = static_cast<int32_t>(U32(b, 22));
    const uint16_t planes = U16(b, 26);
    const uint16_t bits = U16(b, 28);
    const uint32_t compression = U32(b, 30);
    const uint64_t colorsUsed = U32(b, 46);
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -rawHeight : rawHeight;
    if (planes != 1)
        Fail("planes must be 1");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        Fail("unsupported bit depth " + std::to_string(bits));
    const bool bitfields = compression == kBitFields && bits == 32;
    if (compression != 0 && !bitfields)
        Fail("compressed bitmaps are not supported");
    if (width < 0 || width > kMaxBmpSide || height > kMaxBmpSide || width * height > std::min(kMaxBmpPixels, maxPixels))
        Fail("bad size " + std::to_string(width) + "x" + std::to_string(height));

    // Colour masks of a bit-field bitmap sit in a long header or right after a short one.
    uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    uint64_t paletteAt = kFileHeaderSize + infoSize;
    if (bitfields) {
        const uint64_t maskAt = infoSize >= 52 ? kFileHeaderSize + kInfoHeaderSize : paletteAt;
        if (infoSize < 52)
            paletteAt += 12;
        if (paletteAt > fileSize)
            Fail("the colour masks lie outside the bitmap");
        for (int i = 0; i < 3; ++i)
            if ((masks[i] = U32(b, static_cast<size_t>(maskAt) + 4 * static_cast<size_t>(i))) == 0)
                Fail("a colour mask is 0");
    }
    uint64_t paletteCount = 0;
    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        paletteCount = colorsUsed != 0 ? colorsUsed : most;
        if (paletteCount > most)
            Fail("palette of " + std::to_string(paletteCount) + " colours for " + std::to_string(bits) + " bits");
    }
    if (offBits < paletteAt + paletteCount * 4 || offBits > fileSize)
        Fail("pixel offset " + std::to_string(offBits) + " outside the bitmap");
    const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    if (stride * static_cast<uint64_t>(height) > fileSize - offBits)
        Fail("the pixel rows need more bytes than the bitmap holds");

    TSkPixel palette[256] = {};
    for (uint64_t i = 0; i < paletteCount; ++i)
        palette[i] = kSkOpaque | (U32(b, static_cast<size_t>(paletteAt + i * 4)) & 0x00FFFFFFu);

    TSkBitmap bitmap(static_cast<int>(width), static_cast<int>(height));
    for (int64_t row = 0; row < height && width > 0; ++row) {
        const auto* src = reinterpret_cast<const unsigned char*>(b.data() + offBits + stride * static_cast<uint64_t>(row));
        TSkPixel* dst = bitmap.Row(static_cast<int>(topDown ? row : height - 1 - row));
        for (int64_t x = 0; x < width; ++x) {
            switch (bits) {
            case 32: {
                const uint32_t v = U32(std::string_view(reinterpret_cast<const char*>(src + x * 4), 4), 0);
                dst[x] = bitfields ? SkRgb(Channel(v, masks[0]), Channel(v, masks[1]), Channel(v, masks[2])) : v;
                break;
            }
            case 24:
                dst[x] = SkRgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
                break;
            default: {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (1 + static_cast<int>(x % perByte));
                const unsigned index = (src[x / perByte] >> shift) & ((1u << bits) - 1);
                dst[x] = index < paletteCount ? palette[index] : kSkOpaque;
            }
            }
        }
    }
    used = static_cast<size_t>(fileSize);
    return bitmap;
}

TSkBitmap LoadBmpFromStream(TStream& stream)
{
    const int64_t start = stream.Position();
    const int64_t left = stream.Size() - start;
    if (left < kFileHeaderSize + kInfoHeaderSize)
        Fail("the data ends inside the bitmap headers");
    std::string header(kFileHeaderSize, '\0');
    stream.ReadBuffer(header.data(), kFileHeaderSize);
    const int64_t fileSize = U32(header, 2);
    if (header[0] != 'B' || header[1] != 'M')
        Fail("no \"BM\" signature");
    if (fileSize > left)
        Fail("its size field (" + std::to_string(fileSize) + ") exceeds the " + std::to_string(left) + " bytes left");
    std::string bytes = header;
    bytes.resize(static_cast<size_t>(std::max<int64_t>(fileSize, kFileHeaderSize)));
    stream.ReadBuffer(bytes.data() + kFileHeaderSize, static_cast<int64_t>(bytes.size()) - kFileHeaderSize);
    size_t used = 0;
    TSkBitmap bitmap = LoadBmpFromBytes(bytes, used);
    stream.SetPosition(start + static_cast<int64_t>(used));
    return bitmap;
}

std::string SaveBmpToBytes(const TSkBitmap& bitmap)
{
    bool alpha = false;
    for (TSkPixel p : bitmap.Pixels())
        alpha = alpha || (p & kSkOpaque) != kSkOpaque;
    const uint32_t bits = alpha ? 32 : 24;
    const uint32_t w = static_cast<uint32_t>(bitmap.Width()), h = static_cast<uint32_t>(bitmap.Height());
    const uint32_t stride = ((w * bits + 31) / 32) * 4;
    const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize;
    std::string out;
    out.reserve(offBits + stride * h);
    out += "BM";
    Put32(out, offBits + stride * h);
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, kInfoHeaderSize);
    Put32(out, w);
    Put32(out, h);   // bottom-up, as most writers store it
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bits));
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    for (uint32_t row = h; row-- > 0;) {
        const size_t rowStart = out.size();
        for (uint32_t x = 0; x < w; ++x) {
            const TSkPixel p = bitmap.Pixel(static_cast<int>(x), static_cast<int>(row));
            out.push_back(static_cast<char>(p & 255));
            out.push_back(static_cast<char>((p >> 8) & 255));
            out.push_back(static_cast<char>((p >> 16) & 255));
            if (alpha)
                out.push_back(static_cast<char>(p >> 24));
        }
        out.resize(rowStart + stride, '\0');
    }
    return out;
}

void SaveBmpToStream(const TSkBitmap& bitmap, TStream& stream)
{
    const std::string bytes = SaveBmpToBytes(bitmap);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}
