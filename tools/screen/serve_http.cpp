#include "serve_http.h"

#include "serve_json.h"
#include "serve_page_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <httplib.h>
#include <memory>
#include <optional>

namespace screen {

namespace {

constexpr std::chrono::seconds kLongPoll{10};  // the longest an /events request waits for news
constexpr int kLongPollers = 4;  // more pages than this poll plainly: the pool stays free for actions
constexpr std::size_t kEventsPerAnswer = 500;

void sendJson(httplib::Response& res, int status, const std::string& body) {
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(body, "application/json");
}

void refuse(httplib::Response& res, int status, std::string_view why) {
    sendJson(res, status, "{\"ok\":false,\"error\":" + jsonString(why) + "}");
}

// 503 while the device is gone; any other failure of a show line is ours.
void refuseUnserved(httplib::Response& res, LiveDevice& device, std::string_view why) {
    refuse(res, device.stopped() ? 503 : 500, why);
}

std::string jsonLines(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (const std::string& line : lines) {
        if (out.size() > 1) out += ',';
        out += jsonString(line);
    }
    return out + "]";
}

void sendOutcome(httplib::Response& res, const Outcome& outcome) {
    const bool stopped = outcome.status == Status::stopped;
    sendJson(res, stopped ? 503 : 200,
             std::string("{\"ok\":") + (outcome.status == Status::ok ? "true" : "false") + ",\"status\":\"" +
                 std::string(statusName(outcome.status)) + "\",\"lines\":" + jsonLines(outcome.lines) +
                 ",\"ran\":" + jsonLines(outcome.ran) + ",\"version\":" + std::to_string(outcome.version) +
                 (stopped ? ",\"error\":" + jsonString(outcome.lines.empty() ? "the device has stopped" : outcome.lines.back()) : "") +
                 "}");
}

// The device reads a line at a time: a line break would smuggle in a second line.
std::optional<std::string> whyNotOneLine(std::string_view line) {
    if (!isUtf8(line)) return "the line is not UTF-8";
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return "a command is one line: no line feed, carriage return or NUL";
    return std::nullopt;
}

std::optional<std::uint64_t> unsignedParam(const httplib::Request& req, const char* name, std::uint64_t otherwise) {
    if (!req.has_param(name)) return otherwise;
    const std::string text = req.get_param_value(name);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string_view contentType(std::string_view name) {
    if (name.ends_with(".html")) return "text/html; charset=utf-8";
    if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
    if (name.ends_with(".css")) return "text/css; charset=utf-8";
    return "application/octet-stream";
}

bool servePageFile(std::string_view name, httplib::Response& res) {
    for (const page::File& file : page::kFiles) {
        if (file.name != name) continue;
        res.set_header("Cache-Control", "no-cache");
        res.set_content(std::string(file.body), std::string(contentType(name)));
        return true;
    }
    return false;
}

std::string eventsJson(const std::vector<JournalEntry>& entries, LiveDevice& device) {
    std::string out = "{\"events\":[";
    for (const JournalEntry& entry : entries) {
        if (out.back() != '[') out += ',';
        out += "{\"sequence\":" + std::to_string(entry.sequence) + ",\"line\":" + jsonString(entry.line) +
               ",\"source\":\"" + entry.source + "\",\"status\":\"" + std::string(statusName(entry.answer.status)) +
               "\",\"recorded\":" + (entry.recorded ? "true" : "false") + ",\"lines\":" + jsonLines(entry.answer.lines) + "}";
    }
    const std::optional<std::string> stopped = device.stopped();
    return out + "],\"last\":" + std::to_string(device.journal().last()) + ",\"version\":" + std::to_string(device.version()) +
           ",\"stopped\":" + (stopped ? jsonString(*stopped) : "null") + "}";
}

// A touch: {"kind": "down"|"move"|"up"|"tap", "x": X, "y": Y} in screen pixels.
struct TouchRequest {
    std::string kind;
    int x = 0;
    int y = 0;
};

TouchRequest parseTouch(std::string_view body, ScreenSize screen) {
    const JsonObject request = parseJsonObject(body);
    auto member = [&]<typename T>(std::string_view name, const char* what) -> const T& {
        const auto found = request.find(name);
        if (found == request.end()) throw JsonError("missing \"" + std::string(name) + "\"");
        const T* value = std::get_if<T>(&found->second);
        if (!value) throw JsonError("\"" + std::string(name) + "\" must be " + what);
        return *value;
    };
    TouchRequest touch;
    touch.kind = member.operator()<std::string>("kind", "a string");
    if (touch.kind != "down" && touch.kind != "move" && touch.kind != "up" && touch.kind != "tap")
        throw JsonError("\"kind\" must be down, move, up or tap");
    const double x = std::floor(member.operator()<double>("x", "a number"));
    const double y = std::floor(member.operator()<double>("y", "a number"));
    if (x < 0 || y < 0 || x >= screen.width || y >= screen.height)
        throw JsonError("the point is off the " + std::to_string(screen.width) + " x " + std::to_string(screen.height) + " screen");
    touch.x = static_cast<int>(x);
    touch.y = static_cast<int>(y);
    return touch;
}

}  // namespace

void installRoutes(httplib::Server& server, LiveDevice& device, const std::atomic<int>& port) {
    server.set_pre_routing_handler([&port](const httplib::Request& req, httplib::Response& res) {
        const std::string host = req.get_header_value("Host");
        const std::string origin = req.get_header_value("Origin");
        const std::string_view name = std::string_view(host).substr(0, host.rfind(':'));
        const bool ourHost = (name == "127.0.0.1" || name == "localhost") && host.rfind(':') != std::string::npos &&
                             host.substr(host.rfind(':') + 1) == std::to_string(port.load());
        if (!ourHost || (!origin.empty() && origin != std::string("http://").append(host))) {
            refuse(res, 403, "requests come from this server's own page only");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;  // a refusal of our own
        const std::string why = res.status == 404 ? "no such page"
                                : res.status == 413 ? "the request is too long"
                                                    : "the request cannot be served";
        refuse(res, res.status, why);
        return httplib::Server::HandlerResponse::Handled;
    }));
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr thrown) {
        std::string why = "internal error";
        try {
            std::rethrow_exception(thrown);
        } catch (const std::exception& e) {
            why += std::string(": ") + e.what();
        } catch (...) {
        }
        refuse(res, 500, why);
    });

