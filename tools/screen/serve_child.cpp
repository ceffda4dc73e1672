#include "serve_child.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace screen {

namespace {

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

std::string describeExit(int status) {
    if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "was ended by signal " + std::to_string(WTERMSIG(status));
    return "ended";
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        throw std::runtime_error("cannot make a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // The child starts with its signals as a process of its own would, not as the server keeps them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int failed = posix_spawn(&pid_, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
    if (failed) {
        pid_ = -1;
        closeFd(toChild_);
        closeFd(fromChild_);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(failed));
    }
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::writeLine(std::string_view line) {
    std::string text(line);
    text += '\n';
    std::string_view rest = text;
    while (!rest.empty() && toChild_ >= 0) {
        const ssize_t written = write(toChild_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;  // EPIPE: SIGPIPE is ignored by the server
        rest.remove_prefix(static_cast<size_t>(written));
    }
    return rest.empty();
}

std::optional<std::string> ChildProcess::readLine(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (const size_t end = buffered_.find('\n'); end != std::string::npos) {
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        if (fromChild_ < 0) return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd ready{fromChild_, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t got = read(fromChild_, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        buffered_.append(chunk, static_cast<size_t>(got));
    }
}

std::optional<std::string> ChildProcess::exited() {
    if (pid_ < 0) return exitText_;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return std::nullopt;
    pid_ = -1;
    closeFd(toChild_);
    closeFd(fromChild_);
    exitText_ = describeExit(status);
    return exitText_;
}

std::string ChildProcess::stop() {
    if (pid_ < 0) return exitText_;
    closeFd(toChild_);  // end of input ends it
    int status = 0;
    pid_t done = 0;
    for (int waited = 0; waited < 50 && (done = waitpid(pid_, &status, WNOHANG)) == 0; ++waited) usleep(10'000);
    if (done == 0) {
        kill(pid_, SIGKILL);
        done = waitpid(pid_, &status, 0);
    }
    closeFd(fromChild_);
    exitText_ = done == pid_ ? describeExit(status) : "could not be reaped";
    pid_ = -1;
    return exitText_;
}

}  // namespace screen
