// Turning a log entry into the names a deletion walks through.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrix::uninstall {

enum class PathStyle {
    Posix,    // "/" separates; a "\" in an entry is turned into "/"
    Windows,  // "\" and "/" both separate; entries are used as they stand
};

// A log entry taken apart: the folders to pass through below the install folder, in order,
// and the name of the item to delete in the last of them.
struct EntryParts {
    std::vector<std::string> folders;
    std::string name;

    bool operator==(const EntryParts&) const = default;
};

// The longest path the platform's file calls take: 4096 bytes on Linux, 32767 characters on
// Windows (one byte at least each). A longer entry can name no file.
std::size_t LongestPath(PathStyle style);

// The parts of an entry, or nothing when the entry removes nothing:
//   - it could reach outside the install folder: an absolute or drive-relative path, or one
//     with a ".." component (the log is the only outside input the uninstaller acts on, so a
//     damaged or hostile log must not be able to delete files elsewhere);
//   - it names a folder: it is empty or ends in a separator or a "." component;
//   - it is longer than LongestPath, or holds a NUL: it names no file. It is passed over
//     before it is taken apart, so a huge damaged line costs no more than its own bytes.
// Empty and "." components in the middle name the folder they are in and are dropped.
// Everything else is kept exactly, blanks included.
std::optional<EntryParts> SplitEntry(std::string_view entry, PathStyle style);

// Whether a shell folder setting names a folder: a full path, which names one place by itself
// without help from the current folder or drive ("/..." on Posix; "X:\...", "X:/..." or
// "\\..." on Windows), and holds no NUL or other control character (such a text is damaged
// or forged, and a NUL would cut the path short where the system reads it).
bool IsLocation(std::string_view path, PathStyle style);

}  // namespace ondrix::uninstall
