// The main window's browser commands: report and track options, the scratch
// editor, help texts and the archive.
#include "shell/main_window.h"

void TMainForm::OptionsMenuClick() {}
void TMainForm::MenuEditClick() {}
void TMainForm::WTFClick() {}
void TMainForm::WTFClickA() {}
void TMainForm::WTFClickE() {}
void TMainForm::SaveButtonClick() {}
void TMainForm::LoadButtonClick() {}
