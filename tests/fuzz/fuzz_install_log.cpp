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

// Whether the path that the parts of an entry name stays inside the install folder once
// "." and ".." are resolved the way the file system would.
bool Inside(const ondrix::uninstall::EntryParts& parts) {
    std::string path(kFolder);
    for (const std::string& folder : parts.folders) path += folder + "/";
    path += parts.name;
    for (char& c : path)
        if (c == '\\') c = '/';
    const std::string normal = std::filesystem::path(path).lexically_normal().string();
    return normal.compare(0, kFolder.size(), kFolder) == 0 && normal.size() > kFolder.size();
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
            if (const auto parts = SplitEntry(entry, style)) {
                // Every part comes from the entry, and none is empty.
                std::size_t length = parts->name.size();
                for (const std::string& folder : parts->folders) {
                    Check(!folder.empty());
                    length += folder.size();
                }
                Check(!parts->name.empty());
                Check(length <= entry.size());
                Check(Inside(*parts));
            }
        }
    }
    return 0;
}
