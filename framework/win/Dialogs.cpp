#include "framework/win/Dialogs.h"

#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"

namespace {
MessageBoxService* gService = nullptr;
}

void SetMessageBoxService(MessageBoxService* service) { gService = service; }

int MessageBoxRecorder::Show(HWND, const std::string& text, const std::string& caption, UINT flags) {
    Calls.push_back({text, caption, flags});
    return (flags & 0xF) == MB_OK ? IDOK : Answer;
}

int MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = GetActiveWindow();
    if (!owner) owner = Application->Handle();
    if (gService) return gService->Show(owner, text, caption, flags);
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

void ShowMessage(const std::string& text) { MessageBox(text, Application->Title(), MB_OK); }

bool AskYesNo(const std::string& text) { return MessageBox(text, "询问", MB_YESNO | MB_ICONQUESTION) == IDYES; }
