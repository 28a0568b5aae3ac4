// The look-up that stands in for the registry: finding the tool on the PATH.

#include "plotter/about/tool_path_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "plotter/about/key_value.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

constexpr int kFolder = -1;  // create a folder of that name instead of a file

struct PathCase {
    const char* name;
    std::vector<std::pair<std::string, int>> files;  // path below the temp folder, mode
    std::string path;  // ':'-separated; "@" stands for the temp folder, "rel:" for relative
    std::string valueName;
    std::string expected;  // below the temp folder; empty when nothing is found
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

// A fresh folder that is removed with everything in it at the end of the test.
struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string name = (fs::temp_directory_path() / "ondrix-test-XXXXXX").string();
        if (::mkdtemp(name.data())) path = name;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

class ToolPathLookupCases : public ::testing::TestWithParam<PathCase> {};

TEST_P(ToolPathLookupCases, AnswersPathValue) {
    const PathCase& c = GetParam();
    const TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    const fs::path root = temp.path;
    for (const auto& [file, mode] : c.files) {
        const fs::path p = root / file;
        fs::create_directories(mode == kFolder ? p : p.parent_path());
        if (mode != kFolder) {
            std::ofstream(p) << "#!/bin/sh\n";
            ::chmod(p.c_str(), mode);
        }
    }
    std::string searchPath = c.path;
    for (std::size_t at; (at = searchPath.find('@')) != std::string::npos;) {
        searchPath.replace(at, 1, root.string());
    }
    if (searchPath.rfind("rel:", 0) == 0) {
        searchPath = fs::relative(searchPath.substr(4)).string();
    }

    const auto value = ToolPathLookup(searchPath).Query(kHKeyLocalMachine, kMsinfoKey, c.valueName);
    if (c.expected.empty()) {
        EXPECT_FALSE(value.has_value());
    } else {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, kRegSz);
        EXPECT_EQ(value->bytes, (root / c.expected).string() + '\0');
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolPathLookupCases,
    ::testing::Values(
        PathCase{"FindsHardinfo", {{"bin/hardinfo", 0755}}, "@/bin", "path", "bin/hardinfo"},
        PathCase{"PrefersHardinfo2InAnyFolder",
                 {{"a/kinfocenter", 0755}, {"a/hardinfo", 0755}, {"b/hardinfo2", 0755}},
                 "@/a:@/b",
                 "PATH",
                 "b/hardinfo2"},
        PathCase{"SkipsFileNotExecutable",
                 {{"a/hardinfo", 0644}, {"b/kinfocenter", 0755}},
                 "@/a:@/b",
                 "PATH",
                 "b/kinfocenter"},
        PathCase{"SkipsFolderOfToolName", {{"a/hardinfo", kFolder}}, "@/a", "PATH", ""},
        PathCase{"NeverSearchesRelativeFolder", {{"bin/hardinfo", 0755}}, "rel:@/bin", "PATH", ""},
        PathCase{"OtherValueIsMissing", {{"bin/hardinfo", 0755}}, "@/bin", "MSINFO", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolPathLookup, ReadsPathOfEnvironmentThroughGetKeyValue) {
    const TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    const std::string tool = (temp.path / "hardinfo").string();
    std::ofstream(tool) << "#!/bin/sh\n";
    ::chmod(tool.c_str(), 0755);

    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ::setenv("PATH", temp.path.c_str(), 1);
    std::string keyVal;
    const bool found =
        GetKeyValue(*MakeSystemKeyLookup(), kHKeyLocalMachine, kMsinfoKey, "PATH", keyVal);
    ::setenv("PATH", savedPath.c_str(), 1);

    EXPECT_TRUE(found);
    EXPECT_EQ(keyVal, tool);
}

}  // namespace
}  // namespace ondrix
