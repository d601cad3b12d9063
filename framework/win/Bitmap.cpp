#include "framework/win/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "framework/rtl/FileUtils.h"
#include "framework/win/WinUtil.h"

namespace {

uint32_t Read32(std::string_view s, size_t at) {
    if (at + 4 > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated header");
    uint32_t v;
    std::memcpy(&v, s.data() + at, 4);
    return v;
}
uint16_t Read16(std::string_view s, size_t at) {
    if (at + 2 > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated header");
    uint16_t v;
    std::memcpy(&v, s.data() + at, 2);
    return v;
}
void Put32(std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }
void Put16(std::string& s, uint16_t v) { s.append(reinterpret_cast<const char*>(&v), 2); }

int BitsOf(TPixelFormat f) {
    static const int bits[] = {1, 4, 8, 24, 32};
    return bits[f];
}

}  // namespace

TBitmap::TBitmap() : FDC(nullptr) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() {
    FCanvas.reset();
    if (FOldBitmap) SelectObject(FDC.Get(), FOldBitmap);
}

void TBitmap::Allocate(int width, int height) {
    if (FCanvas) FCanvas->SetHandle(nullptr);
    if (FOldBitmap) SelectObject(FDC.Get(), FOldBitmap);
    FOldBitmap = nullptr;
    FBitmap.Reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;   // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp) RaiseLastOSError("CreateDIBSection");
    FBitmap.Reset(bmp);
    FBits = static_cast<uint32_t*>(bits);
    std::memset(FBits, 0, size_t(width) * height * 4);
    FWidth = width;
    FHeight = height;
    FOldBitmap = SelectObject(FDC.Get(), bmp);
    if (FCanvas) FCanvas->SetHandle(FDC.Get());
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight) return;
    GdiFlush();
    std::vector<uint32_t> old(FBits, FBits + size_t(FWidth) * FHeight);
    int oldW = FWidth, oldH = FHeight;
    Allocate(width, height);
    for (int y = 0; y < std::min(oldH, FHeight); ++y)
        std::copy_n(old.data() + size_t(y) * oldW, std::min(oldW, FWidth), FBits + size_t(y) * FWidth);
}

uint32_t* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= FHeight) throw EInvalidGraphic("Scan line index out of range (" + std::to_string(y) + ")");
    GdiFlush();
    return FBits + size_t(y) * FWidth;
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>();
        if (FBitmap) FCanvas->SetHandle(FDC.Get());
    }
    return *FCanvas;
}

TColor TBitmap::TransparentColor() {
    if (FTransparentColor != clDefault || Empty()) return FTransparentColor;
    uint32_t p = ScanLine(FHeight - 1)[0];
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

void TBitmap::LoadFromBytes(std::string_view s) {
    if (s.size() < 14 || s[0] != 'B' || s[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
    const uint32_t dataAt = Read32(s, 10);
    const uint32_t headerSize = Read32(s, 14);
    int width, height, bits;
    uint32_t compression = BI_RGB, colors = 0;
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (headerSize == 12) {
        width = Read16(s, 18);
        height = static_cast<int16_t>(Read16(s, 20));
        bits = Read16(s, 24);
    } else if (headerSize >= 40) {
        width = static_cast<int32_t>(Read32(s, 18));
        height = static_cast<int32_t>(Read32(s, 22));
        bits = Read16(s, 28);
        compression = Read32(s, 30);
        colors = Read32(s, 46);
        if (compression == BI_BITFIELDS)
            for (int i = 0; i < 3; ++i) masks[i] = Read32(s, headerSize >= 52 ? 54 + 4 * i : 14 + headerSize + 4 * i);
    } else {
        throw EInvalidGraphic("Bitmap image is not valid: unknown header");
    }
    const bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768)
        throw EInvalidGraphic("Bitmap image is not valid: bad size");
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 32 || bits == 16)))
        throw EInvalidGraphic("Bitmap compression is not supported");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw EInvalidGraphic("Bitmap bit count " + std::to_string(bits) + " is not supported");

    std::vector<uint32_t> palette;
    if (bits <= 8) {
        uint32_t n = colors ? std::min<uint32_t>(colors, 1u << bits) : 1u << bits;
        const size_t at = 14 + headerSize + (compression == BI_BITFIELDS && headerSize == 40 ? 12 : 0);
        const size_t entry = headerSize == 12 ? 3 : 4;
        for (uint32_t i = 0; i < n; ++i) {
            size_t p = at + i * entry;
            if (p + 3 > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated palette");
            palette.push_back(0xFF000000u | uint8_t(s[p]) | (uint8_t(s[p + 1]) << 8) | (uint32_t(uint8_t(s[p + 2])) << 16));
        }
    }
    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (dataAt + stride * height > s.size()) throw EInvalidGraphic("Bitmap image is not valid: truncated pixels");

    auto shiftOf = [](uint32_t mask) { int n = 0; while (mask && !(mask & 1)) { mask >>= 1; ++n; } return n; };
    Allocate(width, height);
    GdiFlush();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = reinterpret_cast<const uint8_t*>(s.data()) + dataAt + stride * (topDown ? y : height - 1 - y);
        uint32_t* out = FBits + size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            uint32_t px;
            if (bits == 32) {
                uint32_t v;
                std::memcpy(&v, row + 4 * x, 4);
                px = compression == BI_BITFIELDS
                         ? 0xFF000000u | (((v & masks[0]) >> shiftOf(masks[0])) & 0xFF) << 16 |
                               (((v & masks[1]) >> shiftOf(masks[1])) & 0xFF) << 8 | (((v & masks[2]) >> shiftOf(masks[2])) & 0xFF)
                         : v;
            } else if (bits == 24) {
                px = 0xFF000000u | row[3 * x] | (row[3 * x + 1] << 8) | (uint32_t(row[3 * x + 2]) << 16);
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                const uint32_t index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
                px = index < palette.size() ? palette[index] : 0xFF000000u;
            }
            out[x] = px;
        }
    }
    FPixelFormat = bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : bits == 24 ? pf24bit : pf32bit;
}

