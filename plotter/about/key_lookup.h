#pragma once

// A read-only look-up of registry-style values: a root handle, a key path below it and a value
// name give a type and the raw data bytes, or nothing. The About box finds the system
// information tool through it; tests hand it a fake.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ondrix {

// Root key handle of the machine-wide hive, as the Windows API numbers it.
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002u;

// Value types, as the Windows API numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// The key and value under which the tool's full program path is kept.
inline constexpr const char* kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kMsinfoPathValue = "PATH";
// The key and value under which the folder holding the tool is kept.
inline constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSharedToolsMsinfoValue = "MSINFO";

// One value as stored: its type and its data exactly as the store holds it (a text usually
// ends in one NUL). Data may be of any length; the reader decides what is too long.
struct RawValue {
    std::uint32_t type = 0;
    std::string bytes;
};

class KeyLookup {
  public:
    virtual ~KeyLookup() = default;
    // The value, or nothing when the key cannot be opened or the value cannot be read.
    virtual std::optional<RawValue> Query(std::uint32_t root, const std::string& key,
                                          const std::string& valueName) = 0;
};

// The look-up of the platform this program was built for: the Windows registry on Windows,
// a search of the PATH for a system information tool elsewhere.
std::unique_ptr<KeyLookup> MakeSystemKeyLookup();

}  // namespace ondrix
