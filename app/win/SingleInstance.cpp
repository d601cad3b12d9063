#include "app/win/SingleInstance.h"

#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"

const char* const InstanceMutexName = "Global\\ZOZ_OZED_EZEZO_Mutex";
const char* const AlreadyRunningText = "系统已经运行";

UniqueHandle CreateInstanceMutex(bool& alreadyRunning)
{
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    UniqueHandle mutex(CreateMutexA(&attributes, FALSE, InstanceMutexName));
    alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}

HWND FindRunningInstance()
{
    const std::string title = Application->Title();
    if (title.empty())
        return nullptr;
    // Only the application window of another copy: a folder window or any other window
    // showing the same text is no running instance.
    wchar_t className[256] = {};
    if (!GetClassNameW(Application->Handle(), className, 256))
        return nullptr;
    Application->SetTitle("OnlyOne" + IntToStr(reinterpret_cast<intptr_t>(GetModuleHandleW(nullptr))));
    HWND found = FindWindowW(className, Wide(title).c_str());
    Application->SetTitle(title);
    return found;
}
