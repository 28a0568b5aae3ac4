#include "plotter/about/key_value.h"

#include <cstdio>

namespace ondrix {

bool GetKeyValue(KeyLookup& lookup, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
    const auto value = lookup.Query(keyRoot, keyName, subKeyRef);
    if (!value || value->bytes.size() > kKeyValueBufferSize) {
        keyVal.clear();
        return false;
    }

    std::string data = value->bytes;
    if (data.empty()) {
        throw KeyValueError("value '" + subKeyRef + "' holds no data");
    }
    if (data.back() == '\0') {
        data.pop_back();
    }

    switch (value->type) {
        case kRegSz:
            keyVal = data;
            break;
        case kRegDword: {
            // The number is stored lowest byte first; reading the bytes backwards gives the
            // digits in their usual order. Two digits per byte keep the places of each byte.
            std::string hex = "&h";
            for (auto it = data.rbegin(); it != data.rend(); ++it) {
                char digits[3];
                std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*it));
                hex += digits;
            }
            keyVal = hex;
            break;
        }
        default:
            break;
    }
    return true;
}

}  // namespace ondrix
