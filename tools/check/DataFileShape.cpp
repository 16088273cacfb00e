#include "DataFileShape.h"

#include <set>

namespace check {

DataFileShape shapeOf(const XmlElement& topElement) {
    DataFileShape shape;
    const auto& children = topElement.children;
    if (children.size() < 2)
        return shape;
    shape.information = children.back().get();
    shape.container = children[children.size() - 2].get();
    if (!shape.container->children.empty())
        shape.topRegion = shape.container->children.back().get();
    if (shape.information->children.size() == 1) {
        shape.entryList = shape.information->children.front().get();
        for (const auto& entry : shape.entryList->children)
            shape.entries.try_emplace(entry->attribute("id"), entry.get());
    }
    return shape;
}

std::vector<const XmlElement*> viewsOf(const XmlElement& region) {
    std::vector<const XmlElement*> views;
    if (region.children.size() >= 2)
        for (const auto& view : region.children.front()->children)
            if (view->name == "view")
                views.push_back(view.get());
    return views;
}

std::vector<const XmlElement*> subRegionsOf(const XmlElement& region) {
    std::vector<const XmlElement*> regions;
    if (region.children.size() >= 2)
        for (const auto& sub : region.children.back()->children)
            if (sub->name == "part")
                regions.push_back(sub.get());
    return regions;
}

const XmlElement* findView(const XmlElement& region, const std::string& header) {
    for (const XmlElement* view : viewsOf(region))
        if (view->attribute("header") == header)
            return view;
    return nullptr;
}

bool isAlias(const XmlElement& view) {
    return view.attribute("realheader").size() > 2;
}

const XmlElement* shownView(const XmlElement& region, const XmlElement& view) {
    const XmlElement* current = &view;
    std::set<const XmlElement*> passed;
    while (current && isAlias(*current)) {
        if (!passed.insert(current).second)
            return nullptr;
        current = findView(region, current->attribute("realheader"));
    }
    return current;
}

bool isDerived(const std::string& viewName) {
    return viewName.find("Exp") != std::string::npos || viewName.find('.') != std::string::npos;
}

namespace {

void enterTerms(const XmlElement& element, TermIndex& index) {
    auto enter = [&](const std::string& term) {
        if (!term.empty() && index.nodes.try_emplace(term, &element).second)
            index.terms.push_back(term);
    };
    if (element.name == "part")
        enter(element.attribute("header"));
    const XmlElement* view = element.parent ? element.parent->parent : nullptr;
    if (element.name == "point" && !(view && view->attribute("header") == "Anterior Xray"))
        enter(element.attribute("infoid"));
    for (const auto& child : element.children)
        enterTerms(*child, index);
}

} // namespace

TermIndex termIndexOf(const XmlElement& topElement) {
    TermIndex index;
    enterTerms(topElement, index);
    return index;
}

namespace {

bool hasPressableRectangle(const XmlElement& view) {
    bool hit = false;
    for (const auto& child : view.children) {
        if (child->name != "hitarea")
            continue;
        if (child->attribute("exist") == "false")
            return false;
        hit = true;
    }
    return hit;
}

void reachQuestions(const std::vector<std::unique_ptr<XmlElement>>& list, std::set<std::string>& questions) {
    for (const auto& element : list) {
        if (element->name == "point") {
            if (!element->attribute("infoid").empty())
                questions.insert(element->attribute("infoid"));
        } else if (element->name == "view") {
            if (!element->children.empty())
                reachQuestions(element->children.front()->children, questions);
        } else {
            reachQuestions(element->children, questions);
        }
    }
}

} // namespace

std::vector<QuizArea> quizAreasOf(const XmlElement& topRegion, const TermIndex& index) {
    std::vector<QuizArea> areas;
    for (const XmlElement* region : subRegionsOf(topRegion)) {
        const XmlElement* anterior = findView(*region, "Anterior");
        if (!anterior || !hasPressableRectangle(*anterior))
            continue;
        QuizArea area{region->attribute("header"), region->line, {}};
        auto node = index.nodes.find(area.title);
        if (node != index.nodes.end())
            if (const XmlElement* second = node->second->child(1))
                reachQuestions(second->children, area.questions);
        areas.push_back(std::move(area));
    }
    return areas;
}

} // namespace check
