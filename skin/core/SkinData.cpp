#include "skin/core/SkinData.h"

#include <algorithm>

#include "framework/rtl/Encoding.h"
#include "framework/rtl/IniFiles.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkPackedSkin.h"

namespace {

const TSkBitmap& NoPicture()
{
    static const TSkBitmap empty;
    return empty;
}

// Entries "0".. of a list section, as many as count says but no more than are present;
// a missing key adds nothing.
template <class F>
void ForEachEntry(const TMemIniFile& ini, const char* section, F f)
{
    const int count = ini.ReadInteger(section, "count", 0);
    TStringList keys;
    ini.ReadSection(section, keys);
    const int bounded = std::min(count, keys.Count());
    for (int i = 0; i < bounded; ++i) {
        const std::string key = std::to_string(i);
        if (!ini.ValueExists(section, key))
            continue;
        const std::string value = ini.ReadString(section, key, "");
        const size_t colon = value.find(':');
        if (colon == std::string::npos)
            f(std::string(), std::string(), value);
        else
            f(value.substr(0, colon), value.substr(colon + 1), value);
    }
}

}  // namespace

namespace {

// The built-in texts: menu captions, caption-button hints, the edit menu, message boxes,
// the file and font dialogs and the database texts.
const char* const kDefaultResStrings[] = {
    "MI_MINCAPTION=Mi&nimize", "MI_MAXCAPTION=Ma&ximize", "MI_CLOSECAPTION=&Close", "MI_RESTORECAPTION=&Restore",
    "MI_MINTOTRAYCAPTION=Minimize to &Tray", "MI_ROLLUPCAPTION=Ro&llUp",
    "MINBUTTON_HINT=Minimize", "MAXBUTTON_HINT=Maximize", "CLOSEBUTTON_HINT=Close", "TRAYBUTTON_HINT=Minimize to Tray",
    "ROLLUPBUTTON_HINT=Roll Up", "MENUBUTTON_HINT=System menu", "RESTORE_HINT=Restore",
    "EDIT_UNDO=&Undo", "EDIT_COPY=&Copy", "EDIT_CUT=Cu&t", "EDIT_PASTE=&Paste", "EDIT_DELETE=&Delete",
    "EDIT_SELECTALL=Select &All",
    "MSG_BTN_YES=&Yes", "MSG_BTN_NO=&No", "MSG_BTN_OK=OK", "MSG_BTN_CANCEL=Cancel", "MSG_BTN_ABORT=&Abort",
    "MSG_BTN_RETRY=&Retry", "MSG_BTN_IGNORE=&Ignore", "MSG_BTN_ALL=&All", "MSG_BTN_NOTOALL=N&o to All",
    "MSG_BTN_YESTOALL=Yes to &All", "MSG_BTN_HELP=&Help", "MSG_CAP_WARNING=Warning", "MSG_CAP_ERROR=Error",
    "MSG_CAP_INFORMATION=Information", "MSG_CAP_CONFIRM=Confirm", "MSG_CAP_QUESTION=Question",
    "FLV_NAME=Name", "FLV_SIZE=Size", "FLV_TYPE=Type", "FLV_LOOKIN=Look in:", "FLV_FILENAME=File name:",
    "FLV_FILETYPE=Files of type:", "FLV_NEWFOLDER=New folder", "FLV_OPEN=Open", "FLV_SAVE=Save", "FLV_CANCEL=Cancel",
    "FLV_DELETE=Delete", "FLV_RENAME=Rename", "FLV_DISK=Disk", "FLV_FOLDER=Folder", "FLV_MODIFIED=Modified",
    "FLV_ATTRIBUTES=Attributes", "FLV_UPFOLDER=Up one level",
    "FONTDLG_COLOR=Color:", "FONTDLG_NAME=Name:", "FONTDLG_SIZE=Size:", "FONTDLG_HEIGHT=Height:",
    "FONTDLG_EXAMPLE=Example", "FONTDLG_STYLE=Style", "FONTDLG_SCRIPT=Script:", "FONTDLG_BOLD=Bold",
    "FONTDLG_ITALIC=Italic", "FONTDLG_UNDERLINE=Underline", "FONTDLG_STRIKEOUT=StrikeOut",
    "DB_DELETE_QUESTION=Delete record?", "DB_MULTIPLEDELETE_QUESTION=Delete all selected records?",
    "DB_FIRST=First record", "DB_PRIOR=Prior record", "DB_NEXT=Next record", "DB_LAST=Last record",
    "DB_INSERT=Insert record", "DB_DELETE=Delete record", "DB_EDIT=Edit record", "DB_POST=Post edit",
    "DB_CANCEL=Cancel edit", "DB_REFRESH=Refresh data",
};

}  // namespace

