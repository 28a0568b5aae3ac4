#pragma once

// The look-up used where there is no registry: the value that names the system information
// tool's program file is answered with the first such tool found on the search path.

#include <optional>
#include <string>
#include <vector>

#include "plotter/about/key_lookup.h"

namespace ondrix {

// Programs that show information about the system, in order of preference.
inline const std::vector<std::string> kSystemInfoTools = {"hardinfo2", "hardinfo", "kinfocenter"};

class ToolPathLookup : public KeyLookup {
  public:
    // Searches the PATH of the environment, read afresh at every query.
    ToolPathLookup() = default;
    // Searches the given list of folders, separated by ':'.
    explicit ToolPathLookup(std::string searchPath) : searchPath_(std::move(searchPath)) {}

    // Answers "PATH" under the MSINFO key of the machine hive (names compared without regard
    // to case, as the registry does) with the tool's full path as REG_SZ data ending in one NUL.
    // Every other value is missing, and so is this one when no tool is found.
    std::optional<RawValue> Query(std::uint32_t root, const std::string& key,
                                  const std::string& valueName) override;

  private:
    std::optional<std::string> searchPath_;
};

// The full path of the first of `names`, in their order, that is an executable file in one of
// the folders of `searchPath` (separated by ':', searched in order). Empty and relative folders
// are passed over, so the current folder is never searched.
std::optional<std::string> FindFirstTool(const std::string& searchPath,
                                         const std::vector<std::string>& names);

}  // namespace ondrix
