// The simulcast schedule options while the program runs: lines per page (an
// optimum and a maximum) and the 2-up choice, and how setting one line count
// drags the other so the optimum never exceeds the maximum. Kept in memory
// only; showing and editing them is the options dialog's work.
#pragma once

#include <cstdint>

// Steps of the line counts the options dialog offers.
inline constexpr int kSimoLeastLines = 32;
inline constexpr int kSimoMostLines = 64;
inline constexpr int kSimoLinesStep = 4;

struct SimoOptions {
  std::uint16_t optimumLines = 32;  // SimoOptimumLines
  std::uint16_t maximumLines = 64;  // SimoMaximumLines
  bool twoUp = false;               // SimoTwoUp

  bool operator==(const SimoOptions&) const = default;
};

// Sets the optimum; a maximum below it is raised to it.
void SetSimoOptimum(SimoOptions& options, std::uint16_t lines);
// Sets the maximum; an optimum above it is lowered to it.
void SetSimoMaximum(SimoOptions& options, std::uint16_t lines);
