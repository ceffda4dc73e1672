#include "screen_picture.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#ifndef POCKETSCREEN_EXE
#define POCKETSCREEN_EXE "pocketscreen"
#endif

extern char** environ;

namespace pocketsim {

std::string pocketscreenPath() {
    const char* given = std::getenv("POCKETSCREEN");
    return given && *given ? given : POCKETSCREEN_EXE;
}

ScreenPainter::ScreenPainter() = default;

ScreenPainter::~ScreenPainter() { stop(); }

void ScreenPainter::start() {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe for the picture tool");
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        throw std::runtime_error("cannot make a pipe for the picture tool");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const std::string path = pocketscreenPath();
    char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("render"), nullptr};
    const int failed = posix_spawnp(&child_, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (failed) {
        close(in[1]);
        close(out[0]);
        child_ = -1;
        throw std::runtime_error("cannot start the picture tool " + path + " (build it: scripts/build.sh)");
    }
    toChild_ = in[1];
    fromChild_ = out[0];
    // A tool that ends early must fail the picture, not the whole run.
    signal(SIGPIPE, SIG_IGN);
}

void ScreenPainter::stop() {
    if (child_ < 0) return;
    close(toChild_);
    close(fromChild_);
    int status = 0;
    waitpid(child_, &status, 0);
    child_ = -1;
    buffered_.clear();
}

std::uint64_t ScreenPainter::paint(const std::string& description, const std::string& path) {
    if (path.find('\n') != std::string::npos) throw std::runtime_error("a picture's file name cannot hold a line feed");
    if (child_ < 0) start();
    const std::string request = "picture " + path + "\n" + description + "end\n";
    for (std::size_t sent = 0; sent < request.size();) {
        const ssize_t n = write(toChild_, request.data() + sent, request.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            stop();
            throw std::runtime_error("the picture tool ended");
        }
        sent += static_cast<std::size_t>(n);
    }
    std::size_t end;
    while ((end = buffered_.find('\n')) == std::string::npos) {
        char chunk[512];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            stop();
            throw std::runtime_error("the picture tool ended");
        }
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
    const std::string answer = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    if (answer.rfind("ok", 0) == 0) return std::strtoull(answer.c_str() + 2, nullptr, 10);
    throw std::runtime_error("cannot draw " + path + ": " + (answer.rfind("error ", 0) == 0 ? answer.substr(6) : answer));
}

}  // namespace pocketsim
