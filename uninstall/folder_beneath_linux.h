// Linux: reaching a folder below another one without leaving it through a link or a mount.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ondrix::uninstall {

// Owns a file descriptor and closes it on every way out.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(-1); }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

enum class ResolveWay {
    Kernel,  // openat2() resolves the whole folder path under the kernel's rules; where the
             // kernel lacks it, Walk is used instead
    Walk,    // one component at a time, comparing mount ids
};

// Opens (O_PATH) the folder reached from the open folder `base` through `folders`, one name
// after the other. Fails (returns -1 with errno set) when any of them is a symbolic link, is
// not a folder, or is a mount point or lies on another mount than `base`: st_dev alone would
// miss a bind mount of the same file system, so mounts are told apart by their mount ids. An
// empty list opens `base` itself.
int OpenFolderBeneath(int base, const std::vector<std::string>& folders, ResolveWay way);

// The id of the mount that the open item lies on, or nothing when the kernel does not say.
std::optional<std::uint64_t> MountId(int fd);

}  // namespace ondrix::uninstall
