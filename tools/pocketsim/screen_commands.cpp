// The screen as the user sees it: a picture of it, the elements it is drawn from, and what a
// touch of the pen at a point would do.
#include "arguments.h"
#include "commands.h"
#include "screen_layout.h"
#include "screen_picture.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

}  // namespace

// The picture of the screen now, written to `path`; returns the microseconds it took to draw.
std::uint64_t paintScreen(const pocket::PocketDevice& device, ScriptState& state, const std::string& path) {
    if (!state.painter) state.painter = std::make_shared<ScreenPainter>();
    return state.painter->paint(describeScreen(layoutScreen(device, state)), path);
}

namespace {

CommandEntry showScreen() {
    return {"show screen", {"", "FILE"},
            "Shows the screen's size, as GetSystemMetrics gives it; with FILE also writes a picture of\n"
            "what the screen shows now: a PNG, or a PPM when FILE ends in .ppm.",
            {"show screen", "show screen battery.png"}, Kind::Show,
            [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show screen [FILE]");
                if (args.size() == 1 && (args[0].empty() || args[0].find('\n') != std::string::npos))
                    throw UsageError("a picture needs a file name on one line");
                return [args](Session& s) {
                    s.print("screen " + std::to_string(s.device.screenWidth()) + " x " +
                            std::to_string(s.device.screenHeight()));
                    if (args.empty()) return;
                    try {
                        paintScreen(s.device, s.state, args[0]);
                    } catch (const std::runtime_error& e) {
                        throw ActionFailed(e.what());
                    }
                    s.print("picture " + args[0]);
                };
            }};
}

CommandEntry showLayout() {
    return {"show layout", {""},
            "Shows the elements the screen is drawn from, bottom first, one a line: KIND X Y WIDTH\n"
            "HEIGHT and what it shows (the taskbar, icons and the .res they come from, the bubble and\n"
            "its text and buttons, a menu and its items, a message box, applications' windows).",
            {"show layout"}, Kind::Show,
            [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show layout");
                return [](Session& s) {
                    const std::string text = describeScreen(layoutScreen(s.device, s.state));
                    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
                        end = text.find('\n', at);
                        s.print(text.substr(at, end - at));
                    }
                };
            }};
}

CommandEntry showTouch() {
    return {"show touch", {"down|move|up|tap X Y"},
            "Shows what the pen would do at screen point X, Y, as the lines that do it (\"run: LINE\"):\n"
            "the taskbar, a tray icon, a menu item, the bubble's or a message box's button. The\n"
            "device is not changed; what a touch pressed is kept, so that its lift goes to it.",
            {"show touch tap 230 10", "show touch down 10 10"}, Kind::Show,
            [](const Arguments& args) -> Action {
                const std::string usage = "show touch down|move|up|tap X Y";
                requireCount(args, 3, 3, usage);
                static const std::pair<const char*, Touch> kTouches[] = {
                    {"down", Touch::Down}, {"move", Touch::Move}, {"up", Touch::Up}, {"tap", Touch::Tap}};
                std::optional<Touch> touch;
                for (const auto& [name, value] : kTouches)
                    if (args[0] == name) touch = value;
                if (!touch) throw UsageError("a touch is down, move, up or tap, not " + quoted(args[0]) + ": " + usage);
                const int x = static_cast<int>(parseSignedNumber(args[1], -32768, 32767, "x"));
                const int y = static_cast<int>(parseSignedNumber(args[2], -32768, 32767, "y"));
                return [touch = *touch, x, y](Session& s) {
                    for (const std::string& line : touchLines(layoutScreen(s.device, s.state), s.state, touch, x, y))
                        s.print("run: " + line);
                };
            }};
}

}  // namespace

std::vector<CommandEntry> screenCommands() {
    return {handheldOnly(showScreen()), handheldOnly(showLayout()), handheldOnly(showTouch())};
}

}  // namespace pocketsim
