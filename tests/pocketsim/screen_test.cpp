#include <gtest/gtest.h>

#include <sstream>

#include "run_script_support.h"
#include "screen_layout.h"
#include "script_runner.h"

namespace screen_test {

using pocketsim_test::run;

const std::string kShell = "boot shell\ntick 60000\npower battery 50\n";
const std::string kMenuOpen = kShell + "start rcbridge\ntap tray rcbridge\n";
const std::string kAboutOpen = kMenuOpen + "choose menu \"ﾊﾞｰｼﾞｮﾝ情報...\"\n";

// The elements a screen shows (and lacks), as "show layout" describes them.
struct Shown {
    std::string script;
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

TEST(Screen, ShowsWhatTheDeviceShows) {
    const Shown cases[] = {
        {kShell, {"taskbar 0 0 240 26 title=\"Start\" close=\"0\"", "desktop 0 26 240 294"}, {"bubble", "window", "icon"}},
        {"boot shell taskbar 240x40\n", {"taskbar 0 0 240 40", "desktop 0 40 240 280"}, {}},
        {"boot shell taskbar 100000x100000\nstart voltmarap\n", {"taskbar 0 0 240 320", "bubble 2 322 236 0", "text 8 346 224 0"}, {" -"}},
        {"tick 60000\n", {"screen 0 0 240 320 display=\"on\"", "desktop 0 0 240 320"}, {"taskbar"}},
        {kShell + "start voltmarap\n",
         {"bubble 2 28 236 ", " title=\"バッテリ情報\"", "icon 6 30 16 16 res=\"", "voltmarap.res\" id=\"104\"",
          "markup=\"バッテリ残量: 50 %\\n連続バッテリ使用時間: 0 時間 0 分\" align=\"left\"", "button 164 ",
          "label=\"リセット\""},
         {}},
        {kShell + "start rcbridge\n", {"icon 197 5 16 16 res=\"", "rcbridge.res\" id=\"102\" owner=\"rcbridge\""}, {"bubble"}},
        {kMenuOpen,
         {"menu 118 242 122 52", "item 120 244 118 20 text=\"ﾊﾞｰｼﾞｮﾝ情報...\" grayed=\"0\" separator=\"0\"",
          "item 120 264 118 8 text=\"\" grayed=\"0\" separator=\"1\"", "item 120 272 118 20 text=\"終了\""},
         {}},
        {kAboutOpen, {"box 10 ", "caption=\"About\"", "markup=\"Tunelark ﾘﾓｺﾝ ﾕｰﾃｨﾘﾃｨ ver.1.02\\n", "label=\"OK\""}, {"menu"}},
        {kShell + "app add notes NotesApp \"Notes & <b>\" front\n",
         {"window 0 26 240 294 title=\"Notes & <b>\" class=\"NotesApp\" front=\"1\"", "title=\"Notes & <b>\" close=\"1\""},
         {}},
        {kShell + "app add notes NotesApp Notes hidden front\n", {"close=\"1\""}, {"window"}},
        {kShell + "start voltmarap\ndisplay driver state off\n", {"screen 0 0 240 320 display=\"off\""}, {"taskbar", "bubble"}},
        {kShell + "start voltmarap\nshow touch down 170 90\n", {"label=\"リセット\" pressed=\"1\""}, {}},
    };
    for (const Shown& c : cases) {
        const auto r = run(c.script + "show layout\n");
        ASSERT_EQ(r.exit, pocketsim::kSuccess) << c.script << r.err;
        const std::string layout = r.out.substr(r.out.rfind("show layout"));
        for (const std::string& text : c.present) EXPECT_NE(layout.find(text), std::string::npos) << text << "\n" << layout;
        for (const std::string& text : c.absent) EXPECT_EQ(layout.find(text), std::string::npos) << text << "\n" << layout;
    }
}

// The pen at a point: the lines it runs, with a lift going where its touch went.
struct Touching {
    std::string script;
    std::vector<std::string> touches;  // "show touch" arguments
    std::vector<std::string> lines;
};

TEST(Screen, ThePenRunsWhatIsUnderIt) {
    const std::string bubble = kShell + "start voltmarap\n";
    const Touching cases[] = {
        {kShell, {"tap 230 10"}, {"stylus down 230 10", "stylus up 230 10"}},
        {kShell, {"down 230 10", "move 100 40", "up 100 40"}, {"stylus down 230 10", "stylus move 100 40", "stylus up 100 40"}},
        {kShell, {"tap 100 200", "move 10 10", "up 10 10"}, {}},
        {kShell, {"tap 240 10", "tap -1 5", "tap 10 320"}, {}},
        {kShell + "start rcbridge\n", {"down 200 8", "up 20 300"}, {"pen down tray pid=4100 1", "pen up tray pid=4100 1"}},
        {kMenuOpen, {"tap 130 280"}, {"choose menu 40005"}},
        {kMenuOpen, {"tap 130 266"}, {}},
        {kMenuOpen, {"down 10 100"}, {"dismiss menu"}},
        {kMenuOpen, {"down 200 8"}, {"dismiss menu"}},
        {kAboutOpen, {"tap 230 10", "tap 200 8"}, {}},
        {bubble, {"tap 170 90"}, {"tap notification {CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5} 1 1"}},
        {bubble, {"down 170 90", "up 20 90"}, {}},
        {kShell + "start voltmarap\ndisplay driver state off\n", {"tap 230 10"}, {}},
    };
    for (const Touching& c : cases) {
        std::string script = c.script;
        for (const std::string& touch : c.touches) script += "show touch " + touch + "\n";
        const auto r = run(script);
        ASSERT_EQ(r.exit, pocketsim::kSuccess) << script << r.err;
        std::vector<std::string> lines;
        std::istringstream out(r.out);
        for (std::string line; std::getline(out, line);)
            if (const auto at = line.find("run: "); at != std::string::npos) lines.push_back(line.substr(at + 5));
        EXPECT_EQ(lines, c.lines) << script;
    }
}

TEST(Screen, BubbleHtmlAsTheShellShowsIt) {
    struct Case {
        std::string html;
        std::vector<std::string> markup;  // per paragraph
        std::vector<std::string> buttons;  // "label=command"
    };
    const Case cases[] = {
        {"<HTML><BODY><P>a: 1 %<BR>b</P><p align=right><input type=button name='cmd:7' value='Go'></p></BODY></HTML>",
         {"a: 1 %\nb", ""}, {"Go=7"}},
        {"  two\n  words <b>bold</B> &amp; &lt;x&gt; &#x41;&#66; &bogus; &#0;", {"two words <b>bold</b> &amp; &lt;x&gt; AB &amp;bogus; &amp;#0;"}, {}},
        {"<p>open <b>bold<p>next", {"open <b>bold</b>", "<b>next</b>"}, {}},
        {"<input type=\"button\" name=\"cmd:12\" value=\"A &amp; B\"><input type=text name='cmd:3'><input type=button name=x value=y>",
         {""}, {"A & B=12"}},
        {"unclosed <tag", {"unclosed"}, {}},
    };
    for (const Case& c : cases) {
        const pocketsim::BubbleContent content = pocketsim::parseBubbleHtml(c.html);
        std::vector<std::string> markup, buttons;
        for (const auto& p : content.paragraphs) {
            markup.push_back(p.markup);
            for (const auto& [label, command] : p.buttons) buttons.push_back(label + "=" + std::to_string(command));
        }
        EXPECT_EQ(markup, c.markup) << c.html;
        EXPECT_EQ(buttons, c.buttons) << c.html;
    }
    EXPECT_EQ(pocketsim::parseBubbleHtml("<p align=right><input type=button name='cmd:1' value=x>").paragraphs.at(0).align,
              "right");
}

// One device answers line after line; a bad or failing line leaves it as it was.
TEST(Interactive, AnswersEveryLineAndGoesOn) {
    std::istringstream in(
        "boot shell\nstart appshut\nnonsense\n\nexpect running appshut 2\nboot shell\nexpect running appshut 1\n");
    std::ostringstream out;
    EXPECT_EQ(pocketsim::runInteractive(in, out), pocketsim::kMalformed);
    std::vector<std::string> ends;
    std::istringstream answers(out.str());
    for (std::string line; std::getline(answers, line);)
        if (line.rfind(".", 0) == 0) ends.push_back(line);
    EXPECT_EQ(ends, (std::vector<std::string>{".ok", ".ok", ".malformed", ".ok", ".failed", ".malformed", ".ok"})) << out.str();
    EXPECT_NE(out.str().find("<interactive>:6: error: \"boot\" must be the script's first command"), std::string::npos);
}

}  // namespace screen_test
