#include "skin/core/SkCompressedStoredSkin.h"

#include "framework/rtl/Classes.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/IniFiles.h"
#include "skin/core/SkIniValues.h"
#include "skin/core/SkPackedSkin.h"
#include "skin/core/spzlibcompress.h"

namespace {

TSkBitmap LoadBitmapFile(const std::string& path)
{
    const std::string bytes = ReadFileBytes(path);
    size_t used = 0;
    try {
        return LoadBmpFromBytes(bytes, used);
    } catch (const ESkinFormatError& e) {
        throw ESkinFormatError(path + ": " + e.Message());
    }
}

}  // namespace

bool CheckSkinIniSections(const TMemIniFile& ini)
{
    for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
        if (!ini.SectionExists(section))
            return false;
    return true;
}

void TskCompressedStoredSkin::SetCompressedData(std::string_view bytes)
{
    FCompressedData.Clear();
    FCompressedData.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TskCompressedStoredSkin::UnpackSkinStream(TMemoryStream& target) const
{
    TMemoryStream source(FCompressedData.Bytes());
    DecompressStream(target, source);
}

void TskCompressedStoredSkin::PackSkinFromIni(const std::string& path)
{
    const std::string text = ReadFileBytes(path);
    const TMemIniFile ini(text);
    if (!CheckSkinIniSections(ini))
        return;
    const std::string folder = ExtractFilePath(path);
    auto load = [&](const std::string& name) { return name.empty() ? TSkBitmap() : LoadBitmapFile(folder + name); };

    TPackedSkin skin;
    skin.Version = kPackedSkinVersion;
    skin.Picture = load(ini.ReadString("PICTURES", "picture", ""));
    skin.InactivePicture = load(ini.ReadString("PICTURES", "inactivepicture", ""));
    skin.Mask = load(ini.ReadString("PICTURES", "mask", ""));
    skin.RollUpPicture = load(ini.ReadString("PICTURES", "rolluppicture", ""));
    skin.RollUpMask = load(ini.ReadString("PICTURES", "rollupmask", ""));
    TStringList names;
    ReadSkinList(ini, "PICTURES", "activepictures", names);
    for (const std::string& name : names)
        skin.ActivePictures.push_back(LoadBitmapFile(folder + name));
    TStringList lines;
    lines.SetText(text);
    skin.IniText = lines.Text();

    // Everything is read before the old data is replaced, so a failure loses nothing.
    TMemoryStream packed(WritePackedSkin(skin));
    TMemoryStream compressed;
    CompressStream(packed, compressed);
    FCompressedData = std::move(compressed);
}

void TskCompressedStoredSkin::LoadCompressedSkinFile(const std::string& path)
{
    const std::string file = ReadFileBytes(path);
    auto int32At = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(static_cast<unsigned char>(file[at + i])) << (8 * i);
        return static_cast<int32_t>(v);
    };
    auto fail = [&](const std::string& what) {
        throw ESkinFormatError("Invalid compressed skin file " + path + ": " + what);
    };
    if (file.size() < 4)
        fail("it is too short");
    if (int32At(0) > kMaxPackedSkinVersion) {
        FCompressedData.Clear();
        return;
    }
    if (file.size() < 8)
        fail("it is too short");
    const int32_t length = int32At(4);
    if (length < 0 || static_cast<size_t>(length) > file.size() - 8)
        fail("its length field (" + std::to_string(length) + ") does not match the " +
             std::to_string(file.size() - 8) + " bytes that follow");
    SetCompressedData(std::string_view(file).substr(8, static_cast<size_t>(length)));
}
