#pragma once
// The index panel: the alphabetical list of terms (English or Latin, with a search bar) in a panel that
// slides in from the right edge, and the two term lists it shows, built once at loading. The part owns
// the panel, the list controller, the lists and the language chosen; a chosen term goes to the hook
// `goToPart`, which makes the viewer travel there.

#include "Classes/Lifetime.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ForInfo;
class IndexViewController;
class TermDictionary;
class TreeNode;
namespace ui {
class View;
} // namespace ui

class IndexPanel {
public:
    struct Hooks {
        // The rings stop pulsing (the panel takes the touch).
        std::function<void()> quietRings;
        // A journey is under way: the index stays shut.
        std::function<bool()> journeyUnderWay;
        // Closes the views chooser, the information panel and the help.
        std::function<void()> closeOtherPanels;
        // During a quiz, asks whether to leave it first (the index opens after a YES) and says so.
        std::function<bool()> quizAsksToLeave;
        std::function<void(bool pressed)> showButtonPressed;
        std::function<void(const std::string& term)> goToPart;
    };
    static constexpr float indexWidth = 280, indexHeight = 380;

    explicit IndexPanel(Hooks hooks);
    ~IndexPanel();

    // Loading: the dictionary's terms without the point labels, then the English titles of the
    // information entries that stand for indexed terms, each once, with their Latin names beside them.
    void buildIndexLists(const TermDictionary& dictionary, const TreeNode* allInfo);
    // Loading, once the lists exist: the list controller, and "indexList", "indexRows" and
    // "indexLetters" in the automation state.
    void createIndexList();
    // Loading: the panel, off screen beyond the right edge of `host` (the viewer's view).
    void addTo(ui::View& host);

    // The index button's action: the panel slides in, or out when it is in.
    void displayIndex();
    // Each call moves the panel further out, until it is well beyond any screen.
    void hideIndex();
    void setLang(const std::string& language);

    bool isOpen() const;
    const std::string& lang() const { return lang_; }
    bool issetInIndexArray(const std::string& term) const;
    const std::vector<std::string>& indexArray() const { return indexArray_; }
    const std::vector<std::string>& latinArray() const { return latinArray_; }
    IndexViewController* navigationController() const { return navigationController_.get(); }
    ui::View* panel() const;

private:
    Hooks hooks_;
    ui::View* host_ = nullptr;
    std::shared_ptr<ForInfo> indexView;
    std::shared_ptr<IndexViewController> navigationController_;
    std::vector<std::string> indexArray_, latinArray_;
    std::string lang_ = "eng";
    Lifetime lifetime_;
};
