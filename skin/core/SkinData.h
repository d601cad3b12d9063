#pragma once
// TskSkinData: the skin store. It turns a stored skin into pictures and typed records
// (areas, skin objects, control skins, the popup-menu and hint windows and the form
// frame values of FORMINFO) and tells every form when a skin loads. Records read and
// write their own INI section through one key list (Exchange), so loading and saving
// name each key once. Types that no part of the program draws are kept by a table of
// their keys (TskDataSkinKeyedControl, TskDataSkinKeyedObject).

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "framework/base/Component.h"
#include "framework/rtl/Classes.h"
#include "skin/core/SkBitmap.h"
#include "skin/core/SkIniValues.h"

class TMemIniFile;
class TskCompressedStoredSkin;
struct TPackedSkin;

// Skin messages, sent synchronously with wParam = the store and lParam = 1000.
constexpr unsigned WMS_SKINCHANGING = 1225;
constexpr unsigned WMS_SKINCHANGED = 1226;
constexpr unsigned WMS_SKINAPPLIED = 1227;
constexpr unsigned WMS_RESOURCETEXTSCHANGED = 1274;

enum TskCommand { cmClose, cmMaximize, cmMinimize, cmSysMenu, cmDefault, cmRollUp, cmMinimizeToTray };

// Reads (or writes) the keys of one section in the order a record names them.
class TSkinIniIo {
public:
    TSkinIniIo(const TMemIniFile& ini, std::string section) : FRead(&ini), FSection(std::move(section)) {}
    TSkinIniIo(TMemIniFile& ini, std::string section) : FWrite(&ini), FSection(std::move(section)) {}

    void Rect(const char* key, TRect& value);
    void Point(const char* key, TPoint& value);
    void Int(const char* key, int& value, int def);
    void Bool(const char* key, bool& value);
    void Style(const char* key, TSkFontStyles& value);
    void Align(const char* key, TSkAlignment& value);
    void String(const char* key, std::string& value, const char* def);
    void Strings(const char* key, std::vector<std::string>& value);
    void Morph(const char* key, TMorphKind& value);
    void Effect(const char* key, TImageEffect& value);
    void Command(const char* key, TskCommand& value);
    // An enumeration: texts[i] gives values[i]; any other text gives other (written as otherText).
    void Enum(const char* key, int& value, std::initializer_list<std::pair<const char*, int>> texts,
              const char* defaultText, int other, const char* otherText);

private:
    const TMemIniFile* FRead = nullptr;
    TMemIniFile* FWrite = nullptr;
    std::string FSection;
};

// Font keys shared by many records: fontname, fontheight, fontstyle, fontcolor.
struct TskSkinFont {
    std::string Name = "Arial";
    int Height = 14;
    TSkFontStyles Style;
    int Color = 0;
    void Exchange(TSkinIniIo& io);
};

class TskDataSkinControl {
public:
    explicit TskDataSkinControl(std::string name) : IDName(std::move(name)) {}
    virtual ~TskDataSkinControl() = default;
    void LoadFromIni(const TMemIniFile& ini);
    void SaveToIni(TMemIniFile& ini);
    virtual std::string ClassName() const { return "TskDataSkinControl"; }

    std::string IDName;
    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    int CursorIndex = -1;
    TRect SkinRect;

protected:
    virtual void Exchange(TSkinIniIo& io);
};

