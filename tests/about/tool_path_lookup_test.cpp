// The look-up that stands in for the registry: finding the tool on the PATH.

#include "plotter/about/tool_path_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "plotter/about/key_value.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

enum class Kind { Executable, Plain, Folder };

struct ToolFile {
    std::string folder;  // below the temporary folder
    std::string name;
    Kind kind;
};

struct PathCase {
    const char* name;
    std::vector<ToolFile> files;
    std::vector<std::string> path;  // folders below the temporary one; "~rel:" makes it relative
    std::string key;
    std::string value;
    std::string expected;  // below the temporary folder; empty when nothing is found
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class ToolPathLookupCases : public ::testing::TestWithParam<PathCase> {};

TEST_P(ToolPathLookupCases, AnswersPathValue) {
    const PathCase& c = GetParam();
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const fs::path root = temp.path().toStdString();
    for (const auto& file : c.files) {
        const fs::path p = root / file.folder / file.name;
        if (file.kind == Kind::Folder) {
            fs::create_directories(p);
            ::chmod(p.c_str(), 0755);
            continue;
        }
        fs::create_directories(root / file.folder);
        std::ofstream(p) << "#!/bin/sh\n";
        ::chmod(p.c_str(), file.kind == Kind::Executable ? 0755 : 0644);
    }
    std::string searchPath;
    for (const auto& folder : c.path) {
        if (!searchPath.empty()) searchPath += ':';
        if (folder.rfind("~rel:", 0) == 0) {
            searchPath += fs::relative(root / folder.substr(5)).string();
        } else {
            searchPath += (root / folder).string();
        }
    }

    ToolPathLookup lookup(searchPath);
    const auto value = lookup.Query(kHKeyLocalMachine, c.key, c.value);
    if (c.expected.empty()) {
        EXPECT_FALSE(value.has_value());
    } else {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, kRegSz);
        EXPECT_EQ(value->bytes, (root / c.expected).string() + '\0');
    }
}

const std::string kKey = kMsinfoKey;

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolPathLookupCases,
    ::testing::Values(
        PathCase{"FindsHardinfo",
                 {{"bin", "hardinfo", Kind::Executable}},
                 {"bin"},
                 kKey,
                 "PATH",
                 "bin/hardinfo"},
        PathCase{"NamesCompareWithoutCase",
                 {{"bin", "hardinfo", Kind::Executable}},
                 {"bin"},
                 "software\\microsoft\\shared tools\\msinfo",
                 "Path",
                 "bin/hardinfo"},
        PathCase{"PrefersHardinfo2InAnyFolder",
                 {{"a", "kinfocenter", Kind::Executable},
                  {"a", "hardinfo", Kind::Executable},
                  {"b", "hardinfo2", Kind::Executable}},
                 {"a", "b"},
                 kKey,
                 "PATH",
                 "b/hardinfo2"},
        PathCase{"EarlierFolderWinsForSameName",
                 {{"a", "hardinfo", Kind::Executable}, {"b", "hardinfo", Kind::Executable}},
                 {"a", "b"},
                 kKey,
                 "PATH",
                 "a/hardinfo"},
        PathCase{"FallsBackToKinfocenter",
                 {{"a", "kinfocenter", Kind::Executable}},
                 {"x", "a"},
                 kKey,
                 "PATH",
                 "a/kinfocenter"},
        PathCase{"SkipsFileNotExecutable",
                 {{"a", "hardinfo", Kind::Plain}, {"b", "kinfocenter", Kind::Executable}},
                 {"a", "b"},
                 kKey,
                 "PATH",
                 "b/kinfocenter"},
        PathCase{
            "SkipsFolderOfToolName", {{"a", "hardinfo", Kind::Folder}}, {"a"}, kKey, "PATH", ""},
        PathCase{"NeverSearchesRelativeFolder",
                 {{"bin", "hardinfo", Kind::Executable}},
                 {"~rel:bin"},
                 kKey,
                 "PATH",
                 ""},
        PathCase{"NoToolAnywhere", {}, {"bin"}, kKey, "PATH", ""},
        PathCase{"OtherValueIsMissing",
                 {{"bin", "hardinfo", Kind::Executable}},
                 {"bin"},
                 kSharedToolsKey,
                 "MSINFO",
                 ""},
        PathCase{"OtherNameUnderKeyIsMissing",
                 {{"bin", "hardinfo", Kind::Executable}},
                 {"bin"},
                 kKey,
                 "PATHS",
                 ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolPathLookup, ReadsPathOfEnvironmentThroughGetKeyValue) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const std::string tool = (fs::path(temp.path().toStdString()) / "hardinfo").string();
    std::ofstream(tool) << "#!/bin/sh\n";
    ::chmod(tool.c_str(), 0755);

    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", temp.path().toLocal8Bit());
    std::string keyVal;
    const bool found =
        GetKeyValue(*MakeSystemKeyLookup(), kHKeyLocalMachine, kMsinfoKey, "PATH", keyVal);
    qputenv("PATH", savedPath);

    EXPECT_TRUE(found);
    EXPECT_EQ(keyVal, tool);
}

}  // namespace
}  // namespace ondrix
