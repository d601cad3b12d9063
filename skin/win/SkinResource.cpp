#include "skin/win/SkinResource.h"

#include "framework/win/Application.h"
#include "framework/win/Forms.h"
#include "skin/core/SkCompressedStoredSkin.h"
#include "skin/core/SkinData.h"

bool LoadProgramSkin(TskCompressedStoredSkin& stored)
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, L"VORPENSKIN", MAKEINTRESOURCEW(10));   // RT_RCDATA
    if (!resource)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    stored.SetCompressedData({static_cast<const char*>(bytes), SizeofResource(module, resource)});
    return true;
}

void InstallSkinMessageBroadcast()
{
    TskSkinData::MessageSink() = [](TskSkinData* sender, unsigned message) {
        const auto wParam = reinterpret_cast<WPARAM>(sender);
        auto* owner = dynamic_cast<TForm*>(sender->Owner());
        if (owner)
            SendMessageW(owner->Handle(), message, wParam, 1000);
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (TForm* form = Screen->Forms(i); form != owner)
                SendMessageW(form->Handle(), message, wParam, 1000);
    };
}

TskResourceStrData* ProgramResourceStrings()
{
    static TskResourceStrData* strings = nullptr;
    if (strings)
        return strings;
    strings = new TskResourceStrData(Application);
    strings->CharSet = GB2312_CHARSET;
    const std::pair<const char*, const char*> texts[] = {
        {"MI_MINCAPTION", "最小化"},        {"MI_MAXCAPTION", "最大化"},        {"MI_CLOSECAPTION", "关闭"},
        {"MI_RESTORECAPTION", "还原"},      {"MI_MINTOTRAYCAPTION", "最小化到托盘"}, {"MI_ROLLUPCAPTION", "卷起"},
        {"MINBUTTON_HINT", "最小化"},       {"MAXBUTTON_HINT", "最大化"},       {"CLOSEBUTTON_HINT", "关闭"},
        {"TRAYBUTTON_HINT", "最小化到托盘"}, {"ROLLUPBUTTON_HINT", "卷起"},      {"MENUBUTTON_HINT", "系统菜单"},
        {"RESTORE_HINT", "还原"},
    };
    TStringList& lines = strings->ResStrings;
    for (const auto& [name, text] : texts) {
        const std::string key = std::string(name) + "=";
        int i = 0;
        while (i < lines.Count() && lines[i].compare(0, key.size(), key) != 0)
            ++i;
        if (i < lines.Count())
            lines[i] = key + text;
        else
            lines.Add(key + text);
    }
    return strings;
}
