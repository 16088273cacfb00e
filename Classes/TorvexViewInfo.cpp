// The region information panel and the flag detail panel. Minimal for now: nothing opens yet.
#include "TorvexView.h"

void TorvexView::displayInfoClickOfButton() {}
void TorvexView::displayInfo(ui::Button*) {}
void TorvexView::hideInfo() {}
