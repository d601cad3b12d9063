#pragma once
// Windows bitmap file images (BMP) over 32-bit pixels read as 0xAARRGGBB, top row first.
// The reader checks every length in the headers against the bytes present before it
// touches a pixel and takes uncompressed 1, 4, 8, 24 and 32 bits per pixel (32 also with
// colour masks, which read opaque); the writer stores 1, 4, 8 (palette from the pixels),
// 24 or 32 bits, bottom-up.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/SysUtils.h"

// A BMP image breaks the format; the message says where.
class EBmpError : public Exception {
public:
    using Exception::Exception;
};

constexpr int kMaxBmpSide = 32768;

struct TBmpImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    std::vector<uint32_t> Pixels;   // Width x Height, top row first
};

// The total size in the file header of the BMP image that starts bytes; raises when there
// is no "BM" or the size exceeds the bytes.
size_t BmpFileSize(std::string_view bytes);
// Decodes the image that fills bytes; more than maxPixels pixels are refused before decoding.
TBmpImage DecodeBmp(std::string_view bytes, int64_t maxPixels = int64_t{kMaxBmpSide} * kMaxBmpSide);
// Width x height pixels at 1, 4, 8, 24 or 32 bits; at 8 bits or fewer the pixels' colours
// make the palette and more colours than fit raise EBmpError.
std::string EncodeBmp(const uint32_t* pixels, int width, int height, int bits);
