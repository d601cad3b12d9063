#include "app/win/SystemDateFormats.h"

#include "framework/win/WinUtil.h"

void SetSystemDateFormats()
{
    if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"))
        RaiseLastOSError("SetLocaleInfo (short date)");
    if (!SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, "H:mm:ss"))
        RaiseLastOSError("SetLocaleInfo (time format)");
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_ABORTIFHUNG, 10, &result);
}
