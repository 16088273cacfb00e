#include "Platform/Random.h"

#include "Platform/Application.h"

#include <random>
#include <stdlib.h> // arc4random

namespace ui {

namespace {

std::mt19937& headlessGenerator() {
    static std::mt19937 generator;
    return generator;
}

} // namespace

std::uint32_t randomNumber() {
    if (!Application::shared().isHeadless())
        return arc4random();
    return static_cast<std::uint32_t>(headlessGenerator()());
}

void restartRandomNumbers() {
    headlessGenerator().seed(std::mt19937::default_seed);
}

} // namespace ui
