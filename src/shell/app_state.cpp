#include "shell/app_state.h"

void DerivePrintState(AppState& state) {
  const std::uint16_t word = state.settings.printSettings;
  state.printMode = word & 0x7;
  state.legalPaper = (word & 0x8) != 0;
  state.duplexPrint = (word & 0x10) != 0;
}

std::string MainCaption(const std::string& exePath) {
  return exePath + std::string(8, ' ') + "Build :  " + std::string(kBuildStamp);
}
