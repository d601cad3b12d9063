#include "framework/win/Sound.h"

#include "framework/win/WinUtil.h"

namespace {
SoundService* gService = nullptr;
}

void SetSoundService(SoundService* service) { gService = service; }

// An empty name means "no sound": it plays nothing, never the system's default sound.
bool SndPlaySound(const std::string& fileName, UINT flags) {
    if (fileName.empty()) return false;
    if (gService) return gService->Play(fileName, flags);
    // winmm loads with the first sound.
    auto* play = SystemProc<BOOL WINAPI(LPCWSTR, UINT)>(L"winmm.dll", "sndPlaySoundW");
    return play && play(Wide(fileName).c_str(), flags) != FALSE;
}
