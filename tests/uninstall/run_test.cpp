// Runs the built uninstaller for real: copied into a temporary install folder, started from
// another current directory, with HOME and the XDG folders inside the test's own tree.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

namespace ondrix::uninstall::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Paths = std::vector<std::string>;

constexpr char kSuccess[] = "Uninstall successful\r\n";
constexpr char kNotFound[] = "Uninstall information not found\r\n";
constexpr uid_t kNobody = 65534;

// The file name of both shortcuts on this platform.
std::string Shortcut() {
    return "Ondrix.desktop";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const fs::path& path) {
    return fs::exists(fs::symlink_status(path));
}

struct Outcome {
    int exit_code = -1;
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{};
};

// One temporary world: install folder "app" holding a copy of the program, a home, XDG
// config and data folders, a current directory "cwd" with a decoy log of its own, and
// "outside" for things the run must not touch.
class Sandbox {
  public:
    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "ondrix-uninstall-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
        for (const char* dir : {"app", "home", "config", "data", "cwd", "outside", "io"}) {
            fs::create_directories(root_ / dir);
        }
        fs::copy_file(UNINSTALL_PROGRAM, Path("app/uninstall"));
        Write("cwd/install.txt", "decoy.txt\r\n");
        Write("cwd/decoy.txt", "");
    }
    ~Sandbox() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(root_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
        fs::remove_all(root_, ignored);
        // A tree deeper than any path can name is left to rm, which walks it by descriptors.
        if (fs::exists(root_, ignored)) {
            Child rm({{"/bin/rm", "-rf", root_.string()}, {}, "/", "/dev/null", "/dev/null"});
            rm.Wait();
        }
    }

    fs::path Path(const std::string& relative) const { return root_ / relative; }
    // `text` with every "@" replaced by the sandbox root.
    std::string Expand(std::string text) const {
        for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
            text.replace(at, 1, root_.string());
            at += root_.string().size();
        }
        return text;
    }
    void Write(const std::string& relative, const std::string& bytes) const {
        WriteFile(Path(relative), bytes);
    }
    void Files(const Paths& relatives) const {
        for (const auto& r : relatives) Write(r, "x");
    }
    void Folders(const Paths& relatives) const {
        for (const auto& r : relatives) fs::create_directories(Path(r));
    }

    // The shell items a run removes under the default environment.
    static Paths ShellItems() {
        return {"home/Desktop/Ondrix.desktop", "data/applications/Ondrix/readme.txt",
                "data/applications/Ondrix.desktop"};
    }

    std::vector<std::string> Env() const {
        return {"HOME=" + Path("home").string(), "XDG_CONFIG_HOME=" + Path("config").string(),
                "XDG_DATA_HOME=" + Path("data").string(), "PATH=/usr/bin:/bin"};
    }

    // Every item under the root, links not followed, as relative paths.
    std::set<std::string> Tree() const {
        std::set<std::string> items;
        for (const auto& item : fs::recursive_directory_iterator(root_)) {
            const std::string relative = fs::relative(item.path(), root_).string();
            if (!relative.starts_with("io")) items.insert(relative);
        }
        return items;
    }

    // Gives the whole tree to another user (the test runs as root then).
    void HandTo(uid_t user) const {
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
        if (::lchown(root_.c_str(), user, user) != 0) throw std::runtime_error("lchown failed");
        for (const auto& item : fs::recursive_directory_iterator(root_)) {
            if (::lchown(item.path().c_str(), user, user) != 0) {
                throw std::runtime_error("lchown failed");
            }
        }
    }

    ChildOptions Options(const std::vector<std::string>& env, const Paths& prefix,
                         const std::string& stdout_path = {}) const {
        ChildOptions options;
        options.argv = prefix;
        options.argv.push_back(Path("app/uninstall").string());
        options.env = env;
        options.cwd = Path("cwd").string();
        options.stdout_path = stdout_path.empty() ? Path("io/out").string() : stdout_path;
        options.stderr_path = Path("io/err").string();
        return options;
    }

    Outcome Run(const std::vector<std::string>& env, const Paths& prefix = {},
                const std::string& stdout_path = {}) const {
        Child child(Options(env, prefix, stdout_path));
        child.CloseInput();
        const ChildResult result = child.Wait();
        EXPECT_FALSE(result.timed_out);
        return {result.exit_code, ReadFile(Path("io/out")), ReadFile(Path("io/err")),
                result.elapsed};
    }
    Outcome Run() const { return Run(Env()); }

  private:
    fs::path root_;
};

void ExpectRemoved(const Sandbox& box, const Paths& relatives) {
    for (const auto& r : relatives) EXPECT_FALSE(Exists(box.Path(r))) << r << " should be gone";
}

void ExpectKept(const Sandbox& box, const Paths& relatives) {
    for (const auto& r : relatives) EXPECT_TRUE(Exists(box.Path(r))) << r << " should stay";
}

