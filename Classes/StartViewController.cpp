#include "StartViewController.h"

#include "DeepLink.h"
#include "StartupError.h"

#include "Managers/SettingsManager.h"
#include "StartContent.h"
#include "TorvexView.h"

#include "Platform/Animation.h"
#include "Platform/Application.h"
#include "Platform/Browser.h"
#include "Platform/Bundle.h"
#include "Platform/Button.h"
#include "Platform/Font.h"
#include "Platform/ImageView.h"
#include "Platform/Label.h"
#include "Platform/Paths.h"

#include <iostream>
#include <optional>
#include <vector>

namespace {

constexpr float titleX = 37;
constexpr float firstTitleY = 240;
constexpr float titleSpacing = 30;
constexpr float titleHeight = 12;
constexpr double blinkInterval = 0.7;
constexpr double blinkDuration = 0.5;
constexpr double loadingDelay = 0.2;
constexpr double flipDuration = 0.9;
constexpr int pictureTick = 5;
constexpr int lastTick = 52;
constexpr int tickAfterGoTo = 100;

ui::Rect applicationFrame() {
    return ui::Rect(ui::Point{0, 0}, ui::Application::screenSize);
}

const ui::ViewPtr& window() {
    return ui::Application::shared().window();
}

} // namespace

StartViewController::StartViewController(StartOptions options) : options_(std::move(options)) {}

StartViewController::~StartViewController() {
    if (timer)
        timer->invalidate();
    if (loadingTimer_)
        loadingTimer_->invalidate();
    if (titlesDeadline_)
        titlesDeadline_->invalidate();
    for (const char* key : {"startLabel", "startTicks", "startScreenShown"})
        ui::Application::shared().removeStateProvider(key);
}

// The screen's two full-screen views: a white backdrop and the picture that holds everything else.
void StartViewController::loadView() {
    auto root = ui::make<ui::View>(applicationFrame());
    whiteRect = ui::make<ui::ImageView>(applicationFrame());
    whiteRect->setBackgroundColor(ui::Color::white());
    startView = ui::make<ui::ImageView>(applicationFrame());
    startView->setIdentifier("startView");
    root->addSubview(whiteRect);
    root->addSubview(startView);
    setView(root);
}

void StartViewController::viewLoading() {
    registerStateProviders();
    StartContent::moveOldCopies();
    startPicture_ = StartContent::startPicture();
    if (!shouldFetch()) {
        showStartScreen();
        return;
    }
    titlesDownload_ = fetch(1, StartContent::maxTitlesBytes,
                            [this](std::optional<std::string> bytes) { titlesArrived(std::move(bytes)); });
    pictureDownload_ = fetch(0, StartContent::maxPictureBytes,
                             [this](std::optional<std::string> bytes) { pictureArrived(std::move(bytes)); });
    // A start that goes straight to an index term shows no titles worth waiting for.
    if (!titlesDownload_ || options_.startTerm) {
        showStartScreen();
        return;
    }
    titlesDeadline_ = ui::Timer::scheduled(titlesWait, ui::Timer::Repeats::No, [this] { showStartScreen(); });
}

// The screen in the order the user sees it: picture, titles, label; then the blink and the viewer's timers.
void StartViewController::showStartScreen() {
    if (screenShown_)
        return;
    screenShown_ = true;
    if (titlesDeadline_)
        titlesDeadline_->invalidate();
    startView->setImage(startPicture_);
    startView->setUserInteractionEnabled(true);
    whiteRect->setFrame(applicationFrame());
    startView->setFrame(applicationFrame());

    // Titles below the screen could be neither seen nor pressed.
    std::vector<StartContent::Title> titles = StartContent::parseTitles(StartContent::titlesText());
    for (std::size_t i = 0; i < titles.size(); ++i) {
        float y = firstTitleY + titleSpacing * static_cast<float>(i);
        if (y >= applicationFrame().maxY())
            break;
        addTitle(titles[i].title, titles[i].address, y);
    }

    label = ui::make<ui::Label>(ui::Rect(100, 139, 140, 20));
    label->setIdentifier("label");
    label->setBackgroundColor(ui::Color::clear());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(ui::Font::system(14));
    label->setTextColor(ui::Color::rgb255(218, 118, 214));
    label->setText(loadingText);
    startView->addSubview(label);

    timer = ui::Timer::scheduled(blinkInterval, ui::Timer::Repeats::Yes, [this] { addDots(); });
    loadingTimer_ = ui::Timer::scheduled(loadingDelay, ui::Timer::Repeats::No, [this] { loading(); });
}

void StartViewController::addDots() {
    ui::Animation::run(blinkDuration, [this] { label->setAlpha(label->alpha() == 0 ? 1 : 0); });
    ++t;
    if (t == pictureTick) {
        pictureDue_ = true;
        showArrivedPicture();
    }
    if (t == lastTick) {
        timer->invalidate();
        timer.reset();
    }
}

void StartViewController::loading() {
    torvexViewController = std::make_shared<TorvexView>();
    putViewerBehindStart();
    torvexViewController->startloadingWithCallBackTarget([this](TorvexView*) { endLoadingMainController(); });
}

void StartViewController::endLoadingMainController() {
    label->setText(readyText);
    const TorvexContent& content = torvexViewController->content();
    if (std::string problem =
            StartupError::dataFileProblem(content, content.bundleDirectory() / "torvex.xml");
        !problem.empty()) {
        StartupError::report(problem);
        return;
    }
    if (options_.startTerm)
        followStartTerm(*options_.startTerm);
}

