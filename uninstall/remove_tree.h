// Removing a folder with everything in it.
#pragma once

#include <chrono>
#include <string>

namespace ondrix::uninstall {

// How long a file inside a removed folder may keep failing to be deleted (another program
// holding it open, say) before it is left in place.
inline constexpr std::chrono::milliseconds kDeleteRetryTime{1000};

// Removes `path` and everything in it, deepest folders first, hidden and read-only items
// included. Links are never followed: a link (also one in place of `path` itself) is removed
// as a file and what it points to stays. A file that cannot be deleted is retried for about
// kDeleteRetryTime, then left, and the folders above it stay. Reports nothing.
void RemoveFolderTree(const std::string& path);

}  // namespace ondrix::uninstall
