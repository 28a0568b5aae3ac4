#pragma once

#include <string>
#include <string_view>

namespace ondrix::win32 {

// UTF-8 (the form logic's texts) to the UTF-16 of Windows' wide functions, and back.
std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace ondrix::win32
