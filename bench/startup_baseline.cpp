// The floor that scripts/bench measures the start-up pipeline against: writes the
// same bytes as start-up (Vantrose.TXT, every page and twin file, the trimmed E
// pages) with plain buffered stdio writes, no temporary files, no renames and no
// checks beyond what it needs to run. Knows only what the sample race days need:
// unique plain report names, every E page listed. Uses nothing of the program.
//   vantrose_startup_baseline BASE-FOLDER
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecordSize = 4096;
constexpr std::size_t kNameLimit = 15;
constexpr std::size_t kTrimLineLimit = 127;
constexpr int kMaxPerfLines = 7;

std::FILE* Open(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) {
    std::perror(path.c_str());
    std::exit(1);
  }
  return file;
}

// Lines of a text file without their ends (CR LF, LF or CR); a byte 26 ends the text.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : m_file(Open(path, "rb")) {}
  ~LineReader() { std::fclose(m_file); }

  bool Next(std::string& line) {
    line.clear();
    if (m_ended) return false;
    bool any = false;
    for (;;) {
      if (m_pos == m_end && !Fill()) return any;
      const char c = m_buffer[m_pos++];
      if (c == 26) {
        m_ended = true;
        return any;
      }
      any = true;
      if (c == '\n') return true;
      if (c == '\r') {
        if (m_pos == m_end) Fill();
        if (m_pos < m_end && m_buffer[m_pos] == '\n') ++m_pos;
        return true;
      }
      line += c;
    }
  }

 private:
  bool Fill() {
    m_pos = 0;
    m_end = std::fread(m_buffer, 1, sizeof m_buffer, m_file);
    return m_end > 0;
  }

  std::FILE* m_file;
  char m_buffer[65536];
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
  bool m_ended = false;
};

void WriteLine(std::FILE* file, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), file);
  std::fwrite("\r\n", 1, 2, file);
}

void Decode(const std::string& dataPath, const std::string& textPath) {
  std::FILE* data = Open(dataPath, "rb");
  std::FILE* text = Open(textPath, "wb");
  unsigned char input[kRecordSize];
  unsigned char output[kRecordSize];
  if (std::fread(input, 1, kRecordSize, data) != kRecordSize) std::exit(1);
  const unsigned count = input[0] | (input[1] << 8);
  int marker = 4;  // position in "0000"; 4: no substitution running
  for (unsigned record = 0; record < count; ++record) {
    const std::size_t got = std::fread(input, 1, kRecordSize, data);
    if (got != kRecordSize && got != 0) std::exit(1);  // the samples hold whole records
    for (std::size_t i = 0; i < kRecordSize; ++i) {
      unsigned char byte = static_cast<unsigned char>(255 - (((input[i] << 4) & 0xFF) | (input[i] >> 4)));
      if (byte == 1) marker = 0;
      if (marker < 4) {
        byte = '0';
        ++marker;
      }
      output[i] = byte;
    }
    std::fwrite(output, 1, kRecordSize, text);
  }
  std::fclose(text);
  std::fclose(data);
}

// The report a line starts: after "@" up to a byte of 32 or less, in a line holding a byte 12 or 2.
std::string StartedName(const std::string& line) {
  if (line.find('\x0c') == std::string::npos && line.find('\x02') == std::string::npos) return {};
  const std::size_t at = line.find('@');
  if (at == std::string::npos) return {};
  std::size_t end = at + 1;
  while (end < line.size() && static_cast<unsigned char>(line[end]) > 32) ++end;
  return line.substr(at + 1, std::min(end - at - 1, kNameLimit));
}

std::string Twin(std::string name) {
  name[2] = '~';
  return name;
}

std::vector<std::string> Split(const std::string& base) {
  std::vector<std::string> names;
  std::FILE* page = nullptr;
  std::FILE* twin = nullptr;
  LineReader text(base + "Vantrose.TXT");
  std::string line;
  while (text.Next(line)) {
    const std::string name = StartedName(line);
    if (!name.empty()) {
      if (page != nullptr) {
        std::fclose(page);
        std::fclose(twin);
      }
      page = Open(base + name, "wb");
      twin = Open(base + Twin(name), "wb");
      names.push_back(name);
    }
    if (page != nullptr) {
      WriteLine(page, line);
      WriteLine(twin, line);
    }
  }
  if (page != nullptr) {
    std::fclose(page);
    std::fclose(twin);
  }
  return names;
}

void Trim(const std::string& base, const std::string& name) {
  static const std::string top = "\xDA" + std::string(8, '\xC4') + "\xC2" + std::string(7, '\xC4');
  static const std::string bottom = "\xC0" + std::string(8, '\xC4') + "\xC1" + std::string(12, '\xC4') + "\xD9";
  LineReader twin(base + Twin(name));
  std::FILE* page = Open(base + name, "wb");
  bool inside = false;
  int count = 0;
  std::string line;
  while (twin.Next(line)) {
    if (line.size() > kTrimLineLimit) line.resize(kTrimLineLimit);
    if (line.find(top) != std::string::npos) inside = true, count = 0;
    if (line.find(bottom) != std::string::npos) inside = false, count = 0;
    const bool performance = inside && line.size() > 63 && line[41] == '\xB3' && line[63] == '\xB3';
    if (performance) ++count;
    if ((inside && count == kMaxPerfLines && !performance) || count > kMaxPerfLines) continue;
    WriteLine(page, line);
  }
  std::fclose(page);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantrose_startup_baseline BASE-FOLDER\n");
    return 2;
  }
  const std::string base = argv[1];
  // The schedule is read as start-up reads it.
  std::vector<std::string> schedule;
  {
    LineReader lines(base + "SimoDump.LST");
    std::string line;
    while (lines.Next(line)) schedule.push_back(line.substr(0, 63));
  }
  Decode(base + "Data/Vantrose.DAT", base + "Vantrose.TXT");
  const std::vector<std::string> names = Split(base);
  std::string firstPage;
  for (const std::string& name : names) {
    if (name[0] != 'E') continue;
    Trim(base, name);
    if (firstPage.empty() || name < firstPage) firstPage = name;
  }
  // Item 0 of the default list is the first E page: read it as the view would.
  std::string shown;
  if (!firstPage.empty()) {
    LineReader page(base + firstPage);
    std::string line;
    while (page.Next(line)) shown += line + "\n";
  }
  std::printf("%zu reports, first page %zu bytes\n", names.size(), shown.size());
  return 0;
}
