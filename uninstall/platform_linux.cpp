// Linux: the program's own path from /proc/self/exe, XDG folders for the shell folders, and
// POSIX calls on descriptors where std::filesystem would do more than asked (remove() also
// removes empty folders, directory iteration follows a link given as the start folder) or
// would look a path up again.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <new>

#include "folder_beneath_linux.h"
#include "install_log.h"
#include "platform.h"
#include "xdg_user_dirs.h"

namespace ondrix::uninstall {
namespace {

constexpr char kOwnProgram[] = "/proc/self/exe";
constexpr std::size_t kReadPiece = 1 << 16;

ItemKind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) return ItemKind::Folder;
    if (S_ISLNK(mode)) return ItemKind::Link;
    return ItemKind::Other;
}

DeleteResult UnlinkResult(int rc) {
    if (rc == 0) return DeleteResult::Deleted;
    switch (errno) {
        case ENOENT:
        case ENOTDIR:
            return DeleteResult::Missing;
        // The only errors that can clear by themselves: the item is in use as a mount point or
        // a running program. Permission errors and read-only file systems never do.
        case EBUSY:
        case ETXTBSY:
            return DeleteResult::Busy;
        default:
            return DeleteResult::Failed;
    }
}

enum class ReadUpTo { FirstNul, End };

