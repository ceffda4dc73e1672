#pragma once

#include "serve_live.h"

#include <atomic>

namespace httplib {
class Server;
}

namespace screen {

// GET  /                  the page (and its page.js, page.css)
// GET  /screen.png        the screen now; X-Screen-Version says which version of it
// GET  /layout            the screen description (show layout)
// POST /command           body: one script line -> {ok, status, lines, ran, version}
// POST /touch             body: {"kind": "down|move|up|tap", "x": X, "y": Y} -> as /command, ran: the stylus lines
// GET  /events?after=N[&wait=S]   journal entries after N, waiting up to S (10) seconds for one
// GET  /recording.pocket  what ran and acted, as a script to download
// Refusals are {ok: false, error}: 400 bad input, 403 another site, 404, 413 over 4 KiB, 503 device stopped.
//
// The page and its API on `server`, for `device`. `port` is where the server listens once bound:
// requests must name it in their Host (and Origin, when they have one), so that no other site
// the browser visits can drive the device.
void installRoutes(httplib::Server& server, LiveDevice& device, const std::atomic<int>& port);

}  // namespace screen
