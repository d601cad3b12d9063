// The skin store's record classes: each names its keys once in Exchange, which reads
// or writes them; the types that nothing draws are tables of keys.
#include <algorithm>
#include <cstring>

#include "framework/rtl/IniFiles.h"
#include "skin/core/SkinData.h"

void TSkinIniIo::Rect(const char* key, TRect& value)
{
    if (FRead)
        value = ClampSkinRect(ReadSkinRect(*FRead, FSection, key));
    else
        WriteSkinRect(*FWrite, FSection, key, value);
}

void TSkinIniIo::Point(const char* key, TPoint& value)
{
    if (FRead)
        value = ClampSkinPoint(ReadSkinPoint(*FRead, FSection, key));
    else
        WriteSkinPoint(*FWrite, FSection, key, value);
}

void TSkinIniIo::Int(const char* key, int& value, int def)
{
    if (FRead)
        value = FRead->ReadInteger(FSection, key, def);
    else
        FWrite->WriteInteger(FSection, key, value);
}

void TSkinIniIo::Bool(const char* key, bool& value)
{
    if (FRead)
        value = ReadSkinBool(*FRead, FSection, key);
    else
        WriteSkinBool(*FWrite, FSection, key, value);
}

void TSkinIniIo::Style(const char* key, TSkFontStyles& value)
{
    if (FRead)
        value = ReadSkinFontStyles(*FRead, FSection, key);
    else
        WriteSkinFontStyles(*FWrite, FSection, key, value);
}

void TSkinIniIo::Align(const char* key, TSkAlignment& value)
{
    if (FRead)
        value = ReadSkinAlignment(*FRead, FSection, key);
    else
        WriteSkinAlignment(*FWrite, FSection, key, value);
}

void TSkinIniIo::String(const char* key, std::string& value, const char* def)
{
    if (FRead)
        value = FRead->ReadString(FSection, key, def);
    else
        FWrite->WriteString(FSection, key, value);
}

void TSkinIniIo::Strings(const char* key, std::vector<std::string>& value)
{
    TStringList lines;
    if (FRead) {
        ReadSkinStrings(*FRead, FSection, key, lines);
        value.clear();
        for (int i = 0; i < lines.Count(); ++i)
            value.push_back(lines[i]);
    } else {
        for (const std::string& line : value)
            lines.Add(line);
        WriteSkinStrings(*FWrite, FSection, key, lines);
    }
}

void TSkinIniIo::Morph(const char* key, TMorphKind& value)
{
    if (FRead)
        value = ReadMorphKind(*FRead, FSection, key);
    else
        WriteMorphKind(*FWrite, FSection, key, value);
}

void TSkinIniIo::Effect(const char* key, TImageEffect& value)
{
    int v = static_cast<int>(value);
    Enum(key, v, {{"iebrightness", 0}, {"iedarkness", 1}, {"iegrayscale", 2}, {"ienoise", 3}, {"iesplitblur", 4},
                  {"ieinvert", 5}},
         "iebrightness", 2, "iegrayscale");
    value = static_cast<TImageEffect>(v);
}

void TSkinIniIo::Command(const char* key, TskCommand& value)
{
    int v = value;
    Enum(key, v, {{"cmclose", 0}, {"cmmaximize", 1}, {"cmminimize", 2}, {"cmsysmenu", 3}, {"cmdefault", 4},
                  {"cmrollup", 5}},
         "cmdefault", 6, "cmminimizetotray");
    value = static_cast<TskCommand>(v);
}

void TSkinIniIo::Enum(const char* key, int& value, std::initializer_list<std::pair<const char*, int>> texts,
                      const char* defaultText, int other, const char* otherText)
{
    if (FRead) {
        const std::string text = FRead->ReadString(FSection, key, defaultText);
        value = other;
        for (const auto& [t, v] : texts)
            if (text == t)
                value = v;
        return;
    }
    const char* text = otherText;
    for (const auto& [t, v] : texts)
        if (value == v)
            text = t;
    FWrite->WriteString(FSection, key, text);
}

void TskSkinFont::Exchange(TSkinIniIo& io)
{
    io.String("fontname", Name, "Arial");
    io.Int("fontheight", Height, 14);
    io.Style("fontstyle", Style);
    io.Int("fontcolor", Color, 0);
}