// The regular file `name` in the folder `dir` (a link to one counts), read whole or up to its
// first NUL; nothing when there is no such file. The item is looked up once, without opening
// it (O_PATH), and is only opened for reading once it is known to be a regular file: a pipe
// or a device put in its place is never opened, so no writer waiting on a pipe is released
// and no device acts on the open. Throws LogReadError.
std::optional<std::string> ReadRegularFile(int dir, const char* name, ReadUpTo up_to) {
    const FileDescriptor item(::openat(dir, name, O_PATH | O_CLOEXEC));
    if (item.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throw LogReadError(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(item.get(), &info) != 0) throw LogReadError(std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return std::nullopt;
    // Opening the descriptor's own entry in /proc reaches the very file examined, with the
    // access checks of an ordinary open.
    const std::string reopen = "/proc/self/fd/" + std::to_string(item.get());
    const FileDescriptor file(::open(reopen.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) throw LogReadError(std::strerror(errno));
    // Writers that take the customary lock on the file are shut out while it is read, and a
    // writer holding it makes the read fail rather than see half a log.
    if (::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        throw LogReadError(std::strerror(errno));
    }

    std::string bytes;
    try {
        std::unique_ptr<char[]> piece(new char[kReadPiece]);
        for (;;) {
            const ssize_t n = ::read(file.get(), piece.get(), kReadPiece);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                throw LogReadError(std::strerror(errno));
            }
            const std::string_view got(piece.get(), static_cast<std::size_t>(n));
            if (up_to == ReadUpTo::End) {
                bytes.append(got);
            } else if (!AppendLogPiece(bytes, got)) {
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        throw LogReadError(std::strerror(ENOMEM));
    } catch (const std::length_error&) {
        throw LogReadError(std::strerror(EFBIG));
    }
    return bytes;
}

// What tells one folder from every other while both exist.
struct Identity {
    dev_t device;
    ino_t inode;
    std::uint64_t mount;

    bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(int fd) {
    struct stat info {};
    const auto mount = MountId(fd);
    if (!mount || ::fstat(fd, &info) != 0) return std::nullopt;
    return Identity{info.st_dev, info.st_ino, *mount};
}

// A folder being emptied: its descriptor (closed while released), its identity and the mount
// of the folder the removal started in.
class LinuxFolder : public OpenFolder {
  public:
    LinuxFolder(FileDescriptor fd, Identity self, std::uint64_t start_mount)
        : fd_(std::move(fd)), self_(self), start_mount_(start_mount) {}

    std::vector<FolderItem> List() override {
        std::vector<FolderItem> items;
        // The listing gets its own descriptor; closedir() closes that one, not fd_.
        DIR* dir = ::fdopendir(::openat(fd_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir == nullptr) return items;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            items.push_back({std::string(name), KindOfEntry(*entry)});
        }
        ::closedir(dir);
        return items;
    }

    ItemKind KindOf(const std::string& name) override {
        struct stat info {};
        if (::fstatat(fd_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            return ItemKind::Missing;
        }
        return KindOfMode(info.st_mode);
    }

    std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) override {
        FileDescriptor sub(
            ::openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sub.get() < 0) return nullptr;
        // A mount point has the mount id of what is mounted on it, not of the folder holding it.
        const auto identity = IdentityOf(sub.get());
        if (!identity || identity->mount != start_mount_) return nullptr;
        return std::make_unique<LinuxFolder>(std::move(sub), *identity, start_mount_);
    }

    void Release() override { fd_.reset(-1); }

    bool Reacquire(OpenFolder& child) override {
        if (fd_.get() >= 0) return true;
        const int below = static_cast<LinuxFolder&>(child).fd_.get();
        FileDescriptor up(::openat(below, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (up.get() < 0 || IdentityOf(up.get()) != self_) return false;
        fd_.reset(up.release());
        return true;
    }

    DeleteResult DeleteItem(const std::string& name) override {
        return UnlinkResult(::unlinkat(fd_.get(), name.c_str(), 0));
    }

    bool RemoveSubfolder(const std::string& name) override {
        return ::unlinkat(fd_.get(), name.c_str(), AT_REMOVEDIR) == 0;
    }

  private:
    // The kind the listing gives; only file systems that leave it open cost a look-up.
    ItemKind KindOfEntry(const dirent& entry) {
        switch (entry.d_type) {
            case DT_DIR:
                return ItemKind::Folder;
            case DT_LNK:
                return ItemKind::Link;
            case DT_UNKNOWN:
                return KindOf(entry.d_name);
            default:
                return ItemKind::Other;
        }
    }

    FileDescriptor fd_;
    Identity self_;
    std::uint64_t start_mount_;
};

class LinuxInstallFolder : public InstallFolder {
  public:
    LinuxInstallFolder(std::string path, FileDescriptor fd)
        : path_(std::move(path)), fd_(std::move(fd)) {}

    const std::string& Path() const override { return path_; }

    std::optional<std::string> ReadLog(const std::string& name) override {
        return ReadRegularFile(fd_.get(), name.c_str(), ReadUpTo::FirstNul);
    }

    DeleteResult DeleteEntry(const EntryParts& entry) override {
        const FileDescriptor folder(
            OpenFolderBeneath(fd_.get(), entry.folders, ResolveWay::Kernel));
        if (folder.get() < 0) return DeleteResult::Failed;
        // Without AT_REMOVEDIR a folder is never removed; a link goes itself.
        return UnlinkResult(::unlinkat(folder.get(), entry.name.c_str(), 0));
    }

  private:
    std::string path_;
    FileDescriptor fd_;
};

// An environment variable holding an absolute path; XDG treats relative values as unset.
std::string AbsolutePathVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    return value;
}

// Reads a small settings file; empty when it cannot be read or is not a regular file.
std::string ReadSettingsFile(const std::string& path) {
    try {
        return ReadRegularFile(AT_FDCWD, path.c_str(), ReadUpTo::End).value_or(std::string());
    } catch (const LogReadError&) {
        return {};
    }
}

std::string DesktopFolder() {
    const std::string home = AbsolutePathVariable("HOME");
    std::string config = AbsolutePathVariable("XDG_CONFIG_HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (!config.empty()) {
        const std::string text = ReadSettingsFile(config + "/user-dirs.dirs");
        if (auto dir = UserDirFromConfig(text, "XDG_DESKTOP_DIR", home)) return *dir;
    }
    return home.empty() ? std::string() : home + "/Desktop";
}

std::string ProgramsFolder() {
    const std::string data = AbsolutePathVariable("XDG_DATA_HOME");
    if (!data.empty()) return data + "/applications";
    const std::string home = AbsolutePathVariable("HOME");
    return home.empty() ? std::string() : home + "/.local/share/applications";
}

[[noreturn]] void OwnFolderNotFound(const std::string& reason) {
    throw std::runtime_error("Cannot find the program's own folder. " + reason);
}

}  // namespace

void PrepareConsole() {
    std::signal(SIGPIPE, SIG_IGN);
}

std::unique_ptr<InstallFolder> OpenInstallFolder() {
    std::string program(PATH_MAX, '\0');
    const ssize_t length = ::readlink(kOwnProgram, program.data(), program.size());
    if (length < 0) OwnFolderNotFound(std::strerror(errno));
    program.resize(static_cast<std::size_t>(length));
    const std::size_t slash = program.rfind('/');
    if (static_cast<std::size_t>(length) >= PATH_MAX || slash == std::string::npos) {
        OwnFolderNotFound(std::strerror(ENAMETOOLONG));
    }
    std::string folder = program.substr(0, slash + 1);
    FileDescriptor fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) OwnFolderNotFound(std::strerror(errno));
    // The folder opened must be the one that holds the running program: the path read above
    // may lead elsewhere by now.
    struct stat running {
    }, found{};
    if (::stat(kOwnProgram, &running) != 0 ||
        ::fstatat(fd.get(), program.c_str() + slash + 1, &found, AT_SYMLINK_NOFOLLOW) != 0 ||
        running.st_dev != found.st_dev || running.st_ino != found.st_ino) {
        OwnFolderNotFound("It no longer holds the running program.");
    }
    return std::make_unique<LinuxInstallFolder>(std::move(folder), std::move(fd));
}

DeleteResult DeleteFileOrLink(const std::string& path) {
    // unlink() never removes a folder and never follows a link in the last component.
    return UnlinkResult(::unlink(path.c_str()));
}

bool RemoveEmptyFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

std::unique_ptr<OpenFolder> OpenShellFolder(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0) return nullptr;
    // Without mount ids a mount point inside could not be recognised: nothing is entered.
    const auto identity = IdentityOf(fd.get());
    if (!identity) return nullptr;
    return std::make_unique<LinuxFolder>(std::move(fd), *identity, identity->mount);
}

std::string GetShellFolder(const std::string& value_name) {
    if (value_name == "Desktop") return DesktopFolder();
    if (value_name == "Programs") return ProgramsFolder();
    return {};
}

}  // namespace ondrix::uninstall
