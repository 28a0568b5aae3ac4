// Starting a program with its own environment, current directory and standard streams.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace ondrix::uninstall::testing {

struct ChildOptions {
    std::vector<std::string> argv;
    std::vector<std::string> env;  // "NAME=value"; nothing else is inherited
    std::string cwd;
    std::string stdout_path;  // where standard output goes
    std::string stderr_path;
};

struct ChildResult {
    int exit_code = -1;  // -1 when the child did not exit normally
    bool timed_out = false;
    std::chrono::milliseconds elapsed{};
};

// A started child whose standard input is a pipe held by the parent.
class Child {
  public:
    explicit Child(const ChildOptions& options);
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child();

    // Writes to the child's standard input.
    void Write(const std::string& bytes);
    // Ends the child's standard input.
    void CloseInput();
    // Whether the child has ended (without waiting).
    bool HasExited();
    // Waits for the end, killing the child after `limit`.
    ChildResult Wait(std::chrono::milliseconds limit = std::chrono::seconds(60));

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::optional<int> status_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace ondrix::uninstall::testing