void StartViewController::followStartTerm(const std::string& term) {
    TorvexView& viewer = *torvexViewController;
    auto match = DeepLink::resolve(term, viewer.index().indexArray(), viewer.index().latinArray());
    if (!match) {
        std::cerr << "torvex: "
                  << DeepLink::unknownTermMessage(term, viewer.index().indexArray(),
                                                  viewer.index().latinArray())
                  << '\n';
        ui::Application::shared().quit(2);
        return;
    }
    showViewer();
    std::weak_ptr<TorvexView> alive = torvexViewController;
    ui::Timer::scheduled(flipDuration, ui::Timer::Repeats::No, [alive, match = *match] {
        if (auto shown = alive.lock()) {
            shown->index().setLang(match.latin ? "lat" : "eng");
            shown->goToPart(match.term);
        }
    });
}

void StartViewController::touchesBegan(const ui::TouchSet&) {
    if (!label || label->text() != readyText || !torvexViewController)
        return;
    showViewer();
}

void StartViewController::showViewer() {
    putViewerBehindStart();
    ui::Animation::begin(flipDuration);
    ui::Animation::setTransition(ui::Transition::FlipFromRight, window().get());
    torvexViewController->viewWillAppear(true);
    if (options_.onDone)
        options_.onDone();
    view()->removeFromSuperview();
    window()->addSubview(torvexViewController->view());
    torvexViewController->viewDidAppear(true);
    ui::Animation::commit();
}

void StartViewController::goTo(ui::Button* sender) {
    t = tickAfterGoTo;
    for (const auto& [button, address] : titleAddresses_)
        if (button == sender && !address.empty())
            ui::openURL(address);
}

std::optional<std::string> StartViewController::contentAddress(std::size_t line) {
    std::vector<std::string> lines =
        StartContent::splitLines(ui::Bundle::main().text("url", "txt").value_or(""));
    if (line >= lines.size() || lines[line].empty())
        return std::nullopt;
    return lines[line];
}

std::string StartViewController::contentServerHost() {
    for (std::size_t line : {1, 0}) {
        auto address = contentAddress(line);
        std::size_t scheme = address ? address->find("://") : std::string::npos;
        if (scheme == std::string::npos)
            continue;
        std::size_t start = scheme + 3;
        std::size_t end = address->find_first_of(":/?#", start);
        std::string host = address->substr(start, end == std::string::npos ? end : end - start);
        if (!host.empty())
            return host;
    }
    return "";
}

bool StartViewController::shouldFetch() const {
    return options_.online && (contentAddress(0) || contentAddress(1)) && fetchingIsOn();
}

// On unless the settings say otherwise; the setting is written the first time, so that it can be found.
bool StartViewController::fetchingIsOn() {
    SettingsManager& settings = SettingsManager::getInstance();
    if (!settings.hasSetting(fetchStartContentKey))
        settings.setBoolSetting(fetchStartContentKey, true);
    return settings.boolSetting(fetchStartContentKey, true);
}

std::unique_ptr<ui::DownloadTask> StartViewController::fetch(std::size_t line, std::size_t maxBytes,
                                                             ui::DownloadTask::Completion completion) {
    auto address = contentAddress(line);
    if (!address)
        return nullptr;
    ui::DownloadLimits limits = downloadLimits;
    limits.maxBytes = maxBytes;
    return ui::DownloadTask::start(*address, limits, std::move(completion));
}

// A sound list is kept; the screen shows now if it still waited, with the fresh list when it was kept.
void StartViewController::titlesArrived(std::optional<std::string> bytes) {
    if (bytes)
        StartContent::keepTitles(*bytes);
    showStartScreen();
}

void StartViewController::pictureArrived(std::optional<std::string> bytes) {
    ui::Image picture;
    if (!bytes || !StartContent::keepPicture(*bytes, &picture))
        return;
    arrivedPicture_ = picture;
    showArrivedPicture();
}

// From the fifth blink on, while the start screen is up.
void StartViewController::showArrivedPicture() {
    if (pictureDue_ && !arrivedPicture_.empty() && screenShown_ && isInWindow())
        startView->setImage(arrivedPicture_);
}

// A white underline and a borderless white title above it, as wide as the title's text.
void StartViewController::addTitle(const std::string& title, const std::string& address, float y) {
    ui::Font font = ui::Font::boldSystem(12);
    float width = static_cast<float>(static_cast<int>(ui::textWidth(title, font)));

    auto underline = ui::make<ui::View>(ui::Rect(titleX, y + titleHeight, width, 1));
    underline->setBackgroundColor(ui::Color::white());
    startView->addSubview(underline);

    auto button = ui::make<ui::Button>(ui::ButtonType::Custom, ui::Rect(titleX, y, width, titleHeight));
    button->setBackgroundColor(ui::Color::clear());
    button->setTitleFont(font);
    button->setTitle(title);
    button->setTitleColor(ui::Color::white());
    button->addAction([this](ui::Button* sender) { goTo(sender); });
    startView->addSubview(button);
    titleAddresses_.emplace_back(button.get(), address);
}

bool StartViewController::isInWindow() const {
    const ui::View* root = startView ? startView->superview() : nullptr;
    return root && root->superview() == window().get();
}

// The viewer goes into the window right below the start screen.
void StartViewController::putViewerBehindStart() {
    view()->removeFromSuperview();
    window()->addSubview(torvexViewController->view());
    window()->addSubview(view());
}

void StartViewController::registerStateProviders() {
    auto& application = ui::Application::shared();
    application.addStateProvider("startLabel",
                                 [this] { return label ? ui::Json(label->text()) : ui::Json(nullptr); });
    application.addStateProvider("startTicks", [this] { return ui::Json(t); });
    application.addStateProvider("startScreenShown", [this] { return ui::Json(isInWindow()); });
}
