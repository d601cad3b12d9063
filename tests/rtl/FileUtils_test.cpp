#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Encoding.h"
#include "framework/rtl/SysUtils.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

TEST(FileUtils, PathParts)
{
    EXPECT_EQ(ExtractFilePath("C:\\prog\\vorpen.exe"), "C:\\prog\\");
    EXPECT_EQ(ExtractFilePath("/opt/a/b.ini"), "/opt/a/");
    EXPECT_EQ(ExtractFilePath("C:x.txt"), "C:");
    EXPECT_EQ(ExtractFilePath("x.txt"), "");
    EXPECT_EQ(ExtractFileName("C:\\prog\\备忘.txt"), "备忘.txt");
    EXPECT_EQ(ExtractFileName("dir/"), "");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("a"), std::string("a") + PathDelim);
}

TEST(FileUtils, ExeFolderAndItsSeam)
{
    const std::string folder = ExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), PathDelim);
    EXPECT_TRUE(DirectoryExists(folder));
    SetExeFolder("prepared");
    EXPECT_EQ(ExeFolder(), std::string("prepared") + PathDelim);
    SetExeFolder("");
    EXPECT_EQ(ExeFolder(), folder);
}

TEST(FileUtils, FilesAndFolders)
{
    TempDir dir;
    const std::string sub = dir / "子目录";
    EXPECT_FALSE(DirectoryExists(sub));
    EXPECT_TRUE(CreateDir(sub));
    EXPECT_FALSE(CreateDir(sub));
    EXPECT_TRUE(DirectoryExists(sub));
    EXPECT_FALSE(FileExists(sub));

    const std::string file = IncludeTrailingPathDelimiter(sub) + "备忘.txt";
    WriteFileBytes(file, std::string("a\0b\r\n", 5));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_EQ(ReadFileBytes(file), std::string("a\0b\r\n", 5));
    WriteFileBytes(file, "");
    EXPECT_EQ(ReadFileBytes(file), "");

    const std::string other = dir / "other.txt";
    WriteFileBytes(other, "other");
    EXPECT_TRUE(RenameFile(other, file));   // replaces
    EXPECT_EQ(ReadFileBytes(file), "other");
    EXPECT_FALSE(FileExists(other));
    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(RemoveFile(file));
    try {
        ReadFileBytes(file);
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find("备忘.txt"), std::string::npos) << e.Message();
    }
}

TEST(FileUtils, FailedAtomicWriteLeavesTheOldFile)
{
    TempDir dir;
    const std::string file = dir / "data.txt";
    WriteFileBytes(file, "old");

    // A directory cannot be replaced by a file: the error names the file, nothing is left behind.
    const std::string blocker = dir / "blocker";
    ASSERT_TRUE(CreateDir(blocker));
    try {
        WriteFileBytes(blocker, "new");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find("blocker"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(DirectoryExists(blocker));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(TempDir::Fs(dir.Path())))
        ++entries;
    EXPECT_EQ(entries, 2);

#ifdef _WIN32
    // A file held open without delete sharing cannot be replaced.
    const std::u16string wide = Utf8ToUtf16(file);
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_THROW(WriteFileBytes(file, "new"), EInOutError);
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(file), "old");
#endif

    // A read-only folder (where the platform and the user honour it).
    namespace fs = std::filesystem;
    fs::permissions(TempDir::Fs(dir.Path()), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string probe = dir / "probe";
    bool writable = true;
    try {
        WriteFileBytes(probe, "x");
    } catch (const EInOutError&) {
        writable = false;
    }
    if (writable)
        GTEST_SKIP() << "the folder stays writable here (administrator or no folder permissions)";
    EXPECT_THROW(WriteFileBytes(file, "new"), EInOutError);
    EXPECT_EQ(ReadFileBytes(file), "old");
}
