#include <gtest/gtest.h>

#include <filesystem>

#include "framework/rtl/FileUtils.h"
#include "tests/skin/fuzz/IniSkinInput.h"
#include "tests/skin/fuzz/StoredSkinInput.h"

// Replays the stored-skin fuzzer's corpus so every input it keeps stays handled.
TEST(StoredSkinFuzzCorpus, EveryInputIsHandled)
{
    const std::filesystem::path dir = std::filesystem::path(VORPEN_SKIN_FUZZ_CORPUS);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_TRUE(RunStoredSkinInput(ReadFileBytes(entry.path().string())));
        ++files;
    }
    EXPECT_GE(files, 10);
}

// Replays the skin-INI fuzzer's corpus (our skin's INI among it) through the store and
// the frame geometry.
TEST(IniSkinFuzzCorpus, EveryInputIsHandled)
{
    const std::filesystem::path dir = std::filesystem::path(VORPEN_SKIN_INI_CORPUS);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_TRUE(RunIniSkinInput(ReadFileBytes(entry.path().string())));
        ++files;
    }
    EXPECT_GE(files, 3);
}
