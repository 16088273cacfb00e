// The automation script reader on any text, run against a small headless screen on the virtual clock:
// a "Start" button that opens an alert ("NO" / "YES"), a text field, a switch, a scroll view with a
// button inside, and a ring that pulses every 0.85 s for as long as the screen lives, as the viewer's
// hit-area rings do (so that every wait has timers to run).
//
// The script reader limits each wait and drag, so a run takes time in proportion to the script's
// length; a long script may still rightly span days on the clock, or write hundreds of screenshots.
// Here a run stops, as a quit stops it, after the line that takes the clock past two minutes, and only
// the first few screenshots are taken, all to one file in the target's scratch folder.

#include "FuzzScratch.h"

#include "Platform/AlertView.h"
#include "Platform/Animation.h"
#include "Platform/Button.h"
#include "Platform/Driver.h"
#include "Platform/RunLoop.h"
#include "Platform/Script.h"
#include "Platform/ScrollView.h"
#include "Platform/Switch.h"
#include "Platform/TextField.h"
#include "Platform/Timer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

void addStartButton(ui::View& window) {
    auto start = ui::make<ui::Button>(ui::ButtonType::RoundedRect, ui::Rect{100, 200, 120, 40});
    start->setTitle("Start");
    start->addAction([](ui::Button*) {
        auto alert = ui::make<ui::AlertView>(
            "Leave?", "The quiz ends.", [](ui::AlertView*, int) {}, "NO", std::vector<std::string>{"YES"});
        alert->show();
    });
    window.addSubview(start);
}

void addSearchField(ui::View& window) {
    auto field = ui::make<ui::TextField>(ui::Rect{10, 10, 200, 31});
    field->setPlaceholder("Search");
    field->onReturn = [](ui::TextField& f) { f.resignFirstResponder(); };
    window.addSubview(field);
}

void addScrollerWithButton(ui::View& window) {
    auto scroller = ui::make<ui::ScrollView>(ui::Rect{0, 300, 320, 180});
    scroller->setContentSize({320, 900});
    auto inside = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect{20, 400, 100, 30});
    inside->setTitle("Next");
    scroller->addSubview(inside);
    window.addSubview(scroller);
}

ui::TimerPtr addPulsingRing(ui::View& window) {
    auto ring = ui::make<ui::View>(ui::Rect{200, 100, 40, 40});
    window.addSubview(ring);
    return ui::Timer::scheduled(0.85, ui::Timer::Repeats::Yes, [weak = std::weak_ptr<ui::View>(ring)] {
        if (auto view = weak.lock())
            ui::Animation::run(0.4, [&] { view->setAlpha(view->alpha() == 0 ? 1 : 0); });
    });
}

struct Screen {
    ui::TimerPtr pulse;

    Screen() {
        ui::View& window = *ui::Application::shared().window();
        addStartButton(window);
        addSearchField(window);
        window.addSubview(ui::make<ui::Switch>(ui::Rect{10, 50, 40, 20}));
        addScrollerWithButton(window);
        pulse = addPulsingRing(window);
    }
    ~Screen() { pulse->invalidate(); }
};

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return "";
    auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The script with the file of its first screenshots replaced by one in the scratch folder, and its
// later screenshots by comments (which keeps the lines' numbers).
std::string withFewScreenshotsInScratch(const std::string& script) {
    constexpr int mostScreenshots = 2;
    static const std::string shot = (fuzz::scratchFolder() / "shot.png").string();
    std::istringstream in(script);
    std::string result;
    int screenshots = 0;
    for (std::string line; std::getline(in, line);) {
        std::string text = trimmed(line);
        if (text.substr(0, text.find_first_of(" \t")) == "screenshot")
            line = ++screenshots <= mostScreenshots ? "screenshot " + shot : "# screenshot";
        result += line + '\n';
    }
    return result;
}

void advanceWithinBudget(ui::Float seconds) {
    constexpr ui::Float longestRun = 120;
    auto& loop = ui::RunLoop::main();
    loop.advance(seconds);
    if (loop.now() > longestRun)
        ui::Application::shared().quit();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string script(reinterpret_cast<const char*>(data), size);
    std::istringstream input(withFewScreenshotsInScratch(script));
    std::ostringstream out, err;

    // Screenshots at the screen's own size: the same drawing, a quarter of the pixels to write.
    ui::Driver::resetToolkit(1);
    {
        Screen screen;
        ui::Driver driver;
        driver.setClockAdvancer(advanceWithinBudget);
        ui::Script::run(input, driver, out, err);
    }
    ui::Driver::resetToolkit();
    return 0;
}
