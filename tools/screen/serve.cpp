#include "serve.h"

#include <iostream>

int serveMain(int, char**) {
    std::cerr << "pocketscreen: serve is not built yet\n";
    return 2;
}
