#include "folder_beneath_linux.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace ondrix::uninstall {
namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;

int OpenSelf(int base) {
    return ::openat(base, ".", kFolderFlags);
}

// -1 with errno ENOSYS when the kernel (or a sandbox filter in front of it) lacks openat2.
int OpenWithKernelRules(int base, const std::vector<std::string>& folders) {
    std::string path;
    for (const std::string& folder : folders) {
        if (!path.empty()) path += '/';
        path += folder;
    }
    open_how how{};
    how.flags = kFolderFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_XDEV;
    const long fd = ::syscall(SYS_openat2, base, path.c_str(), &how, sizeof how);
    // A seccomp filter that does not know the call answers EPERM instead of ENOSYS.
    if (fd < 0 && errno == EPERM) errno = ENOSYS;
    return static_cast<int>(fd);
}

int OpenByWalking(int base, const std::vector<std::string>& folders) {
    const auto base_mount = MountId(base);
    FileDescriptor current(OpenSelf(base));
    for (const std::string& folder : folders) {
        if (current.get() < 0) return -1;
        // Refusing ".." keeps the walk beneath `base` whatever the caller hands in.
        if (folder == "..") {
            errno = EXDEV;
            return -1;
        }
        FileDescriptor next(::openat(current.get(), folder.c_str(), kFolderFlags | O_NOFOLLOW));
        if (next.get() < 0) return -1;
        // Mounts that cannot be told apart count as different: the walk goes nowhere.
        const auto mount = MountId(next.get());
        if (!base_mount || mount != base_mount) {
            errno = EXDEV;
            return -1;
        }
        current.reset(next.release());
    }
    return current.release();
}

}  // namespace

std::optional<std::uint64_t> MountId(int fd) {
    struct statx info {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, STATX_MNT_ID, &info) != 0 ||
        !(info.stx_mask & STATX_MNT_ID)) {
        return std::nullopt;
    }
    return info.stx_mnt_id;
}

int OpenFolderBeneath(int base, const std::vector<std::string>& folders, ResolveWay way) {
    if (folders.empty()) return OpenSelf(base);
    if (way == ResolveWay::Kernel) {
        const int fd = OpenWithKernelRules(base, folders);
        if (fd >= 0 || errno != ENOSYS) return fd;
    }
    return OpenByWalking(base, folders);
}

}  // namespace ondrix::uninstall
