#include "remove_tree.h"

#include <thread>

#include "platform.h"

namespace ondrix::uninstall {
namespace {

constexpr std::chrono::milliseconds kRetryPause{50};

void DeleteWithRetry(const std::string& path) {
    const auto give_up = std::chrono::steady_clock::now() + kDeleteRetryTime;
    while (DeleteOneFile(path, /*clear_read_only=*/true) == DeleteResult::Failed &&
           std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(kRetryPause);
    }
}

}  // namespace

void RemoveFolderTree(const std::string& path) {
    if (KindOf(path) == ItemKind::Link) {
        RemoveLink(path);
        return;
    }
    for (const FolderItem& item : ListFolder(path)) {
        const std::string child = path + kSeparator + item.name;
        switch (item.kind) {
            case ItemKind::Folder:
                RemoveFolderTree(child);
                break;
            case ItemKind::Link:
                RemoveLink(child);
                break;
            case ItemKind::Missing:
                break;
            case ItemKind::Other:
                DeleteWithRetry(child);
                break;
        }
    }
    RemoveEmptyFolder(path);
}

}  // namespace ondrix::uninstall
