#pragma once
// A fresh folder for a test, removed with everything in it at the end. Paths are UTF-8
// and end with the platform's path delimiter.

#include "framework/rtl/FileUtils.h"

#include <atomic>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

// A path in the temporary folder that no other process, nor an earlier call in this one,
// is given: the stem, this process's id and a count. Two runs of one test binary at once
// (or two checkouts' runs) never share a file.
inline std::filesystem::path UniqueTempPath(const std::string& stem)
{
    static std::atomic<int> count{0};
#ifdef _WIN32
    const long pid = _getpid();
#else
    const long pid = getpid();
#endif
    const std::string name = stem + "-" + std::to_string(pid) + "-" + std::to_string(++count);
    return std::filesystem::temp_directory_path() / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

class TempDir {
public:
    TempDir()
    {
        const std::u8string path = UniqueTempPath("rtl-test").u8string();
        FPath = IncludeTrailingPathDelimiter(std::string(path.begin(), path.end()));
        std::error_code ec;
        std::filesystem::remove_all(Fs(FPath), ec);   // left by an earlier process of the same id
        std::filesystem::create_directories(Fs(FPath));
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(Fs(FPath), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Fs(FPath), ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + name; }

    static std::filesystem::path Fs(const std::string& utf8)
    {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }

private:
    std::string FPath;
};
