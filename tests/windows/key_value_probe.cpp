// key_value_probe ROOT KEY VALUE INITIAL
// Looks VALUE up under ROOT\KEY (ROOT is HKLM or HKCU) with GetKeyValue on the machine's
// registry, starting from the text INITIAL, and writes one line:
//   found=1 text=[...]   or   found=0 text=[...]   or   error=...
// Bytes outside printable ASCII in the text are written as \xHH, so the line shows every NUL.
#include <cstdio>
#include <string>

#include "plotter/about/key_value.h"

namespace {

constexpr std::uint32_t kHKeyCurrentUser = 0x80000001u;

std::string Visible(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: key_value_probe HKLM|HKCU KEY VALUE INITIAL\n", stderr);
        return 2;
    }
    const std::string root_name = argv[1];
    const std::uint32_t root = root_name == "HKCU" ? kHKeyCurrentUser : ondrix::kHKeyLocalMachine;
    const auto lookup = ondrix::MakeSystemKeyLookup();
    std::string text = argv[4];
    try {
        const bool found = ondrix::GetKeyValue(*lookup, root, argv[2], argv[3], text);
        std::printf("found=%d text=[%s]\n", found ? 1 : 0, Visible(text).c_str());
    } catch (const ondrix::KeyValueError& error) {
        std::printf("error=%s\n", error.what());
    }
    return 0;
}
