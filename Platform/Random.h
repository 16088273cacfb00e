#pragma once
// Random numbers for the program's choices (which questions a quiz asks). A run in a window draws them
// from the system's strong source; a headless run from a generator that starts from the same seed each
// time the toolkit starts afresh, so that an automation script replays the same way on every run.

#include <cstdint>

namespace ui {

std::uint32_t randomNumber();
// Starts the headless generator again from its seed (Driver::resetToolkit does).
void restartRandomNumbers();

} // namespace ui