// Controls.

void TskDataSkinControl::LoadFromIni(const TMemIniFile& ini)
{
    TSkinIniIo io(ini, IDName);
    Exchange(io);
}

void TskDataSkinControl::SaveToIni(TMemIniFile& ini)
{
    TSkinIniIo io(ini, IDName);
    Exchange(io);
}

void TskDataSkinControl::Exchange(TSkinIniIo& io)
{
    io.Int("pictureindex", PictureIndex, -1);
    io.Int("maskpictureindex", MaskPictureIndex, -1);
    io.Int("cursorindex", CursorIndex, -1);
    io.Rect("skinrect", SkinRect);
}

void TskDataSkinCustomControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinControl::Exchange(io);
    io.Point("lefttoppoint", LTPoint);
    io.Point("righttoppoint", RTPoint);
    io.Point("leftbottompoint", LBPoint);
    io.Point("rightbottompoint", RBPoint);
    io.Rect("clientrect", ClRect);
}

void TskDataSkinButtonControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinCustomControl::Exchange(io);
    Font.Exchange(io);
    io.Int("activefontcolor", ActiveFontColor, 0);
    io.Int("disabledfontcolor", DisabledFontColor, 0);
    io.Int("downfontcolor", DownFontColor, 0);
    io.Bool("morphing", Morphing);
    io.Morph("morphkind", MorphKind);
    io.Rect("activeskinrect", ActiveSkinRect);
    io.Rect("downskinrect", DownSkinRect);
    io.Rect("disabledskinrect", DisabledSkinRect);
}

void TskDataSkinMenuButtonControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinButtonControl::Exchange(io);
    io.Rect("trackbuttonrect", TrackButtonRect);
}

void TskDataSkinPanelControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinCustomControl::Exchange(io);
    io.Int("bgpictureindex", BGPictureIndex, -1);
    io.Rect("captionrect", CaptionRect);
    io.Align("alignment", Alignment);
    Font.Exchange(io);
    io.Rect("checkimagerect", CheckImageRect);
    io.Rect("uncheckimagerect", UnCheckImageRect);
}

// Objects.

void TskDataSkinObject::LoadFromIni(const TMemIniFile& ini)
{
    TSkinIniIo io(ini, IDName);
    Exchange(io);
}

void TskDataSkinObject::SaveToIni(TMemIniFile& ini)
{
    TSkinIniIo io(ini, IDName);
    Exchange(io);
}

void TskDataSkinObject::Exchange(TSkinIniIo& io)
{
    io.String("hint", Hint, "");
    io.Bool("rollup", RollUp);
    io.Int("activepictureindex", ActivePictureIndex, -1);
    io.Bool("skinrectinapicture", SkinRectInAPicture);
    io.Int("cursorindex", CursorIndex, -1);
    io.Rect("skinrect", SkinRect);
    io.Rect("activeskinrect", ActiveSkinRect);
    io.Rect("inactiveskinrect", InActiveSkinRect);
    io.Bool("morphing", Morphing);
    io.Morph("morphkind", MorphKind);
}

void TskDataSkinButton::Exchange(TSkinIniIo& io)
{
    TskDataSkinObject::Exchange(io);
    io.Rect("downrect", DownRect);
    io.Rect("disableskinrsect", DisableSkinRect);
    io.Int("groupindex", GroupIndex, -1);
}

void TskDataSkinStdButton::Exchange(TSkinIniIo& io)
{
    TskDataSkinButton::Exchange(io);
    io.Command("command", Command);
    io.Rect("restorerect", RestoreRect);
    io.Rect("restoreactiverect", RestoreActiveRect);
    io.Rect("restoredownrect", RestoreDownRect);
}

void TskDataSkinCaption::Exchange(TSkinIniIo& io)
{
    TskDataSkinObject::Exchange(io);
    io.Bool("defaultcaption", DefaultCaption);
    io.Rect("textrect", TextRct);
    Font.Exchange(io);
    io.Int("activefontcolor", ActiveFontColor, 0);
    io.Align("alignment", Alignment);
    io.Bool("shadow", Shadow);
    io.Int("shadowcolor", ShadowColor, 0);
    io.Int("activeshadowcolor", ActiveShadowColor, 0);
    io.Rect("framerect", FrameRect);
    io.Rect("activeframerect", ActiveFrameRect);
    io.Rect("frametextrect", FrameTextRect);
    io.Int("frameleftoffset", FrameLeftOffset, 0);
    io.Int("framerightoffset", FrameRightOffset, 0);
}

