// The main window's simulcast schedule commands: print the schedule of the
// checked tracks, and its line spacing options.
#include "shell/main_window.h"

void TMainForm::PrintSimoClick() {}
void TMainForm::optionsClick() {}
