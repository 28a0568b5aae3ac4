// Reaching a folder below the install folder: both ways refuse links, files and mounts on the
// way, the walk that stands in where the kernel lacks openat2 as much as the kernel's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "folder_beneath_linux.h"

namespace ondrix::uninstall {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr ResolveWay kWays[] = {ResolveWay::Kernel, ResolveWay::Walk};

const char* WayName(ResolveWay way) {
    return way == ResolveWay::Kernel ? "kernel" : "walk";
}

class Tree {
  public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "ondrix-beneath-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        fs::create_directories(root_ / "base/a/b");
        fs::create_directories(root_ / "base/mnt");
        fs::create_directories(root_ / "outside/x");
        std::ofstream(root_ / "base/file.txt") << "x";
        fs::create_directory_symlink(root_ / "outside", root_ / "base/link");
        fs::create_directory_symlink(root_ / "base/a", root_ / "base/inner-link");
        base_ = ::open((root_ / "base").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    ~Tree() {
        ::close(base_);
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    int base() const { return base_; }
    fs::path Path(const std::string& relative) const { return root_ / relative; }

  private:
    fs::path root_;
    int base_ = -1;
};

// Whether the folder reached is the one expected (same inode), or -1 when nothing opened.
int Opens(int base, const Names& folders, ResolveWay way, const fs::path& expected) {
    const FileDescriptor fd(OpenFolderBeneath(base, folders, way));
    if (fd.get() < 0) return -1;
    struct stat got {
    }, want{};
    if (::fstat(fd.get(), &got) != 0 || ::stat(expected.c_str(), &want) != 0) return 0;
    return got.st_ino == want.st_ino && got.st_dev == want.st_dev ? 1 : 0;
}

TEST(OpenFolderBeneath, OpensRealFoldersAndRefusesEverythingElse) {
    const struct {
        const char* name;
        Names folders;
        const char* expected;  // nullptr: must fail
    } cases[] = {
        {"no folders", {}, "base"},
        {"one folder", {"a"}, "base/a"},
        {"two folders", {"a", "b"}, "base/a/b"},
        {"link to an outside folder", {"link"}, nullptr},
        {"link in the middle", {"link", "x"}, nullptr},
        {"link to a folder inside", {"inner-link", "b"}, nullptr},
        {"a file", {"file.txt"}, nullptr},
        {"missing", {"none"}, nullptr},
        {"parent", {"a", "..", ".."}, nullptr},
    };
    Tree tree;
    for (const ResolveWay way : kWays) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " (" + WayName(way) + ")");
            const int result =
                Opens(tree.base(), c.folders, way, c.expected ? tree.Path(c.expected) : fs::path());
            EXPECT_EQ(result, c.expected ? 1 : -1);
        }
    }
}

TEST(OpenFolderBeneath, RefusesABindMountOfTheSameFileSystem) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    Tree tree;
    // The mount lives in a child's private mount namespace; nothing outside it sees it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(tree.Path("outside").c_str(), tree.Path("base/mnt").c_str(), nullptr, MS_BIND,
                    nullptr) != 0) {
            ::_exit(77);
        }
        // A descriptor opened before the mount sees the old namespace's mounts: open anew.
        const FileDescriptor base(
            ::open(tree.Path("base").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        int refused = 0;
        for (const ResolveWay way : kWays) {
            if (OpenFolderBeneath(base.get(), {"mnt"}, way) < 0 &&
                OpenFolderBeneath(base.get(), {"mnt", "x"}, way) < 0 &&
                OpenFolderBeneath(base.get(), {"a"}, way) >= 0) {
                ++refused;
            }
        }
        ::_exit(refused == 2 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot mount in a private mount namespace";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a way went through the bind mount";
}

}  // namespace
}  // namespace ondrix::uninstall