void TskDataSkinMenuItem::Exchange(TSkinIniIo& io)
{
    TskDataSkinObject::Exchange(io);
    io.Int("itemleftoffset", ItemLO, 0);
    io.Int("itemrightoffset", ItemRO, 0);
    io.Rect("dividerrect", DividerRect);
    io.Int("dividerleftoffset", DividerLO, 0);
    io.Int("dividerrightoffset", DividerRO, 0);
    io.Rect("textrect", TextRct);
    Font.Exchange(io);
    io.Int("activefontcolor", ActiveFontColor, 0);
    io.Int("unenabledfontcolor", UnEnabledFontColor, 0);
}

void TskDataUserObject::Exchange(TSkinIniIo& io)
{
    io.Bool("rollup", RollUp);
    io.Rect("skinrect", SkinRect);
    io.Int("cursorindex", CursorIndex, -1);
}

// Keyed records.

enum class TKeyKind { Rect, Point, Int, Bool, Style, Align, String, Strings, Morph, Command, Placement,
                      RegulatorKind, GaugeKind, FramesCount, Font, MorphOff };

struct TSkinKey {
    const char* Name;
    TKeyKind Kind;
    int Default = 0;
    const char* Text = "";
};

// Base: "control", "custom" (corner points and client rectangle), "frame" (framescount,
// framesplacement), "object", "userobject", or another type text of the same list.
struct TSkinRecordType {
    const char* Type;
    const char* ClassName;
    const char* Base;
    std::vector<TSkinKey> Keys;
};

