#include "canvas/simo_options.h"

void SetSimoOptimum(SimoOptions& options, std::uint16_t lines) {
  options.optimumLines = lines;
  if (options.optimumLines > options.maximumLines) options.maximumLines = options.optimumLines;
}

void SetSimoMaximum(SimoOptions& options, std::uint16_t lines) {
  options.maximumLines = lines;
  if (options.maximumLines < options.optimumLines) options.optimumLines = options.maximumLines;
}
