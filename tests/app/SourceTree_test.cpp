// The source tree checks out whole on a file system that ignores letter case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

TEST(SourceTree, NoTwoPathsDifferOnlyInLetterCase)
{
    const fs::path root = fs::path(VORPEN_TEST_DATA_DIR).parent_path().parent_path();
    ASSERT_TRUE(fs::exists(root / "CMakeLists.txt")) << root;
    std::map<std::string, std::string> seen;   // lower-case path -> path
    int clashes = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && it.depth() == 0 && (name.starts_with(".") || name.starts_with("build"))) {
            it.disable_recursion_pending();
            continue;
        }
        std::string path = fs::relative(it->path(), root).generic_string(), folded = path;
        std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
        auto [at, added] = seen.emplace(folded, path);
        if (!added) {
            ++clashes;
            ADD_FAILURE() << at->second << " and " << path;
        }
    }
    EXPECT_EQ(clashes, 0);
    EXPECT_GT(seen.size(), 100u);
}