void ExpectSuccess(const Outcome& outcome) {
    EXPECT_EQ(outcome.exit_code, 0);
    EXPECT_EQ(outcome.out, kSuccess);
    EXPECT_EQ(outcome.err, "");
}

// A prefix that runs the program as an unprivileged user, or why that cannot be done here.
// Root passes over file permissions, so permission cases need another user.
std::optional<Paths> Unprivileged(const Sandbox& box, std::string& why) {
    if (::geteuid() != 0) return Paths{};
    std::string setpriv;
    for (const char* candidate : {"/usr/bin/setpriv", "/bin/setpriv"}) {
        if (::access(candidate, X_OK) == 0) setpriv = candidate;
    }
    if (setpriv.empty()) {
        why = "running as root and setpriv (util-linux) is missing: root ignores permissions";
        return std::nullopt;
    }
    box.HandTo(kNobody);
    const Paths prefix = {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
    // Before any log exists a run changes nothing; it shows whether the user can reach it.
    const Outcome probe = box.Run(box.Env(), prefix);
    if (probe.exit_code != 0 || probe.out != kNotFound) {
        why = "cannot run the program as user 65534 here: " + probe.err;
        return std::nullopt;
    }
    return prefix;
}

const Paths kInstallFiles = {"app/a.txt",      "app/b.txt",     "app/c.txt",      "app/trail.txt",
                             "app/trail.txt ", "app/sub/d.txt", "outside/out.txt"};

TEST(UninstallRun, WithoutALogFileRemovesNothing) {
    const struct {
        const char* name;
        void (*make_log)(const Sandbox&);
    } cases[] = {
        {"no log", [](const Sandbox&) {}},
        {"log is a folder", [](const Sandbox& box) { box.Files({"app/install.txt/a.txt"}); }},
        {"log is a dangling link",
         [](const Sandbox& box) {
             fs::create_symlink(box.Path("outside/none"), box.Path("app/install.txt"));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files(kInstallFiles);
        box.Files(Sandbox::ShellItems());
        c.make_log(box);
        const auto before = box.Tree();
        const Outcome outcome = box.Run();
        EXPECT_EQ(outcome.exit_code, 0);
        EXPECT_EQ(outcome.out, kNotFound);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(box.Tree(), before);
    }
}

TEST(UninstallRun, DeletesExactlyTheListedFiles) {
    const struct {
        const char* name;
        std::string log;
        Paths removed;
        Paths kept;
    } cases[] = {
        {"empty log", "", {}, {"app/a.txt", "app/b.txt", "app/c.txt", "app/install.txt"}},
        {"CR LF", "a.txt\r\nb.txt\r\n", {"app/a.txt", "app/b.txt"}, {"app/c.txt"}},
        {"lone CR and LF, last line open",
         "a.txt\rb.txt\nc.txt",
         {"app/a.txt", "app/b.txt", "app/c.txt"},
         {"app/install.txt"}},
        {"CR CR LF", "a.txt\r\r\nb.txt", {"app/a.txt", "app/b.txt"}, {"app/c.txt"}},
        {"NUL ends the log", "a.txt\0b.txt\r\nc.txt"s, {"app/a.txt"}, {"app/b.txt", "app/c.txt"}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "a.txt\r\nb.txt",
         {"app/b.txt"},
         {"app/a.txt"}},
        {"trailing blank kept", "trail.txt \r\n", {"app/trail.txt "}, {"app/trail.txt"}},
        {"empty and duplicate entries",
         "\r\n\r\na.txt\r\na.txt\r\n",
         {"app/a.txt"},
         {"app/b.txt", "app/uninstall"}},
        {"subfolders",
         "sub\r\nempty\r\nsub\\d.txt\r\n",
         {"app/sub/d.txt"},
         {"app/sub", "app/empty"}},
        {"log listed in the middle",
         "a.txt\r\ninstall.txt\r\nb.txt\r\n",
         {"app/a.txt", "app/install.txt", "app/b.txt"},
         {"app/c.txt"}},
        {"outside the install folder",
         "..\\outside\\out.txt\r\nsub\\..\\..\\outside\\out.txt\r\n@ABS@\r\nc.txt",
         {"app/c.txt"},
         {"outside/out.txt", "app/sub/d.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files(kInstallFiles);
        box.Folders({"app/empty"});
        box.Files(Sandbox::ShellItems());
        std::string log = c.log;
        if (const auto at = log.find("@ABS@"); at != std::string::npos) {
            log.replace(at, 5, box.Path("outside/out.txt").string());
        }
        box.Write("app/install.txt", log);

        ExpectSuccess(box.Run());
        ExpectRemoved(box, c.removed);
        ExpectKept(box, c.kept);
        ExpectKept(box, {"app", "app/uninstall", "cwd/decoy.txt", "cwd/install.txt"});
        ExpectRemoved(box, Sandbox::ShellItems());
        ExpectRemoved(box, {"data/applications/Ondrix"});
    }
}

// On Linux a shortcut is a desktop entry: Windows shortcut files of the same base name, and
// entries of other names, are not the program's and stay.
TEST(UninstallRun, RemovesDesktopEntriesNotWindowsShortcuts) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Files({"home/Desktop/Ondrix.desktop", "home/Desktop/Ondrix.lnk", "home/Desktop/Ondrix",
               "data/applications/Ondrix.desktop", "data/applications/Ondrix.lnk",
               "data/applications/ondrix.desktop"});
    ExpectSuccess(box.Run());
    ExpectRemoved(box, {"home/Desktop/Ondrix.desktop", "data/applications/Ondrix.desktop"});
    ExpectKept(box, {"home/Desktop/Ondrix.lnk", "home/Desktop/Ondrix",
                     "data/applications/Ondrix.lnk", "data/applications/ondrix.desktop"});
}

TEST(UninstallRun, RemovesTheWholeProgramGroupWithoutFollowingLinks) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Files({"data/applications/Ondrix/a/b/c/deep.txt", "data/applications/Ondrix/.hidden",
               "data/applications/Ondrix/.hidden-dir/x", "data/applications/Ondrix/a/ro.txt",
               "outside/dir/kept.txt", "outside/file.txt", "home/Desktop/other.desktop"});
    box.Folders({"data/applications/Ondrix/a/empty", "home/Desktop/Ondrix.desktop"});
    fs::permissions(box.Path("data/applications/Ondrix/a/ro.txt"), fs::perms::owner_read);
    fs::create_symlink(box.Path("outside/dir"), box.Path("data/applications/Ondrix/dirlink"));
    fs::create_symlink(box.Path("outside/file.txt"), box.Path("data/applications/Ondrix/a/flink"));

    ExpectSuccess(box.Run());
    ExpectRemoved(box, {"data/applications/Ondrix"});
    // A folder named like the shortcut is not a shortcut; link targets stay.
    ExpectKept(box, {"data/applications", "home/Desktop/Ondrix.desktop",
                     "home/Desktop/other.desktop", "outside/dir/kept.txt", "outside/file.txt"});
}

TEST(UninstallRun, ProgramGroupThatIsALinkLosesTheLinkOnly) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Files({"outside/group/keep.txt"});
    fs::create_directories(box.Path("data/applications"));
    fs::create_directory_symlink(box.Path("outside/group"), box.Path("data/applications/Ondrix"));

    ExpectSuccess(box.Run());
    ExpectRemoved(box, {"data/applications/Ondrix"});
    ExpectKept(box, {"outside/group/keep.txt"});
}

TEST(UninstallRun, SecondRunRepeatsQuietly) {
    Sandbox box;
    box.Write("app/install.txt", "a.txt\r\n");
    box.Files({"app/a.txt"});
    box.Files(Sandbox::ShellItems());
    ExpectSuccess(box.Run());
    const auto after_first = box.Tree();
    ExpectSuccess(box.Run());
    EXPECT_EQ(box.Tree(), after_first);
    ExpectKept(box, {"app/install.txt"});
}

TEST(UninstallRun, WaitsForOneLineOfInput) {
    Sandbox box;
    box.Write("app/install.txt", "");
    Child child(box.Options(box.Env(), {}));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ReadFile(box.Path("io/out")) != kSuccess && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(ReadFile(box.Path("io/out")), kSuccess);
    // The message is out; the program now sits waiting for a line.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(child.HasExited());
    child.Write("\n");
    const ChildResult result = child.Wait(std::chrono::seconds(10));
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(result.exit_code, 0);
}

TEST(UninstallRun, FindsShellFoldersByTheXdgRules) {
    const struct {
        const char* name;
        std::vector<std::string> env;  // "@" stands for the sandbox root
        Paths made;
        Paths removed;
        Paths kept;
    } cases[] = {
        {"desktop from user-dirs.dirs in XDG_CONFIG_HOME",
         {"HOME=@/home", "XDG_CONFIG_HOME=@/config", "XDG_DATA_HOME=@/data"},
         {"home/Schreibtisch/Ondrix.desktop", "home/Desktop/Ondrix.desktop"},
         {"home/Schreibtisch/Ondrix.desktop"},
         {"home/Desktop/Ondrix.desktop"}},
        {"defaults under HOME",
         {"HOME=@/home"},
         {"home/Bureau/Ondrix.desktop", "home/.local/share/applications/Ondrix/x",
          "home/.local/share/applications/Ondrix.desktop", "data/applications/Ondrix.desktop"},
         {"home/Bureau/Ondrix.desktop", "home/.local/share/applications/Ondrix",
          "home/.local/share/applications/Ondrix.desktop"},
         {"data/applications/Ondrix.desktop"}},
        {"relative XDG folders are ignored",
         {"HOME=@/home", "XDG_CONFIG_HOME=config", "XDG_DATA_HOME=data"},
         {"home/Bureau/Ondrix.desktop", "home/.local/share/applications/Ondrix.desktop",
          "cwd/data/applications/Ondrix.desktop", "cwd/Elsewhere/Ondrix.desktop"},
         {"home/Bureau/Ondrix.desktop", "home/.local/share/applications/Ondrix.desktop"},
         {"cwd/data/applications/Ondrix.desktop", "cwd/Elsewhere/Ondrix.desktop"}},
        {"no HOME: the steps do nothing",
         {},
         {"cwd/Desktop/Ondrix.desktop", "cwd/Ondrix.desktop", "cwd/Ondrix/x",
          "cwd/.local/share/applications/Ondrix.desktop"},
         {},
         {"cwd/Desktop/Ondrix.desktop", "cwd/Ondrix.desktop", "cwd/Ondrix/x",
          "cwd/.local/share/applications/Ondrix.desktop"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Write("app/install.txt", "");
        box.Files(c.made);
        box.Write("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
        box.Write("home/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
        box.Write("cwd/config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Elsewhere\"\n");
        std::vector<std::string> env;
        for (std::string variable : c.env) {
            if (const auto at = variable.find('@'); at != std::string::npos) {
                variable.replace(at, 1, box.Path("").parent_path().string());
            }
            env.push_back(variable);
        }
        ExpectSuccess(box.Run(env));
        ExpectRemoved(box, c.removed);
        ExpectKept(box, c.kept);
    }
}

TEST(UninstallRun, UnreadableLogStopsBeforeRemovingAnything) {
    Sandbox box;
    box.Files(kInstallFiles);
    box.Files(Sandbox::ShellItems());
    std::string why;
    const auto prefix = Unprivileged(box, why);
    if (!prefix) GTEST_SKIP() << why;
    box.Write("app/install.txt", "a.txt\r\n");
    if (::geteuid() == 0 && ::lchown(box.Path("app/install.txt").c_str(), kNobody, kNobody) != 0) {
        FAIL() << "lchown failed";
    }
    fs::permissions(box.Path("app/install.txt"), fs::perms::none);
    const auto before = box.Tree();

    const Outcome outcome = box.Run(box.Env(), *prefix);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Cannot open file \"" + box.Path("app/install.txt").string() +
                               "\". Permission denied\r\n");
    EXPECT_EQ(box.Tree(), before);
}

TEST(UninstallRun, LogLockedByAWriterStopsBeforeRemovingAnything) {
    Sandbox box;
    box.Files(kInstallFiles);
    box.Files(Sandbox::ShellItems());
    box.Write("app/install.txt", "a.txt\r\n");
    const int fd = ::open(box.Path("app/install.txt").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const auto before = box.Tree();

    const Outcome outcome = box.Run();
    ::close(fd);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Cannot open file \"" + box.Path("app/install.txt").string() +
                               "\". Resource temporarily unavailable\r\n");
    EXPECT_EQ(box.Tree(), before);
}

TEST(UninstallRun, UndeletableFilesAreNotRetried) {
    Sandbox box;
    constexpr int kCount = 200;
    for (int i = 0; i < kCount; ++i) {
        box.Write("data/applications/Ondrix/locked/f" + std::to_string(i), "x");
    }
    box.Files({"data/applications/Ondrix/free.txt", "data/applications/" + Shortcut()});
    std::string why;
    const auto prefix = Unprivileged(box, why);
    if (!prefix) GTEST_SKIP() << why;
    box.Write("app/install.txt", "");
    fs::permissions(box.Path("data/applications/Ondrix/locked"),
                    fs::perms::owner_read | fs::perms::owner_exec);

    const Outcome outcome = box.Run(box.Env(), *prefix);
    ExpectSuccess(outcome);
    // A permission error never clears by waiting: the run must not stall on such files. The
    // bound is generous; retrying each file for even a tenth of a second would take 20 s.
    EXPECT_LT(outcome.elapsed, std::chrono::seconds(2));
    ExpectRemoved(box, {"data/applications/Ondrix/free.txt", "data/applications/" + Shortcut()});
    ExpectKept(box, {"data/applications/Ondrix/locked/f0", "data/applications/Ondrix/locked/f199"});
}

TEST(UninstallRun, EntriesNeverPassThroughLinks) {
    const struct {
        const char* name;
        std::string log;
        std::vector<std::pair<std::string, std::string>> links;  // link, target
        Paths removed;
        Paths kept;
    } cases[] = {
        {"linked subfolder",
         "data\\thesis.odt\r\n",
         {{"app/data", "outside/docs"}},
         {},
         {"outside/docs/thesis.odt", "app/data"}},
        {"link in the middle of the path",
         "sub\\mid\\deep\\f.txt\r\nsub\\d.txt\r\n",
         {{"app/sub/mid", "outside/tree"}},
         {"app/sub/d.txt"},
         {"outside/tree/deep/f.txt", "app/sub/mid"}},
        {"entry naming a link to an outside file",
         "flink\r\n",
         {{"app/flink", "outside/file.txt"}},
         {"app/flink"},
         {"outside/file.txt"}},
        {"entry naming a link to an outside folder",
         "dlink\r\ndlink\\kept.txt\r\n",
         {{"app/dlink", "outside/tree"}},
         {"app/dlink"},
         {"outside/tree/kept.txt", "outside/tree/deep/f.txt"}},
        {"link to the install folder itself",
         "self\\a.txt\r\n",
         {{"app/self", "app"}},
         {},
         {"app/a.txt", "app/self"}},
        // A relative link that stays inside the install folder is still a link.
        {"relative link to a folder inside",
         "rel\\d.txt\r\nup\\sub\\d.txt\r\n",
         {{"app/rel", "./sub"}, {"app/sub/up", "./.."}},
         {},
         {"app/sub/d.txt", "app/rel", "app/sub/up"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files({"app/a.txt", "app/sub/d.txt", "outside/docs/thesis.odt",
                   "outside/tree/deep/f.txt", "outside/tree/kept.txt", "outside/file.txt"});
        for (const auto& [link, target] : c.links) {
            // A target starting with "./" is written as it stands, relative to the link.
            const fs::path to =
                target.starts_with("./") ? fs::path(target.substr(2)) : box.Path(target);
            fs::create_symlink(to, box.Path(link));
        }
        box.Write("app/install.txt", c.log);

        ExpectSuccess(box.Run());
        ExpectRemoved(box, c.removed);
        ExpectKept(box, c.kept);
    }
}

// A prefix that runs the program in a private mount namespace after bind-mounting each pair
// (source, mount point) below the sandbox, or why that cannot be done here. The mounts vanish
// with the namespace when the program ends.
std::optional<Paths> WithBindMounts(const Sandbox& box,
                                    const std::vector<std::pair<std::string, std::string>>& binds,
                                    std::string& why) {
    if (::geteuid() != 0) {
        why = "mounting needs root";
        return std::nullopt;
    }
    std::string script;
    Paths arguments;
    for (const auto& [source, target] : binds) {
        const std::size_t n = arguments.size();
        script += "mount --bind \"$" + std::to_string(n + 1) + "\" \"$" + std::to_string(n + 2) +
                  "\" && ";
        arguments.push_back(box.Path(source).string());
        arguments.push_back(box.Path(target).string());
    }
    script += "exec \"$" + std::to_string(arguments.size() + 1) + "\"";
    Paths prefix = {"/usr/bin/unshare", "-m", "--propagation", "private",
                    "/bin/sh",          "-c", script,          "sh"};
    prefix.insert(prefix.end(), arguments.begin(), arguments.end());
    // Before any log exists a run changes nothing; it shows whether mounting works here.
    const Outcome probe = box.Run(box.Env(), prefix);
    if (probe.exit_code != 0 || probe.out != kNotFound) {
        why = "cannot mount in a private mount namespace here: " + probe.err;
        return std::nullopt;
    }
    return prefix;
}

TEST(UninstallRun, NeverRemovesAnythingOnAnotherMount) {
    Sandbox box;
    box.Files({"outside/share/f.txt", "outside/share/sub/g.txt", "outside/held.txt", "app/a.txt",
               "data/applications/Ondrix/other.txt", "data/applications/Ondrix/held.txt",
               "data/applications/Ondrix/deep/x.txt"});
    box.Folders({"app/mnt", "data/applications/Ondrix/deep/mnt"});
    std::string why;
    const auto prefix = WithBindMounts(box,
                                       {{"outside/share", "data/applications/Ondrix/deep/mnt"},
                                        {"outside/share", "app/mnt"},
                                        {"outside/held.txt", "data/applications/Ondrix/held.txt"}},
                                       why);
    if (!prefix) GTEST_SKIP() << why;
    box.Write("app/install.txt", "mnt\\f.txt\r\nmnt\\sub\\g.txt\r\na.txt\r\n");

    ExpectSuccess(box.Run(box.Env(), *prefix));
    ExpectRemoved(box, {"app/a.txt", "data/applications/Ondrix/other.txt",
                        "data/applications/Ondrix/deep/x.txt"});
    // The mounted folder is not entered; it stays, and so do the folders above it. A file
    // mounted over a group file cannot be deleted either.
    ExpectKept(box, {"outside/share/f.txt", "outside/share/sub/g.txt", "outside/held.txt",
                     "data/applications/Ondrix/deep/mnt", "data/applications/Ondrix/held.txt"});
}

TEST(UninstallRun, ShortcutStepsLeaveFoldersOfTheShortcutsName) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Files({"data/applications/" + Shortcut() + "/keep.txt",
               "home/Desktop/" + Shortcut() + "/keep.txt", "outside/dir/keep.txt"});
    fs::create_directories(box.Path("data/applications/Ondrix"));
    fs::create_symlink(box.Path("outside/dir"), box.Path("data/applications/Ondrix/link"));

    ExpectSuccess(box.Run());
    ExpectKept(box, {"data/applications/" + Shortcut() + "/keep.txt",
                     "home/Desktop/" + Shortcut() + "/keep.txt", "outside/dir/keep.txt"});
    ExpectRemoved(box, {"data/applications/Ondrix"});
}

TEST(UninstallRun, ShortcutThatIsALinkLosesTheLinkOnly) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Files({"outside/dir/keep.txt", "outside/file.txt"});
    fs::create_directories(box.Path("data/applications"));
    fs::create_directories(box.Path("home/Desktop"));
    fs::create_symlink(box.Path("outside/dir"), box.Path("data/applications/" + Shortcut()));
    fs::create_symlink(box.Path("outside/file.txt"), box.Path("home/Desktop/" + Shortcut()));

    ExpectSuccess(box.Run());
    ExpectRemoved(box, {"data/applications/" + Shortcut(), "home/Desktop/" + Shortcut()});
    ExpectKept(box, {"outside/dir/keep.txt", "outside/file.txt"});
}

TEST(UninstallRun, UnknownLocationsLeaveTheCurrentFolderAlone) {
    const struct {
        const char* name;
        std::vector<std::string> env;
    } cases[] = {
        {"HOME and XDG variables unset", {"PATH=/usr/bin:/bin"}},
        {"HOME and XDG variables empty", {"HOME=", "XDG_CONFIG_HOME=", "XDG_DATA_HOME="}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Write("app/install.txt", "");
        const Paths decoys = {"cwd/" + Shortcut(), "cwd/Ondrix/x", "cwd/Desktop/" + Shortcut(),
                              "cwd/applications/" + Shortcut()};
        box.Files(decoys);
        const auto before = box.Tree();
        ExpectSuccess(box.Run(c.env));
        EXPECT_EQ(box.Tree(), before);
    }
}

TEST(UninstallRun, MessageComesAfterEveryRemovalStep) {
    Sandbox box;
    std::string log;
    Paths targets;
    for (int i = 0; i < 300; ++i) {
        const std::string name = std::string("f").append(std::to_string(i));
        log.append(name).append("\r\n");
        targets.push_back(std::string("app/").append(name));
        targets.push_back(std::string("data/applications/Ondrix/d")
                              .append(std::to_string(i % 10))
                              .append("/")
                              .append(name));
    }
    targets.push_back("home/Desktop/" + Shortcut());
    targets.push_back("data/applications/" + Shortcut());
    box.Files(targets);
    box.Write("app/install.txt", log);

    // The program waits for a line after its message, so whatever is still there when the
    // message appears was not removed before it.
    Child child(box.Options(box.Env(), {}));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (ReadFile(box.Path("io/out")).empty() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ExpectRemoved(box, targets);
    ExpectRemoved(box, {"data/applications/Ondrix"});
    EXPECT_EQ(ReadFile(box.Path("io/out")), kSuccess);
    child.Write("\n");
    EXPECT_EQ(child.Wait(std::chrono::seconds(10)).exit_code, 0);
}

TEST(UninstallRun, FailedWriteOfTheMessageEndsWithExitCodeOne) {
    Sandbox box;
    box.Write("app/install.txt", "");
    const Outcome outcome = box.Run(box.Env(), {}, "/dev/full");
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.err, "Cannot write to standard output. No space left on device\r\n");
}

TEST(UninstallRun, HandlesHugeLogs) {
    const struct {
        const char* name;
        std::string log;
    } cases[] = {
        {"a million empty lines", "a.txt\n" + std::string(1'000'000, '\n') + "b.txt"},
        {"100 MB", "a.txt\r\n" + std::string(100'000'000, 'x') + "\r\nb.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files({"app/a.txt", "app/b.txt", "app/c.txt"});
        box.Write("app/install.txt", c.log);
        const Outcome outcome = box.Run();
        ExpectSuccess(outcome);
        EXPECT_LT(outcome.elapsed, std::chrono::seconds(20));
        ExpectRemoved(box, {"app/a.txt", "app/b.txt"});
        ExpectKept(box, {"app/c.txt"});
    }
}

// Runs with the swap library preloaded (see swap_shim.cpp); each setting is "NAME=value",
// "@" standing for the sandbox root.
Outcome RunWithSwap(const Sandbox& box, const std::vector<std::string>& settings) {
    std::vector<std::string> env = box.Env();
    env.push_back("LD_PRELOAD="s + SWAP_SHIM);
    // A sanitizer build wants its runtime first; the preloaded library comes before it.
    env.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
    for (const std::string& setting : settings) env.push_back(box.Expand(setting));
    return box.Run(env);
}

TEST(UninstallRun, DesktopSettingWithAControlCharacterNamesNoFolder) {
    const struct {
        const char* name;
        std::string line;
    } cases[] = {
        {"NUL after the path of a file", "XDG_DESKTOP_DIR=\"@/outside/victim\0\"\n"s},
        {"NUL after a path under HOME", "XDG_DESKTOP_DIR=\"$HOME/victim\0\"\n"s},
        {"tab", "XDG_DESKTOP_DIR=\"$HOME/Desk\ttop\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Write("app/install.txt", "");
        const Paths kept = {"outside/victim", "home/victim", "home/Desk\ttop/" + Shortcut(),
                            "home/Desktop/" + Shortcut()};
        box.Files(kept);
        box.Files({"data/applications/" + Shortcut()});
        box.Write("config/user-dirs.dirs", box.Expand(c.line));

        // The desktop step does nothing; the other steps run.
        ExpectSuccess(box.Run());
        ExpectKept(box, kept);
        ExpectRemoved(box, {"data/applications/" + Shortcut()});
    }
}

TEST(UninstallRun, GroupFolderThatIsAMountPointIsNotEntered) {
    Sandbox box;
    box.Files({"outside/share/f.txt", "outside/share/sub/g.txt", "outside/held.txt",
               "home/Desktop/" + Shortcut(), "data/applications/" + Shortcut()});
    box.Folders({"data/applications/Ondrix"});
    std::string why;
    const auto prefix = WithBindMounts(box,
                                       {{"outside/share", "data/applications/Ondrix"},
                                        {"outside/held.txt", "home/Desktop/" + Shortcut()}},
                                       why);
    if (!prefix) GTEST_SKIP() << why;
    box.Write("app/install.txt", "");

    ExpectSuccess(box.Run(box.Env(), *prefix));
    ExpectKept(box, {"outside/share/f.txt", "outside/share/sub/g.txt", "outside/held.txt"});
    ExpectRemoved(box, {"data/applications/" + Shortcut()});
}

TEST(UninstallRun, InstallFolderSwappedForALinkDuringTheRun) {
    const struct {
        const char* name;
        const char* when;
        int exit_code;
        std::string out;
        Paths removed;
        Paths kept;
    } cases[] = {
        // The entries after the first still go in the folder the run started in.
        {"after the first deletion",
         "unlinkat",
         0,
         kSuccess,
         {"app.moved/a.txt", "app.moved/sub/b.txt", "app.moved/c.txt"},
         {"decoy/a.txt", "decoy/sub/b.txt", "decoy/c.txt"}},
        // The folder the program's path now leads to does not hold the running program.
        {"after the program read its own path",
         "readlink",
         1,
         "",
         {},
         {"app.moved/a.txt", "decoy/a.txt", "decoy/sub/b.txt", "decoy/c.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        const std::string log = "a.txt\r\nsub\\b.txt\r\nc.txt\r\n";
        box.Files({"app/a.txt", "app/sub/b.txt", "app/c.txt", "decoy/a.txt", "decoy/sub/b.txt",
                   "decoy/c.txt"});
        box.Write("app/install.txt", log);
        box.Write("decoy/install.txt", log);
        fs::copy_file(UNINSTALL_PROGRAM, box.Path("decoy/uninstall"));

        const Outcome outcome = RunWithSwap(
            box,
            {"ONDRIX_SWAP_WHEN="s + c.when, "ONDRIX_SWAP_PATH=@/app", "ONDRIX_SWAP_LINK=@/decoy"});
        EXPECT_EQ(outcome.exit_code, c.exit_code);
        EXPECT_EQ(outcome.out, c.out);
        if (c.exit_code != 0) {
            EXPECT_TRUE(outcome.err.starts_with("Cannot find the program's own folder. "))
                << outcome.err;
        }
        ExpectRemoved(box, c.removed);
        ExpectKept(box, c.kept);
    }
}

TEST(UninstallRun, LogIsReadOnlyWhenItEndsAtAFile) {
    const struct {
        const char* name;
        const char* put_instead;  // what the log is swapped for just before it is opened
        std::string out;
    } cases[] = {
        {"named pipe", "fifo", kNotFound},
        {"link to a device", "/dev/zero", kNotFound},
        {"link to a file", "@/outside/log.txt", kSuccess},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files({"app/a.txt", "app/b.txt"});
        box.Files(Sandbox::ShellItems());
        box.Write("app/install.txt", "a.txt\r\n");
        box.Write("outside/log.txt", "b.txt\r\n");

        const Outcome outcome = RunWithSwap(
            box, {"ONDRIX_SWAP_WHEN=open", "ONDRIX_SWAP_NAME=install.txt",
                  "ONDRIX_SWAP_PATH=@/app/install.txt", "ONDRIX_SWAP_LINK="s + c.put_instead});
        EXPECT_EQ(outcome.exit_code, 0);
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, "");
        ExpectKept(box, {"app/a.txt", "outside/log.txt"});
        if (c.out == kNotFound) {
            ExpectKept(box, Sandbox::ShellItems());
            ExpectKept(box, {"app/b.txt"});
        } else {
            ExpectRemoved(box, {"app/b.txt"});
        }
    }
}

// A prefix that bounds the program's address space, or nothing under a sanitizer, whose
// runtime needs more address space than any such bound leaves.
Paths MemoryLimit(long bytes) {
#if defined(__SANITIZE_ADDRESS__)
    (void)bytes;
    return {};
#else
    return {"/usr/bin/prlimit", "--as=" + std::to_string(bytes)};
#endif
}

TEST(UninstallRun, DamagedLogsNeedLittleMemory) {
    std::string pairs;
    for (int i = 0; i < (32 << 20); ++i) pairs += "a/";
    const struct {
        const char* name;
        std::string log;
        std::uintmax_t sparse_size;  // the file is then extended to this size with NULs
    } cases[] = {
        {"64 MiB line of a/ pairs", "a.txt\r\n" + pairs + "\r\nb.txt", 0},
        {"64 GiB file ended by a NUL", "a.txt\r\nb.txt\r\n", 64ULL << 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        box.Files({"app/a.txt", "app/b.txt", "app/c.txt"});
        box.Write("app/install.txt", c.log);
        if (c.sparse_size != 0) fs::resize_file(box.Path("app/install.txt"), c.sparse_size);
        ExpectSuccess(box.Run(box.Env(), MemoryLimit(512L << 20)));
        ExpectRemoved(box, {"app/a.txt", "app/b.txt"});
        ExpectKept(box, {"app/c.txt"});
    }
}

TEST(UninstallRun, LogTooBigForMemoryStopsBeforeRemovingAnything) {
    const Paths limit = MemoryLimit(128L << 20);
    if (limit.empty()) GTEST_SKIP() << "a sanitizer's runtime cannot run with little memory";
    Sandbox box;
    box.Files({"app/a.txt"});
    box.Files(Sandbox::ShellItems());
    box.Write("app/install.txt", "a.txt\r\n" + std::string(200 << 20, 'x'));
    const auto before = box.Tree();

    const Outcome outcome = box.Run(box.Env(), limit);
    EXPECT_EQ(outcome.exit_code, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Cannot open file \"" + box.Path("app/install.txt").string() +
                               "\". Cannot allocate memory\r\n");
    EXPECT_EQ(box.Tree(), before);
}

// Makes a chain of `depth` folders named "d" below `top` (deeper than any path can name),
// with the file "last.txt" in the deepest.
void MakeChain(const fs::path& top, int depth) {
    int fd = ::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    const int file = ::openat(fd, "last.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    ::close(file);
    ::close(fd);
}

TEST(UninstallRun, RemovesAGroupOfAnyDepthWithFewDescriptors) {
    Sandbox box;
    box.Write("app/install.txt", "");
    box.Folders({"data/applications/Ondrix"});
    MakeChain(box.Path("data/applications/Ondrix"), 4000);
    box.Files({"data/applications/Ondrix/d/other.txt"});
    // A small stack and few descriptors: neither may bound the depth.
    const Paths limits = {"/usr/bin/prlimit", "--nofile=32", "--stack=262144"};

    ExpectSuccess(box.Run(box.Env(), limits));
    ExpectRemoved(box, {"data/applications/Ondrix"});
}

TEST(UninstallRun, RemovalStopsWhereAFolderAboveWasMovedAway) {
    Sandbox box;
    box.Write("app/install.txt", "");
    std::string chain = "data/applications/Ondrix";
    for (int i = 1; i <= 40; ++i) chain += "/d" + std::to_string(i);
    box.Files({chain + "/last.txt"});
    // A victim named like a folder of the chain, in the folder the moved one now lies in.
    box.Folders({"outside/x", "outside/d4"});

    // Once the deepest file is gone, d5 (with everything below it) is moved out of the group:
    // the way back up from it leads elsewhere and must not be taken.
    const Outcome outcome =
        RunWithSwap(box, {"ONDRIX_SWAP_WHEN=unlinkat",
                          "ONDRIX_SWAP_PATH=@/data/applications/Ondrix/d1/d2/d3/d4/d5",
                          "ONDRIX_SWAP_TO=@/outside/x/d5"});
    ExpectSuccess(outcome);
    ExpectKept(box, {"outside/d4", "outside/x/d5"});
    ExpectRemoved(box, {"outside/x/d5/d6"});
}

}  // namespace
}  // namespace ondrix::uninstall::testing
