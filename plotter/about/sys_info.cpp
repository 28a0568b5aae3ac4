#include "plotter/about/sys_info.h"

#include <filesystem>
#include <system_error>

#include "ondrix/version.h"
#include "plotter/about/key_value.h"

namespace ondrix {

namespace {

bool FindAndLaunch(const SysInfoDeps& deps) {
    std::string keyVal;
    std::string program;
    if (GetKeyValue(*deps.lookup, kHKeyLocalMachine, kMsinfoKey, kMsinfoPathValue, keyVal)) {
        program = keyVal;
    } else if (GetKeyValue(*deps.lookup, kHKeyLocalMachine, kSharedToolsKey,
                           kSharedToolsMsinfoValue, keyVal)) {
        const std::string candidate = keyVal + kMsinfoFileSuffix;
        if (!deps.fileExists(candidate)) return false;
        program = candidate;
    } else {
        return false;
    }
    // An empty text (a value of a type read as no text) is no command line at all.
    return !program.empty() && deps.launch(program);
}

}  // namespace

bool StartSysInfo(const SysInfoDeps& deps) {
    bool started = false;
    try {
        started = deps.lookup != nullptr && FindAndLaunch(deps);
    } catch (...) {
        started = false;
    }
    if (!started) deps.showMessage(kSysInfoUnavailable, kTitle);
    return started;
}

bool PlainFileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace ondrix
