// uninstall: removes an Ondrix installation recorded in "install.txt" next to this program.
#include <cstdio>
#include <exception>
#include <string>

#include "uninstall.h"

int main() {
    try {
        return ondrix::uninstall::Run();
    } catch (const std::exception& error) {
        const std::string text = std::string(error.what()) + "\r\n";
        std::fwrite(text.data(), 1, text.size(), stderr);
    } catch (...) {
        std::fputs("Unexpected error\r\n", stderr);
    }
    return 1;
}
