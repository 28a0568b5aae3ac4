#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace ondrix::uninstall::testing {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

[[noreturn]] void ChildFails(const char* what) {
    const std::string text = std::string(what) + ": " + std::strerror(errno) + "\n";
    [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
    ::_exit(127);
}

}  // namespace

Child::Child(const ChildOptions& options) : start_(std::chrono::steady_clock::now()) {
    int pipe_fds[2];
    if (::pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    // Everything the child needs is prepared before fork.
    std::vector<char*> argv = Pointers(options.argv);
    std::vector<char*> env = Pointers(options.env);

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        const int out = ::open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(options.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0) ChildFails("open");
        if (::dup2(pipe_fds[0], STDIN_FILENO) < 0 || ::dup2(out, STDOUT_FILENO) < 0 ||
            ::dup2(err, STDERR_FILENO) < 0) {
            ChildFails("dup2");
        }
        if (::chdir(options.cwd.c_str()) != 0) ChildFails("chdir");
        ::execve(argv[0], argv.data(), env.data());
        ChildFails("execve");
    }
    ::close(pipe_fds[0]);
    input_ = pipe_fds[1];
}

Child::~Child() {
    CloseInput();
    if (!status_) Wait(std::chrono::milliseconds(0));
}

void Child::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(input_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;  // the child stopped reading; what it read is what counts
        done += static_cast<std::size_t>(n);
    }
}

void Child::CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

bool Child::HasExited() {
    if (status_) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return status_.has_value();
}

ChildResult Child::Wait(std::chrono::milliseconds limit) {
    ChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!HasExited()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            int status = 0;
            ::waitpid(pid_, &status, 0);
            status_ = status;
            result.timed_out = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_);
    if (!result.timed_out && WIFEXITED(*status_)) result.exit_code = WEXITSTATUS(*status_);
    return result;
}

}  // namespace ondrix::uninstall::testing
