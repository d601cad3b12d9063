#include "skin/core/SkPackedSkin.h"

#include <cstring>
#include <utility>

#include "skin/core/spzlibcompress.h"

namespace {

constexpr size_t kMinBmpSize = 54;   // file and info headers

[[noreturn]] void Fail(const std::string& what)
{
    throw ESkinFormatError("Invalid stored skin: " + what);
}

class TReader {
public:
    TReader(std::string_view data, int64_t maxPixels) : FData(data), FPixelsLeft(maxPixels) {}
    size_t Left() const { return FData.size() - FAt; }
    int32_t Int32(const char* what)
    {
        if (Left() < 4)
            Fail(std::string("the data ends before the ") + what);
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(static_cast<unsigned char>(FData[FAt + i])) << (8 * i);
        FAt += 4;
        return static_cast<int32_t>(v);
    }
    unsigned char Byte(const char* what)
    {
        if (Left() < 1)
            Fail(std::string("the data ends before the ") + what);
        return static_cast<unsigned char>(FData[FAt++]);
    }
    TSkBitmap Bitmap(const std::string& what)
    {
        size_t used = 0;
        TSkBitmap bitmap;
        try {
            bitmap = LoadBmpFromBytes(FData.substr(FAt), used, FPixelsLeft);
        } catch (const ESkinFormatError& e) {
            Fail(what + ": " + e.Message());
        }
        FPixelsLeft -= static_cast<int64_t>(bitmap.Width()) * bitmap.Height();
        FAt += used;
        return bitmap;
    }
    std::string_view Rest() const { return FData.substr(FAt); }

private:
    std::string_view FData;
    int64_t FPixelsLeft;
    size_t FAt = 0;
};

const char* FixedPictureName(TSkBitmap TPackedSkin::*slot)
{
    if (slot == &TPackedSkin::Picture) return "picture";
    if (slot == &TPackedSkin::InactivePicture) return "inactivepicture";
    if (slot == &TPackedSkin::Mask) return "mask";
    if (slot == &TPackedSkin::RollUpPicture) return "rolluppicture";
    return "rollupmask";
}

void PutInt32(std::string& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}

}  // namespace

const TSkBitmap* TPackedSkin::ActivePicture(int index) const
{
    if (index < 0 || index >= static_cast<int>(ActivePictures.size()))
        return nullptr;
    return &ActivePictures[static_cast<size_t>(index)];
}

std::vector<TSkBitmap TPackedSkin::*> FixedPicturesOfVersion(int version)
{
    using S = TPackedSkin;
    if (version <= 0)
        return {&S::Picture, &S::Mask};
    switch (version) {
    case 1: return {&S::Picture, &S::Mask, &S::RollUpPicture, &S::RollUpMask};
    case 2: return {&S::Picture, &S::InactivePicture, &S::Mask, &S::RollUpPicture, &S::RollUpMask};
    case 3: return {&S::Picture, &S::InactivePicture, &S::Mask};
    default: return {};
    }
}

TPackedSkin ReadPackedSkin(std::string_view data, int64_t maxPixels)
{
    TReader in(data, maxPixels);
    TPackedSkin skin;
    skin.Version = in.Int32("version");
    if (skin.Version > kMaxPackedSkinVersion)
        return skin;
    for (auto slot : FixedPicturesOfVersion(skin.Version)) {
        const std::string name = FixedPictureName(slot);
        if (in.Byte(("flag of " + name).c_str()) == 0)
            skin.*slot = in.Bitmap(name);
    }
    const int32_t count = in.Int32("active picture count");
    if (count > 0 && static_cast<uint64_t>(count) > in.Left() / kMinBmpSize)
        Fail("an active picture count of " + std::to_string(count) + " does not fit in the " +
             std::to_string(in.Left()) + " bytes left");
    for (int32_t i = 0; i < count; ++i)
        skin.ActivePictures.push_back(in.Bitmap("active picture " + std::to_string(i)));
    skin.IniText = std::string(in.Rest());
    return skin;
}

std::string WritePackedSkin(const TPackedSkin& skin)
{
    std::string out;
    PutInt32(out, skin.Version);
    for (auto slot : FixedPicturesOfVersion(skin.Version)) {
        const TSkBitmap& picture = skin.*slot;
        out.push_back(picture.Empty() ? 1 : 0);
        if (!picture.Empty())
            out += SaveBmpToBytes(picture);
    }
    PutInt32(out, static_cast<int32_t>(skin.ActivePictures.size()));
    for (const TSkBitmap& picture : skin.ActivePictures)
        out += SaveBmpToBytes(picture);
    out += skin.IniText;
    return out;
}

TPackedSkin UnpackStoredSkin(std::string_view compressed)
{
    TMemoryStream source(compressed);
    TMemoryStream inflated;
    DecompressStream(inflated, source);
    return ReadPackedSkin(inflated.Bytes());
}

std::shared_ptr<const TPackedSkin> SharedStoredSkin(std::string_view compressed)
{
    // UI thread only, like every skin load; the entries are the distinct skins seen.
    static std::vector<std::pair<std::string, std::weak_ptr<const TPackedSkin>>> decoded;
    std::erase_if(decoded, [](const auto& entry) { return entry.second.expired(); });
    for (const auto& [bytes, skin] : decoded)
        if (bytes == compressed)
            if (auto held = skin.lock())
                return held;
    auto skin = std::make_shared<const TPackedSkin>(UnpackStoredSkin(compressed));
    decoded.emplace_back(std::string(compressed), skin);
    return skin;
}
