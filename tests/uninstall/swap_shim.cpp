// A preloaded library that swaps an item of the file system at one chosen moment of a run, so
// that a race against the uninstaller happens the same way every time. Set by the environment:
//   ONDRIX_SWAP_WHEN  "readlink"  after the program has read its own path,
//                     "unlinkat"  after the first deletion,
//                     "open"      just before the first open of a path ending in ONDRIX_SWAP_NAME;
//   ONDRIX_SWAP_PATH  the item to swap; it is renamed to ONDRIX_SWAP_TO when that is set, else
//                     to the same path followed by ".moved";
//   ONDRIX_SWAP_LINK  what the symbolic link put in its place points to, or, when it is
//                     "fifo", a named pipe is put there instead; unset: nothing is put there.
// The swap happens once.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool swapped = false;

bool Armed(const char* when) {
    const char* chosen = std::getenv("ONDRIX_SWAP_WHEN");
    return !swapped && chosen != nullptr && std::strcmp(chosen, when) == 0;
}

void Swap() {
    swapped = true;
    const char* path = std::getenv("ONDRIX_SWAP_PATH");
    const char* link = std::getenv("ONDRIX_SWAP_LINK");
    const char* to = std::getenv("ONDRIX_SWAP_TO");
    if (path == nullptr) return;
    const std::string moved = to != nullptr ? std::string(to) : std::string(path) + ".moved";
    if (std::rename(path, moved.c_str()) != 0 || link == nullptr) return;
    if (std::strcmp(link, "fifo") == 0) {
        ::mkfifo(path, 0644);
    } else {
        ::symlink(link, path);
    }
}

bool NamesTheSwapped(const char* path) {
    const char* name = std::getenv("ONDRIX_SWAP_NAME");
    return name != nullptr && std::string_view(path).ends_with(name);
}

template <typename Function>
Function* Next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

ssize_t readlink(const char* path, char* buffer, size_t size) {
    const ssize_t result =
        Next<ssize_t(const char*, char*, size_t)>("readlink")(path, buffer, size);
    if (Armed("readlink") && std::strcmp(path, "/proc/self/exe") == 0) Swap();
    return result;
}

int unlinkat(int dir, const char* path, int flags) {
    const int result = Next<int(int, const char*, int)>("unlinkat")(dir, path, flags);
    if (Armed("unlinkat")) Swap();
    return result;
}

int openat(int dir, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    if (Armed("open") && NamesTheSwapped(path)) Swap();
    return Next<int(int, const char*, int, ...)>("openat")(dir, path, flags, mode);
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = va_arg(arguments, mode_t);
    va_end(arguments);
    if (Armed("open") && NamesTheSwapped(path)) Swap();
    return Next<int(const char*, int, ...)>("open")(path, flags, mode);
}

}  // extern "C"
