#include "tests/skin/fuzz/StoredSkinInput.h"

#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"

bool RunStoredSkinInput(std::string_view bytes)
{
    try {
        UnpackStoredSkin(bytes);
    } catch (const Exception&) {
    }
    try {
        TPackedSkin skin = ReadPackedSkin(bytes);
        if (skin.Version <= kMaxPackedSkinVersion && ReadPackedSkin(WritePackedSkin(skin)).IniText != skin.IniText)
            return false;
    } catch (const Exception&) {
    }
    TMemoryStream plain(bytes), packed, unpacked;
    CompressStream(plain, packed);
    DecompressStream(unpacked, packed);
    return unpacked.Bytes() == bytes;
}
