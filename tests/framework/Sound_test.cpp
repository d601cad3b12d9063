#include "framework/win/Sound.h"
#include "framework/win/WinUtil.h"

#include <gtest/gtest.h>

TEST(Sound, PlaysThroughTheInstalledService)
{
    SoundRecorder recorder;
    recorder.Result = false;
    EXPECT_FALSE(SndPlaySound("C:\\sounds\\提醒.wav"));
    ASSERT_EQ(recorder.Played.size(), 1u);
    EXPECT_EQ(recorder.Played[0], "C:\\sounds\\提醒.wav");
}

TEST(Sound, EmptyNamePlaysNothing)
{
    SoundRecorder recorder;
    EXPECT_FALSE(SndPlaySound(""));
    EXPECT_TRUE(recorder.Played.empty());
}

// The sound and file-dialog DLLs load on first use, from the system folder only.
TEST(SystemProc, FindsProceduresOfSystemDllsOnly)
{
    struct Case { const wchar_t* Dll; const char* Name; bool Found; };
    const Case cases[] = {{L"winmm.dll", "sndPlaySoundW", true},
                          {L"comdlg32.dll", "GetOpenFileNameW", true},
                          {L"comdlg32.dll", "GetSaveFileNameW", true},
                          {L"winmm.dll", "NoSuchProcedure", false},
                          {L"vorpen_no_such.dll", "sndPlaySoundW", false}};
    for (const Case& c : cases)
        EXPECT_EQ(SystemProc(c.Dll, c.Name) != nullptr, c.Found) << c.Name;
}

// What the user asked for (a file dialog) says which DLL or procedure is missing instead of
// acting as if nothing had been asked.
TEST(SystemProc, RequiredOneNamesWhatIsMissing)
{
    EXPECT_NE(RequiredSystemProc(L"comdlg32.dll", "GetOpenFileNameW"), nullptr);
    struct Case { const wchar_t* Dll; const char* Name; const char* Said; };
    const Case cases[] = {{L"vorpen_no_such.dll", "GetOpenFileNameW", "vorpen_no_such.dll (GetOpenFileNameW)"},
                          {L"comdlg32.dll", "NoSuchProcedure", "comdlg32.dll (NoSuchProcedure)"}};
    for (const Case& c : cases) {
        try {
            RequiredSystemProc(c.Dll, c.Name);
            ADD_FAILURE() << c.Said;
        } catch (const EOSError& e) {
            EXPECT_NE(e.Message().find(c.Said), std::string::npos) << e.Message();
            EXPECT_NE(e.ErrorCode, 0u) << c.Said;
        }
    }
}
