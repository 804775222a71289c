// Fuzzes the code page 437 conversions. Checks: any bytes shown as UTF-8 convert back
// to the same bytes; any text converted to code page 437 is stable from then on (its
// UTF-8 form converts back to it).
#include <cstdint>
#include <string>

#include "base/cp437.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = InputBytes(data, size);
  FUZZ_CHECK(Utf8ToCp437(Cp437ToUtf8(input)) == input);

  const std::string bytes = Utf8ToCp437(input);
  FUZZ_CHECK(bytes.size() <= input.size());
  FUZZ_CHECK(Utf8ToCp437(Cp437ToUtf8(bytes)) == bytes);
  return 0;
}
