#include "pcl/pcl_sheets.h"

#include "base/cp437.h"

namespace {

constexpr double kDecipointsPerInch = 720;
constexpr double kPointsPerInch = 72;
constexpr int kLegalPageSize = 3;
constexpr char kPc8SymbolSet[] = "10U";

struct SheetLayout {
  PageOrientation orientation = PageOrientation::Portrait;
  PclPaper paper = PclPaper::Letter;
};

}  // namespace

PclSheetLayout LayPclSheets(const ParsedPclJob& job, double dotsPerInch) {
  PclSheetLayout layout;
  layout.unknownCommands = job.unknownCommands;
  layout.malformedCommands = job.malformedCommands;
  const bool textAfterLastEject = !job.runs.empty() && job.runs.back().sheet >= job.sheetsEjected;
  layout.sheets.resize(static_cast<std::size_t>(job.sheetsEjected) + (textAfterLastEject ? 1 : 0));

  // The paper and orientation of each sheet, from the commands in job order.
  SheetLayout current;
  std::size_t sheet = 0;
  bool sheetFixed = false;  // the sheet's first text fixed its layout
  const auto fix = [&] {
    if (sheetFixed || sheet >= layout.sheets.size()) return;
    layout.sheets[sheet].orientation = current.orientation;
    layout.sheets[sheet].paper = current.paper;
  };
  for (const PclCommand& command : job.commands) {
    switch (command.kind) {
      case PclCommandKind::Reset:
        current = {};
        break;
      case PclCommandKind::Orientation:
        // 0 and 2 are the portrait orientations, 1 and 3 the landscape ones.
        current.orientation =
            static_cast<long long>(command.value) % 2 != 0 ? PageOrientation::Landscape : PageOrientation::Portrait;
        break;
      case PclCommandKind::PageSize:
        current.paper = static_cast<int>(command.value) == kLegalPageSize ? PclPaper::Legal : PclPaper::Letter;
        break;
      case PclCommandKind::Text:
        fix();
        sheetFixed = true;
        break;
      case PclCommandKind::PageEject:
        fix();
        ++sheet;
        sheetFixed = false;
        break;
      default:
        break;
    }
  }

  for (const PclTextRun& run : job.runs) {
    const double pitch = run.font.pitch > 0 ? run.font.pitch : kPclDefaultPitch;
    const double height = run.font.height > 0 ? run.font.height : kPclDefaultHeight;
    PclPlacedRun placed;
    placed.bytes = run.bytes;
    placed.x = run.x * dotsPerInch / kDecipointsPerInch;
    placed.y = run.y * dotsPerInch / kDecipointsPerInch;
    placed.advance = dotsPerInch / pitch;
    placed.pixelHeight = height * dotsPerInch / kPointsPerInch;
    placed.pc8 = run.font.symbolSet == kPc8SymbolSet;
    layout.sheets[static_cast<std::size_t>(run.sheet)].runs.push_back(std::move(placed));
  }
  return layout;
}

std::string PclRunText(std::string_view bytes, bool pc8) {
  std::string printable(bytes);
  for (char& c : printable) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) c = ' ';
  }
  if (pc8) return Cp437ToUtf8(printable);
  std::string text;  // Latin-1: each byte is its own code point
  text.reserve(printable.size() * 2);
  for (const char c : printable) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}
