#include "Platform/Animation.h"

#include "Platform/Renderer.h"
#include "Platform/RunLoop.h"
#include "Platform/View.h"

#include <memory>
#include <optional>
#include <vector>

namespace ui {

namespace {

struct Block {
    Float duration;
    std::function<void()> didStop;
    std::optional<TransitionAnimation> transition;
    View* transitionView = nullptr;
};

std::vector<Block>& openBlocks() {
    static std::vector<Block> blocks;
    return blocks;
}

std::vector<std::weak_ptr<View>>& animatingViews() {
    static std::vector<std::weak_ptr<View>> views;
    return views;
}

} // namespace

void Animation::begin(Float duration) {
    openBlocks().push_back({std::max(duration, 0.0), {}, {}, nullptr});
}

void Animation::setDidStop(std::function<void()> didStop) {
    if (!openBlocks().empty())
        openBlocks().back().didStop = std::move(didStop);
}

void Animation::setTransition(Transition transition, View* view) {
    if (openBlocks().empty() || !view)
        return;
    auto& block = openBlocks().back();
    block.transition = TransitionAnimation{transition, Renderer::snapshot(*view), 0, 0};
    block.transitionView = view;
}

void Animation::commit() {
    if (openBlocks().empty())
        return;
    Block block = std::move(openBlocks().back());
    openBlocks().pop_back();
    auto& loop = RunLoop::main();
    if (block.transition && block.duration > 0) {
        block.transition->start = loop.now();
        block.transition->duration = block.duration;
        block.transitionView->startTransition(std::move(*block.transition));
    }
    if (block.didStop)
        loop.scheduleAfter(block.duration, std::move(block.didStop));
}

void Animation::run(Float duration, const std::function<void()>& changes, std::function<void()> didStop) {
    begin(duration);
    if (changes)
        changes();
    setDidStop(std::move(didStop));
    commit();
}

bool Animation::isOpen() {
    return !openBlocks().empty();
}

Float Animation::openDuration() {
    return openBlocks().empty() ? 0 : openBlocks().back().duration;
}

bool Animation::isRunning() {
    auto& views = animatingViews();
    std::erase_if(views, [](const std::weak_ptr<View>& weak) {
        auto view = weak.lock();
        return !view || !view->hasRunningAnimations();
    });
    return !views.empty();
}

void Animation::reset() {
    openBlocks().clear();
    for (auto& weak : animatingViews()) {
        if (auto view = weak.lock())
            view->removeAllAnimations();
    }
    animatingViews().clear();
}

void Animation::noteRunning(View& view) {
    auto weak = view.weak_from_this();
    if (weak.expired())
        return;
    auto& views = animatingViews();
    for (auto& known : views) {
        if (!known.owner_before(weak) && !weak.owner_before(known))
            return;
    }
    views.push_back(std::move(weak));
}

} // namespace ui
