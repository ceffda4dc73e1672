// pocketsim: runs a script of commands against a simulated Pocket PC and reports what it shows.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>

#include "arguments.h"
#include "commands.h"
#include "script_runner.h"

namespace {

constexpr const char* kVersion = "pocketsim 1.0.0";

int usageError(const std::string& message) {
    std::cerr << "pocketsim: " << message
              << "\nUsage: pocketsim [--check] [--image PROGRAM=PATH] [SCRIPT | -]; pocketsim --help for more\n";
    return pocketsim::kMalformed;
}

}  // namespace

int main(int argc, char** argv) {
    pocketsim::RunOptions options;
    std::string script;
    bool scriptGiven = false;
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
        if (arg == "--check") {
            options.checkOnly = true;
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
    options.progress = isatty(STDERR_FILENO);
    if (!scriptGiven || script == "-") return pocketsim::runScript("<stdin>", std::cin, std::cout, std::cerr, options);
    std::ifstream file(script, std::ios::binary);
    if (!file) return usageError("cannot open " + script);
    return pocketsim::runScript(script, file, std::cout, std::cerr, options);
}
