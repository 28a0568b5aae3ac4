// The Windows look-up: the machine's registry through advapi32. Built only on Windows.

#include <windows.h>

#include "plotter/about/key_value.h"

namespace ondrix {

namespace {

// Read control together with all six key rights (query, set, create subkey, enumerate,
// notify, create link). A user who may only read the key is refused, and the value then
// counts as missing.
constexpr REGSAM kKeyAllAccess = 0x2003F;

class RegistryLookup : public KeyLookup {
  public:
    std::optional<RawValue> Query(std::uint32_t root, const std::string& key,
                                  const std::string& valueName) override {
        HKEY handle = nullptr;
        // Predefined root handles are 32-bit values sign-extended to the pointer's width.
        const auto rootHandle =
            reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
        if (RegOpenKeyExA(rootHandle, key.c_str(), 0, kKeyAllAccess, &handle) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string buffer(kKeyValueBufferSize, '\0');
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size());
        const LONG status = RegQueryValueExA(handle, valueName.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &size);
        RegCloseKey(handle);
        // ERROR_MORE_DATA (longer than the buffer) is a failure like any other.
        if (status != ERROR_SUCCESS) return std::nullopt;
        buffer.resize(size);
        return RawValue{static_cast<std::uint32_t>(type), buffer};
    }
};

}  // namespace

std::unique_ptr<KeyLookup> MakeSystemKeyLookup() {
    return std::make_unique<RegistryLookup>();
}

}  // namespace ondrix
