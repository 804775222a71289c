// The main window's print commands: PRINT, "PRINT Current View  Only", the
// print-mode selector and the printer options.
#include "shell/main_window.h"

void TMainForm::PrintButtonClick() {}
void TMainForm::Quickie() {}
void TMainForm::FontSelectClick() {}
void TMainForm::SpinFontDblClick() {}
