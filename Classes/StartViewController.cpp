#include "StartViewController.h"

#include "DeepLink.h"
#include "StartupError.h"

#include "TorvexAppDelegate.h"
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

#include <filesystem>
#include <fstream>
#include <glib.h>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

namespace {

constexpr const char* fieldSeparator = "||";
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

// Lines as the list splits them: "a\n" is "a" and an empty line.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string firstField(const std::string& line) {
    return line.substr(0, line.find(fieldSeparator));
}

std::string lastField(const std::string& line) {
    std::size_t separator = line.rfind(fieldSeparator);
    return separator == std::string::npos ? line : line.substr(separator + 2);
}

// The file as text, or nothing when it is missing or not UTF-8.
std::optional<std::string> readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string text = bytes.str();
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return std::nullopt;
    return text;
}

bool folderListsEntry(const std::string& folder, const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().filename() == name)
            return true;
    return false;
}

} // namespace

StartViewController::StartViewController() = default;

StartViewController::~StartViewController() {
    if (timer)
        timer->invalidate();
    if (loadingTimer_)
        loadingTimer_->invalidate();
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

void StartViewController::viewDidLoad() {
    dApp = TorvexAppDelegate::sharedDelegate();
    view()->setFrame(applicationFrame());
}

void StartViewController::viewLoading() {
    if (dApp && dApp->internet)
        fetchTitles();
    startView->setImage(startPicture());
    startView->setUserInteractionEnabled(true);
    whiteRect->setFrame(applicationFrame());
    startView->setFrame(applicationFrame());

    // Titles below the screen could be neither seen nor pressed; a list of thousands of lines would only
    // hold the screen up while it made their buttons.
    std::vector<std::string> lines = splitLines(titlesText());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        float y = firstTitleY + titleSpacing * static_cast<float>(i);
        if (y >= applicationFrame().maxY())
            break;
        addTitle(lines[i], y);
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
    registerStateProviders();
}

void StartViewController::addDots() {
    ui::Animation::run(blinkDuration, [this] { label->setAlpha(label->alpha() == 0 ? 1 : 0); });
    ++t;
    if (t == pictureTick && dApp && dApp->internet)
        fetchStartPicture();
    if (t == lastTick) {
        timer->invalidate();
        timer.reset();
    }
}

void StartViewController::loading() {
    torvexViewController = std::make_shared<TorvexView>();
    ui::Rect frame = applicationFrame();
    torvexViewController->pWidth = static_cast<float>(frame.width() / 320);
    torvexViewController->pHeight = static_cast<float>(frame.height() / 480);
    putViewerBehindStart();
    torvexViewController->startloadingWithCallBackTarget([this](TorvexView*) { endLoadingMainController(); });
}

void StartViewController::endLoadingMainController() {
    label->setText(readyText);
    const TorvexContent& content = torvexViewController->content;
    if (std::string problem =
            StartupError::dataFileProblem(content, content.bundleDirectory() / "torvex.xml");
        !problem.empty()) {
        StartupError::report(problem);
        return;
    }
    if (dApp && dApp->startTerm)
        followStartTerm(*dApp->startTerm);
}

void StartViewController::followStartTerm(const std::string& term) {
    TorvexView& viewer = *torvexViewController;
    auto match = DeepLink::resolve(term, viewer.indexArray, viewer.latinArray);
    if (!match) {
        std::cerr << "torvex: " << DeepLink::unknownTermMessage(term, viewer.indexArray, viewer.latinArray)
                  << '\n';
        ui::Application::shared().quit(2);
        return;
    }
    showViewer();
    std::weak_ptr<TorvexView> alive = torvexViewController;
    ui::Timer::scheduled(flipDuration, ui::Timer::Repeats::No, [alive, match = *match] {
        if (auto shown = alive.lock()) {
            shown->setLang(match.latin ? "lat" : "eng");
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
    if (dApp)
        dApp->removeStart();
    view()->removeFromSuperview();
    window()->addSubview(torvexViewController->view());
    torvexViewController->viewDidAppear(true);
    ui::Animation::commit();
}

void StartViewController::goTo(ui::Button* sender) {
    t = tickAfterGoTo;
    for (const std::string& line : splitLines(titlesText()))
        if (firstField(line) == sender->currentTitle())
            ui::openURL(lastField(line));
}

bool StartViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    intOrient = orientation;
    return false;
}

std::optional<std::string> StartViewController::contentAddress(std::size_t line) {
    std::vector<std::string> lines = splitLines(ui::Bundle::main().text("url", "txt").value_or(""));
    if (line >= lines.size() || lines[line].empty())
        return std::nullopt;
    return lines[line];
}

std::optional<std::string> StartViewController::downloadContent(std::size_t line) {
    auto address = contentAddress(line);
    return address ? ui::download(*address, downloadLimits) : std::nullopt;
}

std::string StartViewController::documentsPath(const std::string& fileName) {
    return ui::Paths::documentsDirectory() + "/" + fileName;
}

// The cached list, else the bundle's.
std::string StartViewController::titlesText() {
    if (auto cached = readText(documentsPath(titlesFileName)))
        return *cached;
    return ui::Bundle::main().text("TitlesAndUrls", "txt").value_or("");
}

// The cached picture when it decodes, else the bundle's.
ui::Image StartViewController::startPicture() const {
    if (folderListsEntry(ui::Paths::documentsDirectory(), startPictureFileName)) {
        ui::Image cached = ui::Image::fromFile(documentsPath(startPictureFileName));
        if (!cached.empty())
            return cached;
    }
    return ui::Bundle::main().image(startPictureFileName);
}

void StartViewController::fetchTitles() const {
    if (auto bytes = downloadContent(1))
        ui::writeFileAtomically(documentsPath(titlesFileName), *bytes);
}

void StartViewController::fetchStartPicture() {
    auto bytes = downloadContent(0);
    if (!bytes || !ui::isPicture(*bytes) ||
        !ui::writeFileAtomically(documentsPath(startPictureFileName), *bytes))
        return;
    if (isInWindow())
        startView->setImage(ui::Image::fromData(*bytes));
}

// A white underline and a borderless white title above it, as wide as the title's text.
void StartViewController::addTitle(const std::string& line, float y) {
    std::string title = firstField(line);
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
}

bool StartViewController::isInWindow() const {
    const ui::View* root = startView ? startView->superview() : nullptr;
    return root && root->superview() == window().get();
}

// The viewer goes into the window right below the start screen.
void StartViewController::putViewerBehindStart() {
    if (dApp)
        dApp->removeStart();
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