    server.Get("/", [](const httplib::Request&, httplib::Response& res) { servePageFile("index.html", res); });
    server.Get(R"(/([A-Za-z0-9_-]+\.(?:html|js|css)))", [](const httplib::Request& req, httplib::Response& res) {
        if (!servePageFile(req.matches[1].str(), res)) refuse(res, 404, "no such page");
    });

    server.Get("/screen.png", [&device](const httplib::Request&, httplib::Response& res) {
        try {
            const Picture picture = device.picture();
            res.set_header("Cache-Control", "no-store");
            res.set_header("X-Screen-Version", std::to_string(picture.version));
            res.set_content(*picture.png, "image/png");
        } catch (const std::runtime_error& e) {
            refuseUnserved(res, device, e.what());
        }
    });
    server.Get("/layout", [&device](const httplib::Request&, httplib::Response& res) {
        try {
            res.set_header("Cache-Control", "no-store");
            res.set_content(device.layout(), "text/plain; charset=utf-8");
        } catch (const std::runtime_error& e) {
            refuseUnserved(res, device, e.what());
        }
    });

    server.Post("/command", [&device](const httplib::Request& req, httplib::Response& res) {
        if (const auto why = whyNotOneLine(req.body)) return refuse(res, 400, *why);
        sendOutcome(res, device.command(req.body));
    });
    server.Post("/touch", [&device](const httplib::Request& req, httplib::Response& res) {
        TouchRequest touch;
        try {
            touch = parseTouch(req.body, device.screenSize());
        } catch (const JsonError& e) {
            return refuse(res, 400, e.what());
        }
        try {
            sendOutcome(res, device.touch(touch.kind, touch.x, touch.y));
        } catch (const std::runtime_error& e) {
            refuseUnserved(res, device, e.what());
        }
    });

    server.Get("/events", [&device, waiting = std::make_shared<std::atomic<int>>(0)](const httplib::Request& req,
                                                                                      httplib::Response& res) {
        const auto after = unsignedParam(req, "after", 0);
        const auto wait = unsignedParam(req, "wait", kLongPoll.count());
        if (!after || !wait) return refuse(res, 400, "after and wait are whole numbers");
        const bool counted = *wait != 0 && !device.stopped();
        if (counted) ++*waiting;
        const bool mayWait = counted && waiting->load() <= kLongPollers;
        const auto seconds = std::chrono::seconds(std::min<std::uint64_t>(*wait, kLongPoll.count()));
        const auto entries = device.journal().after(*after, kEventsPerAnswer, mayWait ? seconds : std::chrono::seconds(0));
        if (counted) --*waiting;
        sendJson(res, 200, eventsJson(entries, device));
    });

    server.Get("/recording.pocket", [&device](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Disposition", "attachment; filename=\"recording.pocket\"");
        res.set_header("Cache-Control", "no-store");
        res.set_content(device.journal().recording(), "text/plain; charset=utf-8");
    });
}

}  // namespace screen
