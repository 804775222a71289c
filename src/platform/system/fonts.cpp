#include "platform/system/fonts.h"

#include <array>
#include <utility>

namespace {
// Liberation Mono has the metrics of Courier New; DejaVu Sans Mono has the code page 437
// box-drawing glyphs the report texts need. Every proportional font is drawn in Liberation
// Sans, which has Arial's metrics: at the window definitions' pixel sizes it is as wide as
// "MS Sans Serif" and a little narrower than "Lucida Sans", so the captions sized for those
// fit their controls (DejaVu Sans is some 15 % wider and overflows several of them).
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kFontTable = {{
    {"Courier New", "Liberation Mono"},
    {"Lucida Console", "DejaVu Sans Mono"},
    {"Consolas", "DejaVu Sans Mono"},
    {"Terminal", "DejaVu Sans Mono"},
    {"Lucida Sans", "Liberation Sans"},
    {"Lucida Sans Unicode", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Small Fonts", "Liberation Sans"},
}};
constexpr std::string_view kFallbackFamily = "Liberation Sans";
}  // namespace

QString InstalledFamily(std::string_view name) {
  for (const auto& [windowsName, family] : kFontTable)
    if (windowsName == name) return QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size()));
  return QString::fromLatin1(kFallbackFamily.data(), static_cast<qsizetype>(kFallbackFamily.size()));
}

namespace {
QFont FamilyFont(std::string_view name, FontWeight weight) {
  QFont font(InstalledFamily(name));
  font.setBold(weight == FontWeight::Bold);
  if (name == "Courier New" || name == "Lucida Console" || name == "Consolas" || name == "Terminal")
    font.setStyleHint(QFont::Monospace);
  return font;
}
}  // namespace

QFont WindowFont(std::string_view name, int pixelSize, FontWeight weight) {
  QFont font = FamilyFont(name, weight);
  font.setPixelSize(pixelSize);
  return font;
}

QFont PrinterFont(std::string_view name, int pointSize, FontWeight weight) {
  QFont font = FamilyFont(name, weight);
  font.setPointSize(pointSize);
  return font;
}
