#include "shell/app_state.h"

void DerivePrintState(AppState& state) {
  const PrintChoice choice = DecodePrintSettings(state.settings.printSettings);
  state.printMode = choice.printMode;
  state.legalPaper = choice.legalPaper;
  state.duplexPrint = choice.duplexPrint;
}

std::string MainCaption(const std::string& exePath) {
  return exePath + std::string(8, ' ') + "Build :  " + std::string(kBuildStamp);
}
