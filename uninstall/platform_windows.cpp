// Windows: the program's own path from the module, the shell folders from the current
// user's registry, and the ANSI file API so that entries keep the system code page.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "install_log.h"
#include "platform.h"

namespace ondrix::uninstall {
namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// KEY_ALL_ACCESS: the key is opened with full rights although only reading is done; a key
// that does not grant them counts as missing.
constexpr REGSAM kShellFoldersAccess = 0xF003F;
constexpr DWORD kReadPiece = 1 << 16;

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

// Owns one system handle and gives it back on every way out, errors included. `Close` is the
// call that gives it back; `invalid` the value that stands for no handle.
template <typename T, auto Close>
class Owned {
  public:
    Owned(T value, T invalid) : value_(value), invalid_(invalid) {}
    Owned(Owned&& other) noexcept
        : value_(std::exchange(other.value_, other.invalid_)), invalid_(other.invalid_) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned& operator=(Owned&&) = delete;
    ~Owned() {
        if (valid()) Close(value_);
    }
    bool valid() const { return value_ != invalid_; }
    T get() const { return value_; }

  private:
    T value_;
    T invalid_;
};

using Handle = Owned<HANDLE, &CloseHandle>;
using FindHandle = Owned<HANDLE, &FindClose>;
using RegistryKey = Owned<HKEY, &RegCloseKey>;

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
    const FindHandle search(FindFirstFileA(path.c_str(), &found), INVALID_HANDLE_VALUE);
    if (!search.valid()) return std::nullopt;
    return found;
}

ItemKind KindOfFound(const WIN32_FIND_DATAA& found) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsLinkTag(found.dwReserved0)) {
        return ItemKind::Link;
    }
    // Any other reparse point that is a folder is listed as a folder; it is never entered.
    return found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? ItemKind::Folder : ItemKind::Other;
}

// What tells one file or folder from every other while both exist.
struct FileId {
    DWORD volume;
    DWORD high;
    DWORD low;

    bool operator==(const FileId&) const = default;
};

std::optional<BY_HANDLE_FILE_INFORMATION> InfoOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return info;
}

FileId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// A folder held open: without FILE_SHARE_DELETE nobody can rename it, swap it for a link or
// remove it while the handle is open.
struct HeldFolder {
    Handle handle;
    FileId id;
};

