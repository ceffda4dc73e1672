#pragma once

#include "serve_live.h"

#include <atomic>

namespace httplib {
class Server;
}

namespace screen {

// The page and its API on `server`, for `device`. `port` is where the server listens once bound:
// requests must name it in their Host (and Origin, when they have one), so that no other site
// the browser visits can drive the device.
void installRoutes(httplib::Server& server, LiveDevice& device, const std::atomic<int>& port);

}  // namespace screen