TskResourceStrData::TskResourceStrData(TComponent* AOwner) : TComponent(AOwner)
{
    for (const char* line : kDefaultResStrings)
        ResStrings.Add(line);
}

std::string TskResourceStrData::GetResStr(const std::string& name) const
{
    for (int i = 0; i < ResStrings.Count(); ++i) {
        const std::string& line = ResStrings[i];
        const size_t eq = line.find('=');
        if (eq != std::string::npos && line.compare(0, eq, name) == 0)
            return line.substr(eq + 1);
    }
    return {};
}

TskSkinData::TskSkinData(TComponent* AOwner) : TComponent(AOwner) {}

TskSkinData::~TskSkinData()
{
    Empty = true;
    ClearSkin();
}

TskSkinData::TMessageSink& TskSkinData::MessageSink()
{
    static TMessageSink sink;
    return sink;
}

void TskSkinData::SetCompressedStoredSkin(TskCompressedStoredSkin* value)
{
    if (FCompressedStoredSkin)
        FCompressedStoredSkin->RemoveFreeNotification(this);
    FCompressedStoredSkin = value;
    if (value) {
        value->FreeNotification(this);
        LoadFromCompressedStoredSkin(*value);
    }
}

void TskSkinData::SetResourceStrData(TskResourceStrData* value)
{
    if (FResourceStrData)
        FResourceStrData->RemoveFreeNotification(this);
    FResourceStrData = value;
    if (value)
        value->FreeNotification(this);
    BroadcastSkinMessage(WMS_RESOURCETEXTSCHANGED);
}

void TskSkinData::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FCompressedStoredSkin)
        FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData)
        FResourceStrData = nullptr;
}

void TskSkinData::BroadcastSkinMessage(unsigned message)
{
    if (const TMessageSink& sink = MessageSink())
        sink(this, message);
}

const TSkBitmap& TskSkinData::FPicture() const { return FPacked ? FPacked->Picture : NoPicture(); }
const TSkBitmap& TskSkinData::FInActivePicture() const { return FPacked ? FPacked->InactivePicture : NoPicture(); }
const TSkBitmap& TskSkinData::FMask() const { return FPacked ? FPacked->Mask : NoPicture(); }
const TSkBitmap& TskSkinData::FRollUpPicture() const { return FPacked ? FPacked->RollUpPicture : NoPicture(); }
const TSkBitmap& TskSkinData::FRollUpMask() const { return FPacked ? FPacked->RollUpMask : NoPicture(); }

int TskSkinData::ActivePictureCount() const
{
    return FPacked ? static_cast<int>(FPacked->ActivePictures.size()) : 0;
}

const TSkBitmap* TskSkinData::ActivePicture(int index) const
{
    return FPacked ? FPacked->ActivePicture(index) : nullptr;
}

void TskSkinData::ClearSkinRecords()
{
    Areas.clear();
    ObjectList.clear();
    CtrlList.clear();
    PopupWindow.WindowPictureIndex = -1;
    HintWindow.WindowPictureIndex = -1;
    ActivePictureNames.clear();
}

void TskSkinData::ClearSkin()
{
    ClearSkinRecords();
    FPacked.reset();
    PictureName.clear();
    InActivePictureName.clear();
    MaskName.clear();
    RollUpPictureName.clear();
    RollUpMaskName.clear();
    PopupWindow = {};
    HintWindow = {};
    FormInfo = {};
    Empty = true;
}

void TskSkinData::LoadFromCompressedStoredSkin(const TskCompressedStoredSkin& stored)
{
    if (stored.IsEmpty())
        return;
    Empty = true;
    BroadcastSkinMessage(WMS_SKINCHANGING);
    ClearSkin();
    try {
        FPacked = SharedStoredSkin(stored.CompressedData());
        if (FPacked->Version > 3) {
            ClearSkin();
            return;
        }
        const TMemIniFile ini(GbkToUtf8(FPacked->IniText));
        ReadSkin(ini);
    } catch (const Exception&) {
        ClearSkin();
        return;
    }
    Empty = false;
    BroadcastSkinMessage(WMS_SKINCHANGED);
    BroadcastSkinMessage(WMS_SKINAPPLIED);
}

