#include "pcl/pcl_reader.h"

#include <algorithm>

namespace {

// Parameterized escape sequence: ESC, a parameterized character (33..47), an optional
// group character (96..126), then one or more parameters, each a value field (optional
// sign, digits, optional decimal point and digits) and a parameter character; a lower
// case one (96..126) continues the sequence, a capital one (64..94) ends it.
// Two-character escape sequence: ESC and one byte 48..126.
constexpr unsigned char kEscape = 27;
constexpr unsigned char kFormFeed = 12;
constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kShiftOut = 14;
constexpr unsigned char kShiftIn = 15;

// Values beyond this magnitude are held at it.
constexpr double kLargestValue = 32767.9999;
// One row at six lines per inch, and one column at 10 characters per inch, in decipoints.
constexpr double kRowHeight = 120;
constexpr double kDefaultColumnWidth = 72;

bool IsParameterizedCharacter(unsigned char c) { return c >= 33 && c <= 47; }
bool IsTwoCharacterCommand(unsigned char c) { return c >= 48 && c <= 126; }
bool IsGroupOrContinuing(unsigned char c) { return c >= 96 && c <= 126; }
bool IsFinalParameter(unsigned char c) { return c >= 64 && c <= 94; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

struct Value {
  double number = 0;
  bool signedValue = false;
};

class JobParser {
 public:
  explicit JobParser(std::string_view job) : m_job(job) {}

  ParsedPclJob Parse() {
    while (m_position < m_job.size()) {
      const unsigned char byte = Byte();
      if (byte == kEscape) {
        m_inRun = false;
        ++m_position;
        ParseEscape();
        continue;
      }
      ++m_position;
      switch (byte) {
        case kFormFeed:
          Add(PclCommandKind::PageEject);
          ++m_result.sheetsEjected;
          m_x = 0;
          m_y = 0;
          break;
        case kCarriageReturn:
          Add(PclCommandKind::CarriageReturn);
          m_x = 0;
          break;
        case kLineFeed:
          Add(PclCommandKind::LineFeed);
          m_y += kRowHeight;
          break;
        case kShiftOut:
          Add(PclCommandKind::ShiftOut);
          break;
        case kShiftIn:
          Add(PclCommandKind::ShiftIn);
          break;
        default:
          AddText(static_cast<char>(byte));
          break;
      }
    }
    return std::move(m_result);
  }

 private:
  unsigned char Byte() const { return static_cast<unsigned char>(m_job[m_position]); }
  bool AtEnd() const { return m_position >= m_job.size(); }

  void Add(PclCommandKind kind, double value = 0, bool relative = false, char parameter = 0) {
    m_inRun = false;
    PclCommand command;
    command.kind = kind;
    command.value = value;
    command.relative = relative;
    command.parameter = parameter;
    m_result.commands.push_back(command);
  }

  void AddText(char byte) {
    if (!m_inRun) {
      PclCommand command;
      command.kind = PclCommandKind::Text;
      command.textRun = m_result.runs.size();
      m_result.commands.push_back(command);
      m_result.runs.push_back(PclTextRun{{}, m_x, m_y, m_result.sheetsEjected, m_font});
      m_inRun = true;
    }
    m_result.runs.back().bytes += byte;
    m_x += ColumnWidth();
  }

  double ColumnWidth() const { return m_font.pitch > 0 ? 720.0 / m_font.pitch : kDefaultColumnWidth; }

  void Truncated() {
    ++m_result.malformedCommands;
    m_result.truncated = true;
  }

  // The position is just after the ESC.
  void ParseEscape() {
    if (AtEnd()) return Truncated();
    const unsigned char first = Byte();
    if (IsTwoCharacterCommand(first)) {
      ++m_position;
      if (first == 'E') {
        Add(PclCommandKind::Reset);
        m_font = {};
        m_x = 0;
        m_y = 0;
      } else {
        ++m_result.unknownCommands;
      }
      return;
    }
    if (!IsParameterizedCharacter(first)) {
      // A lone ESC: dropped; the byte after it is read as usual.
      ++m_result.malformedCommands;
      return;
    }
    ++m_position;
    char group = 0;
    if (!AtEnd() && IsGroupOrContinuing(Byte())) group = static_cast<char>(m_job[m_position++]);
    for (;;) {
      const Value value = ParseValue();
      if (AtEnd()) return Truncated();
      const unsigned char parameter = Byte();
      const bool isFinal = IsFinalParameter(parameter);
      if (!isFinal && !IsGroupOrContinuing(parameter)) {
        // Broken off; the byte that broke it is read as usual.
        ++m_result.malformedCommands;
        return;
      }
      ++m_position;
      const char letter = static_cast<char>(isFinal ? parameter : parameter - 32);
      Dispatch(static_cast<char>(first), group, letter, value, isFinal);
      if (isFinal) return;
    }
  }

  Value ParseValue() {
    Value value;
    bool negative = false;
    if (!AtEnd() && (Byte() == '+' || Byte() == '-')) {
      value.signedValue = true;
      negative = Byte() == '-';
      ++m_position;
    }
    double whole = 0;
    while (!AtEnd() && IsDigit(Byte())) {
      whole = std::min(whole * 10 + (Byte() - '0'), 1e9);
      ++m_position;
    }
    if (!AtEnd() && Byte() == '.') {
      ++m_position;
      double scale = 0.1;
      while (!AtEnd() && IsDigit(Byte())) {
        whole += (Byte() - '0') * scale;
        scale /= 10;
        ++m_position;
      }
    }
    whole = std::min(whole, kLargestValue);
    value.number = negative ? -whole : whole;
    return value;
  }

  void Dispatch(char parameterized, char group, char letter, const Value& value, bool isFinal) {
    const double number = value.number;
    if (parameterized == '&' && group == 'l') {
      switch (letter) {
        case 'O':
          return Add(PclCommandKind::Orientation, number, false, letter);
        case 'A':
          return Add(PclCommandKind::PageSize, number, false, letter);
        case 'S':
          return Add(PclCommandKind::Duplex, number, false, letter);
        default:
          break;
      }
    } else if (parameterized == '(' && group == 0 && letter >= 'A' && letter <= 'Z') {
      m_font.symbolSet = std::to_string(static_cast<long long>(number)) + letter;
      return Add(PclCommandKind::SymbolSet, number, false, letter);
    } else if (parameterized == '(' && group == 's') {
      switch (letter) {
        case 'P':
          m_font.spacing = static_cast<int>(number);
          return Add(PclCommandKind::FontSpacing, number, false, letter);
        case 'H':
          m_font.pitch = number;
          return Add(PclCommandKind::FontPitch, number, false, letter);
        case 'V':
          m_font.height = number;
          return Add(PclCommandKind::FontHeight, number, false, letter);
        case 'S':
          m_font.style = static_cast<int>(number);
          return Add(PclCommandKind::FontStyle, number, false, letter);
        case 'B':
          m_font.weight = static_cast<int>(number);
          return Add(PclCommandKind::FontWeight, number, false, letter);
        case 'T':
          m_font.typeface = static_cast<int>(number);
          return Add(PclCommandKind::FontTypeface, number, false, letter);
        default:
          break;
      }
    } else if (parameterized == '&' && group == 'a') {
      const bool relative = value.signedValue;
      switch (letter) {
        case 'V':
          m_y = relative ? m_y + number : number;
          return Add(PclCommandKind::VerticalPosition, number, relative, letter);
        case 'R':
          m_y = relative ? m_y + number * kRowHeight : number * kRowHeight;
          return Add(PclCommandKind::VerticalPosition, number, relative, letter);
        case 'H':
          m_x = relative ? m_x + number : number;
          return Add(PclCommandKind::HorizontalPosition, number, relative, letter);
        case 'C':
          m_x = relative ? m_x + number * ColumnWidth() : number * ColumnWidth();
          return Add(PclCommandKind::HorizontalPosition, number, relative, letter);
        default:
          break;
      }
    }
    ++m_result.unknownCommands;
    // Commands that carry data: their bytes follow the sequence and are not text.
    const bool carriesData = isFinal && (letter == 'W' || (parameterized == '&' && group == 'p' && letter == 'X'));
    if (carriesData && number > 0) {
      const auto count = static_cast<std::size_t>(number);
      m_position += std::min(count, m_job.size() - m_position);
    }
  }

  std::string_view m_job;
  std::size_t m_position = 0;
  ParsedPclJob m_result;
  PclFontState m_font;
  double m_x = 0;
  double m_y = 0;
  bool m_inRun = false;
};

}  // namespace

ParsedPclJob ParsePclJob(std::string_view job) { return JobParser(job).Parse(); }
