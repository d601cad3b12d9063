#pragma once
// A fresh folder for a test, removed with everything in it at the end. Paths are UTF-8
// and end with the platform's path delimiter.

#include "framework/rtl/FileUtils.h"

#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    TempDir()
    {
        const std::u8string base = std::filesystem::temp_directory_path().u8string();
        std::random_device rd;
        FPath = IncludeTrailingPathDelimiter(std::string(base.begin(), base.end())) + "rtl-test-" +
                std::to_string(rd()) + PathDelim;
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
