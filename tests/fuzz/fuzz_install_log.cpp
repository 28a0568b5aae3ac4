// The uninstaller's log reader on arbitrary bytes, and the step that turns each
// entry into a path: no entry may name a file outside the install folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "entry_path.h"
#include "install_log.h"

namespace {

constexpr std::string_view kFolder = "/opt/ondrix/";

void Check(bool ok) {
    if (!ok) std::abort();
}

// Whether a path that EntryTarget built stays inside the install folder once
// "." and ".." are resolved the way the file system would.
bool Inside(const std::string& target) {
    std::string slashes = target;
    for (char& c : slashes)
        if (c == '\\') c = '/';
    const std::string normal = std::filesystem::path(slashes).lexically_normal().string();
    return normal.compare(0, kFolder.size(), kFolder) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ondrix::uninstall;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t end = bytes.find('\0');
    const std::size_t readable = end == std::string_view::npos ? size : end;

    std::size_t total = 0;
    for (const std::string& entry : SplitLog(bytes)) {
        // An entry never holds a line end or a NUL, and never more than the log has.
        Check(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        total += entry.size();
        Check(total <= readable);
        for (const PathStyle style : {PathStyle::Posix, PathStyle::Windows}) {
            if (const auto target = EntryTarget(kFolder, entry, style)) {
                Check(target->size() == kFolder.size() + entry.size());
                Check(Inside(*target));
            }
        }
    }
    return 0;
}
