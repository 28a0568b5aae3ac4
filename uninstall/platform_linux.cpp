// Linux: the program's own path from /proc/self/exe, XDG folders for the shell folders, and
// POSIX calls where std::filesystem would do more than asked (remove() also removes empty
// folders, directory iteration follows a link given as the start folder).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "folder_beneath_linux.h"
#include "platform.h"
#include "xdg_user_dirs.h"

namespace ondrix::uninstall {
namespace {

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

// A folder being emptied: its descriptor and the mount of the folder the removal started in.
class LinuxFolder : public OpenFolder {
  public:
    LinuxFolder(int fd, std::uint64_t start_mount) : fd_(fd), start_mount_(start_mount) {}

    std::vector<FolderItem> List() override {
        std::vector<FolderItem> items;
        // The listing gets its own descriptor; closedir() closes that one, not fd_.
        DIR* dir = ::fdopendir(::openat(fd_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir == nullptr) return items;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            ItemKind kind = ItemKind::Other;
            struct stat info {};
            if (::fstatat(fd_.get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
                kind = KindOfMode(info.st_mode);
            }
            items.push_back({name, kind});
        }
        ::closedir(dir);
        return items;
    }

    std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) override {
        FileDescriptor sub(
            ::openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sub.get() < 0 || MountId(sub.get()) != start_mount_) return nullptr;
        return std::make_unique<LinuxFolder>(sub.release(), start_mount_);
    }

    DeleteResult DeleteItem(const std::string& name) override {
        return UnlinkResult(::unlinkat(fd_.get(), name.c_str(), 0));
    }

    bool RemoveSubfolder(const std::string& name) override {
        return ::unlinkat(fd_.get(), name.c_str(), AT_REMOVEDIR) == 0;
    }

  private:
    FileDescriptor fd_;
    std::uint64_t start_mount_;
};

// An environment variable holding an absolute path; XDG treats relative values as unset.
std::string AbsolutePathVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') return {};
    return value;
}

// Reads a small settings file; empty when it cannot be read.
std::string ReadSettingsFile(const std::string& path) {
    try {
        if (FindLog(path) == LogPresence::Missing) return {};
        return ReadWholeFile(path);
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

}  // namespace

void PrepareConsole() {
    std::signal(SIGPIPE, SIG_IGN);
}

std::string InstallFolder() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    const std::size_t slash = program.rfind('/');
    if (error || slash == std::string::npos) {
        throw std::runtime_error("Cannot find the program's own folder. " + error.message());
    }
    return program.substr(0, slash + 1);
}

LogPresence FindLog(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? LogPresence::Missing : LogPresence::Present;
    }
    // Only a file holds a log; reading a pipe or a device could block or never end.
    return S_ISREG(info.st_mode) ? LogPresence::Present : LogPresence::Missing;
}

std::string ReadWholeFile(const std::string& path) {
    // O_NONBLOCK keeps a pipe put in the log's place since FindLog from blocking the open.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) throw LogReadError(std::strerror(errno));
    // Writers that take the customary lock on the file are shut out while it is read, and a
    // writer holding it makes the read fail rather than see half a log.
    if (::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        throw LogReadError(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw LogReadError(std::strerror(errno));
    if (!S_ISREG(info.st_mode)) throw LogReadError(std::strerror(EINVAL));

    std::string bytes;
    try {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char chunk[1 << 16];
        for (;;) {
            const ssize_t n = ::read(file.get(), chunk, sizeof chunk);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                throw LogReadError(std::strerror(errno));
            }
            bytes.append(chunk, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        throw LogReadError(std::strerror(ENOMEM));
    } catch (const std::length_error&) {
        throw LogReadError(std::strerror(EFBIG));
    }
    return bytes;
}

DeleteResult DeleteEntry(const std::string& install_folder, const EntryParts& entry) {
    const FileDescriptor base(::open(install_folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (base.get() < 0) return DeleteResult::Failed;
    const FileDescriptor folder(OpenFolderBeneath(base.get(), entry.folders, ResolveWay::Kernel));
    if (folder.get() < 0) return DeleteResult::Failed;
    // Without AT_REMOVEDIR a folder is never removed; a link goes itself.
    return UnlinkResult(::unlinkat(folder.get(), entry.name.c_str(), 0));
}

DeleteResult DeleteFileOrLink(const std::string& path) {
    // unlink() never removes a folder and never follows a link in the last component.
    return UnlinkResult(::unlink(path.c_str()));
}

bool RemoveEmptyFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

ItemKind KindOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return ItemKind::Missing;
    return KindOfMode(info.st_mode);
}

std::unique_ptr<OpenFolder> OpenRemovalStart(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0) return nullptr;
    const auto mount = MountId(fd.get());
    // Without mount ids a mount point inside could not be recognised: nothing is entered.
    if (!mount) return nullptr;
    return std::make_unique<LinuxFolder>(fd.release(), *mount);
}

std::string GetShellFolder(const std::string& value_name) {
    if (value_name == "Desktop") return DesktopFolder();
    if (value_name == "Programs") return ProgramsFolder();
    return {};
}

}  // namespace ondrix::uninstall
