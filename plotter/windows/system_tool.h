#pragma once

// What the About box's system information launcher needs from Windows: a file test, starting a
// program without waiting, and a modal message box.

#include <windows.h>

#include <string>

namespace ondrix::win32 {

// A file exists at `path` as a plain file lookup finds it: not a folder, not hidden, not a
// system file.
bool PlainFileExists(const std::string& path);

// Starts `commandLine` (8-bit text, the whole command line as it is) without waiting for it;
// its window opens normally. False when it could not be started.
bool StartProgram(const std::string& commandLine);

// A modal message box owned by `owner`, with an OK button only and no icon.
void ShowMessage(HWND owner, const std::string& text, const std::string& caption);

}  // namespace ondrix::win32
