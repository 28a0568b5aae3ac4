#include "shell_folder.h"

#include "entry_path.h"
#include "platform.h"

namespace ondrix::uninstall {

std::string ShellFolder(const std::string& value_name) {
    std::string folder = GetShellFolder(value_name);
    if (!IsLocation(folder, kPathStyle)) return {};
    return folder;
}

}  // namespace ondrix::uninstall
