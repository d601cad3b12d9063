#include "framework/win/Sound.h"

#include "framework/win/WinUtil.h"

namespace {
SoundService* gService = nullptr;
}

void SetSoundService(SoundService* service) { gService = service; }

bool SndPlaySound(const std::string& fileName, UINT flags) {
    if (gService) return gService->Play(fileName, flags);
    return sndPlaySoundW(Wide(fileName).c_str(), flags) != FALSE;
}
