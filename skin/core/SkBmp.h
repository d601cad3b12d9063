#pragma once
// Windows bitmap file images (BMP streams) as the packed skin holds them: the reader
// checks every length in the headers against the bytes present before it touches a
// pixel, and accepts uncompressed 1, 4, 8, 24 and 32 bits per pixel (32 also with colour
// masks); the writer stores
// 24 bits, or 32 when a pixel is not opaque.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/rtl/SysUtils.h"
#include "skin/core/SkBitmap.h"
#include "framework/rtl/Streams.h"

// A stored skin or one of its bitmaps breaks the format; the message says where.
class ESkinFormatError : public Exception {
public:
    using Exception::Exception;
};

// Limits on one decoded picture.
constexpr int kMaxBmpSide = 32768;
constexpr int64_t kMaxBmpPixels = int64_t{16} * 1024 * 1024;

// Reads one BMP stream from the stream's position; the stream ends up just after it
// (the file header's total size). Raises ESkinFormatError.
TSkBitmap LoadBmpFromStream(TStream& stream);
// The same over bytes; used is set to the stream's total size. A picture of more than
// maxPixels pixels is refused before it is decoded.
TSkBitmap LoadBmpFromBytes(std::string_view bytes, size_t& used, int64_t maxPixels = kMaxBmpPixels);
void SaveBmpToStream(const TSkBitmap& bitmap, TStream& stream);
std::string SaveBmpToBytes(const TSkBitmap& bitmap);
