#include "entry_path.h"

#include <algorithm>

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

}  // namespace

std::optional<std::string> EntryTarget(std::string_view install_folder, std::string_view entry,
                                       PathStyle style) {
    std::string relative(entry);
    if (style == PathStyle::Posix) std::replace(relative.begin(), relative.end(), '\\', '/');

    if (!relative.empty() && IsSeparator(relative.front(), style)) return std::nullopt;
    if (style == PathStyle::Windows && relative.size() >= 2 && relative[1] == ':') {
        return std::nullopt;  // "C:\x" or the drive-relative "C:x"
    }
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = start;
        while (end < relative.size() && !IsSeparator(relative[end], style)) ++end;
        if (IsParentReference(std::string_view(relative).substr(start, end - start), style)) {
            return std::nullopt;
        }
        start = end + 1;
    }
    std::string target(install_folder);
    target += relative;
    return target;
}

}  // namespace ondrix::uninstall
