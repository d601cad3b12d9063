// Almanac.dll as the program meets it: loaded from the shipped folder, called through
// its plain-named stdcall export, answering in code page 936.
#include <gtest/gtest.h>

#include <cstdint>

#include "almanac/core/Almanac.h"
#include "framework/rtl/Encoding.h"
#include "framework/win/WinApi.h"

namespace {

using TAlmanacOutPut = const char*(__stdcall*)(const char*, int32_t, int32_t, int32_t);

class AlmanacDll : public testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(L"" VORPEN_DIST_DIR "/Almanac.dll");
        ASSERT_NE(module, nullptr);
        outPut = reinterpret_cast<TAlmanacOutPut>(reinterpret_cast<void*>(GetProcAddress(module, "AlmanacOutPut")));
        ASSERT_NE(outPut, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }
    HMODULE module = nullptr;
    TAlmanacOutPut outPut = nullptr;
};

}  // namespace

TEST_F(AlmanacDll, AnswersTheAlmanacInCodePage936) {
    const char* answer = outPut(AlmanacAuthorisation, 2026, 2, 17);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(GbkToUtf8(answer), AlmanacText(2026, 2, 17));
    EXPECT_EQ(GbkToUtf8(answer).rfind("公历：2026年2月17日 星期二/农历：丙午年（马年）正月初一/", 0), 0u);
}

TEST_F(AlmanacDll, AnswersAnyCallerAndEveryDate) {
    EXPECT_EQ(GbkToUtf8(outPut(nullptr, 1949, 10, 1)), AlmanacText(1949, 10, 1));
    EXPECT_EQ(GbkToUtf8(outPut("someone-else", 1949, 10, 1)), AlmanacText(1949, 10, 1));
    const char* invalid = outPut(AlmanacAuthorisation, 2026, 2, 30);
    ASSERT_NE(invalid, nullptr);
    EXPECT_EQ(GbkToUtf8(invalid), AlmanacText(2026, 2, 30));
}
