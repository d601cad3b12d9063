#pragma once
// Sound playback through a seam: SndPlaySound plays a WAV file with sndPlaySoundW
// (flags 0 = synchronous, to the end). Tests install a SoundRecorder that records the
// files asked for and answers with a chosen result instead of playing. An empty file
// name plays nothing and returns false.

#include <string>
#include <vector>

#include "framework/win/WinApi.h"

class SoundService {
public:
    virtual ~SoundService() = default;
    virtual bool Play(const std::string& fileName, UINT flags) = 0;
};

void SetSoundService(SoundService* service);   // nullptr: the system's sndPlaySoundW

class SoundRecorder : public SoundService {
public:
    SoundRecorder() { SetSoundService(this); }
    ~SoundRecorder() override { SetSoundService(nullptr); }
    bool Play(const std::string& fileName, UINT flags) override {
        Played.push_back(fileName);
        (void)flags;
        return Result;
    }
    std::vector<std::string> Played;
    bool Result = true;
};

bool SndPlaySound(const std::string& fileName, UINT flags = 0);
