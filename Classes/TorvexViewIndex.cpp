// The index panel. Minimal for now: nothing opens yet.
#include "TorvexView.h"

void TorvexView::displayIndex() {}
void TorvexView::hideIndex() {}
void TorvexView::setLang(const std::string& language) {
    lang = language;
}
