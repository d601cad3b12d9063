#include "framework/win/FileDialogs.h"

#include "framework/win/Application.h"
#include "framework/win/WinUtil.h"

#include <commdlg.h>

namespace {
FileDialogService* gService = nullptr;
}

void SetFileDialogService(FileDialogService* service) { gService = service; }

bool FileDialogRecorder::Execute(TOpenDialog& dialog, bool save) {
    Calls.push_back({dialog.Title(), dialog.Filter(), dialog.InitialDir(), dialog.FileName(), save});
    if (Confirm) dialog.SetFileName(Answer);
    return Confirm;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TOpenDialog::SetFilter(const std::string& value) {
    size_t bars = 0;
    for (char c : value) bars += c == '|';
    if (!value.empty() && bars % 2 == 0)
        throw EInvalidOperation("File filter \"" + value + "\" must pair each text with a mask");
    FFilter = value;
}

class SystemFileDialogs {
public:
    // The filter's '|' become the NULs the system expects; the list ends with two NULs.
    static bool Execute(TOpenDialog& d, bool save) {
        std::wstring filter = Wide(d.FFilter);
        for (wchar_t& c : filter)
            if (c == L'|') c = L'\0';
        if (!filter.empty()) filter += std::wstring(2, L'\0');
        std::wstring title = Wide(d.FTitle), dir = Wide(d.FInitialDir), ext = Wide(d.FDefaultExt);
        std::wstring file = Wide(d.FFileName);
        file.resize(32768, L'\0');
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = GetActiveWindow() ? GetActiveWindow() : Application->Handle();
        ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        ofn.nFilterIndex = static_cast<DWORD>(d.FFilterIndex);
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                    (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
        // comdlg32 (and the print spooler it brings) loads with the first dialog; one that
        // cannot load is said, not taken for a cancel.
        auto* run = RequiredSystemProc<BOOL WINAPI(OPENFILENAMEW*)>(L"comdlg32.dll",
                                                                    save ? "GetSaveFileNameW" : "GetOpenFileNameW");
        if (!run(&ofn)) return false;
        d.FFileName = Narrow(file.c_str());
        d.FFilterIndex = static_cast<int>(ofn.nFilterIndex);
        return true;
    }
};

bool TOpenDialog::Execute() {
    if (gService) return gService->Execute(*this, IsSave());
    return SystemFileDialogs::Execute(*this, IsSave());
}
