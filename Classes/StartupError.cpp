#include "StartupError.h"

#include "Platform/AlertView.h"
#include "Platform/Application.h"

#include <iostream>

namespace {

constexpr int failureStatus = 1;

// The loader's message without the file's name (the alert names it once) and without its note on
// what was kept.
std::string reasonIn(std::string message, const std::string& file) {
    if (auto kept = message.find("; the elements"); kept != std::string::npos)
        message.erase(kept);
    if (auto named = message.find(file + ": "); named != std::string::npos)
        message.erase(0, named + file.size() + 2);
    return message;
}

} // namespace

void StartupError::report(const std::string& message) {
    std::cerr << "torvex: " << message << '\n';
    auto& app = ui::Application::shared();
    if (app.isHeadless()) {
        app.quit(failureStatus);
        return;
    }
    auto alert = ui::make<ui::AlertView>(
        alertTitle, message, [](ui::AlertView*, int) { ui::Application::shared().quit(failureStatus); }, "",
        std::vector<std::string>{"Quit"});
    alert->show();
}

std::string StartupError::dataFileProblem(const TorvexContent& content, const std::filesystem::path& file) {
    std::string reason;
    if (content.status() != TorvexContent::LoadStatus::Loaded)
        reason = reasonIn(content.errorMessage(), file.string());
    else if (!content.root || !content.allInfo)
        reason = "it holds no regions or no information section";
    if (reason.empty())
        return "";
    return "The atlas data file " + file.string() + " could not be read: " + reason;
}