namespace {

using K = TKeyKind;

TSkinKey R(const char* n) { return {n, K::Rect}; }
TSkinKey I(const char* n, int d = 0) { return {n, K::Int, d}; }
TSkinKey B(const char* n) { return {n, K::Bool}; }
TSkinKey S(const char* n, const char* d = "") { return {n, K::String, 0, d}; }
const TSkinKey kFont{"", K::Font};

const std::vector<TSkinRecordType>& ControlTypes()
{
    static const std::vector<TSkinRecordType> types = {
        {"expanel", "TskDataSkinExPanelControl", "custom",
         {R("rollhskinrect"), R("rollvskinrect"), I("rollleftoffset"), I("rollrightoffset"), I("rolltopoffset"),
          I("rollbottomoffset"), R("rollvcaptionrect"), R("rollhcaptionrect"), R("closebuttonrect"),
          R("closebuttonactiverect"), R("closebuttondownrect"), R("hrollbuttonrect"), R("hrollbuttonactiverect"),
          R("hrollbuttondownrect"), R("hrestorebuttonrect"), R("hrestorebuttonactiverect"),
          R("hrestorebuttondownrect"), R("vrollbuttonrect"), R("vrollbuttonactiverect"), R("vrollbuttondownrect"),
          R("vrestorebuttonrect"), R("vrestorebuttonactiverect"), R("vrestorebuttondownrect"), R("captionrect"),
          kFont}},
        {"checkradio", "TskDataSkinCheckRadioControl", "custom",
         {kFont, I("activefontcolor"), I("unenabledfontcolor"), I("framefontcolor"), B("morphing"),
          {"morphkind", K::Morph}, R("activeskinrect"), R("checkimagearea"), R("textarea"), R("checkimagerect"),
          R("uncheckimagerect"), R("activecheckimagerect"), R("activeuncheckimagerect"),
          R("unenabledcheckimagerect"), R("unenableduncheckimagerect")}},
        {"gauge", "TskDataSkinGaugeControl", "custom",
         {R("progressarea"), R("progressrect"), I("beginoffset"), I("endoffset"), B("vertical"), kFont}},
        {"splitter", "TskDataSkinSplitterControl", "custom", {}},
        {"trackbar", "TskDataSkinTrackBarControl", "custom",
         {R("trackarea"), R("buttonrect"), R("activebuttonrect"), B("vertical")}},
        {"label", "TskDataSkinLabelControl", "custom", {kFont}},
        {"stdlabel", "TskDataSkinStdLabelControl", "control", {kFont, I("activefontcolor", 16711680)}},
        {"bitlabel", "TskDataSkinBitLabelControl", "custom",
         {R("skintextrect"), I("symbolwidth"), I("symbolheight"), {"symbols", K::Strings}}},
        {"frameregulator", "TskDataSkinFrameRegulator", "frame", {{"kind", K::RegulatorKind}}},
        {"framegauge", "TskDataSkinFrameGauge", "frame", {}},
        {"animate", "TskDataSkinAnimateControl", "frame", {}},
        {"switch", "TskDataSkinSwitchControl", "frame", {}},
        {"updown", "TskDataSkinUpDownControl", "custom",
         {R("upbuttonrect"), R("activeupbuttonrect"), R("downupbuttonrect"), R("downbuttonrect"),
          R("activedownbuttonrect"), R("downdownbuttonrect")}},
        {"grid", "TskDataSkinGridControl", "control",
         {R("fixedcellrect"), R("selectcellrect"), R("focuscellrect"), I("fixedcellleftoffset"),
          I("fixedcellrightoffset"), R("fixedcelltextrect"), I("cellleftoffset"), I("cellrightoffset"),
          R("celltextrect"), I("linescolor"), I("bgcolor"), I("bgpictureindex", -1), kFont, I("selectfontcolor"),
          I("focusfontcolor"), S("fixedfontname", "Arial"), I("fixedfontheight", 14), {"fixedfontstyle", K::Style},
          I("fixedfontcolor")}},
        {"tab", "TskDataSkinTabControl", "control",
         {R("tabrect"), R("activetabrect"), R("focustabrect"), R("mouseintabrect"), R("clientrect"),
          I("bgpictureindex", -1), {"lefttoppoint", K::Point}, {"righttoppoint", K::Point},
          {"leftbottompoint", K::Point}, {"rightbottompoint", K::Point}, I("tableftoffset"), I("tabrightoffset"),
          R("tabsbgrect"), kFont, I("activefontcolor"), I("focusfontcolor"), I("mouseinfontcolor"), S("updown")}},
        {"mainmenubar", "TskDataSkinMainMenuBar", "control",
         {R("itemsrect"), S("menubaritem"), S("closebutton"), S("minbutton"), S("maxbutton"), S("sysmenubutton"),
          I("trackmarkcolor"), I("trackmarkactivecolor")}},
        {"controlbar", "TskDataSkinControlBar", "custom", {R("itemrect"), I("bgpictureindex", -1)}},
        {"edit", "TskDataSkinEditControl", "custom",
         {R("activeskinrect"), kFont, I("disabledfontcolor"), I("activefontcolor"), R("buttonrect"),
          R("activebuttonrect"), R("downbuttonrect"), R("unenabledbuttonrect")}},
        {"memo", "TskDataSkinMemoControl", "edit", {I("bgcolor"), I("activebgcolor")}},
        {"listbox", "TskDataSkinListBox", "custom",
         {R("itemrect"), R("activeitemrect"), R("focusitemrect"), I("itemleftoffset"), I("itemrightoffset"),
          R("itemtextrect"), kFont, I("activefontcolor"), I("focusfontcolor"), R("captionrect"),
          S("captionfontname", "Arial"), I("captionfontheight", 14), {"captionfontstyle", K::Style},
          I("captionfontcolor"), R("upbuttonrect"), R("activeupbuttonrect"), R("downupbuttonrect"),
          R("downbuttonrect"), R("activedownbuttonrect"), R("downdownbuttonrect"), R("checkbuttonrect"),
          R("activecheckbuttonrect"), R("downcheckbuttonrect"), S("vscrollbarname", "vscrollbar"),
          S("hscrollbarname", "hscrollbar"), S("bothhscrollbarname", "bothhscrollbar")}},
        {"checklistbox", "TskDataSkinCheckListBox", "listbox",
         {R("checkimagerect"), R("itemcheckrect"), R("uncheckimagerect")}},
        {"combobox", "TskDataSkinComboBox", "custom",
         {R("itemrect"), R("focusitemrect"), I("itemleftoffset"), I("itemrightoffset"), R("itemtextrect"), kFont,
          I("focusfontcolor"), S("listboxname"), R("buttonrect"), R("activebuttonrect"), R("downbuttonrect"),
          R("unenabledbuttonrect")}},
        {"scrollbar", "TskDataSkinScrollBarControl", "custom",
         {R("trackarea"), R("upbuttonrect"), R("activeupbuttonrect"), R("downupbuttonrect"), R("downbuttonrect"),
          R("activedownbuttonrect"), R("downdownbuttonrect"), R("thumbrect"), R("activethumbrect"),
          R("downthumbrect"), I("thumboffset1"), I("thumboffset2"), R("glyphrect"), R("activeglyphrect"),
          R("downglyphrect")}},
        {"spinedit", "TskDataSkinSpinEditControl", "custom",
         {R("activeskinrect"), kFont, I("activefontcolor"), I("disabledfontcolor"), R("upbuttonrect"),
          R("activeupbuttonrect"), R("downupbuttonrect"), R("downbuttonrect"), R("activedownbuttonrect"),
          R("downdownbuttonrect")}},
        {"scrollbox", "TskDataSkinScrollBoxControl", "custom", {I("bgpictureindex", -1)}},
        {"treeview", "TskDataSkinTreeView", "control", {kFont, I("bgcolor")}},
        {"listview", "TskDataSkinListView", "control", {kFont, I("bgcolor")}},
        {"richedit", "TskDataSkinRichEdit", "control", {kFont, I("bgcolor")}},
        {"slider", "TskDataSkinSlider", "control",
         {I("bgcolor"), R("hrulerrect"), R("hthumbrect"), R("vrulerrect"), R("vthumbrect"), I("edgesize"),
          I("pointscolor")}},
        {"bevel", "TskDataSkinBevel", "control", {I("lightcolor"), I("darkcolor")}},
    };
    return types;
}

const std::vector<TSkinRecordType>& ObjectTypes()
{
    static const std::vector<TSkinRecordType> types = {
        {"mainmenuitem", "TskDataSkinMainMenuItem", "object",
         {I("itemleftoffset"), I("itemrightoffset"), R("downrect"), R("textrect"), kFont, I("activefontcolor"),
          I("downfontcolor"), I("unenabledfontColor")}},
        {"mainmenubaritem", "TskDataSkinMainMenuBarItem", "mainmenuitem", {}},
        {"label", "TskDataSkinLabel", "object",
         {S("fontName", "Arial"), I("fontheight", 14), {"fontstyle", K::Style}, I("fontcolor"), I("activefontcolor"),
          {"alignment", K::Align}, S("textvalue")}},
        {"bitlabel", "TskDataSkinBitLabel", "object",
         {S("textvalue"), I("symbolwidth"), I("symbolheight"), {"symbols", K::Strings}}},
        {"trackbar", "TskDataSkinTrackBar", "object",
         {R("buttonrect"), R("activebuttonrect"), {"beginpoint", K::Point}, {"endpoint", K::Point}, I("minvalue"),
          I("maxvalue"), B("mousedownchangevalue")}},
        {"gauge", "TskDataSkinGauge", "object", {I("minvalue"), I("maxvalue"), {"kind", K::GaugeKind}}},
        {"framegauge", "TskDataSkinFrameGaugeObject", "object",
         {I("minvalue"), I("maxvalue"), I("countframes"), {"framesplacement", K::Placement}}},
        {"frameregulator", "TskDataSkinFrameRegulatorObject", "object",
         {I("minvalue"), I("maxvalue"), I("countframes"), {"framesplacement", K::Placement},
          {"kind", K::RegulatorKind}}},
        {"animate", "TskDataSkinAnimate", "object",
         {{"", K::MorphOff}, I("countframes", 1), B("cycle"), B("buttonstyle"), I("timerinterval", 50),
          {"command", K::Command}}},
        {"switch", "TskDataSkinSwitch", "object", {}},
    };
    return types;
}

const TSkinRecordType* FindType(const std::vector<TSkinRecordType>& types, const std::string& type)
{
    for (const TSkinRecordType& t : types)
        if (type == t.Type)
            return &t;
    return nullptr;
}

void SetValue(std::vector<std::pair<std::string, TSkinValue>>& values, const std::string& key, TSkinValue value)
{
    for (auto& [k, v] : values)
        if (k == key) {
            v = std::move(value);
            return;
        }
    values.emplace_back(key, std::move(value));
}

template <class T>
T ValueOr(const std::vector<std::pair<std::string, TSkinValue>>& values, const std::string& key, T def)
{
    for (const auto& [k, v] : values)
        if (k == key)
            if (const T* p = std::get_if<T>(&v))
                return *p;
    return def;
}

// A type whose chain of bases reaches the custom control.
bool OfCustomFamily(const std::vector<TSkinRecordType>& types, const TSkinRecordType& type)
{
    const TSkinRecordType* t = &type;
    for (size_t depth = 0; t && depth <= types.size(); ++depth) {
        if (std::strcmp(t->Base, "custom") == 0)
            return true;
        t = FindType(types, t->Base);
    }
    return false;
}

// Reads or writes the keys of one type (its parents' first) into values; customKeys false
// leaves the custom control's own keys to its record.
void ExchangeKeys(TSkinIniIo& io, const std::vector<TSkinRecordType>& types, const TSkinRecordType& type,
                  std::vector<std::pair<std::string, TSkinValue>>& values, bool* morphing, bool customKeys = true)
{
    if (const TSkinRecordType* parent = FindType(types, type.Base))
        ExchangeKeys(io, types, *parent, values, morphing, customKeys);
    auto exchange = [&](const TSkinKey& key) {
        const std::string name = key.Name;
        switch (key.Kind) {
        case K::Rect: { TRect v = ValueOr(values, name, TRect{}); io.Rect(key.Name, v); SetValue(values, name, v); break; }
        case K::Point: { TPoint v = ValueOr(values, name, TPoint{}); io.Point(key.Name, v); SetValue(values, name, v); break; }
        case K::Int: { int v = ValueOr(values, name, key.Default); io.Int(key.Name, v, key.Default); SetValue(values, name, v); break; }
        case K::Bool: { bool v = ValueOr(values, name, false); io.Bool(key.Name, v); SetValue(values, name, v); break; }
        case K::Style: { TSkFontStyles v = ValueOr(values, name, TSkFontStyles{}); io.Style(key.Name, v); SetValue(values, name, v); break; }
        case K::Align: { TSkAlignment v = ValueOr(values, name, TSkAlignment::taCenter); io.Align(key.Name, v); SetValue(values, name, v); break; }
        case K::String: { std::string v = ValueOr(values, name, std::string(key.Text)); io.String(key.Name, v, key.Text); SetValue(values, name, v); break; }
        case K::Strings: { auto v = ValueOr(values, name, std::vector<std::string>{}); io.Strings(key.Name, v); SetValue(values, name, v); break; }
        case K::Morph: { TMorphKind v = ValueOr(values, name, TMorphKind::mkDefault); io.Morph(key.Name, v); SetValue(values, name, v); break; }
        case K::Command: { TskCommand v = ValueOr(values, name, cmDefault); io.Command(key.Name, v); SetValue(values, name, v); break; }
        case K::Placement: {
            int v = ValueOr(values, name, 0);
            io.Enum(key.Name, v, {{"fphorizontal", 0}}, "fphorizontal", 1, "fpvertical");
            SetValue(values, name, v);
            break;
        }
        case K::RegulatorKind: {
            int v = ValueOr(values, name, 0);
            io.Enum(key.Name, v, {{"rkround", 0}, {"rkhorizontal", 2}}, "rkround", 1, "rkvertical");
            SetValue(values, name, v);
            break;
        }
        case K::GaugeKind: {
            int v = ValueOr(values, name, 0);
            io.Enum(key.Name, v, {{"gkhorizontal", 0}}, "gkhorizontal", 1, "gkvertical");
            SetValue(values, name, v);
            break;
        }
        case K::FramesCount: {
            int v = ValueOr(values, name, 1);
            io.Int(key.Name, v, 1);
            SetValue(values, name, std::max(v, 1));
            break;
        }
        case K::Font: break;
        case K::MorphOff: if (morphing) *morphing = false; break;
        }
    };
    if (customKeys && std::strcmp(type.Base, "custom") == 0) {
        for (const char* p : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"})
            exchange({p, K::Point});
        exchange(R("clientrect"));
    }
    if (std::strcmp(type.Base, "frame") == 0) {
        exchange({"framescount", K::FramesCount});
        exchange({"framesplacement", K::Placement});
    }
    for (const TSkinKey& key : type.Keys) {
        if (key.Kind == K::Font) {
            exchange(S("fontname", "Arial"));
            exchange(I("fontheight", 14));
            exchange({"fontstyle", K::Style});
            exchange(I("fontcolor"));
        } else {
            exchange(key);
        }
    }
}

const TSkinValue* FindValue(const std::vector<std::pair<std::string, TSkinValue>>& values, const std::string& key)
{
    for (const auto& [k, v] : values)
        if (k == key)
            return &v;
    return nullptr;
}

}  // namespace

const TSkinValue* TSkinKeyedValues::Value(const std::string& key) const { return FindValue(Values, key); }

TskDataSkinKeyedControl::TskDataSkinKeyedControl(std::string name, const TSkinRecordType& type)
    : TskDataSkinControl(std::move(name)), FType(type)
{
}

std::string TskDataSkinKeyedControl::ClassName() const { return FType.ClassName; }

void TskDataSkinKeyedControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinControl::Exchange(io);
    ExchangeKeys(io, ControlTypes(), FType, Values, nullptr);
}

