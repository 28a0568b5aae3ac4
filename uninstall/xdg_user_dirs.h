// Reading a folder setting from the XDG "user-dirs.dirs" file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondrix::uninstall {

// The folder that `text` (the contents of user-dirs.dirs) sets for `key`, such as
// "XDG_DESKTOP_DIR". Lines look like XDG_DESKTOP_DIR="$HOME/Desktop": the value is double
// quoted, a backslash takes the next character literally, and it is either "$HOME" followed by
// an optional "/..." or an absolute path. "$HOME" is replaced by `home`; when `home` is empty
// such a line is not usable. Lines starting with "#" and lines in another form are passed
// over; the last usable line for the key wins. Nothing when no line sets the key.
std::optional<std::string> UserDirFromConfig(std::string_view text, std::string_view key,
                                             std::string_view home);

}  // namespace ondrix::uninstall
