// Removing a folder with everything in it.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace ondrix::uninstall {

// How long all the retries of one run may wait together, however many files are in use.
inline constexpr std::chrono::milliseconds kRetryTimeTotal{1000};
// The wait before each new attempt.
inline constexpr std::chrono::milliseconds kRetryPause{50};

// The waiting time left for retrying deletions of files that are in use. One budget serves a
// whole run, so many busy files cannot add up to a long stall.
class RetryBudget {
  public:
    explicit RetryBudget(std::chrono::milliseconds total = kRetryTimeTotal) : left_(total) {}
    // Waits one pause and returns true, or returns false at once when the time is spent.
    bool Pause();

  private:
    std::chrono::milliseconds left_;
};

// How many folders of one removal are held open at most. Deeper folders are reached and left
// again one level at a time, so the depth of a tree costs memory but never more open folders.
inline constexpr std::size_t kHeldFolders = 16;

class OpenFolder;

// Removes the folder `name` in `parent` and everything in it, deepest folders first, hidden
// and read-only items included. Links are never followed: a link in place of the folder or
// anywhere inside it is removed as a file and what it points to stays. A folder that is a
// mount point, lies on another file system or is a reparse point other than a link is never
// entered, the folder `name` itself included: it stays, and so do the folders above it. A
// file in use is retried while `budget` lasts; any other failure leaves the file at once. The
// walk is iterative: any depth the file system allows is removed. Reports nothing.
void RemoveFolderTree(OpenFolder& parent, const std::string& name, RetryBudget& budget);

}  // namespace ondrix::uninstall