TskDataSkinKeyedCustomControl::TskDataSkinKeyedCustomControl(std::string name, const TSkinRecordType& type)
    : TskDataSkinCustomControl(std::move(name)), FType(type)
{
}

std::string TskDataSkinKeyedCustomControl::ClassName() const { return FType.ClassName; }

void TskDataSkinKeyedCustomControl::Exchange(TSkinIniIo& io)
{
    TskDataSkinCustomControl::Exchange(io);   // the corner points and client rectangle
    ExchangeKeys(io, ControlTypes(), FType, Values, nullptr, false);
}

TskDataSkinKeyedObject::TskDataSkinKeyedObject(std::string name, const TSkinRecordType& type)
    : TskDataSkinObject(std::move(name)), FType(type)
{
}

std::string TskDataSkinKeyedObject::ClassName() const { return FType.ClassName; }

void TskDataSkinKeyedObject::Exchange(TSkinIniIo& io)
{
    TskDataSkinObject::Exchange(io);
    ExchangeKeys(io, ObjectTypes(), FType, Values, &Morphing);
}

std::unique_ptr<TskDataSkinControl> CreateSkinControlRecord(const std::string& type, const std::string& name)
{
    if (type == "button")
        return std::make_unique<TskDataSkinButtonControl>(name);
    if (type == "menubutton")
        return std::make_unique<TskDataSkinMenuButtonControl>(name);
    if (type == "panel")
        return std::make_unique<TskDataSkinPanelControl>(name);
    if (const TSkinRecordType* t = FindType(ControlTypes(), type)) {
        if (OfCustomFamily(ControlTypes(), *t))
            return std::make_unique<TskDataSkinKeyedCustomControl>(name, *t);
        return std::make_unique<TskDataSkinKeyedControl>(name, *t);
    }
    return nullptr;
}

