#pragma once
// The one include of <windows.h> for the framework and everything built on it. Several
// Win32 names are macros that would rename our members (Canvas.DrawText, TextOut,
// MessageBox, GetObject...). They are #undef'd here, so include this header instead of
// <windows.h> and call the W function by its full name (DrawTextW, MessageBoxW).

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#undef CreateWindow
#undef DrawText
#undef GetMessage
#undef GetObject
#undef LoadBitmap
#undef LoadIcon
#undef MessageBox
#undef PlaySound
#undef PostMessage
#undef SendMessage
#undef TextOut
