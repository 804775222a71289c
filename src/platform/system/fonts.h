// The fonts of the window definitions, mapped to fonts that Debian installs at the
// same pixel size: one table for the whole program.
#pragma once

#include <QFont>
#include <string_view>

enum class FontWeight { Normal, Bold };

// The installed font for a window-definition font name ("Courier New", "Lucida Console",
// ...) at `pixelSize` pixels. Unknown names fall back to the proportional family.
QFont WindowFont(std::string_view name, int pixelSize, FontWeight weight = FontWeight::Normal);

// The installed font for a window-definition font name at `pointSize` points, for
// drawing on a printer.
QFont PrinterFont(std::string_view name, int pointSize, FontWeight weight = FontWeight::Normal);

// The installed family that stands in for a window-definition font name.
QString InstalledFamily(std::string_view name);
