#include "framework/win/WinUtil.h"

#include "framework/rtl/Encoding.h"

std::wstring Wide(std::string_view utf8) {
    std::u16string s = Utf8ToUtf16(utf8);
    return std::wstring(s.begin(), s.end());
}

std::string Narrow(std::wstring_view utf16) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

std::string SysErrorMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n ? Trim(Narrow(std::wstring_view(buffer, n))) : "";
    if (buffer) LocalFree(buffer);
    return text.empty() ? "error " + std::to_string(code) : text;
}

void RaiseLastOSError(std::string_view what) {
    DWORD code = GetLastError();
    throw EOSError(std::string(what) + " failed: " + SysErrorMessage(code), code);
}

std::string HwndText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring text(n + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, text.data(), n + 1));
    return Narrow(text);
}

RECT HwndClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

RECT HwndWindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

LONG_PTR HwndExStyle(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_EXSTYLE); }

// By the system folder's full path: LOAD_LIBRARY_SEARCH_SYSTEM32 is refused by a Windows 7
// without the loader update, which would leave every sound and file dialog dead there.
FARPROC SystemProc(const wchar_t* dll, const char* name) {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        wchar_t folder[MAX_PATH];
        const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return nullptr;
        module = LoadLibraryW((std::wstring(folder, n) + L"\\" + dll).c_str());
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

FARPROC RequiredSystemProc(const wchar_t* dll, const char* name) {
    SetLastError(ERROR_SUCCESS);
    if (FARPROC proc = SystemProc(dll, name)) return proc;
    const DWORD code = GetLastError() ? GetLastError() : ERROR_MOD_NOT_FOUND;
    throw EOSError(Narrow(dll) + " (" + name + ") cannot be loaded: " + SysErrorMessage(code), code);
}
