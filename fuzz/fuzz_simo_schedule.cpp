// Fuzzes the simulcast schedule printout: the planner with numbers taken from the
// fuzzer's first bytes, the track filter with schedule lines and checked page names
// taken from the rest, and the printout of the filtered lines. Checks: the plan's
// lines per page are a multiple of 4 from 32 to 64 and its kind matches the number of
// pages the lines need; the filter keeps, in order, exactly the lines of checked
// tracks; the printout keeps the canvas's contract.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas/simo_schedule.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kNumberBytes = 7;  // optimum, maximum, line count, 2-up

std::uint16_t Number16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                << 8);
}

void CheckPlan(std::uint16_t optimum, std::uint16_t maximum, std::size_t lineCount) {
  const SimoPlan plan = PlanSimoPages(optimum, maximum, lineCount);
  FUZZ_CHECK(plan.linesPerPage % 4 == 0 && plan.linesPerPage >= 32 && plan.linesPerPage <= 64);
  const std::size_t pages = (lineCount + plan.linesPerPage - 1) / plan.linesPerPage;
  switch (plan.kind) {
    case SimoPageKind::OnePage:
      FUZZ_CHECK(pages <= 1);
      break;
    case SimoPageKind::TwoPages:
      FUZZ_CHECK(pages == 2);
      break;
    case SimoPageKind::MorePages:
      FUZZ_CHECK(pages >= 3);
      break;
  }
}

// Lines of `text` at byte 10; a line starting with "#" is a checked page's name, the
// others are schedule lines, cut to 63 characters as the schedule keeps them.
void SplitInput(std::string_view text, std::vector<std::string>& schedule, std::vector<std::string>& checked) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    if (!line.empty() && line.front() == '#') {
      checked.emplace_back(line.substr(1));
    } else {
      schedule.emplace_back(line.substr(0, kScheduleLineLimit));
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

bool TrackChecked(const std::string& line, const std::vector<std::string>& checked) {
  if (line.size() < 22) return false;
  return std::any_of(checked.begin(), checked.end(), [&line](const std::string& name) {
    return name.size() >= 6 && name.compare(3, 3, line, 19, 3) == 0;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input = InputBytes(data, size);
  if (input.size() < kNumberBytes) return 0;
  const std::uint16_t optimum = Number16(input, 0);
  const std::uint16_t maximum = Number16(input, 2);
  CheckPlan(optimum, maximum, Number16(input, 4));
  const bool twoUp = (input[6] & 1) != 0;
  input.remove_prefix(kNumberBytes);

  std::vector<std::string> schedule;
  std::vector<std::string> checked;
  SplitInput(input, schedule, checked);
  SimoTable table;
  for (const std::string& line : schedule) table.Add(line);
  FUZZ_CHECK(table.size() == schedule.size() &&
             std::equal(table.begin(), table.end(), schedule.begin(), schedule.end()));
  const std::vector<std::string> filtered = FilterSimoLines(table, checked);
  std::vector<std::string> expected;
  std::copy_if(schedule.begin(), schedule.end(), std::back_inserter(expected),
               [&checked](const std::string& line) { return TrackChecked(line, checked); });
  FUZZ_CHECK(filtered == expected);

  const SimoPlan plan = PlanSimoPages(optimum, maximum, filtered.size());
  ContractCanvas canvas(4800, 6300, false);
  PrintSimoPages(canvas, filtered, plan, "Tue 12-Jul-2016", twoUp);
  canvas.CheckClosed();
  FUZZ_CHECK(canvas.Documents() == (filtered.empty() ? 0 : 1));
  return 0;
}
