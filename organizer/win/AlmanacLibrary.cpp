#include "organizer/win/AlmanacLibrary.h"

#include "almanac/core/Almanac.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/FileUtils.h"
#include "framework/win/WinUtil.h"

TAlmanacLibrary::~TAlmanacLibrary() {
    if (FModule)
        FreeLibrary(FModule);
}

bool TAlmanacLibrary::Load(std::string& message) {
    if (FOutPut)
        return true;
    if (!FileExists(FFileName)) {
        message = "找不到黄历库 Almanac.dll（" + FFileName + "），无法查询黄历。";
        return false;
    }
    // No system error box for a damaged file: the window says what went wrong.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FModule = LoadLibraryExW(Wide(FFileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!FModule) {
        message = "黄历库 Almanac.dll 无法加载：" + SysErrorMessage(error);
        return false;
    }
    FOutPut = reinterpret_cast<TAlmanacOutPut>(reinterpret_cast<void*>(GetProcAddress(FModule, "AlmanacOutPut")));
    if (!FOutPut) {
        FreeLibrary(FModule);
        FModule = nullptr;
        message = "黄历库 Almanac.dll 已损坏（缺少 AlmanacOutPut），无法查询黄历。";
        return false;
    }
    return true;
}

bool TAlmanacLibrary::Query(int year, int month, int day, std::string& text) {
    if (!Load(text))
        return false;
    const char* answer = FOutPut(AlmanacAuthorisation, year, month, day);
    if (!answer) {
        text = "黄历库没有给出 " + std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
               " 的黄历。";
        return false;
    }
    text = GbkToUtf8(answer);   // copied at once: the buffer belongs to the library
    return true;
}
