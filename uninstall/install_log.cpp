#include "install_log.h"

namespace ondrix::uninstall {

std::vector<std::string> SplitLog(std::string_view bytes) {
    std::vector<std::string> entries;
    ForEachLogEntry(bytes, [&entries](std::string_view entry) { entries.emplace_back(entry); });
    return entries;
}

}  // namespace ondrix::uninstall
