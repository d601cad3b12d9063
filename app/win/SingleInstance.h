#pragma once
// The two guards against a second running copy: the named mutex the start block claims
// (a null DACL, so every user's session may open it) and the title guard of the clock
// window's creation, which looks for another application window carrying this title.

#include <string>

#include "framework/win/Handles.h"

extern const char* const InstanceMutexName;   // "Global\ZOZ_OZED_EZEZO_Mutex"
extern const char* const AlreadyRunningText;   // "系统已经运行"

// Creates (or opens) the named mutex; alreadyRunning tells that it existed before.
UniqueHandle CreateInstanceMutex(bool& alreadyRunning);
// Another application window of this program's window class titled like the application,
// looked for while this application's own window carries "OnlyOne" and the module handle
// instead; nullptr when there is none or the application has no title.
HWND FindRunningInstance();
