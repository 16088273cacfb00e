#pragma once
// The questions of a quiz: the information ids of points drawn at random from the chosen areas, each
// once, up to 12.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TreeNode;

class QuizQuestions {
public:
    static constexpr std::size_t questionsPerQuiz = 12;

    // Draws afresh from `areas` (area nodes of the top region): the areas in turn, one random path each
    // per pass, until the quiz is full or every point the areas hold is drawn; a long run of passes
    // without a new point ends it too.
    void draw(const std::vector<const TreeNode*>& areas);
    // Follows one random path down `list` and adds the point it ends at, if new.
    void selectQuestion(const std::vector<std::unique_ptr<TreeNode>>& list);
    bool issetQuestion(const std::string& infoId) const;

    const std::vector<std::string>& Questions() const { return questions_; }
    bool empty() const { return questions_.empty(); }
    std::size_t size() const { return questions_.size(); }
    const std::string& operator[](std::size_t at) const { return questions_[at]; }
    void clear() { questions_.clear(); }

private:
    std::vector<std::string> questions_;
};
