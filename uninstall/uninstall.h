// The uninstall run.
#pragma once

namespace ondrix::uninstall {

// Removes the installation recorded in the install log of the program's own folder, then the
// desktop shortcut, the program group and the group shortcut, writes the outcome, waits for
// one line of input and returns the exit code. Errors it does not handle are thrown.
int Run();

}  // namespace ondrix::uninstall
