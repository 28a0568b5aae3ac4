// What the uninstaller needs from the operating system. platform_linux.cpp and
// platform_windows.cpp each provide all of it; exactly one of them is built.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
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

// A log that cannot be opened or read; what() is the system's description of the reason.
class LogReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class DeleteResult {
    Deleted,
    Missing,
    Busy,    // in use by another program; may go once it is released (worth another try)
    Failed,  // anything else: waiting does not help
};

// The install folder, opened once at the start of the run from the running program's path and
// held until its end. Once opened it is checked to hold the running program, and the log and
// every entry are reached from it: replacing the folder, or one above it, by a link while the
// run goes on changes nothing.
class InstallFolder {
  public:
    virtual ~InstallFolder() = default;
    // The folder's path as the program found it, ending in kSeparator.
    virtual const std::string& Path() const = 0;
    // The log `name` in the folder, up to its first NUL, or nothing when no file of that name
    // is there (a folder, a pipe or a device of that name counts as none; a link counts when
    // it ends at a file). Opened for reading with writers shut out. Throws LogReadError.
    virtual std::optional<std::string> ReadLog(const std::string& name) = 0;
    // Deletes the file or link that a log entry names. The entry's folders are entered one at
    // a time, never through a link, a junction or a mount point and never onto another file
    // system; an entry that would need to is passed over. A last component that is a link
    // removes the link, never what it points to; a folder is never removed.
    virtual DeleteResult DeleteEntry(const EntryParts& entry) = 0;
};

// Opens the folder holding the running program file. Throws std::runtime_error when it cannot
// be found, or when the folder found no longer holds the running program.
std::unique_ptr<InstallFolder> OpenInstallFolder();

// Deletes the file or link at `path` (a link to a folder too, as the link); a folder of that
// name stays untouched.
DeleteResult DeleteFileOrLink(const std::string& path);

// Removes a folder if it is empty; false when it is not removed.
bool RemoveEmptyFolder(const std::string& path);

enum class ItemKind {
    Missing,
    Folder,  // a folder, not a link to one (it may still be a mount point)
    Link,    // a symbolic link or a junction, to a file or a folder
    Other,   // a file, or anything else that is removed as one
};

struct FolderItem {
    std::string name;
    ItemKind kind;
};

// A folder opened for removing what it holds. Its items are named relative to it, so a folder
// that is swapped for a link after it was opened is never followed.
class OpenFolder {
  public:
    virtual ~OpenFolder() = default;
    // Every item, hidden and protected ones included, without "." and "..".
    virtual std::vector<FolderItem> List() = 0;
    // The kind of the item `name` itself; a link is not followed.
    virtual ItemKind KindOf(const std::string& name) = 0;
    // The subfolder `name`, or nothing when it is not a real folder on the same mount as the
    // folder the removal started from: a link, a junction or another reparse point, a mount
    // point (the group folder too), or a folder of another file system is never entered.
    virtual std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) = 0;
    // Closes the folder while keeping what identifies it; the walk lets go of folders above the
    // deepest few so that a deep tree never holds many open.
    virtual void Release() = 0;
    // Opens a released folder again as the folder above its subfolder `child`, which was
    // entered from it; false when that is no longer this folder (it was moved away or
    // replaced meanwhile). True at once while the folder is held.
    virtual bool Reacquire(OpenFolder& child) = 0;
    // Deletes the file or link `name`; a file protected only by its read-only attribute too.
    virtual DeleteResult DeleteItem(const std::string& name) = 0;
    // Removes the subfolder `name` if it is empty.
    virtual bool RemoveSubfolder(const std::string& name) = 0;
};

// Opens a shell folder location (a full path; links on the way are followed, as the user set
// the location) as the start of a removal; nothing when it is missing or not a folder.
std::unique_ptr<OpenFolder> OpenShellFolder(const std::string& path);

// A shell folder location that a value name may not give (a registry value of a type that is
// not text).
class ShellFolderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The location of the current user's shell folder "Desktop" or "Programs" as it is set, or
// the empty text when it is not known. Throws ShellFolderError.
std::string GetShellFolder(const std::string& value_name);

}  // namespace ondrix::uninstall