std::string TBitmap::SaveToBytes() {
    const int bits = BitsOf(FPixelFormat);
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint32_t> indexOf;
    if (bits <= 8) {
        for (int y = 0; y < FHeight; ++y)
            for (int x = 0; x < FWidth; ++x) {
                uint32_t c = ScanLine(y)[x] & 0xFFFFFF;
                if (indexOf.emplace(c, uint32_t(palette.size())).second) palette.push_back(c);
            }
        if (palette.size() > (1u << bits))
            throw EInvalidGraphic("Bitmap has " + std::to_string(palette.size()) + " colours, more than " +
                                  std::to_string(1u << bits) + " fit in " + std::to_string(bits) + " bits");
        palette.resize(size_t(1) << bits, 0);
    }
    const size_t stride = ((size_t(FWidth) * bits + 31) / 32) * 4;
    const uint32_t dataAt = 14 + 40 + uint32_t(palette.size()) * 4;
    std::string out;
    out += "BM";
    Put32(out, dataAt + uint32_t(stride * FHeight));
    Put32(out, 0);
    Put32(out, dataAt);
    Put32(out, 40);
    Put32(out, uint32_t(FWidth));
    Put32(out, uint32_t(FHeight));   // bottom-up, as every reader expects
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, BI_RGB);
    Put32(out, uint32_t(stride * FHeight));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, uint32_t(palette.size()));
    Put32(out, 0);
    for (uint32_t c : palette) Put32(out, c);
    for (int y = FHeight - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        const uint32_t* in = ScanLine(y);
        for (int x = 0; x < FWidth; ++x) {
            if (bits == 32) {
                std::memcpy(&row[4 * x], &in[x], 4);
            } else if (bits == 24) {
                row[3 * x] = char(in[x] & 0xFF);
                row[3 * x + 1] = char((in[x] >> 8) & 0xFF);
                row[3 * x + 2] = char((in[x] >> 16) & 0xFF);
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                row[x / perByte] = char(uint8_t(row[x / perByte]) | (indexOf[in[x] & 0xFFFFFF] << shift));
            }
        }
        out += row;
    }
    return out;
}

void TBitmap::LoadFromFile(std::string_view fileName) { LoadFromBytes(ReadFileBytes(fileName)); }

void TBitmap::SaveToFile(std::string_view fileName) { WriteFileBytes(fileName, SaveToBytes()); }

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    std::wstring w = Wide(name);
    HRSRC res = FindResourceW(instance, w.c_str(), MAKEINTRESOURCEW(2));   // RT_BITMAP
    if (!res) throw EInvalidGraphic("Bitmap resource " + name + " not found");
    const char* data = static_cast<const char*>(LockResource(LoadResource(instance, res)));
    const DWORD size = SizeofResource(instance, res);
    // A bitmap resource is a BMP file without its 14-byte file header.
    std::string file = "BM";
    Put32(file, 14 + size);
    Put32(file, 0);
    uint32_t headerSize = Read32(std::string_view(data, size), 0);
    uint16_t bits = Read16(std::string_view(data, size), headerSize == 12 ? 10 : 14);
    uint32_t colors = headerSize >= 40 ? Read32(std::string_view(data, size), 32) : 0;
    uint32_t paletteSize = bits <= 8 ? (colors ? colors : 1u << bits) * (headerSize == 12 ? 3 : 4) : 0;
    Put32(file, 14 + headerSize + paletteSize);
    file.append(data, size);
    LoadFromBytes(file);
}

void TBitmap::Assign(TBitmap& source) {
    if (&source == this) return;
    Allocate(source.FWidth, source.FHeight);
    if (!source.Empty()) {
        GdiFlush();
        std::copy_n(source.FBits, size_t(FWidth) * FHeight, FBits);
    }
    FPixelFormat = source.FPixelFormat;
    FTransparent = source.FTransparent;
    FTransparentColor = source.FTransparentColor;
}
