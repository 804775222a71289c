#include "platform/desktop_entry.h"

#include "base/file_layer.h"

namespace {

// Expands "$HOME" at the start of a user-dirs.dirs value and removes its quotes.
std::string UserDirsValue(std::string value, const std::string& home) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
  return value;
}

// Quotes one argument of an Exec line: inside double quotes, '"', '`', '$' and '\' get a
// backslash; then every backslash is doubled again because the file's strings are escaped.
std::string ExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += '\\';
    if (c == '%') escaped += '%';  // a field code otherwise
    escaped += c;
  }
  return escaped;
}

// A string value in a desktop file: backslash, new line and the like escaped.
std::string StringValue(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string DesktopFolder(const EnvironmentLookup& environment,
                          const std::function<std::optional<std::string>(const std::string&)>& readFile) {
  if (auto direct = environment("XDG_DESKTOP_DIR"); direct && !direct->empty()) return *direct;
  const std::string home = environment("HOME").value_or("");
  std::string configHome = environment("XDG_CONFIG_HOME").value_or("");
  if (configHome.empty()) configHome = JoinPath(home, ".config");
  if (auto dirs = readFile(JoinPath(configHome, "user-dirs.dirs"))) {
    std::size_t start = 0;
    while (start < dirs->size()) {
      std::size_t end = dirs->find('\n', start);
      if (end == std::string::npos) end = dirs->size();
      std::string line = dirs->substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      static const std::string key = "XDG_DESKTOP_DIR=";
      if (line.rfind(key, 0) == 0) return UserDirsValue(line.substr(key.size()), home);
    }
  }
  return JoinPath(home, "Desktop");
}

std::string DesktopEntryText(const std::string& target, const std::string& title) {
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Version=1.0\n";
  text += "Name=" + StringValue(title) + "\n";
  text += "Comment=Race day reports\n";
  text += "Exec=" + ExecArgument(target) + "\n";
  text += "Path=" + StringValue(FolderPart(target)) + "\n";
  text += "Icon=vantrose\n";
  text += "Terminal=false\n";
  text += "Categories=Office;\n";
  return text;
}
