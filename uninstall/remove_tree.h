// Removing a folder with everything in it.
#pragma once

#include <chrono>
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

// Removes `path` and everything in it, deepest folders first, hidden and read-only items
// included. Links are never followed: a link (also one in place of `path` itself) is removed
// as a file and what it points to stays. A mount point, a folder of another file system and
// a reparse point other than a link are never entered: they stay, and so do the folders above
// them. A file in use is retried while `budget` lasts; any other failure leaves the file at
// once. Reports nothing.
void RemoveFolderTree(const std::string& path, RetryBudget& budget);

}  // namespace ondrix::uninstall
