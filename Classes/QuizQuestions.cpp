#include "QuizQuestions.h"

#include "Platform/Random.h"
#include "TreeNode.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace {

// Drawing walks one random path per chosen area and pass; when the areas hold fewer points than a quiz
// asks for, it stops after this many passes in a row that found nothing new.
constexpr int fruitlessPassesAllowed = 1000;

using NodeList = std::vector<std::unique_ptr<TreeNode>>;

const NodeList& childrenOf(const TreeNode* node) {
    static const NodeList none;
    return node ? node->children : none;
}

// Every "infoid" that `selectQuestion` can reach from `list`, by the same paths.
void collectCandidates(const NodeList& list, std::set<std::string_view>& ids) {
    for (const auto& node : list) {
        if (node->key == "point") {
            if (std::string_view id = node->attribute("infoid"); !id.empty())
                ids.insert(id);
        } else if (node->key == "view") {
            collectCandidates(childrenOf(node->firstChild()), ids);
        } else {
            collectCandidates(node->children, ids);
        }
    }
}

} // namespace

void QuizQuestions::draw(const std::vector<const TreeNode*>& chosen) {
    questions_.clear();
    std::vector<const NodeList*> areas;
    std::set<std::string_view> candidates;
    for (const TreeNode* area : chosen) {
        if (!area || area->children.size() < 2)
            continue;
        areas.push_back(&area->children[1]->children);
        collectCandidates(area->children[1]->children, candidates);
    }
    std::size_t wanted = std::min(questionsPerQuiz, candidates.size());
    for (int fruitless = 0; questions_.size() < wanted && fruitless < fruitlessPassesAllowed;) {
        std::size_t before = questions_.size();
        for (const NodeList* area : areas) {
            selectQuestion(*area);
            if (questions_.size() == wanted)
                break;
        }
        fruitless = questions_.size() == before ? fruitless + 1 : 0;
    }
}

void QuizQuestions::selectQuestion(const NodeList& list) {
    if (list.empty())
        return;
    const TreeNode& element = *list[ui::randomNumber() % list.size()];
    if (element.key == "point") {
        std::string id(element.attribute("infoid"));
        if (!issetQuestion(id) && !id.empty())
            questions_.push_back(id);
    } else if (element.key == "view") {
        selectQuestion(childrenOf(element.firstChild()));
    } else {
        selectQuestion(element.children);
    }
}

bool QuizQuestions::issetQuestion(const std::string& infoId) const {
    return std::find(questions_.begin(), questions_.end(), infoId) != questions_.end();
}
