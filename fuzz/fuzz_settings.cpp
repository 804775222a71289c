// Fuzzes the settings reader with the fuzzer's bytes as "Exec/Vantrose.OPT", and the
// hexadecimal conversions with numbers taken from them. Checks: every value keeps the
// length limit; writing the settings and reading them back gives the same texts and
// the stored lowest digit of each number; hexadecimal text reads back as its value.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/file_layer.h"
#include "base/settings.h"
#include "fuzz_support.h"

namespace {

void CheckHex(std::string_view input) {
  std::uint32_t value = 0;
  if (!input.empty()) std::memcpy(&value, input.data(), std::min(input.size(), sizeof value));
  const unsigned width = input.size() > sizeof value ? static_cast<unsigned char>(input[sizeof value]) % 12 : 0;
  const std::string digits = HexText(value, width);
  if (width != 0) FUZZ_CHECK(digits.size() == width);
  FUZZ_CHECK(digits.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  // The rightmost `width` digits (all of them for width 0) hold the value's low bits.
  const std::uint32_t kept = width == 0 || width >= 8 ? value : value & ((1u << (4 * width)) - 1);
  FUZZ_CHECK(HexValue(digits) == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmptyFuzzFolder();
  const std::string_view input = InputBytes(data, size);
  CheckHex(input);

  const std::string path = WriteFuzzFile("Exec/Vantrose.OPT", input);
  Settings settings;
  ReadSettings(path, settings);
  for (const std::string* value :
       {&settings.optReserved, &settings.reportLetters, &settings.trackLetters, &settings.optCodes})
    FUZZ_CHECK(value->size() <= kSettingTextLimit);

  WriteSettings(path, settings);
  Settings again;
  ReadSettings(path, again);
  FUZZ_CHECK(again.optReserved == settings.optReserved);
  FUZZ_CHECK(again.reportLetters == settings.reportLetters);
  FUZZ_CHECK(again.trackLetters == (settings.trackLetters + "G").substr(0, kSettingTextLimit));
  FUZZ_CHECK(again.printSettings == (settings.printSettings & 0xF));
  FUZZ_CHECK(again.maxPerfLines == (settings.maxPerfLines & 0xF));
  return 0;
}
