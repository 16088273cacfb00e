#pragma once
// The start screen: a full-screen start picture, a column of link titles and a blinking status label,
// shown while the viewer is built behind it.
//
// Start content comes from the content server named by the bundle's address file "url.txt" (line 1:
// the start picture, line 2: the titles list) and is cached in the documents folder as
// "TitlesAndUrls.txt" and "torvexStart.jpg". Online, the titles list is fetched before the screen is
// built and the start picture at the fifth blink; offline, the cached copies are shown, else the
// bundle's own. Only a successful, non-empty answer replaces a cached copy, and a picture only when it
// decodes as one; a download gives up after `downloadLimits`.
//
// Titles list: one title per line, fields separated by "||"; the first field is the title shown, the
// last the web address it opens (a line without "||" is both). Every line gives a button, an empty
// one too, down to the bottom of the screen.
//
//     state            label                 a touch
//     loading          "Loading..."          does nothing
//     ready            "touch to continue"   flips to the viewer (0.9 s)
//     gone             (out of the window)   -
//
// The label blinks every 0.7 s for 52 ticks; pressing a title stops the count for good.

#include "Platform/Download.h"
#include "Platform/Image.h"
#include "Platform/Timer.h"
#include "Platform/ViewController.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace ui {
class Button;
class ImageView;
class Label;
} // namespace ui

class TorvexAppDelegate;
class TorvexView;

class StartViewController : public ui::ViewController {
public:
    static constexpr const char* titlesFileName = "TitlesAndUrls.txt";
    static constexpr const char* startPictureFileName = "torvexStart.jpg";
    static constexpr const char* loadingText = "Loading...";
    static constexpr const char* readyText = "touch to continue";

    // How long the start screen waits for the content server (the screen is frozen meanwhile).
    static inline ui::DownloadLimits downloadLimits{std::chrono::milliseconds(2000),
                                                    std::chrono::milliseconds(4000)};

    StartViewController();
    ~StartViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    void viewLoading();
    void addDots();
    void loading();
    void endLoadingMainController();
    void touchesBegan(const ui::TouchSet& touches) override;
    // Flips from the start screen to the loaded viewer, as a touch does once it is ready.
    void showViewer();
    void goTo(ui::Button* sender);
    bool shouldAutorotateToInterfaceOrientation(int orientation);

    // The address on `line` of the bundle's address file (0: the start picture, 1: the titles list);
    // nothing when the file has no such line or the line is empty.
    static std::optional<std::string> contentAddress(std::size_t line);

    std::shared_ptr<ui::ImageView> startView;
    std::shared_ptr<ui::ImageView> whiteRect;
    std::shared_ptr<TorvexView> torvexViewController;
    TorvexAppDelegate* dApp = nullptr;
    ui::TimerPtr timer;
    int intOrient = 1;

    // The status label (identifier "label") and the blink tick counter; one start screen exists per
    // program.
    std::shared_ptr<ui::Label> label;
    int t = 0;

private:
    // The content at `contentAddress(line)`; nothing when there is no such address or the download fails.
    static std::optional<std::string> downloadContent(std::size_t line);
    static std::string documentsPath(const std::string& fileName);
    static std::string titlesText();
    ui::Image startPicture() const;
    void fetchTitles() const;
    void fetchStartPicture();
    void addTitle(const std::string& line, float y);
    bool isInWindow() const;
    void putViewerBehindStart();
    // Starts at the delegate's start term: the viewer at once, then the journey to the term.
    void followStartTerm(const std::string& term);
    void registerStateProviders();

    ui::TimerPtr loadingTimer_;
};