// Opens and holds a folder. With follow_links false a link, junction or other reparse point
// is refused, so is anything that is not a folder.
std::optional<HeldFolder> HoldFolder(const std::string& path, bool follow_links) {
    const DWORD reparse = follow_links ? 0 : FILE_FLAG_OPEN_REPARSE_POINT;
    Handle folder(
        CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | reparse, nullptr),
        INVALID_HANDLE_VALUE);
    if (!folder.valid()) return std::nullopt;
    const auto info = InfoOf(folder.get());
    if (!info || !(info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (info->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return std::nullopt;
    }
    return HeldFolder{std::move(folder), IdOf(*info)};
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

// A folder being emptied, held open while its items are removed (or only known by its path
// and id while released).
class WindowsFolder : public OpenFolder {
  public:
    WindowsFolder(std::string path, HeldFolder held)
        : path_(std::move(path)), id_(held.id), held_(std::move(held.handle)) {}

    std::vector<FolderItem> List() override {
        std::vector<FolderItem> items;
        WIN32_FIND_DATAA found{};
        const FindHandle search(FindFirstFileA((path_ + "\\*.*").c_str(), &found),
                                INVALID_HANDLE_VALUE);
        if (!search.valid()) return items;
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            items.push_back({name, KindOfFound(found)});
        } while (FindNextFileA(search.get(), &found));
        return items;
    }

    ItemKind KindOf(const std::string& name) override {
        const auto found = FindItem(Child(name));
        return found ? KindOfFound(*found) : ItemKind::Missing;
    }

    std::unique_ptr<OpenFolder> EnterSubfolder(const std::string& name) override {
        std::string path = Child(name);
        auto held = HoldFolder(path, /*follow_links=*/false);
        if (!held) return nullptr;
        return std::make_unique<WindowsFolder>(std::move(path), std::move(*held));
    }

    void Release() override { held_.reset(); }

    bool Reacquire(OpenFolder&) override {
        if (held_) return true;
        auto held = HoldFolder(path_, /*follow_links=*/false);
        if (!held || held->id != id_) return false;
        held_.emplace(std::move(held->handle));
        return true;
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
    FileId id_;
    std::optional<Handle> held_;
};

// The install folder, held from the start of the run to its end: while it is held it cannot be
// renamed or replaced, so its path keeps naming it.
class WindowsInstallFolder : public InstallFolder {
  public:
    WindowsInstallFolder(std::string path, HeldFolder held)
        : path_(std::move(path)), held_(std::move(held)) {}

    const std::string& Path() const override { return path_; }

    std::optional<std::string> ReadLog(const std::string& name) override {
        const std::string path = path_ + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (LastErrorResult() == DeleteResult::Missing) return std::nullopt;
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return std::nullopt;
        }
        // Shared for reading only: a program that has the log open for writing makes this fail.
        const Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                          INVALID_HANDLE_VALUE);
        if (!file.valid()) throw LogReadError(SystemMessage(GetLastError()));
        // Only a file on a disk holds a log; a pipe or a device could block or never end.
        const auto info = InfoOf(file.get());
        if (GetFileType(file.get()) != FILE_TYPE_DISK || !info ||
            (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }

        std::string bytes;
        try {
            std::unique_ptr<char[]> piece(new char[kReadPiece]);
            for (;;) {
                DWORD read = 0;
                if (!ReadFile(file.get(), piece.get(), kReadPiece, &read, nullptr)) {
                    throw LogReadError(SystemMessage(GetLastError()));
                }
                if (read == 0 || !AppendLogPiece(bytes, std::string_view(piece.get(), read))) {
                    break;
                }
            }
        } catch (const std::bad_alloc&) {
            throw LogReadError(SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
        } catch (const std::length_error&) {
            throw LogReadError(SystemMessage(ERROR_NOT_ENOUGH_MEMORY));
        }
        return bytes;
    }

    DeleteResult DeleteEntry(const EntryParts& entry) override {
        // Every folder on the way is checked and held until the deletion is done.
        std::vector<HeldFolder> held;
        std::string path = path_;
        for (const std::string& folder : entry.folders) {
            path += folder;
            auto handle = HoldFolder(path, /*follow_links=*/false);
            if (!handle) return DeleteResult::Failed;
            held.push_back(std::move(*handle));
            path += kSeparator;
        }
        return DeleteFileOrLinkAt(path + entry.name, /*clear_read_only=*/false);
    }

  private:
    std::string path_;
    HeldFolder held_;
};

// The path of an open file or folder as the file system names it now, with the volume in the
// form `volume` (VOLUME_NAME_NT: "\Device\...", VOLUME_NAME_DOS: "\\?\C:\...").
std::optional<std::wstring> FinalPathOf(HANDLE handle, DWORD volume) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(
            handle, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | volume);
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}

// The NT path of the file the running program was loaded from: taken from the loaded image,
// not from a path that could lead elsewhere by now.
std::optional<std::wstring> RunningImagePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = K32GetMappedFileNameW(GetCurrentProcess(), GetModuleHandleW(nullptr),
                                                   path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::nullopt;
        if (length + 1 < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether the open folder is the one the running program was loaded from. Windows names the
// image "\Device\HarddiskVolumeN\...\uninstall.exe"; Wine names it "\??\C:\...", the DOS
// form of the same path.
bool HoldsRunningProgram(HANDLE folder) {
    const std::wstring kDosDevices = L"\\??\\";
    auto image = RunningImagePath();
    const std::size_t slash = image ? image->rfind(L'\\') : std::wstring::npos;
    if (slash == std::wstring::npos) return false;
    image->resize(slash);
    const bool dos = image->starts_with(kDosDevices);
    if (dos) image->replace(0, kDosDevices.size(), L"\\\\?\\");
    const auto held = FinalPathOf(folder, dos ? VOLUME_NAME_DOS : VOLUME_NAME_NT);
    return held && SameText(*image, *held);
}

[[noreturn]] void OwnFolderNotFound(const std::string& reason) {
    throw std::runtime_error("Cannot find the program's own folder. " + reason);
}

}  // namespace

void PrepareConsole() {
    // Messages carry their own CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::unique_ptr<InstallFolder> OpenInstallFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) OwnFolderNotFound(SystemMessage(GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) OwnFolderNotFound(SystemMessage(ERROR_BAD_PATHNAME));
    std::string folder = path.substr(0, slash + 1);
    auto held = HoldFolder(folder, /*follow_links=*/true);
    if (!held) OwnFolderNotFound(SystemMessage(GetLastError()));
    // The folder held must be the one the running program was loaded from: the path may lead
    // elsewhere by now.
    if (!HoldsRunningProgram(held->handle.get())) {
        OwnFolderNotFound("It no longer holds the running program.");
    }
    return std::make_unique<WindowsInstallFolder>(std::move(folder), std::move(*held));
}

DeleteResult DeleteFileOrLink(const std::string& path) {
    return DeleteFileOrLinkAt(path, /*clear_read_only=*/false);
}

bool RemoveEmptyFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != 0;
}

std::unique_ptr<OpenFolder> OpenShellFolder(const std::string& path) {
    auto held = HoldFolder(path, /*follow_links=*/true);
    if (!held) return nullptr;
    return std::make_unique<WindowsFolder>(path, std::move(*held));
}

std::string GetShellFolder(const std::string& value_name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, kShellFoldersAccess, &opened) !=
        ERROR_SUCCESS) {
        return {};
    }
    const RegistryKey key(opened, nullptr);

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
    // Text up to the first NUL, before it becomes part of any path; environment references
    // stay as stored.
    return data.substr(0, data.find('\0'));
}

}  // namespace ondrix::uninstall
