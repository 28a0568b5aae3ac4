#include "remove_tree.h"

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "platform.h"

namespace ondrix::uninstall {
namespace {

// One folder on the way down from the start of the removal.
struct Level {
    std::unique_ptr<OpenFolder> folder;
    std::string name;  // its name in the level above
    std::vector<FolderItem> items;
    std::size_t next = 0;  // the first item not yet dealt with
};

void DeleteRetrying(OpenFolder& folder, const std::string& name, RetryBudget& budget) {
    while (folder.DeleteItem(name) == DeleteResult::Busy && budget.Pause()) {
    }
}

// Empties `top` depth first without recursion. A folder that is not entered keeps what it
// holds, so it stays, and so does every folder above it.
void RemoveContents(std::unique_ptr<OpenFolder> top, RetryBudget& budget) {
    std::vector<Level> levels;
    std::vector<FolderItem> top_items = top->List();
    levels.push_back({std::move(top), {}, std::move(top_items), 0});
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next < level.items.size()) {
            const FolderItem& item = level.items[level.next++];
            if (item.kind == ItemKind::Link || item.kind == ItemKind::Other) {
                DeleteRetrying(*level.folder, item.name, budget);
            } else if (item.kind == ItemKind::Folder) {
                if (auto sub = level.folder->EnterSubfolder(item.name)) {
                    std::vector<FolderItem> items = sub->List();
                    std::string name = item.name;
                    // The top stays held; it is where the removal started.
                    if (levels.size() >= kHeldFolders) {
                        levels[levels.size() - kHeldFolders + 1].folder->Release();
                    }
                    levels.push_back({std::move(sub), std::move(name), std::move(items), 0});
                }
            }
            continue;
        }
        if (levels.size() == 1) return;
        Level done = std::move(levels.back());
        levels.pop_back();
        Level& above = levels.back();
        // The way back up has changed under the walk: what is left stays.
        if (!above.folder->Reacquire(*done.folder)) return;
        done.folder.reset();  // Windows cannot remove a folder that is still open
        above.folder->RemoveSubfolder(done.name);
    }
}

}  // namespace

bool RetryBudget::Pause() {
    if (left_ < kRetryPause) return false;
    left_ -= kRetryPause;
    std::this_thread::sleep_for(kRetryPause);
    return true;
}

void RemoveFolderTree(OpenFolder& parent, const std::string& name, RetryBudget& budget) {
    switch (parent.KindOf(name)) {
        case ItemKind::Link:
            DeleteRetrying(parent, name, budget);
            return;
        case ItemKind::Folder:
            if (auto group = parent.EnterSubfolder(name)) RemoveContents(std::move(group), budget);
            parent.RemoveSubfolder(name);
            return;
        case ItemKind::Missing:
        case ItemKind::Other:
            return;
    }
}

}  // namespace ondrix::uninstall
