// Turning a log entry into the full path of the file it names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondrix::uninstall {

enum class PathStyle {
    Posix,    // "/" separates; a "\" in an entry is turned into "/"
    Windows,  // "\" and "/" both separate; entries are used as they stand
};

// The install folder (ending in its separator) followed directly by the entry. Returns nothing
// for an entry that could reach outside the install folder: an absolute or drive-relative path,
// or one with a ".." component. The log is the only outside input the uninstaller acts on, so a
// damaged or hostile log must not be able to delete files elsewhere.
std::optional<std::string> EntryTarget(std::string_view install_folder, std::string_view entry,
                                       PathStyle style);

}  // namespace ondrix::uninstall
