// Reads a PCL job back into its commands and its positioned runs of text, so that
// tests and the print preview can see what lands where. It understands the commands
// this program emits (and their relatives); anything else is skipped and counted.
// It models no printer defaults: a reset returns every value to zero.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The font in force when a run of text is printed.
struct PclFontState {
  int spacing = 0;        // 0 fixed, 1 proportional
  double pitch = 0;       // characters per inch
  double height = 0;      // points
  int style = 0;          // 0 upright
  int weight = 0;         // stroke weight
  int typeface = 0;       // 0 Line Printer
  std::string symbolSet;  // value and letter as written, "10U" for PC-8
  bool operator==(const PclFontState&) const = default;
};

enum class PclCommandKind {
  Reset,               // ESC E
  Orientation,         // ESC &l#O
  PageSize,            // ESC &l#A
  Duplex,              // ESC &l#S
  SymbolSet,           // ESC (#X, X a capital letter
  FontSpacing,         // ESC (s#P
  FontPitch,           // ESC (s#H
  FontHeight,          // ESC (s#V
  FontStyle,           // ESC (s#S
  FontWeight,          // ESC (s#B
  FontTypeface,        // ESC (s#T
  VerticalPosition,    // ESC &a#V (decipoints) or ESC &a#R (rows)
  HorizontalPosition,  // ESC &a#H (decipoints) or ESC &a#C (columns)
  PageEject,           // form feed, byte 12
  CarriageReturn,      // byte 13
  LineFeed,            // byte 10
  ShiftOut,            // byte 14
  ShiftIn,             // byte 15
  Text,                // a run of text bytes
};

struct PclCommand {
  PclCommandKind kind = PclCommandKind::Text;
  double value = 0;         // the parameter's value, with its sign
  bool relative = false;    // the value was written with "+" or "-" (a relative cursor move)
  char parameter = 0;       // the parameter letter, in capitals ('V', 'R', 'H', 'C', 'U', ...)
  std::size_t textRun = 0;  // Text: index into ParsedPclJob::runs
};

// Bytes printed one after another without a command between them.
struct PclTextRun {
  std::string bytes;
  double x = 0;   // decipoints from the left, where the first byte is printed
  double y = 0;   // decipoints from the top
  int sheet = 0;  // form feeds before the run
  PclFontState font;
};

struct ParsedPclJob {
  std::vector<PclCommand> commands;
  std::vector<PclTextRun> runs;
  int sheetsEjected = 0;      // form feeds
  int unknownCommands = 0;    // well-formed escape sequences (or parameters) not understood, skipped
  int malformedCommands = 0;  // broken escape sequences, skipped
  bool truncated = false;     // the job ended inside an escape sequence
};

// Parses `job`. Never throws for any input. Cursor model: a row is 120 decipoints (six
// lines per inch); a column is 720 / pitch decipoints (72 while no pitch is set); text
// moves the cursor right by one column per byte; a carriage return sets x to 0, a line
// feed adds a row, a form feed puts the cursor at the top left of the next sheet.
// Commands that carry data (a count followed by "W", and ESC &p#X) have their data
// skipped with them.
ParsedPclJob ParsePclJob(std::string_view job);
