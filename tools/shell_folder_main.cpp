// ondrix-shell-folder: prints the folder that the uninstaller takes for a shell folder, so
// that the per-user install (tools/install-user.sh) puts its shortcuts exactly where the
// uninstaller looks for them.
//
//   ondrix-shell-folder Desktop|Programs
//
// Prints the full path without a line end. Exit code 0 with the path, 1 when the location is
// not known (no usable HOME), 2 for a wrong command line.

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform.h"
#include "shell_folder.h"

namespace {

constexpr int kUnknownExitCode = 1;
constexpr int kUsageExitCode = 2;

}  // namespace

int main(int argc, char** argv) {
    const std::string_view name = argc == 2 ? argv[1] : "";
    if (name != "Desktop" && name != "Programs") {
        std::fputs("usage: ondrix-shell-folder Desktop|Programs\n", stderr);
        return kUsageExitCode;
    }
    try {
        const std::string folder = ondrix::uninstall::ShellFolder(std::string(name));
        if (folder.empty()) return kUnknownExitCode;
        std::fwrite(folder.data(), 1, folder.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : kUnknownExitCode;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ondrix-shell-folder: %s\n", error.what());
        return kUnknownExitCode;
    }
}
