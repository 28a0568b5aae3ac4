#include "uninstall.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "entry_path.h"
#include "install_log.h"
#include "platform.h"
#include "remove_tree.h"
#include "shell_folder.h"

namespace ondrix::uninstall {
namespace {

constexpr std::string_view kGroupName = "Ondrix";
constexpr std::string_view kLogName = "install.txt";

void WriteError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

// Writes the outcome line, then reads and drops one line of input; the end of input returns
// at once.
void Report(std::string_view message) {
    if (std::fwrite(message.data(), 1, message.size(), stdout) != message.size() ||
        std::fflush(stdout) != 0) {
        throw std::runtime_error(std::string("Cannot write to standard output. ") +
                                 std::strerror(errno));
    }
    for (int c = std::getchar(); c != '\n'; c = std::getchar()) {
        if (c != EOF) continue;
        if (std::ferror(stdin)) {
            throw std::runtime_error(std::string("Cannot read from standard input. ") +
                                     std::strerror(errno));
        }
        break;
    }
}

// The path of `name` in a shell folder, or nothing when the location is unknown.
std::string InShellFolder(const char* value_name, std::string_view name,
                          std::string_view suffix = {}) {
    const std::string folder = ShellFolder(value_name);
    if (folder.empty()) return {};
    return folder + kSeparator + std::string(name) + std::string(suffix);
}

// Runs one clean-up step; whatever goes wrong in it ends that step alone, silently.
template <typename Step>
void Guarded(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

int Run() {
    PrepareConsole();
    const std::unique_ptr<InstallFolder> folder = OpenInstallFolder();

    // The whole log is in memory before anything is deleted, so an entry naming the log
    // itself does not cut the list short.
    std::optional<std::string> log;
    try {
        log = folder->ReadLog(std::string(kLogName));
    } catch (const LogReadError& error) {
        WriteError("Cannot open file \"" + folder->Path() + std::string(kLogName) + "\". " +
                   error.what() + "\r\n");
        return 1;
    }
    if (!log) {
        Report("Uninstall information not found\r\n");
        return 0;
    }

    ForEachLogEntry(*log, [&folder](std::string_view entry) {
        // An empty entry names the install folder itself, which is never removed; SplitEntry
        // gives nothing for it.
        if (auto parts = SplitEntry(entry, kPathStyle)) folder->DeleteEntry(*parts);
    });

    // Files in use are retried for a limited time, shared by the whole run.
    RetryBudget retries;
    Guarded([] {
        const std::string shortcut = InShellFolder("Desktop", kGroupName, kShortcutSuffix);
        if (!shortcut.empty()) DeleteFileOrLink(shortcut);
    });
    Guarded([&retries] {
        const std::string programs = ShellFolder("Programs");
        if (programs.empty()) return;
        if (auto opened = OpenShellFolder(programs)) {
            RemoveFolderTree(*opened, std::string(kGroupName), retries);
        }
    });
    Guarded([] {
        // The group folder once more, as a step of its own; after a complete tree removal
        // nothing is left and this passes silently.
        const std::string group = InShellFolder("Programs", kGroupName);
        if (!group.empty()) RemoveEmptyFolder(group);
    });
    Guarded([] {
        const std::string shortcut = InShellFolder("Programs", kGroupName, kShortcutSuffix);
        if (!shortcut.empty()) DeleteFileOrLink(shortcut);
    });

    Report("Uninstall successful\r\n");
    return 0;
}

}  // namespace ondrix::uninstall
