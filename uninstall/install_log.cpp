#include "install_log.h"

namespace ondrix::uninstall {

bool AppendLogPiece(std::string& log, std::string_view piece) {
    const std::size_t nul = piece.find('\0');
    log.append(piece.substr(0, nul));
    return nul == std::string_view::npos;
}

std::vector<std::string> SplitLog(std::string_view bytes) {
    std::vector<std::string> entries;
    ForEachLogEntry(bytes, [&entries](std::string_view entry) { entries.emplace_back(entry); });
    return entries;
}

}  // namespace ondrix::uninstall
