#include "Platform/Responder.h"

#include "Platform/View.h"

namespace ui {

namespace {
Responder* currentFirstResponder = nullptr;
}

Responder::~Responder() {
    if (currentFirstResponder == this)
        currentFirstResponder = nullptr;
}

void Responder::touchesBegan(const TouchSet& touches) {
    if (auto* next = nextResponder())
        next->touchesBegan(touches);
}

void Responder::touchesMoved(const TouchSet& touches) {
    if (auto* next = nextResponder())
        next->touchesMoved(touches);
}

void Responder::touchesEnded(const TouchSet& touches) {
    if (auto* next = nextResponder())
        next->touchesEnded(touches);
}

void Responder::touchesCancelled(const TouchSet& touches) {
    if (auto* next = nextResponder())
        next->touchesCancelled(touches);
}

bool Responder::becomeFirstResponder() {
    if (!canBecomeFirstResponder())
        return false;
    if (currentFirstResponder && currentFirstResponder != this)
        currentFirstResponder->resignFirstResponder();
    currentFirstResponder = this;
    return true;
}

void Responder::resignFirstResponder() {
    if (currentFirstResponder == this)
        currentFirstResponder = nullptr;
}

Responder* Responder::firstResponder() {
    return currentFirstResponder;
}

} // namespace ui