std::unique_ptr<TskDataSkinObject> CreateSkinObjectRecord(const std::string& type, const std::string& name)
{
    if (type == "button")
        return std::make_unique<TskDataSkinButton>(name);
    if (type == "stdbutton")
        return std::make_unique<TskDataSkinStdButton>(name);
    if (type == "mainmenubarbutton")
        return std::make_unique<TskDataSkinMainMenuBarButton>(name);
    if (type == "caption")
        return std::make_unique<TskDataSkinCaption>(name);
    if (type == "menuitem")
        return std::make_unique<TskDataSkinMenuItem>(name);
    if (type == "userobject")
        return std::make_unique<TskDataUserObject>(name);
    if (const TSkinRecordType* t = FindType(ObjectTypes(), type))
        return std::make_unique<TskDataSkinKeyedObject>(name, *t);
    return nullptr;
}

// Popup and hint windows.

void TskDataSkinPopupWindow::Exchange(TSkinIniIo& io)
{
    io.Int("windowpictureindex", WindowPictureIndex, -1);
    io.Int("maskpictureindex", MaskPictureIndex, -1);
    io.Point("lefttoppoint", LTPoint);
    io.Point("righttoppoint", RTPoint);
    io.Point("leftbottompoint", LBPoint);
    io.Point("rightbottompoint", RBPoint);
    io.Int("cursorindex", CursorIndex, -1);
    io.Rect("itemsrect", ItemsRect);
    io.Int("scrollmarkercolor", ScrollMarkerColor, 0);
    io.Int("scrollmarkeractivecolor", ScrollMarkerActiveColor, 0);
    io.Bool("leftstretch", LeftStretch);
    io.Bool("rightstretch", RightStretch);
    io.Bool("topstretch", TopStretch);
    io.Bool("bottomstretch", BottomStretch);
}

