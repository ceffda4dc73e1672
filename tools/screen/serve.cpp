#include "serve.h"

#include "render.h"
#include "serve_http.h"
#include "serve_live.h"

#include <csignal>
#include <httplib.h>
#include <iostream>
#include <memory>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kMaxBody = 4096;
constexpr std::size_t kThreads = 8;

struct ServeOptions {
    int port = 8080;
    std::vector<std::string> child;  // pocketsim --interactive and its own arguments
};

ServeOptions parseOptions(int argc, char** argv) {
    ServeOptions options;
    std::string pocketsim;
    std::vector<std::string> rest;
    int i = 1;
    if (i < argc && std::string(argv[i]) == "serve") ++i;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&] {
            if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
            return std::string(argv[++i]);
        };
        if (arg == "--port") {
            const std::string text = value();
            if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(text) > 65535)
                throw std::invalid_argument("--port takes a port number, 0 to 65535 (0: any free one)");
            options.port = std::stoi(text);
        } else if (arg == "--pocketsim") {
            pocketsim = value();
        } else if (arg == "--") {
            rest.assign(argv + i + 1, argv + argc);
            break;
        } else {
            throw std::invalid_argument("unknown argument " + arg);
        }
    }
    if (pocketsim.empty()) throw std::invalid_argument("--pocketsim PATH is needed");
    options.child = {pocketsim, "--interactive"};
    options.child.insert(options.child.end(), rest.begin(), rest.end());
    return options;
}

// Ctrl-C or a TERM signal ends the server in order: the waits wake, the device is ended and reaped.
class StopOnSignal {
public:
    template <typename Stop>
    explicit StopOnSignal(Stop stop) {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGUSR1);  // our own, to end the watch
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread: all inherit it
        watcher_ = std::thread([signals, stop] {
            int got = 0;
            sigwait(&signals, &got);
            if (got != SIGUSR1) stop();
        });
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;
    ~StopOnSignal() {
        pthread_kill(watcher_.native_handle(), SIGUSR1);
        watcher_.join();
    }

private:
    std::thread watcher_;
};

}  // namespace

int serveMain(int argc, char** argv) {
    ServeOptions options;
    try {
        options = parseOptions(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "pocketscreen serve: " << e.what()
                  << "\nUsage: pocketscreen serve --port N --pocketsim PATH [-- POCKETSIM-ARGS...]\n";
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);  // a device or a browser gone is an error return, not our end

    std::unique_ptr<screen::LiveDevice> device;
    try {
        device = std::make_unique<screen::LiveDevice>(options.child, [](std::string_view description) {
            return screen::renderPng(description);
        });
    } catch (const std::exception& e) {
        std::cerr << "pocketscreen serve: " << e.what() << "\n";
        return 1;
    }
    httplib::Server server;
    std::atomic<int> port{0};
    StopOnSignal stopOnSignal([&] {
        device->journal().close();
        server.stop();
    });
    server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
    server.set_payload_max_length(kMaxBody);
    // Not the library's SO_REUSEPORT: a second server on a port in use would share it, and the
    // requests would be dealt out between two devices.
    server.set_socket_options([](int sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server.set_keep_alive_max_count(1);  // an idle kept-alive connection would hold a thread of the pool
    screen::installRoutes(server, *device, port);

    const int bound = options.port == 0 ? server.bind_to_any_port("127.0.0.1") :
                      server.bind_to_port("127.0.0.1", options.port) ? options.port : -1;
    if (bound <= 0) {
        std::cerr << "pocketscreen serve: cannot listen on 127.0.0.1 port " << options.port << "\n";
        return 1;
    }
    port = bound;
    std::cout << "http://127.0.0.1:" << bound << "/" << std::endl;
    const bool listened = server.listen_after_bind();
    device->journal().close();
    return listened ? 0 : 1;
}
