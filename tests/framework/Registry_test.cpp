#include "framework/win/Registry.h"

#include <gtest/gtest.h>

#include "framework/win/FileDialogs.h"
#include "framework/win/WinUtil.h"

namespace {

constexpr char kKey[] = "\\Software\\VorpenTest\\Run";

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VorpenTest"); }
};

TEST_F(RegistryTest, WriteReadAndDeleteUnderCurrentUser) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey(kKey, false));   // not there yet and not to be made
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    EXPECT_EQ(reg.CurrentPath(), "Software\\VorpenTest\\Run");
    EXPECT_FALSE(reg.ValueExists("vorpen"));
    EXPECT_EQ(reg.ReadString("vorpen"), "");
    reg.WriteString("vorpen", "C:\\程序\\vorpen.exe");
    EXPECT_TRUE(reg.ValueExists("vorpen"));
    EXPECT_EQ(reg.ReadString("vorpen"), "C:\\程序\\vorpen.exe");

    // REG_SZ with the terminating zero counted in the size.
    DWORD type = 0, size = 0;
    RegQueryValueExW(reg.CurrentKey(), L"vorpen", nullptr, &type, nullptr, &size);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, (Wide("C:\\程序\\vorpen.exe").size() + 1) * sizeof(wchar_t));

    reg.CloseKey();
    TRegistry other;
    ASSERT_TRUE(other.OpenKeyReadOnly(kKey));
    EXPECT_EQ(other.ReadString("vorpen"), "C:\\程序\\vorpen.exe");
    ASSERT_TRUE(reg.OpenKey(kKey, false));
    EXPECT_TRUE(reg.DeleteValue("vorpen"));
    EXPECT_FALSE(reg.DeleteValue("vorpen"));
    EXPECT_EQ(other.ReadString("vorpen"), "");
}

TEST_F(RegistryTest, RelativeKeysAndFailuresRaise) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\VorpenTest", true));
    ASSERT_TRUE(reg.OpenKey("Sub", true));   // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\VorpenTest\\Sub");
    DWORD number = 5;
    RegSetValueExW(reg.CurrentKey(), L"count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
    try {
        reg.ReadString("count");
        FAIL() << "a number read as text must raise";
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("count"), std::string::npos);
    }
    // A write through a read-only key fails and says which value.
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\VorpenTest\\Sub"));
    try {
        reg.WriteString("vorpen", "x");
        FAIL() << "the write must raise";
    } catch (const ERegistryException& e) {
        EXPECT_NE(std::string(e.what()).find("vorpen"), std::string::npos);
    }
    EXPECT_FALSE(reg.ValueExists("vorpen"));
}

TEST(FileDialogTest, RecorderAnswersAndFilterMustPair) {
    FileDialogRecorder recorder;
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("音乐格式文件|*.mp3;*.mid;*.wav;*.wma|wav(*.wav)|*.wav");
    dialog.SetTitle("导入音乐窗口");
    dialog.SetInitialDir("C:\\");
    recorder.Answer = "C:\\声音\\门铃.wav";
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "C:\\声音\\门铃.wav");
    ASSERT_EQ(recorder.Calls.size(), 1u);
    EXPECT_EQ(recorder.Calls[0].Title, "导入音乐窗口");
    EXPECT_FALSE(recorder.Calls[0].Save);
    recorder.Confirm = false;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "C:\\声音\\门铃.wav");   // a cancel changes nothing
    TSaveDialog save(nullptr);
    save.Execute();
    EXPECT_TRUE(recorder.Calls.back().Save);
    EXPECT_THROW(dialog.SetFilter("文本文件|*.txt|所有文件"), Exception);
    EXPECT_EQ(dialog.Filter(), "音乐格式文件|*.mp3;*.mid;*.wav;*.wma|wav(*.wav)|*.wav");
}

}  // namespace
