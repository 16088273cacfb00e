#pragma once
// The start screen: a full-screen start picture, a column of link titles and a blinking status label,
// shown while the viewer is built behind it.
//
// Start content comes from the content server named by the bundle's address file "url.txt" (line 1:
// the start picture, line 2: the titles list; an empty file names none) and is kept in the cache
// folder; StartContent says what is accepted and where it is kept. Both are fetched on worker threads
// from launch, when the network is reachable, the bundle names a server and the setting
// "fetchStartContent" (on unless set to false) allows it; the window draws and answers meanwhile.
//
//     titles arrive within 1.5 s    they are kept and the screen shows with them
//     later, or refused, or never   the screen shows at 1.5 s with the cached or bundle titles (a
//                                   list arriving later is kept for the next start)
//     picture arrives by tick 5     it is kept and shown at the fifth blink
//     picture arrives after         it is kept, and shown at once while the start screen is up
//
// Offline, or with fetching off, the screen shows at once with the cached copies or the bundle's own.
// Closing never waits on the network: the downloads are cut short when the screen goes away.
//
// Titles list: one title per line, fields separated by "||"; the first field is the title shown, the
// last the web address it opens (a line without "||" is both). Every line gives a button, an empty
// one too, down to the bottom of the screen; a title opens its own line's address only.
//
//     state            label                 a touch
//     loading          "Loading..."          does nothing
//     ready            "touch to continue"   flips to the viewer (0.9 s)
//     gone             (out of the window)   -
//
// The label blinks every 0.7 s for 52 ticks; pressing a title stops the count for good.

#include "Platform/DownloadTask.h"
#include "Platform/Image.h"
#include "Platform/Timer.h"
#include "Platform/ViewController.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class Button;
class ImageView;
class Label;
} // namespace ui

class TorvexView;

// What the start screen is told by its owner when it is made.
struct StartOptions {
    // Whether the network was reachable at launch: only then is start content fetched.
    bool online = false;
    // A term to start at (DeepLink): once the viewer has loaded, the start screen gives way at once and
    // the journey to the term runs; an unknown term ends the program with status 2.
    std::optional<std::string> startTerm;
    // Called when the start screen gives way to the viewer, for the owner to take it out of the window.
    std::function<void()> onDone;
};

class StartViewController : public ui::ViewController {
public:
    static constexpr const char* loadingText = "Loading...";
    static constexpr const char* readyText = "touch to continue";
    // The setting that turns fetching off when false.
    static constexpr const char* fetchStartContentKey = "fetchStartContent";
    // How long the screen waits for the titles before it shows the ones it has.
    static constexpr double titlesWait = 1.5;

    // How long a download may take (each has the size cap of its kind on top).
    static inline ui::DownloadLimits downloadLimits{std::chrono::milliseconds(3000),
                                                    std::chrono::milliseconds(10000)};

    explicit StartViewController(StartOptions options = {});
    ~StartViewController() override;

    void loadView() override;

    void viewLoading();
    void addDots();
    void loading();
    void endLoadingMainController();
    void touchesBegan(const ui::TouchSet& touches) override;
    // Flips from the start screen to the loaded viewer, as a touch does once it is ready.
    void showViewer();
    void goTo(ui::Button* sender);

    // The address on `line` of the bundle's address file (0: the start picture, 1: the titles list);
    // nothing when the file has no such line or the line is empty.
    static std::optional<std::string> contentAddress(std::size_t line);
    // The host of the content server, or "" when the bundle names none.
    static std::string contentServerHost();

    std::shared_ptr<ui::ImageView> startView;
    std::shared_ptr<ui::ImageView> whiteRect;
    std::shared_ptr<TorvexView> torvexViewController;
    ui::TimerPtr timer;

    // The status label (identifier "label") and the blink tick counter; one start screen exists per
    // program.
    std::shared_ptr<ui::Label> label;
    int t = 0;

private:
    bool shouldFetch() const;
    static bool fetchingIsOn();
    // Starts the download of `contentAddress(line)` of at most `maxBytes`, if there is such an address.
    std::unique_ptr<ui::DownloadTask> fetch(std::size_t line, std::size_t maxBytes,
                                            ui::DownloadTask::Completion completion);
    void titlesArrived(std::optional<std::string> bytes);
    void pictureArrived(std::optional<std::string> bytes);
    void showArrivedPicture();
    void showStartScreen();
    void addTitle(const std::string& title, const std::string& address, float y);
    bool isInWindow() const;
    void putViewerBehindStart();
    // Starts at the delegate's start term: the viewer at once, then the journey to the term.
    void followStartTerm(const std::string& term);
    void registerStateProviders();

    StartOptions options_;
    ui::TimerPtr loadingTimer_;
    ui::TimerPtr titlesDeadline_;
    std::unique_ptr<ui::DownloadTask> titlesDownload_;
    std::unique_ptr<ui::DownloadTask> pictureDownload_;
    ui::Image startPicture_;   // the one cached before this start's download, else the bundle's
    ui::Image arrivedPicture_; // this start's download
    bool screenShown_ = false;
    bool pictureDue_ = false; // the fifth blink has come
    std::vector<std::pair<const ui::Button*, std::string>> titleAddresses_;
};
