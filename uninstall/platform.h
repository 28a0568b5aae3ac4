// What the uninstaller needs from the operating system. platform_linux.cpp and
// platform_windows.cpp each provide all of it; exactly one of them is built.
#pragma once

#include <memory>
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

enum class DeleteResult {
    Deleted,
    Missing,
    Busy,    // in use by another program; may go once it is released (worth another try)
    Failed,  // anything else: waiting does not help
};

// Deletes the file or link that a log entry names below the install folder (which ends in
// kSeparator). The entry's folders are entered one at a time from the install folder, never
// through a link, a junction or a mount point and never onto another file system; an entry
// that would need to is passed over. A last component that is a link removes the link, never
// what it points to; a folder is never removed.
DeleteResult DeleteEntry(const std::string& install_folder, const EntryParts& entry);

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

// The kind of the item itself; links are not followed.
ItemKind KindOf(const std::string& path);

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
    // The subfolder `name`, or nothing when it is not a real folder on the same mount as the
    // folder the removal started from: a link, a junction or another reparse point, a mount
    // point, or a folder of another file system is never entered.
    virtual std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) = 0;
    // Deletes the file or link `name`; a file protected only by its read-only attribute too.
    virtual DeleteResult DeleteItem(const std::string& name) = 0;
    // Removes the subfolder `name` if it is empty.
    virtual bool RemoveSubfolder(const std::string& name) = 0;
};

// Opens a real folder (not a link to one) as the start of a removal; nothing when `path` is
// missing or is not such a folder.
std::unique_ptr<OpenFolder> OpenRemovalStart(const std::string& path);

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
