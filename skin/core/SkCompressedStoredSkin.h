#pragma once
// TskCompressedStoredSkin: a skin kept as one zlib stream (the "CompressedData" of a
// window description), with the producers that pack a SKIN.INI and its bitmaps or read a
// compressed skin file (int32 version, int32 length, the zlib stream). No length read
// from a file is trusted; the running program only unpacks.

#include <string>
#include <string_view>

#include "framework/base/Component.h"
#include "framework/rtl/Streams.h"

class TMemIniFile;

class TskCompressedStoredSkin : public TComponent {
public:
    explicit TskCompressedStoredSkin(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

    const std::string& Description() const { return FDescription; }
    void SetDescription(std::string value) { FDescription = std::move(value); }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string value) { FFileName = std::move(value); }
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(std::string value) { FCompressedFileName = std::move(value); }

    // The "CompressedData" property: read whole, written whole.
    const std::string& CompressedData() const { return FCompressedData.Bytes(); }
    void SetCompressedData(std::string_view bytes);

    bool IsEmpty() const { return FCompressedData.Bytes().empty(); }
    // Inflates the whole compressed data into target (appending); the caller seeks it to 0.
    void UnpackSkinStream(TMemoryStream& target) const;
    // Rebuilds the compressed data from a SKIN.INI and the bitmaps it names; an INI
    // without the required sections leaves the data as it was.
    void PackSkinFromIni(const std::string& path);
    // Reads a compressed skin file; a version above 3 leaves the data empty.
    void LoadCompressedSkinFile(const std::string& path);

private:
    std::string FDescription;
    std::string FFileName;
    std::string FCompressedFileName;
    TMemoryStream FCompressedData;
};

// VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS are all present.
bool CheckSkinIniSections(const TMemIniFile& ini);
