// Every road through StartSysInfo, with a fake look-up, file system and launcher.

#include "plotter/about/sys_info.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "fake_key_lookup.h"

namespace ondrix {
namespace {

using namespace std::string_literals;

struct Entry {
    std::uint32_t type;
    std::string bytes;
};

struct LaunchCase {
    const char* name;
    std::optional<Entry> entry1;  // "PATH" under the MSINFO key
    std::optional<Entry> entry2;  // "MSINFO" under the shared tools key
    std::set<std::string> files;  // files that exist, and so can be started
    std::vector<std::string> expectedLaunches;
    bool expectedStarted;
    bool entry2Asked;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.name;
}

// A fake world: the launcher starts only files that exist, as the system would.
struct World {
    testing::FakeKeyLookup lookup;
    std::set<std::string> files;
    std::vector<std::string> fileTests;
    std::vector<std::string> launches;
    std::vector<std::pair<std::string, std::string>> messages;

    SysInfoDeps Deps() {
        SysInfoDeps deps;
        deps.lookup = &lookup;
        deps.fileExists = [this](const std::string& path) {
            fileTests.push_back(path);
            return files.count(path) > 0;
        };
        deps.launch = [this](const std::string& program) {
            launches.push_back(program);
            return files.count(program) > 0;
        };
        deps.showMessage = [this](const std::string& text, const std::string& caption) {
            messages.emplace_back(text, caption);
        };
        return deps;
    }
};

const std::string kTool = "/opt/tools/msinfo";
const std::string kFolder = "/opt/shared";
const std::string kInFolder = kFolder + kMsinfoFileSuffix;

class StartSysInfoPaths : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(StartSysInfoPaths, StartsToolOrShowsMessage) {
    const LaunchCase& c = GetParam();
    World world;
    world.files = c.files;
    if (c.entry1) world.lookup.Set(kMsinfoKey, kMsinfoPathValue, c.entry1->type, c.entry1->bytes);
    if (c.entry2) {
        world.lookup.Set(kSharedToolsKey, kSharedToolsMsinfoValue, c.entry2->type, c.entry2->bytes);
    }

    EXPECT_EQ(StartSysInfo(world.Deps()), c.expectedStarted);

    EXPECT_EQ(world.launches, c.expectedLaunches);
    const bool asked2 = std::find(world.lookup.queries.begin(), world.lookup.queries.end(),
                                  kSharedToolsMsinfoValue) != world.lookup.queries.end();
    EXPECT_EQ(asked2, c.entry2Asked);
    if (c.expectedStarted) {
        EXPECT_TRUE(world.messages.empty());
    } else {
        ASSERT_EQ(world.messages.size(), 1u);
        EXPECT_EQ(world.messages[0].first, "System Information Is Unavailable At This Time");
        EXPECT_EQ(world.messages[0].second, "Ondrix");
    }
    // Entry 1 is started as it is; only the folder of entry 2 is tested for the file.
    if (c.entry1 && !c.entry2Asked) {
        EXPECT_TRUE(world.fileTests.empty());
    }
}

const Entry kEntry1{kRegSz, kTool + '\0'};
const Entry kEntry2{kRegSz, kFolder + '\0'};

INSTANTIATE_TEST_SUITE_P(
    Cases, StartSysInfoPaths,
    ::testing::Values(
        LaunchCase{
            "Entry1RunsEvenWithEntry2", kEntry1, kEntry2, {kTool, kInFolder}, {kTool}, true, false},
        LaunchCase{"Entry1MissingFileFailsWithoutTryingEntry2",
                   kEntry1,
                   kEntry2,
                   {kInFolder},
                   {kTool},
                   false,
                   false},
        LaunchCase{"Entry2FolderWithoutTool", std::nullopt, kEntry2, {}, {}, false, true},
        LaunchCase{
            "Entry2FolderHoldingTool", std::nullopt, kEntry2, {kInFolder}, {kInFolder}, true, true},
        LaunchCase{"NeitherEntry", std::nullopt, std::nullopt, {}, {}, false, true},
        LaunchCase{"Entry1ExpandSzIsEmptyCommand",
                   Entry{kRegExpandSz, kTool + '\0'},
                   kEntry2,
                   {kTool, kInFolder},
                   {},
                   false,
                   false},
        LaunchCase{"Entry1OverBufferFallsToEntry2",
                   Entry{kRegSz, std::string(1025, 'a')},
                   kEntry2,
                   {kInFolder},
                   {kInFolder},
                   true,
                   true},
        LaunchCase{"Entry1WithoutData", Entry{kRegSz, ""}, kEntry2, {kInFolder}, {}, false, false},
        LaunchCase{"Entry2WithoutData", std::nullopt, Entry{kRegSz, ""}, {}, {}, false, true},
        LaunchCase{"Entry1DwordNamesNoProgram",
                   Entry{kRegDword, "\x01\0\0\0"s},
                   std::nullopt,
                   {},
                   {"&h000001"},
                   false,
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ondrix
