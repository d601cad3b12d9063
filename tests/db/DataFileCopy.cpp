#include "DataFileCopy.h"

#include <gtest/gtest.h>

#include "tests/rtl/TempDir.h"

std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ShippedDataFile() {
    return VORPEN_PRISTINE_DATA_FILE;   // not dist/'s copy, which a run of the program changes
}

DataFileCopy::DataFileCopy() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = UniqueTempPath(std::string("vorpen 数据 ") + info->test_suite_name() + "." + info->name());
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
    auto u8 = FDir.u8string();
    FFolder = std::string(u8.begin(), u8.end()) + static_cast<char>(std::filesystem::path::preferred_separator);
    FFileName = FFolder + "qmkDemo.mdb";
    std::filesystem::copy_file(Utf8Path(ShippedDataFile()), Utf8Path(FFileName));
}

DataFileCopy::~DataFileCopy() {
    std::error_code ec;
    std::filesystem::remove_all(FDir, ec);
}
