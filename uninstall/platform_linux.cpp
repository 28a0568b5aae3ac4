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

#include "platform.h"
#include "xdg_user_dirs.h"

namespace ondrix::uninstall {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

ItemKind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) return ItemKind::Folder;
    if (S_ISLNK(mode)) return ItemKind::Link;
    return ItemKind::Other;
}

DeleteResult UnlinkResult(int rc) {
    if (rc == 0) return DeleteResult::Deleted;
    return errno == ENOENT || errno == ENOTDIR ? DeleteResult::Missing : DeleteResult::Failed;
}

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

DeleteResult DeleteOneFile(const std::string& path, bool /*clear_read_only*/) {
    // unlink() never removes a folder; file modes do not stop it, only the folder's.
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

DeleteResult RemoveLink(const std::string& path) {
    return UnlinkResult(::unlink(path.c_str()));
}

std::vector<FolderItem> ListFolder(const std::string& path) {
    std::vector<FolderItem> items;
    // O_NOFOLLOW | O_DIRECTORY: a link in the folder's place, or anything else, gives nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) return items;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return items;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        ItemKind kind = ItemKind::Other;
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            kind = KindOfMode(info.st_mode);
        }
        items.push_back({name, kind});
    }
    ::closedir(dir);
    return items;
}

std::string GetShellFolder(const std::string& value_name) {
    if (value_name == "Desktop") return DesktopFolder();
    if (value_name == "Programs") return ProgramsFolder();
    return {};
}

}  // namespace ondrix::uninstall
