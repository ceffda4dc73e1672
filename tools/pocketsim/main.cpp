// pocketsim: runs a script of commands against a simulated Pocket PC and reports what it shows.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "screen_picture.h"
#include "script_runner.h"

namespace {

constexpr const char* kVersion = "pocketsim 1.0.0";

int usageError(const std::string& message) {
    std::cerr << "pocketsim: " << message
              << "\nUsage: pocketsim [--check] [--image PROGRAM=PATH] [--screens DIR] [--report FILE.html] [SCRIPT | -]\n"
                 "       pocketsim --interactive | --serve [PORT]; pocketsim --help for more\n";
    return pocketsim::kMalformed;
}

// The live device: pocketscreen serves the page and drives this program's interactive mode.
int serve(const std::string& port, const pocketsim::RunOptions& options) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return usageError("cannot tell where pocketsim is");
    self[length] = '\0';
    const std::string tool = pocketsim::pocketscreenPath();
    std::vector<std::string> args = {tool, "serve", "--port", port, "--pocketsim", self, "--"};
    for (const auto& [program, image] : options.images) {
        args.push_back("--image");
        args.push_back(program + "=" + image);
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(tool.c_str(), argv.data());
    std::cerr << "pocketsim: cannot start " << tool << " (build it: scripts/build.sh)\n";
    return pocketsim::kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    pocketsim::RunOptions options;
    std::string script;
    bool scriptGiven = false;
    bool interactive = false;
    std::string servePort;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::string topic;
            for (int j = i + 1; j < argc; ++j) topic += (topic.empty() ? "" : " ") + std::string(argv[j]);
            try {
                pocketsim::printHelp(std::cout, topic);
            } catch (const pocketsim::UsageError& e) {
                return usageError(e.what());
            }
            return pocketsim::kSuccess;
        }
        if (arg == "--version") {
            std::cout << kVersion << "\n";
            return pocketsim::kSuccess;
        }
        auto valueOf = [&](const std::string& what) -> std::string {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') throw std::invalid_argument(arg + " needs " + what);
            return argv[++i];
        };
        if (arg == "--check") {
            options.checkOnly = true;
        } else if (arg == "--interactive") {
            interactive = true;
        } else if (arg == "--serve") {
            servePort = "8080";
            if (i + 1 < argc && std::string(argv[i + 1]).find_first_not_of("0123456789") == std::string::npos &&
                std::string(argv[i + 1]).size() <= 5)
                servePort = argv[++i];
        } else if (arg == "--screens" || arg == "--report") {
            try {
                (arg == "--screens" ? options.screensDir : options.reportPath) = valueOf(arg == "--screens" ? "a folder" : "a file");
            } catch (const std::invalid_argument& e) {
                return usageError(e.what());
            }
        } else if (arg == "--image" && i + 1 < argc && std::string(argv[i + 1]).find('=') != std::string::npos) {
            const std::string given = argv[++i];
            options.images[given.substr(0, given.find('='))] = given.substr(given.find('=') + 1);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (scriptGiven) {
            return usageError("only one script can be run at a time");
        } else {
            script = arg;
            scriptGiven = true;
        }
    }
    if (interactive && (scriptGiven || !servePort.empty())) return usageError("--interactive reads its commands from standard input");
    if (!servePort.empty()) {
        if (scriptGiven) return usageError("--serve starts a device of its own; it runs no script");
        return serve(servePort, options);
    }
    if (interactive) return pocketsim::runInteractive(std::cin, std::cout, options);
    options.progress = isatty(STDERR_FILENO);
    if (!scriptGiven || script == "-") return pocketsim::runScript("<stdin>", std::cin, std::cout, std::cerr, options);
    std::ifstream file(script, std::ios::binary);
    if (!file) return usageError("cannot open " + script);
    return pocketsim::runScript(script, file, std::cout, std::cerr, options);
}