class TskDataSkinCustomControl : public TskDataSkinControl {
public:
    using TskDataSkinControl::TskDataSkinControl;
    std::string ClassName() const override { return "TskDataSkinCustomControl"; }
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinButtonControl : public TskDataSkinCustomControl {
public:
    using TskDataSkinCustomControl::TskDataSkinCustomControl;
    std::string ClassName() const override { return "TskDataSkinButtonControl"; }
    TskSkinFont Font;
    int ActiveFontColor = 0, DisabledFontColor = 0, DownFontColor = 0;
    bool Morphing = false;
    TMorphKind MorphKind = TMorphKind::mkDefault;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinMenuButtonControl : public TskDataSkinButtonControl {
public:
    using TskDataSkinButtonControl::TskDataSkinButtonControl;
    std::string ClassName() const override { return "TskDataSkinMenuButtonControl"; }
    TRect TrackButtonRect;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinPanelControl : public TskDataSkinCustomControl {
public:
    using TskDataSkinCustomControl::TskDataSkinCustomControl;
    std::string ClassName() const override { return "TskDataSkinPanelControl"; }
    int BGPictureIndex = -1;
    TRect CaptionRect;
    TSkAlignment Alignment = TSkAlignment::taCenter;
    TskSkinFont Font;
    TRect CheckImageRect, UnCheckImageRect;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinObject {
public:
    explicit TskDataSkinObject(std::string name) : IDName(std::move(name)) {}
    virtual ~TskDataSkinObject() = default;
    void LoadFromIni(const TMemIniFile& ini);
    void SaveToIni(TMemIniFile& ini);
    virtual std::string ClassName() const { return "TskDataSkinObject"; }

    std::string IDName;
    std::string Hint;
    bool RollUp = false;
    int ActivePictureIndex = -1;
    bool SkinRectInAPicture = false;
    int CursorIndex = -1;
    TRect SkinRect, ActiveSkinRect, InActiveSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = TMorphKind::mkDefault;

protected:
    virtual void Exchange(TSkinIniIo& io);
};

class TskDataSkinButton : public TskDataSkinObject {
public:
    using TskDataSkinObject::TskDataSkinObject;
    std::string ClassName() const override { return "TskDataSkinButton"; }
    TRect DownRect, DisableSkinRect;
    int GroupIndex = -1;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinStdButton : public TskDataSkinButton {
public:
    using TskDataSkinButton::TskDataSkinButton;
    std::string ClassName() const override { return "TskDataSkinStdButton"; }
    TskCommand Command = cmDefault;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinMainMenuBarButton : public TskDataSkinStdButton {
public:
    using TskDataSkinStdButton::TskDataSkinStdButton;
    std::string ClassName() const override { return "TskDataSkinMainMenuBarButton"; }
};

class TskDataSkinCaption : public TskDataSkinObject {
public:
    using TskDataSkinObject::TskDataSkinObject;
    std::string ClassName() const override { return "TskDataSkinCaption"; }
    bool DefaultCaption = false;
    TRect TextRct;
    TskSkinFont Font;
    int ActiveFontColor = 0;
    TSkAlignment Alignment = TSkAlignment::taCenter;
    bool Shadow = false;
    int ShadowColor = 0, ActiveShadowColor = 0;
    TRect FrameRect, ActiveFrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataSkinMenuItem : public TskDataSkinObject {
public:
    using TskDataSkinObject::TskDataSkinObject;
    std::string ClassName() const override { return "TskDataSkinMenuItem"; }
    int ItemLO = 0, ItemRO = 0;
    TRect DividerRect;
    int DividerLO = 0, DividerRO = 0;
    TRect TextRct;
    TskSkinFont Font;
    int ActiveFontColor = 0, UnEnabledFontColor = 0;

protected:
    void Exchange(TSkinIniIo& io) override;
};

class TskDataUserObject : public TskDataSkinObject {
public:
    using TskDataSkinObject::TskDataSkinObject;
    std::string ClassName() const override { return "TskDataUserObject"; }

protected:
    void Exchange(TSkinIniIo& io) override;
};

// One value of a keyed record.
using TSkinValue = std::variant<int, bool, std::string, TRect, TPoint, TSkFontStyles, TSkAlignment, TMorphKind,
                                TskCommand, std::vector<std::string>>;
struct TSkinRecordType;   // the key table of one type text

// The values of a record of a type that is only read and kept, by key in reading order.
class TSkinKeyedValues {
public:
    virtual ~TSkinKeyedValues() = default;
    const TSkinValue* Value(const std::string& key) const;
    std::vector<std::pair<std::string, TSkinValue>> Values;
};

// Records of the control types that are only read and kept.
class TskDataSkinKeyedControl : public TskDataSkinControl, public TSkinKeyedValues {
public:
    TskDataSkinKeyedControl(std::string name, const TSkinRecordType& type);
    std::string ClassName() const override;

protected:
    void Exchange(TSkinIniIo& io) override;

private:
    const TSkinRecordType& FType;
};

// The same for the types of the custom-control family: their corner points and client
// rectangle are the custom control's, so a skinned control sizes itself by them.
class TskDataSkinKeyedCustomControl : public TskDataSkinCustomControl, public TSkinKeyedValues {
public:
    TskDataSkinKeyedCustomControl(std::string name, const TSkinRecordType& type);
    std::string ClassName() const override;

protected:
    void Exchange(TSkinIniIo& io) override;

private:
    const TSkinRecordType& FType;
};

class TskDataSkinKeyedObject : public TskDataSkinObject, public TSkinKeyedValues {
public:
    TskDataSkinKeyedObject(std::string name, const TSkinRecordType& type);
    std::string ClassName() const override;

protected:
    void Exchange(TSkinIniIo& io) override;

private:
    const TSkinRecordType& FType;
};

// The record of a SKINCONTROLS (SKINOBJECTS) entry's type text, or nullptr for a type
// the store does not know (the entry is skipped).
std::unique_ptr<TskDataSkinControl> CreateSkinControlRecord(const std::string& type, const std::string& name);
std::unique_ptr<TskDataSkinObject> CreateSkinObjectRecord(const std::string& type, const std::string& name);

struct TskDataSkinArea {
    std::string IDName;
    TRect AreaRect;
};

class TskDataSkinPopupWindow {
public:
    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int CursorIndex = -1;
    TRect ItemsRect;
    int ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    void LoadFromIni(const TMemIniFile& ini);
    void SaveToIni(TMemIniFile& ini);

private:
    void Exchange(TSkinIniIo& io);
};

class TskDataSkinHintWindow {
public:
    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    std::string FontName = "Arial";
    int FontHeight = 12;   // 14 once read
    TSkFontStyles FontStyle;
    int FontColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    void LoadFromIni(const TMemIniFile& ini);
    void SaveToIni(TMemIniFile& ini);

private:
    void Exchange(TSkinIniIo& io);
};

// The form-frame values of FORMINFO, in reading order.
struct TskSkinFormInfo {
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    int BGPictureIndex = -1;
    int MDIBGPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    TRect ButtonsRect, CaptionRect;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    TRect MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TPoint RollUpLeftPoint, RollUpRightPoint;
    TRect MainMenuRect, IconRect;
    bool MainMenuPopupUp = false;
    int BorderWidth = 0;
    int CursorIndex = -1;
    bool AutoRenderingInActiveImage = false;
    TImageEffect InActiveEffect = TImageEffect::ieBrightness;
    void Exchange(TSkinIniIo& io);
};

class TskResourceStrData : public TComponent {
public:
    explicit TskResourceStrData(TComponent* AOwner);
    TStringList ResStrings;
    int CharSet = 1;
    // The text after the first "=" of the line named name, or empty.
    std::string GetResStr(const std::string& name) const;
};

class TskSkinData : public TComponent {
public:
    explicit TskSkinData(TComponent* AOwner);
    ~TskSkinData() override;

    // Where the store's messages go: the Win32 layer sends them to the owner form and to
    // every form of the screen; tests record them. Called with the store and the message.
    using TMessageSink = std::function<void(TskSkinData* sender, unsigned message)>;
    static TMessageSink& MessageSink();

    TskCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TskCompressedStoredSkin* value);
    TskResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TskResourceStrData* value);

    bool Empty = true;
    // The screen cursor number of the skin's first cursor.
    static constexpr int StartCursorIndex = 1;
    // The screen cursor number of a record's cursorindex: 0 (the default cursor) for none,
    // and for an index whose number would not fit in an int.
    static int CursorNumber(int cursorIndex)
    {
        return cursorIndex >= 0 && cursorIndex <= INT_MAX - StartCursorIndex ? StartCursorIndex + cursorIndex : 0;
    }

    // Loads a stored skin. A skin that cannot be read (inflating, layout, bitmaps or INI
    // values) leaves the store cleared and Empty and sends nothing after WMS_SKINCHANGING.
    void LoadFromCompressedStoredSkin(const TskCompressedStoredSkin& stored);
    void ClearSkinRecords();
    void ClearSkin();
    void BroadcastSkinMessage(unsigned message);

    // Pictures: empty when the skin has none.
    const TSkBitmap& FPicture() const;
    const TSkBitmap& FInActivePicture() const;
    const TSkBitmap& FMask() const;
    const TSkBitmap& FRollUpPicture() const;
    const TSkBitmap& FRollUpMask() const;
    int ActivePictureCount() const;
    // The active picture at index, or nullptr below 0 or past the list.
    const TSkBitmap* ActivePicture(int index) const;

    std::string PictureName, InActivePictureName, MaskName, RollUpPictureName, RollUpMaskName;
    std::vector<std::string> ActivePictureNames;
    std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;

    std::vector<TskDataSkinArea> Areas;
    std::vector<std::unique_ptr<TskDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TskDataSkinControl>> CtrlList;
    TskDataSkinPopupWindow PopupWindow;
    TskDataSkinHintWindow HintWindow;
    TskSkinFormInfo FormInfo;

    int IndexOfSkinArea(const std::string& name) const;
    int IndexOfSkinObject(const std::string& name) const;
    int IndexOfSkinControl(const std::string& name) const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ReadSkin(const TMemIniFile& ini);
    void ReadFormInfo(const TMemIniFile& ini);

    TskCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TskResourceStrData* FResourceStrData = nullptr;
    std::shared_ptr<const TPackedSkin> FPacked;
};