void TskDataSkinPopupWindow::LoadFromIni(const TMemIniFile& ini)
{
    TSkinIniIo io(ini, "POPUPWINDOW");
    Exchange(io);
}

void TskDataSkinPopupWindow::SaveToIni(TMemIniFile& ini)
{
    TSkinIniIo io(ini, "POPUPWINDOW");
    Exchange(io);
}

void TskDataSkinHintWindow::Exchange(TSkinIniIo& io)
{
    io.Int("windowpictureindex", WindowPictureIndex, -1);
    io.Int("maskpictureindex", MaskPictureIndex, -1);
    io.Point("lefttoppoint", LTPoint);
    io.Point("righttoppoint", RTPoint);
    io.Point("leftbottompoint", LBPoint);
    io.Point("rightbottompoint", RBPoint);
    io.Rect("clientrect", ClRect);
    io.String("fontname", FontName, "Arial");
    io.Int("fontheight", FontHeight, 14);
    io.Style("fontstyle", FontStyle);
    io.Int("fontcolor", FontColor, 0);
    io.Bool("leftstretch", LeftStretch);
    io.Bool("rightstretch", RightStretch);
    io.Bool("topstretch", TopStretch);
    io.Bool("bottomstretch", BottomStretch);
}

void TskDataSkinHintWindow::LoadFromIni(const TMemIniFile& ini)
{
    TSkinIniIo io(ini, "HINTWINDOW");
    Exchange(io);
}

