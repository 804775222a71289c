// What a freedesktop desktop shortcut holds and where it goes: the user's desktop
// folder from the XDG user directories, and the text of a ".desktop" file that
// starts a program in its own folder. Plain text work, no Qt, no file writes.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Looks up an environment variable; std::nullopt when unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

// The user's desktop folder: XDG_DESKTOP_DIR when set, else its entry in
// "user-dirs.dirs" under XDG_CONFIG_HOME (default HOME/.config), else HOME/Desktop.
// `readFile` gives a file's text, or std::nullopt when it cannot be read.
std::string DesktopFolder(const EnvironmentLookup& environment,
                          const std::function<std::optional<std::string>(const std::string&)>& readFile);

// The ".desktop" text of an application entry named `title` that runs `target`
// with the target's folder as its working folder.
std::string DesktopEntryText(const std::string& target, const std::string& title);

// The desktop entry file name for `title`.
inline std::string DesktopEntryFileName(const std::string& title) { return title + ".desktop"; }
