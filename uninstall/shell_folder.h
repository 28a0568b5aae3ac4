// The shell folder locations as the uninstaller uses them.
#pragma once

#include <string>

namespace ondrix::uninstall {

// The location of the current user's shell folder "Desktop" or "Programs", or the empty text
// when it names no folder: an unknown, empty or relative location (it would turn a target into
// one relative to the current directory or the root of the drive) and one holding a control
// character (a damaged or forged setting) alike. Throws ShellFolderError.
std::string ShellFolder(const std::string& value_name);

}  // namespace ondrix::uninstall
