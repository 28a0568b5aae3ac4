// The install log "install.txt": 8-bit text, one file name per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ondrix::uninstall {

// Calls visit(entry) for every entry of the log, in file order. Lines end at CR LF, a lone CR
// or a lone LF; the last entry needs no line end; a NUL byte ends the log. Entries are passed
// exactly as they stand (no trimming), empty and duplicate ones included. Each entry is a view
// into `bytes`.
template <typename Visit>
void ForEachLogEntry(std::string_view bytes, Visit&& visit) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) break;
        visit(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    if (start < bytes.size()) visit(bytes.substr(start));
}

// Appends a piece of the log file, as it is read, to `log`. A NUL ends the log: what follows
// it is not kept, and the return value false says that reading can stop.
bool AppendLogPiece(std::string& log, std::string_view piece);

// The entries of a log, as ForEachLogEntry visits them.
std::vector<std::string> SplitLog(std::string_view bytes);

}  // namespace ondrix::uninstall