void TskSkinData::ReadSkin(const TMemIniFile& ini)
{
    SkinName = ini.ReadString("VERSION", "skinname", "");
    SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
    AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
    AuthorURL = ini.ReadString("VERSION", "authorurl", "");
    SkinComments = ini.ReadString("VERSION", "skincomments", "");
    PictureName = ini.ReadString("PICTURES", "picture", "");
    MaskName = ini.ReadString("PICTURES", "mask", "");
    RollUpPictureName = ini.ReadString("PICTURES", "rolluppicture", "");
    RollUpMaskName = ini.ReadString("PICTURES", "rollupmask", "");
    TStringList names;
    ReadSkinList(ini, "PICTURES", "activepictures", names);
    for (int i = 0; i < names.Count(); ++i)
        ActivePictureNames.push_back(names[i]);

    ReadFormInfo(ini);
    PopupWindow.LoadFromIni(ini);
    HintWindow.LoadFromIni(ini);
    ForEachEntry(ini, "SKINAREAS", [&](const std::string& name, const std::string& rect, const std::string&) {
        Areas.push_back({name, rect.empty() ? TRect{} : ClampSkinRect(ParseSkinRect(rect))});
    });
    ForEachEntry(ini, "SKINOBJECTS", [&](const std::string& name, const std::string& type, const std::string&) {
        if (auto record = CreateSkinObjectRecord(type, name)) {
            record->LoadFromIni(ini);
            ObjectList.push_back(std::move(record));
        }
    });
    ForEachEntry(ini, "SKINCONTROLS", [&](const std::string& name, const std::string& type, const std::string&) {
        if (auto record = CreateSkinControlRecord(type, name)) {
            record->LoadFromIni(ini);
            CtrlList.push_back(std::move(record));
        }
    });
}

void TskSkinData::ReadFormInfo(const TMemIniFile& ini)
{
    TSkinIniIo io(ini, "FORMINFO");
    TskSkinFormInfo& f = FormInfo;
    f.Exchange(io);
    const TRect& cr = f.ClRect;
    if (!MaskName.empty()) {
        TRect& m = f.MaskRectArea;
        if (m.Width() < 1 || m.Height() < 1)
            m = cr;
        else
            m = {std::min(m.Left, cr.Left), std::min(m.Top, cr.Top), std::max(m.Right, cr.Right),
                 std::max(m.Bottom, cr.Bottom)};
        auto fill = [](TPoint& hit, const TPoint& corner) {
            if (hit.X == 0 || hit.Y == 0)
                hit = corner;
        };
        fill(f.HitTestLTPoint, f.LTPoint);
        fill(f.HitTestRTPoint, f.RTPoint);
        fill(f.HitTestLBPoint, f.LBPoint);
        fill(f.HitTestRBPoint, f.RBPoint);
    }
    if (f.RBPoint.X != f.LTPoint.X && f.RBPoint.Y != f.LTPoint.Y) {
        f.LTPoint = {std::max(f.LTPoint.X, cr.Left), std::max(f.LTPoint.Y, cr.Top)};
        f.RTPoint = {std::min(f.RTPoint.X, cr.Right), std::max(f.RTPoint.Y, cr.Top)};
        f.LBPoint = {std::max(f.LBPoint.X, cr.Left), std::min(f.LBPoint.Y, cr.Bottom)};
        f.RBPoint = {std::min(f.RBPoint.X, cr.Right), std::min(f.RBPoint.Y, cr.Bottom)};
    }
}

int TskSkinData::IndexOfSkinArea(const std::string& name) const
{
    for (size_t i = 0; i < Areas.size(); ++i)
        if (Areas[i].IDName == name)
            return static_cast<int>(i);
    return -1;
}

int TskSkinData::IndexOfSkinObject(const std::string& name) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == name)
            return static_cast<int>(i);
    return -1;
}

int TskSkinData::IndexOfSkinControl(const std::string& name) const
{
    for (size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == name)
            return static_cast<int>(i);
    return -1;
}
