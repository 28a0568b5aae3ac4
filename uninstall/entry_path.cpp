#include "entry_path.h"

#include <algorithm>
#include <cctype>

namespace ondrix::uninstall {
namespace {

bool IsSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

// Windows drops trailing dots and blanks from path components, so ". ." or "..." can act as a
// parent reference there; any component of only dots and blanks with two dots or more counts.
bool IsParentReference(std::string_view component, PathStyle style) {
    if (style == PathStyle::Posix) return component == "..";
    return component.find_first_not_of(". ") == std::string_view::npos &&
           std::count(component.begin(), component.end(), '.') >= 2;
}

// A component that names the folder it is in.
bool IsSameFolder(std::string_view component) {
    return component.empty() || component == ".";
}

bool IsFullPath(std::string_view path, PathStyle style) {
    if (style == PathStyle::Posix) return path.starts_with('/');
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && IsSeparator(path[2], style);
    const bool unc = path.size() >= 2 && IsSeparator(path[0], style) && IsSeparator(path[1], style);
    return drive || unc;
}

constexpr std::size_t kLongestPosixPath = 4096;
constexpr std::size_t kLongestWindowsPath = 32767;

}  // namespace

std::size_t LongestPath(PathStyle style) {
    return style == PathStyle::Posix ? kLongestPosixPath : kLongestWindowsPath;
}

std::optional<EntryParts> SplitEntry(std::string_view entry, PathStyle style) {
    if (entry.size() > LongestPath(style) || entry.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string relative(entry);
    if (style == PathStyle::Posix) std::replace(relative.begin(), relative.end(), '\\', '/');

    if (!relative.empty() && IsSeparator(relative.front(), style)) return std::nullopt;
    if (style == PathStyle::Windows && relative.size() >= 2 && relative[1] == ':') {
        return std::nullopt;  // "C:\x" or the drive-relative "C:x"
    }
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = start;
        while (end < relative.size() && !IsSeparator(relative[end], style)) ++end;
        const std::string_view component = std::string_view(relative).substr(start, end - start);
        if (IsParentReference(component, style)) return std::nullopt;
        components.emplace_back(component);
        start = end + 1;
    }
    // The last component is what gets deleted; one that names a folder deletes nothing.
    if (IsSameFolder(components.back())) return std::nullopt;
    EntryParts parts;
    parts.name = std::move(components.back());
    components.pop_back();
    for (std::string& folder : components) {
        if (!IsSameFolder(folder)) parts.folders.push_back(std::move(folder));
    }
    return parts;
}

bool IsLocation(std::string_view path, PathStyle style) {
    const bool control = std::any_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return !control && IsFullPath(path, style);
}

}  // namespace ondrix::uninstall