void TskDataSkinHintWindow::SaveToIni(TMemIniFile& ini)
{
    TSkinIniIo io(ini, "HINTWINDOW");
    Exchange(io);
}

void TskSkinFormInfo::Exchange(TSkinIniIo& io)
{
    io.Point("lefttoppoint", LTPoint);
    io.Point("righttoppoint", RTPoint);
    io.Point("leftbottompoint", LBPoint);
    io.Point("rightbottompoint", RBPoint);
    io.Rect("clientrect", ClRect);
    io.Int("bgpictureindex", BGPictureIndex, -1);
    io.Int("mdibgpictureindex", MDIBGPictureIndex, -1);
    io.Bool("leftstretch", LeftStretch);
    io.Bool("rightstretch", RightStretch);
    io.Bool("topstretch", TopStretch);
    io.Bool("bottomstretch", BottomStretch);
    io.Rect("buttonsrect", ButtonsRect);
    io.Rect("captionrect", CaptionRect);
    io.Int("buttonsoffset", ButtonsOffset, 0);
    io.Bool("buttonsinleft", ButtonsInLeft);
    io.Rect("maskrectarea", MaskRectArea);
    io.Point("hittestlefttoppoint", HitTestLTPoint);
    io.Point("hittestrighttoppoint", HitTestRTPoint);
    io.Point("hittestleftbottompoint", HitTestLBPoint);
    io.Point("hittestrightbottompoint", HitTestRBPoint);
    io.Point("rollupleftpoint", RollUpLeftPoint);
    io.Point("rolluprightpoint", RollUpRightPoint);
    io.Rect("mainmenurect", MainMenuRect);
    io.Rect("iconrect", IconRect);
    io.Bool("mainmenupopupup", MainMenuPopupUp);
    io.Int("borderwidth", BorderWidth, 0);
    io.Int("cursorindex", CursorIndex, -1);
    io.Bool("autorenderinginactiveimage", AutoRenderingInActiveImage);
    io.Effect("inactiveeffect", InActiveEffect);
}
