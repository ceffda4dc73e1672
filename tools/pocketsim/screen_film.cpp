#include "screen_film.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "screen_layout.h"

namespace pocketsim {

namespace {

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string base64(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 3; ++k) v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(v >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr const char* kStyle = R"(
body { font-family: sans-serif; margin: 1.5em; background: #f4f4f4; color: #222; }
h1 { font-size: 1.3em; } .status { font-weight: bold; } .failed { color: #b00; } .passed { color: #070; }
.frame { display: flex; gap: 1.2em; background: #fff; border: 1px solid #ccc; margin: 0.6em 0; padding: 0.6em; }
.frame .shot { flex: 0 0 auto; width: 240px; }
.frame .shot img { border: 1px solid #444; display: block; }
.frame .shot .same { color: #888; font-size: 0.85em; width: 240px; }
.frame pre { margin: 0; white-space: pre-wrap; font-size: 0.85em; }
.frame pre .line { font-weight: bold; }
.frame .complaint { color: #b00; }
)";

}  // namespace

ScreenFilm::ScreenFilm(std::string screensDir, std::string reportPath, std::string scriptName)
    : screensDir_(std::move(screensDir)), reportPath_(std::move(reportPath)), scriptName_(std::move(scriptName)) {}

void ScreenFilm::add(LineRunner& runner, const ScriptLine& line, const LineRunner::Result& result, std::ostream& err) {
    if (!keeping()) return;
    Frame frame{line.number, result.printed, result.complaint, {}};
    const std::string screen = describeScreen(layoutScreen(runner.device(), runner.state()));
    if (screen != lastScreen_ && !failed_) {
        char name[32];
        std::snprintf(name, sizeof name, "line-%04zu.png", line.number);
        std::string path;
        try {
            if (!screensDir_.empty()) {
                std::filesystem::create_directories(screensDir_);
                path = (std::filesystem::path(screensDir_) / name).string();
            } else {
                path = (std::filesystem::temp_directory_path() / ("pocketsim-" + std::to_string(getpid()) + "-" + name)).string();
            }
            paintScreen(runner.device(), runner.state(), path);
            if (!reportPath_.empty()) frame.picture = readFile(path);
            if (screensDir_.empty()) std::filesystem::remove(path);
            lastScreen_ = screen;
        } catch (const std::exception& e) {
            err << "pocketsim: cannot draw the screen: " << e.what() << "\n";
            failed_ = true;
        }
    }
    frames_.push_back(std::move(frame));
}

int ScreenFilm::finish(int status, std::ostream& err) {
    if (reportPath_.empty()) return failed_ ? 1 : status;
    std::ofstream html(reportPath_, std::ios::binary | std::ios::trunc);
    html << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << escapeHtml(scriptName_)
         << "</title><style>" << kStyle << "</style></head><body>\n<h1>" << escapeHtml(scriptName_) << "</h1>\n"
         << "<p class=\"status " << (status == 0 ? "passed\">every line ran, every expectation held" : "failed\">the run failed")
         << "</p>\n";
    for (const Frame& frame : frames_) {
        html << "<div class=\"frame\" id=\"line-" << frame.number << "\"><div class=\"shot\">";
        if (!frame.picture.empty())
            html << "<img width=\"240\" alt=\"the screen after line " << frame.number << "\" src=\"data:image/png;base64,"
                 << base64(frame.picture) << "\">";
        else
            html << "<div class=\"same\">(the screen as above)</div>";
        html << "</div><pre>";
        for (std::size_t i = 0; i < frame.printed.size(); ++i)
            html << (i == 0 ? "<span class=\"line\">" : "") << escapeHtml(frame.printed[i]) << (i == 0 ? "</span>" : "") << "\n";
        if (!frame.complaint.empty()) html << "<span class=\"complaint\">" << escapeHtml(frame.complaint) << "</span>";
        html << "</pre></div>\n";
    }
    html << "</body></html>\n";
    html.close();
    if (!html) {
        err << "pocketsim: cannot write the report " << reportPath_ << "\n";
        return 1;
    }
    return failed_ ? 1 : status;
}

}  // namespace pocketsim
