#pragma once
// BMP streams as the packed skin holds them, read and written through the run-time
// library's checked BMP codec: the file header's total size delimits a stream, every
// length inside is checked before a pixel is touched, and the writer stores 24 bits, or
// 32 when a pixel is not opaque.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/rtl/BmpImage.h"
#include "framework/rtl/SysUtils.h"
#include "skin/core/SkBitmap.h"

// A stored skin or one of its bitmaps breaks the format; the message says where.
class ESkinFormatError : public Exception {
public:
    using Exception::Exception;
};

// Limit on the pixels of one decoded picture.
constexpr int64_t kMaxBmpPixels = int64_t{16} * 1024 * 1024;

// Reads the BMP stream that starts bytes; used is set to its total size. A picture of
// more than maxPixels pixels is refused before it is decoded. Raises ESkinFormatError.
TSkBitmap LoadBmpFromBytes(std::string_view bytes, size_t& used, int64_t maxPixels = kMaxBmpPixels);
std::string SaveBmpToBytes(const TSkBitmap& bitmap);
