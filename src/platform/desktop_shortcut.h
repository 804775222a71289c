// The desktop shortcut that starts the program: a freedesktop entry on Linux,
// a shell link on Windows. Failures are silent: a shortcut that cannot be
// written is skipped.
#pragma once

#include <memory>
#include <string>

class DesktopShortcut {
 public:
  virtual ~DesktopShortcut() = default;
  // Writes (or replaces) the shortcut titled `title` on the user's desktop that
  // starts `target` in the target's folder.
  virtual void Make(const std::string& target, const std::string& title) = 0;
};

// The shortcut of this system.
std::unique_ptr<DesktopShortcut> MakeSystemDesktopShortcut();
