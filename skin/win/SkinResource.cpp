#include "skin/win/SkinResource.h"

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
