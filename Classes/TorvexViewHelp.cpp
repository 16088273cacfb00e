// The two help pages. Minimal for now: nothing opens yet.
#include "TorvexView.h"

void TorvexView::createHelpView() {}
void TorvexView::displayHelp() {}
void TorvexView::hideHelp() {}
