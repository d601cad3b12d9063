#include "tests/skin/fuzz/StoredSkinInput.h"

#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/SkinData.h"
#include "skin/core/spzlibcompress.h"

bool RunStoredSkinInput(std::string_view bytes)
{
    {
        // The whole store load catches every failure itself.
        TskCompressedStoredSkin stored;
        stored.SetCompressedData(bytes);
        TskSkinData store(nullptr);
        store.LoadFromCompressedStoredSkin(stored);
        if (store.Empty && (store.ActivePictureCount() != 0 || !store.ObjectList.empty() || !store.CtrlList.empty()))
            return false;   // an empty store holds nothing
    }
    try {
        UnpackStoredSkin(bytes);
    } catch (const Exception&) {
    }
    try {
        const TPackedSkin skin = ReadPackedSkin(bytes);
        if (skin.Version <= kMaxPackedSkinVersion) {
            const TPackedSkin back = ReadPackedSkin(WritePackedSkin(skin));
            for (auto slot : FixedPicturesOfVersion(skin.Version))
                if (back.*slot != skin.*slot)
                    return false;
            if (back.ActivePictures != skin.ActivePictures || back.IniText != skin.IniText)
                return false;
        }
    } catch (const Exception&) {
    }
    TMemoryStream plain(bytes), packed, unpacked;
    CompressStream(plain, packed);
    DecompressStream(unpacked, packed);
    return unpacked.Bytes() == bytes;
}
