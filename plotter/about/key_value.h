#pragma once

// Reads one value of a KeyLookup as text, with the rules the launcher of the system
// information tool depends on.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "plotter/about/key_lookup.h"

namespace ondrix {

// The size of the data buffer: a value with more data than this counts as missing.
inline constexpr std::size_t kKeyValueBufferSize = 1024;

// Raised for a value that exists but holds no data at all: there is no text to cut from it.
class KeyValueError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Looks up `valueName` under `root`\`key`. Returns false, with `keyVal` emptied, when the key or
// the value is missing or the data is longer than the buffer. Otherwise returns true:
//   - one trailing NUL of the data is dropped (any NUL before it stays);
//   - REG_SZ: `keyVal` becomes the text;
//   - REG_DWORD: `keyVal` becomes "&h" followed by the data's bytes (after the NUL rule above)
//     from the last to the first, each as two upper-case hex digits; the dropped byte is a
//     high-order zero, so the number keeps its value (0x0001002A reads "&h01002A");
//   - any other type: `keyVal` is left as it was.
// Throws KeyValueError for a value of size 0.
bool GetKeyValue(KeyLookup& lookup, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal);

}  // namespace ondrix
