#pragma once
// The packed skin: the inflated content of a stored skin. An int32 version (0 to 3 are
// read), the fixed pictures of that version (a flag byte each, a BMP stream after a
// flag of 0), an int32 count of active pictures and their BMP streams, and the skin INI
// text to the end. The reader trusts no length: a broken layout raises ESkinFormatError.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/core/SkBitmap.h"
#include "skin/core/SkBmp.h"

constexpr int kPackedSkinVersion = 2;   // what the packer writes
constexpr int kMaxPackedSkinVersion = 3;
// Limit on the pixels of all pictures of one skin together.
constexpr int64_t kMaxSkinPixels = int64_t{4} * 1024 * 1024;

struct TPackedSkin {
    int Version = kPackedSkinVersion;
    TSkBitmap Picture;
    TSkBitmap InactivePicture;
    TSkBitmap Mask;
    TSkBitmap RollUpPicture;
    TSkBitmap RollUpMask;
    std::vector<TSkBitmap> ActivePictures;
    std::string IniText;   // ANSI (GBK) text, lines ended by CR LF

    // The active picture at index, or nullptr for an index below 0 or past the list.
    const TSkBitmap* ActivePicture(int index) const;
};

// The fixed pictures a version carries, in stream order (none above version 3).
std::vector<TSkBitmap TPackedSkin::*> FixedPicturesOfVersion(int version);

// Reads a packed skin. A version above 3 gives a result with only Version set. The
// pictures together may hold at most maxPixels pixels.
TPackedSkin ReadPackedSkin(std::string_view data, int64_t maxPixels = kMaxSkinPixels);
// Writes the layout; an empty picture is stored as a flag of 1 with no stream.
std::string WritePackedSkin(const TPackedSkin& skin);

// Inflates stored skin data (a zlib stream) and reads its layout: what loading a stored
// skin does before the INI is parsed. Raises EZlibError or ESkinFormatError.
TPackedSkin UnpackStoredSkin(std::string_view compressed);
// The same, decoded once per process: every caller holding the same bytes gets the same
// read-only skin for as long as any of them keeps it.
std::shared_ptr<const TPackedSkin> SharedStoredSkin(std::string_view compressed);
