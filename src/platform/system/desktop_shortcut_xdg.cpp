// The desktop shortcut as a freedesktop ".desktop" file in the user's desktop folder.
#include <cstdlib>

#include "base/file_layer.h"
#include "platform/desktop_entry.h"
#include "platform/desktop_shortcut.h"

namespace {

class XdgDesktopShortcut final : public DesktopShortcut {
 public:
  void Make(const std::string& target, const std::string& title) override {
    try {
      const std::string folder = DesktopFolder(
          [](const std::string& name) -> std::optional<std::string> {
            const char* value = std::getenv(name.c_str());
            if (value == nullptr) return std::nullopt;
            return std::string(value);
          },
          [](const std::string& path) -> std::optional<std::string> {
            if (!FileExists(path)) return std::nullopt;
            return ReadFile(path);
          });
      // The desktop folder belongs to the user's session; it is never created here.
      if (!FolderExists(folder)) return;
      const std::string path = JoinPath(folder, DesktopEntryFileName(title));
      ReplaceFile(path, DesktopEntryText(target, title));
      MakeExecutable(path);
    } catch (const IoError&) {
      // Deliberately silent: a missing shortcut must not stop the program.
    }
  }
};

}  // namespace

std::unique_ptr<DesktopShortcut> MakeSystemDesktopShortcut() { return std::make_unique<XdgDesktopShortcut>(); }
