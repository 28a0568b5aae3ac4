#include "remove_tree.h"

#include <thread>

#include "platform.h"

namespace ondrix::uninstall {
namespace {

void RemoveContents(OpenFolder& folder, RetryBudget& budget) {
    for (const FolderItem& item : folder.List()) {
        switch (item.kind) {
            case ItemKind::Folder:
                // A folder that is not entered keeps what it holds, so it stays, and so does
                // every folder above it.
                if (auto subfolder = folder.EnterSubfolder(item.name)) {
                    RemoveContents(*subfolder, budget);
                    subfolder.reset();  // Windows cannot remove a folder that is still open
                    folder.RemoveSubfolder(item.name);
                }
                break;
            case ItemKind::Missing:
                break;
            case ItemKind::Link:
            case ItemKind::Other:
                while (folder.DeleteItem(item.name) == DeleteResult::Busy && budget.Pause()) {
                }
                break;
        }
    }
}

}  // namespace

bool RetryBudget::Pause() {
    if (left_ < kRetryPause) return false;
    left_ -= kRetryPause;
    std::this_thread::sleep_for(kRetryPause);
    return true;
}

void RemoveFolderTree(const std::string& path, RetryBudget& budget) {
    if (KindOf(path) == ItemKind::Link) {
        DeleteFileOrLink(path);
        return;
    }
    if (auto start = OpenRemovalStart(path)) {
        RemoveContents(*start, budget);
    }
    RemoveEmptyFolder(path);
}

}  // namespace ondrix::uninstall
