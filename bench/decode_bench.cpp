// Benchmark driver for the pipelines that scripts/bench times.
//   vantrose_bench make-data PATH MEGABYTES   writes a scrambled data file of that size
//   vantrose_bench make-short PATH CLAIMED    writes a data file of two text records
//                                             whose header claims CLAIMED records
//   vantrose_bench decode DATA TEXT           decodes DATA into TEXT
//   vantrose_bench name-repeats COUNT         names COUNT reports of one name
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "base/file_layer.h"
#include "import/race_data.h"
#include "import/report_split.h"

namespace {

int MakeData(const std::string& path, long megabytes) {
  const long records = megabytes * 1024 * 1024 / static_cast<long>(kRaceRecordSize);
  std::string record(kRaceRecordSize, '\0');
  OutputFile file(path);
  record[0] = static_cast<char>(records & 0xFF);
  record[1] = static_cast<char>((records >> 8) & 0xFF);
  record[2] = static_cast<char>(15509 & 0xFF);
  record[3] = static_cast<char>(15509 >> 8);
  file.Write(record);
  // Report-like text: printable lines with box-drawing bytes and an occasional marker.
  std::mt19937 random(12345);
  for (long r = 1; r < records; ++r) {
    for (std::size_t i = 0; i < kRaceRecordSize; ++i) {
      const auto roll = random() % 100;
      std::uint8_t byte = roll < 2   ? '\r'
                          : roll < 4 ? '\n'
                          : roll < 8 ? 0xC4
                                     : static_cast<std::uint8_t>(' ' + random() % 90);
      if (random() % 5000 == 0) byte = 1;
      record[i] = static_cast<char>(DecodeByte(byte));
    }
    file.Write(record);
  }
  file.Close();
  return 0;
}

// Two reports, one record each, under a header that claims `claimed` records (a
// file cut short when `claimed` is more than 2).
int MakeShort(const std::string& path, long claimed) {
  std::string text = "\x0c@A01Tam report\r\n" + std::string(4000, 'a') + "\r\n";
  text.resize(kRaceRecordSize, ' ');
  text += "\x0c@B01Tam report\r\nb\r\n";
  std::string data = EncodeRaceData(text, 5);
  data[0] = static_cast<char>(claimed & 0xFF);
  data[1] = static_cast<char>((claimed >> 8) & 0xFF);
  OutputFile file(path);
  file.Write(data);
  file.Close();
  return 0;
}

int NameRepeats(long count) {
  ReportNamer namer;
  ReportFile last;
  for (long i = 0; i < count; ++i) last = namer.Assign("A01Tam");
  std::printf("%s\n", last.name.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::strcmp(argv[1], "make-data") == 0) return MakeData(argv[2], std::atol(argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "make-short") == 0) return MakeShort(argv[2], std::atol(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "name-repeats") == 0) return NameRepeats(std::atol(argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "decode") == 0) {
      DecodeRaceData(argv[2], argv[3], "0000");
      return 0;
    }
  } catch (const IoError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: vantrose_bench make-data PATH MEGABYTES | make-short PATH CLAIMED | decode DATA TEXT"
               " | name-repeats COUNT\n");
  return 2;
}
