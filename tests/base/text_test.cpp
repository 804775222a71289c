#include "base/text.h"

#include <gtest/gtest.h>

#include "browser/archive.h"
#include "import/report_split.h"

// Archive names and report names refuse the same reserved device names: one rule
// for both. A report name has no byte above 126, so the superscript row is the
// archive's alone.
TEST(ReservedDeviceNames, OneRuleForArchiveAndReportNames) {
  struct Case {
    const char* name;
    bool reserved;
  };
  const Case cases[] = {
      {"CON", true},     {"con", true},        {"Prn.txt", true}, {"AUX", true},       {"NUL.A", true},
      {"COM1", true},    {"com9.arc", true},   {"LPT1", true},    {"lpt9", true},      {"CONIN$", true},
      {"conout$", true}, {"CONIN$.TXT", true}, {"CON.", true},    {"CONSOLE", false},  {"COM0", false},
      {"COM10", false},  {"LPT", false},       {"XCON", false},   {"NULL.TXT", false}, {"CONIN", false},
      {"A01Tam", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsReservedDeviceName(c.name), c.reserved) << c.name;
    // Both callers refuse a reserved name; a name that is not reserved is refused by
    // neither on that ground (these rows are otherwise valid names of both kinds,
    // except "CON." which neither takes for its trailing full stop).
    const bool plain = std::string_view(c.name) != "CON.";
    EXPECT_EQ(ValidArchiveName(c.name), !c.reserved && plain) << c.name;
    EXPECT_EQ(IsPlainReportName(c.name), !c.reserved && plain) << c.name;
  }
  EXPECT_TRUE(IsReservedDeviceName("COM\xFD"));  // a superscript two, which Windows reads as 2
  EXPECT_FALSE(ValidArchiveName("COM\xFD"));
}

TEST(TextHelpers, CutAndAsciiCase) {
  EXPECT_EQ(CutText("abcdef", 3), "abc");
  EXPECT_EQ(CutText("ab", 3), "ab");
  EXPECT_EQ(CutText("", 0), "");
  EXPECT_EQ(AsciiUpperText("a1z\xE1~"), "A1Z\xE1~");  // only ASCII letters change
  EXPECT_TRUE(EqualsIgnoringAsciiCase("Vantrose.TXT", "VANTROSE.txt"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\xE1", "\xC1"));  // no case beyond ASCII
  EXPECT_FALSE(EqualsIgnoringAsciiCase("abc", "ab"));
}
