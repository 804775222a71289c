// Makes a data file of a race day from its plain text, as race days are delivered.
//   encode_race_data TEXT RACE-DAY-NUMBER DATA
#include <cstdio>
#include <cstdlib>

#include "import/race_data.h"
#include "shell/file_layer.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: encode_race_data TEXT RACE-DAY-NUMBER DATA\n");
    return 2;
  }
  try {
    const auto raceDay = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 10));
    ReplaceFile(argv[3], EncodeRaceData(ReadFile(argv[1]), raceDay));
  } catch (const IoError& error) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}
