// Windows: the program's own path from the module, the shell folders from the current
// user's registry, and the ANSI file API so that entries keep the system code page.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <new>
#include <optional>
#include <utility>

#include "platform.h"

namespace ondrix::uninstall {
namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// KEY_ALL_ACCESS: the key is opened with full rights although only reading is done; a key
// that does not grant them counts as missing.
constexpr REGSAM kShellFoldersAccess = 0xF003F;

std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = length != 0 ? std::string(buffer, length) : "Error " + std::to_string(code);
    if (buffer != nullptr) LocalFree(buffer);
    // The caller ends the line itself.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&&) = delete;
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// Closes a registry key on every way out of the look-up, errors included.
class RegistryKey {
  public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { RegCloseKey(key_); }
    HKEY get() const { return key_; }

  private:
    HKEY key_;
};

DeleteResult LastErrorResult() {
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return DeleteResult::Missing;
        // Another program has the file open: it may go once that program lets it go. Access
        // denied and read-only media never clear by waiting.
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return DeleteResult::Busy;
        default:
            return DeleteResult::Failed;
    }
}

bool IsLinkTag(DWORD tag) {
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

// The item itself as a folder listing shows it: a link is described, not followed.
std::optional<WIN32_FIND_DATAA> FindItem(const std::string& path) {
    // A search takes "*" and "?" as wildcards; such a name describes no one item.
    if (path.find_first_of("*?") != std::string::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA(path.c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    return found;
}

ItemKind KindOfFound(const WIN32_FIND_DATAA& found) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsLinkTag(found.dwReserved0)) {
        return ItemKind::Link;
    }
    // Any other reparse point that is a folder is listed as a folder; it is never entered.
    return found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? ItemKind::Folder : ItemKind::Other;
}

// Opens a real folder, not a reparse point, and holds it: without FILE_SHARE_DELETE nobody can
// rename it or swap it for a link while the handle is open. Nothing for anything else.
std::optional<Handle> HoldRealFolder(const std::string& path) {
    Handle folder(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (folder.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(folder.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return std::nullopt;
    }
    return folder;
}

// Deletes a file, or a link (to a file or a folder) as the link. A folder and any other reparse
// point that is a folder stay. With clear_read_only, a file protected only by its read-only
// attribute goes too.
DeleteResult DeleteFileOrLinkAt(const std::string& path, bool clear_read_only) {
    const auto found = FindItem(path);
    if (!found) return LastErrorResult();
    const DWORD attributes = found->dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (KindOfFound(*found) != ItemKind::Link) return DeleteResult::Failed;
        // Removing a link to a folder removes the link; what it points to stays.
        return RemoveDirectoryA(path.c_str()) ? DeleteResult::Deleted : LastErrorResult();
    }
    if (DeleteFileA(path.c_str())) return DeleteResult::Deleted;
    const DeleteResult result = LastErrorResult();
    if (!clear_read_only || !(attributes & FILE_ATTRIBUTE_READONLY) ||
        result != DeleteResult::Failed) {
        return result;
    }
    if (!SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return result;
    return DeleteFileA(path.c_str()) ? DeleteResult::Deleted : LastErrorResult();
}

// A folder being emptied, held open while its items are removed.
class WindowsFolder : public OpenFolder {
  public:
    WindowsFolder(std::string path, Handle held) : path_(std::move(path)), held_(std::move(held)) {}

    std::vector<FolderItem> List() override {
        std::vector<FolderItem> items;
        WIN32_FIND_DATAA found{};
        const FindHandle search(FindFirstFileA((path_ + "\\*.*").c_str(), &found));
        if (search.get() == INVALID_HANDLE_VALUE) return items;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            items.push_back({name, KindOfFound(found)});
        } while (FindNextFileA(search.get(), &found));
        return items;
    }

    std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) override {
        std::string path = Child(name);
        auto held = HoldRealFolder(path);
        if (!held) return nullptr;
        return std::make_unique<WindowsFolder>(std::move(path), std::move(*held));
    }

    DeleteResult DeleteItem(const std::string& name) override {
        return DeleteFileOrLinkAt(Child(name), /*clear_read_only=*/true);
    }

    bool RemoveSubfolder(const std::string& name) override {
        return RemoveDirectoryA(Child(name).c_str()) != 0;
    }

  private:
    std::string Child(const std::string& name) const { return path_ + "\\" + name; }

    std::string path_;
    Handle held_;
};

}  // namespace

void PrepareConsole() {
    // Messages carry their own CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::string InstallFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw std::runtime_error("Cannot find the program's own folder. " +
                                     SystemMessage(GetLastError()));
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        throw std::runtime_error("Cannot find the program's own folder.");
    return path.substr(0, slash + 1);
}

LogPresence FindLog(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastErrorResult() == DeleteResult::Missing ? LogPresence::Missing
                                                          : LogPresence::Present;
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? LogPresence::Missing : LogPresence::Present;
}

std::string ReadWholeFile(const std::string& path) {
    // Shared for reading only: a program that has the log open for writing makes this fail.
    const Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) throw LogReadError(SystemMessage(GetLastError()));

    std::string bytes;
    try {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
            bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        }
        char chunk[1 << 16];
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
                throw LogReadError(SystemMessage(GetLastError()));
            }
            if (read == 0) break;
            bytes.append(chunk, read);
        }
    } catch (const std::bad_alloc&) {
        throw LogReadError(SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
    } catch (const std::length_error&) {
        throw LogReadError(SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
    }
    return bytes;
}

DeleteResult DeleteEntry(const std::string& install_folder, const EntryParts& entry) {
    // Every folder on the way is checked and held until the deletion is done.
    std::vector<Handle> held;
    std::string path = install_folder;
    for (const std::string& folder : entry.folders) {
        path += folder;
        auto handle = HoldRealFolder(path);
        if (!handle) return DeleteResult::Failed;
        held.push_back(std::move(*handle));
        path += kSeparator;
    }
    return DeleteFileOrLinkAt(path + entry.name, /*clear_read_only=*/false);
}

DeleteResult DeleteFileOrLink(const std::string& path) {
    return DeleteFileOrLinkAt(path, /*clear_read_only=*/false);
}

bool RemoveEmptyFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != 0;
}

ItemKind KindOf(const std::string& path) {
    const auto found = FindItem(path);
    return found ? KindOfFound(*found) : ItemKind::Missing;
}

std::unique_ptr<OpenFolder> OpenRemovalStart(const std::string& path) {
    auto held = HoldRealFolder(path);
    if (!held) return nullptr;
    return std::make_unique<WindowsFolder>(path, std::move(*held));
}

std::string GetShellFolder(const std::string& value_name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, kShellFoldersAccess, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    const RegistryKey key(opened);

    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || size == 0) return {};
    std::string data(size, '\0');
    for (;;) {
        size = static_cast<DWORD>(data.size());
        status = RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
        if (status != ERROR_MORE_DATA) break;
        data.resize(size);  // the value grew between the two queries
    }
    if (status != ERROR_SUCCESS || size == 0) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ShellFolderError("The shell folder value \"" + value_name + "\" is not text.");
    }
    data.resize(size);
    // Text up to the first NUL; environment references stay as stored.
    return data.substr(0, data.find('\0'));
}

}  // namespace ondrix::uninstall
