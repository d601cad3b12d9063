#pragma once
// Free helpers for one-off Win32 work: UTF-8 <-> UTF-16 at the W calls, the text of a
// Win32 error, raising EOSError for a failed call, and Hwnd* queries of a window.

#include <string>
#include <string_view>

#include "framework/rtl/SysUtils.h"
#include "framework/win/WinApi.h"

// A Win32 call failed; the message carries the call and the system's text.
class EOSError : public Exception {
public:
    EOSError(std::string message, DWORD code) : Exception(std::move(message)), ErrorCode(code) {}
    DWORD ErrorCode;
};

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
std::string SysErrorMessage(DWORD code);
[[noreturn]] void RaiseLastOSError(std::string_view what);

std::string HwndText(HWND hwnd);
RECT HwndClientRect(HWND hwnd);
RECT HwndWindowRect(HWND hwnd);
LONG_PTR HwndExStyle(HWND hwnd);

// A procedure of a system DLL that the program loads on first use rather than at start
// (its start-up cost is paid only by what needs it); null when the DLL or the procedure
// is missing.
FARPROC SystemProc(const wchar_t* dll, const char* name);
template <class F>
F* SystemProc(const wchar_t* dll, const char* name)
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(SystemProc(dll, name)));
}
// The same for what the user asked for and must hear about: raises EOSError naming the DLL
// and the procedure when either is missing.
FARPROC RequiredSystemProc(const wchar_t* dll, const char* name);
template <class F>
F* RequiredSystemProc(const wchar_t* dll, const char* name)
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(RequiredSystemProc(dll, name)));
}
