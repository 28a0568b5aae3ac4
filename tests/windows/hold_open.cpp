// hold_open MODE FILE READY [RELEASE]
// Opens FILE as another program would and keeps it open:
//   MODE "read":  reading, shared for reading only, so the file cannot be deleted meanwhile;
//   MODE "write": writing, shared for reading and writing.
// Creates the file READY once FILE is open. With RELEASE, closes FILE a moment after the file
// RELEASE has gone; otherwise holds it until the process is ended (at most a minute).
// Exit code 1 when FILE cannot be opened.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kReleaseDelayMs = 200;
constexpr DWORD kLongestHoldMs = 60000;

bool Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) return 2;
    const bool write = std::strcmp(argv[1], "write") == 0;
    const HANDLE file = CreateFileA(argv[2], write ? GENERIC_WRITE : GENERIC_READ,
                                    write ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const HANDLE ready = CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    for (DWORD waited = 0; waited < kLongestHoldMs; waited += kPollMs) {
        if (argc == 5 && !Exists(argv[4])) {
            Sleep(kReleaseDelayMs);
            break;
        }
        Sleep(kPollMs);
    }
    CloseHandle(file);
    return 0;
}
