// What the uninstaller needs from the operating system. platform_linux.cpp and
// platform_windows.cpp each provide all of it; exactly one of them is built.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "entry_path.h"

namespace ondrix::uninstall {

// A shortcut is a shell link file on Windows and a desktop entry on Linux.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
inline constexpr PathStyle kPathStyle = PathStyle::Windows;
inline constexpr std::string_view kShortcutSuffix = ".lnk";
#else
inline constexpr char kSeparator = '/';
inline constexpr PathStyle kPathStyle = PathStyle::Posix;
inline constexpr std::string_view kShortcutSuffix = ".desktop";
#endif

// Makes the console write bytes as given (no line-end translation) and turns a closed output
// pipe into a write error instead of a silent end of the process.
void PrepareConsole();

// The folder holding the running program file, ending in kSeparator. Throws std::runtime_error.
std::string InstallFolder();

enum class LogPresence { Missing, Present };

// Whether a log file is there to read. A folder (or another kind of item that is not a file)
// of that name counts as missing; an item that cannot be examined counts as present so that
// reading it reports the reason.
LogPresence FindLog(const std::string& path);

// A log that cannot be opened or read; what() is the system's description of the reason.
class LogReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The whole file, opened for reading with writers shut out. Throws LogReadError.
std::string ReadWholeFile(const std::string& path);

enum class DeleteResult { Deleted, Missing, Failed };

// Deletes one file (never a folder). With clear_read_only, a file that is only protected by
// its read-only attribute is deleted as well (Windows; elsewhere file modes never stop it).
DeleteResult DeleteOneFile(const std::string& path, bool clear_read_only);

// Removes a folder if it is empty; false when it is not removed.
bool RemoveEmptyFolder(const std::string& path);

enum class ItemKind {
    Missing,
    Folder,  // a real folder, not a link to one
    Link,    // a symbolic link or other name redirection, to a file or a folder
    Other,   // a file, or anything else that is removed as one
};

// The kind of the item itself; links are not followed.
ItemKind KindOf(const std::string& path);

// Removes a link itself, never what it points to.
DeleteResult RemoveLink(const std::string& path);

struct FolderItem {
    std::string name;
    ItemKind kind;
};

// Every item of a real folder, hidden and protected ones included, without "." and "..".
// Empty when the path is missing or is not a real folder (a link to a folder is not listed).
std::vector<FolderItem> ListFolder(const std::string& path);

// A shell folder location that a value name may not give (a registry value of a type that is
// not text).
class ShellFolderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The location of the current user's shell folder "Desktop" or "Programs" as a full path, or
// the empty text when it is not known. Throws ShellFolderError.
std::string GetShellFolder(const std::string& value_name);

}  // namespace ondrix::uninstall
