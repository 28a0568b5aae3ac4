#include "plotter/about/tool_path_lookup.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ondrix {

namespace {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> SplitFolders(const std::string& searchPath) {
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        folders.push_back(searchPath.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

}  // namespace

std::optional<std::string> FindFirstTool(const std::string& searchPath,
                                         const std::vector<std::string>& names) {
    const auto folders = SplitFolders(searchPath);
    for (const auto& name : names) {
        for (const auto& folder : folders) {
            // An empty or relative entry would mean a folder that depends on where the program
            // was started; a tool found there is not trusted.
            if (folder.empty() || folder.front() != '/') continue;
            const auto candidate = std::filesystem::path(folder) / name;
            if (IsExecutableFile(candidate)) return candidate.string();
        }
    }
    return std::nullopt;
}

std::optional<RawValue> ToolPathLookup::Query(std::uint32_t root, const std::string& key,
                                              const std::string& valueName) {
    if (root != kHKeyLocalMachine || !EqualsIgnoringCase(key, kMsinfoKey) ||
        !EqualsIgnoringCase(valueName, kMsinfoPathValue)) {
        return std::nullopt;
    }
    std::string searchPath;
    if (searchPath_) {
        searchPath = *searchPath_;
    } else if (const char* env = std::getenv("PATH")) {
        searchPath = env;
    }
    const auto tool = FindFirstTool(searchPath, kSystemInfoTools);
    if (!tool) return std::nullopt;
    return RawValue{kRegSz, *tool + '\0'};
}

std::unique_ptr<KeyLookup> MakeSystemKeyLookup() {
    return std::make_unique<ToolPathLookup>();
}

}  // namespace ondrix
