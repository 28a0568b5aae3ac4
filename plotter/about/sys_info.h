#pragma once

// Finds and starts the system information tool, or tells the user it is unavailable.

#include <functional>
#include <string>

#include "plotter/about/key_lookup.h"

namespace ondrix {

inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The name of the tool's program file in the folder of the second registry entry.
#ifdef _WIN32
inline constexpr const char* kMsinfoFileSuffix = "\\MSINFO32.EXE";
#else
inline constexpr const char* kMsinfoFileSuffix = "/MSINFO32.EXE";
#endif

// Everything StartSysInfo reaches outside itself.
struct SysInfoDeps {
    KeyLookup* lookup = nullptr;
    // True when a plain file exists at the path.
    std::function<bool(const std::string& path)> fileExists;
    // Starts the program without waiting for it; false when it could not be started.
    std::function<bool(const std::string& program)> launch;
    // Shows a modal message with an OK button and no icon.
    std::function<void(const std::string& text, const std::string& caption)> showMessage;
};

// Starts the program that registry entry 1 names (as it is, without a test that it exists);
// failing that entry, the MSINFO32.EXE in the folder of entry 2 if that file exists. Any
// failure on the way, a look-up that throws included, ends in the one message
// kSysInfoUnavailable under the program's title. Returns true when the tool was started.
bool StartSysInfo(const SysInfoDeps& deps);

// A plain regular file (not a folder) exists at `path`; links are followed.
bool PlainFileExists(const std::string& path);

}  // namespace ondrix
