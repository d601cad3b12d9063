#pragma once
// A private copy of the shipped data file, as built, for one test, in a fresh temporary
// folder (whose name holds Chinese text, as a user's folder may), removed afterwards.

#include <filesystem>
#include <string>

class DataFileCopy {
public:
    DataFileCopy();
    ~DataFileCopy();
    DataFileCopy(const DataFileCopy&) = delete;
    DataFileCopy& operator=(const DataFileCopy&) = delete;

    const std::string& Folder() const { return FFolder; }   // UTF-8, ends with a delimiter
    const std::string& FileName() const { return FFileName; }
    std::string ConnectionString() const { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + FFileName; }
    // A path in the same folder for files a test makes itself.
    std::string PathOf(const std::string& name) const { return FFolder + name; }

private:
    std::filesystem::path FDir;
    std::string FFolder;
    std::string FFileName;
};

std::filesystem::path Utf8Path(const std::string& utf8);
std::string ShippedDataFile();
